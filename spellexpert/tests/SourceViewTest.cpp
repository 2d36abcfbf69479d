#include "spellexpert/SourceView.h"
#include "spellexpert/SyntaxColour.h"

#include "editor/tests/ZelEditorTestSupport.h"

#include "IdeHighlightFixture.h"
#include "vcl/Forms.h"
#include "win/Gdi.h"

#include <fstream>
#include <sstream>

using namespace spellexpert;

namespace {

class SourceViewTest : public editor_test::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        spellexpert_test::UseIdeHighlight();
        Editor->OnDrawLine = [](vcl::TObject*, vcl::TCanvas* c, vcl::TRect r, const char* S, int Len,
                                std::int32_t Line, int Pos, int Count, std::int32_t HB, int HBC, std::int32_t HE,
                                int HEC, bool& Drawn) {
            DrawSyntaxLine(c, r, S, Len, Line, Pos, Count, HB, HBC, HE, HEC, Drawn);
        };
    }
    void TearDown() override {
        SyntaxList.reset();
        SetDefaultAttributes();
        EditorTest::TearDown();
    }
    void Show(const std::string& Text) {
        Editor->ClearText(true);
        ASSERT_EQ(Editor->InsertString(Text), 0);
        Editor->SetCaretPosition(1, 1);
        Editor->SetTopLine(1);
        SyntaxList = std::make_unique<TSyntaxList>();
        bool b = false, p = false, s = false;
        for (std::int32_t n = 1; n <= Editor->ParaCount(); ++n)
            SyntaxList->AddLine(b, p, s, Editor->GetPara(n));
        Editor->Invalidate();
        vcl::Application->ProcessMessages();
        Editor->Update();
    }
    void Repaint() {
        Editor->Invalidate();
        vcl::Application->ProcessMessages();
        Editor->Update();
    }
    int LineHeight() { return Editor->ClientHeight() / Editor->GetVisibleLines(); }
    // How many pixels of a row's text area have the colour.
    int CountInRow(int Row, vcl::TColor Colour) {
        const win::COLORREF want = vcl::ColorToRGB(Colour);
        win::HDC dc = win::GetDC(Editor->Handle());
        int n = 0;
        for (int y = (Row - 1) * LineHeight(); y < Row * LineHeight(); ++y)
            for (int x = Editor->LeftMargin(); x < Editor->ClientWidth(); ++x)
                if (win::GetPixel(dc, x, y) == want)
                    ++n;
        win::ReleaseDC(Editor->Handle(), dc);
        return n;
    }
};

TEST_F(SourceViewTest, RowsArePaintedInTheIdeColours) {
    Show("x := 'abc';\n{ note }\nbegin\nplain");
    EXPECT_GT(CountInRow(1, vcl::clNavy), 10);  // the string
    EXPECT_EQ(CountInRow(3, vcl::clNavy), 0);
    EXPECT_GT(CountInRow(2, vcl::clNavy), 10);  // the comment
    EXPECT_GT(CountInRow(3, vcl::clBlack), 10); // the reserved word
    // Bold draws more ink than the same letters plain.
    Show("begin\nbegun");
    EXPECT_GT(CountInRow(1, vcl::clBlack), CountInRow(2, vcl::clBlack));

    // The highlight is navy like the IDE's strings: the selection is tried on plain words.
    Show("alpha beta\nsecond line\nthird");
    Editor->SetParaSelection(1, 3, 2, 4, true);
    Repaint();
    EXPECT_GT(CountInRow(1, vcl::clHighlight), 50);
    EXPECT_GT(CountInRow(2, vcl::clHighlight), 20);
    EXPECT_EQ(CountInRow(3, vcl::clHighlight), 0);
    Editor->SetParaSelection(1, 3, 2, 1, true);
    Repaint();
    EXPECT_GT(CountInRow(1, vcl::clHighlight), 50);
    EXPECT_EQ(CountInRow(2, vcl::clHighlight), 0); // the end column is not selected
    Editor->SetParaSelection(1, 1, 1, 1, true);
    Show("x := 'abc';");
    SyntaxList.reset();
    Editor->Invalidate();
    vcl::Application->ProcessMessages();
    Editor->Update();
    EXPECT_EQ(CountInRow(1, vcl::clNavy), 0); // no list: the editor's plain text
}

TEST_F(SourceViewTest, AFreePascalUnitInTheIdeColours) {
    std::ifstream in("/usr/share/fpcsrc/3.2.2/rtl/inc/strings.pp");
    if (!in)
        GTEST_SKIP() << "no Free Pascal sources";
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    Form->SetBounds(10, 10, 660, 500);
    Editor->SetBounds(0, 0, 640, 460);
    Show(text);
    ASSERT_TRUE(testing_support::TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/spellexpert/sourceview.png",
                                                    Form->Handle()));
    int navy = 0;
    for (int row = 1; row <= Editor->GetVisibleLines(); ++row)
        navy += CountInRow(row, vcl::clNavy);
    EXPECT_GT(navy, 500); // its licence comment
}

} // namespace
