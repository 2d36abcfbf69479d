#include "spellexpert/IDESpeller.h"

#include "spellexpert/Settings.h"
#include "spellexpert/SourceView.h"
#include "spellexpert/SyntaxColour.h"

#include "spellengine/SpellDialogs.h"
#include "rtl/CodePages.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"

#include <cstdio>

namespace spellexpert {

using namespace vcl;

TIDESpeller::TIDESpeller(TComponent* AOwner) : TForm(AOwner) {
    {
        TLoadingBracket loading(this);
        SetName("IDESpeller");
        SetCaption("Quillo");
        Font()->SetName("MS Sans Serif");
        Font()->SetHeight(-14);
        Font()->SetStyle(fsBold);
        SetBounds(100, 100, 640, 480);

        TabControl1 = new TTabControl(this);
        TabControl1->SetName("TabControl1");
        TabControl1->SetParent(this);
        TabControl1->SetAlign(TAlign::alClient);
        TabControl1->Tabs()->Add("PROJECT.DPR");

        ZelController1 = new editor::TZelController(this);
        ZelController1->SetName("ZelController1");

        Editor1 = new editor::TZelTextFileEditor(this);
        Editor1->SetName("Editor1");
        Editor1->SetParent(TabControl1);
        Editor1->SetBackupExt("BAK");
        Editor1->FixedFont()->SetName("Courier New");
        Editor1->FixedFont()->SetSize(9);
        Editor1->FixedFont()->SetColor(clBlack);
        Editor1->SetHideSelection(false);
        Editor1->SetRightMargin(5);

        Status = new TStatusBar(this);
        Status->SetName("Status");
        Status->SetParent(this);
        Status->SetSimpleText("Insert");
        const struct {
            const char* Text;
            int Width;
            TAlignment Alignment;
        } panels[] = {{"249:1", 80, TAlignment::taCenter},
                      {"Modified", 80, TAlignment::taCenter},
                      {"Overwrite", 50, TAlignment::taLeftJustify}};
        for (const auto& p : panels) {
            TStatusPanel* panel = Status->Panels()->Add();
            panel->SetText(p.Text);
            panel->SetWidth(p.Width);
            panel->SetAlignment(p.Alignment);
        }

        SpellDlg1 = new TSpellQuillo(this);
        SpellDlg1->SetName("SpellDlg1");
        SpellDlg1->SetAutoShift(false);
        SpellDlg1->SetAutoSuggest(false);
        SpellDlg1->SetConfirmAdd(true);
        SpellDlg1->SetDictionaryPath("APPLICATIONPATH");
        SpellDlg1->SetForceModal(false);
        SpellDlg1->SetSuggestions(10);
        SpellDlg1->SetShowGlyphs(true);
        SpellDlg1->SetUserDictionary(".\\USERDCT.TXT");
        SpellDlg1->Font()->SetName("MS Sans Serif");
        SpellDlg1->Font()->SetHeight(-13);
        SpellDlg1->Font()->SetStyle(fsBold);
    }
    SpellDlg1->SetDialogType(spellengine::TDialogTypes::dtWordPerfect);
    Editor1->OnTopLineChanged = [this](TObject* s, std::int32_t l) { Editor1TopLineChanged(s, l); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    AttachPainter(true);
    FormCreate(this);
    FormResize(this);
}

TIDESpeller::~TIDESpeller() {
    delete SyntaxList;
    SyntaxList = nullptr;
}

void TIDESpeller::AttachPainter(bool On) {
    if (!On) {
        Editor1->OnDrawLine = nullptr;
        return;
    }
    Editor1->OnDrawLine = [](TObject*, TCanvas* c, TRect r, const char* S, int Len, std::int32_t Line, int Pos,
                             int Count, std::int32_t HB, int HBC, std::int32_t HE, int HEC, bool& Drawn) {
        DrawSyntaxLine(c, r, S, Len, Line, Pos, Count, HB, HBC, HE, HEC, Drawn);
    };
}

void TIDESpeller::FormCreate(TObject*) {
    Editor1->FixedFont()->SetName(EditorFontName());
    Editor1->FixedFont()->SetSize(EditorFontSize());
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
    delete SyntaxList;
    SyntaxList = nullptr;
    Action = TCloseAction::caHide;
}

void TIDESpeller::Editor1TopLineChanged(TObject*, std::int32_t) {
    int col = 0;
    const std::int32_t line = Editor1->GetCaretPosition(col);
    char text[32];
    std::snprintf(text, sizeof text, "%4d:%4d", static_cast<int>(line), col);
    Status->Panels()->Items(0)->SetText(text);
}

void TIDESpeller::LoadFile(const std::string& FileName) {
    delete SyntaxList;
    SyntaxList = nullptr;
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
    AttachPainter(Settings().SyntaxHi && ext != ".DFM");

    // Forms get a list too: the word filter reads it.
    delete SyntaxList;
    SyntaxList = new TSyntaxList;
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

} // namespace spellexpert
