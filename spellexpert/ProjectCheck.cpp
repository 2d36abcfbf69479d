#include "spellexpert/ProjectCheck.h"

#include "spellexpert/FormText.h"
#include "spellexpert/IDESpeller.h"
#include "spellexpert/Settings.h"
#include "spellexpert/SyntaxColour.h"
#include "spellexpert/WordFilter.h"

#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace spellexpert {

using namespace vcl;

namespace {

std::vector<std::string> Copy(const rtl::TStrings& List) {
    std::vector<std::string> out;
    for (int i = 0; i < List.Count(); ++i) out.push_back(List.Strings(i));
    return out;
}

} // namespace

void TProjectCheck::SetWindows(TIDESpeller* Speller, TOpenDialog* OpenDialog) {
    FSpeller = Speller;
    FOpenDialog = OpenDialog;
    if (Speller) FUnitList = std::make_unique<rtl::TStringList>();
    else FUnitList.reset();
}

void TProjectCheck::ClearNames() {
    FProjectFile.clear();
    FCurrentFile.clear();
}

void TProjectCheck::ReadIDENames() {
    if (!ToolServices) return;
    FCurrentFile = ToolServices->GetCurrentFile();
    FProjectFile = ToolServices->GetProjectName();
}

void TProjectCheck::EndRun() {
    FIncludeList.reset();
    Screen->SetCursor(crDefault);
    if (!FSpeller) return;
    FSpeller->SpellDlg1->Close();
    FSpeller->Close();
}

bool TProjectCheck::PrepareIDE() {
    FPrepared = false;
    if (!ToolServices) return true;
    FCurrentFile = ToolServices->GetCurrentFile();
    FProjectFile = ToolServices->GetProjectName();
    if (FProjectFile.empty()) {
        MessageDlg(NoProjectMessage, TMsgDlgType::mtError, mbOK | mbHelp, MainHelpContext);
        return false;
    }
    ToolServices->SaveProject();
    FCurrentFile = ToolServices->GetCurrentFile();
    FProjectFile = ToolServices->GetProjectName();
    FSourceFile = FCurrentFile.empty() ? std::string() : rtl::ChangeFileExt(FCurrentFile, ".PAS");
    // Saved while the IDE still holds it: after the close it has nothing to save.
    if (!FCurrentFile.empty()) ToolServices->SaveFile(FCurrentFile);
    ToolServices->CloseProject();
    FPrepared = true;
    return true;
}

bool TProjectCheck::PlaceWindows() {
    const rtl::TIniFile desktop(rtl::ChangeFileExt(FProjectFile, ".DSK"));
    auto place = [&](TControl* Window, const char* Section, int Left, int Top, int Width, int Height) {
        Window->SetBounds(desktop.ReadInteger(Section, "Left", Left), desktop.ReadInteger(Section, "Top", Top),
                          desktop.ReadInteger(Section, "Width", Width),
                          desktop.ReadInteger(Section, "Height", Height));
    };
    place(FSpeller, "EditWindow0", 210, 119, 430, 300);
    FSpeller->Show();
    if (spellengine::TAbsSpellDialog* dialog = FSpeller->SpellDlg1->Dialog())
        place(dialog, "PropertyInspector", 1, 99, 197, 380);
    // The dialog stays up between files, and no file ends with a message of its own.
    FSpeller->SpellDlg1->SetReportResult(false);
    // Open says why it failed; checking on would only say it again for every file.
    return FSpeller->SpellDlg1->Open();
}

