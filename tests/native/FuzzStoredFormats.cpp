// Feeds random and mutated stored values to the pure decoders, built natively
// under AddressSanitizer and UBSan. Every input sits in a heap buffer of
// exactly its size, so a read past the data stops the program. Checks:
// no crash, no such read, and every decoded record either valid or the
// defaults; a valid record encodes and decodes back to itself; the blacklist
// walk agrees with a plain reference walk.
#include "common/Blacklistformat.h"
#include "common/LibrarySettings.h"
#include "common/Multistring.h"
#include "common/Settingsformat.h"
#include "tests/support/StoredValues.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using kz::LibrarySettings;
using kz::SettingsRecord;

std::mt19937_64 rng;
long failures = 0;

int Random(int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(rng); }

void Fail(const char* what, const std::vector<uint8_t>& input) {
    if (++failures > 20)
        return;
    std::printf("FAIL: %s; input (%zu bytes):", what, input.size());
    for (uint8_t b : input)
        std::printf(" %02X", b);
    std::printf("\n");
}

bool SameFields(const SettingsRecord& a, const SettingsRecord& b) {
    return kz::test::FieldValuesOf(a) == kz::test::FieldValuesOf(b);
}

// A copy of bytes in a buffer of exactly their size.
std::unique_ptr<uint8_t[]> ExactCopy(const std::vector<uint8_t>& bytes) {
    auto copy = std::make_unique<uint8_t[]>(bytes.size());
    if (!bytes.empty())
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    return copy;
}

int32_t InterestingCount() {
    static const int32_t counts[] = {-1, INT_MIN, INT_MAX, 0, 1, 9, 10, 31, 32, 33, 40, 127, 128, 255, 256, 261, -256};
    return Random(0, 3) == 0 ? static_cast<int32_t>(rng()) : counts[Random(0, std::size(counts) - 1)];
}

std::vector<uint8_t> RandomRecordValue() {
    kz::test::ValueParts p;
    p.version = Random(0, 7) == 0 ? static_cast<int32_t>(rng()) : 1;
    p.checksum = static_cast<uint8_t>(rng());
    p.runOnStartUp = static_cast<uint8_t>(Random(0, 3));
    p.reservedByte = static_cast<int32_t>(rng());
    p.glyphColor = static_cast<int32_t>(rng());
    for (uint8_t& flag : p.flags)
        flag = static_cast<uint8_t>(Random(0, 2) == 0 ? rng() : Random(0, 1));
    p.buttons.resize(Random(0, 40));
    for (uint8_t& b : p.buttons)
        b = static_cast<uint8_t>(Random(-2, 12));
    p.buttonCount = Random(0, 4) == 0 ? InterestingCount() : static_cast<int32_t>(p.buttons.size());
    p.hotKeys.resize(Random(0, 12));
    for (int32_t& k : p.hotKeys)
        k = static_cast<int32_t>(rng());
    p.hotKeyCount = Random(0, 4) == 0 ? InterestingCount() : static_cast<int32_t>(p.hotKeys.size());
    p.menuItems.resize(Random(0, 40));
    for (uint8_t& b : p.menuItems)
        b = static_cast<uint8_t>(Random(-2, 12));
    p.menuItemCount = Random(0, 4) == 0 ? InterestingCount() : static_cast<int32_t>(p.menuItems.size());
    return p.Bytes();
}

std::vector<uint8_t> MutatedValue() {
    std::vector<uint8_t> v;
    switch (Random(0, 2)) {
    case 0: v = kz::test::ValueParts{}.Bytes(); break;
    case 1: v = kz::test::DistinctParts().Bytes(); break;
    default: v = RandomRecordValue(); break;
    }
    const int mutations = Random(0, 4);
    for (int m = 0; m < mutations; ++m) {
        switch (Random(0, 4)) {
        case 0:  // cut
            v.resize(Random(0, static_cast<int>(v.size())));
            break;
        case 1:  // flip bits of a few bytes
            for (int n = Random(1, 8); n > 0 && !v.empty(); --n)
                v[Random(0, static_cast<int>(v.size()) - 1)] ^= static_cast<uint8_t>(1u << Random(0, 7));
            break;
        case 2:  // extend
            for (int n = Random(1, 500); n > 0 && v.size() < 600; --n)
                v.push_back(static_cast<uint8_t>(rng()));
            break;
        case 3:  // a random count at a random place
            if (v.size() >= 4) {
                const int32_t count = InterestingCount();
                std::memcpy(&v[Random(0, static_cast<int>(v.size()) - 4)], &count, 4);
            }
            break;
        default:  // overwrite a byte
            if (!v.empty())
                v[Random(0, static_cast<int>(v.size()) - 1)] = static_cast<uint8_t>(rng());
            break;
        }
    }
    return v;
}

std::vector<uint8_t> RandomBytes(int maxLength) {
    std::vector<uint8_t> v(Random(0, maxLength));
    for (uint8_t& b : v)
        b = static_cast<uint8_t>(rng());
    return v;
}

bool ListsInRange(const SettingsRecord& r) {
    return r.ButtonCount >= 0 && r.ButtonCount <= kz::kMaxButtons && r.MenuItemCount >= 0 &&
           r.MenuItemCount <= kz::kMaxMenuItems;
}

