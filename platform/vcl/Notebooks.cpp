// The plain and the tabbed notebook, and the list of pages they share.
#include "vcl/Notebooks.h"

#include "vcl/StoredControls.h"

#include <algorithm>

namespace vcl {

// The pages of a notebook and the one that shows, as both kinds of notebook keep them; seen
// from outside as the list of the pages' captions.
class TNotebookPages : public rtl::TStrings {
public:
    using TMakePage = std::function<TWinControl*(TWinControl* Book)>;
    TNotebookPages(TWinControl* Book, TMakePage MakePage, std::function<void()> Turned)
        : FBook(Book), FMakePage(std::move(MakePage)), FTurned(std::move(Turned)) {}

    int Count() const override { return int(FList.size()); }
    std::string Get(int Index) const override { return Page(Index)->Caption(); }
    void Put(int Index, std::string_view S) override {
        Page(Index)->SetCaption(std::string(S));
        Edited();
    }
    void* GetObject(int Index) const override { return Page(Index); }
    void Insert(int Index, std::string_view S) override {
        if (Index < 0 || Index > Count()) ListIndexError(Index);
        TWinControl* page = FMakePage(FBook);
        page->SetCaption(std::string(S));
        // The page made itself the last one; it moves to where it was asked for.
        FList.erase(std::find(FList.begin(), FList.end(), page));
        FList.insert(FList.begin() + Index, page);
        if (FIndex >= Index) ++FIndex;
        // The first page shows at once.
        if (FIndex < 0 && !FBook->IsLoading()) SetIndex(Index);
        Edited();
    }
    void Delete(int Index) override { delete Page(Index); }
    void Clear() override {
        while (!FList.empty()) delete FList.back();
    }
    void Move(int CurIndex, int NewIndex) override {
        TWinControl* shown = Shown();
        TWinControl* page = Page(CurIndex);
        if (NewIndex < 0 || NewIndex >= Count()) ListIndexError(NewIndex);
        FList.erase(FList.begin() + CurIndex);
        FList.insert(FList.begin() + NewIndex, page);
        FIndex = IndexOfPage(shown);
        Edited();
    }

    TWinControl* Page(int Index) const {
        if (Index < 0 || Index >= Count()) ListIndexError(Index);
        return FList[std::size_t(Index)];
    }
    int IndexOfPage(const TWinControl* Page) const {
        auto it = std::find(FList.begin(), FList.end(), Page);
        return it == FList.end() ? -1 : int(it - FList.begin());
    }
    TWinControl* Shown() const { return FIndex >= 0 && FIndex < Count() ? FList[std::size_t(FIndex)] : nullptr; }
    int Index() const { return FIndex; }

    // While loading only the number is kept; Loaded shows that page.
    void SetIndex(int Value) {
        if (FBook->IsLoading()) {
            FIndex = Value;
            return;
        }
        if (Value == FIndex || Value < 0 || Value >= Count()) return;
        if (!TurnPage(FBook, Shown(), Page(Value))) return;
        FIndex = Value;
        FTurned();
    }
    void SetCaption(const std::string& Caption) { SetIndex(IndexOf(Caption)); }

    // A page made for, or read into, the book joins the list at its end.
    void Adopt(TWinControl* Page) {
        if (Page->Owner() != FBook) FBook->InsertComponent(Page);
        FList.push_back(Page);
        Page->SetParent(FBook);
        Edited();
    }
    // A page that goes: the shown one gives way to its neighbour.
    void Forget(TWinControl* Page) {
        int index = IndexOfPage(Page);
        if (index < 0) return;
        FList.erase(FList.begin() + index);
        if (index < FIndex) {
            --FIndex;
        } else if (index == FIndex) {
            FIndex = -1;
            if (!FList.empty() && !FBook->IsDestroying()) SetIndex(std::min(index, Count() - 1));
        }
        Edited();
    }
    // Every page hidden but the one of the index; an index out of range shows none.
    void ShowIndex() {
        if (FIndex >= Count()) FIndex = -1;
        for (int i = 0; i < Count(); ++i) {
            TWinControl* page = FList[std::size_t(i)];
            page->SetVisible(i == FIndex);
            if (i == FIndex) page->BringToFront();
        }
        Edited();
    }
    void Forsake() { FList.clear(); }
    // The stored pages replace those the book was made with; the first shows unless the stored
    // form says otherwise.
    void ReadingPages() {
        Clear();
        FIndex = 0;
    }

private:
    void Edited() {
        if (auto* tabs = dynamic_cast<TTabbedNotebook*>(FBook)) {
            tabs->Invalidate();
            if (!tabs->IsLoading() && !tabs->IsDestroying()) tabs->Realign();
        }
    }

