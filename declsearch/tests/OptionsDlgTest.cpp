#include "declsearch/OptionsDlg.h"

#include "declsearch/About.h"
#include "declsearch/Results.h"

#include "testing/UiTest.h"

#include "rtl/Paths.h"
#include "rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

using namespace declsearch;
using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class OptionsDlgTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Store = OpenOptionsStore();
        OptionsIni = Store.get();
        PutHelpFile("C:\\DELPHI\\DELVO.HLP");
        Application->SetHelpFile("C:\\DELPHI\\DELVO.HLP");
        for (const char* name : {"Main.pas", "Unit1.pas", "Data.pas", "Notes.txt"}) MakeFile("proj", name);
        MakeFile("other", "Extra.pas");
        MakeFile("other", "A.pas");
    }
    void TearDown() override {
        delete OptionsDlg;
        OptionsIni = nullptr;
        Store.reset();
        UiTest::TearDown();
    }
    void MakeFile(const std::string& Folder, const std::string& Name) {
        std::filesystem::path dir = std::filesystem::path(Root.Path()) / "drive_c" / Folder;
        std::filesystem::create_directories(dir);
        std::ofstream(dir / Name) << "unit x;\r\n";
    }
    TOptionsDlg* Make(const std::string& Current = "C:\\proj\\main.pas") {
        OptionsDlg = vcl::Make<TOptionsDlg>(Application);
        OptionsDlg->CurrentFile = Current;
        return OptionsDlg;
    }
    // Shows the window without a modal loop, as FormShow leaves it.
    TOptionsDlg* Shown(const std::string& Current = "C:\\proj\\main.pas") {
        TOptionsDlg* d = Make(Current);
        d->Show();
        Pump();
        return d;
    }
    void Pump() {
        for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    }
    void Write(const std::string& Section, const std::string& Ident, const std::string& Value) {
        Store->WriteString(Section, Ident, Value);
    }
    std::string Read(const std::string& Section, const std::string& Ident) {
        return Store->ReadString(Section, Ident, "<none>");
    }
    static std::string Items(rtl::TStrings* List) {
        std::string out;
        for (int i = 0; i < List->Count(); ++i) out += (i ? "," : "") + List->Get(i);
        return out;
    }
    static std::string CheckedItems(TKwCheckList* List) {
        std::string out;
        for (int i = 0; i < List->Items()->Count(); ++i)
            if (List->IsItemChecked(i)) out += (out.empty() ? "" : ",") + List->Items()->Get(i);
        return out;
    }
    std::unique_ptr<TKwRegIniFile> Store;
};

} // namespace

