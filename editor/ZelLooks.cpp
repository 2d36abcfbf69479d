// Caret looks and carets, colour pairs, the fixed font and the list of fixed-pitch faces.
#include "editor/ZelLooks.h"

#include "editor/ZelExceptions.h"
#include "vcl/Streaming.h"
#include "win/Gdi.h"
#include "win/Windows.h"

#include <algorithm>

namespace editor {

// --- Caret look -----------------------------------------------------------------------------

TZelCaret::TZelCaret() = default;
TZelCaret::~TZelCaret() = default;

void TZelCaret::Changed() {
    if (OnChange) OnChange(this);
}

void TZelCaret::SetShape(TZelCaretShape Value) {
    if (Value == FShape) return;
    FShape = Value;
    switch (Value) {
    case TZelCaretShape::csBlock: FAlign = TZelCaretAlign::caLeft; break;
    case TZelCaretShape::csHalfBlock: FAlign = TZelCaretAlign::caBottom; break;
    case TZelCaretShape::csVertLine:
        FAlign = TZelCaretAlign::caLeft;
        FWidth = 2;
        break;
    case TZelCaretShape::csHorzLine:
        FAlign = TZelCaretAlign::caBottom;
        FHeight = 2;
        break;
    case TZelCaretShape::csBitmap:
        if (FBitmap && !FBitmap->Empty()) {
            FHeight = FBitmap->Height();
            FWidth = FBitmap->Width();
        }
        break;
    case TZelCaretShape::csCustom: break;
    }
    Changed();
}

void TZelCaret::SetAlign(TZelCaretAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    Changed();
}

void TZelCaret::SetBitmap(vcl::TBitmap* Value) {
    if (!Value) return;
    if (!FBitmap) FBitmap = std::make_unique<vcl::TBitmap>();
    FBitmap->Assign(Value);
    if (FShape == TZelCaretShape::csBitmap && !FBitmap->Empty()) {
        FHeight = FBitmap->Height();
        FWidth = FBitmap->Width();
    }
    Changed();
}

void TZelCaret::SetBitmapHotSpotX(int Value) {
    if (Value == FHotSpotX) return;
    FHotSpotX = Value;
    if (FShape == TZelCaretShape::csBitmap) Changed();
}

void TZelCaret::SetBitmapHotSpotY(int Value) {
    if (Value == FHotSpotY) return;
    FHotSpotY = Value;
    if (FShape == TZelCaretShape::csBitmap) Changed();
}

void TZelCaret::SetBlinkTime(std::uint16_t Value) {
    if (Value == FBlinkTime) return;
    FBlinkTime = Value;
    Changed();
}

void TZelCaret::SetCaretHeight(int Value) {
    if (Value < 1 || Value == FHeight) return;
    FHeight = Value;
    Changed();
}

void TZelCaret::SetCaretWidth(int Value) {
    if (Value < 1 || Value == FWidth) return;
    FWidth = Value;
    Changed();
}

void TZelCaret::SetIsGray(bool Value) {
    if (Value == FIsGray) return;
    FIsGray = Value;
    Changed();
}

// --- Single caret ---------------------------------------------------------------------------

TZelSingleCaret::TZelSingleCaret(vcl::TWinControl* Owner) : FOwner(Owner) {
    SetCaretType(std::make_shared<TZelCaret>());
}

TZelSingleCaret::~TZelSingleCaret() {
    SetVisible(false);
    Unlink();
    ReleaseLook();
}

void TZelSingleCaret::ReleaseLook() {
    if (FLook && FLook->FListener == this) {
        FLook->OnChange = nullptr;
        FLook->FListener = nullptr;
    }
    FLook.reset();
}

void TZelSingleCaret::SetCaretType(TZelCaretRef Value) {
    if (!Value) return;
    ReleaseLook();
    FLook = std::move(Value);
    FLook->FListener = this;
    FLook->OnChange = [this](vcl::TObject*) { CaretTypeHasChanged(); };
    CaretTypeHasChanged();
}

void TZelSingleCaret::CaretTypeHasChanged() {
    const bool wasLinked = FLinked;
    Unlink();
    Compute();
    if (wasLinked) Link();
}

void TZelSingleCaret::Compute() {
    TZelCaret& look = *FLook;
    const int h = FCellHeight, w = FCellWidth;
    switch (look.FShape) {
    case TZelCaretShape::csBlock:
        look.FHeight = h;
        look.FWidth = w;
        break;
    case TZelCaretShape::csHalfBlock:
        look.FHeight = h / 2;
        look.FWidth = w;
        break;
    case TZelCaretShape::csVertLine: look.FHeight = h; break;
    case TZelCaretShape::csHorzLine: look.FWidth = w; break;
    case TZelCaretShape::csCustom:
    case TZelCaretShape::csBitmap: break;
    }
    const int ch = look.FHeight, cw = look.FWidth;
    int dx = 0, dy = 0;
    switch (look.FAlign) {
    case TZelCaretAlign::caLeft: dy = (h - ch) / 2; break;
    case TZelCaretAlign::caTop: dx = (w - cw) / 2; break;
    case TZelCaretAlign::caRight:
        dx = w - cw;
        dy = (h - ch) / 2;
        break;
    case TZelCaretAlign::caBottom:
        dx = (w - cw) / 2;
        dy = h - ch;
        break;
    case TZelCaretAlign::caCenter:
        dx = (w - cw) / 2;
        dy = (h - ch) / 2;
        break;
    }
    if (look.FShape == TZelCaretShape::csBitmap) {
        dx -= look.FHotSpotX;
        dy -= look.FHotSpotY;
    }
    if (dx != FDx || dy != FDy) {
        FDx = dx;
        FDy = dy;
        if (FLinked) Place();
    }
}

void TZelSingleCaret::SetCellHeight(int Value) {
    if (Value <= 0 || Value == FCellHeight) return;
    FCellHeight = Value;
    CaretTypeHasChanged();
}

void TZelSingleCaret::SetCellWidth(int Value) {
    if (Value <= 0 || Value == FCellWidth) return;
    FCellWidth = Value;
    CaretTypeHasChanged();
}

void TZelSingleCaret::SetLinked(bool Value) {
    if (Value == FLinked) return;
    if (Value)
        Link();
    else
        Unlink();
}

void TZelSingleCaret::Link() {
    if (FLinked || !FOwner || !FOwner->HandleAllocated()) return;
    const TZelCaret& look = *FLook;
    FSavedBlinkTime = win::GetCaretBlinkTime();
    win::HBITMAP shape = nullptr;
    int width = look.FWidth, height = look.FHeight;
    if (look.FShape == TZelCaretShape::csBitmap && look.FBitmap && !look.FBitmap->Empty()) {
        shape = look.FBitmap->Handle();
        width = look.FBitmap->Width();
        height = look.FBitmap->Height();
    } else if (look.FIsGray)
        shape = reinterpret_cast<win::HBITMAP>(1);
    if (!win::CreateCaret(FOwner->Handle(), shape, width, height)) return;
    FLinked = true;
    if (FVisible) win::ShowCaret(FOwner->Handle());
    Place();
    if (look.FBlinkTime != 0 && look.FBlinkTime != FSavedBlinkTime)
        win::SetCaretBlinkTime(look.FBlinkTime);
}

void TZelSingleCaret::Unlink() {
    if (!FLinked) return;
    FLinked = false;
    win::SetCaretBlinkTime(FSavedBlinkTime);
    win::DestroyCaret();
}

void TZelSingleCaret::Place() {
    // A caret that is not placed goes far outside any window.
    constexpr int OffWindow = 2147483647;
    const int x = FX == NotPlaced ? OffWindow : FX + FDx;
    const int y = FY == NotPlaced ? OffWindow : FY + FDy;
    win::SetCaretPos(x, y);
}

void TZelSingleCaret::SetVisible(bool Value) {
    FVisible = Value;
    // Asking a control whose window is gone for its handle would make a new window.
    if (!FLinked || !FOwner->HandleAllocated()) return;
    if (Value)
        win::ShowCaret(FOwner->Handle());
    else
        win::HideCaret(FOwner->Handle());
}

void TZelSingleCaret::SetPosition(int X, int Y) {
    if (X < 0) X = NotPlaced;
    if (Y < 0) Y = NotPlaced;
    if (X == FX && Y == FY) return;
    FX = X;
    FY = Y;
    if (FLinked) Place();
}

// --- Caret pair -----------------------------------------------------------------------------

TZelCaretPair::TZelCaretPair(vcl::TWinControl* Owner)
    : TZelSingleCaret(Owner), FInsLook(std::make_shared<TZelCaret>()),
      FOvrLook(std::make_shared<TZelCaret>()) {
    FOvrLook->SetShape(TZelCaretShape::csBlock);
    SetCaretType(FInsLook);
}

TZelCaretPair::~TZelCaretPair() = default;

void TZelCaretPair::SetInsertMode(bool Value) {
    FInsertMode = Value;
    SetCaretType(Value ? FInsLook : FOvrLook);
}

void TZelCaretPair::SetCaretIns(TZelCaretRef Value) {
    if (!Value) return;
    FInsLook = std::move(Value);
    if (FInsertMode) SetCaretType(FInsLook);
}

void TZelCaretPair::SetCaretOvr(TZelCaretRef Value) {
    if (!Value) return;
    FOvrLook = std::move(Value);
    if (!FInsertMode) SetCaretType(FOvrLook);
}

// --- Colour pair ----------------------------------------------------------------------------

TZelColors::TZelColors(vcl::TColor DefaultText, vcl::TColor DefaultBack)
    : FDefaultText(DefaultText), FDefaultBack(DefaultBack), FBackColor(DefaultBack),
      FTextColor(DefaultText) {}

void TZelColors::Changed() {
    if (OnChange) OnChange(this);
}

void TZelColors::SetBackColor(vcl::TColor Value) {
    if (Value == FBackColor) return;
    if (Value != FDefaultBack) FUseDefault = false;
    FBackColor = Value;
    Changed();
}

void TZelColors::SetTextColor(vcl::TColor Value) {
    if (Value == FTextColor) return;
    if (Value != FDefaultText) FUseDefault = false;
    FTextColor = Value;
    Changed();
}

void TZelColors::SetUseDefault(bool Value) {
    FUseDefault = Value;
    if (!Value) return;
    FBackColor = FDefaultBack;
    FTextColor = FDefaultText;
    Changed();
}

void TZelColors::Assign(vcl::TPersistent* Source) {
    if (auto* other = dynamic_cast<TZelColors*>(Source)) {
        SetBackColor(other->FBackColor);
        SetTextColor(other->FTextColor);
        return;
    }
    vcl::TPersistent::Assign(Source);
}

namespace {

// UseDefault is read, to accept forms that hold it, but never written: the colours decide.
const bool ColorsRegistered = [] {
    vcl::TPropInfo useDefault = vcl::BooleanProperty<TZelColors>(
        "UseDefault", &TZelColors::UseDefault, &TZelColors::SetUseDefault);
    useDefault.SetOrd = [](vcl::TPersistent*, std::int64_t) {};
    useDefault.StoredProc = [](vcl::TPersistent*) { return false; };
    vcl::RegisterClass<TZelColors>(
        "TZelColors", "TPersistent",
        {vcl::ColorProperty<TZelColors>("BackColor", &TZelColors::BackColor, &TZelColors::SetBackColor),
         vcl::ColorProperty<TZelColors>("TextColor", &TZelColors::TextColor, &TZelColors::SetTextColor),
         std::move(useDefault)});
    return true;
}();

const bool LooksRegistered = [] {
    using C = TZelCaret;
    vcl::RegisterClass<C>(
        "TZelCaret", "TPersistent",
        {vcl::EnumProperty<C>("Shape", &C::Shape, &C::SetShape,
                              {"csBlock", "csHalfBlock", "csVertLine", "csHorzLine", "csCustom", "csBitmap"})
             .WithDefault(static_cast<int>(TZelCaretShape::csVertLine)),
         vcl::EnumProperty<C>("Align", &C::Align, &C::SetAlign,
                              {"caLeft", "caTop", "caRight", "caBottom", "caCenter"})
             .WithDefault(static_cast<int>(TZelCaretAlign::caLeft)),
         vcl::IntegerProperty<C>("BitmapHotSpotX", &C::BitmapHotSpotX, &C::SetBitmapHotSpotX).WithDefault(0),
         vcl::IntegerProperty<C>("BitmapHotSpotY", &C::BitmapHotSpotY, &C::SetBitmapHotSpotY).WithDefault(0),
         vcl::IntegerProperty<C>("BlinkTime", &C::BlinkTime, &C::SetBlinkTime).WithDefault(0),
         vcl::IntegerProperty<C>("CaretHeight", &C::CaretHeight, &C::SetCaretHeight).WithDefault(10),
         vcl::IntegerProperty<C>("CaretWidth", &C::CaretWidth, &C::SetCaretWidth).WithDefault(2),
         vcl::BooleanProperty<C>("IsGray", &C::IsGray, &C::SetIsGray).WithDefault(0)});
    using F = TZelFixedFont;
    vcl::RegisterClass<F>(
        "TZelFixedFont", "TPersistent",
        {vcl::ColorProperty<F>("Color", &F::Color, &F::SetColor),
         vcl::StringProperty<F>("Name", &F::Name, &F::SetName),
         vcl::IntegerProperty<F>("Size", &F::Size, &F::SetSize),
         vcl::SetProperty<F>("Style", &F::Style, &F::SetStyle,
                             {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})});
    return true;
}();

// --- Fixed-pitch faces ------------------------------------------------------------------------

std::vector<std::string>& Faces() {
    static std::vector<std::string> faces;
    return faces;
}
bool FacesGathered = false;

int CollectFixedFace(const win::LOGFONT* lf, const win::TEXTMETRIC*, win::DWORD, win::LPARAM param) {
    auto& faces = *reinterpret_cast<std::vector<std::string>*>(param);
    if ((lf->lfPitchAndFamily & 3) == win::FIXED_PITCH &&
        std::find(faces.begin(), faces.end(), lf->lfFaceName) == faces.end())
        faces.emplace_back(lf->lfFaceName);
    return 1;
}

} // namespace

void RefreshFixedPitchFaces() {
    std::vector<std::string> faces;
    win::HDC dc = win::GetDC(nullptr);
    if (dc) {
        win::EnumFontFamilies(dc, nullptr, &CollectFixedFace, reinterpret_cast<win::LPARAM>(&faces));
        win::ReleaseDC(nullptr, dc);
    }
    Faces() = std::move(faces);
    FacesGathered = true;
}

const std::vector<std::string>& FixedPitchFaces() {
    if (!FacesGathered) RefreshFixedPitchFaces();
    return Faces();
}

bool IsFixedPitchFace(const std::string& Name) {
    const auto& faces = FixedPitchFaces();
    return std::find(faces.begin(), faces.end(), Name) != faces.end();
}

// --- Fixed font -----------------------------------------------------------------------------

TZelFixedFont::TZelFixedFont() : FFont(std::make_unique<vcl::TFont>()) {
    // With no fixed-pitch face installed the font keeps its own face.
    const auto& faces = FixedPitchFaces();
    if (!faces.empty()) FFont->SetName(faces.front());
}

TZelFixedFont::~TZelFixedFont() = default;

void TZelFixedFont::Changed() {
    if (OnChange) OnChange(this);
}

void TZelFixedFont::SetColor(vcl::TColor Value) {
    FFont->SetColor(Value);
    Changed();
}

void TZelFixedFont::SetName(const std::string& Value) {
    if (!IsFixedPitchFace(Value)) return;
    FFont->SetName(Value);
    Changed();
}

void TZelFixedFont::SetSize(int Value) {
    FFont->SetSize(Value);
    Changed();
}

void TZelFixedFont::SetStyle(vcl::TFontStyles Value) {
    FFont->SetStyle(Value);
    Changed();
}

void TZelFixedFont::Assign(vcl::TPersistent* Source) {
    const std::string current = FFont->Name();
    if (auto* fixed = dynamic_cast<TZelFixedFont*>(Source))
        FFont->Assign(fixed->FFont.get());
    else if (auto* font = dynamic_cast<vcl::TFont*>(Source)) {
        if (!IsFixedPitchFace(font->Name())) throw EInvalidFixedFont();
        FFont->Assign(font);
    } else
        throw EInvalidFontParam();
    if (!IsFixedPitchFace(FFont->Name())) FFont->SetName(current);
    Changed();
}

} // namespace editor
