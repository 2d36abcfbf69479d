// Forms stored with their events: handlers bound by name, components bound to the form's fields,
// forms laid out from their form resource, and the parts of the controls that forms keep.
#include "testing/StoredText.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/ComCtrls.h"
#include "vcl/EditCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/FontDialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/Streaming.h"
#include "vcl/TestHooks.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vcl;

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// A component that tells the log when its Loaded runs, and whether its form was still loading.
class TLoadProbe : public TComponent {
public:
    using TComponent::TComponent;
    void Loaded() override {
        Log().push_back("loaded " + Name() + (IsLoading() ? " (loading)" : ""));
        TComponent::Loaded();
    }
};

class TBindForm : public TForm {
public:
    using TForm::TForm;

    TButton* btnOK = nullptr;
    TEdit* edtName = nullptr;
    TLabel* lblName = nullptr;

    void btnOKClick(TObject* Sender) { Log().push_back(Name() + " clicked by " + static_cast<TComponent*>(Sender)->Name()); }
    void edtNameChange(TObject*) { Log().push_back(Name() + " changed to " + edtName->Text()); }
    void FormClose(TObject*, TCloseAction& Action) {
        Log().push_back("close");
        Action = TCloseAction::caHide;
    }
};

// Made from its form resource (ResourceForm.dfm).
class TResourceForm : public TForm {
public:
    using TForm::TForm;

    TPanel* pnlTop = nullptr;
    TLabel* lblName = nullptr;
    TEdit* edtName = nullptr;
    TButton* btnOK = nullptr;
    TLoadProbe* First = nullptr;
    TLoadProbe* Second = nullptr;

    void FormCreate(TObject*) {
        Log().push_back(std::string("create, fields ") + (pnlTop && lblName && edtName && btnOK ? "bound" : "unbound"));
    }
    void btnOKClick(TObject*) { Log().push_back("ok " + edtName->Text()); }
};

// Inherited from TResourceForm (ResourceChildForm.dfm).
class TResourceChildForm : public TResourceForm {
public:
    using TResourceForm::TResourceForm;

    TButton* btnCancel = nullptr;

    void btnChildOKClick(TObject*) { Log().push_back("child ok " + edtName->Text()); }
};

// A descendant made in code only, with no form or registration of its own.
class TCodeChildForm : public TResourceChildForm {
public:
    using TResourceChildForm::TResourceChildForm;
};

struct Registration {
    Registration() {
        RegisterClass<TLoadProbe>("TLoadProbe", "");
        RegisterFormClass<TBindForm>("TBindForm", "TForm",
                                     {
                                         PublishedField("btnOK", &TBindForm::btnOK),
                                         PublishedField("edtName", &TBindForm::edtName),
                                         PublishedField("lblName", &TBindForm::lblName),
                                     },
                                     {
                                         PublishedMethod("btnOKClick", &TBindForm::btnOKClick),
                                         PublishedMethod("edtNameChange", &TBindForm::edtNameChange),
                                         PublishedMethod("FormClose", &TBindForm::FormClose),
                                     });
        RegisterFormClass<TResourceForm>("TResourceForm", "TForm",
                                         {
                                             PublishedField("pnlTop", &TResourceForm::pnlTop),
                                             PublishedField("lblName", &TResourceForm::lblName),
                                             PublishedField("edtName", &TResourceForm::edtName),
                                             PublishedField("btnOK", &TResourceForm::btnOK),
                                             PublishedField("First", &TResourceForm::First),
                                             PublishedField("Second", &TResourceForm::Second),
                                         },
                                         {
                                             PublishedMethod("FormCreate", &TResourceForm::FormCreate),
                                             PublishedMethod("btnOKClick", &TResourceForm::btnOKClick),
                                         });
        RegisterFormClass<TResourceChildForm>("TResourceChildForm", "TResourceForm",
                                              {PublishedField("btnCancel", &TResourceChildForm::btnCancel)},
                                              {PublishedMethod("btnChildOKClick", &TResourceChildForm::btnChildOKClick)});
    }
} registration;

