#include "editor/ZelNotebook.h"

#include "editor/ZelExceptions.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/StoredControls.h"
#include "vcl/Streaming.h"

#include "rtl/ScopeGuards.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace editor {

using namespace vcl;

namespace {

// Pages that are not yet placed on a notebook, streamed or made by the string list.
const bool NotebookRegistered = [] {
    using P = TZelNotebookPage;
    RegisterClass<P>("TZelNotebookPage", "", {
        StringProperty<P>("Caption", &P::Caption, &P::SetCaption),
        BooleanProperty<P>("PageEnabled", &P::PageEnabled, &P::SetPageEnabled).WithDefault(1),
        ColorProperty<P>("TabTextColor", &P::TabTextColor, &P::SetTabTextColor).WithDefault(clBtnText),
        BooleanProperty<P>("TabVisible", &P::TabVisible, &P::SetTabVisible).WithDefault(1),
        IntegerProperty<P>("HelpContext", &P::HelpContext, &P::SetHelpContext).WithDefault(0),
        StringProperty<P>("Hint", &P::Hint, &P::SetHint),
    });
    using N = TZelNotebook;
    auto props = WinControlProperties<N>();
    // The notebook has no caption, and its own 3-D default and Tab stop.
    props.erase(std::remove_if(props.begin(), props.end(), [](const TPropInfo& p) { return p.Name == "Caption"; }),
                props.end());
    for (auto& p : props) {
        if (p.Name == "Ctl3D") p.DefaultValue = 0;
        if (p.Name == "ParentCtl3D") p.DefaultValue = 0;
        if (p.Name == "TabStop") p.DefaultValue = 1;
        if (p.Name == "ParentColor") p.DefaultValue = 0;
    }
    RegisterClass<N>("TZelNotebook", "", With<N>(std::move(props), {
        ClassProperty<N>("ActiveTabFont", &N::ActiveTabFont),
        BooleanProperty<N>("ConserveResources", &N::ConserveResources, &N::SetConserveResources).WithDefault(0),
        IntegerProperty<N>("DefaultPageIndex", &N::DefaultPageIndex, &N::SetDefaultPageIndex).WithDefault(0),
        BooleanProperty<N>("EchoPageHelp", &N::EchoPageHelp, &N::SetEchoPageHelp).WithDefault(0),
        BooleanProperty<N>("EchoPageHint", &N::EchoPageHint, &N::SetEchoPageHint).WithDefault(0),
        ColorProperty<N>("HighlightColor", &N::HighlightColor, &N::SetHighlightColor).WithDefault(clBtnHighlight),
        ColorProperty<N>("ShadowColor", &N::ShadowColor, &N::SetShadowColor).WithDefault(clBtnShadow),
        BooleanProperty<N>("ShadowedText", &N::ShadowedText, &N::SetShadowedText).WithDefault(0),
        EnumProperty<N>("Style", &N::Style, &N::SetStyle, {"bsAutoDetect", "bsWin31", "bsNew"}).WithDefault(0),
        BooleanProperty<N>("TabAutoHeight", &N::TabAutoHeight, &N::SetTabAutoHeight).WithDefault(1),
        IntegerProperty<N>("TabHeight", &N::TabHeight, &N::SetTabHeight).WithDefault(20),
        IntegerProperty<N>("TabIndent", &N::TabIndent, &N::SetTabIndent).WithDefault(8),
        EnumProperty<N>("TabOrientation", &N::TabOrientation, &N::SetTabOrientation, {"toTop", "toRight"})
            .WithDefault(0),
        IntegerProperty<N>("TabRowCount", &N::TabRowCount, &N::SetTabRowCount).WithDefault(0),
        IntegerProperty<N>("TabWidth", &N::TabWidth, &N::SetTabWidth).WithDefault(65),
        ColorProperty<N>("TextShadowColor", &N::TextShadowColor, &N::SetTextShadowColor).WithDefault(clBtnShadow),
    }));
    return true;
}();

bool IsTrueType(TFont* Font) {
    win::HDC dc = win::GetDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, Font->Handle());
    win::TEXTMETRIC tm{};
    win::GetTextMetrics(dc, &tm);
    win::SelectObject(dc, old);
    win::ReleaseDC(nullptr, dc);
    return (tm.tmPitchAndFamily & win::TMPF_TRUETYPE) != 0;
}

} // namespace

