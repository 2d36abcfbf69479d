// The base class of the library's single-line entry fields: one edit string of at most 255
// characters, typed by a data type and shaped by a picture mask, with its own caret, selection
// and horizontal scroll, painting through a memory bitmap, checks on entering and leaving, and
// the reading and storing of typed values. Concrete field kinds supply the editing by command,
// their own check and the two halves of the value conversion.
// Implementations in EntryField.cpp; the value side's helpers are in Pictures.h.
#pragma once

#include "editor/Pictures.h"
#include "editor/ZelController.h"
#include "editor/ZelLooks.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace editor {

// Commands the field itself makes, besides those of the key-command tables.
constexpr std::uint16_t ccMouseSel = 250;    // a left click: the message's LParam the point
constexpr std::uint16_t ccMouseDrag = 251;   // a move with the button held
constexpr std::uint16_t ccDblClick = 253;    // a double click
constexpr std::uint16_t ccUserFirst = 256;

// The run-time state of a field.
enum TZelFieldStatus : std::uint32_t {
    sfErrorShown = 1u << 0,
    sfMouseFocus = 1u << 1,
    sfFocusWhileReporting = 1u << 2,
    sfValidating = 1u << 3,
    sfModified = 1u << 4,
    sfChanged = 1u << 5,
    sfHexEntry = 1u << 6,
    sfOctalEntry = 1u << 7,
    sfBinaryEntry = 1u << 8,
    sfNumericMode = 1u << 9,
    sfWindowCreated = 1u << 10,
    sfHasFocus = 1u << 11,
    sfSkipEntryExit = 1u << 12,
    sfErrorPending = 1u << 13,
    sfRefocusPending = 1u << 14,
    sfInsertMode = 1u << 15,
    sfKeypadChar = 1u << 16,
    sfAcceptChars = 1u << 17,
    sfStoring = 1u << 18,
    sfReading = 1u << 19,
    sfTextBlocked = 1u << 20,
    sfKindEventSuppressed = 1u << 21,
};

enum class TZelBorderStyle { bsNone, bsSingle };

using TUserCommandEvent = std::function<void(vcl::TObject* Sender, std::uint16_t Command)>;
using TKindNotifyEvent = std::function<void(vcl::TObject* Sender, int Value)>;

class TZelBaseEntryField : public TZelBase {
public:
    static constexpr int MaxEditLength = 255;

    explicit TZelBaseEntryField(vcl::TComponent* AOwner);
    ~TZelBaseEntryField() override;

