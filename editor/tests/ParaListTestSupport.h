// Helpers of the paragraph-model tests: a recording owner, text snapshots and a check of every
// count, cache and line start against a list wrapped from scratch.
#pragma once

#include "editor/ParaList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace editor {
inline void PrintTo(TParaResult r, std::ostream* os) { *os << "result " << Code(r); }
} // namespace editor

#define EXPECT_OK(expr) do { EXPECT_EQ((expr), editor::TParaResult::Ok); } while (0)

namespace editor_test {

// One undo (redo) step that has to succeed; false when there is none.
inline bool UndoOnce(editor::TParaList& list, std::int32_t& para, std::int32_t& pos) {
    if (!list.CanUndo()) return false;
    EXPECT_OK(list.Undo(para, pos));
    return true;
}
inline bool RedoOnce(editor::TParaList& list, std::int32_t& para, std::int32_t& pos) {
    if (!list.CanRedo()) return false;
    EXPECT_OK(list.Redo(para, pos));
    return true;
}

struct RecordingOwner : editor::TParaListOwner {
    std::vector<std::string> Reports;
    void TextInserted(std::int32_t p, std::int32_t pos, std::int32_t n) override {
        Reports.push_back("ins " + std::to_string(p) + ":" + std::to_string(pos) + " " + std::to_string(n));
    }
    void TextDeleted(std::int32_t p, std::int32_t pos, std::int32_t n) override {
        Reports.push_back("del " + std::to_string(p) + ":" + std::to_string(pos) + " " + std::to_string(n));
    }
    void ParaSplit(std::int32_t p, std::int32_t pos, std::int32_t indent) override {
        Reports.push_back("split " + std::to_string(p) + ":" + std::to_string(pos) + " " + std::to_string(indent));
    }
    void ParaDeleted(std::int32_t p) override { Reports.push_back("paradel " + std::to_string(p)); }
    void ParasJoined(std::int32_t p, std::int32_t pos) override {
        Reports.push_back("join " + std::to_string(p) + ":" + std::to_string(pos));
    }
    void ReWrapped() override { Reports.push_back("rewrap"); }
};

// Paragraphs joined with '\n'.
inline std::string Text(editor::TParaList& list) {
    std::string s;
    for (auto* p = list.FirstPara(); p; p = p->Next()) {
        if (p != list.FirstPara()) s += '\n';
        s += p->Text();
    }
    return s;
}

// A list holding the paragraphs of text ('\n' between them), loaded without undo.
inline void Load(editor::TParaList& list, const std::string& text) {
    std::size_t at = 0;
    std::vector<std::string> paras;
    for (;;) {
        auto nl = text.find('\n', at);
        paras.push_back(text.substr(at, nl == std::string::npos ? std::string::npos : nl - at));
        if (nl == std::string::npos) break;
        at = nl + 1;
    }
    for (std::size_t i = 0; i + 1 < paras.size(); ++i) EXPECT_OK(list.AddPara(paras[i], false));
    if (!paras.back().empty()) EXPECT_OK(list.InsertText(list.ParaCount(), paras.back(), 1));
    list.SetUndoSize(list.UndoSize()); // no history of the loading
    list.SetModified(false);
}

inline std::vector<std::int32_t> Starts(const editor::TParaNode* p) {
    std::vector<std::int32_t> s;
    for (std::int32_t k = 1; k <= p->LineCount(); ++k) s.push_back(p->LineStart(k));
    return s;
}

// Counts, links, the look-up cache and every paragraph's line starts.
inline void CheckList(editor::TParaList& list) {
    editor::TParaList fresh(nullptr, list.WordWrap());
    fresh.SetTabSize(list.TabSize());
    fresh.SetWrapColumn(list.WrapColumn());
    std::int32_t count = 0, lines = 0;
    std::int64_t size = -2;
    const editor::TParaNode* prev = nullptr;
    for (auto* p = list.FirstPara(); p; p = p->Next()) {
        ASSERT_EQ(p->Prev(), prev);
        ++count;
        lines += p->LineCount();
        size += p->Length() + 2;
        EXPECT_OK(fresh.AddPara(p->Text(), false));
        ASSERT_EQ(Starts(p), Starts(fresh.LastPara()->Prev())) << "paragraph " << count << " \"" << p->Text() << "\"";
        prev = p;
    }
    ASSERT_EQ(list.LastPara(), prev);
    ASSERT_EQ(list.ParaCount(), count);
    ASSERT_EQ(list.LineCount(), lines);
    ASSERT_EQ(list.TextSize(), size);
    // Look-ups from whatever the cache holds now, in an order that moves it about.
    std::int32_t line = 1, n = 1;
    for (auto* p = list.FirstPara(); p; p = p->Next(), ++n) {
        if (n % 7 == 3) {
            ASSERT_EQ(list.FindPara(n), p);
            std::int32_t col = 0;
            ASSERT_EQ(list.ParaPosToLine(n, 1, col), line);
            auto ref = list.FindLine(line);
            ASSERT_EQ(ref.Node, p);
            ASSERT_EQ(ref.Para, n);
        }
        line += p->LineCount();
    }
    ASSERT_EQ(list.FindPara(count), list.LastPara());
}

// Every paragraph and every display line looked up in a scattered order (so that the index is
// used, not the walk from the last look-up) must be the one a plain walk of the list finds.
struct TWalked {
    const editor::TParaNode* Node;
    std::int32_t Para;
    std::int32_t FirstLine;
};

inline void CheckAgainstWalk(editor::TParaList& list, std::mt19937& rng) {
    std::vector<TWalked> paras;
    std::vector<std::int32_t> paraOfLine{0};
    std::int32_t line = 1;
    for (const editor::TParaNode* p = list.FirstPara(); p; p = p->Next()) {
        paras.push_back({p, static_cast<std::int32_t>(paras.size()) + 1, line});
        for (std::int32_t k = 0; k < p->LineCount(); ++k) paraOfLine.push_back(paras.back().Para);
        line += p->LineCount();
    }
    ASSERT_EQ(list.ParaCount(), static_cast<std::int32_t>(paras.size()));
    ASSERT_EQ(list.LineCount(), line - 1);

    std::vector<std::int32_t> order(paras.size());
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), rng);
    for (std::int32_t n : order) {
        const TWalked& w = paras[n - 1];
        ASSERT_EQ(list.FindPara(n), w.Node) << "paragraph " << n;
        const std::int32_t pos = 1 + static_cast<std::int32_t>(rng() % (w.Node->Length() + 1));
        std::int32_t col = 0;
        const std::int32_t k = w.Node->LineOfPos(pos);
        ASSERT_EQ(list.ParaPosToLine(n, pos, col), w.FirstLine + k - 1) << "paragraph " << n << " position " << pos;
        ASSERT_EQ(col, pos - w.Node->LineStart(k));
    }
    order.resize(paraOfLine.size() - 1);
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), rng);
    for (std::int32_t l : order) {
        const TWalked& w = paras[paraOfLine[l] - 1];
        const editor::TLineRef ref = list.FindLine(l);
        ASSERT_EQ(ref.Node, w.Node) << "line " << l;
        ASSERT_EQ(ref.Para, w.Para) << "line " << l;
        const std::int32_t inPara = list.WordWrap() ? l - w.FirstLine + 1 : 1;
        ASSERT_EQ(ref.LineInPara, inPara) << "line " << l;
        std::int32_t offset = -1;
        ASSERT_EQ(list.LineToParaPos(l, offset), list.WordWrap() ? w.Para : l) << "line " << l;
        ASSERT_EQ(offset, list.WordWrap() ? w.Node->LineStart(inPara) : 0) << "line " << l;
    }
}