// --- Page -----------------------------------------------------------------------------------

TZelNotebookPage::TZelNotebookPage(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csFramed);
    SetVisible(false);
    SetCtl3D(false);
    SetParentCtl3D(true);
}

TZelNotebookPage::~TZelNotebookPage() {
    Destroying();
    if (FNotebook) FNotebook->PageGone(this);
}

void TZelNotebookPage::SetParentComponent(TComponent* Value) {
    if (auto* notebook = dynamic_cast<TZelNotebook*>(Value)) notebook->AddPage(this, notebook->PageCount());
}

void TZelNotebookPage::SetPageEnabled(bool Value) {
    if (Value == FPageEnabled) return;
    FPageEnabled = Value;
    if (FNotebook) FNotebook->Invalidate();
}

void TZelNotebookPage::SetTabTextColor(TColor Value) {
    if (Value == FTabTextColor) return;
    FTabTextColor = Value;
    if (FNotebook) FNotebook->InvalidateTab(FNotebook->Pages().IndexOfObject(this));
}

void TZelNotebookPage::SetTabVisible(bool Value) {
    if (Value == FTabVisible) return;
    FTabVisible = Value;
    if (FNotebook) FNotebook->Invalidate();
}

void TZelNotebookPage::CMTextChanged(TMessage& Message) {
    TWinControl::CMTextChanged(Message);
    if (FNotebook) FNotebook->InvalidateTab(FNotebook->Pages().IndexOfObject(this));
}

void TZelNotebookPage::WndProc(TMessage& Message) {
    // At run time the mouse reaches what lies beneath the page's own area.
    if (Message.Msg == win::WM_NCHITTEST && !IsDesigning()) {
        Message.Result = win::HTTRANSPARENT;
        return;
    }
    TWinControl::WndProc(Message);
}

// --- The string-list view -------------------------------------------------------------------

int TPageAccess::Count() const { return FNotebook->PageCount(); }

std::string TPageAccess::Get(int Index) const {
    TZelNotebookPage* page = FNotebook->Page(Index);
    if (!page) throw rtl::EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    return page->Caption();
}

void TPageAccess::Put(int Index, std::string_view S) {
    TZelNotebookPage* page = FNotebook->Page(Index);
    if (!page) throw rtl::EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    page->SetCaption(std::string(S));
}

void* TPageAccess::GetObject(int Index) const { return FNotebook->Page(Index); }

void TPageAccess::Insert(int Index, std::string_view S) {
    if (Index < 0 || Index > Count())
        throw rtl::EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    TZelNotebookPage* page = FNotebook->NewPage(std::string(S));
    FNotebook->AddPage(page, Index);
}

void TPageAccess::Delete(int Index) {
    TZelNotebookPage* page = FNotebook->Page(Index);
    if (!page) throw rtl::EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    delete page;
}

void TPageAccess::Clear() { FNotebook->FreePages(); }

void TPageAccess::Exchange(int Index1, int Index2) {
    if (!FNotebook->Page(Index1) || !FNotebook->Page(Index2))
        throw rtl::EStringListError("List index out of bounds");
    auto& pages = FNotebook->FPages;
    std::swap(pages[std::size_t(Index1)], pages[std::size_t(Index2)]);
    int& active = FNotebook->FPageIndex;
    if (active == Index1) active = Index2;
    else if (active == Index2) active = Index1;
    FNotebook->Invalidate();
}

// --- Notebook -------------------------------------------------------------------------------