TEST_F(OptionsDlgTest, EveryControlShowsItsStoredValueAndOkStoresItBack) {
    struct TCase {
        const char* Section;
        const char* Ident;
        const char* Stored;
        std::function<std::string(TOptionsDlg*)> Shown;
    };
    auto box = [](TCheckBox* TOptionsDlg::*b) {
        return [b](TOptionsDlg* d) { return std::string((d->*b)->Checked() ? "1" : "0"); };
    };
    const TCase cases[] = {
        {"Options Last", "Function", "0", box(&TOptionsDlg::cbFunction)},
        {"Options Last", "Procedure", "1", box(&TOptionsDlg::cbProcedure)},
        {"Options Last", "Interface", "0", box(&TOptionsDlg::cbInterface)},
        {"Options Last", "Implementation", "1", box(&TOptionsDlg::cbImplementation)},
        {"Options Last", "Class", "1", box(&TOptionsDlg::cbClass)},
        {"Options Last", "Constructor", "1", box(&TOptionsDlg::cbConstructor)},
        {"Options Last", "Destructor", "1", box(&TOptionsDlg::cbDestructor)},
        {"Options Last", "Field", "1", box(&TOptionsDlg::cbField)},
        {"Options Last", "Class Function", "1", box(&TOptionsDlg::cbClassFunction)},
        {"Options Last", "Class Procedure", "1", box(&TOptionsDlg::cbClassProcedure)},
        {"Options Last", "Property", "1", box(&TOptionsDlg::cbProperty)},
        {"Options Last", "Case Sensitive", "1", box(&TOptionsDlg::cbCase)},
        {"Options Last", "Word Search", "1", box(&TOptionsDlg::cbWord)},
        {"Options Last", "Given Class", "1", [](TOptionsDlg* d) { return std::string(d->cbGivenClass->Checked() ? "1" : "0"); }},
        {"Options Last", "Class Name", "TForm1", [](TOptionsDlg* d) { return d->cbClassName->Text(); }},
        {"Options Last", "Search Text", "Caption", [](TOptionsDlg* d) { return d->cbSearch->Text(); }},
        {"Files", "Option", "3", [](TOptionsDlg* d) { return std::to_string(d->rgFiles->ItemIndex() + 1); }},
        {"User Defined", "Path", "c:\\proj\\*.pas", [](TOptionsDlg* d) { return d->ebName->Text(); }},
        {"User Defined", "File0", "data.pas", [](TOptionsDlg* d) { return CheckedItems(d->lbFile); }},
        {"Interface", "Font Name", "Courier", [](TOptionsDlg* d) { return d->cbFontName->Text(); }},
        {"Interface", "Font Size", "11", [](TOptionsDlg* d) { return d->cbFontSize->Text(); }},
        {"Interface", "Color Index", "4", [](TOptionsDlg* d) { return std::to_string(d->ColorGrid->ForegroundIndex()); }},
        {"Interface", "Comment", "1", box(&TOptionsDlg::cbComment)},
        {"Interface", "Indent", "1", box(&TOptionsDlg::cbIndentation)},
    };
    for (const TCase& c : cases) Write(c.Section, c.Ident, c.Stored);

    TOptionsDlg* d = Make();
    TRobot robot;
    robot.Do([&] {
        for (std::size_t i = 0; i < std::size(cases); ++i)
            EXPECT_EQ(cases[i].Shown(d), cases[i].Stored) << "case " << i << ": " << cases[i].Ident;
        EXPECT_TRUE(d->OKBtn->Enabled());
        EXPECT_TRUE(d->cbClassName->Enabled());
    });
    robot.Click(TBy::Name("OKBtn"));
    d->ShowModal();
    EXPECT_EQ(d->NextAction, 1);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(Read(cases[i].Section, cases[i].Ident), cases[i].Stored) << "case " << i << ": " << cases[i].Ident;
    EXPECT_EQ(Read("Interface", "Color"), std::to_string(int(TColorGrid::ColorOf(4))));
    EXPECT_EQ(Read("User Defined", "File1"), "<none>");
    // Hidden after its modal showing, the window leaves its place behind.
    EXPECT_EQ(Read("Options Coords", "Left"), std::to_string(d->Left()));
    EXPECT_EQ(Read("Options Coords", "Top"), std::to_string(d->Top()));

    // The window is freed once the loop runs again; the outcome was read before.
    Pump();
    EXPECT_EQ(OptionsDlg, nullptr);
}

