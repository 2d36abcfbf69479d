// Measures the text-file editor in a window: loading and saving a 20 MB file of 400,000 lines
// (beside cp), painting one full window, paging down through the whole file, and replacing a
// common word everywhere (beside sed).
#include "editor/ZelTextFileEditor.h"
#include "vcl/Forms.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/WinRoot.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace editor;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double Shell(const std::string& command) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) std::printf("command failed: %s\n", command.c_str());
    return Seconds(start);
}

} // namespace

int main() {
    std::string root = (std::filesystem::temp_directory_path() / "textfilebench-XXXXXX").string();
    if (!mkdtemp(root.data())) return 1;
    rtl::SetWinRoot(root);
    vcl::InitApplication();

    std::string text;
    const char* words[] = {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "and", "a"};
    for (int i = 0; i < 400000; ++i) {
        std::string line = "    ";
        for (int w = 0; line.size() < 48; ++w) {
            line += words[(i * 7 + w * 3) % 10];
            line += ' ';
        }
        line += std::to_string(i % 1000);
        text += line + "\r\n";
    }
    const double mb = static_cast<double>(text.size()) / 1e6;
    rtl::WriteFileAtomic("C:\\big.txt", text);
    const std::string host = rtl::HostPath("C:\\big.txt");

    auto* form = vcl::Make<vcl::TForm>(vcl::Application);
    form->SetBounds(0, 0, 800, 600);
    new TZelController(form);
    auto* editor = new TZelTextFileEditor(form);
    editor->SetParent(form);
    editor->SetAlign(vcl::TAlign::alClient);
    form->Show();
    vcl::Application->ProcessMessages();

    // cp of the same file first, so that both read it from the page cache.
    const double cpLoad = Shell("cp '" + host + "' '" + host + ".cp'");
    auto start = Clock::now();
    editor->LoadFromFile("C:\\big.txt");
    const double load = Seconds(start);
    vcl::Application->ProcessMessages();
    const double shown = Seconds(start);
    std::printf("file: %.1f MB, %d lines\n", mb, editor->ParaCount() - 1);
    std::printf("load: %.3f s (%.0f MB/s); shown (the load and its one paint): %.3f s; cp: %.3f s; shown/cp: %.1f\n",
                load, mb / load, shown, cpLoad, shown / cpLoad);

    start = Clock::now();
    editor->SaveToFile("C:\\saved.txt");
    const double save = Seconds(start);
    const double cp = Shell("cp '" + host + "' '" + host + ".cp'");
    std::printf("save: %.3f s (%.0f MB/s); cp: %.3f s (%.0f MB/s); same bytes: %s\n", save, mb / save, cp, mb / cp,
                rtl::FileSizeByName("C:\\saved.txt") == static_cast<std::int64_t>(text.size()) ? "yes" : "NO");

    const int paints = 50;
    start = Clock::now();
    for (int i = 0; i < paints; ++i) {
        editor->Invalidate();
        editor->Update();
    }
    std::printf("paint one window of %d x %d characters: %.2f ms\n", editor->GetVisibleColumns(),
                editor->GetVisibleLines(), Seconds(start) * 1e3 / paints);

    int pages = 0;
    start = Clock::now();
    int col;
    while (editor->GetCaretPosition(col) < editor->LineCount()) {
        editor->ProcessCommand(ccNextPage, 0);
        editor->Update();
        ++pages;
    }
    const double paging = Seconds(start);
    std::printf("page down through the file: %d pages, %.2f s (%.3f ms a page)\n", pages, paging,
                paging * 1e3 / pages);

    start = Clock::now();
    const TFindReplaceResult r = editor->FindReplace("the", "THE", frWholeText | frReplaceAll | frMatchCase);
    editor->Update();
    const double replace = Seconds(start);
    const double sed = Shell("sed 's/the/THE/g' '" + host + "' > '" + host + ".sed'");
    std::printf("replace all: %d replacements, %.3f s (%.1f MB/s); sed: %.3f s (%.1f MB/s)\n", r.Replaced, replace,
                mb / replace, sed, mb / sed);

    delete form;
    vcl::DoneApplication();
    std::filesystem::remove_all(root);
    return 0;
}