TZelNotebook::TZelNotebook(TComponent* AOwner)
    : TZelBase(AOwner), FAccess(std::make_unique<TPageAccess>(this)), FActiveTabFont(std::make_unique<TFont>()) {
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csOpaque);
    FWidth = 220;
    FHeight = 185;
    SetColor(clBtnFace);
    SetParentColor(false);
    SetCtl3D(false);
    SetParentCtl3D(false);
    SetTabStop(true);
    FActiveTabFont->SetName("Courier New");
    FActiveTabFont->SetStyle(fsBold);
    FActiveTabFont->OnChange = [this](TObject*) { ActiveTabFontChanged(); };
    for (const char* caption : {"&First", "&Second", "&Third"}) AddPage(NewPage(caption), PageCount());
    FPageIndex = 0;
    FPages[0]->SetVisible(true);
}

TZelNotebook::~TZelNotebook() {
    Destroying();
    // The pages go with the components; none of them may report back to a half-gone list.
    for (TZelNotebookPage* page : FPages) page->FNotebook = nullptr;
    FPages.clear();
}

TZelNotebookPage* TZelNotebook::Page(int Index) const {
    return Index >= 0 && Index < PageCount() ? FPages[std::size_t(Index)] : nullptr;
}

TZelNotebookPage* TZelNotebook::NewPage(const std::string& Caption) {
    auto* page = new TZelNotebookPage(this);
    page->SetShowHint(ShowHint());
    page->SetParentShowHint(ParentShowHint());
    page->SetCaption(Caption);
    return page;
}

void TZelNotebook::AddPage(TZelNotebookPage* Page, int Index) {
    if (Page->FNotebook == this) return;
    Index = std::clamp(Index, 0, PageCount());
    FPages.insert(FPages.begin() + Index, Page);
    Page->FNotebook = this;
    // Streamed pages are owned by the form that was read; a notebook owns its pages.
    if (Page->Owner() != this) {
        if (Page->Owner()) Page->Owner()->RemoveComponent(Page);
        InsertComponent(Page);
    }
    Page->SetParent(this);
    // A page put in front of the shown one moves it up; a stream's pages only append.
    if (!IsLoading() && Index < PageCount() - 1 && FPageIndex >= Index) ++FPageIndex;
    if (!IsLoading()) {
        LayoutTabs();
        SetPageBounds();
        Invalidate();
    }
}

void TZelNotebook::PageGone(TZelNotebookPage* Gone) {
    auto it = std::find(FPages.begin(), FPages.end(), Gone);
    if (it == FPages.end()) return;
    int index = int(it - FPages.begin());
    FPages.erase(it);
    Gone->FNotebook = nullptr;
    if (FFreeingPages || IsDestroying()) return;
    if (index < FPageIndex) {
        --FPageIndex;
    } else if (index == FPageIndex) {
        // The active page went: the next one that can be shown takes its place.
        FPageIndex = -1;
        for (int i = 0; i < PageCount() && FPageIndex < 0; ++i) {
            int candidate = (std::min(index, PageCount() - 1) + i) % PageCount();
            if (PageUsable(candidate)) FPageIndex = candidate;
        }
        if (TZelNotebookPage* shown = Page(FPageIndex)) {
            shown->SetVisible(true);
            shown->BringToFront();
        }
    }
    if (!IsLoading()) {
        LayoutTabs();
        SetPageBounds();
        Invalidate();
    }
}

void TZelNotebook::FreePages() {
    FFreeingPages = true;
    while (!FPages.empty()) delete FPages.back();
    FFreeingPages = false;
    FPageIndex = -1;
    Invalidate();
}

bool TZelNotebook::PageUsable(int Index) const {
    TZelNotebookPage* page = Page(Index);
    return page && (IsDesigning() || page->PageEnabled()) && page->TabVisible();
}

int TZelNotebook::NextUsablePage(int Index) const {
    int n = PageCount();
    if (n == 0) return -1;
    if (Index < 0 || Index >= n) Index = n - 1;
    for (int step = 1; step < n; ++step) {
        int i = (Index + step) % n;
        if (PageUsable(i)) return i;
    }
    return -1;
}

int TZelNotebook::PrevUsablePage(int Index) const {
    int n = PageCount();
    if (n == 0) return -1;
    if (Index < 0 || Index >= n) Index = 0;
    for (int step = 1; step < n; ++step) {
        int i = ((Index - step) % n + n) % n;
        if (PageUsable(i)) return i;
    }
    return -1;
}

