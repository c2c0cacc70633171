#include "common/Blacklistformat.h"

#include "common/Protocol.h"

namespace kz {

std::string BlacklistDisplayName(const std::string& path, LeadByteTest isLeadByte) {
    // Scanned from the start: only there is it known which bytes begin a character.
    std::size_t nameStart = 0;
    std::size_t lastStop = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == ':') {
            nameStart = i + 1;
            lastStop = std::string::npos;
        } else if (c == '.') {
            lastStop = i;
        } else if (isLeadByte && isLeadByte(static_cast<unsigned char>(c))) {
            ++i;
        }
    }
    const std::size_t nameEnd = lastStop == std::string::npos ? path.size() : lastStop;
    return path.substr(nameStart, nameEnd - nameStart);
}

void BlacklistValueSize::AddEntry(std::size_t ansiChars, std::size_t wideChars) {
    AnsiBytes += ansiChars + 1;
    WideBytes += (wideChars + 1) * sizeof(char16_t);
}

bool BlacklistValueSize::FitsBothReaders() const {
    return AnsiBytes <= kBlacklistValueMaxBytes && WideBytes <= kBlacklistValueMaxBytes;
}

}  // namespace kz