std::unique_ptr<rtl::TMemoryStream> Binary(const std::string& text) {
    rtl::TMemoryStream in;
    in.Write(text.data(), std::int64_t(text.size()));
    in.SetPosition(0);
    auto out = std::make_unique<rtl::TMemoryStream>();
    rtl::ObjectTextToBinary(in, *out);
    out->SetPosition(0);
    return out;
}

using testing_support::StoredText;

std::string BindFormText(const std::string& ButtonEvents) {
    return "object BindForm: TBindForm\n"
           "  Caption = 'Bind'\n"
           "  object btnOK: TButton\n"
           "    Left = 8\n"
           "    Top = 8\n"
           "    Width = 75\n"
           "    Height = 25\n"
           "    Caption = 'OK'\n" +
           ButtonEvents +
           "  end\n"
           "  object edtName: TEdit\n"
           "    Left = 8\n"
           "    Top = 40\n"
           "    Width = 120\n"
           "    Height = 21\n"
           "    OnChange = edtNameChange\n"
           "  end\n"
           "end\n";
}

TEST(FormEvents, HandlersAreBoundByNameOrRefusedWithTheFormComponentAndHandler) {
    struct Case {
        const char* Events;
        const char* Error; // empty: read
    } cases[] = {
        {"    OnClick = btnOKClick\n", ""},
        {"    OnClick = BTNOKCLICK\n", ""}, // names are matched without regard to case
        {"    OnClick = nil\n", ""},
        {"    OnClick = btnCancelClick\n", "Form BindForm has no handler btnCancelClick for btnOK.OnClick"},
        {"    OnClick = FormClose\n", "Handler FormClose of form BindForm does not fit btnOK.OnClick"},
        {"    OnEnter = FormClose\n", "Handler FormClose of form BindForm does not fit btnOK.OnEnter"},
        {"    OnClick = 12\n", "Invalid property value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Events);
        auto stream = Binary(BindFormText(c.Events));
        std::unique_ptr<TBindForm> form(Make<TBindForm>(nullptr));
        if (!*c.Error) {
            ReadComponentFromStream(*stream, form.get());
            ASSERT_NE(form->btnOK, nullptr);
            EXPECT_EQ(bool(form->btnOK->OnClick), std::string(c.Events).find("nil") == std::string::npos);
            continue;
        }
        try {
            ReadComponentFromStream(*stream, form.get());
            ADD_FAILURE() << "read without error";
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), c.Error);
        }
        // Nothing of the failed read stays on the form.
        EXPECT_EQ(form->ComponentCount(), 0);
    }
}

TEST(FormEvents, AFieldOfAnotherClassThanItsComponentIsRefused) {
    auto stream = Binary("object BindForm: TBindForm\n  object btnOK: TLabel\n  end\nend\n");
    std::unique_ptr<TBindForm> form(Make<TBindForm>(nullptr));
    try {
        ReadComponentFromStream(*stream, form.get());
        ADD_FAILURE() << "read without error";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Form BindForm: component btnOK of class TLabel does not fit its field");
    }
}

TEST(FormEvents, AStoredFormReadIntoANewFormRunsTheNewFormsHandlers) {
    std::unique_ptr<TBindForm> first(Make<TBindForm>(nullptr));
    ReadComponentFromStream(*Binary(BindFormText("    OnClick = btnOKClick\n")), first.get());
    first->OnClose = std::function<void(TObject*, TCloseAction&)>(
        TNamedHandler<TObject*, TCloseAction&>{"FormClose", [f = first.get()](TObject* s, TCloseAction& a) { f->FormClose(s, a); }});
    const std::string text = StoredText(first.get());
    EXPECT_NE(text.find("    OnClick = btnOKClick\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    OnChange = edtNameChange\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  OnClose = FormClose\r\n"), std::string::npos) << text;
    // A handler set in code has no name to store.
    first->btnOK->OnDblClick = [](TObject*) {};
    EXPECT_EQ(StoredText(first.get()), text);

    auto stream = Binary(text);
    first.reset();
    std::unique_ptr<TBindForm> second(Make<TBindForm>(nullptr));
    second->SetName("Second");
    ReadComponentFromStream(*stream, second.get());
    second->SetName("Second");
    Log().clear();
    ASSERT_NE(second->btnOK, nullptr);
    second->btnOK->Click();
    second->edtName->SetText("Ann");
    ASSERT_TRUE(second->edtName->OnChange);
    second->edtName->OnChange(second->edtName);
    TCloseAction action = TCloseAction::caFree;
    second->OnClose(second.get(), action);
    EXPECT_EQ(Log(), (std::vector<std::string>{"Second clicked by btnOK", "Second changed to Ann", "close"}));
    EXPECT_EQ(action, TCloseAction::caHide);
}

