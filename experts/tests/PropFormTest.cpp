// The Property Expert's wizard over a copy of the demo project, each inserted property compiled
// with fpc.
#include "experts/PropForm.h"

#include "experts/Library.h"
#include "ide/Ide.h"
#include "ide/tests/IdeFixture.h"
#include "ide/tests/IdeUiFixture.h"
#include "rtl/Registry.h"
#include "testing/UiTest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace experts {
namespace {

namespace fs = std::filesystem;
using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

const std::string kMain = "C:\\PROJECTS\\Demo\\Main.pas";

class PropFormTest : public ide_test::IdeUiTest {
protected:
    void SetUp() override {
        IdeUiTest::SetUp();
        ToolServices = Ide->ToolServices();
        ASSERT_TRUE(ToolServices->OpenProject("C:\\PROJECTS\\Demo\\Demo.dpr"));
        ASSERT_TRUE(ToolServices->OpenFile(kMain));
        Form = Make<TfrmProperties>(Application);
    }
    void TearDown() override {
        delete Form;
        ToolServices = nullptr;
        IdeUiTest::TearDown();
    }

    // Runs the action while the robot reads and closes every message box it raises.
    std::vector<std::string> Messages(int Count, const std::function<void()>& Action) {
        TRobot robot;
        std::vector<std::string> texts;
        for (int i = 0; i < Count; ++i) {
            robot.OnNextModal([&](win::HWND box) { texts.push_back(TRobot::ChildText(box, "Message")); });
            robot.AnswerNextModal(TBy::Name("OK"));
        }
        try {
            Action();
        } catch (const rtl::EAbort&) {
        }
        EXPECT_TRUE(testing_support::PlayOut(robot, 100, 0)) << robot.Describe();
        return texts;
    }

public:
    void Name(const std::string& Text) {
        Form->edtName->SetText(Text);
        Form->edtNameExit(Form->edtName);
    }
    void Choose(TComboBox* Box, const std::string& Text) {
        Box->SetItemIndex(Box->Items()->IndexOf(Text));
        if (Box->OnExit) Box->OnExit(Box);
    }

protected:
    // Fpc compiles the current text of Main.pas beside the demo's other units, with the example's
    // stand-ins for the class library's units.
    bool Compiles(std::string& Log) {
        const fs::path dir = fs::path(Root.Path()) / "fpc";
        fs::create_directories(dir);
        fs::copy(fs::path(SUITE_SOURCE_DIR) / "examples" / "Demo", dir,
                 fs::copy_options::overwrite_existing | fs::copy_options::recursive);
        fs::copy_file(dir / "Main.dfm", dir / "Main.DFM", fs::copy_options::overwrite_existing);
        fs::copy(fs::path(SUITE_SOURCE_DIR) / "examples" / "stubs", dir,
                 fs::copy_options::overwrite_existing | fs::copy_options::recursive);
        std::ofstream(dir / "Main.pas", std::ios::binary) << Ide->CurrentBuffer()->Text();
        std::string cmd = "cd '" + dir.string() + "' && fpc -Mdelphi -vw Main.pas >fpc.log 2>&1";
        int rc = std::system(cmd.c_str());
        std::ifstream log(dir / "fpc.log");
        Log.assign(std::istreambuf_iterator<char>(log), {});
        return rc == 0;
    }
    TfrmProperties* Form = nullptr;
};

struct TKind {
    const char* What;
    std::function<void(PropFormTest&, TfrmProperties*)> Property, Storage, Other;
    const char* Line; // the property line the unit then holds
};

TEST_F(PropFormTest, EachKindOfPropertyIsInsertedAndCompiles) {
    if (std::system("command -v fpc >/dev/null 2>&1") != 0) GTEST_SKIP() << "fpc not installed";
    auto none = [](PropFormTest&, TfrmProperties*) {};
    const TKind kinds[] = {
        {"data fields, published", [](PropFormTest& t, TfrmProperties* f) {
             t.Name("Size");
             f->cbxDataType->SetText("Integer");
         }, none, none, "    property Size: Integer read FSize write FSize;"},
        {"read and write methods, public, protected virtual", [](PropFormTest& t, TfrmProperties* f) {
             t.Name("Title");
             f->cbxDataType->SetText("string");
             t.Choose(f->cbxVisibility, "public");
         }, [](PropFormTest& t, TfrmProperties* f) {
             f->optReadMethod->SetChecked(true);
             f->optWriteMethod->SetChecked(true);
             t.Choose(f->cbxMethodVisibility, "protected");
             t.Choose(f->cbxOverride, "virtual");
         }, none, "    property Title: string read GetTitle write SetTitle;"},
        {"private with protected methods", [](PropFormTest& t, TfrmProperties* f) {
             t.Name("Hidden");
             f->cbxDataType->SetText("Byte");
             t.Choose(f->cbxVisibility, "private");
         }, [](PropFormTest& t, TfrmProperties* f) {
             f->optReadMethod->SetChecked(true);
             t.Choose(f->cbxMethodVisibility, "protected");
         }, none, "    property Hidden: Byte read GetHidden write FHidden;"},
        {"read only, default, stored", [](PropFormTest& t, TfrmProperties* f) {
             t.Name("Active");
             f->cbxDataType->SetText("Boolean");
         }, [](PropFormTest&, TfrmProperties* f) { f->optWriteNone->SetChecked(true); },
         [](PropFormTest&, TfrmProperties* f) {
             f->chkDefault->SetChecked(true);
             f->edtDefault->SetText("True");
             f->chkStorage->SetChecked(true);
             f->edtStorage->SetText("True");
         }, "    property Active: Boolean read FActive stored True default True;"},
        {"index with methods, enumerated type", [](PropFormTest& t, TfrmProperties* f) {
             t.Name("Side");
             f->optTypeEnum->SetChecked(true);
             f->cbxDataType->SetText("TAlignment");
         }, [](PropFormTest&, TfrmProperties* f) {
             f->optReadMethod->SetChecked(true);
             f->optWriteMethod->SetChecked(true);
         }, [](PropFormTest&, TfrmProperties* f) {
             f->chkIndex->SetChecked(true);
             f->edtIndex->SetText("2");
         }, "    property Side: TAlignment index 2 read GetSide write SetSide;"},
        {"default array", [](PropFormTest& t, TfrmProperties* f) {
             t.Name("Items");
             f->cbxDataType->SetText("Integer");
             f->chkArray->SetChecked(true);
             f->chkArrayDefault->SetChecked(true);
         }, none, none, "    property Items[i: Integer]: Integer read GetItems write SetItems; default;"},
        {"event", [](PropFormTest& t, TfrmProperties* f) {
             t.Name("OnBump");
             f->optTypeProc->SetChecked(true);
             f->cbxDataType->SetText("TNotifyEvent");
         }, none, none, "    property OnBump: TNotifyEvent read FOnBump write FOnBump;"},
    };
    for (const TKind& kind : kinds) {
        SCOPED_TRACE(kind.What);
        Form->PrepareWizard();
        Form->FormShow(Form);
        Choose(Form->cbxClass, "TMainForm");
        kind.Property(*this, Form);
        Form->btnNextClick(Form->btnNext);
        ASSERT_EQ(Form->pgeProperties->ActivePage(), Form->tabAccess);
        kind.Storage(*this, Form);
        Form->btnNextClick(Form->btnNext);
        ASSERT_EQ(Form->pgeProperties->ActivePage(), Form->tabOther);
        EXPECT_TRUE(Form->btnOK->Enabled());
        EXPECT_FALSE(Form->btnNext->Enabled());
        kind.Other(*this, Form);
        if (Form->chkDefault->Checked())
            EXPECT_EQ(Messages(1, [&] { Form->btnOKClick(Form->btnOK); }),
                      std::vector<std::string>{"Property Expert\r\nDon't forget to set the default value in the constructor"});
        else
            Form->btnOKClick(Form->btnOK);
        EXPECT_EQ(Form->ModalResult(), mrOk);
        const std::string text = Ide->CurrentBuffer()->Text();
        EXPECT_NE(text.find(std::string(kind.Line) + "\r\n"), std::string::npos) << text;
        std::string log;
        EXPECT_TRUE(Compiles(log)) << text << "\n" << log;
    }
}

TEST_F(PropFormTest, EachPageRefusesWhatIsMissing) {
    Form->PrepareWizard();
    const std::string incomplete = "Property Expert\r\nYou must complete all the information on this page";
    EXPECT_EQ(Messages(1, [&] { Form->btnNextClick(Form->btnNext); }), std::vector<std::string>{incomplete});
    EXPECT_EQ(Form->pgeProperties->ActivePage(), Form->tabName);

    Choose(Form->cbxClass, "TMainForm");
    Name("Items");
    Form->cbxDataType->SetText("Integer");
    Form->chkArray->SetChecked(true);
    Form->edtArrayIndexes->SetText("");
    EXPECT_EQ(Messages(2, [&] { Form->btnNextClick(Form->btnNext); }),
              (std::vector<std::string>{"Property Expert\r\nYou must supply array indexes for an array property",
                                        incomplete}));
    // Clearing the array box still leaves both sides on Method.
    Form->chkArray->SetChecked(false);
    EXPECT_TRUE(Form->optReadMethod->Checked());
    EXPECT_TRUE(Form->optWriteMethod->Checked());
    EXPECT_TRUE(Form->cbxMethodVisibility->Enabled());

    Form->btnNextClick(Form->btnNext);
    ASSERT_EQ(Form->pgeProperties->ActivePage(), Form->tabAccess);
    Form->optReadNone->SetChecked(true);
    Form->optWriteNone->SetChecked(true);
    EXPECT_FALSE(Form->cbxMethodVisibility->Enabled());
    EXPECT_EQ(Messages(2, [&] { Form->btnNextClick(Form->btnNext); }),
              (std::vector<std::string>{"Property Expert\r\nYou must select at least one access type", incomplete}));
    Form->optReadDirect->SetChecked(true);
    Form->edtReadField->SetText("");
    EXPECT_EQ(Messages(1, [&] { Form->btnNextClick(Form->btnNext); }), std::vector<std::string>{incomplete});
    Form->edtReadField->SetText("FItems");
    Form->btnNextClick(Form->btnNext);
    ASSERT_EQ(Form->pgeProperties->ActivePage(), Form->tabOther);

    // Insert's own checks keep the window open and the unit untouched.
    const std::string before = Ide->CurrentBuffer()->Text();
    struct {
        TCheckBox* Box;
        TEdit* Edit;
        const char* Says;
    } checks[] = {{Form->chkDefault, Form->edtDefault, "You must supply a default value"},
                  {Form->chkIndex, Form->edtIndex, "You must supply an index value"},
                  {Form->chkStorage, Form->edtStorage, "You must supply a storage specifier"}};
    for (auto& c : checks) {
        c.Box->SetChecked(true);
        c.Edit->SetText("");
        Form->SetModalResult(mrOk);
        EXPECT_EQ(Messages(1, [&] { Form->btnOKClick(Form->btnOK); }),
                  std::vector<std::string>{std::string("Property Expert\r\n") + c.Says});
        EXPECT_EQ(Form->ModalResult(), mrNone);
        c.Box->SetChecked(false);
    }
    // A default checked before the array box stays checked, and Insert refuses it.
    Form->chkDefault->SetChecked(true);
    Form->edtDefault->SetText("0");
    Form->chkArray->SetChecked(true);
    EXPECT_FALSE(Form->chkDefault->Enabled());
    EXPECT_EQ(Messages(1, [&] { Form->btnOKClick(Form->btnOK); }),
              std::vector<std::string>{"Property Expert\r\nYou can't specify a default value for an array property"});
    EXPECT_EQ(Ide->CurrentBuffer()->Text(), before);

    // Back to the first page.
    Form->btnBackClick(Form->btnBack);
    Form->btnBackClick(Form->btnBack);
    EXPECT_EQ(Form->pgeProperties->ActivePage(), Form->tabName);
    EXPECT_FALSE(Form->btnBack->Enabled());
}

TEST_F(PropFormTest, OptionsAreSavedAndStartTheNextWizard) {
    Form->PrepareWizard();
    // Left over on the wizard's pages: no reason to refuse the options.
    Form->chkDefault->SetChecked(true);
    Form->edtDefault->SetText("");
    Form->btnOptionsClick(Form->btnOptions);
    EXPECT_EQ(Form->Mode(), 1);
    EXPECT_EQ(Form->btnOK->Caption(), "Save");
    EXPECT_TRUE(Form->btnOK->Enabled());
    EXPECT_FALSE(Form->btnNext->Enabled());
    EXPECT_EQ(Form->pgeProperties->ActivePage(), Form->tabOptions);
    EXPECT_EQ(Form->barStatus->Panels()->Items(0)->Text(), "Options Page");

    Form->cbxOptDataType->SetText("Word");
    Form->cbxOptVisibility->SetItemIndex(1);
    Form->chkOptArray->SetChecked(true);
    Form->edtOptArrayIndex->SetText("Row, Col: Integer");
    Form->cbxOptReadAccessType->SetItemIndex(2);
    Form->edtOptReadMethodPrefix->SetText("Read");
    Form->cbxOptWriteAccessType->SetItemIndex(2);
    Form->edtOptWriteMethodPrefix->SetText("Write");
    Form->edtOptDataFieldPrefix->SetText("M");
    Form->cbxOptMethodVisibility->SetItemIndex(1);
    Form->cbxOptMethodOverride->SetItemIndex(2);
    Form->btnOKClick(Form->btnOK);
    EXPECT_EQ(Form->ModalResult(), mrOk);

    TPropDefault read;
    LoadDefaults(read);
    EXPECT_EQ(read.DataType, "Word");
    EXPECT_EQ(read.Visibility, 1);
    EXPECT_TRUE(read.ArrayProp);
    EXPECT_EQ(read.ArrayIndex, "Row, Col: Integer");
    EXPECT_EQ(read.ReadAccessType, 2);
    EXPECT_EQ(read.ReadMethodPrefix, "Read");
    EXPECT_EQ(read.WriteAccessType, 2);
    EXPECT_EQ(read.WriteMethodPrefix, "Write");
    EXPECT_EQ(read.DataFieldPrefix, "M");
    EXPECT_EQ(read.MethodVisibility, 1);
    EXPECT_EQ(read.MethodOverride, 2);

    // The next preparation starts in the wizard with the new defaults.
    Form->PrepareWizard();
    EXPECT_EQ(Form->Mode(), 0);
    EXPECT_EQ(Form->pgeProperties->ActivePage(), Form->tabName);
    EXPECT_EQ(Form->barStatus->Panels()->Items(0)->Text(), "Page 1 of 3");
    EXPECT_EQ(Form->btnOK->Caption(), "Insert");
    EXPECT_EQ(Form->cbxDataType->Text(), "Word");
    EXPECT_EQ(Form->cbxVisibility->ItemIndex(), 1);
    EXPECT_TRUE(Form->chkArray->Checked());
    EXPECT_EQ(Form->edtArrayIndexes->Text(), "Row, Col: Integer");
    EXPECT_TRUE(Form->optReadMethod->Checked());
    Name("Cell");
    EXPECT_EQ(Form->edtReadMethod->Text(), "ReadCell");
    EXPECT_EQ(Form->edtWriteMethod->Text(), "WriteCell");
}

TEST_F(PropFormTest, TypeListsAddTheUnitsOwnTypesOnce) {
    const std::string unit = "C:\\PROJECTS\\Demo\\Kinds.pas";
    std::ofstream(rtl::HostPath(unit), std::ios::binary)
        << "unit Kinds;\r\ninterface\r\ntype\r\n  TAlignment = (alOne, alTwo);\r\n  TShade = (shLight, shDark);\r\n"
           "  TPing = procedure(Sender: TObject) of object;\r\n  TThing = class\r\n  end;\r\nimplementation\r\nend.\r\n";
    ASSERT_TRUE(ToolServices->OpenFile(unit));
    Form->PrepareWizard();
    EXPECT_EQ(Form->cbxClass->Items()->Text(), "TThing\r\n");
    Form->optTypeEnum->SetChecked(true);
    EXPECT_EQ(Form->cbxDataType->Items()->Text(), "TAlignment\r\nTColor\r\nTShade\r\n");
    Form->optTypeProc->SetChecked(true);
    EXPECT_EQ(Form->cbxDataType->Items()->Count(), 10);
    EXPECT_EQ(Form->cbxDataType->Items()->Get(9), "TPing");
    Form->optTypeSimple->SetChecked(true);
    EXPECT_EQ(Form->cbxDataType->Items()->Count(), 18);
}

TEST_F(PropFormTest, TheUsersKeysAndClicksReachTheWizardsHandlers) {
    Form->PrepareWizard();
    Form->Show();
    TRobot robot;
    std::vector<std::string> texts;
    robot.Click(TBy::Name("edtName"));
    robot.Type("Size");
    // Leaving the name names the fields; the array box then turns both sides to methods.
    robot.Click(TBy::Name("chkArray"));
    robot.Do([&] {
        EXPECT_EQ(Form->edtReadField->Text(), "FSize");
        EXPECT_TRUE(Form->optReadMethod->Checked());
        EXPECT_EQ(Form->edtReadMethod->Text(), "GetSize");
        EXPECT_TRUE(Form->edtArrayIndexes->Enabled());
    });
    robot.Click(TBy::Name("optTypeEnum"));
    robot.Do([&] { EXPECT_EQ(Form->cbxDataType->Items()->Get(0), "TAlignment"); });
    // No class chosen: Next is refused.
    robot.Click(TBy::Name("btnNext"));
    robot.OnNextModal([&](win::HWND box) { texts.push_back(TRobot::ChildText(box, "Message")); });
    robot.AnswerNextModal(TBy::Name("OK"));
    robot.Click(TBy::Name("btnOptions"));
    robot.Do([&] {
        EXPECT_EQ(Form->pgeProperties->ActivePage(), Form->tabOptions);
        EXPECT_EQ(Form->barStatus->Panels()->Items(0)->Text(), "Options Page");
        EXPECT_EQ(Form->barStatus->Panels()->Items(1)->Text(), "Configure Expert");
    });
    robot.Click(TBy::Name("btnCancel"));
    EXPECT_TRUE(testing_support::PlayOut(robot, 300)) << robot.Describe();
    EXPECT_EQ(texts, std::vector<std::string>{"Property Expert\r\nYou must complete all the information on this page"});
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

} // namespace
} // namespace experts
