// The editor control on the screen: painting with OnDrawLine, bookmark glyphs, the scroll bars
// and their divisor, scrolling by keys and bars, clicks, double clicks and drag selection.
#include "ZelEditorTestSupport.h"

#include "vcl/Forms.h"
#include "win/Gdi.h"
#include "win/TestHooks.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace editor_test {
namespace {

using vcl::Application;

std::string Lines(int n, const char* word = "line") {
    std::string s;
    for (int i = 1; i <= n; ++i) {
        if (i > 1) s += '\n';
        s += std::string(word) + " " + std::to_string(i) + " of the text";
    }
    return s;
}

class EditorViewTest : public EditorTest {
protected:
    void Run(testing_support::TRobot& Robot) {
        ASSERT_TRUE(testing_support::PlayOut(Robot, 200)) << Robot.Describe();
    }
    win::COLORREF Pixel(int x, int y) {
        Editor->Update();
        win::HDC dc = win::GetDC(Editor->Handle());
        const win::COLORREF c = win::GetPixel(dc, x, y);
        win::ReleaseDC(Editor->Handle(), dc);
        return c;
    }
    // How many pixels of a row of the text area have the colour.
    int CountInRow(int row, win::COLORREF colour) {
        Editor->Update();
        win::HDC dc = win::GetDC(Editor->Handle());
        int n = 0;
        const int lh = LineHeight();
        for (int y = (row - 1) * lh; y < row * lh; ++y)
            for (int x = Editor->LeftMargin(); x < 280; ++x)
                if (win::GetPixel(dc, x, y) == colour) ++n;
        win::ReleaseDC(Editor->Handle(), dc);
        return n;
    }
    int LineHeight() {
        const int lines = Editor->GetVisibleLines();
        return Editor->ClientHeight() / lines - (Editor->ClientHeight() / lines > 0 ? 0 : 0);
    }
};

TEST_F(EditorViewTest, LinesSelectionAndOnDrawLineArePainted) {
    Editor->SetFocus();
    Load(*Editor, Lines(300));
    Editor->SetParaSelection(3, 1, 3, 7, true);
    std::vector<std::int32_t> asked;
    Editor->OnDrawLine = [&](vcl::TObject*, vcl::TCanvas* c, vcl::TRect r, const char* S, int Len,
                             std::int32_t Line, int, int Count, std::int32_t HB, int, std::int32_t HE, int,
                             bool& Drawn) {
        asked.push_back(Line);
        EXPECT_EQ(Count, Editor->GetVisibleColumns());
        if (Line == 3) {
            EXPECT_TRUE(HB == 3 && HE == 3);
        }
        if (Line == 2) {
            EXPECT_EQ(std::string(S, static_cast<std::size_t>(Len)), "line 2 of the text");
            c->Brush()->SetColor(vcl::clRed);
            c->FillRect(r);
            Drawn = true;
        }
    };
    Editor->Invalidate();
    Application->ProcessMessages();
    ASSERT_TRUE(testing_support::TRobot::Screenshot("editor_view.png", Editor->Handle()));
    const win::COLORREF red = win::RGB(255, 0, 0);
    const win::COLORREF black = win::RGB(0, 0, 0);
    const win::COLORREF highlight = vcl::ColorToRGB(vcl::clHighlight);
    EXPECT_EQ(asked.size(), static_cast<std::size_t>(Editor->GetVisibleLines()));
    EXPECT_GT(CountInRow(2, red), 1000);           // the handler's row
    EXPECT_EQ(CountInRow(1, red), 0);
    EXPECT_GT(CountInRow(1, black), 20);           // the editor's own text
    EXPECT_GT(CountInRow(3, highlight), 50);       // "line 3" selected ...
    EXPECT_EQ(CountInRow(4, highlight), 0);        // ... and nothing else
}

TEST_F(EditorViewTest, AHiddenSelectionShowsOnlyWithTheFocus) {
    Load(*Editor, Lines(10));
    Editor->SetParaSelection(2, 1, 2, 7, true);
    auto* other = NewEditor();
    other->SetTop(210);
    other->SetHeight(60);
    other->SetFocus();
    Application->ProcessMessages();
    const win::COLORREF highlight = vcl::ColorToRGB(vcl::clHighlight);
    EXPECT_EQ(CountInRow(2, highlight), 0);
    Editor->SetFocus();
    Application->ProcessMessages();
    EXPECT_GT(CountInRow(2, highlight), 50);
    other->SetFocus();
    Editor->SetHideSelection(false);
    Application->ProcessMessages();
    EXPECT_GT(CountInRow(2, highlight), 50);
    // A disabled editor draws its text grey and shows no selection.
    Editor->SetEnabled(false);
    Application->ProcessMessages();
    EXPECT_EQ(CountInRow(2, highlight), 0);
    EXPECT_EQ(CountInRow(1, win::RGB(0, 0, 0)), 0);
    EXPECT_GT(CountInRow(1, vcl::ColorToRGB(vcl::clGrayText)), 20);
}

TEST_F(EditorViewTest, BookmarkGlyphsStandInTheMargin) {
    Load(*Editor, Lines(20));
    Editor->SetMarkerAt(3, 4, 1);
    Editor->SetMarkerAt(7, 2, 5);
    Application->ProcessMessages();
    ASSERT_TRUE(testing_support::TRobot::Screenshot("editor_glyphs.png", Editor->Handle()));
    const win::COLORREF teal = vcl::ColorToRGB(vcl::clTeal);
    auto marginTeal = [&](int row) {
        Editor->Update();
        win::HDC dc = win::GetDC(Editor->Handle());
        int n = 0;
        for (int y = (row - 1) * LineHeight(); y < row * LineHeight(); ++y)
            for (int x = 0; x < Editor->LeftMargin(); ++x) n += win::GetPixel(dc, x, y) == teal;
        win::ReleaseDC(Editor->Handle(), dc);
        return n;
    };
    EXPECT_GT(marginTeal(4), 20);
    EXPECT_GT(marginTeal(2), 20);
    EXPECT_EQ(marginTeal(1), 0);
    EXPECT_EQ(marginTeal(3), 0);
    // Switched off at run time the glyphs go; switched on again they are loaded and shown.
    Editor->SetShowBookmarks(false);
    Application->ProcessMessages();
    EXPECT_EQ(marginTeal(4), 0);
    EXPECT_FALSE(Editor->HasBookmarkGlyphs());
    Editor->SetShowBookmarks(true);
    Application->ProcessMessages();
    EXPECT_TRUE(Editor->HasBookmarkGlyphs());
    EXPECT_GT(marginTeal(4), 20);
    // A margin narrower than a glyph shows none.
    Editor->SetLeftMargin(8);
    Application->ProcessMessages();
    EXPECT_EQ(marginTeal(4), 0);
}

TEST_F(EditorViewTest, BookmarksSwitchedOnAtRunTimeShowTheirGlyphs) {
    delete Editor;
    Editor = new TZelCustomEditor(Form);
    Editor->SetShowBookmarks(false);
    Editor->SetParent(Form);
    Editor->SetBounds(0, 0, 300, 200);
    Editor->HandleNeeded(); // a window made while bookmarks were off
    Load(*Editor, Lines(20));
    Editor->SetMarkerAt(3, 4, 1);
    Application->ProcessMessages();
    EXPECT_FALSE(Editor->HasBookmarkGlyphs());
    Editor->SetShowBookmarks(true);
    Application->ProcessMessages();
    const win::COLORREF teal = vcl::ColorToRGB(vcl::clTeal);
    int n = 0;
    for (int y = 3 * LineHeight(); y < 4 * LineHeight(); ++y)
        for (int x = 0; x < Editor->LeftMargin(); ++x) n += Pixel(x, y) == teal;
    EXPECT_GT(n, 20);
}

TEST_F(EditorViewTest, TheVerticalBarDividesLongTexts) {
    std::string text = Lines(100000, "l");
    Load(*Editor, text);
    const int v = Editor->GetVisibleLines();
    Application->ProcessMessages();
    const int n = 100000 - v + 1;
    const int divisor = (n / 32768) * 2;
    int lo, hi;
    win::GetScrollRange(Editor->Handle(), win::SB_VERT, &lo, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, n / divisor);
    // The thumb at the end shows the last page; elsewhere position x divisor.
    win::SendMessage(Editor->Handle(), win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBTRACK, hi), 0);
    EXPECT_EQ(Editor->GetTopLine(), 100000 - v + 1);
    win::SendMessage(Editor->Handle(), win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 1000), 0);
    EXPECT_EQ(Editor->GetTopLine(), 1000 * divisor);
    EXPECT_EQ(win::GetScrollPos(Editor->Handle(), win::SB_VERT), 1000);
    win::SendMessage(Editor->Handle(), win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBTRACK, 1), 0);
    EXPECT_EQ(Editor->GetTopLine(), 1);
}

