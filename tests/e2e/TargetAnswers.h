// What every target program answers about one of its windows, asked with
// TargetQuery.h: the answers depend on the window alone, so the programs
// share them.
#pragma once

#include <windows.h>

namespace kz::test {

// Whether the window's procedure lies in trelmo.dll: the library attached to it.
bool ProcedureLiesInHookLibrary(HWND window);

// WM_NCPAINT as the system paints it, counted once finished (kAskNcPaints).
LRESULT PaintNonClientCounted(HWND window, WPARAM wParam, LPARAM lParam);

// The answer to a question every target answers alike; -1 for any other.
LRESULT AnswerAboutWindow(HWND window, WPARAM question, LPARAM argument);

}  // namespace kz::test
