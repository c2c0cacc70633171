#include "kz/commands/Integrity.h"

#include "common/Handles.h"

#include <optional>
#include <vector>

namespace kz {

namespace {

// The integrity level (a mandatory label's last sub-authority) of a
// process's token; nothing when it cannot be read.
std::optional<DWORD> IntegrityLevelOf(HANDLE process) {
    UniqueKernelHandle token;
    if (!::OpenProcessToken(process, TOKEN_QUERY, token.put()))
        return std::nullopt;
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL))
        return std::nullopt;
    std::vector<BYTE> buffer(size);
    if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size))
        return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    if (!sid || !::IsValidSid(sid) || *::GetSidSubAuthorityCount(sid) == 0)
        return std::nullopt;
    return *::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1u);
}

}  // namespace

bool WindowIntegrity::AboveHost(HWND w) const {
    static const std::optional<DWORD> own = IntegrityLevelOf(::GetCurrentProcess());
    if (!own)
        return false;
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(w, &processId))
        return false;  // gone: nothing to refuse
    const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    const std::optional<DWORD> level = process ? IntegrityLevelOf(process.get()) : std::nullopt;
    return !level || *level > *own;
}

}  // namespace kz
