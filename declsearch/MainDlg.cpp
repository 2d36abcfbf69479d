#include "declsearch/MainDlg.h"

#include "declsearch/LineRules.h"
#include "declsearch/OptionsStore.h"

#include <algorithm>
#include <climits>

namespace declsearch {

using namespace vcl;

namespace {

constexpr int MainHelpContext = 4;

TKWInfoSection* Info(TMainDlg* Owner, TKWControlBar* Bar, const char* Name, const char* Caption, int Left, int Width,
                     bool Value) {
    auto* s = new TKWInfoSection(Owner);
    s->SetName(Name);
    s->SetParent(Bar);
    s->SetBounds(Left, 3, Width, 19);
    s->SetCaption(Caption);
    s->SetParentFont(false);
    s->Font()->Assign(Bar->Font());
    if (Value) {
        s->Font()->SetStyle(fsBold);
        s->SetAlignment(TAlignment::taLeftJustify);
    } else {
        s->SetBevelOuter(bvNone);
        s->SetAlignment(TAlignment::taLeftJustify);
    }
    s->SetVAlign(vaCenter);
    return s;
}

TKWControlSection* Button(TMainDlg* Owner, TKWControlBar* Bar, const char* Name, const char* Caption, const char* Hint,
                          int Left, int Width) {
    auto* b = new TKWControlSection(Owner);
    b->SetName(Name);
    b->SetParent(Bar);
    b->SetBounds(Left, 4, Width, 25);
    b->SetCaption(Caption);
    b->SetHint(Hint);
    b->SetShowHint(true);
    b->SetHAlign(haRight);
    b->SetVAlign(vaCenter);
    return b;
}

} // namespace

TMainDlg::TMainDlg(TComponent* AOwner, TKwRegIniFile* Store)
    : TForm(AOwner), FStore(Store), FBookClosed(std::make_unique<TBitmap>()), FBookOpen(std::make_unique<TBitmap>()) {
    SetName("MainDlg");
    SetCaption("Browse Search Results");
    SetHelpContext(MainHelpContext);
    SetKeyPreview(true);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(572, 273);
    SetTrackingLimits(580, 100, 0, 0);
    BuildControls();

    FModel.OnListChanged = [this] { SyncList(); };
    FModel.OnStatusChanged = [this] { SyncStatus(); };
    FModel.OnDisplaySettings = [this] { ApplyDisplaySettings(); };
    FModel.OnBusy = [](bool busy) { Screen->SetCursor(busy ? crHourGlass : crDefault); };
    FModel.OnProcessMessages = [] { Application->ProcessMessages(); };

    ReadPlacement();
    // A missing picture leaves its room empty.
    for (auto [bmp, name] : {std::pair{FBookClosed.get(), "BOOKCLS"}, std::pair{FBookOpen.get(), "BOOKOPEN"}}) {
        try {
            bmp->LoadFromResourceName(nullptr, name);
        } catch (const rtl::EResNotFound&) {
            bmp->SetSize(0, 0);
        }
    }
    FTextIndent = std::max(FBookClosed->Width(), FBookOpen->Width()) + 2;
    FModel.SetNextAction(0);
    SyncStatus();
}

TMainDlg::~TMainDlg() {
    FModel.OnListChanged = nullptr;
    FModel.OnStatusChanged = nullptr;
    FModel.ClearResults();
}

void TMainDlg::BuildControls() {
    TopBar = new TKWControlBar(this);
    TopBar->SetName("TopBar");
    TopBar->SetCaption("");
    TopBar->SetParent(this);
    TopBar->SetAlign(TAlign::alTop);
    TopBar->SetHeight(33);
    TopBar->SetMargin(5);

    Edit = new TEdit(this);
    Edit->SetName("Edit");
    Edit->SetParent(TopBar);
    Edit->SetBounds(5, 6, 201, 21);
    Edit->SetHint("Speedsearch through the results");
    Edit->SetShowHint(true);
    Edit->OnChange = [this](TObject*) { FModel.SpeedSearch(Edit->Text(), cbCase->Checked()); };

    cbCase = new TKwCheckBox(this);
    cbCase->SetName("cbCase");
    cbCase->SetParent(TopBar);
    cbCase->SetBounds(213, 6, 98, 20);
    cbCase->SetBevel(kbRaised);
    cbCase->SetCaption("Case sensitive");
    cbCase->SetHint("Set the casesensitivity of the\rspeedsearch");
    cbCase->SetShowHint(true);

    // Right-aligned: the first placed is the rightmost.
    BtnHelp = Button(this, TopBar, "BtnHelp", "", "Get help for the current window", 542, 25);
    BtnClose = Button(this, TopBar, "BtnClose", "&Cancel", "Close window", 469, 68);
    BtnFind = Button(this, TopBar, "BtnFind", "&Goto:", "Goto the highlighted line", 396, 68);
    btnBack = Button(this, TopBar, "btnBack", "&Options", "Back to the Options", 323, 68);
    {
        TBitmap help;
        try {
            help.LoadFromResourceName(nullptr, "BBHELP");
            BtnHelp->SetGlyph(&help);
            BtnHelp->SetNumGlyphs(2);
        } catch (const rtl::EResNotFound&) {
            BtnHelp->SetCaption("?");
        }
    }
    btnBack->OnClick = [this](TObject*) { CloseWith(2); };
    BtnFind->OnClick = [this](TObject*) {
        if (FModel.GotoSelected()) SetModalResult(mrOk);
    };
    BtnClose->OnClick = [this](TObject*) { CloseWith(0); };
    BtnHelp->OnClick = [this](TObject*) { Help(HelpContext()); };

    BottomBar = new TKWControlBar(this);
    BottomBar->SetName("BottomBar");
    BottomBar->SetCaption("");
    BottomBar->SetParent(this);
    BottomBar->SetAlign(TAlign::alBottom);
    BottomBar->SetHeight(27);
    BottomBar->SetMargin(5);
    FileNameCaption = Info(this, BottomBar, "FileNameCaption", "Current file:", 5, 62, false);
    FileNameText = Info(this, BottomBar, "FileNameText", "", 72, 206, true);
    FileCaption = Info(this, BottomBar, "FileCaption", "Number of files found:", 283, 112, false);
    FileText = Info(this, BottomBar, "FileText", "", 400, 34, true);
    HitCaption = Info(this, BottomBar, "HitCaption", "Number of hits:", 439, 82, false);
    HitText = Info(this, BottomBar, "HitText", "", 526, 40, true);
    for (TKWInfoSection* s : {FileNameCaption, FileNameText, FileCaption, FileText, HitCaption, HitText})
        s->SetHAlign(haLeft);

    ListBoxMnu = new TPopupMenu(this);
    ListBoxMnu->SetName("ListBoxMnu");
    auto item = [this](const char* Name, const char* Caption, TNotifyEvent Click) {
        auto* m = new TMenuItem(this);
        m->SetName(Name);
        m->SetCaption(Caption);
        m->OnClick = std::move(Click);
        ListBoxMnu->Items()->Add(m);
    };
    item("mnuExpand", "&Expand All", [this](TObject*) { FModel.ExpandAll(true); });
    item("mnuCollapse", "&Collapse All", [this](TObject*) { FModel.ExpandAll(false); });
    item("N1", "-", nullptr);
    ListBoxMnu->OnPopup = [this](TObject*) { ListBoxMnuPopup(); };

    ListBox = new TListBox(this);
    ListBox->SetName("ListBox");
    ListBox->SetParent(this);
    ListBox->SetAlign(TAlign::alClient);
    ListBox->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    ListBox->SetParentFont(false);
    ListBox->Font()->SetName("Courier New");
    ListBox->Font()->SetSize(10);
    ListBox->SetPopupMenu(ListBoxMnu);
    ListBox->OnDrawItem = [this](TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
        ListBoxDrawItem(Index, Rect, State);
    };
    ListBox->OnClick = [this](TObject*) {
        if (FSyncing) return;
        // Only the selection moves: the lines need no comparing.
        FSelecting = true;
        FModel.SetItemIndex(ListBox->ItemIndex());
        FSelecting = false;
        FModel.UpdateStatus();
    };
    ListBox->OnDblClick = [this](TObject*) {
        FModel.SetItemIndex(ListBox->ItemIndex());
        if (FModel.ActivateSelected()) SetModalResult(mrOk);
    };
    ApplyDisplaySettings();
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

void TMainDlg::DoHide() {
    if (FStore) {
        const char* section = "Main Coords";
        FStore->WriteInteger(section, "Left", Left());
        FStore->WriteInteger(section, "Top", Top());
        FStore->WriteInteger(section, "Width", Width());
        FStore->WriteInteger(section, "Height", Height());
        FStore->WriteInteger(section, "WindowState", int(WindowState()));
    }
    TForm::DoHide();
}

void TMainDlg::DoClose(TCloseAction& Action) {
    TForm::DoClose(Action);
    Action = TCloseAction::caHide;
}

void TMainDlg::Dispatch(TMessage& M) {
    TForm::Dispatch(M);
}

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

void TMainDlg::ListBoxDrawItem(int Index, TRect Rect, TOwnerDrawState State) {
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

void TMainDlg::ListBoxMnuPopup() {
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
        m->OnClick = [this, m](TObject*) { FModel.FileMenuItemClick(m->Hint()); };
        root->Add(m);
    }
}

void TMainDlg::CloseWith(uint8_t Action) {
    FModel.SetNextAction(Action);
    SetModalResult(mrCancel);
}

void TMainDlg::Help(int Context) {
    if (Context == 0 || !Application->HelpContext(Context)) Application->HelpCommand(HELP_CONTENTS, 0);
}

void TMainDlg::KeyDown(unsigned& Key, TShiftState Shift) {
    TForm::KeyDown(Key, Shift);
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

void TMainDlg::KeyPress(char& Key) {
    TForm::KeyPress(Key);
    if (static_cast<unsigned char>(Key) >= 32 && ActiveControl() != Edit) {
        Edit->SetFocus();
        win::SendMessage(Edit->Handle(), win::WM_CHAR, static_cast<unsigned char>(Key), 0);
        Key = 0;
    }
}

} // namespace declsearch