bool TZelNotebook::UsableAtRunTime(int Index) const { return PageUsable(Index); }

void TZelNotebook::SetPageIndex(int Index) {
    if (IsLoading()) {
        FDefaultPageIndex = Index;
        FPageIndex = Index;
        return;
    }
    if (Index != FPageIndex && PageUsable(Index)) {
        if (!IsDesigning()) {
            bool allow = true;
            DoPageChange(Index, allow);
            if (!allow) return;
        }
        TZelNotebookPage* page = FPages[std::size_t(Index)];
        int old = FPageIndex;
        page->SetVisible(true);
        page->BringToFront();
        if (PageUsable(old)) {
            TZelNotebookPage* oldPage = FPages[std::size_t(old)];
            if (TCustomForm* form = ParentForm())
                if (form->ActiveControl() && ContainsControl(form->ActiveControl())) form->SetActiveControl(nullptr);
            oldPage->SetVisible(false);
            if (!IsDesigning() && FConserveResources) oldPage->ReleaseHandle();
        }
        FPageIndex = Index;
        FActiveRow = page->Row();
        ApplyEchoes();
        if (FKeyboardNavigation && CanFocus()) SetFocus();
        TZelNotebookPage* oldShown = Page(old);
        if (oldShown && oldShown->Row() == page->Row()) {
            InvalidateTab(old);
            InvalidateTab(Index);
            Update();
        } else {
            Invalidate();
        }
        if (!IsDesigning()) DoPageChanged(Index);
    } else if (!PageUsable(Index)) {
        throw EInvalidPageIndex();
    }
    if (!PageUsable(FPageIndex)) throw EInvalidPageIndex();
}

std::string TZelNotebook::ActivePageName() const {
    return PageUsable(FPageIndex) ? FPages[std::size_t(FPageIndex)]->Caption() : std::string();
}

void TZelNotebook::SetActivePageName(const std::string& Value) {
    int index = FAccess->IndexOf(Value);
    if (index >= 0) SetPageIndex(index);
}

std::string TZelNotebook::PageName() const {
    TZelNotebookPage* page = Page(FPageIndex);
    return page ? page->Caption() : std::string();
}

void TZelNotebook::SetPageName(const std::string& Value) {
    if (TZelNotebookPage* page = Page(FPageIndex)) page->SetCaption(Value);
}

bool TZelNotebook::PageEnabled() const {
    TZelNotebookPage* page = Page(FPageIndex);
    return page && page->PageEnabled();
}

void TZelNotebook::SetPageEnabled(bool Value) {
    if (!PageUsable(FPageIndex)) return;
    TZelNotebookPage* page = FPages[std::size_t(FPageIndex)];
    if (page->PageEnabled() == Value) return;
    page->FPageEnabled = Value;
    InvalidateTab(FPageIndex);
    if (IsDesigning() || PageUsable(FPageIndex)) return;
    int previous = PrevUsablePage(FPageIndex);
    if (previous < 0) {
        page->FPageEnabled = true;
        InvalidateTab(FPageIndex);
        throw EInvalidPageIndex();
    }
    // The disabled page no longer counts as usable, so it is hidden here, not by the turn.
    int old = FPageIndex;
    bool allow = true;
    DoPageChange(previous, allow);
    FPageIndex = previous;
    TZelNotebookPage* shown = FPages[std::size_t(previous)];
    shown->SetVisible(true);
    shown->BringToFront();
    page->SetVisible(false);
    FActiveRow = shown->Row();
    ApplyEchoes();
    Invalidate();
    (void)old;
    DoPageChanged(previous);
}

TColor TZelNotebook::TabTextColor() const {
    TZelNotebookPage* page = Page(FPageIndex);
    return page ? page->TabTextColor() : clBtnText;
}

void TZelNotebook::SetTabTextColor(TColor Value) {
    if (TZelNotebookPage* page = Page(FPageIndex)) page->SetTabTextColor(Value);
}

