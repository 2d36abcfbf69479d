#include "ZelEditorTestSupport.h"

#include "editor/ZelExceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace editor;
using editor_test::EditorTest;

namespace {

// Opens the protected steps the tests need to reach directly.
class TOpenEditor : public TZelCustomEditor {
public:
    using TZelCustomEditor::DoOnError;
    using TZelCustomEditor::MoveCaretBy;
    using TZelCustomEditor::TViewState;
    using TZelCustomEditor::TZelCustomEditor;
    using TZelCustomEditor::ViewState;
};

class ZelEditor : public EditorTest {};
class ZelEditorRing : public EditorTest {};

std::string Text(TZelCustomEditor& e) {
    std::string s;
    for (std::int32_t p = 1; p <= e.ParaCount(); ++p) {
        if (p > 1) s += '\n';
        s += e.GetPara(p);
    }
    return s;
}

} // namespace

TEST_F(ZelEditor, StartsWithTheDocumentedValues) {
    TZelCustomEditor& e = *Editor;
    EXPECT_EQ(e.Width(), 300); // set by the fixture; the constructor's own size is below
    TZelCustomEditor fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 200);
    EXPECT_EQ(fresh.Height(), 150);
    EXPECT_TRUE(fresh.TabStop());
    EXPECT_FALSE(fresh.ParentColor());
    EXPECT_EQ(fresh.Cursor(), vcl::crIBeam);
    EXPECT_EQ(fresh.ByteLimit(), 2147483647);
    EXPECT_EQ(fresh.ParaLimit(), 2147483647);
    EXPECT_EQ(fresh.ParaLengthLimit(), 32767);
    EXPECT_EQ(fresh.LeftMargin(), 15);
    EXPECT_EQ(fresh.RightMargin(), 5);
    EXPECT_EQ(fresh.TabSize(), 8);
    EXPECT_EQ(fresh.UndoBufferSize(), 8192);
    EXPECT_EQ(fresh.WrapColumn(), 80);
    EXPECT_TRUE(fresh.InsertMode());
    EXPECT_TRUE(fresh.TrimWhiteSpace());
    EXPECT_TRUE(fresh.WantEnter());
    EXPECT_FALSE(fresh.WantTab());
    EXPECT_TRUE(fresh.WrapAtLeft());
    EXPECT_FALSE(fresh.WordWrap());
    EXPECT_EQ(fresh.ParaCount(), 1);
    EXPECT_EQ(fresh.LineCount(), 1);
    EXPECT_EQ(fresh.HighlightColors()->BackColor(), vcl::clHighlight);
    EXPECT_EQ(fresh.HighlightColors()->TextColor(), vcl::clHighlightText);
    EXPECT_EQ(fresh.NextView(), &fresh);
}