    TWinControl* FBook;
    TMakePage FMakePage;
    std::function<void()> FTurned;
    std::vector<TWinControl*> FList;
    int FIndex = -1;
};

// --- TNotebook ---------------------------------------------------------------------------------

TPage::TPage(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle |= csAcceptsControls;
    SetVisible(false);
    SetAlign(TAlign::alClient);
}

TPage::~TPage() {
    Destroying();
    if (auto* book = dynamic_cast<TNotebook*>(Parent()); book && !book->IsDestroying()) book->FPages->Forget(this);
}

void TPage::SetParentComponent(TComponent* Value) {
    if (auto* book = dynamic_cast<TNotebook*>(Value)) book->FPages->Adopt(this);
    else TCustomControl::SetParentComponent(Value);
}

TNotebook::TNotebook(TComponent* AOwner)
    : TCustomControl(AOwner),
      FPages(std::make_unique<TNotebookPages>(
          this, [](TWinControl* Book) -> TWinControl* {
              auto* page = new TPage(Book);
              static_cast<TNotebook*>(Book)->FPages->Adopt(page);
              return page;
          },
          [this] {
              if (OnPageChanged) OnPageChanged(this);
          })) {
    FControlStyle |= csAcceptsControls;
    SetBounds(0, 0, 150, 150);
    FPages->Add("Default");
    if (IsLoading()) FPages->SetIndex(0);
}

TNotebook::~TNotebook() {
    Destroying();
    FPages->Forsake();
}

rtl::TStrings* TNotebook::Pages() const { return FPages.get(); }
void TNotebook::SetPages(const rtl::TStrings& Value) { FPages->Assign(Value); }
std::string TNotebook::ActivePage() const { return FPages->Shown() ? FPages->Shown()->Caption() : std::string(); }
void TNotebook::SetActivePage(const std::string& Value) { FPages->SetCaption(Value); }
int TNotebook::PageIndex() const { return FPages->Index(); }
void TNotebook::SetPageIndex(int Value) { FPages->SetIndex(Value); }

void TNotebook::GetChildren(const std::function<void(TComponent*)>& Proc) const {
    for (int i = 0; i < FPages->Count(); ++i) Proc(FPages->Page(i));
}

void TNotebook::ReadState(TReader& Reader) {
    FPages->ReadingPages();
    TCustomControl::ReadState(Reader);
}

void TNotebook::Loaded() {
    TCustomControl::Loaded();
    FPages->ShowIndex();
}

// --- TTabbedNotebook ---------------------------------------------------------------------------

TTabPage::TTabPage(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle |= csAcceptsControls;
    SetVisible(false);
    SetAlign(TAlign::alClient);
}

TTabPage::~TTabPage() {
    Destroying();
    if (auto* book = dynamic_cast<TTabbedNotebook*>(Parent()); book && !book->IsDestroying())
        book->FPages->Forget(this);
}

void TTabPage::SetParentComponent(TComponent* Value) {
    if (auto* book = dynamic_cast<TTabbedNotebook*>(Value)) book->FPages->Adopt(this);
    else TWinControl::SetParentComponent(Value);
}

void TTabPage::CMTextChanged(TMessage& M) {
    TWinControl::CMTextChanged(M);
    if (Parent()) Parent()->Invalidate();
}

TTabbedNotebook::TTabbedNotebook(TComponent* AOwner)
    : TCustomTabControl(AOwner),
      FPages(std::make_unique<TNotebookPages>(
          this, [](TWinControl* Book) -> TWinControl* {
              auto* page = new TTabPage(Book);
              static_cast<TTabbedNotebook*>(Book)->FPages->Adopt(page);
              return page;
          },
          [this] { TabsChanged(); })) {
    FCtrlTabTurns = true;
    SetBounds(0, 0, 300, 250);
    FPages->Add("Default");
    if (IsLoading()) FPages->SetIndex(0);
}

TTabbedNotebook::~TTabbedNotebook() {
    Destroying();
    FPages->Forsake();
}

rtl::TStrings* TTabbedNotebook::Pages() const { return FPages.get(); }
void TTabbedNotebook::SetPages(const rtl::TStrings& Value) { FPages->Assign(Value); }
std::string TTabbedNotebook::ActivePage() const {
    return FPages->Shown() ? FPages->Shown()->Caption() : std::string();
}
void TTabbedNotebook::SetActivePage(const std::string& Value) { FPages->SetCaption(Value); }
int TTabbedNotebook::PageIndex() const { return FPages->Index(); }
void TTabbedNotebook::SetPageIndex(int Value) { FPages->SetIndex(Value); }

int TTabbedNotebook::TabCount() { return FPages->Count(); }
std::string TTabbedNotebook::TabCaption(int Index) { return FPages->Get(Index); }

bool TTabbedNotebook::CanChange(int NewTab) {
    bool allow = true;
    if (OnChange) OnChange(this, NewTab, allow);
    return allow;
}

void TTabbedNotebook::GetChildren(const std::function<void(TComponent*)>& Proc) const {
    for (int i = 0; i < FPages->Count(); ++i) Proc(FPages->Page(i));
}

void TTabbedNotebook::ReadState(TReader& Reader) {
    FPages->ReadingPages();
    TCustomTabControl::ReadState(Reader);
}

void TTabbedNotebook::Loaded() {
    TCustomTabControl::Loaded();
    FPages->ShowIndex();
    Realign();
}

// --- Registration for stored forms -----------------------------------------------------------

void RegisterNotebooks() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterClass<TPage>("TPage", "", ControlProperties<TPage>());
    using N = TNotebook;
    RegisterClass<N>("TNotebook", "", With<N>(WinControlProperties<N>(), {
        IntegerProperty<N>("PageIndex", &N::PageIndex, &N::SetPageIndex).WithDefault(0),
    }));
    RegisterClass<TTabPage>("TTabPage", "", WinControlProperties<TTabPage>());
    using T = TTabbedNotebook;
    RegisterClass<T>("TTabbedNotebook", "", With<T>(WinControlProperties<T>(), {
        IntegerProperty<T>("PageIndex", &T::PageIndex, &T::SetPageIndex).WithDefault(0),
    }));
}

namespace {
struct TNotebooksRegistration {
    TNotebooksRegistration() { RegisterNotebooks(); }
} registration;
} // namespace

} // namespace vcl
