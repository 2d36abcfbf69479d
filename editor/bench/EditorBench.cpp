// Measures the editor control through its commands, without a window (nothing is painted):
// typing 10,000 keys at the end of texts of growing size and taking them back with Backspace,
// and pasting a 10 MB text from the clipboard.
#include "editor/ZelEditor.h"
#include "vcl/Clipbrd.h"
#include "vcl/Forms.h"

#include <chrono>
#include <cstdio>
#include <string>

using namespace editor;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Microseconds per key of typing Keys keys (a line break every 64) and then as many Backspaces.
void Typing(std::int32_t paras, bool wrap) {
    TZelCustomEditor editor(nullptr);
    editor.SetWordWrap(wrap);
    const std::string line = "procedure TForm1.Button1Click(Sender: TObject); begin end;";
    for (std::int32_t i = 0; i < paras; ++i) editor.AppendPara(line);
    editor.ProcessCommand(ccLastPage, 0);
    const int keys = 10000;
    const std::string text = "the quick brown fox jumps over the lazy dog ";
    auto start = Clock::now();
    for (int i = 0; i < keys; ++i) {
        if (i % 64 == 63) editor.ProcessCommand(ccNewLine, 0);
        else editor.ProcessCommand(ccChar, static_cast<unsigned char>(text[i % text.size()]));
    }
    const double typed = Seconds(start) * 1e6 / keys;
    start = Clock::now();
    for (int i = 0; i < keys; ++i) editor.ProcessCommand(ccBack, 0);
    const double deleted = Seconds(start) * 1e6 / keys;
    std::printf("%10d %6s %14.2f %14.2f %10s\n", paras, wrap ? "on" : "off", typed, deleted,
                editor.ParaCount() == paras + 1 ? "ok" : "WRONG");
}

// Pastes 10 MB through the clipboard into an empty text, and into the middle of a line in the
// middle of a text of a million wrapped paragraphs.
void Paste() {
    std::string text;
    const std::string line = "    Result := Format('%d items in %s', [Count, Name]); // note\r\n";
    while (text.size() < 10 * 1000 * 1000) text += line;
    vcl::PutClipboardText(nullptr, text);
    for (std::int32_t paras : {0, 1000000}) {
        TZelCustomEditor editor(nullptr);
        editor.SetWordWrap(paras > 0);
        for (std::int32_t i = 0; i < paras; ++i) editor.AppendPara("procedure TForm1.Button1Click(Sender: TObject);");
        if (paras > 0) editor.SetCaretPosition(editor.LineCount() / 2, 10);
        const std::int32_t before = editor.ParaCount();
        auto start = Clock::now();
        editor.ProcessCommand(ccPaste, 0);
        const double seconds = Seconds(start);
        std::printf("paste %.1f MB into %d paragraphs: %.3f s (%.1f MB/s), %d paragraphs more\n",
                    double(text.size()) / 1e6, paras, seconds, double(text.size()) / 1e6 / seconds,
                    editor.ParaCount() - before);
    }
}

} // namespace

int main() {
    vcl::InitApplication();
    std::printf("%10s %6s %14s %14s\n", "paras", "wrap", "type us/key", "back us/key");
    for (std::int32_t n : {1000, 1000000}) {
        Typing(n, false);
        Typing(n, true);
    }
    Paste();
    vcl::DoneApplication();
}