TEST_F(ZelEditor, PropertiesIgnoreValuesOutsideTheirRanges) {
    TZelCustomEditor& e = *Editor;
    struct Case {
        const char* name;
        std::function<void()> set;
        std::function<long()> get;
        long expected;
    };
    const Case cases[] = {
        {"ParaLengthLimit 0", [&] { e.SetParaLengthLimit(0); }, [&] { return e.ParaLengthLimit(); }, 32767},
        {"ParaLengthLimit 40000", [&] { e.SetParaLengthLimit(40000); }, [&] { return e.ParaLengthLimit(); }, 32767},
        {"ParaLengthLimit 100", [&] { e.SetParaLengthLimit(100); }, [&] { return e.ParaLengthLimit(); }, 100},
        {"TabSize 0", [&] { e.SetTabSize(0); }, [&] { return e.TabSize(); }, 8},
        {"TabSize 4", [&] { e.SetTabSize(4); }, [&] { return e.TabSize(); }, 4},
        {"ByteLimit -1", [&] { e.SetByteLimit(-1); }, [&] { return e.ByteLimit(); }, 2147483647},
        {"ByteLimit 0", [&] { e.SetByteLimit(0); }, [&] { return e.ByteLimit(); }, 0},
        {"ParaLimit 0", [&] { e.SetParaLimit(0); }, [&] { return e.ParaLimit(); }, 2147483647},
        {"ParaLimit 9", [&] { e.SetParaLimit(9); }, [&] { return e.ParaLimit(); }, 9},
        {"WrapColumn 0", [&] { e.SetWrapColumn(0); }, [&] { return e.WrapColumn(); }, 80},
        {"LeftMargin -3", [&] { e.SetLeftMargin(-3); }, [&] { return e.LeftMargin(); }, 15},
        {"RightMargin 0", [&] { e.SetRightMargin(0); }, [&] { return e.RightMargin(); }, 0},
        {"UndoBufferSize 100", [&] { e.SetUndoBufferSize(100); }, [&] { return e.UndoBufferSize(); }, 100},
    };
    for (const Case& c : cases) {
        c.set();
        EXPECT_EQ(c.get(), c.expected) << c.name;
    }
    // Word wrap, wrapping at the left and scrolling past the end exclude each other.
    e.SetScrollPastEnd(true);
    e.SetWrapAtLeft(false);
    EXPECT_FALSE(e.WrapAtLeft());
    e.SetWordWrap(true);
    EXPECT_TRUE(e.WrapAtLeft());
    EXPECT_FALSE(e.ScrollPastEnd());
    e.SetWrapAtLeft(false);
    EXPECT_TRUE(e.WrapAtLeft());
    e.SetScrollPastEnd(true);
    EXPECT_FALSE(e.WordWrap());
    e.SetScrollBarsAlways(true);
    EXPECT_TRUE(e.ScrollBarsAlways());
    e.SetScrollBars(TEditorScrollBars::ssNone);
    EXPECT_FALSE(e.ScrollBarsAlways());
    e.SetScrollBarsAlways(true);
    EXPECT_FALSE(e.ScrollBarsAlways());
    EXPECT_TRUE(e.HandleAllocated()); // recreated, not lost
}

TEST_F(ZelEditor, LinesAndParagraphsByNumber) {
    TZelCustomEditor& e = *Editor;
    Load(e, "a\tb\nsecond|");
    std::string line;
    e.GetLine(1, line);
    EXPECT_EQ(line, "a       b"); // the tab reaches column 9
    char buffer[16];
    EXPECT_EQ(e.GetLineText(1, buffer, 4), 4);
    EXPECT_STREQ(buffer, "a   ");
    EXPECT_EQ(e.GetLineText(2, buffer, 15), 6);
    EXPECT_STREQ(buffer, "second");
    std::uint16_t len = 0;
    EXPECT_EQ(e.GetParaPointer(2, len), "second");
    EXPECT_EQ(len, 6);
    std::int32_t para = 2, pos = 3;
    e.ParaToLine(para, pos);
    EXPECT_EQ(para, 2);
    EXPECT_EQ(pos, 3);

    const std::function<void()> bad[] = {
        [&] { e.GetPara(0); },
        [&] { e.GetPara(3); },
        [&] { e.GetParaPointer(3, len); },
        [&] { e.GetLine(3, line); },
        [&] { e.GetLineText(0, buffer, 4); },
        [&] { std::int32_t p = 5, q = 1; e.ParaToLine(p, q); },
        [&] { e.SetCaretPosition(3, 1); },
        [&] { e.SetCaretPosition(1, 0); },
        [&] { e.SetTopLine(0); },
        [&] { e.SetTopLine(3); },
    };
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        try {
            bad[i]();
            ADD_FAILURE() << "case " << i << " raised nothing";
        } catch (const EInvalidLineOrPara& x) {
            EXPECT_STREQ(x.what(), "Invalid line or paragraph index") << i;
        }
    }
    EXPECT_EQ(State(e), "a\tb\nsecond|"); // nothing changed on the way
}