TEST_F(OptionsDlgTest, FirstShowingDefaultsSavedDefaultsClearAllAndCancel) {
    TOptionsDlg* d = Shown();
    for (TCheckBox* b : {d->cbFunction, d->cbProcedure, d->cbInterface, d->cbImplementation, d->cbComment, d->cbIndentation})
        EXPECT_FALSE(b->Checked()) << b->Name();
    EXPECT_FALSE(d->OKBtn->Enabled());
    EXPECT_FALSE(d->cbClassName->Enabled());
    EXPECT_EQ(d->cbClassName->Color(), clBtnFace);
    EXPECT_EQ(d->rgFiles->ItemIndex(), 0);
    EXPECT_EQ(d->ColorGrid->ForegroundIndex(), 9);

    // "Options Default" that was never saved has the four switches on.
    d->DefaultBtn->Click();
    EXPECT_TRUE(d->cbFunction->Checked() && d->cbProcedure->Checked() && d->cbInterface->Checked() &&
                d->cbImplementation->Checked());
    EXPECT_TRUE(d->OKBtn->Enabled());

    // Implementation off and a text instead of an entity still makes a search.
    d->cbFunction->SetChecked(false);
    d->cbProcedure->SetChecked(false);
    EXPECT_FALSE(d->OKBtn->Enabled());
    TRobot robot;
    robot.ClickAt(d->cbSearch->Handle(), win::POINT{20, 8});
    robot.Type("Caption");
    ASSERT_TRUE(testing_support::PlayOut(robot, 100, 0)) << robot.Describe();
    EXPECT_EQ(d->cbSearch->Text(), "Caption");
    EXPECT_TRUE(d->OKBtn->Enabled());
    d->cbProperty->SetChecked(true);
    d->SaveBtn->Click();
    EXPECT_EQ(Read("Options Default", "Property"), "1");
    EXPECT_EQ(Read("Options Default", "Function"), "0");
    EXPECT_EQ(Read("Options Default", "Search Text"), "Caption");

    d->ClearAllBtn->Click();
    EXPECT_FALSE(d->cbProperty->Checked());
    EXPECT_FALSE(d->cbInterface->Checked());
    EXPECT_EQ(d->cbSearch->Text(), "");
    EXPECT_FALSE(d->OKBtn->Enabled());
    d->DefaultBtn->Click();
    EXPECT_TRUE(d->cbProperty->Checked());
    EXPECT_FALSE(d->cbFunction->Checked());
    EXPECT_EQ(d->cbSearch->Text(), "Caption");

    d->CancelBtn->Click();
    EXPECT_EQ(d->NextAction, 0);
    EXPECT_EQ(Read("Options Last", "Property"), "<none>");
    Pump();
    EXPECT_EQ(OptionsDlg, nullptr);
}

TEST_F(OptionsDlgTest, TheClassNameFollowsGivenClassAndThePlaceIsKept) {
    Write("Options Coords", "Left", "33");
    Write("Options Coords", "Top", "44");
    Write("Options Last", "Given Class", "0");
    Write("Options Last", "Class Name", "TStale");
    TOptionsDlg* d = Shown();
    EXPECT_EQ(d->Left(), 33);
    EXPECT_EQ(d->Top(), 44);
    EXPECT_EQ(d->cbClassName->Text(), "");

    TRobot robot;
    robot.ClickAt(d->cbGivenClass->Handle(), win::POINT{5, 8});
    robot.Do([&] {
        EXPECT_TRUE(d->cbGivenClass->Checked());
        EXPECT_TRUE(d->cbClassName->Enabled());
        EXPECT_EQ(d->cbClassName->Color(), clWindow);
        d->cbClassName->SetText("TMine");
    });
    robot.ClickAt(d->cbGivenClass->Handle(), win::POINT{5, 8});
    testing_support::PlayOut(robot, 50, 0);
    EXPECT_FALSE(d->cbClassName->Enabled());
    d->cbInterface->SetChecked(true);
    d->cbFunction->SetChecked(true);
    d->OKBtn->Click();
    EXPECT_EQ(Read("Options Last", "Class Name"), "");
    EXPECT_EQ(Read("Options Last", "Given Class"), "0");
}