TEST(FormResources, AFormIsLaidOutFromItsResourceBeforeItsOnCreate) {
    Log().clear();
    std::unique_ptr<TResourceForm> form(Make<TResourceForm>(nullptr));
    EXPECT_EQ(Log(), (std::vector<std::string>{"loaded First (loading)", "loaded Second (loading)",
                                               "create, fields bound"}));
    EXPECT_EQ(form->Name(), "ResourceForm");
    EXPECT_EQ(form->Caption(), "From the resource");
    EXPECT_EQ(form->ClientWidth(), 240);
    EXPECT_EQ(form->ClientHeight(), 120);
    EXPECT_FALSE(form->IsLoading());
    EXPECT_EQ(form->lblName->Parent(), form->pnlTop);
    EXPECT_EQ(form->lblName->FocusControl(), form->edtName);
    EXPECT_EQ(form->edtName->Text(), "Bob");
    EXPECT_EQ(form->ActiveControl(), form->edtName);
    Log().clear();
    form->btnOK->Click();
    EXPECT_EQ(Log(), std::vector<std::string>{"ok Bob"});
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST(FormResources, AReferenceToAMissingComponentIsRefused) {
    auto stream = Binary("object BindForm: TBindForm\n  object lblName: TLabel\n    FocusControl = edtNone\n  end\nend\n");
    std::unique_ptr<TBindForm> form(Make<TBindForm>(nullptr));
    try {
        ReadComponentFromStream(*stream, form.get());
        ADD_FAILURE() << "read without error";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Form BindForm: lblName.FocusControl names no component edtNone");
    }
    EXPECT_EQ(form->ComponentCount(), 0);
}

// The ancestor's resource first, then the descendant's changes and additions; a class made in
// code only from a form class is laid out as that class.
TEST(FormResources, AnInheritedFormReadsItsAncestorsResourceFirst) {
    for (bool codeOnly : {false, true}) {
        SCOPED_TRACE(codeOnly ? "made in code" : "registered");
        Log().clear();
        std::unique_ptr<TResourceChildForm> form(codeOnly ? Make<TCodeChildForm>(nullptr)
                                                          : Make<TResourceChildForm>(nullptr));
        EXPECT_EQ(Log(), (std::vector<std::string>{"loaded First (loading)", "loaded Second (loading)",
                                                   "loaded First (loading)", "loaded Second (loading)",
                                                   "create, fields bound"}));
        EXPECT_EQ(form->Name(), "ResourceChildForm");
        EXPECT_EQ(form->Caption(), "Inherited");
        EXPECT_EQ(form->ClientWidth(), 240) << "the ancestor's";
        EXPECT_EQ(form->ClientHeight(), 150);
        EXPECT_EQ(form->lblName->Parent(), form->pnlTop);
        EXPECT_EQ(form->lblName->Left(), 12);
        EXPECT_EQ(form->lblName->Top(), 14) << "the ancestor's";
        EXPECT_EQ(form->edtName->Text(), "") << "set back to empty";
        EXPECT_EQ(form->ComponentCount(), 7);
        ASSERT_NE(form->btnCancel, nullptr);
        EXPECT_EQ(form->btnCancel->Parent(), form.get());
        EXPECT_EQ(form->btnCancel->ModalResult(), mrCancel);
        Log().clear();
        form->btnOK->Click();
        EXPECT_EQ(Log(), std::vector<std::string>{"child ok "}) << "the descendant's handler";
        EXPECT_EQ(form->ModalResult(), mrNone) << "set back to the default";
    }
}

TEST(FormResources, EveryFormResourceReadsBackAsItsFormFile) {
    EXPECT_EQ(FormResourceNames(), (std::vector<std::string>{"TRESOURCEFORM", "TRESOURCECHILDFORM"}));
    EXPECT_EQ(FormResourceMismatches(), std::vector<std::string>{});
}

// Memos, pop-up menus, page controls and panels: their parts and events come back when the
// form is read, and a panel runs no resize handler while it is read.
class TPartsForm : public TForm {
public:
    using TForm::TForm;

    TPanel* pnlLeft = nullptr;
    TPageControl* pgeMain = nullptr;
    TTabSheet* tabFirst = nullptr;
    TMemo* mmoCode = nullptr;
    TPopupMenu* mnuCode = nullptr;
    TFontDialog* dlgFont = nullptr;
    std::vector<std::string> Log;

    // Before every control is made, a resize handler could not do its work.
    void FormResize(TObject*) { Log.push_back(pnlLeft && mmoCode ? "form" : "form too early"); }
    void pnlLeftResize(TObject*) { Log.push_back(pnlLeft && mmoCode ? "panel" : "panel too early"); }
    void pgeMainChanging(TObject*, bool& AllowChange) {
        Log.push_back("changing");
        AllowChange = false;
    }
    void mmoCodeChange(TObject*) { Log.push_back("memo " + mmoCode->Lines().Get(0)); }
};

struct TPartsRegistration {
    TPartsRegistration() {
        using F = TPartsForm;
        RegisterFormClass<F>("TPartsForm", "TForm",
                             {
                                 PublishedField("pnlLeft", &F::pnlLeft),
                                 PublishedField("pgeMain", &F::pgeMain),
                                 PublishedField("tabFirst", &F::tabFirst),
                                 PublishedField("mmoCode", &F::mmoCode),
                                 PublishedField("mnuCode", &F::mnuCode),
                                 PublishedField("dlgFont", &F::dlgFont),
                             },
                             {
                                 PublishedMethod("FormResize", &F::FormResize),
                                 PublishedMethod("pnlLeftResize", &F::pnlLeftResize),
                                 PublishedMethod("pgeMainChanging", &F::pgeMainChanging),
                                 PublishedMethod("mmoCodeChange", &F::mmoCodeChange),
                             });
    }
} partsRegistration;

// The form file of the tests below; Popup names what the memo's pop-up menu is.
std::string PartsText(const std::string& Popup = "mnuCode") {
    return "object PartsForm: TPartsForm\n"
           "  Caption = 'Parts'\n"
           "  ClientHeight = 200\n"
           "  ClientWidth = 300\n"

           "  OnResize = FormResize\n"
           "  object pnlLeft: TPanel\n"
           "    Width = 100\n"
           "    Align = alLeft\n"
           "    OnResize = pnlLeftResize\n"

           "    object mmoCode: TMemo\n"
           "      Align = alClient\n"
           "      PopupMenu = " + Popup + "\n"
           "      Lines.Strings = (\n"
           "        'begin'\n"
           "        'end;')\n"
           "      ScrollBars = ssHorizontal\n"
           "      WordWrap = False\n"
           "      OnChange = mmoCodeChange\n"
           "    end\n"
           "  end\n"
           "  object pgeMain: TPageControl\n"
           "    Align = alClient\n"
           "    OnChanging = pgeMainChanging\n"
           "    object tabFirst: TTabSheet\n"
           "      Caption = 'First'\n"
           "    end\n"
           "    object tabSecond: TTabSheet\n"
           "      Caption = 'Second'\n"
           "    end\n"
           "  end\n"
           "  object mnuCode: TPopupMenu\n"
           "    object mnuCodeCut: TMenuItem\n"
           "      Caption = 'Cut'\n"
           "    end\n"
           "  end\n"
           "  object dlgFont: TFontDialog\n"
           "    HelpContext = 7\n"
           "  end\n"
           "end\n";
}

std::unique_ptr<TPartsForm> ReadParts(const std::string& FormText) {
    std::unique_ptr<TPartsForm> form(Make<TPartsForm>(nullptr));
    ReadComponentFromStream(*Binary(FormText), form.get());
    return form;
}

TEST(FormParts, MemoMenuPagesAndPanelsComeBackWithTheirHandlers) {
    std::unique_ptr<TPartsForm> form = ReadParts(PartsText());
    for (const std::string& entry : form->Log) EXPECT_EQ(entry.find("too early"), std::string::npos) << entry;
    ASSERT_NE(form->mmoCode, nullptr);
    EXPECT_EQ(form->mmoCode->Lines().Count(), 2);
    EXPECT_EQ(form->mmoCode->Lines().Get(1), "end;");
    EXPECT_EQ(form->mmoCode->ScrollBars(), TScrollStyle::ssHorizontal);
    EXPECT_FALSE(form->mmoCode->WordWrap());
    EXPECT_EQ(form->mmoCode->PopupMenu(), form->mnuCode);
    EXPECT_EQ(form->dlgFont->HelpContext(), 7);
    EXPECT_EQ(form->pgeMain->PageCount(), 2);

    form->Log.clear();
    bool allow = true;
    form->pgeMain->OnChanging(form->pgeMain, allow);
    EXPECT_FALSE(allow);
    form->mmoCode->OnChange(form->mmoCode);
    form->OnResize(form.get());
    form->pnlLeft->OnResize(form->pnlLeft);
    EXPECT_EQ(form->Log, (std::vector<std::string>{"changing", "memo begin", "form", "panel"}));

    // Written back, the form is its file again.
    const std::string written = StoredText(ReadParts(PartsText()).get());
    for (const char* line : {"      PopupMenu = mnuCode\r\n", "      OnChange = mmoCodeChange\r\n",
                             "  OnResize = FormResize\r\n", "    OnChanging = pgeMainChanging\r\n",
                             "    OnResize = pnlLeftResize\r\n", "        'end;')\r\n", "    HelpContext = 7\r\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line << written;
}

TEST(FormParts, APopupMenuIsOnlyAPopupMenuOfTheForm) {
    struct Case {
        const char* Popup;
        const char* Error;
    } cases[] = {
        {"dlgFont", "Form PartsForm: mmoCode.PopupMenu cannot refer to dlgFont of class TFontDialog"},
        {"mnuNone", "Form PartsForm: mmoCode.PopupMenu names no component mnuNone"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Popup);
        try {
            ReadParts(PartsText(c.Popup));
            ADD_FAILURE() << "read without error";
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), c.Error);
        }
    }
}

} // namespace