TEST_F(EditorViewTest, BarsOfShortTextsAndTheHorizontalRange) {
    Load(*Editor, Lines(3));
    Application->ProcessMessages();
    int lo, hi;
    win::GetScrollRange(Editor->Handle(), win::SB_VERT, &lo, &hi);
    EXPECT_EQ(hi, lo); // everything fits: no bar
    win::GetScrollRange(Editor->Handle(), win::SB_HORZ, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 512);
    win::SendMessage(Editor->Handle(), win::WM_HSCROLL, win::MAKEWPARAM(win::SB_LINERIGHT, 0), 0);
    win::SendMessage(Editor->Handle(), win::WM_HSCROLL, win::MAKEWPARAM(win::SB_LINERIGHT, 0), 0);
    EXPECT_EQ(Editor->HorizontalOffset(), 2);
    win::SendMessage(Editor->Handle(), win::WM_HSCROLL, win::MAKEWPARAM(win::SB_PAGELEFT, 0), 0);
    EXPECT_EQ(Editor->HorizontalOffset(), 0);
    win::SendMessage(Editor->Handle(), win::WM_HSCROLL, win::MAKEWPARAM(win::SB_THUMBTRACK, 40), 0);
    EXPECT_EQ(Editor->HorizontalOffset(), 40);
    Editor->SetWordWrap(true);
    Editor->SetWrapColumn(20);
    Editor->RefreshView(true);
    win::GetScrollRange(Editor->Handle(), win::SB_HORZ, &lo, &hi);
    EXPECT_EQ(hi, 0); // twenty columns fit
}