int TZelNotebook::PageHelpContextOf(int Index) const {
    TZelNotebookPage* page = Page(Index);
    return page ? page->HelpContext() : 0;
}

void TZelNotebook::SetPageHelpContextOf(int Index, int Value) {
    if (TZelNotebookPage* page = Page(Index)) {
        page->SetHelpContext(Value);
        if (Index == FPageIndex && FEchoPageHelp) SetHelpContext(Value);
    }
}

std::string TZelNotebook::PageHintOf(int Index) const {
    TZelNotebookPage* page = Page(Index);
    return page ? page->Hint() : std::string();
}

void TZelNotebook::SetPageHintOf(int Index, const std::string& Value) {
    if (TZelNotebookPage* page = Page(Index)) {
        page->SetHint(Value);
        if (Index == FPageIndex && FEchoPageHint) SetHint(Value);
    }
}

void TZelNotebook::ApplyEchoes() {
    TZelNotebookPage* page = Page(FPageIndex);
    if (!page) return;
    if (FEchoPageHelp) SetHelpContext(page->HelpContext());
    if (FEchoPageHint) SetHint(page->Hint());
}

void TZelNotebook::SetDefaultPageIndex(int Value) {
    FDefaultPageIndex = Value;
    if (IsLoading() && !IsDesigning()) FPageIndex = Value;
}

void TZelNotebook::SetPages(const rtl::TStrings& Value) {
    auto listed = [&Value](const std::string& caption) {
        for (int i = 0; i < Value.Count(); ++i)
            if (rtl::SameText(Value.Get(i), caption)) return true;
        return false;
    };
    TZelNotebookPage* active = Page(FPageIndex);
    for (TZelNotebookPage* page : std::vector<TZelNotebookPage*>(FPages))
        if (!listed(page->Caption())) {
            if (page == active) active = nullptr;
            FFreeingPages = true;
            delete page;
            FFreeingPages = false;
        }
    // Each string takes the first page of its caption that no earlier string took.
    std::vector<TZelNotebookPage*> old = FPages, ordered;
    for (int i = 0; i < Value.Count(); ++i) {
        std::string caption = Value.Get(i);
        auto it = std::find_if(old.begin(), old.end(),
                               [&](TZelNotebookPage* p) { return p && rtl::SameText(p->Caption(), caption); });
        if (it != old.end()) {
            ordered.push_back(*it);
            *it = nullptr;
        } else {
            TZelNotebookPage* page = NewPage(caption);
            page->FNotebook = this;
            page->SetParent(this);
            ordered.push_back(page);
        }
    }
    // Pages of a caption listed fewer times than they exist go too.
    FFreeingPages = true;
    for (TZelNotebookPage* page : old)
        if (page) {
            if (page == active) active = nullptr;
            page->FNotebook = nullptr;
            delete page;
        }
    FFreeingPages = false;
    FPages = ordered;
    for (TZelNotebookPage* page : FPages)
        if (page != active) page->SetVisible(false);
    FPageIndex = -1;
    auto it = std::find(FPages.begin(), FPages.end(), active);
    int keep = it == FPages.end() ? -1 : int(it - FPages.begin());
    if (keep >= 0 && PageUsable(keep)) {
        FPageIndex = keep;
    } else {
        for (int i = 0; i < PageCount() && FPageIndex < 0; ++i)
            if (PageUsable(i)) FPageIndex = i;
    }
    if (TZelNotebookPage* shown = Page(FPageIndex)) {
        shown->SetVisible(true);
        shown->BringToFront();
    }
    LayoutTabs();
    SetPageBounds();
    Invalidate();
}

void TZelNotebook::SetConserveResources(bool Value) {
    FConserveResources = Value;
    if (Value && !IsDesigning() && !IsLoading())
        for (int i = 0; i < PageCount(); ++i)
            if (i != FPageIndex) FPages[std::size_t(i)]->ReleaseHandle();
}

void TZelNotebook::SetHighlightColor(TColor Value) {
    if (Value == FHighlightColor) return;
    FHighlightColor = Value;
    Invalidate();
}