TEST_F(ZelEditor, SetSelectionAnchorsAtOneEndAndPutsTheCaretAtTheOther) {
    TZelCustomEditor& e = *Editor;
    Load(e, "|abcdef\nxy");
    e.SetSelection(1, 1, 1, 5, true);
    EXPECT_EQ(State(e), "{abcd|}ef\nxy");
    e.SetSelection(1, 1, 1, 5, false);
    EXPECT_EQ(State(e), "{|abcd}ef\nxy");
    // Out-of-range lines and columns are brought into the text.
    e.SetSelection(0, 0, 9, 99, true);
    EXPECT_EQ(State(e), "{abcdef\nxy|}");
    e.SetParaSelection(2, 2, 1, 3, true);
    EXPECT_EQ(State(e), "ab{|cdef\nx}y");
    // An empty text has nothing to select.
    Load(e, "|");
    e.SetSelection(1, 1, 1, 5, true);
    EXPECT_EQ(State(e), "|");
}

TEST_F(ZelEditor, MovingDownFromTheLastLineDoesNothingAtAll) {
    auto* e = new TOpenEditor(Form);
    e->SetParent(Form);
    Load(*e, "one\ntw|o");
    e->MoveCaretBy(-1, 1, false, false, false);
    EXPECT_EQ(State(*e), "one\ntw|o");
    e->MoveCaretBy(-1, 0, false, false, false);
    EXPECT_EQ(State(*e), "one\nt|wo");
}

TEST_F(ZelEditor, AppendParaCutsLongTextAtBlanksBeforeTheLastParagraph) {
    TZelCustomEditor& e = *Editor;
    e.ClearText(true);
    e.SetParaLengthLimit(16);
    e.SetTrimWhiteSpace(false);
    std::string text;
    for (int i = 0; i < 8; ++i) text += "abcd ";
    ASSERT_EQ(text.size(), 40u);
    EXPECT_EQ(e.AppendPara(text), 0);
    EXPECT_EQ(e.AppendPara(""), 0);
    EXPECT_EQ(e.AppendPara("0123456789abcdefXYZ"), 0); // no blank: cut hard at the limit
    EXPECT_EQ(Text(e), "abcd abcd abcd \nabcd abcd abcd \nabcd abcd \n\n0123456789abcdef\nXYZ\n");
    e.SetTrimWhiteSpace(true);
    e.AppendPara("trimmed   ");
    EXPECT_EQ(e.GetPara(e.ParaCount() - 1), "trimmed");
    // Limits are checked first.
    e.SetParaLimit(e.ParaCount() - 1); // an empty last paragraph does not count
    EXPECT_EQ(e.AppendPara("x"), Code(TParaResult::TooManyParas));
    e.SetParaLimit(1000);
    e.SetByteLimit(static_cast<std::int32_t>(e.ParaList().TextSize()) + 2);
    EXPECT_EQ(e.AppendPara("x"), Code(TParaResult::TextTooLarge));
}

TEST_F(ZelEditor, ClearTextKeepsTheSettingsAndStartsAtTheTop) {
    TZelCustomEditor& e = *Editor;
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line\n";
    Load(e, text);
    e.SetParaLimit(500);
    e.SetByteLimit(100000);
    e.SetParaLengthLimit(200);
    e.SetTabSize(4);
    e.SetWordWrap(true);
    e.SetWrapColumn(30);
    e.SetUndoBufferSize(1000);
    e.SetTopLine(20);
    std::vector<std::int32_t> tops;
    e.OnTopLineChanged = [&](vcl::TObject*, std::int32_t line) { tops.push_back(line); };
    e.Clear();
    EXPECT_EQ(tops, std::vector<std::int32_t>{1});
    EXPECT_EQ(e.ParaCount(), 1);
    EXPECT_EQ(e.GetTopLine(), 1);
    EXPECT_EQ(State(e), "|");
    EXPECT_EQ(e.ParaLimit(), 500);
    EXPECT_EQ(e.ByteLimit(), 100000);
    EXPECT_EQ(e.ParaLengthLimit(), 200);
    EXPECT_EQ(e.TabSize(), 4);
    EXPECT_TRUE(e.WordWrap());
    EXPECT_EQ(e.WrapColumn(), 30);
    EXPECT_EQ(e.UndoBufferSize(), 1000);
    EXPECT_FALSE(e.CanUndo());
}

