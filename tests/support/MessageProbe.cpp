#include "tests/support/MessageProbe.h"

#include "tests/support/Programs.h"

namespace kz::test {

namespace {

// An export of the probe library as the function it is.
template <typename Function>
Function ExportOf(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

ProbeSharedCounts* SharedCountsOf(HMODULE library) {
    using CountsFunction = ProbeSharedCounts* (*)();
    const auto counts = library ? ExportOf<CountsFunction>(library, "ProbeCounts") : nullptr;
    return counts ? counts() : nullptr;
}

void Clear(ProbeThreadCounts& counts) {
    counts.timerCount = 0;
    counts.codeCount = 0;
    counts.sentCodeCount = 0;
    counts.retrieved = 0;
    counts.sent = 0;
}

}  // namespace

MessageProbe::MessageProbe()
    : library_(::LoadLibraryW((BinaryDirectory() + L"\\kz_message_probe.dll").c_str())) {}

MessageProbe::~MessageProbe() {
    if (retrievedHook_)
        ::UnhookWindowsHookEx(retrievedHook_);
    if (sentHook_)
        ::UnhookWindowsHookEx(sentHook_);
    if (ProbeThreadCounts* slot = Slot())
        slot->threadId = 0;
    if (library_)
        ::FreeLibrary(library_);
}

ProbeThreadCounts* MessageProbe::Slot() const {
    ProbeSharedCounts* shared = SharedCountsOf(library_);
    if (!shared || threadId_ == 0)
        return nullptr;
    for (ProbeThreadCounts& thread : shared->threads)
        if (thread.threadId == threadId_)
            return &thread;
    return nullptr;
}

bool MessageProbe::Attach(DWORD threadId) {
    ProbeSharedCounts* shared = SharedCountsOf(library_);
    const auto retrieved = library_ ? ExportOf<HOOKPROC>(library_, "ProbeRetrieved") : nullptr;
    const auto sent = library_ ? ExportOf<HOOKPROC>(library_, "ProbeSent") : nullptr;
    if (!shared || !retrieved || !sent || threadId_ != 0)
        return false;
    for (ProbeThreadCounts& thread : shared->threads) {
        if (thread.threadId != 0)
            continue;
        Clear(thread);
        thread.threadId = threadId;
        threadId_ = threadId;
        break;
    }
    if (threadId_ == 0)
        return false;
    retrievedHook_ = ::SetWindowsHookExW(WH_GETMESSAGE, retrieved, library_, threadId);
    sentHook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, sent, library_, threadId);
    return retrievedHook_ && sentHook_;
}

void MessageProbe::Reset() {
    if (ProbeThreadCounts* slot = Slot())
        Clear(*slot);
}

ProbeCounts MessageProbe::Counts() const {
    ProbeCounts counts;
    const ProbeThreadCounts* shared = Slot();
    if (!shared)
        return counts;
    counts.retrieved = shared->retrieved;
    counts.sent = shared->sent;
    for (LONG i = 0; i < shared->timerCount && i < ProbeThreadCounts::kMaxTimers; ++i)
        counts.timers.push_back({shared->timerWindows[i], shared->timerIds[i], shared->timerHits[i]});
    for (LONG i = 0; i < shared->codeCount && i < ProbeThreadCounts::kMaxCodes; ++i)
        counts.retrievedByCode.push_back({shared->codes[i], shared->codeHits[i]});
    for (LONG i = 0; i < shared->sentCodeCount && i < ProbeThreadCounts::kMaxCodes; ++i)
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
