// Speed of a whole strings or comments check (not a test): a project of Free Pascal units checked
// through the stand-in IDE with the real libquillor.so, every unknown word answered Ignore All,
// with the time from each answer to the next word shown on the screen. Then the same words are
// looked up again in the dictionary alone (with suggestions for the unknown), which gives the
// share of the check's time spent outside it, and codespell (when installed) reads the same folder.
//   spellexpert_walk_bench [units (200)] [strings|comments|both (both)] [source folder] [libquillor.so]
#include "spellexpert/IDESpeller.h"
#include "spellexpert/WordFilter.h"

#include "spellengine/Dictionary.h"
#include "ide/Ide.h"
#include "rtl/Paths.h"
#include "testing/Robot.h"
#include "testing/TempWinRoot.h"
#include "vcl/Forms.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;
using testing_support::TBy;
using testing_support::TRobot;
namespace fs = std::filesystem;

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return s;
}

struct TAnswers {
    int Offered = 0;
    bool Finished = false;
    // From the click of an answer to the next word painted in the dialog, in milliseconds.
    std::vector<double> Latencies;
    Clock::time_point AnsweredAt{};
};

// Paints what waits now, as the loop would next: the time a word is on the screen.
void PaintNow() {
    win::EnumWindows([](win::HWND w) {
        if (win::IsWindowVisible(w)) win::UpdateWindow(w);
        return true;
    });
}

// The message box or the offered word, where the focus is: a modal box holds it from the moment
// it is shown, and an offered word is the dialog's replacement edit focused. Null when neither.
win::HWND FocusedBox() {
    win::HWND root = win::GetAncestor(win::GetFocus(), win::GA_ROOT);
    return root && win::IsWindowVisible(root) && !TRobot::ChildText(root, "Message").empty() ? root : nullptr;
}

bool WordOffered() {
    win::HWND focus = win::GetFocus();
    win::HWND root = win::GetAncestor(focus, win::GA_ROOT);
    if (!root || TRobot::FindControl(TBy::Name("edtWord"), root) != focus) return false;
    return root == TRobot::FindWindow(TBy::Name("QuilloDlg"));
}

// Every visible window's message box, for a box shown without the focus.
win::HWND AnyBox() {
    win::HWND box = nullptr;
    win::EnumWindows([&](win::HWND w) {
        if (win::IsWindowVisible(w) && !TRobot::ChildText(w, "Message").empty()) box = w;
        return box == nullptr;
    });
    return box;
}

// Answers every word offered with Ignore All, a missing include file with Yes (ignore it) and
// any other message with OK; queues itself again until that message. The robot asks at every
// look at the queue, so the answer is found where the focus is; every window is searched only
// every few hundred looks, which a box without the focus would wait for.
void Answer(TRobot& Robot, TAnswers& A) {
    Robot.WaitUntil("a word or a message", [&A, &Robot] {
        static int looks = 0;
        win::HWND box = FocusedBox();
        const bool word = !box && WordOffered();
        if (!box && !word && ++looks % 256 == 0) box = AnyBox();
        if (!box && !word) return false;
        if (box) {
            const std::string text = TRobot::ChildText(box, "Message");
            A.Finished = text == "Quillo Checking Complete.";
            Robot.Click(TBy::Name(TRobot::FindControl(TBy::Name("Yes"), box) ? "Yes" : "OK"));
            A.AnsweredAt = {};
        } else {
            if (A.AnsweredAt != Clock::time_point{}) {
                PaintNow();
                A.Latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - A.AnsweredAt).count());
            }
            ++A.Offered;
            Robot.Click(TBy::Name("btnSkipAll"), TBy::Name("QuilloDlg"));
            Robot.Do([&A] { A.AnsweredAt = Clock::now(); });
        }
        if (!A.Finished) Robot.Do([&Robot, &A] { Answer(Robot, A); });
        return true;
    });
}

// The median and the 99th percentile of a set of times.
std::pair<double, double> MedianAndP99(std::vector<double> v) {
    if (v.empty()) return {0, 0};
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, std::size_t(q * double(v.size() - 1) + 0.5))]; };
    return {at(0.5), at(0.99)};
}

struct TRun {
    double Walk = 0;
    TAnswers Answers;
};

TRun RunCheck(const fs::path& folder, const std::string& library, bool comments) {
    TRun run;
    ide::TIde ide;
    if (!ide.LoadLibrary(ide::TLibraryKind::Quillor, library)) {
        std::fprintf(stderr, "cannot load %s\n", library.c_str());
        std::exit(1);
    }
    ide.OpenProject(rtl::WinPath((folder / "Bench.dpr").string()));
    TRobot robot;
    robot.Click(TBy::Name(comments ? "btnCheckComments" : "btnCheckStrings"), TBy::Caption("Quillo Checking Expert"));
    Answer(robot, run.Answers);
    const auto start = Clock::now();
    ide.RunQuilloCheck();
    run.Walk = Seconds(Clock::now() - start);
    if (!run.Answers.Finished) std::fprintf(stderr, "the check did not finish: %s\n", robot.Describe().c_str());
    return run;
}

} // namespace

