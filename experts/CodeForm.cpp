// The Quick Code window.
#include "experts/CodeForm.h"

#include "experts/CodeParser.h"
#include "experts/PropDefaults.h"

#include "host/Interface.h"
#include "rtl/Files.h"
#include "rtl/Registry.h"
#include "rtl/StringLists.h"
#include "rtl/ScopeGuards.h"
#include "rtl/SysUtils.h"
#include "vcl/Dialogs.h"
#include "vcl/Streaming.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace experts {

using namespace vcl;

namespace {

constexpr const char* kDefaultCodeFile = "C:\\BORLAND\\DELPHI 2.0\\DELPHI32.DCI";
constexpr const char* kTitle = "Quick Code Expert";

// A stored integer; the default when it is missing or of another kind.
int ReadInt(rtl::TRegistry& Reg, const char* Name, int Default, bool* Found = nullptr) {
    bool found = Reg.ValueExists(Name) && Reg.GetDataType(Name) == rtl::TRegDataType::rdInteger;
    if (Found) *Found = found;
    return found ? Reg.ReadInteger(Name) : Default;
}

std::string ReadText(rtl::TRegistry& Reg, const char* Name) {
    if (!Reg.ValueExists(Name) || Reg.GetDataType(Name) != rtl::TRegDataType::rdString) return {};
    return Reg.ReadString(Name);
}

void FocusIfCan(TWinControl* Control) {
    if (Control->CanFocus()) Control->SetFocus();
}

} // namespace

// Laid out by its form file, CodeForm.dfm.
TfrmCodeForm::TfrmCodeForm(TComponent* AOwner) : TForm(AOwner) {}

TfrmCodeForm::~TfrmCodeForm() {
    // The form's destroy event runs in the base destructor, after this class's members are gone.
    OnDestroy = nullptr;
    FormDestroy(this);
}

TCodeFrag* TfrmCodeForm::Snippet(int Index) const {
    if (Index < 0 || Index >= lstName->Items()->Count()) return nullptr;
    return static_cast<TCodeFrag*>(lstName->Items()->Objects(Index));
}

int TfrmCodeForm::IndexOfSnippet(const TCodeFrag* Frag) const {
    return Frag ? lstName->Items()->IndexOfObject(Frag) : -1;
}

void TfrmCodeForm::ClearSnippets() {
    FCurrent = nullptr;
    if (lstName) lstName->Items()->Clear();
    FFile.Clear();
}

// --- the snippet file --------------------------------------------------------------------------

void TfrmCodeForm::LoadSnippets(const std::string& FileName) {
    ClearSnippets();
    FFile.Load(FileName);
    // The list is filled unsorted and sorted once, stably: entries of the same name keep the
    // order of the file.
    lstName->SetSorted(false);
    for (const auto& frag : FFile.Snippets()) lstName->Items()->AddObject(frag->Name, frag.get());
    lstName->SetSorted(true);
}

void TfrmCodeForm::SaveSnippets(const std::string& FileName) { FFile.Save(FileName); }

void TfrmCodeForm::AddEntry(const std::string& Name, TCodeFrag* Frag) {
    // After the entries of the same name, where it will stand when the file is read again.
    rtl::TStringList* items = lstName->Items();
    int index = 0;
    items->Find(Name, index);
    while (index < items->Count() && rtl::AnsiCompareText(items->Get(index), Name) == 0) ++index;
    lstName->SetSorted(false);
    items->Insert(index, Name);
    items->PutObject(index, Frag);
    lstName->SetSorted(true);
}

// --- creation, settings, closing ---------------------------------------------------------------

void TfrmCodeForm::FormCreate(TObject*) {
    // A name given twice is two snippets.
    lstName->Items()->SetDuplicates(rtl::dupAccept);
    FCodeFont = std::make_unique<TFont>();
    FCodeFont->SetName("Courier New");
    FCodeFont->SetSize(10);
    rtl::TRegistry reg;
    reg.OpenKey(ZestorKey, true);

    FCodeFile = ReadText(reg, "CodeFile");
    if (FCodeFile.empty()) FCodeFile = kDefaultCodeFile;
    try {
        LoadSnippets(FCodeFile);
    } catch (const std::exception&) {
        ClearSnippets();
        MessageDlg("Could not load code snippets", TMsgDlgType::mtError, mbOK, 0);
    }
    SetEditMode(emBrowse);
    ReadSettings();
    ApplyCodeFont();
    FormResize(this);
    ClearForBrowsing();
}

