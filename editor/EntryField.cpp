// The entry fields' base class: typing, caret, selection, scrolling, painting and focus; the
// value road and the checks are in EntryFieldValues.cpp.
#include "editor/EntryField.h"

#include "editor/ZelExceptions.h"
#include "rtl/ScopeGuards.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"
#include "win/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace editor {

using namespace win;
using vcl::TMessage;

namespace {

// The font's height in its text metrics, as the screen measures it.
int FontHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight;
}

bool IsReadOnlyRefused(std::uint16_t Command) {
    switch (Command) {
    case ccBack: case ccCtrlChar: case ccCut: case ccDec: case ccDel: case ccDelBol: case ccDelEol:
    case ccDelLine: case ccDelWord: case ccInc: case ccIns: case ccPaste: case ccRestore: case ccChar:
        return true;
    default:
        return false;
    }
}

} // namespace

int TopTextMargin(vcl::TFont* Font, bool Border, int Height, bool Ctl3D) {
    const int i = std::min(FontHeight(GetStockObject(SYSTEM_FONT)), FontHeight(Font->Handle()));
    const int h = Height;
    // The system draws with the new control look.
    if (!Border) return h - 2 <= i ? (h - i - 2) / 2 - ((h - i) % 2) : 0;
    if (h - 4 > i) return 1;
    return Ctl3D ? (h - i - 4) / 2 - 1 : (h - i - 4) / 2 - ((h - i) % 2);
}

// --- Creation -------------------------------------------------------------------------------

