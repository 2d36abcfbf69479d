// The entry field's value road: its text to and from values, the picture mask, restoring the
// text, and the checks with their reports.
#include "editor/EntryField.h"

#include "editor/ZelController.h"
#include "editor/ZelExceptions.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>

namespace editor {

using namespace win;
using vcl::TMessage;

namespace {

// Holds status flags for a scope and takes them back on every way out.
class TStatusHold {
public:
    TStatusHold(std::uint32_t& Status, std::uint32_t Flags) : FStatus(Status), FFlags(Flags & ~Status) {
        FStatus |= Flags;
    }
    ~TStatusHold() { FStatus &= ~FFlags; }
    TStatusHold(const TStatusHold&) = delete;
    TStatusHold& operator=(const TStatusHold&) = delete;

private:
    std::uint32_t& FStatus;
    std::uint32_t FFlags;
};

} // namespace

std::uint16_t TZelBaseEntryField::Convert(TZelValueBuffer*, int Action) {
    const std::uint16_t size = DataSize();
    if (Action != 2 || IsDesigning() || HasStatus(sfValidating)) return size;
    SetStatus(sfSkipEntryExit, false);
    if (HasStatus(sfHasFocus)) {
        CaretToEntryPosition();
        PlaceCaret(true);
        if (!HasStatus(sfReading)) SetSelRange(0, static_cast<int>(FEditString.size()));
    } else {
        SetStatus(sfErrorShown, false);
    }
    SetStatus(sfModified | sfChanged, false);
    RepaintField();
    return size;
}

std::string TZelBaseEntryField::GetFieldText() {
    if (DataType() != fdString) {
        FLastError = 0;
        return FTrimBlanks ? TrimPChar(FEditString) : FEditString;
    }
    TStatusHold reading(FStatus, sfReading);
    const std::uint16_t error = KindValidate();
    if (error != 0) {
        FLastError = error;
        return {};
    }
    if (DataType() > fdLastType) throw EZelException("Parameter value is invalid");
    TZelValueBuffer value{};
    Convert(&value, 1);
    FLastError = 0;
    return ValueString(value);
}

void TZelBaseEntryField::SetFieldText(const std::string& S) {
    if (HasStatus(sfTextBlocked)) return;
    const std::uint8_t type = DataType();
    if (type > fdLastType) throw EZelException("Parameter value is invalid");
    TZelConvertContext context;
    context.Intl = FIntlSupport;
    context.Epoch = EffectiveEpoch();
    context.Base = NumberBase();
    TZelValueBuffer value{};
    if (!TextToValue(type, S, context, value))
        throw EEntryFieldError(EntryErrorText(epInvalid, {}), epInvalid);
    HandleNeeded();
    TStatusHold storing(FStatus, sfStoring);
    Convert(&value, 2);
}

void TZelBaseEntryField::SetPictureMask(const std::string& P) {
    if (P.empty()) return;
    const std::string mask = P.substr(0, MaxEditLength);
    if (IsLoading()) {
        FPictureMask = mask;
        FDataSize = 0;
        return;
    }
    TZelValueBuffer value{};
    Convert(&value, 1);
    FPictureMask = mask;
    FDataSize = 0;
    Convert(&value, 2);
}

void TZelBaseEntryField::SetStrText(const std::string& S) {
    std::string s = S;
    if (FMaxLength > 0 && s.size() > FMaxLength) s.resize(FMaxLength);
    SetEditString(std::move(s));
    RepaintField();
}

void TZelBaseEntryField::Restore() {
    if (!FSavedText) return;
    SetEditString(*FSavedText);
    CaretToEntryPosition();
    SetSelRange(0, static_cast<int>(FEditString.size()));
    SetStatus(sfModified, false);
    PlaceCaret(true);
    RepaintField();
    DoOnChange();
}

bool TZelBaseEntryField::Validate(bool OnExit) {
    if (!Visible() || !Enabled()) return true;
    HandleNeeded();
    FLastError = 0;
    if (FRequired && !GetReadOnly() && (IsEmpty() || (FUninitialized && !HasStatus(sfModified)))) {
        FLastError = epRequired;
    } else {
        TStatusHold validating(FStatus, sfValidating);
        FLastError = KindValidate();
    }
    FCaretPos = std::min(FCaretPos, static_cast<int>(FEditString.size()));
    if (FLastError == 0) {
        SetStatus(sfErrorShown, false);
        return true;
    }
    if (OnExit && FSoftValidation) {
        SetStatus(sfErrorShown, true);
        RepaintField();
        return true;
    }
    if (FSoftValidation) SetStatus(sfErrorShown, true);
    SetStatus(sfErrorPending, true);
    if (HasStatus(sfHasFocus)) SetStatus(sfSkipEntryExit, true);
    TZelController* controller = Controller();
    {
        const bool soft = FSoftValidation;
        FSoftValidation = true;
        rtl::TScopeExit restore([this, soft] { FSoftValidation = soft; });
        if (controller)
            PostMessage(controller->Handle(), ZM_REFOCUS, 0, reinterpret_cast<LPARAM>(this));
    }
    if (!controller || !controller->ErrorPending())
        PostMessage(Handle(), ZM_FIELDERROR, FLastError, 0);
    if (controller) controller->SetErrorPending(true);
    RepaintField();
    return false;
}

void TZelBaseEntryField::ReportError(std::uint16_t Code) {
    if (Code == 0) return;
    TZelController* controller = Controller();
    const std::string text = EntryErrorText(Code, controller ? controller->LastErrorText() : std::string());
    if (controller && controller->LastErrorText() != text) controller->SetLastErrorText(text);
    DoOnError(Code, text);
}

} // namespace editor
