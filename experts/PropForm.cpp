// The Property Expert's wizard window.
#include "experts/PropForm.h"

#include "rtl/Exceptions.h"
#include "vcl/Dialogs.h"
#include "vcl/Streaming.h"

#include <set>

namespace experts {

using namespace vcl;

namespace {

const char* const kSimpleTypes[] = {"string", "Boolean", "Integer", "ShortInt", "SmallInt", "LongInt",
                                    "Byte", "Word", "Cardinal", "Char", "ByteBool", "WordBool", "LongBool",
                                    "Single", "Double", "Extended", "Comp", "Currency"};
const char* const kEnumTypes[] = {"TAlignment", "TColor"};
const char* const kEventTypes[] = {"TNotifyEvent", "TKeyEvent", "TKeyPressEvent", "TMouseEvent", "TCloseEvent",
                                   "TCloseQuery", "TDragDropEvent", "TDragOverEvent", "THelpEvent"};
const char* const kVisibilities[] = {"private", "protected", "public", "published", "automated"};
const char* const kAccessTypes[] = {"none", "direct", "method"};
const char* const kMethodVisibilities[] = {"private", "protected"};
const char* const kOverrides[] = {"", "virtual", "dynamic", "override"};

template <std::size_t N>
void Fill(TComboBox* Box, const char* const (&Items)[N]) {
    Box->Items()->Clear();
    for (const char* item : Items) Box->Items()->Add(item);
}

int ClampIndex(int Value, int Count) { return Value >= 0 && Value < Count ? Value : -1; }

} // namespace

// Laid out by its form file, PropForm.dfm.
TfrmProperties::TfrmProperties(TComponent* AOwner) : TForm(AOwner), FDefaults(std::make_unique<TPropDefault>()) {
    LoadDefaults(*FDefaults);
}

TfrmProperties::~TfrmProperties() {
    if (Application && Application->OnHint) Application->OnHint = nullptr;
}

void TfrmProperties::FormCreate(TObject*) {
    Application->OnHint = [this](TObject* S) { ShowHint(S); };
    SetMode(0);
    pgeProperties->SetActivePage(tabName);
    Fill(cbxVisibility, kVisibilities);
    Fill(cbxOptVisibility, kVisibilities);
    Fill(cbxOptReadAccessType, kAccessTypes);
    Fill(cbxOptWriteAccessType, kAccessTypes);
    Fill(cbxMethodVisibility, kMethodVisibilities);
    Fill(cbxOptMethodVisibility, kMethodVisibilities);
    Fill(cbxOverride, kOverrides);
    Fill(cbxOptMethodOverride, kOverrides);
    Fill(cbxOptDataType, kSimpleTypes);
    for (const char* t : kEnumTypes) cbxOptDataType->Items()->Add(t);
    for (const char* t : kEventTypes) cbxOptDataType->Items()->Add(t);
    Fill(cbxDataType, kSimpleTypes);
}

void TfrmProperties::ShowHint(TObject*) {
    barStatus->Panels()->Items(1)->SetText(GetLongHint(Application->Hint()));
}

void TfrmProperties::SetMode(int Mode) {
    FMode = Mode;
    btnOptions->SetEnabled(Mode == 0);
    btnNext->SetEnabled(Mode == 0);
    btnBack->SetEnabled(false);
    btnOK->SetEnabled(Mode == 1);
    btnOK->SetCaption(Mode == 1 ? "Save" : "Insert");
    btnOK->SetHint(Mode == 1 ? "Save property defaults" : "Insert the property");
    btnCancel->SetHint(Mode == 1 ? "Quit the expert without saving defaults"
                                 : "Quit the expert without inserting a property");
}

void TfrmProperties::ShowPageText() {
    TTabSheet* page = pgeProperties->ActivePage();
    std::string text = page == tabName     ? "Page 1 of 3"
                       : page == tabAccess ? "Page 2 of 3"
                       : page == tabOther  ? "Page 3 of 3"
                                           : "Options Page";
    barStatus->Panels()->Items(0)->SetText(text);
}

void TfrmProperties::PrepareWizard() {
    SetMode(0);
    std::unique_ptr<rtl::TStringList> classes = ListClasses(tkClassTypes);
    if (classes->Count() == 0) throw EPropExpertError("There are no classes in this unit");
    FTurning = true;
    pgeProperties->SetActivePage(tabName);
    FTurning = false;
    ShowPageText();
    btnBack->SetEnabled(false);
    btnNext->SetEnabled(true);
    btnOK->SetEnabled(false);
    btnCancel->SetEnabled(true);
    cbxClass->Items()->Assign(*classes);
    cbxClass->SetItemIndex(-1);
    edtName->SetText("");

    chkArray->SetChecked(FDefaults->ArrayProp);
    chkArrayClick(chkArray);
    chkArrayDefault->SetChecked(false);
    edtArrayIndexes->SetText(chkArray->Checked() ? FDefaults->ArrayIndex : std::string());

    optTypeSimple->SetChecked(true);
    optTypeSimpleClick(optTypeSimple);
    cbxDataType->SetText(FDefaults->DataType);
    FVisibility = ClampIndex(FDefaults->Visibility, 5);
    cbxVisibility->SetItemIndex(FVisibility);

    FReadField.clear();
    FWriteField.clear();
    FReadMethod.clear();
    FWriteMethod.clear();
    chkSameReadWriteField->SetChecked(true);

    TRadioButton* read[] = {optReadNone, optReadDirect, optReadMethod};
    TRadioButton* write[] = {optWriteNone, optWriteDirect, optWriteMethod};
    int r = FDefaults->ReadAccessType <= 2 ? FDefaults->ReadAccessType : 1;
    read[r]->SetChecked(true);
    if (r == 0) optReadNoneClick(read[r]);
    else if (r == 1) optReadDirectClick(read[r]);
    else optReadMethodClick(read[r]);
    edtReadField->SetText("");
    edtReadMethod->SetText("");
    int w = FDefaults->WriteAccessType <= 2 ? FDefaults->WriteAccessType : 1;
    write[w]->SetChecked(true);
    if (w == 0) optWriteNoneClick(write[w]);
    else if (w == 1) optWriteDirectClick(write[w]);
    else optWriteMethodClick(write[w]);
    edtWriteField->SetText("");
    edtWriteMethod->SetText("");

    FMethodVisibility = FDefaults->MethodVisibility <= 1 ? FDefaults->MethodVisibility : 0;
    cbxMethodVisibility->SetItemIndex(FMethodVisibility);
    int o = FDefaults->MethodOverride <= 3 ? FDefaults->MethodOverride : 0;
    cbxOverride->SetItemIndex(o);
    FOverride = kOverrides[o];

    for (TCheckBox* c : {chkDefault, chkIndex, chkStorage}) c->SetChecked(false);
    for (TEdit* e : {edtDefault, edtIndex, edtStorage}) e->SetText("");
    chkDefaultClick(chkDefault);
    chkIndexClick(chkIndex);
    chkStorageClick(chkStorage);
}

void TfrmProperties::FormShow(TObject*) {
    FTurning = true;
    pgeProperties->SetActivePage(FMode == 1 ? tabOptions : tabName);
    FTurning = false;
    ShowPageText();
    if (FMode == 0 && edtName->CanFocus()) edtName->SetFocus();
}

void TfrmProperties::edtNameChange(TObject*) {
    chkArray->SetEnabled(!edtName->Text().empty());
}

void TfrmProperties::edtNameExit(TObject*) {
    const std::string name = edtName->Text();
    if (FReadAccess == atDataField) SetReadField(FDefaults->DataFieldPrefix + name);
    if (FWriteAccess == atDataField) SetWriteField(FDefaults->DataFieldPrefix + name);
    if (FReadAccess == atMethod) {
        FReadMethod = FDefaults->ReadMethodPrefix + name;
        edtReadMethod->SetText(FReadMethod);
    }
    if (FWriteAccess == atMethod) {
        FWriteMethod = FDefaults->WriteMethodPrefix + name;
        edtWriteMethod->SetText(FWriteMethod);
    }
}

void TfrmProperties::SetReadField(const std::string& Name) {
    FReadField = Name;
    edtReadField->SetText(Name);
    if (chkSameReadWriteField->Checked() && FWriteField != Name) SetWriteField(Name);
}

void TfrmProperties::SetWriteField(const std::string& Name) {
    FWriteField = Name;
    edtWriteField->SetText(Name);
    if (chkSameReadWriteField->Checked() && FReadField != Name) SetReadField(Name);
}

void TfrmProperties::cbxVisibilityExit(TObject*) { FVisibility = cbxVisibility->ItemIndex(); }
void TfrmProperties::cbxMethodVisibilityExit(TObject*) { FMethodVisibility = cbxMethodVisibility->ItemIndex(); }
void TfrmProperties::cbxOverrideExit(TObject*) {
    int i = cbxOverride->ItemIndex();
    FOverride = i >= 0 ? kOverrides[i] : "";
}

void TfrmProperties::optTypeSimpleClick(TObject* Sender) {
    auto* items = cbxDataType->Items();
    items->Clear();
    if (Sender == optTypeEnum) {
        for (const char* t : kEnumTypes) items->Add(t);
        std::unique_ptr<rtl::TStringList> own = ListClasses(tkEnumTypes);
        for (int i = 0; i < own->Count(); ++i) items->Add(own->Get(i));
    } else if (Sender == optTypeProc) {
        for (const char* t : kEventTypes) items->Add(t);
        std::unique_ptr<rtl::TStringList> own = ListClasses(tkEventTypes);
        for (int i = 0; i < own->Count(); ++i) items->Add(own->Get(i));
    } else {
        for (const char* t : kSimpleTypes) items->Add(t);
    }
    std::set<std::string> seen;
    for (int i = 0; i < items->Count();)
        if (!seen.insert(items->Get(i)).second) items->Delete(i);
        else ++i;
}

void TfrmProperties::chkArrayClick(TObject*) {
    const bool array = chkArray->Checked();
    if (array && edtArrayIndexes->Text().empty()) edtArrayIndexes->SetText(FDefaults->ArrayIndex);
    optReadMethod->SetChecked(true);
    optReadMethodClick(optReadMethod);
    optWriteMethod->SetChecked(true);
    optWriteMethodClick(optWriteMethod);
    for (TControl* c : std::initializer_list<TControl*>{optReadNone, optReadDirect, optWriteNone, optWriteDirect,
                                                        chkSameReadWriteField, chkDefault})
        c->SetEnabled(!array);
    chkArrayDefault->SetEnabled(array);
    edtArrayIndexes->SetEnabled(array);
    edtDefault->SetEnabled(chkDefault->Checked() && chkDefault->Enabled());
}

void TfrmProperties::MethodButtonsChanged() {
    const bool method = optReadMethod->Checked() || optWriteMethod->Checked();
    cbxMethodVisibility->SetEnabled(method);
    cbxOverride->SetEnabled(method);
}

void TfrmProperties::optReadNoneClick(TObject*) {
    FReadAccess = atNone;
    edtReadField->SetEnabled(false);
    edtReadMethod->SetEnabled(false);
    MethodButtonsChanged();
}

void TfrmProperties::optReadDirectClick(TObject*) {
    FReadAccess = atDataField;
    edtReadField->SetEnabled(true);
    edtReadMethod->SetEnabled(false);
    if (edtReadField->Text().empty()) SetReadField(FDefaults->DataFieldPrefix + edtName->Text());
    MethodButtonsChanged();
}

void TfrmProperties::optReadMethodClick(TObject*) {
    FReadAccess = atMethod;
    const std::string text = edtReadMethod->Text();
    if (text.empty() || text == FDefaults->ReadMethodPrefix) {
        FReadMethod = FDefaults->ReadMethodPrefix + edtName->Text();
        edtReadMethod->SetText(FReadMethod);
    }
    edtReadField->SetEnabled(false);
    edtReadMethod->SetEnabled(true);
    MethodButtonsChanged();
}

void TfrmProperties::optWriteNoneClick(TObject*) {
    FWriteAccess = atNone;
    edtWriteField->SetEnabled(false);
    edtWriteMethod->SetEnabled(false);
    MethodButtonsChanged();
}

void TfrmProperties::optWriteDirectClick(TObject*) {
    FWriteAccess = atDataField;
    edtWriteField->SetEnabled(true);
    edtWriteMethod->SetEnabled(false);
    if (edtWriteField->Text().empty()) SetWriteField(FDefaults->DataFieldPrefix + edtName->Text());
    MethodButtonsChanged();
}

void TfrmProperties::optWriteMethodClick(TObject*) {
    FWriteAccess = atMethod;
    const std::string text = edtWriteMethod->Text();
    if (text.empty() || text == FDefaults->WriteMethodPrefix) {
        FWriteMethod = FDefaults->WriteMethodPrefix + edtName->Text();
        edtWriteMethod->SetText(FWriteMethod);
    }
    edtWriteField->SetEnabled(false);
    edtWriteMethod->SetEnabled(true);
    MethodButtonsChanged();
}

void TfrmProperties::edtReadFieldExit(TObject*) { SetReadField(edtReadField->Text()); }
void TfrmProperties::edtWriteFieldExit(TObject*) { SetWriteField(edtWriteField->Text()); }
void TfrmProperties::edtReadMethodExit(TObject*) { FReadMethod = edtReadMethod->Text(); }
void TfrmProperties::edtWriteMethodExit(TObject*) { FWriteMethod = edtWriteMethod->Text(); }

void TfrmProperties::chkDefaultClick(TObject*) {
    edtDefault->SetEnabled(chkDefault->Checked() && chkDefault->Enabled());
}
void TfrmProperties::chkIndexClick(TObject*) { edtIndex->SetEnabled(chkIndex->Checked()); }
void TfrmProperties::chkStorageClick(TObject*) { edtStorage->SetEnabled(chkStorage->Checked()); }

void TfrmProperties::Refuse(const std::string& Text) {
    MessageDlg("Property Expert\r\n" + Text, TMsgDlgType::mtInformation, mbOK, 0);
}

bool TfrmProperties::PageComplete(TTabSheet* Page) {
    bool ok = true;
    if (Page == tabName) {
        if (cbxClass->ItemIndex() < 0 || edtName->Text().empty() || cbxDataType->Text().empty() ||
            cbxVisibility->ItemIndex() < 0)
            ok = false;
        else if (chkArray->Checked() && edtArrayIndexes->Text().empty()) {
            Refuse("You must supply array indexes for an array property");
            ok = false;
        }
    } else if (Page == tabAccess) {
        if (optReadNone->Checked() && optWriteNone->Checked()) {
            Refuse("You must select at least one access type");
            ok = false;
        } else if ((optReadDirect->Checked() && edtReadField->Text().empty()) ||
                   (optReadMethod->Checked() && edtReadMethod->Text().empty()) ||
                   (optWriteDirect->Checked() && edtWriteField->Text().empty()) ||
                   (optWriteMethod->Checked() && edtWriteMethod->Text().empty()))
            ok = false;
    }
    if (!ok) Refuse("You must complete all the information on this page");
    return ok;
}

void TfrmProperties::pgePropertiesChanging(TObject*, bool& AllowChange) {
    if (!FTurning) AllowChange = PageComplete(pgeProperties->ActivePage());
}

void TfrmProperties::btnNextClick(TObject*) {
    TTabSheet* page = pgeProperties->ActivePage();
    if (!PageComplete(page)) throw rtl::EAbort("Change not allowed");
    FTurning = true;
    pgeProperties->SetActivePage(page == tabName ? tabAccess : tabOther);
    FTurning = false;
    btnBack->SetEnabled(true);
    if (pgeProperties->ActivePage() == tabOther) {
        btnNext->SetEnabled(false);
        btnOK->SetEnabled(true);
    }
    ShowPageText();
}

void TfrmProperties::btnBackClick(TObject*) {
    TTabSheet* page = pgeProperties->ActivePage();
    FTurning = true;
    pgeProperties->SetActivePage(page == tabOther ? tabAccess : tabName);
    FTurning = false;
    btnNext->SetEnabled(true);
    btnOK->SetEnabled(false);
    if (pgeProperties->ActivePage() == tabName) btnBack->SetEnabled(false);
    ShowPageText();
}

TPropChoices TfrmProperties::Choices() {
    TPropChoices c;
    c.Name = edtName->Text();
    c.DataType = cbxDataType->Text();
    c.ClassName = cbxClass->Text();
    c.ReadAccess = FReadAccess;
    c.WriteAccess = FWriteAccess;
    c.ReadMethod = FReadMethod;
    c.WriteMethod = FWriteMethod;
    c.ReadField = FReadField;
    c.WriteField = FWriteField;
    c.DataFieldPrefix = FDefaults->DataFieldPrefix;
    c.OverrideWord = FOverride;
    c.Array = chkArray->Checked();
    c.ArrayIndexes = edtArrayIndexes->Text();
    c.ArrayDefault = chkArrayDefault->Checked();
    c.Index = chkIndex->Checked();
    c.IndexValue = edtIndex->Text();
    c.Default = chkDefault->Checked();
    c.DefaultValue = edtDefault->Text();
    c.Storage = chkStorage->Checked();
    c.StorageValue = edtStorage->Text();
    c.SameReadWriteField = chkSameReadWriteField->Checked();
    c.Visibility = FVisibility;
    c.MethodVisibility = FMethodVisibility;
    return c;
}

void TfrmProperties::btnOKClick(TObject*) {
    // Options mode saves the options page only; the wizard's pages are not the user's to fix there.
    if (FMode == 0) {
        struct TCheck {
            bool Fails;
            const char* Text;
            const char* Abort;
        } checks[] = {
            {chkArray->Checked() && chkDefault->Checked(), "You can't specify a default value for an array property",
             "EAbort.  Can't set default value for array property"},
            {chkDefault->Checked() && edtDefault->Text().empty(), "You must supply a default value",
             "EAbort. Property Default value not supplied"},
            {chkIndex->Checked() && edtIndex->Text().empty(), "You must supply an index value",
             "EAbort.  Property Index value not supplied"},
            {chkStorage->Checked() && edtStorage->Text().empty(), "You must supply a storage specifier",
             "EAbort.  Property store specifier not supplied"},
        };
        for (const TCheck& c : checks)
            if (c.Fails) {
                Refuse(c.Text);
                SetModalResult(mrNone);
                throw rtl::EAbort(c.Abort);
            }
        FScan = ScanClass(cbxClass->Text());
        InsertProperty(FScan, Choices());
        if (chkDefault->Checked()) Refuse("Don't forget to set the default value in the constructor");
        SetModalResult(mrOk);
        return;
    }
    auto index = [](TComboBox* Box) { return static_cast<std::uint8_t>(Box->ItemIndex() < 0 ? 255 : Box->ItemIndex()); };
    FDefaults->DataType = cbxOptDataType->Text();
    FDefaults->Visibility = index(cbxOptVisibility);
    FDefaults->ArrayProp = chkOptArray->Checked();
    FDefaults->ArrayIndex = edtOptArrayIndex->Text();
    FDefaults->DataFieldPrefix = edtOptDataFieldPrefix->Text();
    FDefaults->ReadMethodPrefix = edtOptReadMethodPrefix->Text();
    FDefaults->WriteMethodPrefix = edtOptWriteMethodPrefix->Text();
    FDefaults->ReadAccessType = index(cbxOptReadAccessType);
    FDefaults->WriteAccessType = index(cbxOptWriteAccessType);
    FDefaults->MethodVisibility = index(cbxOptMethodVisibility);
    FDefaults->MethodOverride = index(cbxOptMethodOverride);
    SaveDefaults(*FDefaults);
    SetModalResult(mrOk);
}

void TfrmProperties::btnCancelClick(TObject*) {
    SetModalResult(mrCancel);
}

void TfrmProperties::btnOptionsClick(TObject*) {
    cbxOptDataType->SetText(FDefaults->DataType);
    cbxOptVisibility->SetItemIndex(ClampIndex(FDefaults->Visibility, 5));
    chkOptArray->SetChecked(FDefaults->ArrayProp);
    edtOptArrayIndex->SetText(FDefaults->ArrayIndex);
    cbxOptReadAccessType->SetItemIndex(ClampIndex(FDefaults->ReadAccessType, 3));
    edtOptReadMethodPrefix->SetText(FDefaults->ReadMethodPrefix);
    cbxOptWriteAccessType->SetItemIndex(ClampIndex(FDefaults->WriteAccessType, 3));
    edtOptWriteMethodPrefix->SetText(FDefaults->WriteMethodPrefix);
    edtOptDataFieldPrefix->SetText(FDefaults->DataFieldPrefix);
    cbxOptMethodVisibility->SetItemIndex(ClampIndex(FDefaults->MethodVisibility, 2));
    cbxOptMethodOverride->SetItemIndex(ClampIndex(FDefaults->MethodOverride, 4));
    SetMode(1);
    FTurning = true;
    pgeProperties->SetActivePage(tabOptions);
    FTurning = false;
    ShowPageText();
}

namespace {

struct TPropertiesRegistration {
    TPropertiesRegistration() {
        using F = TfrmProperties;
        RegisterFormClass<F>("TfrmProperties", "TForm",
                             {
                                 PublishedField("pgeProperties", &F::pgeProperties),
                                 PublishedField("tabName", &F::tabName),
                                 PublishedField("tabAccess", &F::tabAccess),
                                 PublishedField("tabOther", &F::tabOther),
                                 PublishedField("tabOptions", &F::tabOptions),
                                 PublishedField("btnBack", &F::btnBack),
                                 PublishedField("btnNext", &F::btnNext),
                                 PublishedField("btnCancel", &F::btnCancel),
                                 PublishedField("btnOK", &F::btnOK),
                                 PublishedField("btnOptions", &F::btnOptions),
                                 PublishedField("barStatus", &F::barStatus),
                                 PublishedField("cbxClass", &F::cbxClass),
                                 PublishedField("edtName", &F::edtName),
                                 PublishedField("cbxVisibility", &F::cbxVisibility),
                                 PublishedField("cbxDataType", &F::cbxDataType),
                                 PublishedField("optTypeSimple", &F::optTypeSimple),
                                 PublishedField("optTypeEnum", &F::optTypeEnum),
                                 PublishedField("optTypeProc", &F::optTypeProc),
                                 PublishedField("chkArray", &F::chkArray),
                                 PublishedField("edtArrayIndexes", &F::edtArrayIndexes),
                                 PublishedField("chkArrayDefault", &F::chkArrayDefault),
                                 PublishedField("optReadNone", &F::optReadNone),
                                 PublishedField("optReadDirect", &F::optReadDirect),
                                 PublishedField("optReadMethod", &F::optReadMethod),
                                 PublishedField("edtReadField", &F::edtReadField),
                                 PublishedField("edtReadMethod", &F::edtReadMethod),
                                 PublishedField("optWriteNone", &F::optWriteNone),
                                 PublishedField("optWriteDirect", &F::optWriteDirect),
                                 PublishedField("optWriteMethod", &F::optWriteMethod),
                                 PublishedField("edtWriteField", &F::edtWriteField),
                                 PublishedField("edtWriteMethod", &F::edtWriteMethod),
                                 PublishedField("chkSameReadWriteField", &F::chkSameReadWriteField),
                                 PublishedField("cbxMethodVisibility", &F::cbxMethodVisibility),
                                 PublishedField("cbxOverride", &F::cbxOverride),
                                 PublishedField("chkDefault", &F::chkDefault),
                                 PublishedField("edtDefault", &F::edtDefault),
                                 PublishedField("chkIndex", &F::chkIndex),
                                 PublishedField("edtIndex", &F::edtIndex),
                                 PublishedField("chkStorage", &F::chkStorage),
                                 PublishedField("edtStorage", &F::edtStorage),
                                 PublishedField("cbxOptDataType", &F::cbxOptDataType),
                                 PublishedField("cbxOptVisibility", &F::cbxOptVisibility),
                                 PublishedField("chkOptArray", &F::chkOptArray),
                                 PublishedField("edtOptArrayIndex", &F::edtOptArrayIndex),
                                 PublishedField("cbxOptReadAccessType", &F::cbxOptReadAccessType),
                                 PublishedField("edtOptReadMethodPrefix", &F::edtOptReadMethodPrefix),
                                 PublishedField("cbxOptWriteAccessType", &F::cbxOptWriteAccessType),
                                 PublishedField("edtOptWriteMethodPrefix", &F::edtOptWriteMethodPrefix),
                                 PublishedField("edtOptDataFieldPrefix", &F::edtOptDataFieldPrefix),
                                 PublishedField("cbxOptMethodVisibility", &F::cbxOptMethodVisibility),
                                 PublishedField("cbxOptMethodOverride", &F::cbxOptMethodOverride),
                             },
                             {
                                 PublishedMethod("FormCreate", &F::FormCreate),
                                 PublishedMethod("FormShow", &F::FormShow),
                                 PublishedMethod("pgePropertiesChanging", &F::pgePropertiesChanging),
                                 PublishedMethod("btnNextClick", &F::btnNextClick),
                                 PublishedMethod("btnBackClick", &F::btnBackClick),
                                 PublishedMethod("btnOKClick", &F::btnOKClick),
                                 PublishedMethod("btnCancelClick", &F::btnCancelClick),
                                 PublishedMethod("btnOptionsClick", &F::btnOptionsClick),
                                 PublishedMethod("edtNameChange", &F::edtNameChange),
                                 PublishedMethod("edtNameExit", &F::edtNameExit),
                                 PublishedMethod("cbxVisibilityExit", &F::cbxVisibilityExit),
                                 PublishedMethod("cbxMethodVisibilityExit", &F::cbxMethodVisibilityExit),
                                 PublishedMethod("cbxOverrideExit", &F::cbxOverrideExit),
                                 PublishedMethod("optTypeSimpleClick", &F::optTypeSimpleClick),
                                 PublishedMethod("chkArrayClick", &F::chkArrayClick),
                                 PublishedMethod("optReadNoneClick", &F::optReadNoneClick),
                                 PublishedMethod("optReadDirectClick", &F::optReadDirectClick),
                                 PublishedMethod("optReadMethodClick", &F::optReadMethodClick),
                                 PublishedMethod("optWriteNoneClick", &F::optWriteNoneClick),
                                 PublishedMethod("optWriteDirectClick", &F::optWriteDirectClick),
                                 PublishedMethod("optWriteMethodClick", &F::optWriteMethodClick),
                                 PublishedMethod("edtReadFieldExit", &F::edtReadFieldExit),
                                 PublishedMethod("edtWriteFieldExit", &F::edtWriteFieldExit),
                                 PublishedMethod("edtReadMethodExit", &F::edtReadMethodExit),
                                 PublishedMethod("edtWriteMethodExit", &F::edtWriteMethodExit),
                                 PublishedMethod("chkDefaultClick", &F::chkDefaultClick),
                                 PublishedMethod("chkIndexClick", &F::chkIndexClick),
                                 PublishedMethod("chkStorageClick", &F::chkStorageClick),
                             });
    }
} registration;

} // namespace

} // namespace experts
