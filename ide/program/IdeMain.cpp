// The ide program: the stand-in IDE with its windows on the screen, shown on the desktop when
// there is one.
//   ide [--headless] [--scale N] [--screenshot FILE] [project.dpr]
#include "rtl/Paths.h"
#include "ide/Ide.h"
#include "ide/IdeWindows.h"

#include "win/ProgramOptions.h"
#include "win/Windows.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::string ProgramFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0, ec);
    return self.parent_path().string();
}

} // namespace

int main(int argc, char** argv) {
    win::TScreenOptions options;
    std::vector<std::string> arguments;
    if (auto code = win::ReadCommandLine(argc, argv, "ide", "[project.dpr]", 1, options, arguments)) return *code;
    const std::string project = arguments.empty() ? std::string() : arguments[0];
    const std::string& screenshot = options.Screenshot;

    auto display = win::OpenDisplayFor(options, "ide");
    try {
        ide::TIde ide;
        // Without anyone to answer a message box, the messages go to the terminal.
        if (!screenshot.empty())
            ide.OnShowMessage = [](const std::string& text) { std::cerr << "ide: " << text << "\n"; };
        if (!project.empty()) {
            // A Windows-form name ("C:\PROJECTS\Demo.dpr") as it stands, a host path made absolute.
            const bool windowsForm = (project.size() >= 2 && project[1] == ':') || project.find('\\') != std::string::npos;
            std::error_code ec;
            std::string full = windowsForm ? project : rtl::WinPath(std::filesystem::absolute(project, ec).string());
            if (!ide.OpenProject(full)) {
                std::cerr << "ide: cannot open the project " << project << "\n";
                return 1;
            }
        }
        // The windows come before the libraries, which take the main window as their parent.
        ide::TIdeWindows& windows = ide.ShowWindows();
        win::SetDisplayMainWindow(windows.MainWindow());
        ide.LoadLibraries(ProgramFolder(argv[0]));
        if (!screenshot.empty()) {
            windows.ProcessMessages();
            bool saved = win::SaveScreenshot(screenshot);
            ide.Shutdown();
            if (!saved) {
                std::cerr << "ide: cannot write the screenshot " << screenshot << "\n";
                return 1;
            }
            return 0;
        }
        windows.Run();
        ide.Shutdown();
    } catch (const std::exception& e) {
        std::cerr << "ide: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
