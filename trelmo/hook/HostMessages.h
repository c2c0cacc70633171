// Commands and notifications from the library to the host's main window.
#pragma once

#include <windows.h>

namespace kz {

class HookedWindow;

// What a button or a menu entry carries until it is sent; message 0 sends nothing.
struct CommandRecord {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The command of a button kind for a window; kinds without one give message 0.
CommandRecord CommandForKind(int kind, HWND window);
// The command of a transparency menu entry: that percentage of opacity.
CommandRecord TransparencyCommand(HWND window, int percent);

// How long a program waits for the host to take a command. A command the
// host has not taken by then is lost, as when the host is gone. The host is
// then not sent commands, nor waited for, until it has answered a question
// that does not wait: the first message it handles tells the library.
constexpr UINT kHostAnswerTimeoutMs = 1000;

// Sends a command to the host window and ignores the answer; true when the
// host took it. Nothing is sent for message 0, while no host window is
// known, or while the host has not answered since it last failed to.
bool SendCommand(const CommandRecord& command);
// Tells the host that the library let go of a window, without waiting: the
// host needs no answer, and the news still reaches it after the commands sent
// before, as both travel in the host's queue of sent messages.
void NotifyWindowGone(HWND window);
// Tells the host that a window was resized. A host that resizes a window
// itself hears of it while its own resize call still waits, and takes that
// report for its own resize; so the report is sent and waited for as a
// command is, and only a host that is not answering gets it without a wait.
void NotifyWindowSized(HWND window);
// Whether the host failed to answer in time and has not answered since.
bool HostUnanswered();

// Sends a command for the record's window, from a button or a menu entry. The
// roll command marks the record so that the resize the host makes meanwhile
// is not reported back as a resize by hand.
void SendWindowCommand(HookedWindow& record, const CommandRecord& command);
void SendKindCommand(HookedWindow& record, int kind);

}  // namespace kz