// Returns whether the value is valid.
bool CheckSettingsValue(const std::vector<uint8_t>& input, const LibrarySettings& defaults) {
    const auto bytes = ExactCopy(input);
    const int32_t size = static_cast<int32_t>(input.size());

    SettingsRecord decoded;
    const bool valid = kz::DecodeSettings(bytes.get(), size, decoded);
    if (valid && (decoded.Version != 1 || !ListsInRange(decoded)))
        Fail("a valid record out of range", input);

    const LibrarySettings library = kz::DecodeLibrarySettings(bytes.get(), size);
    LibrarySettings redone = library;
    kz::SetLibraryDefaults(redone);
    if (valid && !ListsInRange(library))
        Fail("the library's valid record out of range", input);
    if (!valid && !SameFields(library, redone))
        Fail("an invalid value not replaced by the defaults", input);
    if (input.empty() && !SameFields(library, defaults))
        Fail("no value but not the defaults", input);

    if (valid) {
        uint8_t encoded[kz::kLongestSettingsBytes];
        const int32_t length = kz::EncodeSettings(decoded, encoded);
        const auto again = ExactCopy(std::vector<uint8_t>(encoded, encoded + length));
        SettingsRecord roundTrip = decoded;
        if (length > kz::kLongestSettingsBytes || !kz::DecodeSettings(again.get(), length, roundTrip) ||
            !SameFields(roundTrip, decoded))
            Fail("a valid record does not encode back to itself", input);
    }
    return valid;
}

// The blacklist as the library matches it, walked the plainest way.
bool ReferenceBlacklisted(const std::wstring& lowerPath, const std::vector<wchar_t>& data) {
    std::size_t start = 0;
    for (int entries = 0; entries < 10001 && start < data.size(); ++entries) {
        std::wstring entry;
        while (start < data.size() && data[start] != 0)
            entry += static_cast<wchar_t>(std::towlower(data[start++]));
        if (entry.empty())
            return false;
        if (entry == lowerPath)
            return true;
        ++start;
    }
    return false;
}

void CheckBlacklistValue() {
    static const wchar_t alphabet[] = {L'a', L'B', L'\\', L':', L'.', 0, 0, 0x00C9, 0x0130, 0xFFFF};
    std::vector<wchar_t> data(Random(0, Random(0, 1) ? 40 : 2100));
    for (wchar_t& c : data)
        c = Random(0, 3) == 0 ? static_cast<wchar_t>(Random(0, 0xFFFF)) : alphabet[Random(0, std::size(alphabet) - 1)];
    if (Random(0, 1) && !data.empty())
        data.back() = L'x';  // an unterminated last entry

    std::wstring lowerPath;
    if (Random(0, 1)) {
        const std::size_t from = Random(0, static_cast<int>(data.size()));
        for (std::size_t i = from; i < data.size() && data[i] != 0; ++i)
            lowerPath += static_cast<wchar_t>(std::towlower(data[i]));
    } else {
        lowerPath = L"c:\\x.exe";
    }

    auto exact = std::make_unique<wchar_t[]>(data.size());
    std::copy(data.begin(), data.end(), exact.get());
    if (kz::IsPathInBlacklist(lowerPath.c_str(), exact.get(), data.size()) != ReferenceBlacklisted(lowerPath, data))
        Fail("the blacklist match differs from the reference walk", {});

    // The host's walk over the same form: entries non-empty, zero-free, inside the data.
    std::vector<wchar_t> wide(Random(0, 1) ? 64 : 4200);
    for (wchar_t& c : wide)
        c = Random(0, 5) == 0 ? 0 : static_cast<wchar_t>(Random(1, 0xFFFF));
    const auto exactWide = std::make_unique<wchar_t[]>(wide.size());
    std::copy(wide.begin(), wide.end(), exactWide.get());
    const wchar_t* begin = exactWide.get();
    std::size_t walked = 0;
    kz::ForEachMultiStringEntry(begin, wide.size(), [&](const wchar_t* entry, std::size_t length) {
        if (entry != begin + walked || length == 0 || std::wmemchr(entry, 0, length))
            Fail("a multi-string entry out of place",
                 std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(wide.data()),
                                      reinterpret_cast<const uint8_t*>(wide.data() + wide.size())));
        walked += length + 1;
        return true;
    });
}

void CheckDisplayName() {
    static const wchar_t alphabet[] = {L'a', L'\\', L':', L'.', 0x5C5C, 0x2E2E, 0xD83D, L'Z'};
    std::wstring path(Random(0, 300), L' ');
    for (wchar_t& c : path)
        c = Random(0, 3) == 0 ? static_cast<wchar_t>(Random(1, 0xFFFF)) : alphabet[Random(0, std::size(alphabet) - 1)];
    const std::wstring name = kz::BlacklistDisplayName(path);
    if (path.find(name) == std::wstring::npos)
        Fail("a display name that is not part of its path", {});
    if (name.find_first_of(L"\\:") != std::wstring::npos)
        Fail("a display name with a separator", {});
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned long long seed = argc > 1 ? std::strtoull(argv[1], nullptr, 0) : 20260101;
    const long settingsInputs = argc > 2 ? std::atol(argv[2]) : 1000000;
    const long blacklistInputs = settingsInputs / 5;
    rng.seed(seed);
    const auto started = std::chrono::steady_clock::now();

    const LibrarySettings defaults = kz::DecodeLibrarySettings(nullptr, 0);
    long valid = 0;
    for (long i = 0; i < settingsInputs; ++i) {
        const std::vector<uint8_t> input = Random(0, 9) == 0 ? RandomBytes(600) : MutatedValue();
        valid += CheckSettingsValue(input, defaults);
    }
    for (long i = 0; i < blacklistInputs; ++i) {
        CheckBlacklistValue();
        CheckDisplayName();
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("seed %llu: %ld settings values (%ld valid), %ld blacklist values and %ld display names "
                "in %.1f s; %ld failures\n",
                seed, settingsInputs, valid, blacklistInputs, blacklistInputs, seconds, failures);
    return failures == 0 ? 0 : 1;
}