TEST_F(EditorViewTest, KeysAndBarsScrollTheView) {
    Editor->SetFocus();
    Load(*Editor, Lines(300));
    std::vector<std::int32_t> tops;
    Editor->OnTopLineChanged = [&](vcl::TObject*, std::int32_t Line) { tops.push_back(Line); };
    const int v = Editor->GetVisibleLines();
    testing_support::TRobot Robot;
    Robot.Key(win::VK_NEXT);
    Robot.Key(win::VK_NEXT);
    Run(Robot);
    int col;
    EXPECT_EQ(Editor->GetCaretPosition(col), 1 + 2 * (v - 1));
    EXPECT_EQ(Editor->GetTopLine(), 1 + 2 * (v - 1));
    Robot.Key(win::VK_END, false, true);
    Run(Robot);
    EXPECT_EQ(Editor->GetCaretPosition(col), 300);
    EXPECT_EQ(Editor->GetTopLine(), 300 - v + 1);
    EXPECT_EQ(win::GetScrollPos(Editor->Handle(), win::SB_VERT), 300 - v + 1);
    // The bar moves the view, not the caret.
    win::SendMessage(Editor->Handle(), win::WM_VSCROLL, win::MAKEWPARAM(win::SB_PAGEUP, 0), 0);
    EXPECT_EQ(Editor->GetTopLine(), 300 - 2 * v + 1);
    win::SendMessage(Editor->Handle(), win::WM_VSCROLL, win::MAKEWPARAM(win::SB_LINEUP, 0), 0);
    EXPECT_EQ(Editor->GetTopLine(), 300 - 2 * v);
    EXPECT_EQ(Editor->GetCaretPosition(col), 300);
    ASSERT_FALSE(tops.empty());
    EXPECT_EQ(tops.back(), 300 - 2 * v);
    // A one-line scroll shifts the pixels: the new top row shows its own line.
    Application->ProcessMessages();
    ASSERT_TRUE(testing_support::TRobot::Screenshot("editor_scrolled.png", Editor->Handle()));
    Robot.Key(win::VK_HOME, false, true);
    Run(Robot);
    EXPECT_EQ(Editor->GetTopLine(), 1);
    // The wheel: three lines a notch, the caret staying.
    win::POINT centre{100, 50};
    win::ClientToScreen(Editor->Handle(), &centre);
    win::PostWheelInput(-240, centre);
    Application->ProcessMessages();
    EXPECT_EQ(Editor->GetTopLine(), 7);
    win::PostWheelInput(120, centre);
    Application->ProcessMessages();
    EXPECT_EQ(Editor->GetTopLine(), 4);
    EXPECT_EQ(Editor->GetCaretPosition(col), 1);
}

