// Notebooks: a stack of pages of which one shows, turned by index or by a page's caption;
// TNotebook without tabs, TTabbedNotebook with a row of tabs on top. The notebook owns its
// pages. Implementations in Notebooks.cpp.
#pragma once

#include "vcl/ComCtrls.h"

#include <memory>
#include <string>

namespace vcl {

class TNotebookPages;

// A page of a TNotebook.
class TPage : public TCustomControl {
public:
    explicit TPage(TComponent* AOwner);
    ~TPage() override;
    // Read from a stored form under a notebook: the notebook takes the page over.
    void SetParentComponent(TComponent* Value) override;
};

class TNotebook : public TCustomControl {
public:
    // Made with one page, "Default", showing.
    explicit TNotebook(TComponent* AOwner);
    ~TNotebook() override;

    // The pages' captions, each with its page as the object: adding a string makes a page,
    // deleting one frees it, changing one renames it.
    rtl::TStrings* Pages() const;
    void SetPages(const rtl::TStrings& Value);
    // The caption of the page shown; setting one that no page has (in any case) does nothing.
    std::string ActivePage() const;
    void SetActivePage(const std::string& Value);
    // -1 while no page shows; an index out of range is ignored.
    int PageIndex() const;
    void SetPageIndex(int Value);

    void GetChildren(const std::function<void(TComponent*)>& Proc) const override;
    void ReadState(TReader& Reader) override;

    TNotifyEvent OnPageChanged;

protected:
    void Loaded() override;

private:
    friend class TPage;
    std::unique_ptr<TNotebookPages> FPages;
};

class TTabbedNotebook;

// A page of a TTabbedNotebook.
class TTabPage : public TWinControl {
public:
    explicit TTabPage(TComponent* AOwner);
    ~TTabPage() override;
    void SetParentComponent(TComponent* Value) override;

protected:
    void CMTextChanged(TMessage& Message) override;
};

// Asked before the user turns to tab NewTab; AllowChange false keeps the page.
using TPageChangeEvent = std::function<void(TObject* Sender, int NewTab, bool& AllowChange)>;

// A notebook with one tab for each page, in the look of the page control.
class TTabbedNotebook : public TCustomTabControl {
public:
    explicit TTabbedNotebook(TComponent* AOwner);
    ~TTabbedNotebook() override;

    rtl::TStrings* Pages() const;
    void SetPages(const rtl::TStrings& Value);
    std::string ActivePage() const;
    void SetActivePage(const std::string& Value);
    int PageIndex() const;
    void SetPageIndex(int Value);

    void GetChildren(const std::function<void(TComponent*)>& Proc) const override;
    void ReadState(TReader& Reader) override;

    TPageChangeEvent OnChange;

protected:
    int TabCount() override;
    std::string TabCaption(int Index) override;
    int SelectedTab() override { return PageIndex(); }
    void SelectTab(int Index) override { SetPageIndex(Index); }
    bool CanChange(int NewTab) override;
    void Loaded() override;

private:
    friend class TTabPage;
    std::unique_ptr<TNotebookPages> FPages;
};

void RegisterNotebooks();

} // namespace vcl