void TProjectCheck::CheckFiles(int Mode, bool WholeProject) {
    FCheckMode = Mode;
    FIncludeList = std::make_unique<rtl::TStringList>();
    FUnitList->Clear();
    FNotChecked = 0;
    FSourceFile = FCurrentFile.empty() ? std::string() : rtl::ChangeFileExt(FCurrentFile, ".PAS");
    const bool strings = FCheckMode == TMyBuffer::fmStrings;
    // A file's include files, then (strings only) its form. The include list is copied: checking
    // an include file clears it.
    auto checkFollowers = [&](const std::string& Source) {
        const std::vector<std::string> includes = Copy(*FIncludeList);
        for (const std::string& include : includes)
            if (CheckFile(include) == TFileCheck::fcCancelled) return TFileCheck::fcCancelled;
        const std::string form = rtl::ChangeFileExt(Source, ".DFM");
        if (strings && !IsFormFile(Source) && rtl::FileExists(form)) return CheckFile(form);
        return TFileCheck::fcDone;
    };
    TFileCheck result = TFileCheck::fcDone;
    if (WholeProject) {
        result = CheckFile(FProjectFile);
        const std::vector<std::string> units = Copy(*FUnitList);
        for (std::size_t i = 0; result != TFileCheck::fcCancelled && i < units.size(); ++i) {
            result = CheckFile(units[i]);
            if (result != TFileCheck::fcCancelled) result = checkFollowers(units[i]);
        }
    } else {
        if (!FSourceFile.empty() && !rtl::FileExists(FSourceFile)) FSourceFile = FCurrentFile;
        result = CheckFile(FSourceFile);
        if (result != TFileCheck::fcCancelled) result = checkFollowers(FSourceFile);
    }
    FIncludeList.reset();
    if (result == TFileCheck::fcCancelled) return;
    // A file that could not be checked leaves the check unfinished, and the user is told so.
    if (FNotChecked == 0) MessageDlg(CompleteMessage, TMsgDlgType::mtInformation, mbOK, 0);
    else MessageDlg(NotCompleteMessage(FNotChecked), TMsgDlgType::mtWarning, mbOK, 0);
}

TFileCheck TProjectCheck::SkipFile(const std::string& Message) {
    ++FNotChecked;
    MessageDlg(Message, TMsgDlgType::mtError, mbOK, 0);
    return TFileCheck::fcDone;
}

TFileCheck TProjectCheck::CheckFile(const std::string& Name) {
    FIncludeList->Clear();
    std::string fileName = Name;
    if (!LocateFile(fileName)) return TFileCheck::fcDone;
    auto notChecked = [&](const rtl::Exception& e) {
        Screen->SetCursor(crDefault);
        return SkipFile(std::string(e.what()) + "\r" + fileName + " was not checked.");
    };
    // A file that could not be written back is not offered word by word: no answer would be
    // saved. A source is still read for the include files it names, which are checked.
    const bool form = IsFormFile(fileName);
    std::optional<rtl::EFCreateError> refused;
    try {
        rtl::CheckFileWritable(fileName);
    } catch (const rtl::EFCreateError& e) {
        if (form) return notChecked(e);
        refused = e;
    }
    // A form is checked through its text copy; one that cannot be is skipped (it has said why).
    std::string textName = fileName;
    if (form && !MakeFormText(fileName, textName)) {
        ++FNotChecked;
        return TFileCheck::fcDone;
    }
    if (!refused && Settings().Backup && !BackupFile(fileName))
        return SkipFile(fileName + " could not be backed up and was not checked.");
    Screen->SetCursor(crHourGlass);
    // A file that cannot be loaded whole is not checked, so it is never written back in part.
    try {
        FSpeller->LoadFile(textName);
    } catch (const rtl::Exception& e) {
        return notChecked(e);
    }
    FSpeller->ShowFileInEditor(fileName);
    if (!form) {
        if (rtl::UpperCase(rtl::ExtractFileExt(fileName)) == ".DPR") CollectProjectUnits(fileName);
        CollectIncludeFiles(fileName);
    }
    Screen->SetCursor(crDefault);
    if (refused) return notChecked(*refused);

    std::unique_ptr<TMyBuffer> buffer = TMyBuffer::NewOnEditor(FSpeller->Editor1);
    buffer->SetMode(static_cast<std::uint8_t>(FCheckMode));
    if (FSpeller->SpellDlg1->CheckBuffer(*buffer) == spellengine::scCancelled) return TFileCheck::fcCancelled;
    if (FSpeller->Editor1->GetModified()) {
        FSpeller->Editor1->SaveToFile(textName);
        if (form) WriteFormBack(fileName, textName);
    }
    return TFileCheck::fcDone;
}

bool TProjectCheck::LocateFile(std::string& FileName) {
    if (!FileName.empty() && rtl::FileExists(FileName)) return true;
    if (!FileName.empty()) {
        if (MessageDlg(FileName + " not found... Ignore file?", TMsgDlgType::mtError, mbYes | mbNo, 0) == mrYes)
            return false;
        FOpenDialog->SetTitle("Open " + FileName);
        FOpenDialog->SetInitialDir(rtl::ExtractFilePath(FileName));
        FOpenDialog->SetFileName("*" + rtl::ExtractFileExt(FileName));
    } else {
        FOpenDialog->SetFileName("*.pas");
    }
    if (!FOpenDialog->Execute()) return false;
    FileName = FOpenDialog->FileName();
    return true;
}

