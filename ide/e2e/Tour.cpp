#include "ide/e2e/Tour.h"

#include "ide/CodeView.h"

#include "ide/IdeWindows.h"
#include "ide/WinNames.h"
#include "libconfig/AliasStore.h"
#include "libconfig/Vormain.h"

#include "rtl/Paths.h"
#include "rtl/Registry.h"
#include "rtl/SysUtils.h"
#include "testing/Shell.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "win/Windows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace tour {

namespace fs = std::filesystem;
using testing_support::TBy;
using testing_support::TRobot;

namespace {

// The line of a CR LF text, counted from 1; empty past the end.
std::string LineOf(const std::string& text, int line) {
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) {
        start = text.find("\r\n", start);
        if (start == std::string::npos)
            return {};
        start += 2;
    }
    std::size_t end = text.find("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool Run(const std::string& command, std::string& output) {
    int status = -1;
    output = testing_support::Shell(command + " 2>&1", &status);
    return status == 0;
}

} // namespace

void CopyDemoProject(const std::string& sourceFolder) {
    fs::path target = fs::path(rtl::HostPath("C:\\PROJECTS\\Demo"));
    fs::remove_all(target);
    fs::create_directories(target);
    fs::copy(fs::path(sourceFolder) / "examples" / "Demo", target, fs::copy_options::recursive);
}

bool HaveFpc() { return std::system("command -v fpc >/dev/null 2>&1") == 0; }

bool CompileProject(const std::string& sourceFolder, std::string& log) {
    log.clear();
    // A copy, so that fpc's units and objects stay out of the project.
    fs::path dir = fs::temp_directory_path() / ("suite-fpc-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(fs::path(rtl::HostPath(DemoDir)), dir, fs::copy_options::recursive);
    fs::copy(fs::path(sourceFolder) / "examples" / "stubs", dir, fs::copy_options::recursive);
    // The form unit names its form file in capitals; the file system minds the case.
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string ext = e.path().extension().string();
        if (ext == ".dfm")
            fs::copy_file(e.path(), fs::path(e.path()).replace_extension(".DFM"), fs::copy_options::overwrite_existing);
    }
    bool ok = true;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string ext = e.path().extension().string();
        if (ext != ".pas" || e.path().stem() == "Forms" || e.path().stem() == "StdCtrls")
            continue;
        std::string out;
        if (!Run("cd '" + dir.string() + "' && fpc -Mdelphi -vw '" + e.path().filename().string() + "'", out)) {
            log += out;
            ok = false;
        }
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return ok;
}

const std::vector<TSpellAnswer>& DemoStringAnswers() {
    static const std::vector<TSpellAnswer> answers = {
        {"Welcom", "Welcome"}, {"drawe", "draw"}, {"thier", "their"}, {"", "Yes"},
        {"aera", "area"},      {"recieved", "received"}, {"", "OK"},
    };
    return answers;
}

TTour::TTour(const std::string& libraryFolder, std::string shotFolder) : FShotFolder(std::move(shotFolder)) {
    if (!FShotFolder.empty())
        fs::create_directories(FShotFolder);
    FIde = std::make_unique<ide::TIde>();
    FIde->OnShowMessage = [this](const std::string& text) { FFaults.push_back("the IDE said: " + text); };
    if (!FIde->OpenProject(DemoDir + "Demo.dpr"))
        FFaults.push_back("the example project could not be opened");
    ide::TIdeWindows& windows = FIde->ShowWindows();
    FIde->LoadLibraries(libraryFolder);
    windows.ProcessMessages();
}

TTour::~TTour() = default;

void TTour::Account(const std::string& line) {
    FAccounts.push_back(line);
    if (OnAccount)
        OnAccount(line);
}

void TTour::Snap(const std::string& name) {
    if (FShotFolder.empty())
        return;
    char number[16];
    std::snprintf(number, sizeof number, "%02d-", int(FShots.size()) + 1);
    std::string file = (fs::path(FShotFolder) / (number + name + ".png")).string();
    if (TRobot::Screenshot(file))
        FShots.push_back(file);
    else
        FFaults.push_back("cannot write " + file);
}

void TTour::Run(TRobot& robot) {
    try {
        testing_support::PlayOut(robot, 400, 0, [this] {
            FIde->Windows() ? FIde->Windows()->ProcessMessages() : vcl::Application->ProcessMessages();
        });
    } catch (const std::exception& e) {
        // A modal loop that nobody answers ends in an exception rather than waiting for ever.
        FFaults.push_back(e.what());
    }
    if (!robot.Done())
        FFaults.push_back(robot.Describe());
}

