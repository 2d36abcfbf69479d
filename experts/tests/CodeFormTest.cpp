#include "experts/CodeForm.h"

#include "experts/Library.h"
#include "experts/PropDefaults.h"
#include "ide/Ide.h"
#include "ide/IdeSettings.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/Registry.h"
#include "testing/UiTest.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace experts {
namespace {

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

std::string ReadFile(const std::string& Name) {
    std::ifstream in(rtl::HostPath(Name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& Name, const std::string& Text) {
    std::filesystem::create_directories(std::filesystem::path(rtl::HostPath(Name)).parent_path());
    std::ofstream(rtl::HostPath(Name), std::ios::binary) << Text;
}

// The names, descriptions and codes of the list, in list order.
struct TEntry {
    std::string Name, Description, Code;
    friend bool operator==(const TEntry&, const TEntry&) = default;
};
std::ostream& operator<<(std::ostream& o, const TEntry& e) {
    return o << "[" << e.Name << "|" << e.Description << "|" << e.Code << "]";
}

class CodeFormTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Ide = std::make_unique<ide::TIde>(); // writes the IDE's own template file
        ToolServices = Ide->ToolServices();
    }
    void TearDown() override {
        delete Form;
        Form = nullptr;
        ToolServices = nullptr;
        Ide.reset();
        UiTest::TearDown();
    }

    TfrmCodeForm* Open() {
        Form = Make<TfrmCodeForm>(Application);
        Form->Show();
        Idle();
        return Form;
    }
    void Reopen() {
        delete Form;
        Form = nullptr;
        Open();
    }
    void Idle() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    void Run(TRobot& Robot) {
        for (int i = 0; i < 300 && !Robot.Done(); ++i) Application->ProcessMessages();
        Idle();
        EXPECT_TRUE(Robot.Done()) << Robot.Describe();
    }
    // A click on a speed button of the button bar.
    void Press(TRobot& Robot, TSpeedButton* Button) {
        Robot.ClickAt(Form->pnlButtons->Handle(), {Button->Left() + 12, Button->Top() + 12});
    }
    void Choose(TRobot& Robot, const std::string& Name) {
        Robot.Do([this, Name] {
            Form->lstName->SetItemIndex(Form->lstName->Items()->IndexOf(Name));
            Form->lstNameClick(Form->lstName);
        });
    }
    // Replaces the text of an edit or the memo as typing does.
    void Retype(TRobot& Robot, const char* Control, const std::string& Text) {
        Robot.Click(TBy::Name(Control));
        Robot.Key('A', false, true);
        Robot.Type(Text);
    }
    std::vector<TEntry> Entries() const {
        std::vector<TEntry> out;
        for (int i = 0; i < Form->lstName->Items()->Count(); ++i) {
            const TCodeFrag* f = Form->Snippet(i);
            out.push_back({Form->lstName->Items()->Get(i), f->Description, f->Code});
        }
        return out;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int i = 0; i < Form->lstName->Items()->Count(); ++i) out.push_back(Form->lstName->Items()->Get(i));
        return out;
    }

    std::unique_ptr<ide::TIde> Ide;
    TfrmCodeForm* Form = nullptr;
};

TEST_F(CodeFormTest, ListsTheIdesTemplatesSortedAndLooksRight) {
    Open();
    EXPECT_EQ(Form->CodeFile(), ide::CodeTemplateFile);
    EXPECT_EQ(Names(), (std::vector<std::string>{"arrayc", "arrayd", "beginend", "cases", "fors", "ifs", "trye",
                                                 "tryf", "whiles"}));
    EXPECT_EQ(Entries()[2], (TEntry{"beginend", "begin end", "begin\r\n  |\r\nend;\r\n"}));
    EXPECT_EQ(Form->Caption(), "Quick Code Expert");
    EXPECT_EQ(Form->Width(), 550);
    EXPECT_EQ(Form->Height(), 258);
    EXPECT_EQ(Form->EditMode(), emBrowse);
    EXPECT_FALSE(Form->btnInsert->Enabled());
    EXPECT_FALSE(Form->btnSave->Enabled());
    EXPECT_FALSE(Form->btnCancel->Enabled());
    EXPECT_FALSE(Form->edtName->Visible());
    EXPECT_EQ(Form->edtDescription->Width(), Form->pnlDescription->Width() - 58);

    TRobot robot;
    Choose(robot, "beginend");
    Run(robot);
    EXPECT_TRUE(Form->btnInsert->Enabled());
    EXPECT_EQ(Form->mmoCode->Text(), "begin\r\n  |\r\nend;\r\n");
    EXPECT_EQ(Form->edtDescription->Text(), "begin end");
    EXPECT_TRUE(TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/experts-quick-code.png", Form->Handle()));
}

} // namespace
} // namespace experts
