// The tabbed notebook: a stack of pages of which one shows, chosen by tabs in one or more rows
// along the top or, with turned captions, the right edge; by index, by caption, by keys, mouse
// and accelerators. Implementations in ZelNotebook.cpp.
#pragma once

#include "editor/ZelController.h"

#include "rtl/StringLists.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace editor {

class TZelNotebook;

enum class TTabOrientation { toTop, toRight };
enum class TNotebookStyle { bsAutoDetect, bsWin31, bsNew };

using TDrawTabEvent = std::function<void(vcl::TObject* Sender, int Index, const std::string& Title,
                                         vcl::TRect R, bool Enabled, bool Active)>;
using TMouseOverTabEvent = std::function<void(vcl::TObject* Sender, int Index)>;
using TPageChangeEvent = std::function<void(vcl::TObject* Sender, int Index, bool& AllowChange)>;
using TPageChangedEvent = std::function<void(vcl::TObject* Sender, int Index)>;
using TTabClickEvent = std::function<void(vcl::TObject* Sender, int Index)>;
using TUserCommandEvent = std::function<void(vcl::TObject* Sender, std::uint16_t Command)>;

// One page: a container for other controls, with its tab's caption, colour and state.
class TZelNotebookPage : public vcl::TWinControl {
public:
    explicit TZelNotebookPage(vcl::TComponent* AOwner);
    ~TZelNotebookPage() override;

    TZelNotebook* Notebook() const { return FNotebook; }
    bool PageEnabled() const { return FPageEnabled; }
    void SetPageEnabled(bool Value);
    int Row() const { return FRow; }
    void SetRow(int Value) { FRow = Value; }
    vcl::TColor TabTextColor() const { return FTabTextColor; }
    void SetTabTextColor(vcl::TColor Value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    // Where the last painting put the tab; empty while the tab is not drawn.
    const vcl::TRect& TabRect() const { return FTabRect; }
    void SetTabRect(const vcl::TRect& Value) { FTabRect = Value; }

    void SetParentComponent(vcl::TComponent* Value) override;
    bool HasParent() const override { return true; }
    // Lets the window go (a hidden page of a notebook that conserves resources).
    void ReleaseHandle() { DestroyHandle(); }

    void WndProc(vcl::TMessage& Message) override;

protected:
    void CMTextChanged(vcl::TMessage& Message) override;

private:
    friend class TZelNotebook;
    TZelNotebook* FNotebook = nullptr;
    bool FPageEnabled = true;
    int FRow = 0;
    vcl::TColor FTabTextColor = vcl::clBtnText;
    bool FTabVisible = true;
    vcl::TRect FTabRect{};
};

// The notebook's pages as a list of captions, with each page as the caption's object.
class TPageAccess : public rtl::TStrings {
public:
    explicit TPageAccess(TZelNotebook* Notebook) : FNotebook(Notebook) {}

    int Count() const override;
    std::string Get(int Index) const override;
    void Put(int Index, std::string_view S) override;
    void* GetObject(int Index) const override;
    void Insert(int Index, std::string_view S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;

protected:
    void SetUpdateState(bool) override {}

private:
    TZelNotebook* FNotebook;
};

class TZelNotebook : public TZelBase {
public:
    explicit TZelNotebook(vcl::TComponent* AOwner);
    ~TZelNotebook() override;

    // --- Pages -----------------------------------------------------------------------------
    int PageCount() const { return int(FPages.size()); }
    TZelNotebookPage* Page(int Index) const;
    rtl::TStrings& Pages() { return *FAccess; }
    // Frees the pages whose captions are not among Value and keeps or makes one page per
    // string, in its order (captions compared without regard to case).
    void SetPages(const rtl::TStrings& Value);
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int Index);
    std::string ActivePageName() const;
    void SetActivePageName(const std::string& Value);
    std::string PageName() const;
    void SetPageName(const std::string& Value);
    bool PageEnabled() const;
    void SetPageEnabled(bool Value);
    int PageHelpContext() const { return PageHelpContextOf(FPageIndex); }
    void SetPageHelpContext(int Value) { SetPageHelpContextOf(FPageIndex, Value); }
    std::string PageHint() const { return PageHintOf(FPageIndex); }
    void SetPageHint(const std::string& Value) { SetPageHintOf(FPageIndex, Value); }
    vcl::TColor TabTextColor() const;
    void SetTabTextColor(vcl::TColor Value);
    int DefaultPageIndex() const { return FDefaultPageIndex; }
    void SetDefaultPageIndex(int Value);

    int PageHelpContextOf(int Index) const;
    void SetPageHelpContextOf(int Index, int Value);
    std::string PageHintOf(int Index) const;
    void SetPageHintOf(int Index, const std::string& Value);
    // A page that is in the list, enabled (every page at design time) and has a visible tab.
    bool PageUsable(int Index) const;
    // The first usable page after (before) Index, wrapping; -1 when none other than Index.
    int NextUsablePage(int Index) const;
    int PrevUsablePage(int Index) const;