void TTour::ChooseIdeMenu(TRobot& robot, const std::string& path) {
    robot.ChooseMenu(TBy::Class("TAppBuilder"), path);
}

int TTour::OpenSpellChecker() {
    TRobot robot;
    ChooseIdeMenu(robot, "&Tools|Spell Check...");
    robot.OnNextModal([this](win::HWND) { Snap("quillor-main-window"); });
    robot.Click(TBy::Name("btnCancel"), TBy::Caption("Quillo Checking Expert"));
    Run(robot);
    int result = FIde->LastQuilloResult().value_or(-1);
    Account("Tools|Spell Check... showed Quillor's main window; Close gave " + std::to_string(result) + " back");
    return result;
}

TSpellOutcome TTour::CheckStrings(const std::vector<TSpellAnswer>& answers, const std::vector<std::string>& snapAt) {
    TSpellOutcome out;
    auto dialog = [] { return TRobot::FindWindow(TBy::Name("QuilloDlg")); };
    // The last box answered, so that a box still closing is not taken for the next one.
    auto lastBox = std::make_shared<win::HWND>(nullptr);
    TRobot robot;
    ChooseIdeMenu(robot, "&Tools|Spell Check...");
    robot.Click(TBy::Name("btnCheckStrings"), TBy::Caption("Quillo Checking Expert"));
    for (const TSpellAnswer& a : answers) {
        if (a.Word.empty()) {
            robot.WaitUntil("a message box", [&out, lastBox] {
                win::HWND box = nullptr;
                win::EnumWindows([&](win::HWND w) {
                    if (win::IsWindowVisible(w) && w != *lastBox && !TRobot::ChildText(w, "Message").empty())
                        box = w;
                    return box == nullptr;
                });
                if (!box)
                    return false;
                *lastBox = box;
                out.Boxes.push_back(TRobot::ChildText(box, "Message"));
                return true;
            });
            robot.Click(TBy::Name(a.Answer));
            continue;
        }
        // The dialog offers the word as not found and waits in its change field.
        robot.WaitUntil("the dialog offering " + a.Word, [dialog, word = a.Word] {
            win::HWND d = dialog();
            return d && TRobot::ChildText(d, "lblFound") == "Not found:" && TRobot::ChildText(d, "edtCurWord") == word &&
                   win::GetFocus() == TRobot::FindControl(TBy::Name("edtWord"), d);
        });
        if (std::find(snapAt.begin(), snapAt.end(), a.Word) != snapAt.end())
            robot.Do([this, word = a.Word] { Snap("quillor-offers-" + word); });
        robot.Do([dialog, replacement = a.Answer] {
            win::HWND edit = TRobot::FindControl(TBy::Name("edtWord"), dialog());
            win::SendMessage(edit, win::WM_SETTEXT, 0, win::LPARAM(replacement.c_str()));
        });
        robot.Click(TBy::Name("btnReplace"), TBy::Name("QuilloDlg"));
    }
    Run(robot);
    out.Result = FIde->LastQuilloResult().value_or(-1);
    FIde->Windows()->Refresh();
    int replaced = 0;
    for (const TSpellAnswer& a : answers)
        replaced += a.Word.empty() ? 0 : 1;
    Account("Spell Check Strings over the project: " + std::to_string(replaced) +
            " words replaced in a unit, its include file and the form; " +
            (out.Boxes.empty() ? std::string("no message") : "last message: " + out.Boxes.back()));
    return out;
}

void TTour::ShowLine(const std::string& file, const std::string& text, const std::string& name) {
    if (!FIde->OpenFile(file)) {
        FFaults.push_back("cannot open " + file);
        return;
    }
    const std::string all = FIde->CurrentBuffer()->Text();
    std::size_t at = all.find(text);
    int line = at == std::string::npos ? 1 : 1 + int(std::count(all.begin(), all.begin() + std::ptrdiff_t(at), '\n'));
    FIde->GotoLine(file, line, 1);
    FIde->Windows()->Refresh();
    Snap(name);
    Account(rtl::ExtractFileName(file) + " line " + std::to_string(line) + ": " + LineOf(all, line));
}

