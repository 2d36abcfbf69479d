// An editor on a shown form with its controller, and a short notation for its state: the
// paragraphs joined by '\n', '|' where the caret stands, '{' and '}' around the selection.
#pragma once

#include "editor/ZelEditor.h"
#include "testing/UiTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace editor_test {

using namespace editor;

class EditorTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = vcl::Make<vcl::TForm>(vcl::Application);
        Form->SetBounds(10, 10, 400, 300);
        Controller = new TZelController(Form);
        Editor = NewEditor();
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }

    TZelCustomEditor* NewEditor() {
        auto* e = new TZelCustomEditor(Form);
        e->SetParent(Form);
        e->SetBounds(0, 0, 300, 200);
        return e;
    }

    // Text with markers; the text goes in fresh, without undo history and unmodified.
    static void Load(TZelCustomEditor& e, const std::string& state) {
        std::string text;
        std::int32_t para = 1, pos = 1;
        std::int32_t caret[2] = {1, 1}, start[2] = {0, 0}, end[2] = {0, 0};
        for (char c : state) {
            if (c == '|') caret[0] = para, caret[1] = pos;
            else if (c == '{') start[0] = para, start[1] = pos;
            else if (c == '}') end[0] = para, end[1] = pos;
            else {
                text += c;
                if (c == '\n') ++para, pos = 1;
                else ++pos;
            }
        }
        e.ClearText(true);
        ASSERT_EQ(e.InsertString(text), 0);
        e.SetUndoBufferSize(8192);
        e.SetModified(false);
        if (start[0]) {
            const bool caretAtEnd = caret[0] == end[0] && caret[1] == end[1];
            e.SetParaSelection(start[0], start[1], end[0], end[1], caretAtEnd);
        } else {
            std::int32_t line = caret[0], col = caret[1];
            e.ParaToLine(line, col);
            e.SetCaretPosition(line, col);
        }
    }

    static void ToPara(TZelCustomEditor& e, std::int32_t line, int col, std::int32_t& para,
                       std::int32_t& pos) {
        std::int32_t offset = 0;
        para = e.ParaList().LineToParaPos(line, offset);
        pos = offset + col;
    }

    // The state in the notation of Load.
    static std::string State(TZelCustomEditor& e) {
        int col;
        const std::int32_t line = e.GetCaretPosition(col);
        std::int32_t cp, cpos;
        ToPara(e, line, col, cp, cpos);
        std::int32_t l1, l2;
        int c1, c2;
        std::int32_t sp = 0, spos = 0, ep = 0, epos = 0;
        if (e.GetSelection(l1, c1, l2, c2)) {
            ToPara(e, l1, c1, sp, spos);
            ToPara(e, l2, c2, ep, epos);
        }
        std::string out;
        for (std::int32_t p = 1; p <= e.ParaCount(); ++p) {
            if (p > 1) out += '\n';
            const std::string text(e.GetPara(p));
            const auto len = static_cast<std::int32_t>(text.size());
            const std::int32_t last = std::max({len + 1, p == cp ? cpos : 0});
            for (std::int32_t i = 1; i <= last; ++i) {
                if (p == sp && i == spos) out += '{';
                if (p == cp && i == cpos) out += '|';
                if (p == ep && i == epos) out += '}';
                if (i <= len) out += text[static_cast<std::size_t>(i - 1)];
                else if (i < last) out += '~'; // past the end of the paragraph
            }
        }
        return out;
    }

    // What the editor's client area shows, row by row, for comparing two ways of painting it.
    static std::vector<win::COLORREF> ClientPixels(TZelCustomEditor& e) {
        std::vector<win::COLORREF> all;
        win::HDC dc = win::GetDC(e.Handle());
        for (int y = 0; y < e.ClientHeight(); ++y)
            for (int x = 0; x < e.ClientWidth(); ++x) all.push_back(win::GetPixel(dc, x, y));
        win::ReleaseDC(e.Handle(), dc);
        return all;
    }

    vcl::TForm* Form = nullptr;
    TZelController* Controller = nullptr;
    TZelCustomEditor* Editor = nullptr;
};

} // namespace editor_test
