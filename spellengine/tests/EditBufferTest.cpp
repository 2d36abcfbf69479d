#include "spellengine/SpellDlg.h"
#include "spellengine/WordBuffers.h"
#include "spellengine/WordForm.h"

#include "testing/UiTest.h"

#include <optional>

using namespace spellengine;
using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class EditBufferTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Robot.emplace();
        Form = Make<TForm>(Application);
        Form->SetBounds(10, 10, 300, 200);
        Memo = new TMemo(Form);
        Memo->SetParent(Form);
        Memo->SetBounds(4, 4, 280, 150);
        Form->Show();
    }

    std::optional<TRobot> Robot;
    TForm* Form = nullptr;
    TMemo* Memo = nullptr;
};

} // namespace

TEST_F(EditBufferTest, WordsOfAMemoSelectedAndReplaced) {
    Memo->SetText("Teh caf\xE9\r\nsat on teh mat");
    Memo->SetModified(false);
    auto b = TCEBuffer::NewOnEdit(Memo);
    EXPECT_EQ(b->TextLength(), int(Memo->Text().size()) + 1);
    std::string w;
    b->GetNextWord(w);
    EXPECT_EQ(w, "Teh");
    b->GetNextWord(w);
    EXPECT_EQ(w, "caf\x82") << "the text is read in OEM";
    b->GetNextWord(w);
    b->GetNextWord(w);
    b->GetNextWord(w);
    ASSERT_EQ(w, "teh");
    b->SelectWord();
    EXPECT_EQ(Memo->SelText(), "teh");
    EXPECT_FALSE(b->GetModified());

    b->ReplaceWord("the very");
    EXPECT_EQ(Memo->Text(), "Teh caf\xE9\r\nsat on the very mat");
    EXPECT_TRUE(b->GetModified());
    b->GetNextWord(w);
    EXPECT_EQ(w, "mat") << "the next word after the new text, whole";
    b->GetNextWord(w);
    EXPECT_TRUE(w.empty());
    b->SetModified(false);
    EXPECT_FALSE(Memo->Modified());
}

TEST_F(EditBufferTest, CaretLineAndScreenY) {
    Memo->SetText("one\r\ntwo three\r\nfour");
    Memo->SetSelStart(9);
    Memo->SetSelLength(5); // "three", the caret at its end
    const TLineCol at = CaretLineCol(Memo);
    EXPECT_EQ(at.Line, 1);
    EXPECT_EQ(at.Col, 9);
    Memo->SetSelStart(16);
    Memo->SetSelLength(0);
    EXPECT_EQ(CaretLineCol(Memo).Line, 2);
    EXPECT_EQ(CaretLineCol(Memo).Col, 0);

    // The memo's own line height, for any font size.
    for (int size : {8, 14}) {
        Memo->Font()->SetSize(size);
        Memo->SetSelStart(16);
        const int y0 = Memo->ClientOrigin().y;
        const int line = CaretScreenY(Memo) - y0;
        Memo->SetSelStart(0);
        EXPECT_EQ(CaretScreenY(Memo), y0);
        win::HDC dc = win::GetDC(Memo->Handle());
        win::SelectObject(dc, Memo->Font()->Handle());
        win::TEXTMETRIC tm{};
        win::GetTextMetrics(dc, &tm);
        win::ReleaseDC(Memo->Handle(), dc);
        EXPECT_EQ(line, 2 * tm.tmHeight) << size;
    }
}

TEST_F(EditBufferTest, WordCountWindowCountsAndCanStopMidway) {
    auto* spell = Make<TSpellDlg>(Form);
    Memo->SetText("The cat saw the other cat");
    int total = -1, unique = -1;
    spell->WordCount(Memo, total, unique);
    EXPECT_EQ(total, 6);
    EXPECT_EQ(unique, 4);
    TWordForm* form = TWordForm::Instance();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->Caption(), "Word Count");
    EXPECT_EQ(form->lblWords->Caption(), "6");
    EXPECT_EQ(form->lblUniqueWords->Caption(), "4");
    form->Update();
    TRobot::Screenshot("/tmp/spell-wordcount.png", form->Handle());

    // OK during a count closes the window and stops it.
    Robot->Click(TBy::Name("btnOk"));
    spell->WordCount(Memo, total, unique);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_EQ(total, 0);
    EXPECT_EQ(unique, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(TWordForm::Instance(), form) << "one window, kept";

    // Other controls are ignored.
    total = unique = 7;
    spell->WordCount(Form, total, unique);
    EXPECT_EQ(total, 7);
}