// Random changes of every kind with a fixed seed.
class RandomEditor {
public:
    RandomEditor(editor::TParaList& list, unsigned seed) : FList(list), FRng(seed) {}

    // When set, the text after every single operation is appended (an edit may be several).
    std::vector<std::string>* Texts = nullptr;

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRng); }

    std::string Word(int maxLen) {
        static const char alphabet[] = "abcdefgh  -\t";
        std::string s(Below(maxLen + 1), ' ');
        for (char& c : s) c = alphabet[Below(sizeof alphabet - 1)];
        return s;
    }

    // One random change; returns a short description for failure messages.
    std::string Edit() {
        const std::int32_t count = FList.ParaCount();
        std::int32_t para = 1 + Below(count);
        std::int32_t len = FList.ParaLength(para);
        std::int32_t pos = 1 + Below(len + 3);
        std::string text = Word(Below(8) == 0 ? 40 : 6);
        int op = Below(14);
        std::string what = std::to_string(op) + " @" + std::to_string(para) + ":" + std::to_string(pos);
        switch (op) {
        case 0: case 1: // typing runs, which merge into one record
            for (int i = 0, n = 1 + Below(4); i < n; ++i, ++pos) Step(FList.InsertText(para, text.substr(0, 1), pos));
            break;
        case 2:
            Step(FList.InsertText(para, text, pos));
            break;
        case 3: // backspacing and deleting runs
            for (int i = 0, n = 1 + Below(4); i < n && pos > 1; ++i) Step(FList.DeleteText(para, 1, --pos));
            break;
        case 4:
            Step(FList.DeleteText(para, Below(12), pos));
            break;
        case 5: case 6:
            Step(FList.ReplaceText(para, text, Below(8), pos));
            break;
        case 7: {
            std::int32_t indent = Below(10);
            Step(FList.SplitPara(para, Below(2) == 0, indent, Below(2) * 4, pos));
            break;
        }
        case 8:
            Step(FList.JoinParas(para, len + 1 + (Below(3) == 0 ? Below(4) : 0)));
            break;
        case 9:
            if (count > 1) Step(FList.DeletePara(para));
            break;
        case 10:
            if (Below(2)) Step(FList.InsertParaBefore(para, text));
            else Step(FList.InsertParaAfter(para, text));
            break;
        case 11: {
            std::int32_t para2 = std::min(count, para + Below(3));
            std::int32_t pos2 = 1 + Below(FList.ParaLength(para2) + 2);
            if (para2 == para && pos2 < pos) std::swap(pos, pos2);
            Step(FList.DeleteRegion(para, pos, para2, pos2));
            break;
        }
        case 12: {
            std::string block = Word(5) + "\r\n" + Word(5) + (Below(2) ? "\n" : "") + Word(4);
            Step(FList.InsertBlock(para, block, pos));
            break;
        }
        case 13:
            Step(FList.ReplaceText(para, text.substr(0, 3), 3, pos));
            Step(FList.ReplaceText(para, text.substr(0, 2), 3, pos + 3));
            break;
        }
        return what;
    }

private:
    void Step(editor::TParaResult) {
        if (Texts) Texts->push_back(Text(FList));
    }

    editor::TParaList& FList;
    std::mt19937 FRng;
};

} // namespace editor_test