TEST_F(ZelEditor, InsertStringReplacesTheSelectionAsOneStepAndKeepsLineBreaksWhole) {
    TZelCustomEditor& e = *Editor;
    Load(e, "a{bc|}d");
    EXPECT_EQ(e.InsertString("X\r\nY"), 0);
    EXPECT_EQ(State(e), "aX\nY|d");
    e.Undo();
    EXPECT_EQ(Text(e), "abcd");
    EXPECT_EQ(e.InsertString(""), 0);
    // A text longer than one part: the part boundary falls between a carriage return and its
    // line feed, which must still make one break.
    std::string big;
    for (int i = 0; i < 614; ++i) big += std::string(98, 'y') + "\r\n";
    big += std::string(39, 'z');
    ASSERT_EQ(big.size(), 61439u);
    big += "\r\ntail";
    Load(e, "|");
    EXPECT_EQ(e.InsertString(big), 0);
    EXPECT_EQ(e.ParaCount(), 616);
    EXPECT_EQ(e.GetPara(615), std::string(39, 'z'));
    EXPECT_EQ(e.GetPara(616), "tail");
    int col;
    EXPECT_EQ(e.GetCaretPosition(col), 616);
    EXPECT_EQ(col, 5);
    e.SetReadOnly(true);
    EXPECT_EQ(e.InsertString("more"), 0);
    EXPECT_EQ(e.GetPara(616), "tail");
}

TEST_F(ZelEditor, ErrorCodesReachOnErrorOrRaiseTheEditorError) {
    struct Case {
        const char* state;
        std::function<void(TZelCustomEditor&)> setup;
        std::uint16_t cmd;
        char ch;
        std::uint16_t code;
        const char* message;
    };
    const Case cases[] = {
        {"a\nb|", [](TZelCustomEditor& e) { e.SetParaLimit(2); }, ccNewLine, 0, 265,
         "Current operation will exceed the maximum number of allowed paragraphs"},
        {"abc|\ndef", [](TZelCustomEditor& e) { e.SetParaLengthLimit(5); }, ccDel, 0, 266,
         "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size"},
        {"abc|", [](TZelCustomEditor& e) { e.SetByteLimit(3); }, ccChar, 'x', 267,
         "Current operation will exceed the maximum editor text size"},
        {"abc|", [](TZelCustomEditor& e) { e.SetParaLengthLimit(3); }, ccChar, 'x', 268,
         "Current operation will exceed the maximum paragraph size"},
        {"abc|", [](TZelCustomEditor& e) { e.SetParaLengthLimit(4); }, ccTab, 0, 268,
         "Current operation will exceed the maximum paragraph size"},
    };
    TZelCustomEditor& e = *Editor;
    for (const Case& c : cases) {
        // Reported to the event, which stops the exception.
        e.SetParaLimit(1000);
        e.SetByteLimit(100000);
        e.SetParaLengthLimit(32767);
        e.SetTabType(TTabType::ttFixed);
        Load(e, c.state);
        c.setup(e);
        std::vector<std::uint16_t> codes;
        e.OnError = [&](vcl::TObject* s, std::uint16_t& code) {
            EXPECT_EQ(s, &e);
            codes.push_back(code);
        };
        EXPECT_NO_THROW(e.ProcessCommand(c.cmd, static_cast<unsigned char>(c.ch)));
        EXPECT_EQ(codes, std::vector<std::uint16_t>{c.code}) << c.state;
        EXPECT_EQ(State(e), c.state) << "a refused step changes nothing";
        // Raised without it.
        e.OnError = nullptr;
        try {
            e.ProcessCommand(c.cmd, static_cast<unsigned char>(c.ch));
            ADD_FAILURE() << c.state << " raised nothing";
        } catch (const EEditorError& x) {
            EXPECT_EQ(x.ErrorCode(), c.code);
            EXPECT_STREQ(x.what(), c.message);
        }
        EXPECT_EQ(State(e), c.state);
    }
    // The codes the commands above cannot produce.
    auto* open = new TOpenEditor(Form);
    const std::pair<std::uint16_t, const char*> others[] = {
        {263, "insufficient memory for requested operation"},
        {264, "Region is too large (> 64K)"},
        {300, "Unknown Error condition"},
    };
    for (auto [code, message] : others) {
        try {
            open->DoOnError(code);
            ADD_FAILURE() << code;
        } catch (const EEditorError& x) {
            EXPECT_EQ(x.ErrorCode(), code);
            EXPECT_STREQ(x.what(), message);
        }
    }
    EXPECT_NO_THROW(open->DoOnError(0));
}