void TfrmCodeForm::ReadSettings() {
    rtl::TRegistry reg;
    if (!reg.OpenKey(ZestorKey, true)) return;
    // Every value missing takes the designed one; the designed place is the centre of the screen.
    const int designedLeft = (Screen->Width() - Width()) / 2, designedTop = (Screen->Height() - Height()) / 2;
    bool hasLeft = false, hasTop = false, hasRight = false, hasBottom = false;
    int left = ReadInt(reg, "PosLeft", designedLeft, &hasLeft);
    int top = ReadInt(reg, "PosTop", designedTop, &hasTop);
    int right = ReadInt(reg, "PosRight", left + Width(), &hasRight);
    int bottom = ReadInt(reg, "PosBottom", top + Height(), &hasBottom);
    if (hasLeft || hasTop || hasRight || hasBottom) {
        int width = right - left, height = bottom - top;
        if (width <= 0) width = Width();
        if (height <= 0) height = Height();
        SetBounds(left, top, width, height);
        if (hasLeft || hasTop) SetPosition(TPosition::poDesigned);
    }
    int listWidth = ReadInt(reg, "ListWidth", pnlLeft->Width());
    if (listWidth > 0) pnlLeft->SetWidth(listWidth);
    std::string fontName = ReadText(reg, "FontName");
    if (!fontName.empty()) FCodeFont->SetName(fontName);
    int fontSize = ReadInt(reg, "FontSize", FCodeFont->Size());
    if (fontSize > 0) FCodeFont->SetSize(fontSize);
}

void TfrmCodeForm::WriteSettings() {
    rtl::TRegistry reg;
    if (!reg.OpenKey(ZestorKey, true)) return;
    reg.WriteString("FontName", FCodeFont->Name());
    reg.WriteInteger("FontSize", FCodeFont->Size());
    reg.WriteInteger("PosLeft", Left());
    reg.WriteInteger("PosTop", Top());
    reg.WriteInteger("PosRight", Left() + Width());
    reg.WriteInteger("PosBottom", Top() + Height());
    reg.WriteInteger("ListWidth", pnlLeft->Width());
}

void TfrmCodeForm::ApplyCodeFont() {
    mmoCode->SetFont(FCodeFont.get());
    lstName->SetFont(FCodeFont.get());
    edtName->SetFont(FCodeFont.get());
}

void TfrmCodeForm::ClearForBrowsing() {
    edtName->SetText("");
    edtDescription->SetText("");
    lstName->SetItemIndex(-1);
    mmoCode->SetText("");
    FCurrent = nullptr;
    SetEditMode(emBrowse);
}

void TfrmCodeForm::FormCloseQuery(TObject*, bool& CanClose) {
    if (FEditMode == emBrowse) return;
    const int answer = MessageDlg(std::string(kTitle) + "\rDo you want to save your changes ?",
                                  TMsgDlgType::mtConfirmation, mbYesNoCancel, 0);
    if (answer == mrYes) {
        // A snippet still without its name keeps the window open for it.
        if (!SaveChanges()) CanClose = false;
    } else if (answer == mrNo) {
        btnCancelClick(this);
    } else {
        CanClose = false;
    }
}

void TfrmCodeForm::FormClose(TObject*, TCloseAction&) {
    try {
        WriteSettings();
    } catch (const std::exception&) {
        Application->HandleException(this);
    }
}

void TfrmCodeForm::FormDestroy(TObject*) {
    ClearSnippets();
    FCodeFont.reset();
}

void TfrmCodeForm::Dispatch(TMessage& Message) {
    TForm::Dispatch(Message);
    if (Message.Msg == win::WM_GETMINMAXINFO && Message.LParam && lstName && btnClose) {
        auto* info = reinterpret_cast<win::MINMAXINFO*>(Message.LParam);
        info->ptMinTrackSize.x = lstName->Width() + btnClose->Left() + 90;
        info->ptMinTrackSize.y = 150;
    }
}

void TfrmCodeForm::FormResize(TObject*) {
    edtDescription->SetWidth(pnlDescription->Width() - 58);
    pnlLeftResize(this);
}

void TfrmCodeForm::pnlLeftResize(TObject*) {
    edtName->SetWidth(lstName->Width() - win::GetSystemMetrics(win::SM_CXVSCROLL));
}

