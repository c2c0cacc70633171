#include "MessageProbe.h"

#include "EndToEnd.h"

namespace kz::test {

namespace {

// An export of the probe library as the function it is.
template <typename Function>
Function ExportOf(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

const ProbeSharedCounts* SharedCountsOf(HMODULE library) {
    using CountsFunction = const void* (*)();
    const auto counts = ExportOf<CountsFunction>(library, "ProbeCounts");
    return counts ? static_cast<const ProbeSharedCounts*>(counts()) : nullptr;
}

}  // namespace

MessageProbe::MessageProbe()
    : library_(::LoadLibraryW((BinaryDirectory() + L"\\kz_message_probe.dll").c_str())) {}

MessageProbe::~MessageProbe() {
    if (retrievedHook_)
        ::UnhookWindowsHookEx(retrievedHook_);
    if (sentHook_)
        ::UnhookWindowsHookEx(sentHook_);
    if (library_)
        ::FreeLibrary(library_);
}

bool MessageProbe::Attach(DWORD threadId) {
    if (!library_)
        return false;
    const auto retrieved = ExportOf<HOOKPROC>(library_, "ProbeRetrieved");
    const auto sent = ExportOf<HOOKPROC>(library_, "ProbeSent");
    if (!retrieved || !sent)
        return false;
    Reset();
    retrievedHook_ = ::SetWindowsHookExW(WH_GETMESSAGE, retrieved, library_, threadId);
    sentHook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, sent, library_, threadId);
    return retrievedHook_ && sentHook_;
}

void MessageProbe::Reset() {
    using ResetFunction = void (*)();
    if (const auto reset = ExportOf<ResetFunction>(library_, "ProbeReset"))
        reset();
}

ProbeCounts MessageProbe::Counts() const {
    ProbeCounts counts;
    const ProbeSharedCounts* shared = library_ ? SharedCountsOf(library_) : nullptr;
    if (!shared)
        return counts;
    counts.retrieved = shared->retrieved;
    counts.sent = shared->sent;
    for (LONG i = 0; i < shared->timerCount && i < ProbeSharedCounts::kMaxTimers; ++i)
        counts.timers.push_back({shared->timerWindows[i], shared->timerIds[i], shared->timerHits[i]});
    for (LONG i = 0; i < shared->codeCount && i < ProbeSharedCounts::kMaxCodes; ++i)
        counts.retrievedByCode.push_back({shared->codes[i], shared->codeHits[i]});
    for (LONG i = 0; i < shared->sentCodeCount && i < ProbeSharedCounts::kMaxCodes; ++i)
        counts.sentByCode.push_back({shared->sentCodes[i], shared->sentCodeHits[i]});
    return counts;
}

long ProbeCounts::Count(UINT message) const {
    long count = 0;
    for (const auto* table : {&retrievedByCode, &sentByCode})
        for (const ProbeMessage& entry : *table)
            if (entry.message == message)
                count += entry.count;
    return count;
}

}  // namespace kz::test
