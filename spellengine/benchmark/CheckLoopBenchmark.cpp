// Measures the check loop: CheckBuffer over running English text in which every word is known
// or skipped for good at its first offer (a robot presses Skip All), beside IsKnownWord alone
// over the same words. Not a test; build it in Release:
//   cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=ON
//   cmake --build build-rel --target english_dct spellengine_check_benchmark
//   build-rel/spellengine/spellengine_check_benchmark [words] [ENGLISH.DCT] [licence folder]
#include "spellengine/Dictionary.h"
#include "spellengine/SpellDlg.h"

#include "testing/Robot.h"
#include "testing/TempWinRoot.h"

#include "rtl/Clock.h"
#include "rtl/TestHooks.h"
#include "rtl/CodePages.h"
#include "rtl/Paths.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace spellengine;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Words of the licence texts in ANSI, repeated until there are Count of them.
std::vector<std::string> RunningText(const std::string& folder, std::size_t count) {
    std::vector<std::string> words;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        const std::string oem = rtl::AnsiToOem(rtl::Utf8ToAnsi(s.str()));
        std::string word;
        for (char c : oem + " ") {
            if (WordChars()[static_cast<unsigned char>(c)]) {
                word.push_back(c);
            } else {
                if (!word.empty() && word.size() < 50) words.push_back(rtl::OemToAnsi(word));
                word.clear();
            }
        }
    }
    std::vector<std::string> out;
    while (!words.empty() && out.size() < count)
        for (std::size_t i = 0; i < words.size() && out.size() < count; ++i) out.push_back(words[i]);
    return out;
}

// A word-processor dialog whose robot presses Skip All whenever a word waits for the user.
class TSkippingDialog : public TWPSpellDlg {
public:
    TSkippingDialog(vcl::TComponent* AOwner, testing_support::TRobot* Robot) : TWPSpellDlg(AOwner), FRobot(Robot) {}
    void FocusReplacement() override {
        TWPSpellDlg::FocusReplacement();
        if (Result() != srWaiting) return;
        ++Offers;
        FRobot->Wait(1000);
        FRobot->Click(testing_support::TBy::Name("btnSkipAll"));
    }
    int Offers = 0;

private:
    testing_support::TRobot* FRobot;
};

class TSkippingSpellDlg : public TSpellDlg {
public:
    using TSpellDlg::TSpellDlg;
    void SetDialogType(TDialogTypes Value) override {
        TSpellDlg::SetDialogType(Value);
        delete Dialog();
        AdoptDialog(Make<TSkippingDialog>(DialogOwner(), Robot));
    }
    static testing_support::TRobot* Robot;
};
testing_support::TRobot* TSkippingSpellDlg::Robot = nullptr;

} // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    const std::string dct = argc > 2 ? argv[2] : std::string(SUITE_BINARY_DIR) + "/ENGLISH.DCT";
    const std::string licences = argc > 3 ? argv[3] : "/usr/share/common-licenses";

    testing_support::TempWinRoot root;
    rtl::UseManualClock();
    vcl::InitApplication();
    testing_support::TRobot robot;
    TSkippingSpellDlg::Robot = &robot;

    const std::vector<std::string> words = RunningText(licences, count);
    std::string text;
    for (const std::string& w : words) text += w + ' ';

    auto* spell = vcl::Make<TSkippingSpellDlg>(vcl::Application);
    spell->SetAutoSuggest(false);
    spell->SetReportResult(false);
    spell->SetDictionaryPath(rtl::ExtractFilePath(rtl::WinPath(dct)));
    spell->SetUserDictionary(rtl::WinPath(root.Path()) + "\\USER.DIC");
    auto buffer = TPCharBuffer::NewOnPChar(text.c_str());

    auto t0 = Clock::now();
    const int result = spell->CheckBuffer(*buffer);
    const double loop = Seconds(Clock::now() - t0);
    const int offers = static_cast<TSkippingDialog*>(spell->Dialog())->Offers;

    std::size_t known = 0;
    t0 = Clock::now();
    for (const std::string& w : words) known += ActiveDictionary()->IsKnownWord(rtl::AnsiToOem(w));
    const double lookup = Seconds(Clock::now() - t0);

    std::printf("CheckBuffer: %zu words in %.3f s: %.0f words/s (result %d, %d words offered and skipped for good)\n",
                words.size(), loop, double(words.size()) / loop, result, offers);
    std::printf("IsKnownWord: %zu words in %.3f s: %.0f words/s, %.1f%% known\n", words.size(), lookup,
                double(words.size()) / lookup, 100.0 * double(known) / double(words.size()));
    std::printf("the loop keeps %.1f%% of the lookup's rate\n", 100.0 * lookup / loop);
    spell->Close();
    return 0;
}
