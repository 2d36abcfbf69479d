#include "declsearch/MainDlg.h"

#include "declsearch/LineRules.h"
#include "declsearch/OptionsStore.h"

#include "rtl/Resources.h"
#include "vcl/Streaming.h"

#include <algorithm>
#include <climits>

namespace declsearch {

using namespace vcl;

namespace {

// A picture the library lacks is not an error: the bitmap is left empty.
bool LoadPicture(TBitmap& Bitmap, const char* Name) {
    const std::string_view data = rtl::LoadBitmapData(nullptr, rtl::TResId(Name));
    if (data.empty()) {
        Bitmap.SetSize(0, 0);
        return false;
    }
    Bitmap.LoadFromBytes(data.data(), data.size());
    return true;
}

} // namespace

// Laid out by its form file, MainDlg.dfm; what needs the store or the library's pictures is done
// when the form is created.
TMainDlg::TMainDlg(TComponent* AOwner, TKwRegIniFile* Store)
    : TForm(AOwner), FStore(Store), FBookClosed(std::make_unique<TBitmap>()), FBookOpen(std::make_unique<TBitmap>()) {
    RegisterDeclsearchControls();
    FModel.OnListChanged = [this] { SyncList(); };
    FModel.OnStatusChanged = [this] { SyncStatus(); };
    FModel.OnDisplaySettings = [this] { ApplyDisplaySettings(); };
    FModel.OnBusy = [](bool busy) { Screen->SetCursor(busy ? crHourGlass : crDefault); };
    FModel.OnProcessMessages = [] { Application->ProcessMessages(); };
}

TMainDlg::~TMainDlg() {
    FModel.OnListChanged = nullptr;
    FModel.OnStatusChanged = nullptr;
    FModel.ClearResults();
}

void TMainDlg::FormCreate(TObject*) {
    SetTrackingLimits(580, 100, 0, 0);
    {
        TBitmap help;
        if (LoadPicture(help, "BBHELP")) BtnHelp->SetGlyph(&help);
        else BtnHelp->SetCaption("?");
    }
    ApplyDisplaySettings();
    ReadPlacement();
    // A missing picture leaves its room empty.
    for (auto [bmp, name] : {std::pair{FBookClosed.get(), "BOOKCLS"}, std::pair{FBookOpen.get(), "BOOKOPEN"}})
        LoadPicture(*bmp, name);
    FTextIndent = std::max(FBookClosed->Width(), FBookOpen->Width()) + 2;
    FModel.SetNextAction(cmdNone);
    SyncStatus();
}

void TMainDlg::EditChange(TObject*) { FModel.SpeedSearch(Edit->Text(), cbCase->Checked()); }

void TMainDlg::btnBackClick(TObject*) { CloseWith(cmdOptions); }

void TMainDlg::BtnFindClick(TObject*) {
    if (FModel.GotoSelected()) SetModalResult(mrOk);
}

void TMainDlg::BtnCloseClick(TObject*) { CloseWith(cmdNone); }

void TMainDlg::BtnHelpClick(TObject*) { Help(HelpContext()); }

void TMainDlg::ListBoxClick(TObject*) {
    if (FSyncing) return;
    // Only the selection moves: the lines need no comparing.
    FSelecting = true;
    FModel.SetItemIndex(ListBox->ItemIndex());
    FSelecting = false;
    FModel.UpdateStatus();
}

void TMainDlg::ListBoxDblClick(TObject*) {
    FModel.SetItemIndex(ListBox->ItemIndex());
    if (FModel.ActivateSelected()) SetModalResult(mrOk);
}

void TMainDlg::mnuExpandClick(TObject*) { FModel.ExpandAll(true); }

void TMainDlg::mnuCollapseClick(TObject*) { FModel.ExpandAll(false); }

void TMainDlg::FileMenuItemClick(TObject* Sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(Sender)) FModel.FileMenuItemClick(item->Hint());
}

void TMainDlg::ReadPlacement() {
    if (!FStore) return;
    const char* section = "Main Coords";
    int state = FStore->ReadInteger(section, "WindowState", int(WindowState()));
    if (state == 2) {
        SetWindowState(TWindowState::wsMaximized);
        return;
    }
    // Without a stored place the window keeps its centred position; its size may still be stored.
    constexpr int none = INT_MIN;
    const int left = FStore->ReadInteger(section, "Left", none), top = FStore->ReadInteger(section, "Top", none);
    if (left != none && top != none) {
        SetPosition(TPosition::poDesigned);
        SetBounds(left, top, Width(), Height());
    }
    SetBounds(Left(), Top(), FStore->ReadInteger(section, "Width", Width()),
              FStore->ReadInteger(section, "Height", Height()));
}

void TMainDlg::FormHide(TObject*) {
    if (!FStore) return;
    const char* section = "Main Coords";
    FStore->WriteInteger(section, "Left", Left());
    FStore->WriteInteger(section, "Top", Top());
    FStore->WriteInteger(section, "Width", Width());
    FStore->WriteInteger(section, "Height", Height());
    FStore->WriteInteger(section, "WindowState", int(WindowState()));
}

