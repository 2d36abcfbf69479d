// The font dialog, built as a form over the screen's fonts.
#include "vcl/FontDialogs.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/DialogBuilding.h"
#include "vcl/Dialogs.h"
#include "vcl/ListCtrls.h"
#include "vcl/StdCtrls.h"
#include "vcl/Streaming.h"

#include "rtl/SysUtils.h"

#include <cctype>
#include <map>
#include <vector>

namespace vcl {

using namespace win;

namespace {

const char* const kStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
const int kTrueTypeSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const int kScreenSizes[] = {8, 10, 12, 14, 18, 24};
const struct {
    const char* Name;
    TColor Color;
} kColors[] = {
    {"Black", clBlack}, {"Maroon", clMaroon}, {"Green", clGreen}, {"Olive", clOlive},
    {"Navy", clNavy}, {"Purple", clPurple}, {"Teal", clTeal}, {"Gray", clGray},
    {"Silver", clSilver}, {"Red", clRed}, {"Lime", clLime}, {"Yellow", clYellow},
    {"Blue", clBlue}, {"Fuchsia", clFuchsia}, {"Aqua", clAqua}, {"White", clWhite},
};
constexpr int kMinSize = 1, kMaxSize = 1638;

int StyleIndex(TFontStyles Style) { return ((Style & fsBold) ? 2 : 0) + ((Style & fsItalic) ? 1 : 0); }
// The bold and italic of a line of the style box.
TFontStyles StyleOf(int Index) {
    TFontStyles s = 0;
    if (Index & 2) s |= fsBold;
    if (Index & 1) s |= fsItalic;
    return s;
}

int IndexOfText(const rtl::TStrings* Items, const std::string& Text) {
    for (int i = 0; i < Items->Count(); ++i)
        if (rtl::SameText(Items->Get(i), Text)) return i;
    return -1;
}

// Whether each family of the screen is a TrueType one.
std::map<std::string, bool> FontTypes() {
    std::map<std::string, bool> types;
    HDC dc = GetDC(nullptr);
    EnumFontFamilies(
        dc, nullptr,
        [](const LOGFONT* lf, const TEXTMETRIC*, DWORD type, LPARAM data) {
            (*reinterpret_cast<std::map<std::string, bool>*>(data))[rtl::UpperCase(lf->lfFaceName)] =
                (type & TRUETYPE_FONTTYPE) != 0;
            return 1;
        },
        LPARAM(&types));
    ReleaseDC(nullptr, dc);
    return types;
}

// The sample text, centred in the font chosen.
class TFontSample : public TGraphicControl {
public:
    explicit TFontSample(TComponent* AOwner) : TGraphicControl(AOwner) {}

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, Width(), Height()));
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        std::string text = Caption();
        c->TextRect(Rect(0, 0, Width(), Height()), (Width() - c->TextWidth(text)) / 2,
                    (Height() - c->TextHeight(text)) / 2, text);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
};

// The colour box: a swatch before each name, in the list and on the face.
class TColorCombo : public TComboBox {
public:
    explicit TColorCombo(TComponent* AOwner) : TComboBox(AOwner) {
        SetStyle(TComboBoxStyle::csDropDownList);
        SetDropDownCount(16);
        for (auto& c : kColors) Items()->Add(c.Name);
        List()->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
        List()->OnDrawItem = [this](TWinControl*, int Index, TRect R, TOwnerDrawState) {
            DrawColor(List()->Canvas(), Index, R);
        };
    }

protected:
    void DrawFace(int Index, TRect Rect) override { DrawColor(Canvas(), Index, Rect); }

private:
    void DrawColor(TCanvas* c, int Index, const TRect& R) {
        c->FillRect(R);
        if (Index < 0 || Index >= int(std::size(kColors))) return;
        TColor text = c->Font()->Color();
        TBrush saved;
        saved.Assign(c->Brush());
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(kColors[Index].Color);
        c->Rectangle(R.left + 2, R.top + 2, R.left + 24, R.bottom - 2);
        c->Brush()->Assign(&saved);
        c->Font()->SetColor(text);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        std::string name = Items()->Get(Index);
        c->TextOut(R.left + 30, R.top + (R.bottom - R.top - c->TextHeight(name)) / 2, name);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
};

class TFontForm : public TForm {
public:
    TFontForm(TComponent* AOwner, TFontDialog& Dialog) : TForm(AOwner), FDialog(Dialog) {}

    void Build();
    void Start();
    void Finish();

private:
    void FaceChanged();
    void UpdateSample();
    void OkClick();
    bool Refuse(TWinControl* Control, const std::string& Message);
    // The size typed: 0 when it is not a whole number.
    int TypedSize();