// --- modes and the list ------------------------------------------------------------------------

void TfrmCodeForm::SetEditMode(int Mode) {
    if (Mode == FEditMode) {
        if (Mode == emBrowse) btnInsert->SetEnabled(lstName->ItemIndex() >= 0);
        return;
    }
    FEditMode = Mode;
    switch (Mode) {
    case emBrowse:
        btnAdd->SetDown(false);
        btnSave->SetEnabled(false);
        btnCancel->SetEnabled(false);
        btnAdd->SetEnabled(true);
        btnDelete->SetEnabled(true);
        lstName->SetEnabled(true);
        edtName->SetVisible(false);
        btnInsert->SetEnabled(lstName->ItemIndex() >= 0);
        break;
    case emAdding:
        edtName->SetText("");
        edtName->SetVisible(true);
        edtName->BringToFront();
        FocusIfCan(edtName);
        btnSave->SetEnabled(true);
        btnCancel->SetEnabled(true);
        btnDelete->SetEnabled(false);
        btnInsert->SetEnabled(false);
        lstName->SetEnabled(false);
        break;
    case emModified:
        btnSave->SetEnabled(true);
        btnCancel->SetEnabled(true);
        break;
    }
}

void TfrmCodeForm::lstNameClick(TObject*) {
    TCodeFrag* frag = Snippet(lstName->ItemIndex());
    if (!frag) return;
    FCurrent = frag;
    edtDescription->SetText(frag->Description);
    mmoCode->SetText(frag->Code);
    SetEditMode(emBrowse);
}

void TfrmCodeForm::lstNameDblClick(TObject* Sender) { btnInsertClick(Sender); }

void TfrmCodeForm::mmoCodeChange(TObject*) {
    if (FEditMode == emBrowse) SetEditMode(emModified);
}

void TfrmCodeForm::edtDescriptionChange(TObject*) {
    if (FEditMode == emBrowse) SetEditMode(emModified);
}

// --- the buttons -------------------------------------------------------------------------------

void TfrmCodeForm::btnAddClick(TObject*) {
    btnAdd->SetDown(false);
    SetEditMode(emAdding);
}

bool TfrmCodeForm::SaveChanges() {
    TCodeFrag* target = nullptr;
    const bool adding = FEditMode == emAdding;
    if (adding) {
        const std::string name = edtName->Text();
        if (rtl::Trim(name).empty()) {
            FocusIfCan(edtName);
            return false;
        }
        target = FFile.Add(name);
        AddEntry(name, target);
    } else {
        target = IndexOfSnippet(FCurrent) >= 0 ? FCurrent : nullptr;
        if (!target) {
            // Text typed with no snippet chosen becomes a new snippet once it has a name.
            SetEditMode(emAdding);
            return false;
        }
    }
    const TCodeFrag before = *target;
    target->Description = edtDescription->Text();
    target->Code = mmoCode->Text();
    {
        // The file is as it was; so is the list, and the typed text stays for another try.
        rtl::TScopeExit undo([&] {
            if (adding) {
                lstName->Items()->Delete(IndexOfSnippet(target));
                std::ignore = FFile.Take(target);
            } else {
                *target = before;
            }
        });
        SaveSnippets(FCodeFile);
        undo.Dismiss();
    }
    if (adding) edtName->SetText("");
    FCurrent = target;
    lstName->SetItemIndex(IndexOfSnippet(target));
    SetEditMode(emBrowse);
    FocusIfCan(lstName);
    lstNameClick(this);
    return true;
}

void TfrmCodeForm::btnSaveClick(TObject*) {
    btnSave->SetDown(false);
    SaveChanges();
}

void TfrmCodeForm::btnCancelClick(TObject*) {
    btnCancel->SetDown(false);
    SetEditMode(emBrowse);
    FocusIfCan(lstName);
    if (lstName->ItemIndex() >= 0) {
        lstNameClick(this);
        return;
    }
    FCurrent = nullptr;
    edtDescription->SetText("");
    mmoCode->SetText("");
    SetEditMode(emBrowse);
}