TSearchOutcome TTour::SearchDeclarations(const std::string& unitFile) {
    TSearchOutcome out;
    if (!FIde->OpenFile(unitFile))
        FFaults.push_back("cannot open " + unitFile);
    TRobot robot;
    robot.Key('X', false, true, true);
    robot.OnNextModal([&](win::HWND results) {
        out.Caption = TRobot::TextOf(results);
        Snap("delvo32-results");
    });
    robot.Key(win::VK_NEXT);
    robot.Key(win::VK_RETURN);
    Run(robot);
    FIde->Windows()->Refresh();
    out.File = FIde->CurrentFile();
    if (auto buffer = FIde->CurrentBuffer()) {
        out.Line = buffer->Pos(0).Line;
        out.LineText = LineOf(buffer->Text(), out.Line);
    }
    Snap("delvo32-editor-at-hit");
    Account("Ctrl+Alt+X searched " + rtl::ExtractFileName(unitFile) + "; the last hit put the editor at line " +
            std::to_string(out.Line) + ": " + out.LineText.substr(out.LineText.find_first_not_of(' ') == std::string::npos
                                                                       ? 0
                                                                       : out.LineText.find_first_not_of(' ')));
    return out;
}

TPropertyOutcome TTour::InsertProperty(const std::string& unitFile, const std::string& className,
                                       const std::string& propertyName) {
    TPropertyOutcome out;
    if (!unitFile.empty() && !FIde->OpenFile(unitFile))
        FFaults.push_back("cannot open " + unitFile);
    out.File = FIde->CurrentFile();
    const TBy wizard = TBy::Caption("Property Expert");
    TRobot robot;
    ChooseIdeMenu(robot, "&Tools|Property Expert");
    // The class list holds the unit's classes; the one asked for is picked as from its list.
    robot.OnNextModal([&, className](win::HWND form) {
        out.Caption = TRobot::TextOf(form);
        win::HWND box = TRobot::FindControl(TBy::Name("cbxClass"), form);
        int index = int(win::SendMessage(box, win::CB_FINDSTRINGEXACT, win::WPARAM(-1),
                                         reinterpret_cast<win::LPARAM>(className.c_str())));
        win::SendMessage(box, win::CB_SETCURSEL, win::WPARAM(index), 0);
        win::SendMessage(win::GetParent(box), win::WM_COMMAND,
                         win::MAKEWPARAM(win::GetDlgCtrlID(box), win::CBN_SELCHANGE), reinterpret_cast<win::LPARAM>(box));
    });
    robot.Click(TBy::Name("edtName"), wizard);
    robot.Type(propertyName);
    robot.Click(TBy::Name("cbxDataType"), wizard);
    robot.Type("Boolean");
    robot.Do([this] { Snap("zestor-property-wizard"); });
    robot.Click(TBy::Name("btnNext"), wizard);
    robot.Click(TBy::Name("btnNext"), wizard);
    robot.Click(TBy::Name("btnOK"), wizard);
    Run(robot);
    FIde->Windows()->Refresh();
    if (auto buffer = FIde->CurrentBuffer()) {
        out.UnitText = buffer->Text();
        out.TopLine = buffer->TopLine();
        out.Rows = FIde->Windows()->View().VisibleRows();
    }
    // The code editor shows the inserted text without the user scrolling to it.
    std::size_t at = out.UnitText.find("property " + propertyName + ":");
    if (at != std::string::npos)
        out.PropertyLine = 1 + int(std::count(out.UnitText.begin(), out.UnitText.begin() + std::ptrdiff_t(at), '\n'));
    Snap("zestor-property-inserted");
    Account("Tools|Property Expert inserted the property " + propertyName + " into " + className + " of " +
            rtl::ExtractFileName(out.File) + "; the code editor shows it at row " +
            std::to_string(out.PropertyLine - out.TopLine + 1));
    return out;
}

