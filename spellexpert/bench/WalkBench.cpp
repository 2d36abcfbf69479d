// Speed of a whole strings check (not a test): a project of Free Pascal units checked through
// the stand-in IDE with the real libquillor.so, every unknown word answered Ignore All. Then the
// same words are looked up again in the dictionary alone (with suggestions for the unknown), which gives the share of the check's
// time spent outside it.
//   spellexpert_walk_bench [units (200)] [source folder] [libquillor.so]
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
#include <cstdio>
#include <filesystem>
#include <fstream>
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

win::HWND Dialog() { return TRobot::FindWindow(TBy::Name("QuilloDlg")); }

// Answers every word offered with Ignore All, a missing include file with Yes (ignore it) and
// any other message with OK; queues itself again until that message.
void Answer(TRobot& Robot, int& Offered, bool& Finished) {
    Robot.WaitUntil("a word or a message", [&Offered, &Finished, &Robot] {
        win::HWND box = nullptr;
        win::EnumWindows([&](win::HWND w) {
            if (win::IsWindowVisible(w) && !TRobot::ChildText(w, "Message").empty()) box = w;
            return box == nullptr;
        });
        if (box) {
            const std::string text = TRobot::ChildText(box, "Message");
            Finished = text == "Quillo Checking Complete.";
            Robot.Click(TBy::Name(TRobot::FindControl(TBy::Name("Yes"), box) ? "Yes" : "OK"));
        } else {
            win::HWND d = Dialog();
            if (!d || win::GetFocus() != TRobot::FindControl(TBy::Name("edtWord"), d)) return false;
            ++Offered;
            Robot.Click(TBy::Name("btnSkipAll"), TBy::Name("QuilloDlg"));
        }
        if (!Finished) Robot.Do([&Robot, &Offered, &Finished] { Answer(Robot, Offered, Finished); });
        return true;
    });
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::string source = argc > 2 ? argv[2] : "/usr/share/fpcsrc/3.2.2/packages";
    const std::string library = argc > 3 ? argv[3] : std::string(SUITE_BINARY_DIR) + "/ide/libquillor.so";

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

    vcl::InitApplication();
    double walk = 0;
    int offered = 0;
    {
        ide::TIde ide;
        if (!ide.LoadLibrary(ide::TLibraryKind::Quillor, library)) {
            std::fprintf(stderr, "cannot load %s\n", library.c_str());
            return 1;
        }
        ide.OpenProject(rtl::WinPath((folder / "Bench.dpr").string()));
        TRobot robot;
        bool finished = false;
        robot.Click(TBy::Name("btnCheckStrings"), TBy::Caption("Quillo Checking Expert"));
        Answer(robot, offered, finished);
        const auto start = Clock::now();
        ide.RunQuilloCheck();
        walk = Seconds(Clock::now() - start);
        if (!finished) std::fprintf(stderr, "the check did not finish: %s\n", robot.Describe().c_str());
    }

    // The same words, through the same filter, looked up in the dictionary alone.
    spellengine::TDictionary dictionary;
    if (!dictionary.OpenMain(rtl::WinPath(fs::path(library).parent_path().string()) + "\\ENGLISH.DCT")) {
        std::fprintf(stderr, "cannot open the dictionary\n");
        return 1;
    }
    spellexpert::TIDESpeller speller(nullptr);
    std::uint64_t words = 0;
    std::set<std::string> unknown;
    Clock::duration lookups{};
    std::vector<std::string> files{"Bench.dpr"};
    files.insert(files.end(), units.begin(), units.end());
    for (const std::string& name : files) {
        const std::string file = rtl::WinPath((folder / name).string());
        speller.LoadFile(file);
        speller.ShowFileInEditor(file);
        auto buffer = spellexpert::TMyBuffer::NewOnEditor(speller.Editor1);
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
    std::printf("%zu units (%.1f MB), %llu words looked up, %d offered (Ignore All)\n", units.size(),
                double(bytes) / 1e6, static_cast<unsigned long long>(words), offered);
    std::printf("check: %.2f s, %.1f files/s, %.0f words/s\n", walk, double(files.size()) / walk, double(words) / walk);
    std::printf("dictionary alone (lookups, and suggestions for the %zu words offered): %.3f s; outside the dictionary: %.1f %% of the check\n", unknown.size(), inside,
                100.0 * (1.0 - inside / walk));
    vcl::DoneApplication();
    return 0;
}