void TfrmCodeForm::btnDeleteClick(TObject*) {
    btnDelete->SetDown(false);
    const int index = lstName->ItemIndex();
    const int count = lstName->Items()->Count();
    TCodeFrag* frag = Snippet(index);
    if (!frag) return;
    const std::string name = lstName->Items()->Get(index);
    mmoCode->SetText("");
    edtDescription->SetText("");
    lstName->Items()->Delete(index);
    auto taken = FFile.Take(frag);
    {
        rtl::TScopeExit restore([&] {
            // Nothing is deleted when the file keeps the snippet.
            FFile.PutBack(std::move(taken.first), taken.second);
            AddEntry(name, frag);
            lstName->SetItemIndex(IndexOfSnippet(frag));
            lstNameClick(this);
        });
        SaveSnippets(FCodeFile);
        restore.Dismiss();
    }
    if (FCurrent == frag) FCurrent = nullptr;
    btnSave->SetEnabled(false);
    lstName->SetItemIndex(index == count - 1 ? index - 1 : index);
    lstNameClick(this);
    SetEditMode(emBrowse);
}

void TfrmCodeForm::btnRefreshClick(TObject*) {
    btnRefresh->SetDown(false);
    const int index = lstName->ItemIndex();
    const std::string selected = index >= 0 ? lstName->Items()->Get(index) : std::string();
    try {
        LoadSnippets(FCodeFile);
    } catch (const std::exception&) {
        ClearSnippets();
        MessageDlg("Could not load code snippets", TMsgDlgType::mtError, mbOK, 0);
    }
    // The snippet shown before is shown again when it is still there.
    const int again = index >= 0 ? lstName->Items()->IndexOf(selected) : -1;
    if (again >= 0) {
        lstName->SetItemIndex(again);
        lstNameClick(this);
    } else {
        ClearForBrowsing();
    }
    SetEditMode(emBrowse);
}

void TfrmCodeForm::btnCloseClick(TObject*) { Close(); }

// --- the code menu -----------------------------------------------------------------------------

void TfrmCodeForm::mnuCodeCutClick(TObject*) { mmoCode->CutToClipboard(); }
void TfrmCodeForm::mnuCodeCopyClick(TObject*) { mmoCode->CopyToClipboard(); }
void TfrmCodeForm::mnuCodePasteClick(TObject*) { mmoCode->PasteFromClipboard(); }

void TfrmCodeForm::mnuCodeFontClick(TObject*) {
    dlgFont->SetFont(FCodeFont.get());
    if (!dlgFont->Execute()) return;
    FCodeFont->Assign(dlgFont->Font());
    ApplyCodeFont();
}

// --- insertion ---------------------------------------------------------------------------------

void TfrmCodeForm::btnInsertClick(TObject*) {
    if (rtl::Trim(mmoCode->Text()).empty()) {
        MessageDlg(std::string(kTitle) + "\rThere is no code to insert", TMsgDlgType::mtInformation, mbOK, 0);
        return;
    }
    try {
        LocateCursor();
        InsertSnippet();
    } catch (const ECodeParseError& e) {
        MessageDlg(e.Message(), TMsgDlgType::mtError, mbOK, 0);
    }
}

void TfrmCodeForm::LocateCursor() {
    TCodeParser parser(pmCode);
    {
        host::TInterfaceRef<host::TIEditView> view(parser.Editor()->GetView(0));
        if (!view) throw ECodeParseError("Could not open " + parser.FileName());
        const host::TEditPos pos = view->GetPos(0);
        FCursorCol = std::max<int>(1, pos.Col);
        FCursorLine = std::max<int>(1, pos.Line);
    }
    host::TInterfaceRef<host::TIEditReader> reader(parser.CreateReader());
    parser.SetPosition(0);
    parser.ResetReader();
    const int lineCount = parser.Editor()->LinesInBuffer();
    // A delivered line starts at `at`: the first with its text, every later one with the LF of
    // the break before it.
    int next = 0;
    for (int read = 0; read < lineCount && !parser.AtEnd(); ++read) {
        const int at = next;
        const std::string line = parser.ReadLine(reader.Get());
        next = at + static_cast<int>(line.size()) + 1;
        if (read + 1 < FCursorLine) continue;
        const bool leadingBreak = read > 0 && !line.empty() && line[0] == '\n';
        const int textStart = leadingBreak ? at + 1 : at;
        const int textLength = static_cast<int>(line.size()) - (leadingBreak ? 1 : 0);
        FInsertOffset = FCursorCol <= textLength ? textStart + FCursorCol - 1 : textStart;
        return;
    }
    // A cursor below the text: the end of the text.
    FInsertOffset = std::max(0, next - 1);
}