TEST_F(ZelEditor, ShowStatusReportsTheCaretAfterTheCurrentMessage) {
    TZelCustomEditor& e = *Editor;
    Load(e, "a\tb|c");
    std::vector<std::pair<std::int32_t, int>> seen;
    e.OnShowStatus = [&](vcl::TObject*, std::int32_t line, int col) { seen.emplace_back(line, col); };
    vcl::Application->ProcessMessages();
    seen.clear();
    e.ProcessCommand(ccRight, 0);
    EXPECT_TRUE(seen.empty());
    vcl::Application->ProcessMessages();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(1, 11)); // the screen column, tabs expanded
}

TEST_F(ZelEditorRing, TwoViewsEditInTurnAndFollowEachOther) {
    TZelCustomEditor& a = *Editor;
    TZelCustomEditor& b = *NewEditor();
    Load(a, "alpha\nbeta\ngamma|");
    b.AttachTo(&a);
    EXPECT_EQ(a.NextView(), &b);
    EXPECT_EQ(b.NextView(), &a);
    EXPECT_EQ(Text(b), "alpha\nbeta\ngamma");
    EXPECT_EQ(State(b), "|alpha\nbeta\ngamma");
    b.SetCaretPosition(2, 3); // "be|ta"

    // A types before b's caret on b's line: b's caret keeps to its character.
    a.SetCaretPosition(2, 1);
    a.ProcessCommand(ccChar, 'X');
    EXPECT_EQ(State(a), "alpha\nX|beta\ngamma");
    EXPECT_EQ(State(b), "alpha\nXbe|ta\ngamma");
    // B splits its line; a's caret, before the split, stays.
    b.ProcessCommand(ccNewLine, 0);
    EXPECT_EQ(State(b), "alpha\nXbe\n|ta\ngamma");
    EXPECT_EQ(State(a), "alpha\nX|be\nta\ngamma");
    // A joins lines above b: b moves up a paragraph.
    a.ProcessCommand(ccFirstPage, 0);
    a.ProcessCommand(ccEnd, 0);
    a.ProcessCommand(ccDel, 0);
    EXPECT_EQ(State(b), "alphaXbe\n|ta\ngamma");
    // A deletes b's whole paragraph, with b's selection in it: b collapses to its paragraph's start.
    b.SetSelection(2, 1, 2, 3, true);
    a.SetCaretPosition(2, 1);
    a.ProcessCommand(ccDelLine, 0);
    EXPECT_EQ(Text(a), "alphaXbe\ngamma");
    EXPECT_EQ(State(b), "alphaXbe\n|gamma");
    // B's selection ends move with a's edits inside it.
    b.SetSelection(1, 2, 2, 3, true);
    a.SetCaretPosition(1, 3);
    a.ProcessCommand(ccDel, 0);
    EXPECT_EQ(State(b), "a{lhaXbe\nga|}mma");

    // Edits, undo and the modified flag belong to the list.
    EXPECT_TRUE(a.GetModified());
    b.SetModified(false);
    EXPECT_FALSE(a.GetModified());
    b.ProcessCommand(ccUndo, 0);
    EXPECT_EQ(Text(a), "alphaXbe\ngamma");
    EXPECT_TRUE(a.GetModified());
    EXPECT_TRUE(a.CanRedo());
}

