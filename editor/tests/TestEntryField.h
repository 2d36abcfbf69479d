// The smallest concrete entry field the tests need: a simple or picture field of any data type,
// editing its edit string through the picture's characters, reading and storing typed values,
// and checking its text by its data type and range. Header only, compiled into each test.
#pragma once

#include "editor/EntryField.h"

#include <cmath>
#include <cstdio>

namespace editor_test {

using namespace editor;

class TTestEntryField : public TZelBaseEntryField {
public:
    TTestEntryField(vcl::TComponent* AOwner, std::uint8_t Mode, std::uint8_t Type, const std::string& Mask)
        : TZelBaseEntryField(AOwner) {
        SetFieldMode(Mode);
        SetDataType(Type);
        if (Mode != fmSimple) SetMaxLength(0);
        SetPictureMask(Mask);
    }

    // The picture the edit string follows: one character for each position.
    std::string Picture() { return EffectivePicture(FieldMode(), PictureMask(), Limit()); }
    // The field's text without its literals.
    std::string InputText() {
        const std::string pic = Picture();
        std::string out;
        for (std::size_t i = 0; i < EditString().size(); ++i)
            if (i >= pic.size() || IsPictureInputChar(pic[i])) out += EditString()[i];
        return out;
    }

    void DoEditCommand(vcl::TMessage& Msg, std::uint16_t Command) override {
        const int length = static_cast<int>(EditString().size());
        switch (Command) {
        case ccChar:
            if (static_cast<unsigned char>(Msg.WParam) < 32 && !FCtrlNext) return;
            FCtrlNext = false;
            TypeChar(static_cast<char>(Msg.WParam), true);
            break;
        case ccCtrlChar: FCtrlNext = true; return;
        case ccBack:
            if (!DeleteSelection()) {
                int p = PrevInput(CaretPos() - 1);
                if (p < 0) return Beep();
                DeleteAt(p);
                SetCaretPos(p);
            }
            Changed();
            break;
        case ccDel:
            if (!DeleteSelection()) {
                const int p = NextInput(CaretPos());
                if (p >= length) return Beep();
                DeleteAt(p);
            }
            Changed();
            break;
        case ccCut:
            if (DeleteSelection()) Changed();
            break;
        case ccDelEol:
            while (NextInput(CaretPos()) < static_cast<int>(EditString().size()) && HasInputAfterCaret())
                DeleteAt(NextInput(CaretPos()));
            Changed();
            break;
        case ccDelLine:
            SetSelRange(0, length);
            DeleteSelection();
            SetCaretPos(FirstInput());
            Changed();
            break;
        case ccPaste: {
            const char* text = reinterpret_cast<const char*>(Msg.LParam);
            if (!text) return;
            DeleteSelection();
            for (const char* p = text; *p; ++p) TypeChar(*p, false);
            Changed();
            break;
        }
        case ccIns: SetInsertMode(!InsertMode()); return;
        case ccRestore: Restore(); return;
        case ccLeft: case ccExtendLeft: MoveTo(PrevInputOrStart(CaretPos() - 1), Command == ccExtendLeft); break;
        case ccRight: case ccExtendRight:
            MoveTo(NextInput(std::min(CaretPos() + 1, length)), Command == ccExtendRight);
            break;
        case ccHome: case ccExtendHome: MoveTo(FirstInput(), Command == ccExtendHome); break;
        case ccEnd: case ccExtendEnd: MoveTo(EndOfInput(), Command == ccExtendEnd); break;
        case ccWordLeft: case ccExtWordLeft: MoveTo(WordLeft(), Command == ccExtWordLeft); break;
        case ccWordRight: case ccExtWordRight: MoveTo(WordRight(), Command == ccExtWordRight); break;
        case ccMouseSel: {
            const int p = PositionAt(static_cast<short>(win::LOWORD(static_cast<std::uintptr_t>(Msg.LParam))));
            MoveTo(p, (Msg.WParam & win::MK_SHIFT) != 0);
            break;
        }
        case ccMouseDrag: {
            const int x = static_cast<short>(win::LOWORD(static_cast<std::uintptr_t>(Msg.LParam)));
            MoveTo(PositionAt(x), true);
            break;
        }
        case ccDblClick:
            FAnchor = 0;
            SetCaretPos(length);
            SetSelRange(0, length);
            break;
        default: return;
        }
        PlaceCaret(true);
        Invalidate();
    }