// Scrolls and selection moves only invalidate: the window paints once when its messages have
// run, and what was waiting to be painted when the pixels moved lands where it belongs.
TEST_F(EditorViewTest, ScrollsPaintOnceWhenTheMessagesHaveRunAsAWholeRepaintWould) {
    Load(*Editor, Lines(300));
    Editor->SetHideSelection(false);
    Editor->SetMarkerAt(2, 5, 1);
    const win::HWND h = Editor->Handle();
    auto vert = [h](int code, int pos = 0) { win::SendMessage(h, win::WM_VSCROLL, win::MAKEWPARAM(code, pos), 0); };
    auto horz = [h](int code, int pos = 0) { win::SendMessage(h, win::WM_HSCROLL, win::MAKEWPARAM(code, pos), 0); };
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"three lines down", [&] { for (int i = 0; i < 3; ++i) vert(win::SB_LINEDOWN); }},
        {"a page down and a line up", [&] { vert(win::SB_PAGEDOWN); vert(win::SB_LINEUP); }},
        {"right, then down, then left", [&] { horz(win::SB_LINERIGHT); vert(win::SB_LINEDOWN); horz(win::SB_LINELEFT); }},
        {"the thumb dragged along", [&] { horz(win::SB_THUMBTRACK, 3); horz(win::SB_THUMBTRACK, 1); }},
        {"an edited row scrolled away", [&] {
             win::SendMessage(h, win::WM_CHAR, 'x', 0);
             vert(win::SB_LINEDOWN);
             vert(win::SB_LINEDOWN);
         }},
        {"a selection far down", [&] {
             Editor->SetParaSelection(150, 1, 150, 5, true);
             Editor->RefreshView(false);
         }},
        {"a selection a line below the page", [&] {
             Editor->SetParaSelection(Editor->GetVisibleLines() + 1, 2, Editor->GetVisibleLines() + 1, 6, true);
         }},
    };
    for (const auto& [name, act] : cases) {
        Editor->SetCaretPosition(1, 1);
        Editor->SetTopLine(1);
        horz(win::SB_THUMBTRACK, 0);
        Application->ProcessMessages();
        const int before = win::PaintCountsOf(h).client;
        act();
        EXPECT_EQ(win::PaintCountsOf(h).client, before) << name << ": painted at once";
        Application->ProcessMessages();
        EXPECT_EQ(win::PaintCountsOf(h).client, before + 1) << name;
        const std::vector<win::COLORREF> shown = ClientPixels(*Editor);
        Editor->Invalidate();
        Editor->Update();
        EXPECT_TRUE(shown == ClientPixels(*Editor)) << name << ": differs from a whole repaint";
    }
}