TEST_F(ZelEditorRing, AViewScrolledBelowAnEditKeepsShowingItsText) {
    TZelCustomEditor& a = *Editor;
    TZelCustomEditor& b = *NewEditor();
    std::string text;
    for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\n";
    Load(a, text);
    b.AttachTo(&a);
    b.SetTopLine(50);
    b.SetCaretPosition(60, 3);
    std::vector<std::int32_t> tops;
    b.OnTopLineChanged = [&](vcl::TObject*, std::int32_t line) { tops.push_back(line); };
    a.SetCaretPosition(1, 1);
    a.InsertString("new\r\nnew\r\n");
    EXPECT_EQ(b.GetTopLine(), 52);
    EXPECT_EQ(tops.back(), 52);
    std::string line;
    b.GetLine(b.GetTopLine(), line);
    EXPECT_EQ(line, "line 50");
    int col;
    EXPECT_EQ(b.GetCaretPosition(col), 62);
    EXPECT_EQ(col, 3);
    // Re-wrapping the shared list recomputes every view's lines from its paragraphs.
    a.SetWordWrap(true);
    a.SetWrapColumn(4); // "line " / "60"
    b.GetLine(b.GetTopLine(), line);
    EXPECT_EQ(line, "line ");
    EXPECT_EQ(b.GetCaretPosition(col), 2 + 2 * 59 + 1); // two new lines, then two lines a paragraph
    EXPECT_EQ(col, 3);
}

TEST_F(ZelEditorRing, ASharedListLivesUntilItsLastViewLetsItGo) {
    TZelCustomEditor& a = *Editor;
    TZelCustomEditor* b = NewEditor();
    TZelCustomEditor& c = *NewEditor();
    Load(a, "shared|");
    Load(c, "other|");
    b->AttachTo(&a);
    // A leaves for c's list: b keeps the list it shared with a.
    a.AttachTo(&c);
    EXPECT_EQ(Text(a), "other");
    EXPECT_EQ(Text(*b), "shared");
    EXPECT_EQ(b->NextView(), b);
    b->SetCaretPosition(1, 7);
    b->ProcessCommand(ccChar, '!');
    EXPECT_EQ(Text(*b), "shared!");
    // The owning view goes; the other takes the list over and still hears of every change.
    TZelCustomEditor& d = *NewEditor();
    d.AttachTo(b);
    d.SetCaretPosition(1, 8);
    delete b;
    EXPECT_EQ(d.NextView(), &d);
    d.SetCaretPosition(1, 1);
    d.ProcessCommand(ccChar, '>');
    EXPECT_EQ(State(d), ">|shared!");
    // Clearing one view gives it a list of its own; the other keeps the text.
    TZelCustomEditor& f = *NewEditor();
    f.AttachTo(&d);
    d.SetParaLengthLimit(50);
    d.ClearText(true);
    EXPECT_EQ(Text(d), "");
    EXPECT_EQ(d.ParaLengthLimit(), 50);
    EXPECT_EQ(Text(f), ">shared!");
    EXPECT_EQ(f.NextView(), &f);
    // Attaching to itself or to a view of its own ring changes nothing.
    a.AttachTo(&a);
    a.AttachTo(&c);
    a.AttachTo(nullptr);
    EXPECT_EQ(a.NextView(), &c);
    EXPECT_EQ(c.NextView(), &a);
}