    // --- Looks -----------------------------------------------------------------------------
    vcl::TFont* ActiveTabFont() const { return FActiveTabFont.get(); }
    void SetActiveTabFont(vcl::TFont* Value) { FActiveTabFont->Assign(Value); }
    bool ConserveResources() const { return FConserveResources; }
    void SetConserveResources(bool Value);
    bool EchoPageHelp() const { return FEchoPageHelp; }
    void SetEchoPageHelp(bool Value) { FEchoPageHelp = Value; }
    bool EchoPageHint() const { return FEchoPageHint; }
    void SetEchoPageHint(bool Value) { FEchoPageHint = Value; }
    vcl::TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(vcl::TColor Value);
    vcl::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(vcl::TColor Value);
    bool ShadowedText() const { return FShadowedText; }
    void SetShadowedText(bool Value);
    TNotebookStyle Style() const { return FStyle; }
    void SetStyle(TNotebookStyle Value);
    bool TabAutoHeight() const { return FTabAutoHeight; }
    void SetTabAutoHeight(bool Value);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    int TabIndent() const { return FTabIndent; }
    void SetTabIndent(int Value);
    TTabOrientation TabOrientation() const { return FTabOrientation; }
    void SetTabOrientation(TTabOrientation Value);
    int TabRowCount() const { return FTabRowCount; }
    void SetTabRowCount(int Value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);
    vcl::TColor TextShadowColor() const { return FTextShadowColor; }
    void SetTextShadowColor(vcl::TColor Value);

    // --- Layout, as the last layout left it ------------------------------------------------
    int TabsPerRow() const { return FTabsPerRow; }
    int RowCount() const { return FRowCount; }
    int ActiveRow() const { return FActiveRow; }
    int LastRow() const { return FRowCount - 1; }
    void LayoutTabs();
    // The index of the page whose tab holds the client point, or -1.
    int TabAtPos(int X, int Y) const;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void GetChildren(const std::function<void(vcl::TComponent*)>& Proc) const override;
    void ReadState(vcl::TReader& Reader) override;

    TDrawTabEvent OnDrawTab;
    TMouseOverTabEvent OnMouseOverTab;
    TPageChangeEvent OnPageChange;
    TPageChangedEvent OnPageChanged;
    TTabClickEvent OnTabClick;
    TUserCommandEvent OnUserCommand;

protected:
    friend class TZelNotebookPage;
    friend class TPageAccess;

    void Loaded() override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void CreateWnd() override;
    void ShowControl(vcl::TControl* AControl) override;
    void Paint() override;
    void KeyDown(unsigned& Key, vcl::TShiftState Shift) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void WndProc(vcl::TMessage& Message) override;
    void WMGetDlgCode(vcl::TMessage& Message) override;
    void CMDialogChar(vcl::TMessage& Message) override;
    void CMFontChanged(vcl::TMessage& Message) override;
    void CMParentColorChanged(vcl::TMessage& Message) override;
    void CMShowHintChanged(vcl::TMessage& Message) override;

    // Draws a tab's text; answers whether OnDrawTab did.
    virtual bool DrawTab(int Index, const std::string& Title, const vcl::TRect& R, bool Enabled, bool Active);
    virtual void DoPageChange(int Index, bool& AllowChange);
    virtual void DoPageChanged(int Index);
    virtual void DoTabClick(int Index);
    virtual void DoMouseOverTab(int Index);
    virtual void DoUserCommand(std::uint16_t Command);

private:
    void AddPage(TZelNotebookPage* Page, int Index);
    void PageGone(TZelNotebookPage* Page);
    void FreePages();
    TZelNotebookPage* NewPage(const std::string& Caption);
    void SetPageBounds();
    void ReapplyBounds();
    void InvalidateTab(int Index);
    vcl::TRect TabFocusRect(int Index) const;
    bool NewLook() const;
    bool UsableAtRunTime(int Index) const;
    // Raises EInvalidTabFont (at design time renames the font) when the tabs are on the right
    // and the font is not TrueType.
    void CheckTabFont(vcl::TFont* Font);
    void ActiveTabFontChanged();
    int SameRowBack() const;
    void FocusAfterClick();
    void ApplyEchoes();
    void PaintTab(TZelNotebookPage* Page, int Index, vcl::TRect R, bool Active);
    void PaintTabText(int Index, const std::string& Caption, const vcl::TRect& R, bool Enabled, bool Active,
                      vcl::TColor TextColor);
    void PaintPageFrame(int SpanEnd);
    int TextHeightIn(vcl::TFont* Font, const std::string& Text);

    std::vector<TZelNotebookPage*> FPages;
    std::unique_ptr<TPageAccess> FAccess;
    std::unique_ptr<vcl::TFont> FActiveTabFont;
    int FPageIndex = -1;
    int FDefaultPageIndex = 0;
    bool FConserveResources = false;
    bool FEchoPageHelp = false;
    bool FEchoPageHint = false;
    vcl::TColor FHighlightColor = vcl::clBtnHighlight;
    vcl::TColor FShadowColor = vcl::clBtnShadow;
    vcl::TColor FTextShadowColor = vcl::clBtnShadow;
    bool FShadowedText = false;
    TNotebookStyle FStyle = TNotebookStyle::bsAutoDetect;
    bool FTabAutoHeight = true;
    int FTabHeight = 20;
    int FTabIndent = 8;
    TTabOrientation FTabOrientation = TTabOrientation::toTop;
    int FTabRowCount = 0;
    int FTabWidth = 65;
    int FTabsPerRow = 0;
    int FRowCount = 1;
    int FActiveRow = 0;
    bool FKeyboardNavigation = false;
    bool FFreeingPages = false;
};

} // namespace editor
