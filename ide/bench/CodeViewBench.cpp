// A keystroke in the code editor over a large unit, from the key entering the window system's
// input queue to the changed pixels of the caret's row: the IDE's windows (headless), a unit of
// Pascal lines, the caret in its middle, and a letter typed and taken back in turn.
//   ide_codeview_bench [lines] [presses]
#include "ide/CodeView.h"
#include "ide/Ide.h"
#include "ide/IdeWindows.h"

#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"
#include "win/Windows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// The pixels of one row of the view.
std::vector<win::COLORREF> Row(win::HWND view, int y, int height) {
    std::vector<win::COLORREF> px;
    win::HDC dc = win::GetDC(view);
    for (int yy = y; yy < y + height; ++yy)
        for (int x = 0; x < 240; ++x)
            px.push_back(win::GetPixel(dc, x, yy));
    win::ReleaseDC(view, dc);
    return px;
}

} // namespace

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::max(100, std::atoi(argv[1])) : 300000;
    const int presses = argc > 2 ? std::max(10, std::atoi(argv[2])) : 200;
    testing_support::TempWinRoot root;
    std::filesystem::create_directories(rtl::HostPath("C:\\BENCH"));
    {
        static const char* const block[] = {
            "procedure TShape.Draw(Canvas: TCanvas);",
            "var",
            "  I: Integer;",
            "begin",
            "  { the outline, then the fill }",
            "  Canvas.MoveTo(FLeft, FTop);",
            "  for I := 0 to FCount - 1 do",
            "    Canvas.LineTo(FPoints[I].X, FPoints[I].Y);",
            "  if FFilled then",
            "    Canvas.Brush.Color := clRed;",
            "  Caption := 'A shape of ' + IntToStr(FCount) + ' points';",
            "end;",
            "",
        };
        std::ofstream out(rtl::HostPath("C:\\BENCH\\Big.pas"), std::ios::binary);
        out << "unit Big;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\n";
        for (int i = 6; i < lines - 1; ++i)
            out << block[i % std::size(block)] << "\r\n";
        out << "end.\r\n";
    }
    ide::TIde ide;
    auto t0 = Clock::now();
    if (!ide.OpenFile("C:\\BENCH\\Big.pas")) {
        std::fprintf(stderr, "ide_codeview_bench: cannot open the unit\n");
        return 1;
    }
    auto t1 = Clock::now();
    ide::TIdeWindows& windows = ide.ShowWindows();
    windows.ProcessMessages();
    auto t2 = Clock::now();
    const int middle = lines / 2;
    ide.GotoLine("C:\\BENCH\\Big.pas", middle, 7);
    windows.ProcessMessages();
    auto t3 = Clock::now();
    // A caret that blinks would change the row by itself.
    win::SetCaretBlinkTime(60000);
    win::HWND view = windows.CodeView();
    std::printf("%d lines: opened in %.1f ms, shown in %.1f ms, a Goto to line %d painted in %.1f ms\n", lines,
                Ms(t0, t1), Ms(t1, t2), middle, Ms(t2, t3));

    ide::TCodeView& cv = windows.View();
    std::vector<double> ms;
    int unchanged = 0;
    for (int i = 0; i < presses; ++i) {
        auto buffer = ide.CurrentBuffer();
        int y = cv.PointOf(buffer->Cursor()).y;
        std::vector<win::COLORREF> before = Row(view, y, 12);
        // A letter, then a backspace, so that the line comes back to where it was.
        unsigned key = i % 2 ? win::VK_BACK : 'A';
        auto start = Clock::now();
        win::PostKeyInput(win::WM_KEYDOWN, key);
        win::PostKeyInput(win::WM_KEYUP, key);
        windows.ProcessMessages();
        auto end = Clock::now();
        if (Row(view, y, 12) == before)
            ++unchanged;
        else
            ms.push_back(Ms(start, end));
    }
    if (ms.empty()) {
        std::fprintf(stderr, "ide_codeview_bench: no key changed the pixels\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("key to pixels in a %d-line unit, %zu presses: median %.3f ms, 90th percentile %.3f ms, max %.3f ms%s\n",
                lines, ms.size(), ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back(),
                unchanged ? " (some presses changed no pixel)" : "");
    // Scrolling: a page down, painted.
    std::vector<double> pages;
    for (int i = 0; i < 50; ++i) {
        auto start = Clock::now();
        win::PostKeyInput(win::WM_KEYDOWN, win::VK_NEXT);
        win::PostKeyInput(win::WM_KEYUP, win::VK_NEXT);
        windows.ProcessMessages();
        pages.push_back(Ms(start, Clock::now()));
    }
    std::sort(pages.begin(), pages.end());
    std::printf("a page down, painted: median %.3f ms, max %.3f ms\n", pages[pages.size() / 2], pages.back());
    auto e0 = Clock::now();
    win::PostKeyInput(win::WM_KEYDOWN, win::VK_CONTROL);
    win::PostKeyInput(win::WM_KEYDOWN, win::VK_END);
    win::PostKeyInput(win::WM_KEYUP, win::VK_END);
    win::PostKeyInput(win::WM_KEYUP, win::VK_CONTROL);
    windows.ProcessMessages();
    std::printf("Ctrl+End to the last line, painted: %.3f ms\n", Ms(e0, Clock::now()));
    ide.CurrentBuffer()->SetModified(false);
    ide.Shutdown();
    return 0;
}
