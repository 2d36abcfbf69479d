// The scripted tour of `make demo` without a display: the roads of the four tools over a fresh
// copy of the example project, a picture of each step in the shot folder and a line of account
// of each step on the terminal.
//   demo_tour SOURCE_FOLDER LIBRARY_FOLDER SHOT_FOLDER
#include "ide/e2e/Tour.h"

#include "rtl/Clock.h"
#include "rtl/Paths.h"
#include "rtl/TestHooks.h"
#include "vcl/Forms.h"

#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: demo_tour SOURCE_FOLDER LIBRARY_FOLDER SHOT_FOLDER\n";
        return 2;
    }
    const std::string source = argv[1], libraries = argv[2], shots = argv[3];
    // The robot's waits advance this clock; nothing sleeps.
    rtl::UseManualClock();
    struct FreeFormsAtEnd {
        ~FreeFormsAtEnd() { vcl::DoneApplication(); }
    } freeFormsAtEnd;
    int faults = 0;
    try {
        vcl::Application->Initialize();
        vcl::Application->SetTitle("Tour");
        // The pictures of an earlier tour go; nothing else in the folder is touched.
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(shots, ec))
            if (e.path().extension() == ".png")
                std::filesystem::remove(e.path(), ec);
        tour::CopyDemoProject(source);
        tour::TTour t(libraries, shots);
        t.OnAccount = [](const std::string& line) { std::cout << "demo: " << line << std::endl; };
        std::cout << "demo: the IDE over a fresh copy of examples/Demo, the three libraries loaded" << std::endl;

        t.OpenSpellChecker();
        t.CheckStrings(tour::DemoStringAnswers(), {"Welcom", "aera"});
        t.ShowLine(tour::DemoDir + "Shapes.pas", "covers an", "quillor-unit-written-back");
        t.SearchDeclarations(tour::DemoDir + "Helpers.pas");
        t.InsertProperty(tour::DemoDir + "Shapes.pas", "TCircle", "Filled");
        if (!t.Ide().SaveFile(tour::DemoDir + "Shapes.pas"))
            std::cout << "demo: Shapes.pas could not be saved" << std::endl;
        if (tour::HaveFpc()) {
            std::string log;
            bool ok = tour::CompileProject(source, log);
            std::cout << "demo: fpc -Mdelphi compiled every unit of the project: " << (ok ? "yes" : "no") << std::endl;
            if (!ok) {
                std::cout << log;
                ++faults;
            }
        }
        t.InsertSnippet(tour::DemoDir + "Drawing.pas", 66, 3, "trye");
        t.ApplyLibraryConfiguration("Demo Library");

        for (const std::string& fault : t.Faults()) {
            std::cout << "demo: FAULT " << fault << std::endl;
            ++faults;
        }
        std::cout << "demo: " << t.Shots().size() << " pictures in " << shots << std::endl;
    } catch (const std::exception& e) {
        std::cerr << "demo: " << e.what() << "\n";
        return 1;
    }
    return faults ? 1 : 0;
}