    // --- Properties, in the order the class declares them ---------------------------------
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool BeepOnError() const { return FBeepOnError; }
    void SetBeepOnError(bool Value) { FBeepOnError = Value; }
    TZelBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TZelBorderStyle Value);
    bool CaretToEnd() const { return FCaretToEnd; }
    void SetCaretToEnd(bool Value) { FCaretToEnd = Value; }
    vcl::TColor ControlCharColor() const { return FControlCharColor; }
    void SetControlCharColor(vcl::TColor Value);
    int Epoch() const { return FEpoch; }
    void SetEpoch(int Value) { FEpoch = Value; }
    // Its own epoch when set, else the controller's, else 0.
    int EffectiveEpoch() const;
    TZelColors& ErrorColors() { return *FErrorColors; }
    TZelColors& HighlightColors() { return *FHighlightColors; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    TZelIntlSup& IntlSupport() const { return *FIntlSupport; }
    void SetIntlSupport(TZelIntlSup* Value);
    bool ForceInsert() const { return FForceInsert; }
    void SetForceInsert(bool Value) { FForceInsert = Value; }
    bool ForceOvertype() const { return FForceOvertype; }
    void SetForceOvertype(bool Value) { FForceOvertype = Value; }
    std::uint16_t LastError() const { return FLastError; }
    void SetLastError(std::uint16_t Value) { FLastError = Value; }
    std::uint16_t MaxLength() const { return FMaxLength; }
    void SetMaxLength(std::uint16_t Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool RightJustify() const { return FRightJustify; }
    void SetRightJustify(bool Value);
    bool SoftValidation() const { return FSoftValidation; }
    void SetSoftValidation(bool Value);
    bool StripLiterals() const { return FStripLiterals; }
    void SetStripLiterals(bool Value) {
        FStripLiterals = Value;
        FDataSize = 0;
    }
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int Value);
    bool TrimBlanks() const { return FTrimBlanks; }
    void SetTrimBlanks(bool Value) { FTrimBlanks = Value; }
    bool Uninitialized() const { return FUninitialized; }
    void SetUninitialized(bool Value);
    TZelUserData& UserData() const { return *FUserData; }
    void SetUserData(TZelUserData* Value);
    // 0 always show the value; 1 blanks while the value is ZeroDisplayValue and the field has
    // no focus; 2 the same, only while the field is unmodified.
    std::uint8_t ZeroDisplay() const { return FZeroDisplay; }
    void SetZeroDisplay(std::uint8_t Value);
    double ZeroDisplayValue() const { return FZeroDisplayValue; }
    void SetZeroDisplayValue(double Value);
    // The options kept for field kinds, stored only.
    bool OptionFlag2() const { return FOptionFlag2; }
    bool OptionFlag3() const { return FOptionFlag3; }
    bool OptionFlag4() const { return FOptionFlag4; }
    char OptionChar1() const { return FOptionChar1; }
    char OptionChar2() const { return FOptionChar2; }

    TZelCaretPair& Caret() { return *FCaret; }
    // Computed when still 0.
    std::uint16_t DataSize();
    std::uint8_t DataType() const { return FTypeByte & fdTypeMask; }
    std::uint8_t TypeByte() const { return FTypeByte; }
    const std::string& EditString() const { return FEditString; }
    std::uint8_t FieldMode() const { return FFieldMode; }
    int FirstVisible() const { return FFirstVisible; }
    int CaretPos() const { return FCaretPos; }
    const std::string& PictureMask() const { return FPictureMask; }
    std::uint16_t PictureLength() const { return static_cast<std::uint16_t>(FPictureMask.size()); }
    // The range limits in the typed value's binary form (10 bytes each).
    const std::array<std::uint8_t, 10>& RangeHigh() const { return FRangeHigh; }
    const std::array<std::uint8_t, 10>& RangeLow() const { return FRangeLow; }
    void SetRangeHigh(const std::array<std::uint8_t, 10>& Value) { FRangeHigh = Value; }
    void SetRangeLow(const std::array<std::uint8_t, 10>& Value) { FRangeLow = Value; }
    bool RightJustifiedNow() const { return FRightJustifiedNow; }
    const std::optional<std::string>& SavedText() const { return FSavedText; }
    int SelStart() const { return FSelStart; }
    int SelEnd() const { return FSelEnd; }
    int TextTop() const { return FTextTop; }
    std::uint32_t Status() const { return FStatus; }
    bool HasStatus(std::uint32_t Flags) const { return (FStatus & Flags) != 0; }
    bool InsertMode() const { return HasStatus(sfInsertMode); }

    // A height set by hand switches AutoSize off.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // --- Virtual operations ----------------------------------------------------------------
    // Checks the field and reports a failure; false keeps the focus in the field.
    virtual bool Validate(bool OnExit);
    virtual void CaretToEndOfText();
    virtual void CaretToStart();
    // The field kind edits the edit string for a command.
    virtual void DoEditCommand(vcl::TMessage& Msg, std::uint16_t Command) = 0;
    // The position that counts as the start of input.
    virtual std::uint16_t HomePosition() { return 0; }
    virtual bool IsEmpty();
    // The text as shown: control characters as the letter 64 higher, or blanks for a zero value.
    virtual std::string GetDisplayString();
    virtual bool GetReadOnly() { return FReadOnly; }
    virtual void ApplyOptionRules();
    virtual void CaretToEntryPosition();
    // Action 0 only answers DataSize; 1 reads the typed value out of the edit string into Data
    // and 2 stores Data into it, both by the field kind, which calls this version after a store.
    virtual std::uint16_t Convert(TZelValueBuffer* Data, int Action);
    // The field kind's check: 0 or an error code.
    virtual std::uint16_t KindValidate() = 0;
    virtual void SetInsertPos(int Value);
    virtual void SetFieldText(const std::string& S);

    // --- What the spell checker and applications call ---------------------------------------
    // The field's text as a value; LastError tells a failed read.
    std::string GetFieldText();
    // Returns Stop.
    std::uint16_t SetSelection(std::uint16_t Start, std::uint16_t Stop);
    int GetSelStart() const { return FSelStart; }
    int GetSelLength() const { return FSelEnd - FSelStart; }
    void SetSelStart(int Value);
    void SetSelLength(int Value);
    // CaretPos while the field has the focus, else -1.
    int GetInsertPos() const;
    bool GetModified() const { return HasStatus(sfModified); }
    void SetModified(bool Value);

    // --- Dynamic operations ------------------------------------------------------------------
    virtual void DoOnChange();
    virtual void DoOnError(std::uint16_t ErrorCode, const std::string& ErrorMsg);
    virtual void DoOnUserCommand(std::uint16_t Command);
    virtual void DoOnKindNotify(int Value);
    virtual void AdjustHeight();
    // An empty mask is ignored; otherwise the typed value survives the change.
    virtual void SetPictureMask(const std::string& P);
    virtual std::string GetDesignPicture();
    virtual void MoveToNextField();
    virtual void MoveToPrevField();
    virtual void CutToClipboard();
    virtual std::string GetStrText() { return FEditString; }
    // At most MaxLength characters.
    virtual void SetStrText(const std::string& S);
    virtual void PasteFromClipboard();
    virtual void Restore();

    vcl::TNotifyEvent OnChange;
    TDataErrorEvent OnError;
    TUserCommandEvent OnUserCommand;
    TKindNotifyEvent OnKindNotify;

protected:
    // What concrete kinds set at creation.
    void SetDataType(std::uint8_t TypeByte);
    void SetFieldMode(std::uint8_t Mode) { FFieldMode = Mode; }
    void SetStatus(std::uint32_t Flags, bool On);
    // The edit string, written by the field kinds (cut at 255 characters).
    void SetEditString(std::string S);
    void SetCaretPos(int Value) { FCaretPos = Value; }
    void SetFirstVisible(int Value) { FFirstVisible = Value; }
    void SetSelRange(int Start, int End);
    // Marks the field modified and changed.
    void MarkModified();
    void Beep();
    // Places the caret, scrolling the text to it when Scroll is set; answers whether the first
    // visible character changed.
    bool PlaceCaret(bool Scroll);
    // The character position under a client x.
    int PositionAt(int X);
    // The text measured in the field's font.
    int TextWidth(const std::string& S);
    // The number base of integer text, from the mask.
    TZelNumberBase NumberBase() const;
    void RunCommand(vcl::TMessage& Msg, std::uint16_t Command);
    // Switches the insert mode and the caret's shape with it.
    void SetInsertMode(bool Value);

    void CreateParams(vcl::TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void Dispatch(vcl::TMessage& Message) override;
    bool KeepsText() const override { return true; }
    void SetNameValue(const std::string& Value) override;
    void DefineProperties(vcl::TFiler* Filer) override;
    void Loaded() override;
    std::string GetText() override;
    void SetTextValue(const std::string& Value) override;

    void WMKeyDown(vcl::TMessage& Message) override;
    void WMSysKeyDown(vcl::TMessage& Message) override;
    void WMChar(vcl::TMessage& Message) override;
    void WMSetFocus(vcl::TMessage& Message) override;
    void WMKillFocus(vcl::TMessage& Message) override;
    void WMLButtonDown(vcl::TMessage& Message) override;
    void WMLButtonUp(vcl::TMessage& Message) override;
    void WMLButtonDblClk(vcl::TMessage& Message) override;
    void WMMouseMove(vcl::TMessage& Message) override;
    void WMRButtonDown(vcl::TMessage& Message) override;
    void WMEraseBkgnd(vcl::TMessage& Message) override;
    void WMGetDlgCode(vcl::TMessage& Message) override;
    void WMSize(vcl::TMessage& Message) override;
    void CMEnabledChanged(vcl::TMessage& Message) override;
    void CMFontChanged(vcl::TMessage& Message) override;
    void CMCtl3DChanged(vcl::TMessage& Message) override;
    void CMDialogChar(vcl::TMessage& Message) override;
    void WMCut(vcl::TMessage& Message);
    void WMCopy(vcl::TMessage& Message);
    void WMPaste(vcl::TMessage& Message);
    void WMClear(vcl::TMessage& Message);
    void WMSetText(vcl::TMessage& Message);
    void EMGetSel(vcl::TMessage& Message);
    void EMSetSel(vcl::TMessage& Message);
    void EMGetModify(vcl::TMessage& Message);
    void EMSetModify(vcl::TMessage& Message);
    void ZMFieldError(vcl::TMessage& Message);
    void ZMValueSize(vcl::TMessage& Message);
    void WMMouseActivate(vcl::TMessage& Message);

private:
    void KeyCommand(vcl::TMessage& Message, std::uint8_t Key, vcl::TShiftState Shift);
    void CopyToClipboard();
    void ReportError(std::uint16_t Code);
    void ComputeTextTop();
    void LoadMetrics();
    void ApplyInsertMode(bool Value);
    bool IsSpecialButton(win::HWND Wnd);
    // Whether a window belongs (itself or its parent) to a control of this field's form.
    vcl::TWinControl* FormControlOf(win::HWND Wnd);
    void ColorsChanged(vcl::TObject*) { Invalidate(); }
    void RepaintField();

    bool FAutoSelect = true;
    bool FAutoSize = true;
    bool FAdjustingHeight = false;
    bool FBeepOnError = true;
    TZelBorderStyle FBorderStyle = TZelBorderStyle::bsSingle;
    bool FCaretToEnd = true;
    vcl::TColor FControlCharColor = 255;
    int FEpoch = 0;
    std::unique_ptr<TZelColors> FErrorColors;
    std::unique_ptr<TZelColors> FHighlightColors;
    bool FRequired = false;
    bool FOptionFlag2 = true;
    TZelIntlSup* FIntlSupport;
    bool FForceInsert = false;
    bool FForceOvertype = false;
    std::uint16_t FLastError = 0;
    std::uint16_t FMaxLength = 15;
    char FOptionChar1 = ' ';
    char FOptionChar2 = '*';
    bool FOptionFlag3 = false;
    bool FReadOnly = false;
    bool FRightJustify = false;
    bool FOptionFlag4 = false;
    bool FSoftValidation = false;
    bool FStripLiterals = false;
    int FTextMargin = 2;
    bool FTrimBlanks = true;
    bool FUninitialized = false;
    TZelUserData* FUserData;
    std::uint8_t FZeroDisplay = 0;
    double FZeroDisplayValue = 0.0;
    std::unique_ptr<TZelCaretPair> FCaret;
    std::uint16_t FDataSize = 0;
    std::uint8_t FTypeByte = 0;
    std::string FEditString;
    std::uint8_t FFieldMode = fmSimple;
    int FFirstVisible = 0;
    int FCaretPos = 0;
    std::string FPictureMask = "X";
    std::array<std::uint8_t, 10> FRangeHigh{};
    std::array<std::uint8_t, 10> FRangeLow{};
    bool FRightJustifiedNow = false;
    std::optional<std::string> FSavedText;
    int FSelStart = 0;
    int FSelEnd = 0;
    int FTextTop = 0;
    std::uint32_t FStatus = sfInsertMode | sfAcceptChars;
    // The font's measures, taken on first use after each change of font.
    bool FMetricsValid = false;
    int FTextHeight = 1;
    std::array<int, 256> FAdvance{};
};

// The vertical offset of the text inside a single-line field of the given font and height.
int TopTextMargin(vcl::TFont* Font, bool Border, int Height, bool Ctl3D);

} // namespace editor