std::string TfrmCodeForm::IndentSnippet() {
    const std::string indent(static_cast<std::size_t>(FCursorCol > 1 ? FCursorCol - 1 : 0), ' ');
    rtl::TStringList lines;
    lines.SetText(mmoCode->Text());
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) text += indent + lines.Get(i) + "\r\n";
    return text;
}

void TfrmCodeForm::InsertSnippet() {
    const std::string text = IndentSnippet();
    TCodeParser parser(pmCode);
    {
        host::TInterfaceRef<host::TIEditWriter> writer(parser.CreateWriter());
        writer->CopyTo(FInsertOffset);
        writer->Insert(text.c_str());
    }
    host::TInterfaceRef<host::TIEditView> view(parser.Editor()->GetView(0));
    if (!view) return;
    view->SetPos(1, host::TEditPos{1, std::max(1, FCursorLine - 1)});
    view->SetPos(0, host::TEditPos{1, FCursorLine});
}

namespace {

struct TCodeFormRegistration {
    TCodeFormRegistration() {
        using F = TfrmCodeForm;
        RegisterFormClass<F>("TfrmCodeForm", "TForm",
                             {
                                 PublishedField("pnlLeft", &F::pnlLeft),
                                 PublishedField("pnlNameHeader", &F::pnlNameHeader),
                                 PublishedField("lstName", &F::lstName),
                                 PublishedField("edtName", &F::edtName),
                                 PublishedField("pnlMove", &F::pnlMove),
                                 PublishedField("pnlRight", &F::pnlRight),
                                 PublishedField("pnlDescription", &F::pnlDescription),
                                 PublishedField("edtDescription", &F::edtDescription),
                                 PublishedField("mmoCode", &F::mmoCode),
                                 PublishedField("pnlButtons", &F::pnlButtons),
                                 PublishedField("btnInsert", &F::btnInsert),
                                 PublishedField("btnAdd", &F::btnAdd),
                                 PublishedField("btnDelete", &F::btnDelete),
                                 PublishedField("btnSave", &F::btnSave),
                                 PublishedField("btnCancel", &F::btnCancel),
                                 PublishedField("btnClose", &F::btnClose),
                                 PublishedField("btnRefresh", &F::btnRefresh),
                                 PublishedField("mnuCode", &F::mnuCode),
                                 PublishedField("mnuCodeCut", &F::mnuCodeCut),
                                 PublishedField("mnuCodeCopy", &F::mnuCodeCopy),
                                 PublishedField("mnuCodePaste", &F::mnuCodePaste),
                                 PublishedField("mnuCodeSep", &F::mnuCodeSep),
                                 PublishedField("mnuCodeFont", &F::mnuCodeFont),
                                 PublishedField("dlgFont", &F::dlgFont),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("FormClose", &F::FormClose),
                                 PublishedMethod("FormCloseQuery", &F::FormCloseQuery),
                                 PublishedMethod("FormDestroy", &F::FormDestroy),
                                 PublishedMethod("FormResize", &F::FormResize),
                                 PublishedMethod("lstNameClick", &F::lstNameClick),
                                 PublishedMethod("lstNameDblClick", &F::lstNameDblClick),
                                 PublishedMethod("btnInsertClick", &F::btnInsertClick),
                                 PublishedMethod("btnAddClick", &F::btnAddClick),
                                 PublishedMethod("btnDeleteClick", &F::btnDeleteClick),
                                 PublishedMethod("btnSaveClick", &F::btnSaveClick),
                                 PublishedMethod("btnCancelClick", &F::btnCancelClick),
                                 PublishedMethod("btnCloseClick", &F::btnCloseClick),
                                 PublishedMethod("btnRefreshClick", &F::btnRefreshClick),
                                 PublishedMethod("mmoCodeChange", &F::mmoCodeChange),
                                 PublishedMethod("edtDescriptionChange", &F::edtDescriptionChange),
                                 PublishedMethod("pnlLeftResize", &F::pnlLeftResize),
                                 PublishedMethod("mnuCodeCutClick", &F::mnuCodeCutClick),
                                 PublishedMethod("mnuCodeCopyClick", &F::mnuCodeCopyClick),
                                 PublishedMethod("mnuCodePasteClick", &F::mnuCodePasteClick),
                                 PublishedMethod("mnuCodeFontClick", &F::mnuCodeFontClick),
                             });
    }
} registration;

} // namespace

} // namespace experts