    TFontDialog& FDialog;
    std::map<std::string, bool> FTrueType;
    TComboBox* FFace = nullptr;
    TComboBox* FStyle = nullptr;
    TComboBox* FSize = nullptr;
    TCheckBox* FStrikeOut = nullptr;
    TCheckBox* FUnderline = nullptr;
    TColorCombo* FColor = nullptr;
    TFontSample* FSample = nullptr;
    TLabel* FDescription = nullptr;
    bool FColorChosen = false;
};

void TFontForm::Build() {
    TLoadingBracket loading(this);
    SetUpDialogForm(this, "FontDialog", "Font", 424, 206);
    SetHelpContext(FDialog.HelpContext());

    FFace = AddControl<TComboBox>(this, this, "FaceCombo", 9, 22, 150, 21);
    FFace->SetSorted(true);
    FFace->SetDropDownCount(10);
    AddLabel(this, this, "FaceLabel", "&Font:", 9, 6, FFace);
    FStyle = AddControl<TComboBox>(this, this, "StyleCombo", 168, 22, 100, 21);
    AddLabel(this, this, "StyleLabel", "Font st&yle:", 168, 6, FStyle);
    FSize = AddControl<TComboBox>(this, this, "SizeCombo", 277, 22, 52, 21);
    FSize->SetDropDownCount(10);
    AddLabel(this, this, "SizeLabel", "&Size:", 277, 6, FSize);

    AddOkCancel(this, Point(340, 22), Point(340, 51), 75, 23, [this] { OkClick(); });

    auto* effects = AddControl<TGroupBox>(this, this, "EffectsGroup", 9, 56, 150, 106);
    effects->SetCaption("Effects");
    effects->SetVisible(FDialog.Options() & fdEffects);
    FStrikeOut = AddControl<TCheckBox>(this, effects, "StrikeOutCheck", 10, 18, 120, 17);
    FStrikeOut->SetCaption("Stri&keout");
    FUnderline = AddControl<TCheckBox>(this, effects, "UnderlineCheck", 10, 38, 120, 17);
    FUnderline->SetCaption("&Underline");
    FColor = AddControl<TColorCombo>(this, effects, "ColorCombo", 10, 76, 128, 21);
    AddLabel(this, effects, "ColorLabel", "&Color:", 10, 60, FColor);

    auto* sample = AddControl<TGroupBox>(this, this, "SampleGroup", 168, 56, 161, 106);
    sample->SetCaption("Sample");
    FSample = AddControl<TFontSample>(this, sample, "SampleText", 8, 18, 145, 80);
    FSample->SetCaption("AaBbYyZz");
    FSample->SetParentFont(false);
    FDescription = AddControl<TLabel>(this, this, "DescriptionLabel", 9, 170, 406, 30);
    FDescription->SetAutoSize(false);
    FDescription->SetWordWrap(true);
    SetActiveControl(FFace);
}

void TFontForm::Start() {
    TFont* font = FDialog.Font();
    FTrueType = FontTypes();
    FFace->Items()->Assign(*Screen->Fonts());
    for (const char* s : kStyles) FStyle->Items()->Add(s);

    int face = IndexOfText(FFace->Items(), font->Name());
    if (face >= 0) FFace->SetItemIndex(face);
    else FFace->SetText(font->Name());
    FaceChanged();
    FStyle->SetItemIndex(StyleIndex(font->Style()));
    FSize->SetText(std::to_string(font->Size()));
    int size = IndexOfText(FSize->Items(), FSize->Text());
    if (size >= 0) FSize->SetItemIndex(size);
    FStrikeOut->SetChecked(font->Style() & fsStrikeOut);
    FUnderline->SetChecked(font->Style() & fsUnderline);
    int color = 0;
    for (int i = 0; i < int(std::size(kColors)); ++i)
        if (win::COLORREF(kColors[i].Color) == ColorToRGB(font->Color())) color = i;
    FColor->SetItemIndex(color);
    UpdateSample();
    FFace->SelectAll();

    FFace->OnChange = [this](TObject*) {
        FaceChanged();
        UpdateSample();
    };
    FStyle->OnChange = [this](TObject*) { UpdateSample(); };
    FSize->OnChange = [this](TObject*) { UpdateSample(); };
    FStrikeOut->OnClick = [this](TObject*) { UpdateSample(); };
    FUnderline->OnClick = [this](TObject*) { UpdateSample(); };
    FColor->OnChange = [this](TObject*) {
        FColorChosen = true;
        UpdateSample();
    };
}

// The sizes and the description follow the face: TrueType faces scale, screen fonts come in a
// few sizes.
void TFontForm::FaceChanged() {
    int face = IndexOfText(FFace->Items(), FFace->Text());
    std::string size = FSize->Text();
    FSize->Items()->Clear();
    if (face < 0) {
        FDescription->SetCaption("");
    } else {
        bool trueType = FTrueType[rtl::UpperCase(FFace->Items()->Get(face))];
        if (trueType)
            for (int s : kTrueTypeSizes) FSize->Items()->Add(std::to_string(s));
        else
            for (int s : kScreenSizes) FSize->Items()->Add(std::to_string(s));
        FDescription->SetCaption(trueType ? "This is a TrueType font. The same font will be used on both your "
                                            "printer and your screen."
                                          : "This is a screen font. The closest matching font will be used for "
                                            "printing.");
    }
    int at = IndexOfText(FSize->Items(), size);
    if (at >= 0) FSize->SetItemIndex(at);
    else FSize->SetText(size);
}

int TFontForm::TypedSize() {
    std::string text = rtl::Trim(FSize->Text());
    if (text.empty() || text.size() > 6) return 0;
    for (char ch : text)
        if (!std::isdigit(static_cast<unsigned char>(ch))) return 0;
    return std::stoi(text);
}

void TFontForm::UpdateSample() {
    TFont* f = FSample->Font();
    int face = IndexOfText(FFace->Items(), FFace->Text());
    if (face >= 0) f->SetName(FFace->Items()->Get(face));
    int style = IndexOfText(FStyle->Items(), FStyle->Text());
    TFontStyles s = 0;
    if (style >= 0) s = StyleOf(style);
    if (FStrikeOut->Checked()) s |= fsStrikeOut;
    if (FUnderline->Checked()) s |= fsUnderline;
    f->SetStyle(s);
    int size = TypedSize();
    if (size >= kMinSize && size <= 200) f->SetSize(size);
    if ((FDialog.Options() & fdEffects) && FColor->ItemIndex() >= 0) f->SetColor(kColors[FColor->ItemIndex()].Color);
    FSample->Invalidate();
}

bool TFontForm::Refuse(TWinControl* Control, const std::string& Message) {
    MessageBox(Handle(), Message, "Font", MB_OK | MB_ICONWARNING);
    FocusControl(Control);
    return false;
}

void TFontForm::OkClick() {
    if (IndexOfText(FFace->Items(), rtl::Trim(FFace->Text())) < 0) {
        Refuse(FFace, "There is no font with that name.\nChoose a font from the list of fonts.");
        return;
    }
    if (IndexOfText(FStyle->Items(), rtl::Trim(FStyle->Text())) < 0) {
        Refuse(FStyle, "There is no style of this font by that name.\nChoose a style from the list of styles.");
        return;
    }
    int size = TypedSize();
    if (rtl::Trim(FSize->Text()).empty() || (size == 0 && rtl::Trim(FSize->Text()) != "0")) {
        Refuse(FSize, "Size must be a number.");
        return;
    }
    if (size < kMinSize || size > kMaxSize) {
        Refuse(FSize, "Size must be between " + std::to_string(kMinSize) + " and " + std::to_string(kMaxSize) +
                          " points.");
        return;
    }
    SetModalResult(mrOk);
}

void TFontForm::Finish() {
    TFont* font = FDialog.Font();
    font->SetName(FFace->Items()->Get(IndexOfText(FFace->Items(), rtl::Trim(FFace->Text()))));
    font->SetSize(TypedSize());
    int style = IndexOfText(FStyle->Items(), rtl::Trim(FStyle->Text()));
    TFontStyles s = font->Style() & (fsUnderline | fsStrikeOut);
    s = StyleOf(style) | s;
    if (FDialog.Options() & fdEffects) {
        s &= ~TFontStyles(fsUnderline | fsStrikeOut);
        if (FStrikeOut->Checked()) s |= fsStrikeOut;
        if (FUnderline->Checked()) s |= fsUnderline;
        // A colour of the font outside the box's sixteen stays unless one was chosen.
        if (FColorChosen) font->SetColor(kColors[FColor->ItemIndex()].Color);
    }
    font->SetStyle(s);
}

} // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() { return RunDialogForm<TFontForm>(*this); }

namespace {

// What a stored form keeps of the font dialogs among its components.
struct TFontDialogRegistration {
    TFontDialogRegistration() {
        using D = TFontDialog;
        RegisterClass<D>("TFontDialog", "", {
            IntegerProperty<D>("HelpContext", &D::HelpContext, &D::SetHelpContext).WithDefault(0),
        });
    }
} fontDialogRegistration;

} // namespace

} // namespace vcl
