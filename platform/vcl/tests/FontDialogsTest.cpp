#include "CommonDialogTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/EditCtrls.h"
#include "vcl/FontDialogs.h"
#include "vcl/ListCtrls.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

// The font dialog on a code font, as the snippet keeper asks for one.
class FontDialogTest : public CommonDialogTest<TFontDialog> {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Dialog = Make<TFontDialog>(Application);
        Dialog->Font()->SetName("Courier New");
        Dialog->Font()->SetSize(10);
        Dialog->Font()->SetStyle(fsUnderline);
    }
};

TEST_F(FontDialogTest, TheFaceStyleAndSizeChosenComeBackInTheFont) {
    TRobot robot;
    std::string face, style, size, description;
    std::vector<std::string> sizes;
    InDialog(robot, [&](TForm* f) {
        face = Find<TComboBox>(f, "FaceCombo")->Text();
        style = Find<TComboBox>(f, "StyleCombo")->Text();
        size = Find<TComboBox>(f, "SizeCombo")->Text();
        EXPECT_TRUE(Find<TCheckBox>(f, "UnderlineCheck")->Checked());
        EXPECT_EQ(f->Caption(), "Font");
        TRobot::Screenshot("/tmp/vcl-font-dialog.png", f->Handle());
    });
    robot.AnswerFontDialog("times new roman", "bold italic", 14);
    ASSERT_TRUE(Execute(robot));
    EXPECT_EQ(face, "Courier New");
    EXPECT_EQ(style, "Regular");
    EXPECT_EQ(size, "10");
    EXPECT_EQ(Dialog->Font()->Name(), "Times New Roman");
    EXPECT_EQ(Dialog->Font()->Size(), 14);
    EXPECT_EQ(Dialog->Font()->Style(), TFontStyles(fsBold | fsItalic | fsUnderline));
    EXPECT_EQ(Dialog->Font()->Color(), clWindowText);
}

TEST_F(FontDialogTest, TheSizesAndTheDescriptionFollowTheFace) {
    TRobot robot;
    std::vector<int> counts;
    std::vector<std::string> descriptions;
    TForm* form = nullptr;
    InDialog(robot, [&](TForm* f) { form = f; });
    auto look = [&] {
        counts.push_back(Find<TComboBox>(form, "SizeCombo")->Items()->Count());
        descriptions.push_back(Find<TLabel>(form, "DescriptionLabel")->Caption());
    };
    robot.Do(look);
    // What is typed at once goes into the face's box, over its text.
    robot.Type("MS Sans Serif");
    robot.Do(look);
    robot.Click(TBy::Name("Cancel"));
    EXPECT_FALSE(Execute(robot));
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts[0], 16);
    EXPECT_EQ(counts[1], 6);
    EXPECT_EQ(descriptions[0].substr(0, 24), "This is a TrueType font.");
    EXPECT_EQ(descriptions[1].substr(0, 22), "This is a screen font.");
    // Cancel leaves the font as it was.
    EXPECT_EQ(Dialog->Font()->Name(), "Courier New");
    EXPECT_EQ(Dialog->Font()->Size(), 10);
    EXPECT_EQ(Dialog->Font()->Style(), TFontStyles(fsUnderline));
}

TEST_F(FontDialogTest, AnUnknownFaceStyleOrSizeIsRefusedWithItsMessage) {
    struct Case {
        const char* face;
        const char* style;
        int size;
        const char* message;
    } cases[] = {
        {"Helvetica", "Regular", 10, "There is no font with that name.\nChoose a font from the list of fonts."},
        {"Arial", "Heavy", 10, "There is no style of this font by that name.\nChoose a style from the list of styles."},
        {"Arial", "Bold", 0, "Size must be between 1 and 1638 points."},
        {"Arial", "Bold", 2000, "Size must be between 1 and 1638 points."},
    };
    for (auto& c : cases) {
        TRobot robot;
        std::string message;
        robot.AnswerFontDialog(c.face, c.style, c.size);
        robot.OnNextModal([&](win::HWND box) { message = TRobot::ChildText(box, "Message"); });
        robot.AnswerNextModal(TBy::Caption("OK"));
        robot.AnswerFontDialog("Arial", "Bold", 12);
        ASSERT_TRUE(Execute(robot)) << c.face;
        EXPECT_EQ(message, c.message) << c.face << " " << c.style << " " << c.size;
        EXPECT_EQ(Dialog->Font()->Name(), "Arial");
        EXPECT_EQ(Dialog->Font()->Size(), 12);
    }
    // A size that is no number.
    TRobot robot;
    std::string message;
    TForm* form = nullptr;
    InDialog(robot, [&](TForm* f) {
        form = f;
        Find<TComboBox>(f, "SizeCombo")->SetText("big");
    });
    robot.Click(TBy::Name("OK"));
    robot.OnNextModal([&](win::HWND box) { message = TRobot::ChildText(box, "Message"); });
    robot.AnswerNextModal(TBy::Caption("OK"));
    robot.AnswerFontDialog("Arial", "Regular", 9);
    ASSERT_TRUE(Execute(robot));
    EXPECT_EQ(message, "Size must be a number.");
    EXPECT_EQ(Dialog->Font()->Size(), 9);
}

TEST_F(FontDialogTest, EffectsSetUnderlineStrikeoutAndColourOrAreLeftAlone) {
    TRobot robot;
    InDialog(robot, [&](TForm* f) {
        Find<TCheckBox>(f, "UnderlineCheck")->SetChecked(false);
        Find<TCheckBox>(f, "StrikeOutCheck")->SetChecked(true);
        Find<TComboBox>(f, "ColorCombo")->SetFocus();
    });
    for (int i = 0; i < 9; ++i) robot.Key(win::VK_DOWN); // Black ... Red
    robot.Click(TBy::Name("OK"));
    ASSERT_TRUE(Execute(robot));
    EXPECT_EQ(Dialog->Font()->Style(), TFontStyles(fsStrikeOut));
    EXPECT_EQ(Dialog->Font()->Color(), clRed);

    // Without the effects they are not shown, and the font keeps its own.
    Dialog->SetOptions(0);
    TRobot plain;
    bool shown = true;
    InDialog(plain, [&](TForm* f) { shown = Find<TGroupBox>(f, "EffectsGroup")->Visible(); });
    plain.AnswerFontDialog("Arial", "Bold", 11);
    ASSERT_TRUE(Execute(plain));
    EXPECT_FALSE(shown);
    EXPECT_EQ(Dialog->Font()->Style(), TFontStyles(fsBold | fsStrikeOut));
    EXPECT_EQ(Dialog->Font()->Color(), clRed);
}

} // namespace