TEST_F(OptionsDlgTest, HistoriesKeepTheirOrderTenEntriesAndLeaveTheCurrentTextOut) {
    Write("Options Last", "Search Text", "beta");
    for (int i = 0; i < 12; ++i) Write("Search Text", "Search" + std::to_string(i), "text" + std::to_string(i));
    Write("Search Text", "Search3", "");
    Write("Class Name", "Class0", "TOne");
    Write("Class Name", "Class1", std::string(70, 'C'));
    Write("Options Last", "Given Class", "1");
    Write("Options Last", "Class Name", "TCur");
    TOptionsDlg* d = Shown();
    // The loop stops at the first empty value; the current text leads.
    EXPECT_EQ(Items(d->cbSearch->Items()), "beta,text0,text1,text2");
    EXPECT_EQ(Items(d->cbClassName->Items()), "TCur,TOne," + std::string(64, 'C'));
    EXPECT_EQ(d->cbSearch->Text(), "beta");

    for (int i = 3; i < 12; ++i) d->cbSearch->Items()->Add("more" + std::to_string(i));
    d->cbSearch->Items()->Add("BETA");
    d->cbSearch->SetText("Beta");
    d->cbInterface->SetChecked(true);
    d->OKBtn->Click();
    const char* expected[] = {"text0", "text1", "text2", "more3", "more4", "more5", "more6", "more7", "more8", "more9"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Read("Search Text", "Search" + std::to_string(i)), expected[i]) << i;
    EXPECT_EQ(Read("Search Text", "Search10"), "<none>");
    EXPECT_EQ(Read("Search Text", "Search11"), "<none>");
    EXPECT_EQ(Read("Class Name", "Class0"), "TOne");
    EXPECT_EQ(Read("Options Last", "Search Text"), "Beta");
}

TEST_F(OptionsDlgTest, TheScopePageListsFilesByMaskFolderAndDrive) {
    TOptionsDlg* d = Shown();
    d->PageControl1->SetActivePage(d->tsFiles);
    Pump();
    // Current File: only its name, every location control greyed.
    EXPECT_EQ(Items(d->lbFile->Items()), "main.pas");
    EXPECT_FALSE(d->ebName->Enabled() || d->lbDir->Enabled() || d->cbDrive->Enabled() || d->lbFile->Enabled());
    EXPECT_EQ(d->lbFile->Color(), clBtnFace);
    win::UpdateWindow(d->lbFile->Handle());
    TRobot::Screenshot(SUITE_BINARY_DIR "/delvo-options-files-current.png", d->Handle());

    d->ProjectUnits()->Add("C:\\proj\\MAIN.PAS");
    d->ProjectUnits()->Add("C:\\proj\\unit1.pas");
    d->ProjectUnits()->Add("C:\\proj\\sub\\DATA.PAS");
    // "a.pas" lies inside "DATA.PAS", but is not a unit of the project.
    d->ProjectUnits()->Add("C:\\other\\Extra.pas");
    d->rgFiles->SetItemIndex(2);
    EXPECT_EQ(d->ebName->Text(), "c:\\proj\\*.pas");
    EXPECT_EQ(Items(d->lbFile->Items()), "data.pas,main.pas,unit1.pas");
    EXPECT_EQ(CheckedItems(d->lbFile), "data.pas,main.pas,unit1.pas");
    EXPECT_TRUE(d->ebName->Enabled() && d->lbDir->Enabled() && d->cbDrive->Enabled() && d->lbFile->Enabled());
    EXPECT_EQ(rtl::CompareText(d->lbDir->Directory(), "C:\\proj"), 0) << d->lbDir->Directory();

    d->ebName->SetText("c:\\other\\*.*");
    EXPECT_EQ(Items(d->lbFile->Items()), "a.pas,extra.pas");
    d->rgFiles->SetItemIndex(1);
    EXPECT_EQ(d->ebName->Text(), "c:\\proj\\*.*");
    EXPECT_FALSE(d->ebName->Enabled());
    EXPECT_TRUE(d->lbFile->Enabled());
    d->ebName->SetText("c:\\other\\*.*");
    EXPECT_EQ(Items(d->lbFile->Items()), "extra.pas");

    d->rgFiles->SetItemIndex(2);
    // A folder that does not exist gives way to the folder list's folder.
    d->ebName->SetText("c:\\nowhere\\*.txt");
    EXPECT_EQ(d->ebName->Text(), "c:\\proj\\*.txt");
    EXPECT_EQ(Items(d->lbFile->Items()), "notes.txt");
    // A new folder in the list keeps the mask.
    d->lbDir->SetDirectory("C:\\other");
    EXPECT_EQ(rtl::CompareText(d->ebName->Text(), "c:\\other\\*.txt"), 0) << d->ebName->Text();
    EXPECT_EQ(Items(d->lbFile->Items()), "");
    d->cbDrive->SetDrive('Z');
    EXPECT_EQ(d->lbDir->Drive(), 'Z');
    EXPECT_EQ(d->ebName->Text().substr(0, 2), "z:");
}