void TMainDlg::FormClose(TObject*, TCloseAction& Action) { Action = TCloseAction::caHide; }

void TMainDlg::ApplyDisplaySettings() {
    ListBox->Font()->SetName(FModel.FontName());
    ListBox->Font()->SetSize(FModel.FontSize());
    ListBox->Canvas()->Font()->Assign(ListBox->Font());
    ListBox->SetItemHeight(std::max(1, ListBox->Canvas()->TextHeight("W")));
    ListBox->Invalidate();
}

void TMainDlg::Search(const TIdeHooks& Hooks) {
    if (!FStore) return;
    FReload = true;
    FModel.Search(*FStore, Hooks);
    FReload = true;
    SyncList();
}

void TMainDlg::SyncList() {
    const auto& visible = FModel.Visible();
    rtl::TStringList* items = ListBox->Items();
    // A change of the selection alone leaves the lines as they are.
    bool same = FSelecting || (!FReload && items->Count() == int(visible.size()));
    for (std::size_t i = 0; same && i < visible.size(); ++i)
        same = reinterpret_cast<std::intptr_t>(items->Objects(int(i))) == visible[i].Index;
    FSyncing = true;
    if (!same) {
        FReload = false;
        items->BeginUpdate();
        items->Clear();
        for (const TVisibleRow& r : visible)
            items->AddObject(r.Text, reinterpret_cast<void*>(static_cast<std::intptr_t>(r.Index)));
        items->EndUpdate();
    }
    ListBox->SetItemIndex(FModel.ItemIndex());
    ListBox->SetEnabled(FModel.ListEnabled());
    FSyncing = false;
}

void TMainDlg::SyncStatus() {
    FileNameText->SetCaption(FModel.StatusFileName());
    FileText->SetCaption(std::to_string(FModel.FileCount()));
    HitText->SetCaption(std::to_string(FModel.HitCount()));
    if (FileNameText->Parent() && FileNameText->Parent()->HandleAllocated()) FileNameText->Repaint();
}

void TMainDlg::ListBoxDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
    const auto& visible = FModel.Visible();
    if (Index < 0 || Index >= int(visible.size())) return;
    ++FRowsPainted;
    const TResultRow& result = FModel.Results()[std::size_t(visible[std::size_t(Index)].Index)];
    const TProcLine& row = result.Row;
    const std::string& text = result.Text;
    TCanvas* c = ListBox->Canvas();
    c->Font()->Assign(ListBox->Font());
    bool selected = State & odSelected;
    // Rows that cannot be gone to are drawn like headers.
    bool header = row.IsHeader();
    TBitmap* picture = nullptr;
    if (header && row.Kind == TRowKind::FileHeader) picture = row.Expanded ? FBookOpen.get() : FBookClosed.get();
    TColor back = clWindow, fore = clWindowText;
    if (!header && selected) {
        back = clHighlight;
        fore = clHighlightText;
    }
    bool section = SameText(row.Key, "interface") || SameText(row.Key, "implementation");

    // The match is looked for after the six-character number column; a row without it is drawn
    // whole in the normal style.
    std::string head = text, match, rest;
    if (!row.Key.empty() && text.size() > 6) {
        std::size_t at = LowerCase(text.substr(6)).find(LowerCase(row.Key));
        if (at != std::string::npos) {
            std::size_t start = at + 6;
            head = text.substr(0, start);
            match = text.substr(start, row.Key.size());
            std::size_t after = std::min(text.size(), start + row.Key.size());
            rest = text.substr(after, 100);
        }
    }

    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(back);
    c->FillRect(Rect);
    if (picture && !picture->Empty()) {
        int y = Rect.top + (Rect.bottom - Rect.top - picture->Height()) / 2;
        c->BrushCopy(vcl::Rect(Rect.left + 2, y, Rect.left + 2 + picture->Width(), y + picture->Height()), picture,
                     vcl::Rect(0, 0, picture->Width(), picture->Height()), clWhite);
    }
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Font()->SetColor(fore);
    int x = Rect.left + FTextIndent + 2;
    c->TextOut(x, Rect.top, head);
    if (match.empty()) return;
    x += c->TextWidth(head);
    c->Font()->SetStyle(fsBold);
    if (!section && !selected) c->Font()->SetColor(TColor(FModel.MatchColor()));
    c->TextOut(x, Rect.top, match);
    x += c->TextWidth(match);
    c->Font()->SetStyle(0);
    c->Font()->SetColor(fore);
    c->TextOut(x, Rect.top, rest);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void TMainDlg::ListBoxMnuPopup(TObject*) {
    TMenuItem* root = ListBoxMnu->Items();
    while (root->Count() > 3) {
        TMenuItem* m = root->Items(3);
        root->Delete(3);
        delete m;
    }
    for (const TFileMenuItem& f : FModel.FileMenuItems()) {
        auto* m = new TMenuItem(this);
        m->SetName(f.Name);
        m->SetCaption(f.Caption);
        m->SetHint(f.Hint);
        m->OnClick = [this](TObject* Sender) { FileMenuItemClick(Sender); };
        root->Add(m);
    }
}