// Every view of a ring keeps its display lines in step with its paragraph positions, whichever
// view edits, over wrapped text and every kind of change the list reports.
TEST_F(ZelEditorRing, RandomEditsKeepEveryViewConsistent) {
    std::vector<TOpenEditor*> views;
    for (int i = 0; i < 3; ++i) {
        auto* v = new TOpenEditor(Form);
        v->SetParent(Form);
        v->SetBounds(0, 0, 300, 60 + 40 * i);
        views.push_back(v);
    }
    views[0]->SetWordWrap(true);
    views[0]->SetWrapColumn(12);
    Load(*views[0], "The quick brown fox jumps over the lazy dog.\nA second line\n\nand-a-hyphenated-word here|");
    views[1]->AttachTo(views[0]);
    views[2]->AttachTo(views[0]);
    views[0]->OnError = views[1]->OnError = views[2]->OnError = [](vcl::TObject*, std::uint16_t&) {};

    const std::uint16_t commands[] = {
        ccChar, ccChar, ccChar, ccChar, ccChar, ccChar, ccChar, ccChar, ccChar, ccChar, ccChar,
        ccChar, ccChar, ccChar, ccChar, ccChar, ccNewLine, ccBack, ccDel, ccLeft, ccRight,
        ccUp, ccDown, ccWordLeft, ccWordRight, ccHome, ccEnd, ccExtendRight, ccExtendLeft,
        ccExtendDown, ccExtendUp, ccDelLine, ccDelWord, ccDelEol, ccTab, ccUndo, ccRedo, ccNextPage,
        ccPrevPage, ccCopy, ccCut, ccPaste, ccPaste, ccPaste, ccFirstPage, ccLastPage,
        ccExtWordRight, ccExtendPgDn,
    };
    const char letters[] = "abcdefgh -";
    std::uint32_t seed = 12345;
    auto next = [&](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    auto check = [&](TOpenEditor& v, int step, int index) {
        SCOPED_TRACE("step " + std::to_string(step) + " view " + std::to_string(index));
        TParaList& list = v.ParaList();
        const TOpenEditor::TViewState s = v.ViewState();
        std::int32_t offset = 0;
        ASSERT_GE(s.CaretLine, 1);
        ASSERT_LE(s.CaretLine, list.LineCount());
        EXPECT_EQ(list.LineToParaPos(s.CaretLine, offset), s.CaretPara);
        EXPECT_EQ(offset, s.CaretLineOffset);
        EXPECT_LE(s.CaretPos, list.ParaLength(s.CaretPara) + 1);
        const std::int32_t ends[][4] = {{s.StartPara, s.StartPos, s.StartLine, s.StartCol},
                                        {s.EndPara, s.EndPos, s.EndLine, s.EndCol}};
        for (const auto& e : ends) {
            ASSERT_GE(e[2], 1);
            ASSERT_LE(e[2], list.LineCount());
            EXPECT_EQ(list.LineToParaPos(e[2], offset), e[0]);
            EXPECT_EQ(offset + e[3], e[1]);
            EXPECT_LE(e[1], list.ParaLength(e[0]) + 1);
        }
        EXPECT_TRUE(s.StartPara < s.EndPara || (s.StartPara == s.EndPara && s.StartPos <= s.EndPos));
        ASSERT_GE(s.TopLine, 1);
        ASSERT_LE(s.TopLine, list.LineCount());
        EXPECT_EQ(list.LineToParaPos(s.TopLine, offset), s.TopPara);
        EXPECT_EQ(offset, s.TopOffset);
    };
    for (int step = 0; step < 1500; ++step) {
        TOpenEditor& v = *views[next(3)];
        const std::uint16_t cmd = commands[next(std::size(commands))];
        v.ProcessCommand(cmd, cmd == ccChar ? static_cast<unsigned char>(letters[next(sizeof letters - 1)]) : 0);
        for (int i = 0; i < 3; ++i) check(*views[i], step, i);
        if (HasFailure()) break;
    }
}