TZelBaseEntryField::TZelBaseEntryField(vcl::TComponent* AOwner)
    : TZelBase(AOwner),
      FErrorColors(std::make_unique<TZelColors>(vcl::clBlack, vcl::clRed)),
      FHighlightColors(std::make_unique<TZelColors>(vcl::clHighlightText, vcl::clHighlight)),
      FIntlSupport(&DefaultIntlSup()), FUserData(&DefaultUserData()),
      FCaret(std::make_unique<TZelCaretPair>(this)) {
    FControlStyle = vcl::csCaptureMouse | vcl::csClickEvents | vcl::csOpaque | vcl::csDoubleClicks;
    SetCursor(vcl::crIBeam);
    TZelBase::SetBounds(0, 0, 130, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(vcl::clWindow);
    FErrorColors->OnChange = [this](vcl::TObject* s) { ColorsChanged(s); };
    FHighlightColors->OnChange = [this](vcl::TObject* s) { ColorsChanged(s); };
}

TZelBaseEntryField::~TZelBaseEntryField() {
    Destroying();
    FCaret.reset();
    FErrorColors.reset();
    FHighlightColors.reset();
    FSavedText.reset();
}

void TZelBaseEntryField::CreateParams(vcl::TCreateParams& Params) {
    TZelBase::CreateParams(Params);
    Params.Caption.clear();
    if (FBorderStyle == TZelBorderStyle::bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    if (FMaxLength == 0) FMaxLength = PictureLength();
    FStatus = sfInsertMode | sfAcceptChars;
}

void TZelBaseEntryField::CreateWnd() {
    TZelBase::CreateWnd();
    FFirstVisible = FCaretPos = FSelStart = FSelEnd = 0;
    FDataSize = 0;
    DataSize();
    const std::uint8_t type = DataType();
    if (FRequired && type >= fdChar && type <= fdComp) FUninitialized = true;
    const bool hex = FPictureMask.find('K') != std::string::npos;
    const bool oct = FPictureMask.find('O') != std::string::npos;
    const bool bin = FPictureMask.find('b') != std::string::npos;
    SetStatus(sfHexEntry, hex);
    SetStatus(sfOctalEntry, oct);
    SetStatus(sfBinaryEntry, bin);
    SetStatus(sfNumericMode, FFieldMode == fmNumeric);
    SetStatus(sfWindowCreated, true);
    ApplyOptionRules();
    AdjustHeight();
    ComputeTextTop();
    FRightJustifiedNow = FRightJustify;
}

void TZelBaseEntryField::Loaded() {
    TZelBase::Loaded();
    ComputeTextTop();
}

// --- Properties -----------------------------------------------------------------------------

void TZelBaseEntryField::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    if (Value) AdjustHeight();
}

void TZelBaseEntryField::SetBorderStyle(TZelBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TZelBaseEntryField::SetControlCharColor(vcl::TColor Value) {
    FControlCharColor = Value;
    RepaintField();
}

int TZelBaseEntryField::EffectiveEpoch() const {
    if (FEpoch != 0) return FEpoch;
    return Controller() ? Controller()->Epoch() : 0;
}

void TZelBaseEntryField::SetIntlSupport(TZelIntlSup* Value) {
    FIntlSupport = Value ? Value : &DefaultIntlSup();
    RepaintField();
}

void TZelBaseEntryField::SetUserData(TZelUserData* Value) {
    FUserData = Value ? Value : &DefaultUserData();
}

void TZelBaseEntryField::SetMaxLength(std::uint16_t Value) {
    FMaxLength = std::min<std::uint16_t>(Value, MaxEditLength);
    FDataSize = 0;
    if (FMaxLength > 0 && FEditString.size() > FMaxLength) SetEditString(FEditString.substr(0, FMaxLength));
}

void TZelBaseEntryField::SetRightJustify(bool Value) {
    FRightJustify = Value;
    FRightJustifiedNow = Value;
    RepaintField();
}

void TZelBaseEntryField::SetSoftValidation(bool Value) {
    FSoftValidation = Value;
    if (!IsLoading()) ApplyOptionRules();
}

void TZelBaseEntryField::SetTextMargin(int Value) {
    FTextMargin = std::max(Value, 0);
    RepaintField();
}

void TZelBaseEntryField::SetUninitialized(bool Value) {
    FUninitialized = Value;
    if (!IsLoading()) ApplyOptionRules();
}

void TZelBaseEntryField::SetZeroDisplay(std::uint8_t Value) {
    FZeroDisplay = std::min<std::uint8_t>(Value, 2);
    RepaintField();
}

void TZelBaseEntryField::SetZeroDisplayValue(double Value) {
    FZeroDisplayValue = Value;
    RepaintField();
}

std::uint16_t TZelBaseEntryField::DataSize() {
    if (FDataSize == 0) FDataSize = ValueSize(FTypeByte, FMaxLength, FPictureMask, FStripLiterals);
    return FDataSize;
}

void TZelBaseEntryField::SetDataType(std::uint8_t TypeByte) {
    FTypeByte = TypeByte;
    FDataSize = 0;
}

void TZelBaseEntryField::SetStatus(std::uint32_t Flags, bool On) {
    if (On)
        FStatus |= Flags;
    else
        FStatus &= ~Flags;
}

void TZelBaseEntryField::SetEditString(std::string S) {
    if (S.size() > MaxEditLength) S.resize(MaxEditLength);
    FEditString = std::move(S);
    const int length = static_cast<int>(FEditString.size());
    FCaretPos = std::min(FCaretPos, length);
    FSelStart = std::min(FSelStart, length);
    FSelEnd = std::min(FSelEnd, length);
    FFirstVisible = std::min(FFirstVisible, length);
}

void TZelBaseEntryField::SetSelRange(int Start, int End) {
    const int length = static_cast<int>(FEditString.size());
    FSelStart = std::clamp(std::min(Start, End), 0, length);
    FSelEnd = std::clamp(std::max(Start, End), 0, length);
}

void TZelBaseEntryField::MarkModified() { FStatus |= sfModified | sfChanged; }

void TZelBaseEntryField::Beep() {
    if (FBeepOnError) MessageBeep(0);
}

void TZelBaseEntryField::RepaintField() {
    if (HandleAllocated()) Invalidate();
}

TZelNumberBase TZelBaseEntryField::NumberBase() const {
    if (HasStatus(sfBinaryEntry)) return TZelNumberBase::Binary;
    if (HasStatus(sfOctalEntry)) return TZelNumberBase::Octal;
    if (HasStatus(sfHexEntry)) return TZelNumberBase::Hexadecimal;
    return TZelNumberBase::Decimal;
}

void TZelBaseEntryField::ApplyOptionRules() {
    if (IsLoading()) return;
    const std::uint8_t type = DataType();
    const bool choice = type >= fdChar && type <= fdYesNo;
    auto clearChoiceOptions = [&] {
        FCaretToEnd = FOptionFlag2 = FForceInsert = FForceOvertype = FTrimBlanks = false;
        FOptionFlag4 = FStripLiterals = false;
    };
    switch (FFieldMode) {
    case fmSimple:
        if (type == fdString) {
            FOptionFlag4 = FStripLiterals = false;
        } else if (choice) {
            clearChoiceOptions();
        } else if (type >= fdLongInt && type <= fdComp) {
            FTrimBlanks = FOptionFlag4 = FStripLiterals = false;
        }
        break;
    case fmPicture:
        if (choice) {
            clearChoiceOptions();
        } else if (type >= fdLongInt && type <= fdComp) {
            FTrimBlanks = FStripLiterals = false;
        } else if (type == fdDate || type == fdTime) {
            FTrimBlanks = FOptionFlag4 = FStripLiterals = false;
        }
        break;
    default:
        FCaretToEnd = FForceInsert = FForceOvertype = FOptionFlag2 = FTrimBlanks = false;
        FOptionFlag4 = FStripLiterals = FRightJustify = false;
        break;
    }
    if (IsDesigning() && FRequired && type >= fdChar && type <= fdComp) FUninitialized = true;
}

// --- Caret and selection --------------------------------------------------------------------

void TZelBaseEntryField::CaretToEndOfText() { FCaretPos = static_cast<int>(FEditString.size()); }

void TZelBaseEntryField::CaretToStart() {
    FCaretPos = 0;
    FFirstVisible = 0;
}

void TZelBaseEntryField::CaretToEntryPosition() {
    if (FCaretToEnd)
        CaretToEndOfText();
    else
        CaretToStart();
}

bool TZelBaseEntryField::IsEmpty() {
    return std::all_of(FEditString.begin(), FEditString.end(), [](char c) { return c == ' '; });
}

std::uint16_t TZelBaseEntryField::SetSelection(std::uint16_t Start, std::uint16_t Stop) {
    if (Stop < Start) return Stop;
    const int length = static_cast<int>(FEditString.size());
    int start = std::min<int>(Start, length);
    int stop = std::min<int>(Stop, length);
    // A numeric field selects all of its text or nothing, and never beyond the text.
    if (HasStatus(sfNumericMode) && start != stop) {
        start = 0;
        stop = length;
    }
    FSelStart = start;
    FSelEnd = stop;
    RepaintField();
    return Stop;
}

void TZelBaseEntryField::SetSelStart(int Value) {
    const int v = std::clamp(Value, 0, static_cast<int>(FEditString.size()));
    FSelStart = FSelEnd = v;
    RepaintField();
}

void TZelBaseEntryField::SetSelLength(int Value) {
    FSelEnd = std::clamp(FSelStart + Value, FSelStart, static_cast<int>(FEditString.size()));
    RepaintField();
}

int TZelBaseEntryField::GetInsertPos() const { return HasStatus(sfHasFocus) ? FCaretPos : -1; }

void TZelBaseEntryField::SetInsertPos(int Value) {
    if (!HasStatus(sfHasFocus)) return;
    // The caret stays within the text: one past its end has no character to stand before.
    FCaretPos = std::clamp(Value, 0, static_cast<int>(FEditString.size()));
    if (PlaceCaret(true)) RepaintField();
}

void TZelBaseEntryField::SetModified(bool Value) {
    if (Value)
        MarkModified();
    else
        SetStatus(sfModified, false);
}

// --- Measuring, caret placement and scrolling -----------------------------------------------

void TZelBaseEntryField::LoadMetrics() {
    if (FMetricsValid) return;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    FTextHeight = std::max<int>(tm.tmHeight, 1);
    // Text is as wide as the sum of its characters' advances: one table serves all measuring
    // while the user types.
    GetCharWidth(dc, 0, 255, FAdvance.data());
    SelectObject(dc, old);
    DeleteDC(dc);
    FMetricsValid = true;
}

int TZelBaseEntryField::TextWidth(const std::string& S) {
    LoadMetrics();
    int width = 0;
    for (char c : S) width += FAdvance[static_cast<unsigned char>(c)];
    return width;
}

bool TZelBaseEntryField::PlaceCaret(bool Scroll) {
    if (!HasStatus(sfHasFocus) || !HandleAllocated()) return false;
    const int oldFirst = FFirstVisible;
    const int length = static_cast<int>(FEditString.size());
    FCaretPos = std::clamp(FCaretPos, 0, length);
    if (Scroll) {
        if ((FCaretPos == HomePosition() || FCaretPos == HomePosition() + 1) && FFirstVisible != 0)
            FFirstVisible = 0;
        else if (FCaretPos < FFirstVisible)
            FFirstVisible = FCaretPos;
    }
    const std::string display = GetDisplayString();
    const int room = ClientWidth() - FTextMargin - 1;
    FRightJustifiedNow = FRightJustify && TextWidth(display) < room;
    if (FRightJustifiedNow) FFirstVisible = 0;
    const bool numeric = HasStatus(sfNumericMode);
    int width = 0;
    for (;;) {
        if (FRightJustifiedNow)
            width = TextWidth(display.substr(static_cast<std::size_t>(FCaretPos)));
        else
            width = FFirstVisible < FCaretPos
                        ? TextWidth(display.substr(static_cast<std::size_t>(FFirstVisible),
                                                   static_cast<std::size_t>(FCaretPos - FFirstVisible)))
                        : 0;
        if (width < room || numeric || !Scroll || FFirstVisible >= FCaretPos) break;
        ++FFirstVisible;
    }

    const std::string under =
        FCaretPos < length ? display.substr(static_cast<std::size_t>(FCaretPos), 1) : std::string(" ");
    int cellWidth = std::max(TextWidth(under), 1);
    const TZelCaretShape shape = FCaret->CaretType()->Shape();
    if (shape == TZelCaretShape::csBlock || shape == TZelCaretShape::csHalfBlock ||
        shape == TZelCaretShape::csHorzLine || cellWidth > 4)
        cellWidth += FRightJustifiedNow ? -1 : 1;
    FCaret->SetCellHeight(FTextHeight);
    FCaret->SetCellWidth(std::max(cellWidth, 1));

    int x;
    if (numeric)
        x = ClientWidth() - FTextMargin - 1;
    else if (FRightJustifiedNow)
        x = ClientWidth() - width - FTextMargin - 2;
    else
        x = width + FTextMargin - 2;
    FCaret->SetPosition(std::max(x, 0), std::max(FTextTop, 0));
    return FFirstVisible != oldFirst;
}

int TZelBaseEntryField::PositionAt(int X) {
    const std::string display = GetDisplayString();
    const int length = static_cast<int>(display.size());
    int x0 = FTextMargin - 1;
    int first = FFirstVisible;
    if (FRightJustifiedNow) {
        x0 = ClientWidth() - TextWidth(display) - FTextMargin - 1;
        first = 0;
    }
    int left = x0;
    for (int i = first; i < length; ++i) {
        const int w = TextWidth(display.substr(static_cast<std::size_t>(i), 1));
        if (X < left + w / 2) return i;
        left += w;
    }
    return length;
}

void TZelBaseEntryField::ComputeTextTop() {
    FTextTop = HandleAllocated() ? TopTextMargin(Font(), FBorderStyle == TZelBorderStyle::bsSingle,
                                                 Height(), Ctl3D())
                                 : 0;
}

void TZelBaseEntryField::AdjustHeight() {
    if (!FAutoSize) return;
    const int fieldHeight = FontHeight(Font()->Handle());
    const int extra = Ctl3D() ? 8 : 6 * GetSystemMetrics(SM_CYBORDER);
    FAdjustingHeight = true;
    rtl::TScopeExit adjusted([this] { FAdjustingHeight = false; });
    SetHeight(fieldHeight + extra);
}

void TZelBaseEntryField::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FAutoSize && AHeight != Height() && !IsLoading() && !FAdjustingHeight) FAutoSize = false;
    TZelBase::SetBounds(ALeft, ATop, AWidth, AHeight);
    ComputeTextTop();
    if (HasStatus(sfHasFocus)) PlaceCaret(false);
    RepaintField();
}