    std::uint16_t KindValidate() override {
        if (KindError) return KindError;
        const std::uint8_t type = DataType();
        if (type == fdString || type == fdChar || type == fdBoolean || type == fdYesNo) return 0;
        if (IsEmptyInput()) return 0;
        TZelValueBuffer value{};
        if (!ReadValue(value)) return type == fdDate ? epDate : type == fdTime ? epTime : epInvalid;
        if (HasRange()) {
            TZelValueBuffer low{}, high{};
            std::copy(RangeLow().begin(), RangeLow().end(), low.begin());
            std::copy(RangeHigh().begin(), RangeHigh().end(), high.begin());
            const long double v = ValueNumber(type, value);
            if (v < ValueNumber(type, low) || v > ValueNumber(type, high)) return epRange;
        }
        return 0;
    }

    std::uint16_t Convert(TZelValueBuffer* Data, int Action) override {
        if (Data && Action == 1) {
            Data->fill(0);
            if (DataType() == fdString) {
                std::string s = StripLiterals() && (TypeByte() & fdNoLiterals) ? InputText() : EditString();
                SetValueString(*Data, TrimBlanks() ? TrimPChar(s) : s);
            } else {
                ReadValue(*Data);
            }
        } else if (Data && Action == 2) {
            SetEditString(Lay(Format(*Data)));
        }
        return TZelBaseEntryField::Convert(Data, Action);
    }

    bool IsEmpty() override {
        return InputText().find_first_not_of(' ') == std::string::npos;
    }

    // Sets the range limits from two texts of the field's type.
    void SetRange(const std::string& Low, const std::string& High) {
        TZelConvertContext context{&IntlSupport(), EffectiveEpoch(), NumberBase()};
        TZelValueBuffer low{}, high{};
        TextToValue(DataType(), Low, context, low);
        TextToValue(DataType(), High, context, high);
        std::array<std::uint8_t, 10> l{}, h{};
        std::copy_n(low.begin(), 10, l.begin());
        std::copy_n(high.begin(), 10, h.begin());
        SetRangeLow(l);
        SetRangeHigh(h);
    }

    // A check result that overrides the field's own, for the error-report tests.
    std::uint16_t KindError = 0;
    using TZelBaseEntryField::PlaceCaret;
    using TZelBaseEntryField::SetFieldMode;
    using TZelBaseEntryField::SetDataType;

private:
    int Limit() { return MaxLength() > 0 ? MaxLength() : PictureLength(); }
    bool Literal(int Pos) {
        const std::string pic = Picture();
        return FieldMode() != fmSimple && Pos >= 0 && Pos < static_cast<int>(pic.size()) &&
               !IsPictureInputChar(pic[static_cast<std::size_t>(Pos)]);
    }
    int NextInput(int Pos) {
        const int length = static_cast<int>(EditString().size());
        while (Pos < length && Literal(Pos)) ++Pos;
        return Pos;
    }
    int PrevInput(int Pos) {
        while (Pos >= 0 && Literal(Pos)) --Pos;
        return Pos;
    }
    int PrevInputOrStart(int Pos) { return std::max(PrevInput(Pos), FirstInput()); }
    int FirstInput() { return std::min(NextInput(0), static_cast<int>(EditString().size())); }
    int EndOfInput() {
        if (FieldMode() == fmSimple) return static_cast<int>(EditString().size());
        const std::string& s = EditString();
        int end = 0;
        for (int i = 0; i < static_cast<int>(s.size()); ++i)
            if (!Literal(i) && s[static_cast<std::size_t>(i)] != ' ') end = i + 1;
        return NextInput(end);
    }
    bool HasInputAfterCaret() {
        for (int i = CaretPos(); i < static_cast<int>(EditString().size()); ++i)
            if (!Literal(i) && EditString()[static_cast<std::size_t>(i)] != ' ') return true;
        return false;
    }
    int WordLeft() {
        const std::string& s = EditString();
        int p = CaretPos();
        while (p > 0 && s[static_cast<std::size_t>(p - 1)] == ' ') --p;
        while (p > 0 && s[static_cast<std::size_t>(p - 1)] != ' ') --p;
        return p;
    }
    int WordRight() {
        const std::string& s = EditString();
        const int length = static_cast<int>(s.size());
        int p = CaretPos();
        while (p < length && s[static_cast<std::size_t>(p)] != ' ') ++p;
        while (p < length && s[static_cast<std::size_t>(p)] == ' ') ++p;
        return p;
    }
    bool IsEmptyInput() { return IsEmpty(); }