TEST_F(EditorViewTest, TypedKeysEditTheText) {
    Editor->SetFocus();
    Load(*Editor, "ab|c");
    testing_support::TRobot Robot;
    Robot.Type("XY");
    Robot.Key(win::VK_RETURN);
    Robot.Key(win::VK_BACK);
    Robot.Key(win::VK_BACK);
    Run(Robot);
    EXPECT_EQ(State(*Editor), "abX|c");
}

TEST_F(EditorViewTest, ClicksDoubleClicksAndDragsSelect) {
    Editor->SetFocus();
    Load(*Editor, Lines(300));
    Application->ProcessMessages();
    const int lh = LineHeight();
    const int cw = (280 - Editor->LeftMargin() - Editor->RightMargin()) / Editor->GetVisibleColumns();
    auto at = [&](int row, int col) {
        return win::POINT{Editor->LeftMargin() + (col - 1) * cw + 1, (row - 1) * lh + lh / 2};
    };
    testing_support::TRobot Robot;
    Robot.ClickAt(Editor->Handle(), at(3, 6));
    Run(Robot);
    int col;
    EXPECT_EQ(Editor->GetCaretPosition(col), 3);
    EXPECT_EQ(col, 6);

    // A drag from line 2 to line 4.
    Robot.Drag(Editor->Handle(), at(2, 3), at(4, 5));
    Run(Robot);
    std::int32_t l1, l2;
    int c1, c2;
    ASSERT_TRUE(Editor->GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(l1, 2);
    EXPECT_EQ(c1, 3);
    EXPECT_EQ(l2, 4);
    EXPECT_EQ(c2, 5);
    EXPECT_EQ(win::GetCapture(), nullptr);

    // A double click selects the word with its trailing blank.
    Robot.ClickAt(Editor->Handle(), at(5, 10));
    Robot.ClickAt(Editor->Handle(), at(5, 10));
    Run(Robot);
    ASSERT_TRUE(Editor->GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(l1, 5);
    EXPECT_EQ(c1, 8);  // "of "
    EXPECT_EQ(c2, 11);

    // The margin: a click on line 5, then dragging up to line 2.
    Robot.Drag(Editor->Handle(), win::POINT{3, at(5, 1).y}, win::POINT{3, at(2, 1).y});
    Run(Robot);
    ASSERT_TRUE(Editor->GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(l1, 2);
    EXPECT_EQ(c1, 1);
    EXPECT_EQ(l2, 5);
    EXPECT_EQ(c2, 1);
    EXPECT_EQ(Editor->GetCaretPosition(col), 2);
    EXPECT_EQ(col, 1);
}

TEST_F(EditorViewTest, MarginDoubleClicksShiftClicksAndClearedKeys) {
    Editor->SetFocus();
    Load(*Editor, "alpha beta\ngamma\ndelta");
    Application->ProcessMessages();
    const int lh = LineHeight();
    auto send = [&](unsigned msg, int x, int row, unsigned keys = 0) {
        win::SendMessage(Editor->Handle(), msg, keys, win::MAKELPARAM(x, (row - 1) * lh + lh / 2));
    };
    // A double click in the margin selects the paragraph.
    send(win::WM_LBUTTONDOWN, 3, 2);
    send(win::WM_LBUTTONUP, 3, 2);
    send(win::WM_LBUTTONDBLCLK, 3, 2);
    send(win::WM_LBUTTONUP, 3, 2);
    EXPECT_EQ(State(*Editor), "alpha beta\n{gamma|}\ndelta");
    // In the text a word is taken with the blanks after it, tabs as well as spaces.
    const int cw0 = (280 - Editor->LeftMargin() - Editor->RightMargin()) / Editor->GetVisibleColumns();
    struct Case {
        const char* text;
        int col; // screen column of the click on line 1
        const char* expected;
    } cases[] = {
        {"alpha beta", 2, "{alpha |}beta"},
        {"alpha\t beta", 2, "{alpha\t |}beta"},
        {"alpha\t\tbeta", 3, "{alpha\t\t|}beta"},
        {"one\ttwo", 10, "one\t{two|}"}, // past the tab, on "two"
    };
    for (const Case& c : cases) {
        Load(*Editor, c.text);
        const int x = Editor->LeftMargin() + (c.col - 1) * cw0 + 1;
        send(win::WM_LBUTTONDOWN, x, 1);
        send(win::WM_LBUTTONUP, x, 1);
        send(win::WM_LBUTTONDBLCLK, x, 1);
        send(win::WM_LBUTTONUP, x, 1);
        EXPECT_EQ(State(*Editor), c.expected) << c.text;
    }
    // Shift and a click extend the selection from its anchor.
    Load(*Editor, "alpha| beta\ngamma\ndelta");
    const int cw = (280 - Editor->LeftMargin() - Editor->RightMargin()) / Editor->GetVisibleColumns();
    send(win::WM_LBUTTONDOWN, Editor->LeftMargin() + 2 * cw + 1, 3, win::MK_SHIFT | win::MK_LBUTTON);
    send(win::WM_LBUTTONUP, Editor->LeftMargin() + 2 * cw + 1, 3);
    EXPECT_EQ(State(*Editor), "alpha{ beta\ngamma\nde|}lta");
    // A key that OnKeyDown clears does nothing, and its character is still typed.
    Load(*Editor, "ab|c");
    Editor->OnKeyDown = [](vcl::TObject*, unsigned& Key, vcl::TShiftState) {
        if (Key == win::VK_LEFT) Key = 0;
    };
    testing_support::TRobot Robot;
    Robot.Key(win::VK_LEFT);
    Robot.Type("x");
    Run(Robot);
    EXPECT_EQ(State(*Editor), "abx|c");
}

TEST_F(EditorViewTest, DraggingBelowTheWindowScrollsUntilReleased) {
    Editor->SetFocus();
    Load(*Editor, Lines(300));
    Application->ProcessMessages();
    const int v = Editor->GetVisibleLines();
    win::POINT in{40, 5}, below{40, Editor->ClientHeight() + 30};
    win::ClientToScreen(Editor->Handle(), &in);
    win::ClientToScreen(Editor->Handle(), &below);
    win::PostMouseInput(win::WM_MOUSEMOVE, in);
    win::PostMouseInput(win::WM_LBUTTONDOWN, in);
    win::PostMouseInput(win::WM_MOUSEMOVE, below);
    Application->ProcessMessages();
    const std::int32_t first = Editor->GetTopLine();
    for (int i = 0; i < 10; ++i) {
        testing_support::TRobot::AdvanceClock(60);
        Application->ProcessMessages();
    }
    EXPECT_GE(Editor->GetTopLine(), first + 9);
    win::PostMouseInput(win::WM_LBUTTONUP, below);
    Application->ProcessMessages();
    const std::int32_t top = Editor->GetTopLine();
    testing_support::TRobot::AdvanceClock(500);
    Application->ProcessMessages();
    EXPECT_EQ(Editor->GetTopLine(), top);
    int col;
    EXPECT_EQ(Editor->GetCaretPosition(col), top + v - 1);
    std::int32_t l1, l2;
    int c1, c2;
    ASSERT_TRUE(Editor->GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(l1, 1);
    EXPECT_EQ(l2, top + v - 1);
}

TEST_F(EditorViewTest, AnEditorFreedDuringADragLeavesNothingBehind) {
    Editor->SetFocus();
    Load(*Editor, Lines(100));
    Application->ProcessMessages();
    win::POINT in{40, 5}, below{40, Editor->ClientHeight() + 30};
    win::ClientToScreen(Editor->Handle(), &in);
    win::ClientToScreen(Editor->Handle(), &below);
    win::PostMouseInput(win::WM_LBUTTONDOWN, in);
    win::PostMouseInput(win::WM_MOUSEMOVE, below);
    Application->ProcessMessages();
    delete Editor;
    Editor = nullptr;
    testing_support::TRobot::AdvanceClock(200);
    Application->ProcessMessages();
    EXPECT_EQ(win::GetCapture(), nullptr);
}

} // namespace
} // namespace editor_test
