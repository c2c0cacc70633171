#include "common/Blacklistformat.h"

namespace kz {

std::wstring BlacklistDisplayName(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\:");
    const std::size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    const std::size_t lastStop = path.find_last_of(L'.');
    const std::size_t nameEnd = lastStop == std::wstring::npos || lastStop < nameStart ? path.size() : lastStop;
    return path.substr(nameStart, nameEnd - nameStart);
}

}  // namespace kz
