// The Quick Code window: named code snippets kept in the IDE's code-template file, browsed in a
// sorted list, edited, and inserted at the code editor's cursor indented to its column.
// Laid out by its form file CodeForm.dfm; implementations in CodeForm.cpp.
#pragma once

#include "experts/MoveablePane.h"
#include "experts/SnippetFile.h"

#include "vcl/Buttons.h"
#include "vcl/EditCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/FontDialogs.h"
#include "vcl/Forms.h"
#include "vcl/ListCtrls.h"
#include "vcl/Menus.h"

#include <memory>
#include <string>
#include <vector>

namespace experts {

enum TEditMode { emBrowse = 0, emAdding = 1, emModified = 2 };

class TfrmCodeForm : public vcl::TForm {
public:
    explicit TfrmCodeForm(vcl::TComponent* AOwner);
    ~TfrmCodeForm() override;

    vcl::TPanel* pnlLeft = nullptr;
    vcl::TPanel* pnlNameHeader = nullptr;
    vcl::TListBox* lstName = nullptr;
    vcl::TEdit* edtName = nullptr;
    TMoveablePane* pnlMove = nullptr;
    vcl::TPanel* pnlRight = nullptr;
    vcl::TPanel* pnlDescription = nullptr;
    vcl::TEdit* edtDescription = nullptr;
    vcl::TMemo* mmoCode = nullptr;
    vcl::TPanel* pnlButtons = nullptr;
    vcl::TSpeedButton* btnInsert = nullptr;
    vcl::TSpeedButton* btnAdd = nullptr;
    vcl::TSpeedButton* btnDelete = nullptr;
    vcl::TSpeedButton* btnSave = nullptr;
    vcl::TSpeedButton* btnCancel = nullptr;
    vcl::TSpeedButton* btnClose = nullptr;
    vcl::TSpeedButton* btnRefresh = nullptr;
    vcl::TPopupMenu* mnuCode = nullptr;
    vcl::TMenuItem* mnuCodeCut = nullptr;
    vcl::TMenuItem* mnuCodeCopy = nullptr;
    vcl::TMenuItem* mnuCodePaste = nullptr;
    vcl::TMenuItem* mnuCodeSep = nullptr;
    vcl::TMenuItem* mnuCodeFont = nullptr;
    vcl::TFontDialog* dlgFont = nullptr;

    // Reads the file's snippets into the list; raises when the file cannot be read.
    void LoadSnippets(const std::string& FileName);
    // Rewrites the whole file: the text before the first header, then every entry in the order
    // of the file, new ones last.
    void SaveSnippets(const std::string& FileName);
    void SetEditMode(int Mode);
    int EditMode() const { return FEditMode; }
    // Finds the editor's cursor and the buffer offset the snippet goes to.
    void LocateCursor();
    void InsertSnippet();
    // The memo's lines, each indented to the cursor's column and ending in CR LF.
    std::string IndentSnippet();
    // Empties the edits and the selection and goes back to browsing, as for a fresh showing.
    void ClearForBrowsing();

    const std::string& CodeFile() const { return FCodeFile; }
    vcl::TFont* CodeFont() const { return FCodeFont.get(); }
    // The snippet of a list entry; null for none.
    TCodeFrag* Snippet(int Index) const;

    void FormCreate(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    void FormCloseQuery(vcl::TObject* Sender, bool& CanClose);
    void FormDestroy(vcl::TObject* Sender);
    void FormResize(vcl::TObject* Sender);
    void lstNameClick(vcl::TObject* Sender);
    void lstNameDblClick(vcl::TObject* Sender);
    void btnInsertClick(vcl::TObject* Sender);
    void btnAddClick(vcl::TObject* Sender);
    void btnDeleteClick(vcl::TObject* Sender);
    void btnSaveClick(vcl::TObject* Sender);
    void btnCancelClick(vcl::TObject* Sender);
    void btnCloseClick(vcl::TObject* Sender);
    void btnRefreshClick(vcl::TObject* Sender);
    void mmoCodeChange(vcl::TObject* Sender);
    void edtDescriptionChange(vcl::TObject* Sender);
    void pnlLeftResize(vcl::TObject* Sender);
    void mnuCodeCutClick(vcl::TObject* Sender);
    void mnuCodeCopyClick(vcl::TObject* Sender);
    void mnuCodePasteClick(vcl::TObject* Sender);
    void mnuCodeFontClick(vcl::TObject* Sender);

protected:
    void Dispatch(vcl::TMessage& Message) override;

private:
    // Saves as the Save button does; false when nothing could be saved (no name typed yet).
    bool SaveChanges();
    void ApplyCodeFont();
    void ClearSnippets();
    // Puts a snippet into the sorted list after the entries of the same name.
    void AddEntry(const std::string& Name, TCodeFrag* Frag);
    void ReadSettings();
    void WriteSettings();
    // The list entry that holds the snippet; -1 when none.
    int IndexOfSnippet(const TCodeFrag* Frag) const;

    // The list shows them sorted by name; each entry's object is its snippet here.
    TSnippetFile FFile;
    // The snippet being shown and edited; null when none.
    TCodeFrag* FCurrent = nullptr;
    int FEditMode = -1;
    std::string FCodeFile;
    std::unique_ptr<vcl::TFont> FCodeFont;
    int FCursorCol = 1;
    int FCursorLine = 1;
    int FInsertOffset = 0;
};

} // namespace experts