void TMainDlg::CloseWith(TCommand Next) {
    FModel.SetNextAction(Next);
    SetModalResult(mrCancel);
}

void TMainDlg::Help(int Context) {
    if (Context == 0 || !Application->HelpContext(Context)) Application->HelpCommand(HELP_CONTENTS, 0);
}

void TMainDlg::FormKeyDown(TObject*, unsigned& Key, TShiftState Shift) {
    bool none = (Shift & (ssShift | ssCtrl | ssAlt)) == 0;
    switch (Key) {
    case win::VK_ESCAPE:
        if (!none) return;
        Key = 0;
        BtnClose->Click();
        return;
    case win::VK_RETURN:
        if (!none) return;
        Key = 0;
        BtnFind->Click();
        return;
    case win::VK_F1: {
        if (!none) return;
        Key = 0;
        TWinControl* focused = ActiveControl();
        Help(focused && focused->HelpContext() ? focused->HelpContext() : HelpContext());
        return;
    }
    case win::VK_LEFT:
    case win::VK_RIGHT:
        if (!none || ActiveControl() == Edit) return;
        if (Key == win::VK_LEFT ? FModel.CollapseSelected() : FModel.ExpandSelected()) Key = 0;
        return;
    case win::VK_UP:
    case win::VK_DOWN:
    case win::VK_PRIOR:
    case win::VK_NEXT:
        if (ActiveControl() != ListBox && ListBox->CanFocus()) {
            ListBox->SetFocus();
            win::SendMessage(ListBox->Handle(), win::WM_KEYDOWN, Key, 0);
            Key = 0;
        }
        return;
    default: return;
    }
}

void TMainDlg::FormKeyPress(TObject*, char& Key) {
    if (static_cast<unsigned char>(Key) >= 32 && ActiveControl() != Edit) {
        Edit->SetFocus();
        win::SendMessage(Edit->Handle(), win::WM_CHAR, static_cast<unsigned char>(Key), 0);
        Key = 0;
    }
}

namespace {

struct TMainDlgRegistration {
    TMainDlgRegistration() {
        using F = TMainDlg;
        RegisterFormClass<F>("TMainDlg", "TForm",
                             {
                                 PublishedField("ListBox", &F::ListBox),
                                 PublishedField("TopBar", &F::TopBar),
                                 PublishedField("Edit", &F::Edit),
                                 PublishedField("cbCase", &F::cbCase),
                                 PublishedField("btnBack", &F::btnBack),
                                 PublishedField("BtnFind", &F::BtnFind),
                                 PublishedField("BtnClose", &F::BtnClose),
                                 PublishedField("BtnHelp", &F::BtnHelp),
                                 PublishedField("BottomBar", &F::BottomBar),
                                 PublishedField("FileNameCaption", &F::FileNameCaption),
                                 PublishedField("FileNameText", &F::FileNameText),
                                 PublishedField("FileCaption", &F::FileCaption),
                                 PublishedField("FileText", &F::FileText),
                                 PublishedField("HitCaption", &F::HitCaption),
                                 PublishedField("HitText", &F::HitText),
                                 PublishedField("ListBoxMnu", &F::ListBoxMnu),
                                 PublishedField("mnuExpand", &F::mnuExpand),
                                 PublishedField("mnuCollapse", &F::mnuCollapse),
                                 PublishedField("N1", &F::N1),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("FormHide", &F::FormHide),
                                 PublishedMethod("FormClose", &F::FormClose),
                                 PublishedMethod("FormKeyDown", &F::FormKeyDown),
                                 PublishedMethod("FormKeyPress", &F::FormKeyPress),
                                 PublishedMethod("EditChange", &F::EditChange),
                                 PublishedMethod("btnBackClick", &F::btnBackClick),
                                 PublishedMethod("BtnFindClick", &F::BtnFindClick),
                                 PublishedMethod("BtnCloseClick", &F::BtnCloseClick),
                                 PublishedMethod("BtnHelpClick", &F::BtnHelpClick),
                                 PublishedMethod("ListBoxClick", &F::ListBoxClick),
                                 PublishedMethod("ListBoxDblClick", &F::ListBoxDblClick),
                                 PublishedMethod("ListBoxDrawItem", &F::ListBoxDrawItem),
                                 PublishedMethod("ListBoxMnuPopup", &F::ListBoxMnuPopup),
                                 PublishedMethod("mnuExpandClick", &F::mnuExpandClick),
                                 PublishedMethod("mnuCollapseClick", &F::mnuCollapseClick),
                                 PublishedMethod("FileMenuItemClick", &F::FileMenuItemClick),
                             },
                             {},
                             // Made without a store, as a designer makes it.
                             [](TComponent* Owner) -> TComponent* { return Make<F>(Owner, nullptr); });
    }
} mainDlgRegistration;

} // namespace

} // namespace declsearch
