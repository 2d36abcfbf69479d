// What tests reach in the window system besides its contract: the hook a test robot feeds
// input through, the paints a window made, the beeps that were asked for, and the reset between
// cases. Implementations in MessageQueue.cpp, Window.cpp and Screen.cpp.
#pragma once

#include "win/Windows.h"

#include <vector>

namespace win {

// Called whenever GetMessage, PeekMessage or WaitMessage looks for messages (not again while it
// runs), so that a test robot can feed input to whichever loop is running. Answers the previous.
using MessageHookProc = void (*)(void* data);
struct MessageHook {
    MessageHookProc proc = nullptr;
    void* data = nullptr;
};
MessageHook SetMessageHook(MessageHookProc proc, void* data);

// How often a window has painted since it was made: its client area (BeginPaint) and its
// frame (the whole non-client area; a scroll bar painted alone does not count).
struct PaintCounts {
    int client = 0;
    int frame = 0;
};
PaintCounts PaintCountsOf(HWND hwnd);

// The beeps MessageBeep was asked for, oldest first.
std::vector<UINT> RecordedBeeps();
void ClearRecordedBeeps();

// Removes every window, timer, queued message and input state of this process, as at start-up
// (tests call it between cases).
void ResetWindowSystem();

} // namespace win