    void MoveTo(int Pos, bool Extend) {
        const int length = static_cast<int>(EditString().size());
        Pos = std::clamp(Pos, 0, length);
        if (!Extend || GetSelLength() == 0) FAnchor = Extend ? CaretPos() : Pos;
        SetCaretPos(Pos);
        SetSelRange(FAnchor, Extend ? Pos : FAnchor);
    }

    void Changed() {
        MarkModified();
        DoOnChange();
    }

    // Removes the selected input characters; false when nothing is selected.
    bool DeleteSelection() {
        if (GetSelLength() == 0) return false;
        const int start = GetSelStart(), end = SelEnd();
        std::string s = EditString();
        if (FieldMode() == fmSimple) {
            s.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
        } else {
            for (int i = start; i < end; ++i)
                if (!Literal(i)) s[static_cast<std::size_t>(i)] = ' ';
        }
        SetEditString(s);
        SetCaretPos(FieldMode() == fmSimple ? start : NextInput(start));
        SetSelRange(CaretPos(), CaretPos());
        FAnchor = CaretPos();
        return true;
    }

    // The end of the run of input positions from Pos.
    int SegmentEnd(int Pos) {
        const int length = static_cast<int>(EditString().size());
        while (Pos < length && !Literal(Pos)) ++Pos;
        return Pos;
    }

    void DeleteAt(int Pos) {
        std::string s = EditString();
        if (FieldMode() == fmSimple) {
            s.erase(static_cast<std::size_t>(Pos), 1);
        } else {
            const int end = SegmentEnd(Pos);
            for (int i = Pos; i + 1 < end; ++i) s[static_cast<std::size_t>(i)] = s[static_cast<std::size_t>(i + 1)];
            s[static_cast<std::size_t>(end - 1)] = ' ';
        }
        SetEditString(s);
    }

    void TypeChar(char Ch, bool ByKey) {
        if (ByKey) DeleteSelection();
        const std::string pic = Picture();
        int p = FieldMode() == fmSimple ? CaretPos() : NextInput(CaretPos());
        if (p >= static_cast<int>(pic.size())) return ByKey ? Beep() : void();
        const char previous = p > 0 ? EditString()[static_cast<std::size_t>(p - 1)] : 0;
        if (!FCtrlAccepted(Ch) &&
            !FitPictureChar(pic[static_cast<std::size_t>(p)], Ch, previous, IntlSupport(), UserData()))
            return ByKey ? Beep() : void();
        std::string s = EditString();
        if (FieldMode() == fmSimple) {
            if (InsertMode() || p >= static_cast<int>(s.size())) {
                if (static_cast<int>(s.size()) >= Limit()) return ByKey ? Beep() : void();
                s.insert(static_cast<std::size_t>(p), 1, Ch);
            } else {
                s[static_cast<std::size_t>(p)] = Ch;
            }
        } else {
            if (InsertMode()) {
                const int end = SegmentEnd(p);
                for (int i = end - 1; i > p; --i) s[static_cast<std::size_t>(i)] = s[static_cast<std::size_t>(i - 1)];
            }
            s[static_cast<std::size_t>(p)] = Ch;
        }
        SetEditString(s);
        SetCaretPos(FieldMode() == fmSimple ? p + 1 : NextInput(p + 1));
        SetSelRange(CaretPos(), CaretPos());
        FAnchor = CaretPos();
        if (ByKey) Changed();
    }
    bool FCtrlAccepted(char Ch) { return static_cast<unsigned char>(Ch) < 32; }