TSnippetOutcome TTour::InsertSnippet(const std::string& unitFile, int line, int column, const std::string& snippet) {
    TSnippetOutcome out;
    if (!FIde->OpenFile(unitFile))
        FFaults.push_back("cannot open " + unitFile);
    FIde->Windows()->ShowEditor(true);
    FIde->Windows()->Refresh();
    // The user puts the caret there: to the line by keys, to the column by a click.
    const win::HWND view = FIde->Windows()->CodeView();
    {
        TRobot keys;
        keys.Do([view] { win::SetFocus(view); });
        keys.Key(win::VK_HOME, false, true);
        for (int i = 1; i < line; ++i)
            keys.Key(win::VK_DOWN);
        Run(keys);
        for (int i = 0; i < 5; ++i)
            FIde->Windows()->ProcessMessages();
    }
    TRobot robot;
    vcl::TPoint p = FIde->Windows()->View().PointOf({line, column});
    robot.ClickAt(view, {p.x + 1, p.y + 4});
    robot.WaitUntil("the caret at the place", [this, line, column] {
        auto b = FIde->CurrentBuffer();
        return b && b->Cursor() == ide::TTextPos{line, column};
    });
    ChooseIdeMenu(robot, "&Tools|Quick Code Expert");
    const TBy window = TBy::Caption("Quick Code Expert");
    robot.Click(TBy::Name("lstName"), window);
    robot.Do([&, snippet] {
        win::HWND code = TRobot::FindWindow(window);
        out.Caption = TRobot::TextOf(code);
        win::HWND list = TRobot::FindControl(TBy::Name("lstName"), code);
        int index = int(win::SendMessage(list, win::LB_FINDSTRINGEXACT, win::WPARAM(-1),
                                         reinterpret_cast<win::LPARAM>(snippet.c_str())));
        win::SendMessage(list, win::LB_SETCURSEL, win::WPARAM(index), 0);
        win::SendMessage(win::GetParent(list), win::WM_COMMAND,
                         win::MAKEWPARAM(win::GetDlgCtrlID(list), win::LBN_SELCHANGE), reinterpret_cast<win::LPARAM>(list));
        Snap("zestor-quick-code");
    });
    // Insert is the first speed button of the button bar.
    robot.Do([&] {
        win::HWND panel = TRobot::FindControl(TBy::Name("pnlButtons"), TRobot::FindWindow(window));
        robot.ClickAt(panel, {16, 16});
    });
    Run(robot);
    for (int i = 0; i < 5; ++i)
        FIde->Windows()->ProcessMessages();
    FIde->Windows()->Refresh();
    if (auto buffer = FIde->CurrentBuffer())
        out.UnitText = buffer->Text();
    Snap("zestor-snippet-inserted");
    Account("Tools|Quick Code Expert inserted the snippet " + snippet + " at line " + std::to_string(line) +
            " of " + rtl::ExtractFileName(unitFile));
    return out;
}

bool TTour::OpenThroughDialog(const std::string& fileName) {
    TRobot robot;
    ChooseIdeMenu(robot, "&File|&Open...");
    robot.AnswerOpenDialog(fileName);
    Run(robot);
    for (int i = 0; i < 5; ++i)
        FIde->Windows()->ProcessMessages();
    bool opened = rtl::SameText(FIde->CurrentFile(), fileName);
    Snap("ide-file-opened");
    Account("File|Open... opened " + rtl::ExtractFileName(fileName) + " in the code editor");
    return opened;
}

TVorlOutcome TTour::ApplyLibraryConfiguration(const std::string& aliasName) {
    TVorlOutcome out;
    const std::string key = std::string("\\") + libconfig::LibraryKey;
    auto mapFile = [&] {
        rtl::TRegistry reg;
        return reg.OpenKey(key, false) ? reg.ReadString("MapFile") : std::string();
    };
    const std::string before = mapFile();
    const TBy vorl = TBy::Caption(" Vorl");
    // The store lies beside the program, as the vorl program's does.
    fs::create_directories(rtl::HostPath("C:\\VORL"));
    std::unique_ptr<libconfig::TForm1> form(vcl::Make<libconfig::TForm1>(vcl::Application, "C:\\VORL\\vorl.ini"));
    form->Show();
    {
        TRobot robot;
        robot.ChooseMenu(vorl, "&Library|&New");
        robot.Type(aliasName);
        robot.Click(TBy::Name("rbDetailed"), vorl);
        robot.Click(TBy::Name("cbSaveSource"), vorl);
        robot.Do([this] { Snap("vorl-new-configuration"); });
        robot.Click(TBy::Name("btnSave"), vorl);
        robot.ChooseMenu(vorl, "&Library|&Select");
        robot.OnNextModal([&](win::HWND box) {
            out.Refused = TRobot::ChildText(box, "Message");
            Snap("vorl-apply-refused");
        });
        robot.AnswerNextModal(TBy::Name("OK"));
        Run(robot);
    }
    out.KeyKeptWhileRefused = mapFile() == before;
    Account("Vorl made the configuration " + aliasName + " from the IDE's library key; Apply while the IDE runs: " +
            out.Refused);

    FIde->Shutdown();
    {
        TRobot robot;
        robot.ChooseMenu(vorl, "&Library|&Select");
        robot.OnNextModal([&](win::HWND box) {
            out.Applied = TRobot::ChildText(box, "Message");
            Snap("vorl-applied");
        });
        robot.AnswerNextModal(TBy::Name("OK"));
        Run(robot);
    }
    std::string applied = out.Applied;
    for (char& c : applied)
        if (c == '\n' || c == '\r')
            c = ' ';
    Account("the IDE closed; Apply: " + applied + " the IDE's map file level is now " + mapFile());
    return out;
}

} // namespace tour
