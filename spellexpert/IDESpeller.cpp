#include "spellexpert/IDESpeller.h"

#include "spellexpert/Settings.h"
#include "spellexpert/SourceView.h"
#include "spellexpert/SyntaxColour.h"

#include "spellengine/SpellDialogs.h"
#include "rtl/CodePages.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Streaming.h"

#include <cstdio>

namespace spellexpert {

using namespace vcl;

// Laid out by its form file, QuilloEdit32.dfm.
TIDESpeller::TIDESpeller(TComponent* AOwner) : TForm(AOwner) {}

TIDESpeller::~TIDESpeller() {
    SyntaxList.reset();
}

void TIDESpeller::AttachPainter(bool On) {
    // The painter is the handler the form file binds; kept while it is detached.
    if (!FPainter) FPainter = Editor1->OnDrawLine;
    Editor1->OnDrawLine = On ? FPainter : nullptr;
}

void TIDESpeller::Editor1DrawLine(TObject*, TCanvas* EditorCanvas, TRect LineRect, const char* S, int Len,
                                  std::int32_t Line, int LinePos, int Count, std::int32_t HBLine, int HBCol,
                                  std::int32_t HELine, int HECol, bool& WasDrawn) {
    DrawSyntaxLine(EditorCanvas, LineRect, S, Len, Line, LinePos, Count, HBLine, HBCol, HELine, HECol, WasDrawn);
}

void TIDESpeller::FormCreate(TObject*) {
    Editor1->FixedFont()->SetName(EditorFontName());
    Editor1->FixedFont()->SetSize(EditorFontSize());
    // The check moves the caret over every word it looks at, and a replacement moves it too.
    Editor1->OnShowStatus = [this](TObject*, std::int32_t, int) { ShowEditorState(); };
}

void TIDESpeller::FormShow(TObject*) {
    SpellDlg1->SetAutoSuggest(Settings().AutoSuggest);
    SpellDlg1->SetShowGlyphs(Settings().ShowGlyphs);
    SpellDlg1->SetSuggestions(Settings().Suggestions);
}

void TIDESpeller::FormResize(TObject*) {
    // The tab control fills the window; the editor fills the tab control's page.
    const TRect page = TabControl1->DisplayRect();
    Editor1->SetBounds(page.left, page.top, page.right - page.left, std::max(Height() - 70, 0));
}

void TIDESpeller::FormClose(TObject*, TCloseAction& Action) {
    if (spellengine::TAbsSpellDialog* d = SpellDlg1->Dialog(); d && d->Visible()) {
        d->SetResult(spellengine::srClose);
        d->SetModalResult(mrCancel);
        d->Close();
    }
    // A walk still running sees the list gone and ends as cancelled.
    SyntaxList.reset();
    Action = TCloseAction::caHide;
}

void TIDESpeller::Editor1TopLineChanged(TObject*, std::int32_t) {
    int col = 0;
    const std::int32_t line = Editor1->GetCaretPosition(col);
    char text[32];
    std::snprintf(text, sizeof text, "%4d:%4d", static_cast<int>(line), col);
    Status->Panels()->Items(0)->SetText(text);
}

void TIDESpeller::ShowEditorState() {
    // The form file's panel texts only name what each panel is for; they show the editor's state.
    Editor1TopLineChanged(Editor1, Editor1->GetTopLine());
    // A check clears the modified flag once it has seen an edit, to notice the next one; an edit
    // since the file was loaded still counts.
    const bool modified = Editor1->GetModified() || Editor1->CanUndo();
    Status->Panels()->Items(1)->SetText(modified ? "Modified" : "");
    Status->Panels()->Items(2)->SetText(Editor1->InsertMode() ? "Insert" : "Overwrite");
}

void TIDESpeller::LoadFile(const std::string& FileName) {
    SyntaxList.reset();
    Editor1->ClearText(true);
    Editor1->LoadFromFile(FileName);
}

void TIDESpeller::ShowFileInEditor(const std::string& FileName) {
    SetCaption(rtl::UpperCase(FileName));
    TabControl1->Tabs()->Put(0, rtl::ExtractFileName(FileName));
    const std::string ext = rtl::UpperCase(rtl::ExtractFileExt(FileName)).substr(0, 4);
    const char* what = ext == ".DPR"   ? "Spell Checking Project File..."
                       : ext == ".DFM" ? "Spell Checking Form..."
                       : ext == ".PAS" ? "Spell Checking Unit..."
                                       : "Spell Checking File...";
    Status->SetSimpleText(what);
    ShowEditorState();
    AttachPainter(Settings().SyntaxHi && ext != ".DFM");

    // Forms get a list too: the word filter reads it.
    SyntaxList = std::make_unique<TSyntaxList>();
    bool inBrace = false, inParen = false, inString = false;
    const std::int32_t shown = Editor1->GetVisibleLines();
    for (std::int32_t n = 1; n <= Editor1->ParaCount(); ++n) {
        SyntaxList->AddLine(inBrace, inParen, inString, Editor1->GetPara(n));
        // The first screen as soon as its lines are coloured.
        if (n == shown) {
            Editor1->Invalidate();
            Application->ProcessMessages();
            if (!SyntaxList)
                return; // closed meanwhile
        }
    }
    // A screen shown coloured above stays as it is: the colours of a line follow from the lines
    // before it alone.
    if (shown < 1 || Editor1->ParaCount() < shown)
        Editor1->Invalidate();
    Application->ProcessMessages();
}

void TIDESpeller::ConvertLinesToOem() {
    Editor1->ParaList().RecodeText([](char* Text, std::size_t Length) { rtl::AnsiToOemBuff(Text, Text, Length); });
    Editor1->Invalidate();
}

void TIDESpeller::ConvertLinesToAnsi() {
    Editor1->ParaList().RecodeText([](char* Text, std::size_t Length) { rtl::OemToAnsiBuff(Text, Text, Length); });
    Editor1->Invalidate();
}

namespace {

struct TIDESpellerRegistration {
    TIDESpellerRegistration() {
        using F = TIDESpeller;
        RegisterFormClass<F>("TIDESpeller", "TForm",
                             {
                                 PublishedField("TabControl1", &F::TabControl1),
                                 PublishedField("Editor1", &F::Editor1),
                                 PublishedField("Status", &F::Status),
                                 PublishedField("ZelController1", &F::ZelController1),
                                 PublishedField("SpellDlg1", &F::SpellDlg1),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("FormShow", &F::FormShow),
                                 PublishedMethod("FormResize", &F::FormResize),
                                 PublishedMethod("FormClose", &F::FormClose),
                                 PublishedMethod("Editor1DrawLine", &F::Editor1DrawLine),
                                 PublishedMethod("Editor1TopLineChanged", &F::Editor1TopLineChanged),
                             });
    }
} registration;

} // namespace

} // namespace spellexpert