// --- Display --------------------------------------------------------------------------------

std::string TZelBaseEntryField::GetDisplayString() {
    std::string s = FEditString;
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 32) c = static_cast<char>(c + 64);
    const std::uint8_t type = DataType();
    const bool zeroBlank =
        type >= fdLongInt && type <= fdComp && !HasStatus(sfHasFocus) &&
        (FZeroDisplay == 1 || (FZeroDisplay == 2 && !HasStatus(sfModified | sfChanged)));
    if (zeroBlank) {
        long double v = 0;
        if (NumberTextToExtended(FEditString, v) && v == static_cast<long double>(FZeroDisplayValue))
            s.assign(s.size(), ' ');
    }
    return s;
}

std::string TZelBaseEntryField::GetDesignPicture() {
    std::string p = EffectivePicture(FFieldMode, FPictureMask, FMaxLength);
    if (p.size() > FMaxLength) p.resize(FMaxLength);
    return p;
}

void TZelBaseEntryField::Paint() {
    const int width = ClientWidth(), height = ClientHeight();
    if (width <= 0 || height <= 0) return;
    vcl::TBitmap bitmap;
    bitmap.SetSize(width, height);
    HDC dc = bitmap.Canvas()->Handle();
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());

    const bool design = IsDesigning();
    const bool enabled = Enabled();
    const bool focused = HasStatus(sfHasFocus);
    std::string text = design ? GetDesignPicture() : GetDisplayString();
    const int first = design ? 0 : std::min(FFirstVisible, static_cast<int>(text.size()));
    const std::string visible = text.substr(static_cast<std::size_t>(first));
    const std::string raw = design ? visible : FEditString.substr(static_cast<std::size_t>(first));

    // The selection in visible characters.
    int selFrom = 0, selTo = 0;
    if (focused && !design && enabled) {
        selFrom = std::max(FSelStart, first) - first;
        selTo = FSelEnd - first;
        if (selTo <= selFrom) selFrom = selTo = 0;
    }

    const bool errorShown = HasStatus(sfErrorShown);
    COLORREF back = vcl::ColorToRGB(errorShown ? FErrorColors->BackColor() : Color());
    COLORREF fore = vcl::ColorToRGB(errorShown ? FErrorColors->TextColor() : Font()->Color());
    if (!enabled && GetSysColor(COLOR_GRAYTEXT) != back) fore = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF hiBack = vcl::ColorToRGB(FHighlightColors->BackColor());
    const COLORREF hiFore = vcl::ColorToRGB(FHighlightColors->TextColor());
    const COLORREF ctrlFore = vcl::ColorToRGB(FControlCharColor);

    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(back);
    win::FillRect(dc, &all, brush);
    DeleteObject(brush);
    SetBkMode(dc, OPAQUE);
    const int y = FTextTop;

    if (HasStatus(sfNumericMode) && !design) {
        const std::string trimmed = TrimPChar(FEditString);
        const bool selected = selTo > selFrom;
        SetTextColor(dc, selected ? hiFore : fore);
        SetBkColor(dc, selected ? hiBack : back);
        SetTextAlign(dc, TA_RIGHT);
        TextOut(dc, width - FTextMargin - 1, y, trimmed.data(), static_cast<int>(trimmed.size()));
        SetTextAlign(dc, TA_LEFT);
    } else {
        int x = FTextMargin - 1;
        const int textWidth = TextWidth(visible);
        if (FRightJustify && textWidth < width - FTextMargin - 1) x = width - textWidth - FTextMargin - 1;
        // Runs split at the selection's ends and at control characters.
        std::size_t i = 0;
        while (i < visible.size() && x < width) {
            const bool selected = static_cast<int>(i) >= selFrom && static_cast<int>(i) < selTo;
            const bool control = static_cast<unsigned char>(raw[i]) < 32;
            std::size_t j = i + 1;
            while (j < visible.size() && (static_cast<int>(j) >= selFrom && static_cast<int>(j) < selTo) == selected &&
                   (static_cast<unsigned char>(raw[j]) < 32) == control)
                ++j;
            if (control)
                SetTextColor(dc, ctrlFore);
            else
                SetTextColor(dc, selected ? hiFore : fore);
            SetBkColor(dc, selected ? hiBack : back);
            const std::string run = visible.substr(i, j - i);
            TextOut(dc, x, y, run.data(), static_cast<int>(run.size()));
            x += TextWidth(run);
            i = j;
        }
    }
    SelectObject(dc, oldFont);
    BitBlt(Canvas()->Handle(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

// --- Events ---------------------------------------------------------------------------------

void TZelBaseEntryField::DoOnChange() {
    if (OnChange && !HasStatus(sfStoring)) OnChange(this);
}

void TZelBaseEntryField::DoOnError(std::uint16_t ErrorCode, const std::string& ErrorMsg) {
    if (OnError)
        OnError(this, ErrorCode, ErrorMsg);
    else if (TZelController* controller = Controller())
        controller->DoOnError(this, ErrorCode, ErrorMsg);
}

void TZelBaseEntryField::DoOnUserCommand(std::uint16_t Command) {
    if (OnUserCommand) OnUserCommand(this, Command);
}

void TZelBaseEntryField::DoOnKindNotify(int Value) {
    if (OnKindNotify && !HasStatus(sfKindEventSuppressed)) OnKindNotify(this, Value);
}

void TZelBaseEntryField::MoveToNextField() {
    if (vcl::TCustomForm* form = vcl::GetParentForm(this)) SendMessage(form->Handle(), WM_NEXTDLGCTL, 0, 0);
}

void TZelBaseEntryField::MoveToPrevField() {
    if (vcl::TCustomForm* form = vcl::GetParentForm(this)) SendMessage(form->Handle(), WM_NEXTDLGCTL, 1, 0);
}

void TZelBaseEntryField::CutToClipboard() {
    if (HandleAllocated()) SendMessage(Handle(), WM_CUT, 0, 0);
}

void TZelBaseEntryField::PasteFromClipboard() {
    if (HandleAllocated()) SendMessage(Handle(), WM_PASTE, 0, 0);
}

void TZelBaseEntryField::CopyToClipboard() {
    if (FSelEnd <= FSelStart) return;
    // The display string, except that control characters go as themselves.
    std::string text = GetDisplayString().substr(static_cast<std::size_t>(FSelStart),
                                                 static_cast<std::size_t>(FSelEnd - FSelStart));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = FEditString[static_cast<std::size_t>(FSelStart) + i];
        if (static_cast<unsigned char>(c) < 32) text[i] = c;
    }
    HGLOBAL mem = GlobalAlloc(GHND, text.size() + 1);
    if (!mem) return;
    char* p = static_cast<char*>(GlobalLock(mem));
    if (!p) {
        GlobalFree(mem);
        return;
    }
    std::memcpy(p, text.data(), text.size());
    GlobalUnlock(mem);
    if (!OpenClipboard(Handle())) {
        GlobalFree(mem);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
    CloseClipboard();
}

// --- Commands -------------------------------------------------------------------------------

void TZelBaseEntryField::RunCommand(TMessage& Msg, std::uint16_t Command) {
    HandleNeeded();
    if (!HandleAllocated()) return;
    if (Command == ccChar && static_cast<char>(Msg.WParam) == 0) return;
    if (GetReadOnly() && IsReadOnlyRefused(Command)) {
        Beep();
        return;
    }
    DoEditCommand(Msg, Command);
    if (Command >= ccUserFirst) DoOnUserCommand(Command);
}

void TZelBaseEntryField::ApplyInsertMode(bool Value) {
    SetStatus(sfInsertMode, Value);
    FCaret->SetInsertMode(Value);
}

void TZelBaseEntryField::SetInsertMode(bool Value) {
    ApplyInsertMode(Value);
    if (HasStatus(sfHasFocus)) {
        FCaret->SetLinked(true);
        FCaret->SetVisible(true);
        PlaceCaret(false);
    }
}

void TZelBaseEntryField::KeyCommand(TMessage& Message, std::uint8_t Key, vcl::TShiftState Shift) {
    std::uint16_t command = Controller() ? Controller()->EntryCommands().TranslateKey(Key, Shift) : std::uint16_t{ccNone};
    if (command == ccUndo) command = ccRestore;
    if (command == ccNone || (command == ccIns && (FForceInsert || FForceOvertype))) return;
    switch (command) {
    case ccCopy: SendMessage(Handle(), WM_COPY, 0, 0); return;
    case ccCut: SendMessage(Handle(), WM_CUT, 0, 0); return;
    case ccPaste: SendMessage(Handle(), WM_PASTE, 0, 0); return;
    default: RunCommand(Message, command); return;
    }
}

void TZelBaseEntryField::WMKeyDown(TMessage& Message) {
    unsigned key = static_cast<unsigned>(Message.WParam);
    if (key == 0 || key == VK_SHIFT) return;
    if (IsDialogKey(key, Message.LParam)) return;
    const vcl::TShiftState shift = vcl::KeyDataToShiftState(Message.LParam);
    if (DoKeyDown(key, shift)) return;
    KeyCommand(Message, static_cast<std::uint8_t>(key), shift);
}

void TZelBaseEntryField::WMSysKeyDown(TMessage& Message) {
    unsigned key = static_cast<unsigned>(Message.WParam);
    if (key == VK_TAB || key == VK_MENU) {
        TZelBase::WMSysKeyDown(Message);
        return;
    }
    const vcl::TShiftState shift = vcl::KeyDataToShiftState(Message.LParam) | vcl::ssAlt;
    if (DoKeyDown(key, shift)) return;
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) SetStatus(sfKeypadChar | sfAcceptChars, true);
    KeyCommand(Message, static_cast<std::uint8_t>(key), shift);
}

void TZelBaseEntryField::WMChar(TMessage& Message) {
    char key = static_cast<char>(Message.WParam);
    if (DoKeyPress(key)) key = 0;
    DefaultHandler(Message);
    if (!HasStatus(sfAcceptChars)) return;
    Message.WParam = static_cast<unsigned char>(key);
    RunCommand(Message, ccChar);
}

void TZelBaseEntryField::CMDialogChar(TMessage& Message) {
    // Alt+Backspace restores the field; the form must not take it as an accelerator.
    if (Message.WParam == VK_BACK && (vcl::KeyDataToShiftState(Message.LParam) & vcl::ssAlt)) {
        Message.Result = 1;
        return;
    }
    TZelBase::CMDialogChar(Message);
}

void TZelBaseEntryField::WMGetDlgCode(TMessage& Message) {
    if (IsDesigning()) {
        Message.Result = DLGC_STATIC;
        return;
    }
    DefaultHandler(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
}

// --- Mouse ----------------------------------------------------------------------------------

void TZelBaseEntryField::WMLButtonDown(TMessage& Message) {
    if (!HasStatus(sfHasFocus)) {
        SetStatus(sfMouseFocus, true);
        FSelStart = FSelEnd = 0;
        if (CanFocus()) SetFocus();
    }
    TZelBase::WMLButtonDown(Message);
    if (!HasStatus(sfHasFocus)) return;
    // The field keeps the mouse while the button is held, so that a drag selects.
    SetCapture(Handle());
    RunCommand(Message, ccMouseSel);
}

void TZelBaseEntryField::WMLButtonUp(TMessage& Message) {
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    TZelBase::WMLButtonUp(Message);
}

void TZelBaseEntryField::WMLButtonDblClk(TMessage& Message) {
    if (HasStatus(sfHasFocus)) RunCommand(Message, ccDblClick);
    TZelBase::WMLButtonDblClk(Message);
}

void TZelBaseEntryField::WMMouseMove(TMessage& Message) {
    if (HandleAllocated() && GetCapture() == Handle() && (Message.WParam & MK_LBUTTON))
        RunCommand(Message, ccMouseDrag);
    TZelBase::WMMouseMove(Message);
}

void TZelBaseEntryField::WMRButtonDown(TMessage& Message) {
    if (!HasStatus(sfHasFocus) && CanFocus()) SetFocus();
    TZelBase::WMRButtonDown(Message);
}

// --- Focus ----------------------------------------------------------------------------------

vcl::TWinControl* TZelBaseEntryField::FormControlOf(HWND Wnd) {
    if (!Wnd || (HandleAllocated() && Wnd == Handle())) return nullptr;
    vcl::TCustomForm* form = vcl::GetParentForm(this);
    if (!form) return nullptr;
    for (HWND w : {Wnd, GetParent(Wnd)}) {
        vcl::TWinControl* control = w ? vcl::FindControl(w) : nullptr;
        if (control && control != this && control != form && vcl::GetParentForm(control) == form)
            return control;
    }
    return nullptr;
}

bool TZelBaseEntryField::IsSpecialButton(HWND Wnd) {
    return Controller() && Controller()->IsSpecialButton(Wnd);
}

void TZelBaseEntryField::WMSetFocus(TMessage& Message) {
    if (IsDesigning()) {
        TZelBase::WMSetFocus(Message);
        return;
    }
    TZelController* controller = Controller();
    SetStatus(sfHasFocus, true);
    if (controller) controller->EntryCommands().ResetState();
    const HWND losing = reinterpret_cast<HWND>(Message.WParam);

    if (HasStatus(sfRefocusPending)) {
        // A button pressed while the check failed must not act when the mouse lets it go; a
        // window of another form (the error box) is left alone.
        if (losing && IsWindow(losing) && FormControlOf(losing)) {
            SendMessage(losing, WM_CANCELMODE, 0, 0);
            POINT p;
            GetCursorPos(&p);
            win::ScreenToClient(losing, &p);
            SendMessage(losing, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        }
        Show();
    }
    if (!FForceInsert && !FForceOvertype && controller) ApplyInsertMode(controller->InsertMode());

    const bool skip = HasStatus(sfSkipEntryExit);
    const bool reporting = !skip && controller && controller->ErrorPending();
    bool selectAll = false;
    if (!skip && !reporting) {
        if (!HasStatus(sfRefocusPending)) SetStatus(sfModified, false);
        if (controller) controller->DoOnPreEdit(this, vcl::FindControl(losing));
        FSavedText = FEditString;
        if (!HasStatus(sfMouseFocus)) {
            CaretToEntryPosition();
            selectAll = true;
        }
    }
    SetStatus(sfFocusWhileReporting, reporting);
    SetStatus(sfErrorPending | sfSkipEntryExit | sfMouseFocus | sfRefocusPending, false);
    if (controller) controller->SetErrorPending(false);

    TZelBase::WMSetFocus(Message);
    if (FForceInsert) ApplyInsertMode(true);
    if (FForceOvertype) ApplyInsertMode(false);
    FCaret->SetLinked(true);
    FCaret->SetVisible(true);
    PlaceCaret(!skip);
    if (selectAll && FAutoSelect) SetSelRange(0, static_cast<int>(FEditString.size()));
    RepaintField();
}

void TZelBaseEntryField::WMKillFocus(TMessage& Message) {
    if (IsDesigning()) {
        TZelBase::WMKillFocus(Message);
        return;
    }
    TZelController* controller = Controller();
    const HWND receiving = reinterpret_cast<HWND>(Message.WParam);
    vcl::TWinControl* target = FormControlOf(receiving);
    SetStatus(sfSkipEntryExit, target == nullptr);

    FCaret->SetVisible(false);
    FCaret->SetLinked(false);
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    TZelBase::WMKillFocus(Message);

    if (!FForceInsert && !FForceOvertype && controller) controller->SetInsertMode(InsertMode());

    if (HasStatus(sfErrorPending | sfFocusWhileReporting)) {
        SetStatus(sfRefocusPending, HasStatus(sfErrorPending));
    } else {
        SetStatus(sfRefocusPending, true);
        if (target) {
            if (HasStatus(sfModified)) FUninitialized = false;
            if (IsSpecialButton(receiving)) {
                KindValidate();
            } else {
                Validate(true);
                SetStatus(sfRefocusPending, HasStatus(sfErrorPending));
            }
        }
    }

    SetStatus(sfHasFocus, false);
    if (target && !HasStatus(sfSkipEntryExit | sfFocusWhileReporting) && controller)
        controller->DoOnPostEdit(this, target);
    SetStatus(sfFocusWhileReporting, false);
    if (!HasStatus(sfSkipEntryExit)) CaretToStart();
    RepaintField();
}

// --- Other messages -------------------------------------------------------------------------

void TZelBaseEntryField::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TZelBaseEntryField::WMSize(TMessage& Message) {
    TZelBase::WMSize(Message);
    RepaintField();
}

void TZelBaseEntryField::CMEnabledChanged(TMessage& Message) {
    TZelBase::CMEnabledChanged(Message);
    RepaintField();
}

void TZelBaseEntryField::CMFontChanged(TMessage& Message) {
    TZelBase::CMFontChanged(Message);
    FMetricsValid = false;
    AdjustHeight();
    ComputeTextTop();
    if (HasStatus(sfHasFocus)) PlaceCaret(false);
}

void TZelBaseEntryField::CMCtl3DChanged(TMessage& Message) {
    (void)Message;
    if (IsLoading() || !HandleAllocated()) return;
    if (FBorderStyle == TZelBorderStyle::bsSingle) {
        RecreateWnd();
        AdjustHeight();
    }
    ComputeTextTop();
}

void TZelBaseEntryField::SetNameValue(const std::string& Value) {
    TZelBase::SetNameValue(Value);
    RepaintField();
}

void TZelBaseEntryField::DefineProperties(vcl::TFiler* Filer) {
    TZelBase::DefineProperties(Filer);
    const std::uint8_t type = DataType();
    const bool hasRange = type != fdString && type != fdBoolean && type != fdYesNo;
    auto reader = [](std::array<std::uint8_t, 10>& range) {
        return [&range](rtl::TStream& s) {
            std::array<std::uint8_t, 10> bytes{};
            s.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
            range = bytes;
        };
    };
    auto writer = [](const std::array<std::uint8_t, 10>& range) {
        return [&range](rtl::TStream& s) { s.WriteBuffer(range.data(), static_cast<std::int64_t>(range.size())); };
    };
    Filer->DefineBinaryProperty("RangeHigh", reader(FRangeHigh), writer(FRangeHigh), hasRange);
    Filer->DefineBinaryProperty("RangeLow", reader(FRangeLow), writer(FRangeLow), hasRange);
}

void TZelBaseEntryField::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CUT: WMCut(Message); return;
    case WM_COPY: WMCopy(Message); return;
    case WM_PASTE: WMPaste(Message); return;
    case WM_CLEAR: WMClear(Message); return;
    case WM_SETTEXT: WMSetText(Message); return;
    case EM_GETSEL: EMGetSel(Message); return;
    case EM_SETSEL: EMSetSel(Message); return;
    case EM_GETMODIFY: EMGetModify(Message); return;
    case EM_SETMODIFY: EMSetModify(Message); return;
    case ZM_FIELDERROR: ZMFieldError(Message); return;
    case ZM_VALUESIZE: ZMValueSize(Message); return;
    case WM_MOUSEACTIVATE: WMMouseActivate(Message); return;
    default: TZelBase::Dispatch(Message);
    }
}

void TZelBaseEntryField::WMCut(TMessage& M) {
    CopyToClipboard();
    RunCommand(M, ccCut);
}

void TZelBaseEntryField::WMCopy(TMessage& M) {
    CopyToClipboard();
    RunCommand(M, ccCopy);
}

void TZelBaseEntryField::WMPaste(TMessage& M) {
    if (!HandleAllocated() || !IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(Handle())) return;
    std::string text;
    if (HGLOBAL mem = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
            text.assign(p, strnlen(p, GlobalSize(mem)));
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    TMessage paste = M;
    paste.LParam = reinterpret_cast<LPARAM>(text.c_str());
    RunCommand(paste, ccPaste);
}

void TZelBaseEntryField::WMClear(TMessage& M) { RunCommand(M, ccCut); }

void TZelBaseEntryField::WMSetText(TMessage& M) {
    if (HandleAllocated()) {
        SetSelection(0, MaxEditLength);
        RunCommand(M, ccPaste);
    }
    M.Result = 1;
}

void TZelBaseEntryField::EMGetSel(TMessage& M) { M.Result = MAKELRESULT(FSelStart, FSelEnd); }

void TZelBaseEntryField::EMSetSel(TMessage& M) {
    const WPARAM w = M.WParam & 0xFFFF;
    const LPARAM l = M.LParam & 0xFFFF;
    if (w == 0xFFFF)
        SetSelection(0, 0);
    else if (w == 0 && l == 0xFFFF)
        SetSelection(0, MaxEditLength);
    else if (l >= static_cast<LPARAM>(w))
        SetSelection(static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(l));
    RepaintField();
}

void TZelBaseEntryField::EMGetModify(TMessage& M) { M.Result = GetModified() ? 1 : 0; }

void TZelBaseEntryField::EMSetModify(TMessage& M) { SetModified(M.WParam > 0); }

void TZelBaseEntryField::ZMFieldError(TMessage& M) { ReportError(static_cast<std::uint16_t>(M.WParam)); }

void TZelBaseEntryField::ZMValueSize(TMessage& M) { M.Result = DataSize(); }

void TZelBaseEntryField::WMMouseActivate(TMessage& M) {
    if (IsDesigning()) {
        M.Result = MA_ACTIVATE;
        return;
    }
    DefaultHandler(M);
}

std::string TZelBaseEntryField::GetText() { return FEditString; }

void TZelBaseEntryField::SetTextValue(const std::string& Value) {
    if (HandleAllocated())
        SendMessage(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
    else
        SetStrText(Value);
}

} // namespace editor