TEST_F(OptionsDlgTest, StoredFileChoicesSurviveTheRebuildAndNoneCheckedSearchesNothing) {
    std::string longPath = "c:\\proj\\" + std::string(100, 'x') + "\\..\\*.pas";
    Write("Files", "Option", "3");
    Write("User Defined", "Path", "c:\\proj\\*.pas");
    Write("User Defined", "File0", "UNIT1.PAS");
    Write("User Defined", "File1", "main.pas");
    TOptionsDlg* d = Shown();
    d->PageControl1->SetActivePage(d->tsFiles);
    Pump();
    EXPECT_EQ(CheckedItems(d->lbFile), "main.pas,unit1.pas");

    // The pop-up menu of the list.
    TRobot robot;
    robot.ClickAt(d->lbFile->Handle(), win::POINT{40, 120}, win::WM_RBUTTONDOWN);
    robot.ChooseMenu("&Toggle All");
    ASSERT_TRUE(testing_support::PlayOut(robot, 50, 0)) << robot.Describe();
    EXPECT_EQ(CheckedItems(d->lbFile), "data.pas");
    d->miSelectAll->Click();
    EXPECT_EQ(CheckedItems(d->lbFile), "data.pas,main.pas,unit1.pas");
    d->ebName->SetText(longPath);
    EXPECT_EQ(d->ebName->Text(), longPath);
    d->miClearAll->Click();
    EXPECT_EQ(CheckedItems(d->lbFile), "");
    d->cbFunction->SetChecked(true);
    d->cbInterface->SetChecked(true);
    d->OKBtn->Click();
    EXPECT_EQ(Read("User Defined", "Path"), longPath);
    EXPECT_EQ(Read("User Defined", "File0"), "<none>");
    TResultsModel model;
    EXPECT_TRUE(model.SearchFiles(*Store).empty());
    Pump();

    // The whole path comes back, and with every file checked the scope decides again.
    d = Shown();
    EXPECT_EQ(d->ebName->Text(), longPath);
    EXPECT_EQ(CheckedItems(d->lbFile), "");
    d->miSelectAll->Click();
    d->OKBtn->Click();
    EXPECT_EQ(Read("User Defined", "No File"), "<none>");
    EXPECT_EQ(model.SearchFiles(*Store).size(), 3u);
}

