// The test robot: finds windows and controls of any copy of the class library through the window
// system, and feeds them input (clicks, text, keys, answers to the next modal window) whenever
// any message loop next looks for messages. Implementations in Robot.cpp.
#pragma once

#include "win/Windows.h"
#include "win/TestHooks.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// What to look for: a caption ('&' markers ignored), a control's Name, or a window class.
struct TBy {
    enum class TKind { Caption, Name, Class };
    TKind Kind;
    std::string Value;
    static TBy Caption(std::string v) { return {TKind::Caption, std::move(v)}; }
    static TBy Name(std::string v) { return {TKind::Name, std::move(v)}; }
    static TBy Class(std::string v) { return {TKind::Class, std::move(v)}; }
};

class TRobot {
public:
    // Hooks the window system's message retrieval until destroyed.
    TRobot();
    ~TRobot();
    TRobot(const TRobot&) = delete;
    TRobot& operator=(const TRobot&) = delete;

    // --- Finding (at once) -------------------------------------------------------------------
    // A visible top-level window of this process, topmost first; NULL when there is none.
    static win::HWND FindWindow(const TBy& By);
    // A visible descendant of Parent (or of any visible top-level window when Parent is NULL).
    static win::HWND FindControl(const TBy& By, win::HWND Parent = nullptr);
    static std::string NameOf(win::HWND Wnd);
    static std::string TextOf(win::HWND Wnd);
    // The text of a named child control of a window, graphic controls included.
    static std::string ChildText(win::HWND Parent, const std::string& Name);
    // The window that a modal loop is running for: the topmost visible, enabled top-level window
    // while another one is disabled; NULL when none.
    static win::HWND ModalWindow();

    // --- Queued steps, run in order, one each time a loop looks for messages -----------------
    // A step waits until its target can be found and the input of the step before is taken.
    void Click(const TBy& Control, const TBy& Window = TBy::Caption(""));
    void ClickAt(win::HWND Wnd, win::POINT Client, unsigned Button = win::WM_LBUTTONDOWN);
    void MoveTo(const TBy& Control);
    // Presses the left button at From, moves in Steps to To and lets go there (client points).
    void Drag(win::HWND Wnd, win::POINT From, win::POINT To, int Steps = 4);
    void Type(const std::string& Text);
    void Key(unsigned VirtualKey, bool Shift = false, bool Ctrl = false, bool Alt = false);
    // Chooses a menu item by its path of captions ("&File|&Print"; '&' and shortcut texts are
    // ignored): from the menu bar of Window, or, without one, from the pop-up menu that opens
    // (by a right click, a button or code). Each level is clicked once it shows.
    void ChooseMenu(const std::string& Path);
    void ChooseMenu(const TBy& Window, const std::string& Path);
    // The captions of the items of the pop-up menu shown last, "-" for a separator; empty when
    // no menu is open.
    static std::vector<std::string> OpenMenuItems();
    // Clicks the button of the next modal window that appears after this call.
    void AnswerNextModal(const TBy& Button);
    // Runs Action with the next modal window that appears after this call.
    void OnNextModal(std::function<void(win::HWND)> Action);
    // The common dialogs of the class library, answered like a message box: the next open-file
    // dialog gets FileName in its file-name field and OK (an empty name: Cancel); the next font
    // dialog gets the face, style and size in its boxes and OK. What the dialog then refuses
    // comes up as a message box of its own, for the steps after.
    void AnswerOpenDialog(const std::string& FileName);
    void AnswerFontDialog(const std::string& Face, const std::string& Style, int Size);
    // Advances the test clock when the step runs.
    void Wait(unsigned Milliseconds);
    // Runs Action when the step is reached.
    void Do(std::function<void()> Action);
    // Holds the steps after it back until Ready answers true.
    void WaitUntil(std::string What, std::function<bool()> Ready);

    bool Done() const { return FSteps.empty(); }
    std::size_t Pending() const { return FSteps.size(); }
    // Messages of the steps that could not run, for a test's failure output.
    std::string Describe() const;

    // --- At once ------------------------------------------------------------------------------
    static void AdvanceClock(unsigned Milliseconds);
    static bool Screenshot(const std::string& PngPath, win::HWND Wnd = nullptr);

private:
    struct TStep {
        std::string What;
        // Answers true once done; false to be tried again on the next look.
        std::function<bool()> Run;
    };
    static void Hook(void* Data);
    void Step();
    void Queue(std::string What, std::function<bool()> Run);
    static std::vector<win::HWND> TopLevels();

    std::deque<TStep> FSteps;
    win::MessageHook FPrevious;
    bool FRunning = false;
};

// Lets the robot's steps play out through a message loop: Pass runs it once, at most Rounds
// times while steps are left, then After times more for what the last step set off (a modal
// window's end, the command after a menu's); answers whether every step ran.
template <class TPass>
bool PlayOut(TRobot& Robot, int Rounds, int After, TPass&& Pass) {
    for (int i = 0; i < Rounds && !Robot.Done(); ++i) Pass();
    for (int i = 0; i < After; ++i) Pass();
    return Robot.Done();
}

} // namespace testing_support