    bool HasRange() {
        for (int i = 0; i < 10; ++i)
            if (RangeLow()[static_cast<std::size_t>(i)] || RangeHigh()[static_cast<std::size_t>(i)]) return true;
        return false;
    }

    bool ReadValue(TZelValueBuffer& Value) {
        const std::uint8_t type = DataType();
        TZelConvertContext context{&IntlSupport(), EffectiveEpoch(), NumberBase()};
        if (type == fdDate) {
            const TDayNumber d = IntlSupport().DateStringToDate(Picture(), EditString(), EffectiveEpoch());
            SetValueInteger(type, Value, d);
            return d != BadDate;
        }
        if (type == fdTime) {
            const TTimeOfDay t = IntlSupport().TimeStringToTime(Picture(), EditString());
            SetValueInteger(type, Value, t);
            return t >= 0;
        }
        const std::string text = FieldMode() == fmSimple ? EditString() : InputText();
        return TextToValue(type, text, context, Value);
    }

    // A typed value as text, before it is laid into the picture.
    std::string Format(const TZelValueBuffer& Value) {
        const std::uint8_t type = DataType();
        const TZelIntlSup& intl = IntlSupport();
        switch (type) {
        case fdString: return ValueString(Value);
        case fdChar: return std::string(1, static_cast<char>(Value[0]));
        case fdBoolean: return std::string(1, Value[0] ? intl.TrueChar : intl.FalseChar);
        case fdYesNo: return std::string(1, Value[0] ? intl.YesChar : intl.NoChar);
        case fdDate: return DateToPictureString(Picture(), ValueInteger(type, Value), intl);
        case fdTime: return TimeToPictureString(Picture(), ValueInteger(type, Value), intl);
        case fdReal: case fdExtended: case fdDouble: case fdSingle: case fdComp: {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.*Lg", type == fdSingle ? 7 : 15, ValueNumber(type, Value));
            return buffer;
        }
        default: {
            const std::int32_t n = ValueInteger(type, Value);
            const auto u = static_cast<std::uint32_t>(n);
            std::string s;
            switch (NumberBase()) {
            case TZelNumberBase::Hexadecimal: {
                char buffer[16];
                std::snprintf(buffer, sizeof buffer, "%X", u);
                return buffer;
            }
            case TZelNumberBase::Octal: {
                char buffer[16];
                std::snprintf(buffer, sizeof buffer, "%o", u);
                return buffer;
            }
            case TZelNumberBase::Binary:
                for (std::uint32_t v = u; v; v >>= 1) s.insert(s.begin(), (v & 1) ? '1' : '0');
                return s.empty() ? "0" : s;
            default: return std::to_string(n);
            }
        }
        }
    }

    // Text laid into the picture: literals at their places (a literal the text holds at that
    // place is taken as read), input positions filled in order.
    std::string Lay(const std::string& Text) {
        if (FieldMode() == fmSimple) return Text.substr(0, static_cast<std::size_t>(Limit()));
        const std::string pic = Picture();
        const std::uint8_t type = DataType();
        // Numbers stand flush right in their input positions.
        std::string text = Text;
        if (type >= fdLongInt && type <= fdComp) {
            const std::size_t inputs = static_cast<std::size_t>(
                std::count_if(pic.begin(), pic.end(), [](char c) { return IsPictureInputChar(c); }));
            if (text.size() < inputs) text.insert(0, inputs - text.size(), ' ');
        }
        std::string out(pic.size(), ' ');
        std::size_t t = 0;
        for (std::size_t i = 0; i < pic.size(); ++i) {
            if (!IsPictureInputChar(pic[i])) {
                out[i] = pic[i];
                if (t < text.size() && text[t] == pic[i]) ++t;
            } else if (t < text.size()) {
                out[i] = text[t++];
            }
        }
        return out;
    }

    int FAnchor = 0;
    bool FCtrlNext = false;
};

} // namespace editor_test
