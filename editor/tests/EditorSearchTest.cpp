// Search and replace: directions, start points, regions, whole words, case, replace once and
// everywhere, read-only editors and errors of the paragraph list.
#include "ZelEditorTestSupport.h"

namespace editor_test {
namespace {

class EditorSearchTest : public EditorTest {};

TEST_F(EditorSearchTest, FindAndReplaceOptions) {
    struct Case {
        const char* Name;
        const char* Before;
        const char* Find;
        const char* Replace;
        std::uint8_t Options;
        const char* After;
        std::int32_t Replaced;
        bool Found;
    } cases[] = {
        {"replace all in the whole text", "a x b x c x|", "x", "yy", frWholeText | frReplaceAll,
         "a yy b yy c yy|", 3, true},
        {"absent", "a b |c", "x", "", frWholeText, "a b |c", 0, false},
        {"a hit is selected", "|one two one", "one", "", 0, "{one|} two one", 0, true},
        {"forward skips hits before the caret", "one t|wo one", "one", "", 0, "one two {one|}", 0, true},
        {"forward skips a hit around the caret", "o|ne two", "one", "", 0, "o|ne two", 0, false},
        {"backward", "one two |one", "one", "", frBackward, "{|one} two one", 0, true},
        {"backward skips a hit ending after the caret", "one two on|e", "one", "", frBackward,
         "{|one} two one", 0, true},
        {"whole text backward", "|one two one", "one", "", frBackward | frWholeText, "one two {|one}", 0, true},
        {"whole words", "|someone one", "one", "", frWholeWords, "someone {one|}", 0, true},
        {"whole words at paragraph edges", "|xone\none", "one", "", frWholeWords, "xone\n{one|}", 0, true},
        {"whole words backward", "one someone|", "one", "", frWholeWords | frBackward, "{|one} someone", 0, true},
        {"case ignored", "|One one", "one", "", 0, "{One|} one", 0, true},
        {"case matched", "|One one", "one", "", frMatchCase, "One {one|}", 0, true},
        {"no hit across paragraphs", "|on\ne", "one", "", frWholeText, "|on\ne", 0, false},
        {"empty selection", "one |one", "one", "", frInSelection, "one |one", 0, false},
        {"within the selection", "one {two one} one", "one", "", frInSelection, "one two {one|} one", 0, true},
        {"replace all within the selection", "x {x x} x", "x", "yy", frInSelection | frReplaceAll,
         "x {|yy yy} x", 2, true},
        {"replace once: the selection, then the next hit", "{one|} two one", "one", "1", frReplace,
         "1 two {one|}", 1, true},
        {"replace all backward", "x x x|", "X", "y", frBackward | frReplaceAll, "y y y|", 3, true},
        {"replace all from the caret", "x x| x x", "x", "y", frReplaceAll, "x x| y y", 2, true},
        {"a replacement holding the pattern", "|ab ab", "ab", "abab", frReplaceAll, "|abab abab", 2, true},
        {"an empty pattern", "|abc", "", "", frWholeText, "|abc", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Load(*Editor, c.Before);
        const TFindReplaceResult r = Editor->FindReplace(c.Find, c.Replace, c.Options);
        EXPECT_EQ(State(*Editor), c.After);
        EXPECT_EQ(r.Replaced, c.Replaced);
        EXPECT_EQ(r.Found, c.Found);
        EXPECT_EQ(r.Error, 0);
    }
}

TEST_F(EditorSearchTest, AReadOnlyEditorFindsButNeverReplaces) {
    Load(*Editor, "{one|} two one");
    Editor->SetReadOnly(true);
    TFindReplaceResult r = Editor->FindReplace("one", "1", frReplace);
    EXPECT_EQ(State(*Editor), "one two {one|}");
    EXPECT_EQ(r.Replaced, 0);
    EXPECT_TRUE(r.Found);
    Editor->SetReadOnly(false);
    Load(*Editor, "|one two one");
    Editor->SetReadOnly(true);
    r = Editor->FindReplace("one", "1", frReplaceAll | frWholeText);
    EXPECT_EQ(State(*Editor), "{one|} two one");
    EXPECT_EQ(r.Replaced, 0);
}

TEST_F(EditorSearchTest, ReplaceAllIsOneUndoStepAndCountsBeyond255) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "w x\n";
    Load(*Editor, "|" + text + "end");
    const TFindReplaceResult r = Editor->FindReplaceStr("x", "y", frWholeText | frReplaceAll);
    EXPECT_EQ(r.Replaced, 300);
    EXPECT_EQ(r.Error, 0);
    EXPECT_EQ(Editor->GetPara(300), "w y");
    EXPECT_TRUE(Editor->GetModified());
    Editor->Undo();
    EXPECT_EQ(Editor->GetPara(300), "w x");
    EXPECT_EQ(Editor->GetPara(1), "w x");
}

TEST_F(EditorSearchTest, AnErrorOfTheListStopsAndIsReportedApartFromTheCount) {
    Editor->SetParaLengthLimit(8);
    Load(*Editor, "|a a\nb");
    std::vector<std::uint16_t> errors;
    Editor->OnError = [&](vcl::TObject*, std::uint16_t& Code) { errors.push_back(Code); };
    const TFindReplaceResult r = Editor->FindReplace("a", "aaaaaa", frWholeText | frReplaceAll);
    EXPECT_EQ(r.Replaced, 1);
    EXPECT_NE(r.Error, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], r.Error);
}

TEST_F(EditorSearchTest, LongTextsAreCutAt255) {
    const std::string pattern(300, 'q');
    Load(*Editor, "|" + std::string(255, 'q'));
    const TFindReplaceResult r = Editor->FindReplaceStr(pattern, "", frWholeText);
    EXPECT_TRUE(r.Found);
}

} // namespace
} // namespace editor_test
