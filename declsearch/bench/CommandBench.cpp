// Search Execute as the user meets it: libdelvo32.so loaded by the stand-in IDE, the command
// chosen by its shortcut with the folder scope over a flat copy of the Pascal files of a tree,
// timed from the command to the results window shown and painted; beside it `ctags -R` over the
// same copy (Pascal files only), in the same run.
//   declsearch_command_bench [folder]
#include "declsearch/OptionsStore.h"

#include "ide/Ide.h"
#include "host/LibraryExports.h"
#include "rtl/Clock.h"
#include "rtl/TestHooks.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"
#include "vcl/Menus.h"
#include "win/TestHooks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <time.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// Processor time beside the wall clock, which a busy machine stretches.
double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double ChildrenCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto seconds = [](const timeval& v) { return double(v.tv_sec) + double(v.tv_usec) / 1e6; };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

bool IsPascal(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".pp" || ext == ".pas" || ext == ".inc";
}

void PaintAll(win::HWND wnd) {
    win::UpdateWindow(wnd);
    win::EnumChildWindows(
        wnd, [](win::HWND child, win::LPARAM) -> win::BOOL {
            win::UpdateWindow(child);
            return 1;
        },
        0);
}

} // namespace

int main(int argc, char** argv) {
    std::string tree = argc > 1 ? argv[1] : "/usr/share/fpcsrc/3.2.2/rtl";
    testing_support::TempWinRoot root;
    // A loop with nothing to do ends instead of waiting; the wall clock times the command.
    rtl::UseManualClock();
    fs::path flat = fs::path(root.Path()) / "drive_c" / "RTL";
    fs::create_directories(flat);
    std::uintmax_t bytes = 0;
    int files = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(tree, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_regular_file() || !IsPascal(it->path())) continue;
        std::string name = fs::relative(it->path(), tree).string();
        std::replace(name.begin(), name.end(), '/', '_');
        fs::copy_file(it->path(), flat / name, fs::copy_options::overwrite_existing);
        bytes += it->file_size();
        ++files;
    }
    if (files == 0) {
        std::fprintf(stderr, "no Pascal files under %s\n", tree.c_str());
        return 1;
    }
    double mebibytes = double(bytes) / (1024.0 * 1024.0);

    {
        auto store = declsearch::OpenOptionsStore();
        store->WriteInteger("Files", "Option", 3);
        store->WriteString("User Defined", "Path", "C:\\RTL\\*.*");
    }
    ide::TIde ide;
    if (!ide.LoadLibrary(ide::TLibraryKind::Delvo, DELVO32_LIBRARY_FILE)) {
        std::fprintf(stderr, "cannot load %s\n", DELVO32_LIBRARY_FILE);
        return 1;
    }
    rtl::HMODULE module = rtl::LoadLibrary(rtl::WinPath(DELVO32_LIBRARY_FILE));
    auto initialize = reinterpret_cast<host::TInitializeProc>(rtl::GetProcAddress(module, host::InitializeName));
    auto closeUp = reinterpret_cast<host::TCloseUpProc>(rtl::GetProcAddress(module, host::CloseUpName));
    rtl::FreeLibrary(module);
    int shortCut = static_cast<int>(vcl::TextToShortCut("Ctrl+Alt+X"));
    double best = 1e9, bestCpu = 1e9;
    for (int pass = 0; pass < 3; ++pass) {
        // A look at the queue that finds the results window up stops the clock and closes it; the
        // look is cheap, as the search looks every 100 lines.
        static Clock::time_point shown;
        static double shownCpu;
        shown = {};
        win::MessageHook previous = win::SetMessageHook(
            [](void*) {
                if (shown != Clock::time_point{}) return;
                win::HWND w = win::GetActiveWindow();
                if (!w || !win::IsWindowVisible(w)) return;
                char text[64] = {};
                win::GetWindowText(w, text, sizeof text);
                if (std::string(text) != "Browse Search Results") return;
                PaintAll(w);
                shown = Clock::now();
                shownCpu = ProcessCpuSeconds();
                win::PostMessage(w, win::WM_CLOSE, 0, 0);
            },
            nullptr);
        Clock::time_point start = Clock::now();
        double startCpu = ProcessCpuSeconds();
        ide.PressShortCut(shortCut);
        win::SetMessageHook(previous.proc, previous.data);
        if (shown == Clock::time_point{}) {
            std::fprintf(stderr, "the results window did not show\n");
            return 1;
        }
        best = std::min(best, Seconds(start, shown));
        bestCpu = std::min(bestCpu, shownCpu - startCpu);
        // Each pass makes the window anew, as the first command after loading does.
        closeUp();
        initialize(ide.ToolServices());
    }

    std::string ctags = "ctags -R --languages=Pascal --langmap=Pascal:+.pp.inc -f /dev/null '" + flat.string() + "'";
    double ctagsBest = 1e9, ctagsCpu = 1e9;
    for (int pass = 0; pass < 3; ++pass) {
        Clock::time_point start = Clock::now();
        double startCpu = ChildrenCpuSeconds();
        if (std::system(ctags.c_str()) != 0) {
            ctagsBest = 0;
            break;
        }
        ctagsBest = std::min(ctagsBest, Seconds(start, Clock::now()));
        ctagsCpu = std::min(ctagsCpu, ChildrenCpuSeconds() - startCpu);
    }
    std::printf("%d Pascal files, %.1f MiB\n", files, mebibytes);
    std::printf("Search Execute to results shown %8.1f MiB/s (%.3f s; processor time %.3f s, %.1f MiB/s)\n",
                mebibytes / best, best, bestCpu, mebibytes / bestCpu);
    if (ctagsBest > 0)
        std::printf("ctags -R                        %8.1f MiB/s (%.3f s; processor time %.3f s, %.1f MiB/s)\n",
                    mebibytes / ctagsBest, ctagsBest, ctagsCpu, mebibytes / ctagsCpu);
    else
        std::printf("ctags -R                        not run\n");
    ide.Shutdown();
    return 0;
}