namespace {

// A form read from its file and written back is its file again, whatever main menu it has: the
// stored client size is the area below the menu bar, so it does not lose the bar's height.
TEST(FormMenuRoundTrip, AFormKeepsItsClientSizeWithOrWithoutAMainMenu) {
    struct Case {
        const char* Name;
        std::string Menu;
    } cases[] = {
        {"no menu", ""},
        {"empty menu", "  Menu = mnuMain\n"
                       "  object mnuMain: TMainMenu\n"
                       "  end\n"},
        {"menu with items", "  Menu = mnuMain\n"
                            "  object mnuMain: TMainMenu\n"
                            "    object mniFile: TMenuItem\n"
                            "      Caption = '&File'\n"
                            "    end\n"
                            "    object mniHelp: TMenuItem\n"
                            "      Caption = '&Help'\n"
                            "    end\n"
                            "  end\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string text = "object MenuForm: TForm\n"
                                 "  Left = 40\n"
                                 "  Top = 30\n"
                                 "  Caption = 'Menu'\n"
                                 "  ClientHeight = 180\n"
                                 "  ClientWidth = 320\n" +
                                 c.Menu + "end\n";
        auto readBack = [](const std::string& stored) {
            std::unique_ptr<TForm> form(Make<TForm>(nullptr));
            ReadComponentFromStream(*Binary(stored), form.get());
            return form;
        };
        std::unique_ptr<TForm> first = readBack(text);
        EXPECT_EQ(first->ClientHeight(), 180);
        EXPECT_EQ(first->ClientWidth(), 320);
        const std::string once = testing_support::StoredText(first.get());
        EXPECT_NE(once.find("  ClientHeight = 180\r\n"), std::string::npos) << once;
        EXPECT_NE(once.find("  ClientWidth = 320\r\n"), std::string::npos) << once;
        const std::string twice = testing_support::StoredText(readBack(once).get());
        EXPECT_EQ(twice, once);
    }
}

} // namespace