void TZelNotebook::SetShadowColor(TColor Value) {
    if (Value == FShadowColor) return;
    FShadowColor = Value;
    Invalidate();
}

void TZelNotebook::SetTextShadowColor(TColor Value) {
    if (Value == FTextShadowColor) return;
    FTextShadowColor = Value;
    Invalidate();
}

void TZelNotebook::SetShadowedText(bool Value) {
    FShadowedText = Value;
    Invalidate();
}

void TZelNotebook::SetStyle(TNotebookStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Invalidate();
}

void TZelNotebook::SetTabAutoHeight(bool Value) {
    FTabAutoHeight = Value;
    if (Value) Invalidate();
}

void TZelNotebook::SetTabHeight(int Value) {
    if (Value < 0 || Value == FTabHeight) return;
    FTabHeight = Value;
    if (!IsLoading()) FTabAutoHeight = false;
    Invalidate();
}

void TZelNotebook::SetTabWidth(int Value) {
    if (Value < 0 || Value == FTabWidth) return;
    FTabWidth = Value;
    Invalidate();
}

void TZelNotebook::SetTabIndent(int Value) {
    if (Value < 0 || Value == FTabIndent || Value > FTabWidth - FTabWidth / 2) return;
    FTabIndent = Value;
    Invalidate();
}

void TZelNotebook::SetTabRowCount(int Value) {
    if (IsLoading()) {
        FTabRowCount = Value;
        return;
    }
    if (Value != FTabRowCount && Value >= 0 && Value <= PageCount()) FTabRowCount = Value;
    LayoutTabs();
    ReapplyBounds();
    Invalidate();
}

void TZelNotebook::SetTabOrientation(TTabOrientation Value) {
    if (Value == FTabOrientation) return;
    if (!IsLoading() && Value == TTabOrientation::toRight) {
        TTabOrientation keep = FTabOrientation;
        FTabOrientation = Value;
        rtl::TScopeExit undo([this, keep] { FTabOrientation = keep; });
        CheckTabFont(Font());
        CheckTabFont(FActiveTabFont.get());
        undo.Dismiss();
    }
    FTabOrientation = Value;
    ReapplyBounds();
    Invalidate();
}

void TZelNotebook::CheckTabFont(TFont* AFont) {
    if (FTabOrientation != TTabOrientation::toRight || IsTrueType(AFont)) return;
    AFont->SetName("Courier New");
    if (!IsDesigning()) throw EInvalidTabFont();
}

void TZelNotebook::ActiveTabFontChanged() {
    if (IsLoading()) return;
    TMessage m{CM_FONTCHANGED, 0, 0, 0};
    CMFontChanged(m);
}

void TZelNotebook::CMFontChanged(TMessage& Message) {
    TZelBase::CMFontChanged(Message);
    if (FTabOrientation == TTabOrientation::toRight && !IsLoading()) {
        CheckTabFont(Font());
        CheckTabFont(FActiveTabFont.get());
    }
}

void TZelNotebook::CMParentColorChanged(TMessage& Message) {
    TZelBase::CMParentColorChanged(Message);
    if (!IsLoading()) Invalidate();
}

void TZelNotebook::CMShowHintChanged(TMessage& Message) {
    TZelBase::CMShowHintChanged(Message);
    if (IsLoading()) return;
    for (TZelNotebookPage* page : FPages) page->SetShowHint(ShowHint());
}

bool TZelNotebook::NewLook() const {
    return FStyle == TNotebookStyle::bsNew || (FStyle == TNotebookStyle::bsAutoDetect && win::NewShellLook());
}

// --- Streaming and life cycle ----------------------------------------------------------------

void TZelNotebook::GetChildren(const std::function<void(TComponent*)>& Proc) const {
    for (TZelNotebookPage* page : FPages) Proc(page);
}

void TZelNotebook::ReadState(TReader& Reader) {
    FreePages();
    TZelBase::ReadState(Reader);
    if (!PageUsable(FPageIndex)) FPageIndex = NextUsablePage(FPageIndex);
    if (TZelNotebookPage* page = Page(FPageIndex)) {
        page->SetVisible(true);
        page->BringToFront();
    } else {
        FPageIndex = -1;
    }
}

