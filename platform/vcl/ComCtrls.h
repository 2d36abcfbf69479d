// Tab controls, page controls with their sheets, and status bars, drawn by the class library with
// the window system's GDI. Implementations in ComCtrls.cpp.
#pragma once

#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include "rtl/StringLists.h"

#include <memory>
#include <string>
#include <vector>

namespace vcl {

// Shows NewPage of a control of pages and hides OldPage (either may be null). When the focus was
// on OldPage it goes to the first control of NewPage, or to NewPage or Book themselves; false,
// and nothing turned, when an OnExit on the old page kept the focus there.
bool TurnPage(TWinControl* Book, TWinControl* OldPage, TWinControl* NewPage);

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// What the tab control, the page control and the tabbed notebook share: one row of tabs on top,
// the selected one raised, over a framed area for pages or other controls. A click, the arrow
// keys while it has the focus and a tab's accelerator choose a tab when CanChange allows it.
// Without tabs there is no tab row and the frame takes the whole control.
class TCustomTabControl : public TCustomControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);

    // The area inside the frame and below the tabs, which pages and aligned controls fill.
    TRect DisplayRect();
    // A tab's rectangle, the selected one raised; empty for an index out of range.
    TRect TabRect(int Index);
    // The tab at a client point, or -1.
    int IndexOfTabAt(int X, int Y);

protected:
    // The tabs shown, and which of them is selected (-1: none).
    virtual int TabCount() = 0;
    virtual std::string TabCaption(int Index) = 0;
    virtual int SelectedTab() = 0;
    // Makes the user's choice the selected tab, once CanChange agreed.
    virtual void SelectTab(int Index) = 0;
    virtual bool CanChange(int NewTab) { (void)NewTab; return true; }
    virtual void Change() {}

    // The user's choice of a tab: asks CanChange, selects, tells Change. Whether it is selected.
    bool UserSelect(int Index);
    // For the tabs, their captions or the selection having changed.
    void TabsChanged();

    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void WndProc(TMessage& Message) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;

    // Whether Ctrl+Tab and Ctrl+Shift+Tab turn the tabs while the focus is anywhere inside.
    bool FCtrlTabTurns = false;

private:
    int TabRowHeight();
    int FrameTop();
    void DrawTab(win::HDC DC, int Index, bool Selected);
};

// Tabs only: the client area below them holds whatever controls are put on it.
class TTabControl : public TCustomTabControl {
public:
    explicit TTabControl(TComponent* AOwner);

    rtl::TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(const rtl::TStrings& Value) { FTabs->Assign(Value); }
    // -1 for none; a value out of range is ignored.
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    int TabCount() override { return FTabs->Count(); }
    std::string TabCaption(int Index) override { return FTabs->Get(Index); }
    int SelectedTab() override { return FTabIndex; }
    void SelectTab(int Index) override { SetTabIndex(Index); }
    bool CanChange(int NewTab) override;
    void Change() override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

private:
    void TabsEdited();

    std::unique_ptr<rtl::TStringList> FTabs;
    int FTabIndex = -1;
    int FLastCount = 0;
};

class TPageControl;

// A page of a page control: shown while it is the active page, and hidden with its controls
// otherwise. Its tab can be hidden, so that only code turns to it.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* Value);
    // The position among the control's pages.
    int PageIndex() const;
    void SetPageIndex(int Value);
    // The position among the visible tabs; -1 while the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);

    void SetParent(TWinControl* AParent) override;

protected:
    void CMTextChanged(TMessage& Message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

// Pages with tabs; the active page fills the area below them. Code changes the page without
// the events; the user (click, Ctrl+Tab, a tab's accelerator) only when OnChanging allows it.
// When the focus was on the page left, it goes to the first control of the new one.
class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Value);
    int ActivePageIndex() const;
    // -1 or an index out of range: no active page.
    void SetActivePageIndex(int Value);
    // The page after (or before) CurPage, round the end; with CheckTabVisible only pages with
    // their tab shown. Null when there is none.
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward);

    void GetChildren(const std::function<void(TComponent*)>& Proc) const override;

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    int TabCount() override;
    std::string TabCaption(int Index) override;
    int SelectedTab() override;
    void SelectTab(int Index) override;
    bool CanChange(int NewTab) override;
    void Change() override;
    void ShowControl(TControl* AControl) override;
    void Loaded() override;
    // A stored form names the active page, as a reference to the component.
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TTabSheet;
    void SetActivePageName(const std::string& Value);
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void MovePage(TTabSheet* Page, int NewIndex);
    void ChangeActivePage(TTabSheet* Page);
    std::vector<TTabSheet*> VisibleTabs() const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    // The page a stored form names as active, chosen once every page is read.
    std::string FActivePageName;
};

// --- Status bar ------------------------------------------------------------------------------

enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

// One panel of a status bar; the last one runs to the bar's right end whatever its width.
class TStatusPanel : public TCollectionItem {
public:
    explicit TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel Value);

private:
    std::string FText;
    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TStatusPanelBevel FBevel = TStatusPanelBevel::pbLowered;
};

class TStatusPanels : public TCollection {
public:
    explicit TStatusPanels(TStatusBar* StatusBar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FStatusBar;
};

// A bar of sunken panels along the bottom of its form, or one simple text across it. On a
// sizeable form a grip in its right corner resizes the form.
class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& Value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);

    // A panel's frame rectangle (simple mode: index 0 is the simple panel).
    TRect PanelRect(int Index);
    // The grip's rectangle; empty while no grip shows.
    TRect GripRect();

    TNotifyEvent OnResize;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMSetCursor(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;

private:
    void DrawPanel(win::HDC DC, TRect R, const std::string& Text, TAlignment Alignment, TStatusPanelBevel Bevel);

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
    // The grip being dragged: where the drag began on the screen, and the form's size then.
    bool FSizing = false;
    TPoint FSizeFrom{0, 0};
    int FFormWidth = 0, FFormHeight = 0;
};

// Registers the controls of this family for stored forms (once; later calls do nothing).
void RegisterComCtrls();

} // namespace vcl
