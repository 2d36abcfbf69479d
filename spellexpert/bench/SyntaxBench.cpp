// Colouring speed over the Free Pascal rtl sources, and the string-word walk of the filter over
// them in an editor control.
#include "spellexpert/SyntaxColour.h"
#include "spellexpert/WordFilter.h"

#include "spellengine/EngineMessages.h"

#include "editor/ZelEditor.h"
#include "rtl/WinRoot.h"
#include "vcl/Forms.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace spellexpert;
using Clock = std::chrono::steady_clock;

namespace {
double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }
} // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "/usr/share/fpcsrc/3.2.2/rtl";
    std::vector<std::string> lines;
    std::size_t bytes = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        const auto ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".pp" && ext != ".pas" && ext != ".inc"))
            continue;
        std::ifstream in(e.path(), std::ios::binary);
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r')
                l.pop_back();
            bytes += l.size() + 1;
            lines.push_back(std::move(l));
        }
    }
    auto start = Clock::now();
    {
        TSyntaxList list;
        bool b = false, p = false, s = false;
        for (const auto& l : lines)
            list.AddLine(b, p, s, l);
    }
    const double t = Seconds(start);
    std::printf("colouring: %zu lines, %.1f MB in %.3f s: %.1f MB/s\n", lines.size(), bytes / 1e6, t,
                bytes / 1e6 / t);

    std::string root = (std::filesystem::temp_directory_path() / "syntaxbench-XXXXXX").string();
    if (!mkdtemp(root.data()))
        return 1;
    rtl::SetWinRoot(root);
    vcl::InitApplication();
    auto* form = new vcl::TForm(vcl::Application);
    auto* editor = new editor::TZelCustomEditor(form);
    editor->SetParent(form);
    // The editor takes paragraphs of at most 255 characters: longer lines are cut for the walk.
    std::string text;
    for (const auto& l : lines)
        text += l.substr(0, 250) + "\n";
    start = Clock::now();
    if (editor->InsertString(text) != 0)
        std::printf("text refused\n");
    std::printf("into the editor: %d paragraphs in %.3f s\n", static_cast<int>(editor->ParaCount()),
                Seconds(start));
    SyntaxList = std::make_unique<TSyntaxList>();
    bool b = false, p = false, s = false;
    for (std::int32_t n = 1; n <= editor->ParaCount(); ++n)
        SyntaxList->AddLine(b, p, s, editor->GetPara(n));
    // A run of 50 word characters (the rtl's base-64 alphabets) ends a real check with a message
    // box; here nobody would answer it, so the bench counts it and walks on after it.
    long overLong = 0;
    spellengine::SetEngineMessageProc([&](const std::string&) { ++overLong; });
    for (std::uint8_t mode : {TMyBuffer::fmStrings, TMyBuffer::fmComments}) {
        auto filter = TMyBuffer::NewOnEditor(editor);
        filter->SetMode(mode);
        start = Clock::now();
        long words = 0;
        overLong = 0;
        for (std::string w;;) {
            filter->GetNextWord(w);
            if (!w.empty())
                ++words;
            else if (!filter->Aborted())
                break;
        }
        const double wt = Seconds(start);
        std::printf("%s words: %ld in %.3f s: %.0f words/s (%ld over-long words passed)\n",
                    mode == 0 ? "string" : "comment", words, wt, words / wt, overLong);
    }
    SyntaxList.reset();
    delete form;
    std::filesystem::remove_all(root);
    return 0;
}
