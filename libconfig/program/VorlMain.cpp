// The vorl program: Vorl's main window on the screen, shown on the desktop when there is one.
// The alias store lies beside the program, named after it.
//   vorl [--headless] [--scale N] [--screenshot FILE]
#include "libconfig/Vormain.h"

#include "vcl/Forms.h"
#include "win/Windows.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

int Usage() {
    std::cerr << "usage: vorl [--headless] [--scale N] [--screenshot FILE]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string screenshot;
    bool headless = false;
    int scale = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--screenshot") {
            if (++i >= argc)
                return Usage();
            screenshot = argv[i];
        } else if (arg == "--headless") {
            headless = true;
        } else if (arg == "--scale") {
            if (++i >= argc)
                return Usage();
            scale = std::atoi(argv[i]);
            if (scale < 1 || scale > 8) {
                std::cerr << "vorl: the scale is a whole number from 1 to 8\n";
                return Usage();
            }
        } else if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else {
            std::cerr << "vorl: unknown argument " << arg << "\n";
            return Usage();
        }
    }

    if (!headless && win::DisplayPresent() && !win::OpenDisplay(scale, "vorl"))
        std::cerr << "vorl: the desktop display cannot be opened; running headless\n";
    struct CloseAtEnd {
        ~CloseAtEnd() { win::CloseDisplay(); }
    } closeAtEnd;
    // The forms go before the static state of the class library's units (the menus' commands).
    struct FreeFormsAtEnd {
        ~FreeFormsAtEnd() { vcl::DoneApplication(); }
    } freeFormsAtEnd;
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
