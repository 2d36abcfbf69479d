// The vorl program: Vorl's main window on the screen, shown on the desktop when there is one.
// The alias store lies beside the program, named after it.
//   vorl [--headless] [--scale N] [--screenshot FILE]
#include "libconfig/Vormain.h"

#include "vcl/Forms.h"
#include "win/ProgramOptions.h"
#include "win/Windows.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    win::TScreenOptions options;
    std::vector<std::string> arguments;
    if (auto code = win::ReadCommandLine(argc, argv, "vorl", "", 0, options, arguments)) return *code;
    const std::string& screenshot = options.Screenshot;

    auto display = win::OpenDisplayFor(options, "vorl");
    try {
        using vcl::Application;
        Application->Initialize();
        Application->SetTitle("Vorl");
        libconfig::TForm1* form = Application->CreateForm<libconfig::TForm1>();
        win::SetDisplayMainWindow(form->Handle());
        if (!screenshot.empty()) {
            // Without anyone to answer an error box, errors go to the terminal.
            Application->OnException = [](vcl::TObject*, const std::exception& e) { std::cerr << "vorl: " << e.what() << "\n"; };
            form->Show();
            Application->ProcessMessages();
            if (!win::SaveScreenshot(screenshot)) {
                std::cerr << "vorl: cannot write the screenshot " << screenshot << "\n";
                return 1;
            }
            return 0;
        }
        Application->Run();
    } catch (const std::exception& e) {
        std::cerr << "vorl: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