TEST_F(OptionsDlgTest, ThePreviewShowsTheChosenFontSizeAndColour) {
    Write("Interface", "Font Name", "Courier New");
    Write("Interface", "Font Size", "14");
    TOptionsDlg* d = Shown();
    d->PageControl1->SetActivePage(d->tsDisplay);
    Pump();
    EXPECT_EQ(d->pnlPreview->Caption(), "Courier New");
    EXPECT_EQ(d->pnlPreview->Font()->Size(), 14);
    EXPECT_EQ(d->pnlPreview->Font()->Color(), TColorGrid::ColorOf(9));
    auto count = [&](TColor colour) {
        win::UpdateWindow(d->pnlPreview->Handle());
        win::HDC dc = win::GetDC(d->pnlPreview->Handle());
        int n = 0;
        for (int y = 0; y < d->pnlPreview->Height(); ++y)
            for (int x = 0; x < d->pnlPreview->Width(); ++x)
                if (TColor(win::GetPixel(dc, x, y)) == TColor(ColorToRGB(colour))) ++n;
        win::ReleaseDC(d->pnlPreview->Handle(), dc);
        return n;
    };
    EXPECT_GT(count(clRed), 40);
    TRobot::Screenshot(SUITE_BINARY_DIR "/delvo-options-display.png", d->Handle());

    // A click on the blue cell (8 by 2: the second row's fifth) recolours the text.
    TRobot robot;
    int cellW = d->ColorGrid->Width() / 8, cellH = d->ColorGrid->Height() / 2;
    robot.ClickAt(d->ColorGrid->Handle(), win::POINT{4 * cellW + cellW / 2, cellH + cellH / 2});
    testing_support::PlayOut(robot, 50, 0);
    EXPECT_EQ(d->ColorGrid->ForegroundIndex(), 12);
    EXPECT_EQ(count(clRed), 0);
    EXPECT_GT(count(clBlue), 40);

    d->cbFontSize->SetText("");
    EXPECT_EQ(d->pnlPreview->Font()->Size(), 14);
    d->cbFontSize->SetText("big");
    EXPECT_THROW(d->cbFontNameChange(d->cbFontSize), rtl::EConvertError);

    // Stored that way, the size gives way to the IDE's.
    d->Close();
    Pump();
    Write("Interface", "Font Size", "big");
    d = Shown();
    EXPECT_EQ(d->cbFontSize->Text(), "10");
    EXPECT_EQ(d->pnlPreview->Font()->Size(), 10);
}

TEST_F(OptionsDlgTest, PagesHelpAndTheAboutBox) {
    TOptionsDlg* d = Make();
    TRobot robot;
    robot.Do([&] {
        EXPECT_EQ(d->Caption(), "Delvo + Options");
        TRobot::Screenshot(SUITE_BINARY_DIR "/delvo-options-search.png", d->Handle());
    });
    robot.Click(TBy::Name("HelpBtn"));
    robot.Do([&] {
        ASSERT_FALSE(RecordedHelpCalls().empty());
        EXPECT_EQ(RecordedHelpCalls().back().Command, HELP_CONTEXT);
        EXPECT_EQ(RecordedHelpCalls().back().Data, 3u);
        d->PageControl1->SetActivePage(d->tsFiles);
        d->rgFiles->SetItemIndex(2);
        TRobot::Screenshot(SUITE_BINARY_DIR "/delvo-options-files.png", d->Handle());
    });
    robot.Click(TBy::Name("ebName"));
    robot.Key(win::VK_F1);
    robot.Do([&] {
        EXPECT_EQ(d->ActiveControl(), d->ebName);
        EXPECT_EQ(RecordedHelpCalls().back().Data, 23u);
    });
    robot.Click(TBy::Name("AboutBtn"));
    int offset = 0;
    robot.Do([&] {
        ASSERT_NE(AboutDlg, nullptr);
        EXPECT_EQ(TRobot::ModalWindow(), AboutDlg->Handle());
        EXPECT_EQ(AboutDlg->Caption(), "About Delvo32 2.0 ...");
        EXPECT_EQ(AboutDlg->FileVersion->Caption(), "2.0.1");
        offset = AboutDlg->Credits1->ScrollOffset();
    });
    robot.Wait(500);
    robot.Do([&] {
        Application->ProcessMessages();
        EXPECT_LT(AboutDlg->Credits1->ScrollOffset(), offset);
    });
    robot.Click(TBy::Caption("OK"), TBy::Caption("About Delvo32 2.0 ..."));
    robot.Click(TBy::Name("CancelBtn"));
    d->ShowModal();
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(d->NextAction, 0);
    EXPECT_EQ(AboutDlg, nullptr);
}