void TZelNotebook::Loaded() {
    TZelBase::Loaded();
    if (!PageUsable(FPageIndex)) FPageIndex = NextUsablePage(FPageIndex);
    for (int i = 0; i < PageCount(); ++i) {
        TZelNotebookPage* page = FPages[std::size_t(i)];
        if (i == FPageIndex) {
            page->SetVisible(true);
            page->BringToFront();
            continue;
        }
        page->SetVisible(false);
        if (!IsDesigning() && FConserveResources) page->ReleaseHandle();
    }
    ApplyEchoes();
    LayoutTabs();
    ReapplyBounds();
}

void TZelNotebook::CreateParams(TCreateParams& Params) {
    TZelBase::CreateParams(Params);
    Params.Style |= win::WS_CLIPCHILDREN;
    if (!IsDesigning()) Params.WindowClass.style &= ~win::CS_DBLCLKS;
}

void TZelNotebook::CreateWnd() {
    TZelBase::CreateWnd();
    if (IsDesigning())
        if (PageUsable(FPageIndex)) {
            FPages[std::size_t(FPageIndex)]->SetVisible(true);
            FPages[std::size_t(FPageIndex)]->BringToFront();
        }
    LayoutTabs();
    SetPageBounds();
}

void TZelNotebook::ShowControl(TControl* AControl) {
    auto it = std::find(FPages.begin(), FPages.end(), AControl);
    if (it != FPages.end()) SetPageIndex(int(it - FPages.begin()));
    TZelBase::ShowControl(AControl);
}

// --- Events ---------------------------------------------------------------------------------

bool TZelNotebook::DrawTab(int Index, const std::string& Title, const TRect& R, bool Enabled, bool Active) {
    if (!OnDrawTab) return false;
    OnDrawTab(this, Index, Title, R, Enabled, Active);
    return true;
}

void TZelNotebook::DoPageChange(int Index, bool& AllowChange) {
    if (OnPageChange) OnPageChange(this, Index, AllowChange);
}

void TZelNotebook::DoPageChanged(int Index) {
    if (OnPageChanged) OnPageChanged(this, Index);
}

void TZelNotebook::DoTabClick(int Index) {
    if (OnTabClick) OnTabClick(this, Index);
}

void TZelNotebook::DoMouseOverTab(int Index) {
    if (OnMouseOverTab) OnMouseOverTab(this, Index);
}

void TZelNotebook::DoUserCommand(std::uint16_t Command) {
    if (OnUserCommand) OnUserCommand(this, Command);
}

// --- Keys and mouse -------------------------------------------------------------------------

int TZelNotebook::SameRowBack() const {
    if (FRowCount <= 1) return -1;
    int back = FPageIndex - FTabsPerRow;
    if (PageUsable(back)) return back;
    int wrapped = (FRowCount - 1) * FTabsPerRow + FPageIndex;
    return PageUsable(wrapped) ? wrapped : -1;
}

void TZelNotebook::KeyDown(unsigned& Key, TShiftState Shift) {
    TZelBase::KeyDown(Key, Shift);
    if (Key == 0 || !Controller()) return;
    std::uint16_t command = Controller()->EntryCommands().TranslateKey(std::uint8_t(Key), Shift);
    if (command >= 256) {
        DoUserCommand(command);
        Key = 0;
        return;
    }
    const bool top = FTabOrientation == TTabOrientation::toTop;
    int target = -2;
    switch (command) {
    case ccHome: target = PageUsable(0) ? 0 : NextUsablePage(0); break;
    case ccEnd: target = PageUsable(PageCount() - 1) ? PageCount() - 1 : PrevUsablePage(PageCount() - 1); break;
    case ccLeft: target = top ? PrevUsablePage(FPageIndex) : -1; break;
    case ccRight: target = top ? NextUsablePage(FPageIndex) : SameRowBack(); break;
    case ccUp: target = top ? SameRowBack() : PrevUsablePage(FPageIndex); break;
    case ccDown: target = top ? -1 : NextUsablePage(FPageIndex); break;
    default: return;
    }
    Key = 0;
    if (target < 0 || target == FPageIndex) return;
    FKeyboardNavigation = true;
    rtl::TScopeExit done([this] { FKeyboardNavigation = false; });
    SetPageIndex(target);
}