int main(int argc, char** argv) {
    int count = 200;
    std::vector<std::string> modes{"strings", "comments"};
    std::string source = "/usr/share/fpcsrc/3.2.2/packages";
    std::string library = std::string(SUITE_BINARY_DIR) + "/ide/libquillor.so";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (!a.empty() && std::all_of(a.begin(), a.end(), [](char c) { return c >= '0' && c <= '9'; }))
            count = std::atoi(a.c_str());
        else if (a == "strings" || a == "comments")
            modes = {a};
        else if (a == "both")
            modes = {"strings", "comments"};
        else if (a.size() > 3 && a.compare(a.size() - 3, 3, ".so") == 0)
            library = a;
        else
            source = a;
    }

    testing_support::TempWinRoot root;
    const fs::path folder = fs::path(root.Path()) / "drive_c" / "BENCH";
    fs::create_directories(folder);
    std::vector<fs::path> found;
    for (const auto& e : fs::recursive_directory_iterator(source))
        if (e.is_regular_file() && e.path().extension() == ".pas") found.push_back(e.path());
    std::sort(found.begin(), found.end());
    std::set<std::string> names;
    std::vector<std::string> units;
    std::uintmax_t bytes = 0;
    for (const fs::path& p : found) {
        std::string name = p.filename().string();
        const std::string lower = Lower(name);
        if (static_cast<int>(units.size()) == count || !names.insert(lower).second) continue;
        fs::copy_file(p, folder / name);
        bytes += fs::file_size(p);
        units.push_back(name);
    }
    {
        std::ofstream dpr(folder / "Bench.dpr", std::ios::binary);
        dpr << "program Bench;\r\n\r\nuses\r\n";
        for (std::size_t i = 0; i < units.size(); ++i)
            dpr << "  U" << i << " in '" << units[i] << "'" << (i + 1 < units.size() ? ",\r\n" : ";\r\n");
        dpr << "\r\nbegin\r\nend.\r\n";
    }
    fs::create_directories(fs::path(root.Path()) / "drive_c" / "windows");
    std::ofstream(fs::path(root.Path()) / "drive_c" / "windows" / "Quillo.INI") << "[Quillo]\nBackup=0\n";
    fs::current_path(folder);
    std::vector<std::string> files{"Bench.dpr"};
    files.insert(files.end(), units.begin(), units.end());
    bytes += fs::file_size(folder / "Bench.dpr");
    const double mb = double(bytes) / 1e6;
    std::printf("%zu units and the project file (%.1f MB)\n", units.size(), mb);

    vcl::InitApplication();
    spellengine::TDictionary dictionary;
    if (!dictionary.OpenMain(rtl::WinPath(fs::path(library).parent_path().string()) + "\\ENGLISH.DCT")) {
        std::fprintf(stderr, "cannot open the dictionary\n");
        return 1;
    }
    for (const std::string& mode : modes) {
        const bool comments = mode == "comments";
        const TRun run = RunCheck(folder, library, comments);

        // The same words, through the same filter, looked up in the dictionary alone.
        std::unique_ptr<spellexpert::TIDESpeller> window(vcl::Make<spellexpert::TIDESpeller>(nullptr));
        spellexpert::TIDESpeller& speller = *window;
        std::uint64_t words = 0;
        std::set<std::string> unknown;
        Clock::duration lookups{};
        for (const std::string& name : files) {
            const std::string file = rtl::WinPath((folder / name).string());
            speller.LoadFile(file);
            speller.ShowFileInEditor(file);
            auto buffer = spellexpert::TMyBuffer::NewOnEditor(speller.Editor1);
            buffer->SetMode(comments ? spellexpert::TMyBuffer::fmComments : spellexpert::TMyBuffer::fmStrings);
            std::string word;
            for (buffer->GetNextWord(word); !word.empty(); buffer->GetNextWord(word)) {
                if (word.size() < 2 || buffer->AllDigits()) continue;
                ++words;
                const auto t = Clock::now();
                // An unknown word is offered once (Ignore All) with its suggestions.
                if (!dictionary.IsKnownWord(word) && unknown.insert(Lower(word)).second)
                    dictionary.Suggest(word, 10);
                lookups += Clock::now() - t;
            }
        }
        const double inside = Seconds(lookups);
        const auto [median, p99] = MedianAndP99(run.Answers.Latencies);
        std::printf("%s check: %.2f s, %.1f files/s, %.2f MB/s; %llu words looked up, %d offered (Ignore All)\n",
                    mode.c_str(), run.Walk, double(files.size()) / run.Walk, mb / run.Walk,
                    static_cast<unsigned long long>(words), run.Answers.Offered);
        std::printf("  answer to the next word shown: median %.2f ms, 99th percentile %.2f ms (%zu answers)\n", median,
                    p99, run.Answers.Latencies.size());
        std::printf("  dictionary alone (lookups, and suggestions for the %zu words offered): %.3f s; outside the "
                    "dictionary: %.1f %% of the check\n",
                    unknown.size(), inside, 100.0 * (1.0 - inside / run.Walk));
    }

    // codespell reads every word of the same files.
    if (std::system("command -v codespell > /dev/null 2>&1") == 0) {
        const std::string command = "codespell '" + folder.string() + "' > /dev/null 2>&1";
        const auto start = Clock::now();
        (void)std::system(command.c_str());
        const double t = Seconds(Clock::now() - start);
        std::printf("codespell over the same folder: %.2f s, %.1f files/s, %.2f MB/s\n", t, double(files.size()) / t,
                    mb / t);
    } else {
        std::printf("codespell is not installed (scripts/install-deps installs it)\n");
    }
    vcl::DoneApplication();
    return 0;
}