void TProjectCheck::CollectProjectUnits(const std::string& FileName) {
    const std::string folder = rtl::ExtractFilePath(FileName);
    editor::TZelTextFileEditor* lines = FSpeller->Editor1;
    for (std::int32_t n = 1; n <= lines->ParaCount(); ++n) {
        const std::string line(lines->GetPara(n));
        const TSyntaxStr* entry = SyntaxList ? SyntaxList->Entry(n) : nullptr;
        const std::string name = ProjectUnitOf(line, entry ? std::string_view(entry->Attributes) : "", folder);
        if (!name.empty()) FUnitList->Add(name);
        if (line.substr(0, 255) == "begin") break;
    }
}

void TProjectCheck::CollectIncludeFiles(const std::string& FileName) {
    TStatusPanel* panel = FSpeller->Status->Panels()->Items(2);
    const std::string kept = panel->Text();
    panel->SetText("Scanning for Include Files...");
    const std::string folder = rtl::ExtractFilePath(FileName);
    editor::TZelTextFileEditor* lines = FSpeller->Editor1;
    for (std::int32_t n = 1; n <= lines->ParaCount(); ++n) {
        const std::string name = IncludeFileOf(std::string(lines->GetPara(n)), folder);
        if (!name.empty()) FIncludeList->Add(name);
    }
    panel->SetText(kept);
}

void TProjectCheck::RestoreIDE() {
    if (!ToolServices || !FPrepared) return;
    FPrepared = false;
    if (!FProjectFile.empty()) ToolServices->OpenProject(FProjectFile);
    if (!FCurrentFile.empty()) {
        if (IsFormFile(FCurrentFile)) {
            if (!FSourceFile.empty()) ToolServices->OpenFile(FSourceFile);
        } else {
            ToolServices->OpenFile(FCurrentFile);
        }
    }
}

std::string NotCompleteMessage(int Count) {
    return "Quillo Checking did not complete: " + std::to_string(Count) +
           (Count == 1 ? " file was not checked." : " files were not checked.");
}

std::string BackupName(const std::string& FileName) {
    const std::string whole = rtl::ExtractFileExt(FileName);
    std::string ext = whole.substr(0, 4);
    // Without an extension the "~" stands alone at the name's end (DEFS gives DEFS~), so the
    // backup is never the file itself.
    ext.insert(std::min<std::size_t>(1, ext.size()), "~");
    return FileName.substr(0, FileName.size() - whole.size()) + ext.substr(0, 4);
}

bool BackupFile(const std::string& FileName) { return rtl::CopyFile(FileName, BackupName(FileName), false); }

std::string IncludeFileOf(const std::string& Line, const std::string& Folder) {
    std::string line = Line.substr(0, 255);
    std::string upper = rtl::UpperCase(line);
    std::size_t start = std::string::npos;
    for (const char* directive : {"{$I ", "{$INCLUDE "}) {
        std::size_t at = upper.find(directive);
        if (at != std::string::npos && at < start) start = at + std::string(directive).size();
    }
    if (start == std::string::npos) return {};
    std::size_t end = line.find('}', start);
    std::string name;
    for (std::size_t i = start; i < line.size() && i < end; ++i)
        if (line[i] != ' ') name += line[i];
    if (name.empty()) return {};
    // A relative name, with a folder or without, lies under the unit's folder; only a name from
    // a drive or a root stands alone.
    const bool absolute = name.find(':') != std::string::npos || name[0] == '\\' || name[0] == '/';
    return absolute ? name : Folder + name;
}

std::string ProjectUnitOf(const std::string& Line, std::string_view Attrs, const std::string& Folder) {
    std::string line = Line.substr(0, 255);
    std::size_t quote = line.find('\'');
    if (quote == std::string::npos) return {};
    // A quote inside a comment names nothing.
    if (!Attrs.empty() && (quote + 1 >= Attrs.size() || Attrs[quote + 1] != 's')) return {};
    std::size_t close = line.find('\'', quote + 1);
    if (close == std::string::npos) return {};
    std::string name = line.substr(quote + 1, close - quote - 1);
    if (name.empty()) return {};
    // A bare name is the project folder's file first: one of that name in whatever folder is
    // current is not the project's.
    if (name.find_first_of("\\/:") == std::string::npos && (rtl::FileExists(Folder + name) || !rtl::FileExists(name)))
        name = Folder + name;
    return name;
}

} // namespace spellexpert