void TZelNotebook::WMGetDlgCode(TMessage& Message) {
    if (IsDesigning()) {
        Message.Result = win::DLGC_STATIC;
        return;
    }
    TZelBase::WMGetDlgCode(Message);
    Message.Result |= win::DLGC_WANTARROWS;
}

void TZelNotebook::CMDialogChar(TMessage& Message) {
    const int n = PageCount();
    if (Enabled() && n > 0) {
        const unsigned key = unsigned(Message.WParam) & 0xFF;
        int start = FPageIndex >= 0 ? FPageIndex : n - 1;
        for (int step = 1; step <= n; ++step) {
            int i = (start + step) % n;
            if (!IsAccel(key, FPages[std::size_t(i)]->Caption())) continue;
            if (!PageUsable(i) || !CanFocus()) break;
            bool wasActive = i == FPageIndex;
            if (!wasActive) SetPageIndex(i);
            if (FPageIndex != i) break;
            TWinControl* first = nullptr;
            if (!wasActive) {
                TZelNotebookPage* page = FPages[std::size_t(i)];
                std::vector<TWinControl*> order;
                page->GetTabOrderList(order);
                for (TWinControl* c : order)
                    if (c->Parent() == page && c->TabStop() && c->CanFocus()) {
                        first = c;
                        break;
                    }
            }
            if (first) first->SetFocus();
            else SetFocus();
            Message.Result = 1;
            return;
        }
    }
    TZelBase::CMDialogChar(Message);
}

void TZelNotebook::FocusAfterClick() {
    TWinControl* found = nullptr;
    for (int i = 0; i < ControlCount() && !found; ++i)
        if (auto* c = dynamic_cast<TWinControl*>(Controls(i)); c && c->CanFocus()) found = c;
    if (!found) {
        std::vector<TWinControl*> all;
        GetTabOrderList(all);
        for (TWinControl* c : all)
            if (c->CanFocus()) {
                found = c;
                break;
            }
    }
    TZelNotebookPage* page = Page(FPageIndex);
    TCustomForm* form = ParentForm();
    if (found && found != page && form) form->SetActiveControl(found);
    else if (CanFocus()) SetFocus();
}

void TZelNotebook::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft) {
        int index = TabAtPos(X, Y);
        if (index >= 0 && IsDesigning()) {
            SetPageIndex(index);
        } else if (index >= 0 && index == FPageIndex) {
            if (CanFocus()) SetFocus();
            DoTabClick(index);
        } else if (index >= 0 && FPages[std::size_t(index)]->PageEnabled()) {
            SetPageIndex(index);
            if (FPageIndex != index) return;
            FocusAfterClick();
            DoTabClick(index);
        } else if (index >= 0) {
            DoTabClick(index);
        }
    }
    TZelBase::MouseDown(Button, Shift, X, Y);
}

void TZelNotebook::MouseMove(TShiftState Shift, int X, int Y) {
    int index = TabAtPos(X, Y);
    if (index >= 0) DoMouseOverTab(index);
    TZelBase::MouseMove(Shift, X, Y);
}

void TZelNotebook::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case win::WM_MOUSEACTIVATE:
        if (!IsDesigning() && win::GetKeyState(win::VK_LBUTTON) < 0) {
            win::POINT p;
            win::GetCursorPos(&p);
            TPoint c = ScreenToClient(p);
            int index = TabAtPos(c.x, c.y);
            if (index >= 0 && FPages[std::size_t(index)]->PageEnabled() && CanFocus()) SetFocus();
        }
        break;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
        InvalidateTab(FPageIndex);
        if (Message.Msg == win::WM_KILLFOCUS && win::GetCapture() == (HandleAllocated() ? Handle() : nullptr))
            win::ReleaseCapture();
        break;
    }
    TZelBase::WndProc(Message);
}

} // namespace editor
