#include "trelmo/menus/ButtonTexts.h"

#include "trelmo/hook/LibraryProcess.h"
#include "common/Protocol.h"

#include <windows.h>

namespace kz {

namespace {

constexpr int kTextSlotLength = 80;

struct KindTexts {
    wchar_t slots[kCommandKindCount][kTextSlotLength];
};

// Every toolbar and menu of the process reads the same texts; the first
// thread that needs them loads them, the others wait for it.
BOOL CALLBACK LoadKindTexts(PINIT_ONCE, PVOID parameter, PVOID*) {
    KindTexts& texts = *static_cast<KindTexts*>(parameter);
    for (int i = 0; i < kCommandKindCount; ++i) {
        // A missing string leaves its slot empty rather than failing the menu.
        if (::LoadStringW(Process().Module(), kFirstKindTextId + i, texts.slots[i], kTextSlotLength) <= 0)
            texts.slots[i][0] = L'\0';
    }
    return TRUE;
}

}  // namespace

const wchar_t* ButtonKindText(int kind) {
    if (kind < kToTray || kind > kRunCopy)
        return L"";
    static KindTexts texts;
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    ::InitOnceExecuteOnce(&once, LoadKindTexts, &texts, nullptr);
    return texts.slots[kind - kToTray];
}

}  // namespace kz
