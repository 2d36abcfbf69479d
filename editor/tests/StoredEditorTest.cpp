// The editor's published properties stored with a form and read back.
#include "editor/StoredEditor.h"

#include "testing/StoredText.h"
#include "testing/UiTest.h"
#include "vcl/Streaming.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <string>

using namespace editor;

namespace {

// An editor class that publishes the editor's properties, as the text-file editor does.
class TStoredEditor : public TZelCustomEditor {
public:
    using TZelCustomEditor::TZelCustomEditor;
};

class StoredEditor : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        vcl::RegisterClass<TStoredEditor>("TStoredEditor", "", EditorProperties<TStoredEditor>());
    }
    static std::string Text(TZelCustomEditor& e) { return testing_support::StoredText(&e); }
    static void ReadText(const std::string& form, TZelCustomEditor& e) {
        rtl::TMemoryStream text, binary;
        text.Write(form.data(), static_cast<std::int64_t>(form.size()));
        text.SetPosition(0);
        rtl::ObjectTextToBinary(text, binary);
        binary.SetPosition(0);
        vcl::ReadComponentFromStream(binary, &e);
    }
};

} // namespace

TEST_F(StoredEditor, ChangedPropertiesRoundTripAndTheRightMarginIsAlwaysWritten) {
    TStoredEditor e(nullptr);
    const std::string fresh = Text(e);
    EXPECT_NE(fresh.find("RightMargin = 5"), std::string::npos) << fresh;
    EXPECT_EQ(fresh.find("LeftMargin"), std::string::npos) << fresh;
    EXPECT_EQ(fresh.find("WordWrap"), std::string::npos) << fresh;

    e.SetWordWrap(true);
    e.SetWrapColumn(60);
    e.SetTabType(TTabType::ttSmart);
    e.SetScrollBars(TEditorScrollBars::ssVertical);
    e.SetReadOnly(true);
    e.SetLeftMargin(20);
    e.SetUndoBufferSize(4096);
    e.HighlightColors()->SetBackColor(vcl::clRed);
    e.CaretOvr()->SetShape(TZelCaretShape::csHalfBlock);
    const std::string stored = Text(e);
    TStoredEditor copy(nullptr);
    ReadText(stored, copy);
    EXPECT_TRUE(copy.WordWrap());
    EXPECT_EQ(copy.WrapColumn(), 60);
    EXPECT_EQ(copy.TabType(), TTabType::ttSmart);
    EXPECT_EQ(copy.ScrollBars(), TEditorScrollBars::ssVertical);
    EXPECT_TRUE(copy.ReadOnly());
    EXPECT_EQ(copy.LeftMargin(), 20);
    EXPECT_EQ(copy.RightMargin(), 5);
    EXPECT_EQ(copy.UndoBufferSize(), 4096);
    EXPECT_EQ(copy.HighlightColors()->BackColor(), vcl::clRed);
    EXPECT_EQ(copy.CaretOvr()->Shape(), TZelCaretShape::csHalfBlock);
    EXPECT_EQ(Text(copy), stored);
}

TEST_F(StoredEditor, TheObsoleteMarginSetsBothMarginsAndIsNeverWritten) {
    TStoredEditor e(nullptr);
    ReadText("object TStoredEditor\r\n  Margin = 7\r\nend\r\n", e);
    EXPECT_EQ(e.LeftMargin(), 7);
    EXPECT_EQ(e.RightMargin(), 7);
    EXPECT_EQ(Text(e).find(" Margin ="), std::string::npos);
    EXPECT_NE(Text(e).find("LeftMargin = 7"), std::string::npos);
}
