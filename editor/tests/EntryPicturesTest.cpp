// Entry-field pictures and values as tables: typed keys through each picture character, text
// converted by each data type, value sizes and error texts.
#include "TestEntryField.h"

#include "editor/ZelExceptions.h"
#include "rtl/FormFiles.h"
#include "rtl/IniFiles.h"
#include "rtl/Streams.h"
#include "vcl/Streaming.h"
#include "testing/StoredText.h"
#include "testing/UiTest.h"
#include "win/TestHooks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace editor;
using editor_test::TTestEntryField;
using testing_support::UiTest;

namespace {

class EntryPictures : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = vcl::Make<vcl::TForm>(vcl::Application);
        Form->SetBounds(0, 0, 300, 100);
        new TZelController(Form);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    TTestEntryField* Field(std::uint8_t Mode, std::uint8_t Type, const std::string& Mask) {
        auto* field = new TTestEntryField(Form, Mode, Type, Mask);
        field->SetParent(Form);
        field->SetBounds(10, 10, 200, field->Height());
        return field;
    }
    static void TypeKeys(TTestEntryField* F, const std::string& Keys) {
        for (char c : Keys) win::SendMessage(F->Handle(), win::WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    // The typed value read out of the field, as text.
    static std::string Value(TTestEntryField* F) {
        TZelValueBuffer v{};
        F->Convert(&v, 1);
        const std::uint8_t type = F->DataType();
        if (type == fdString) return ValueString(v);
        if (type >= fdReal && type <= fdComp) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.10Lg", ValueNumber(type, v));
            return buffer;
        }
        if (type == fdChar) return std::string(1, static_cast<char>(v[0]));
        return std::to_string(ValueInteger(type, v));
    }

    vcl::TForm* Form = nullptr;
};

} // namespace

TEST_F(EntryPictures, TypedKeysThroughEveryPictureCharacter) {
    TZelUserData userData;
    userData.UserCharSet[0].reset();
    for (char c : std::string("aeiouAEIOU")) userData.UserCharSet[0][static_cast<unsigned char>(c)] = true;
    userData.ForceCase[0] = 1;
    userData.UserCharSet[7].reset();
    for (char c : std::string("xyz")) userData.UserCharSet[7][static_cast<unsigned char>(c)] = true;
    userData.ForceCase[7] = 2;

    struct Case {
        std::uint8_t type;
        std::string mask, keys, text, value;
        std::uint16_t error;
    };
    const Case cases[] = {
        // Characters of any kind, with their forced case.
        {fdString, "XXXX", "ab1!", "ab1!", "ab1!", 0},
        {fdString, "!!!", "abc", "ABC", "ABC", 0},
        {fdString, "LLL", "ABC", "abc", "abc", 0},
        {fdString, "xxxxxxx", "big cat", "Big Cat", "Big Cat", 0},
        // Letters; letters and digits.
        {fdString, "aaaa", "a1b.", "ab. ", "ab.", 0},
        {fdString, "AAA", "ab1", "AB ", "AB", 0},
        {fdString, "lll", "AB", "ab ", "ab", 0},
        {fdString, "NNN", "a1-", "A1 ", "A1", 0},
        // User character sets 1 to 8 with their case.
        {fdString, "1111", "axe", "AE  ", "AE", 0},
        {fdString, "888", "XYZy", "y  ", "y", 0},
        // Literals are skipped while typing and kept in the text.
        {fdString, "(999) 999-9999", "5551234567", "(555) 123-4567", "(555) 123-4567", 0},
        // Digits with and without signs.
        {fdLongInt, "999", "1a2", "12 ", "12", 0},
        {fdLongInt, "###", "-1+", "-1+", "0", epInvalid},
        {fdLongInt, "####", "-12", "-12 ", "-12", 0},
        {fdInteger, "iiii", "-5+3", "-53 ", "-53", 0},
        {fdDouble, "EEEEE", "1e+5x", "1E+5 ", "100000", 0},
        {fdSingle, "99999", "3 5", "3 5  ", "0", epInvalid},
        // Number bases from the mask's letters.
        {fdWord, "KKKK", "1fz", "1F  ", "31", 0},
        {fdByte, "OOO", "78", "7  ", "7", 0},
        {fdByte, "bbbb", "1021", "101 ", "5", 0},
        {fdByte, "999", "256", "256", "0", epInvalid},
        // Choices.
        {fdBoolean, "B", "xt", "T", "1", 0},
        {fdYesNo, "Y", "qn", "N", "0", 0},
        {fdChar, "X", "q", "q", "q", 0},
        // Dates and times.
        {fdDate, "mm/dd/yyyy", "12311999", "12/31/1999", "146096", 0},
        {fdDate, "mm/dd/yyyy", "02301999", "02/30/1999", "-1", epDate},
        {fdDate, "DD.MM.yy", " 1 296", " 1. 2.96", "144667", 0},
        {fdDate, "nnn dd yyyy", "dec101999", "dec 10 1999", "146075", 0},
        {fdTime, "hh:mm:ss", "123456", "12:34:56", "45296", 0},
        {fdTime, "HH:MM:SS", " 9 5 7", " 9: 5: 7", "32707", 0},
        {fdTime, "hh:mm tt", "1230pm", "12:30 PM", "45000", 0},
        {fdTime, "hh:mm tt", "1230am", "12:30 AM", "1800", 0},
        {fdTime, "hh:mm tt", "1330pm", "13:30 PM", "-1", epTime},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TTestEntryField* f = Field(fmPicture, c.type, c.mask);
        f->SetUserData(&userData);
        f->HandleNeeded();
        f->SetFocus();
        TypeKeys(f, c.keys);
        EXPECT_EQ(f->EditString(), c.text) << "case " << i << " " << c.mask;
        EXPECT_EQ(Value(f), c.value) << "case " << i << " " << c.mask;
        EXPECT_EQ(f->KindValidate(), c.error) << "case " << i << " " << c.mask;
        delete f;
    }
}

TEST_F(EntryPictures, InsertAndOverwriteKeepTheLiteralsInPlace) {
    TTestEntryField* f = Field(fmPicture, fdString, "999-999");
    f->SetFocus();
    TypeKeys(f, "123456");
    EXPECT_EQ(f->EditString(), "123-456");
    // Inserting pushes the characters of the group along; the group's last one drops off.
    f->SetInsertPos(0);
    TypeKeys(f, "9");
    EXPECT_EQ(f->EditString(), "912-456");
    EXPECT_EQ(f->CaretPos(), 1);
    win::SendMessage(f->Handle(), win::WM_KEYDOWN, win::VK_INSERT, 0);
    TypeKeys(f, "88");
    EXPECT_EQ(f->EditString(), "988-456");
    EXPECT_EQ(f->CaretPos(), 4); // past the literal
    // Backspace steps over the literal and pulls the group together.
    win::SendMessage(f->Handle(), win::WM_KEYDOWN, win::VK_BACK, 0);
    EXPECT_EQ(f->EditString(), "98 -456");
    EXPECT_EQ(f->CaretPos(), 2);
    // A simple field is limited by MaxLength.
    TTestEntryField* s = Field(fmSimple, fdString, "!");
    s->SetMaxLength(4);
    s->SetFocus();
    win::ClearRecordedBeeps();
    TypeKeys(s, "abcde");
    EXPECT_EQ(s->EditString(), "ABCD");
    EXPECT_EQ(win::RecordedBeeps().size(), 1u);
}

TEST_F(EntryPictures, SetFieldTextConvertsByTheDataType) {
    struct Case {
        std::uint8_t type;
        std::string mask, text;
        bool ok;
        std::string value;
    };
    const Case cases[] = {
        {fdString, "XXXXXXXX", "hello", true, "hello"},
        {fdChar, "X", "#65", true, "A"},
        {fdChar, "X", "#x", true, " "},
        {fdChar, "X", "", true, " "},
        {fdChar, "X", "#300", false, ""}, // beyond the character set
        {fdChar, "X", "zed", true, "z"},
        {fdBoolean, "B", "yes", true, "1"},
        {fdBoolean, "B", "F", true, "0"},
        {fdBoolean, "B", "", true, "0"},
        {fdYesNo, "Y", "true", true, "1"},
        {fdLongInt, "###########", "-2147483648", true, "-2147483648"},
        {fdLongInt, "###########", "12a", false, ""},
        {fdLongInt, "###########", "", true, "0"},
        {fdWord, "99999", "65535", true, "65535"},
        {fdWord, "99999", "65536", false, ""},
        {fdWord, "99999", "-1", false, ""},
        {fdWord, "99999", "-2147483648", false, ""},
        {fdInteger, "######", "-32768", true, "-32768"},
        {fdInteger, "######", "32768", false, ""},
        {fdByte, "999", "256", false, ""},
        {fdByte, "999", "255", true, "255"},
        {fdShortInt, "####", "-129", false, ""},
        {fdShortInt, "####", "-128", true, "-128"},
        {fdWord, "KKKK", "1F", true, "31"},
        {fdWord, "KKKK", "$1F", true, "31"},
        {fdWord, "OOOOOO", "17", true, "15"},
        {fdWord, "OOOOOO", "18", false, ""}, // not an octal digit
        {fdByte, "bbbbbbbb", "101", true, "5"},
        {fdByte, "bbbbbbbb", "2", false, ""},
        {fdReal, "EEEEEEEE", "1.5", true, "1.5"},
        {fdReal, "EEEEEEEE", "", true, "0"},
        {fdReal, "EEEEEEEE", "1e39", false, ""}, // beyond the 6-byte real
        {fdExtended, "EEEEEEEE", "1e400", true, "1e+400"},
        {fdDouble, "EEEEEEEEEE", "1.7e308", true, "1.7e+308"},
        {fdDouble, "EEEEEEEEEE", "1.8e308", false, ""},
        {fdDouble, "EEEEEEEEEE", "inf", false, ""},
        {fdSingle, "EEEEEEEE", "3.5e38", false, ""},
        {fdSingle, "EEEEEEEE", "0.25", true, "0.25"},
        {fdComp, "EEEEEEEEEEEEEEEEEEEE", "9.3e18", false, ""},
        {fdComp, "EEEEEEEEEEEEEEEEEEEE", "2.6", true, "3"},
        {fdDate, "mm/dd/yyyy", "12/31/1999", true, "146096"},
        {fdDate, "mm/dd/yyyy", "12/31/99", false, ""},
        {fdDate, "mm/dd/yyyy", "02/30/1999", false, ""},
        {fdTime, "hh:mm:ss", "12:30:00 PM", true, "45000"},
        {fdTime, "hh:mm:ss", "12:30", false, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TTestEntryField* f = Field(fmPicture, c.type, c.mask);
        const std::string before = f->EditString();
        if (c.ok) {
            EXPECT_NO_THROW(f->SetFieldText(c.text)) << "case " << i;
            EXPECT_EQ(Value(f), c.value) << "case " << i << " " << c.text;
        } else {
            try {
                f->SetFieldText(c.text);
                ADD_FAILURE() << "case " << i << " converted " << c.text;
            } catch (const EEntryFieldError& e) {
                EXPECT_STREQ(e.what(), "Value is not valid for this field type") << "case " << i;
            }
            EXPECT_EQ(f->EditString(), before) << "case " << i << ": a failed conversion changes nothing";
        }
        delete f;
    }
}

TEST_F(EntryPictures, DatesAndTimesFollowTheInternationalSettings) {
    rtl::WritePrivateProfileString("intl", "sShortDate", "dd.MM.yyyy", "WIN.INI");
    rtl::WritePrivateProfileString("intl", "sDate", ".", "WIN.INI");
    rtl::WritePrivateProfileString("intl", "iTLZero", "1", "WIN.INI");
    rtl::WritePrivateProfileString("intl", "s1159", "", "WIN.INI");
    rtl::WritePrivateProfileString("intl", "s2359", "", "WIN.INI");
    TZelIntlSup intl;
    EXPECT_EQ(DatePicture(intl), "dd/mm/yyyy");
    EXPECT_EQ(TimePicture(intl), "hh:mm:ss");

    TTestEntryField* date = Field(fmPicture, fdDate, "dd/mm/yyyy");
    date->SetIntlSupport(&intl);
    date->SetFieldText("31/12/1999");
    EXPECT_EQ(date->EditString(), "31/12/1999");
    EXPECT_EQ(Value(date), "146096");
    EXPECT_THROW(date->SetFieldText("12/31/1999"), EEntryFieldError);

    TTestEntryField* time = Field(fmPicture, fdTime, "hh:mm:ss");
    time->SetIntlSupport(&intl);
    time->SetFieldText("23:59:58");
    EXPECT_EQ(time->EditString(), "23:59:58");
    EXPECT_EQ(Value(time), "86398");

    // Two-digit years take the field's epoch, else the controller's.
    TTestEntryField* shortYear = Field(fmPicture, fdDate, "dd/mm/yy");
    shortYear->SetIntlSupport(&intl);
    shortYear->HandleNeeded();
    shortYear->SetFocus();
    TypeKeys(shortYear, "010249");
    int d = 0, m = 0, y = 0;
    ASSERT_TRUE(DateToDMY(std::stoi(Value(shortYear)), d, m, y));
    EXPECT_EQ(y, 1949);
    shortYear->SetEpoch(1950);
    ASSERT_TRUE(DateToDMY(std::stoi(Value(shortYear)), d, m, y));
    EXPECT_EQ(y, 2049);
}

TEST_F(EntryPictures, TheDefaultTimePictureShowsAndReadsBackEveryHour) {
    TZelIntlSup intl; // no [intl] section: no leading zero, AM and PM
    ASSERT_EQ(TimePicture(intl), "Hh:mm:ss tt");
    // Every hour at 5 minutes 9 seconds past it, in the field and back.
    const char* const shown[24] = {
        "12:05:09 AM", " 1:05:09 AM", " 2:05:09 AM", " 3:05:09 AM", " 4:05:09 AM", " 5:05:09 AM",
        " 6:05:09 AM", " 7:05:09 AM", " 8:05:09 AM", " 9:05:09 AM", "10:05:09 AM", "11:05:09 AM",
        "12:05:09 PM", " 1:05:09 PM", " 2:05:09 PM", " 3:05:09 PM", " 4:05:09 PM", " 5:05:09 PM",
        " 6:05:09 PM", " 7:05:09 PM", " 8:05:09 PM", " 9:05:09 PM", "10:05:09 PM", "11:05:09 PM",
    };
    TTestEntryField* f = Field(fmPicture, fdTime, "Hh:mm:ss tt");
    f->SetIntlSupport(&intl);
    for (int hour = 0; hour < 24; ++hour) {
        const TTimeOfDay time = hour * 3600 + 5 * 60 + 9;
        EXPECT_EQ(TimeToPictureString("Hh:mm:ss tt", time, intl), shown[hour]) << "hour " << hour;
        EXPECT_EQ(intl.TimeStringToTime("Hh:mm:ss tt", shown[hour]), time) << "hour " << hour;
        TZelValueBuffer v{};
        SetValueInteger(fdTime, v, time);
        f->Convert(&v, 2);
        EXPECT_EQ(f->EditString(), shown[hour]) << "hour " << hour;
        EXPECT_EQ(Value(f), std::to_string(time)) << "hour " << hour;
    }
    // A run that starts in lower case keeps its leading zero.
    EXPECT_EQ(TimeToPictureString("hH:mm", 9 * 3600 + 30 * 60, intl), "09:30");
    delete f;
}

TEST_F(EntryPictures, ValueSizesFollowTheDataType) {
    struct Case {
        std::uint8_t typeByte;
        int maxLength;
        std::string mask;
        bool strip;
        std::uint16_t size;
    };
    const Case cases[] = {
        {fdString, 15, "X", false, 16},
        {fdString | fdNoLiterals, 14, "(999) 999-9999", true, 11},
        {fdString | fdNoLiterals, 14, "(999) 999-9999", false, 15},
        {fdString | fdNoLiterals, 12, "$###,###.99", true, 12}, // "$" and "," count as input
        {fdString | fdNoLiterals, 1, "---", true, 1},           // never below the length byte
        {fdChar, 1, "X", false, 1}, {fdBoolean, 1, "B", false, 1}, {fdYesNo, 1, "Y", false, 1},
        {fdLongInt, 9, "9", false, 4}, {fdWord, 5, "9", false, 2}, {fdInteger, 6, "#", false, 2},
        {fdByte, 3, "9", false, 1}, {fdShortInt, 4, "#", false, 1}, {fdReal, 9, "E", false, 6},
        {fdExtended, 9, "E", false, 10}, {fdDouble, 9, "E", false, 8}, {fdSingle, 9, "E", false, 4},
        {fdComp, 9, "E", false, 8}, {fdDate, 10, "mm/dd/yyyy", false, 4}, {fdTime, 8, "hh:mm:ss", false, 4},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ValueSize(c.typeByte, c.maxLength, c.mask, c.strip), c.size) << "case " << i;
    }
    // A field answers its size to the message, computed on first asking.
    TTestEntryField* f = Field(fmPicture, fdString | fdNoLiterals, "(999) 999-9999");
    f->SetStripLiterals(true);
    EXPECT_EQ(win::SendMessage(f->Handle(), ZM_VALUESIZE, 0, 0), 11);
    f->SetFieldText("(555) 123-4567");
    EXPECT_EQ(f->GetFieldText(), "5551234567");
    EXPECT_EQ(f->LastError(), 0);
}

TEST_F(EntryPictures, ErrorCodesHaveTheirTexts) {
    const std::pair<std::uint16_t, std::string> cases[] = {
        {256, "Value is not within required range"},
        {257, "Value is not valid for this field type"},
        {258, "A value is required in this field"},
        {259, "Value is not a valid date"},
        {260, "Value is not a valid time"},
        {261, "This field should contain no blanks"},
        {262, "This field should be either empty or completely full"},
        {300, "Entry Error"},
        {32768, "Account closed"},
        {40000, "Account closed"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(EntryErrorText(code, "Account closed"), text) << code;
}

TEST_F(EntryPictures, DataTypesOutsideTheTableAreRefused) {
    TTestEntryField* f = Field(fmPicture, fdString, "XXX");
    f->SetDataType(17);
    try {
        f->SetFieldText("abc");
        ADD_FAILURE() << "stored a value of type 17";
    } catch (const EZelException& e) {
        EXPECT_STREQ(e.what(), "Parameter value is invalid");
    }
}

TEST_F(EntryPictures, RangesAndTheirMessages) {
    TTestEntryField* f = Field(fmPicture, fdInteger, "####");
    f->SetRange("-10", "100");
    f->SetFieldText("101");
    EXPECT_EQ(f->KindValidate(), epRange);
    f->SetFieldText("-10");
    EXPECT_EQ(f->KindValidate(), 0);

    TTestEntryField* real = Field(fmPicture, fdReal, "EEEEEEE");
    real->SetRange("0.5", "1.5");
    real->SetFieldText("1.25");
    EXPECT_EQ(real->KindValidate(), 0);
    real->SetFieldText("1.75");
    EXPECT_EQ(real->KindValidate(), epRange);
}

TEST_F(EntryPictures, SixByteRealsKeepTheirValues) {
    for (double d : {1.0, -1.0, 0.5, 3.141592653589793, 1e-30, 1.7e38, -123456.75}) {
        const auto bytes = DoubleToReal48(d);
        EXPECT_NEAR(Real48ToDouble(bytes.data()), d, std::fabs(d) * 1e-11) << d;
    }
    EXPECT_EQ(DoubleToReal48(1.0)[0], 129);
    EXPECT_EQ(Real48ToDouble(DoubleToReal48(0).data()), 0.0);
}

TEST_F(EntryPictures, OptionRulesSwitchOptionsOffByModeAndType) {
    struct Case {
        std::uint8_t mode, type;
        bool caretToEnd, trimBlanks, forceInsert, stripLiterals, rightJustify;
    };
    const Case cases[] = {
        {fmSimple, fdString, true, true, true, false, true},
        {fmSimple, fdBoolean, false, false, false, false, true},
        {fmSimple, fdLongInt, true, false, true, false, true},
        {fmPicture, fdString, true, true, true, true, true},
        {fmPicture, fdYesNo, false, false, false, false, true},
        {fmPicture, fdDouble, true, false, true, false, true},
        {fmPicture, fdDate, true, false, true, false, true},
        {fmNumeric, fdLongInt, false, false, false, false, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TTestEntryField* f = new TTestEntryField(Form, c.mode, c.type, "X");
        f->SetForceInsert(true);
        f->SetStripLiterals(true);
        f->SetRightJustify(true);
        f->SetParent(Form); // the window is made: the rules apply
        f->HandleNeeded();
        EXPECT_EQ(f->CaretToEnd(), c.caretToEnd) << "case " << i;
        EXPECT_EQ(f->TrimBlanks(), c.trimBlanks) << "case " << i;
        EXPECT_EQ(f->ForceInsert(), c.forceInsert) << "case " << i;
        EXPECT_EQ(f->StripLiterals(), c.stripLiterals) << "case " << i;
        EXPECT_EQ(f->RightJustify(), c.rightJustify) << "case " << i;
        delete f;
    }
}

TEST_F(EntryPictures, ForcedInsertStateIgnoresTheToggleAndTheSharedState) {
    TZelController* controller = static_cast<TZelController*>(Form->Components(0));
    TTestEntryField* shared = Field(fmSimple, fdString, "X");
    TTestEntryField* forced = Field(fmSimple, fdString, "X");
    forced->SetForceOvertype(true);
    shared->SetFocus();
    win::SendMessage(shared->Handle(), win::WM_KEYDOWN, win::VK_INSERT, 0);
    EXPECT_FALSE(shared->InsertMode());
    forced->SetFocus(); // the shared state is left as overwrite
    EXPECT_FALSE(controller->InsertMode());
    EXPECT_FALSE(forced->InsertMode());
    win::SendMessage(forced->Handle(), win::WM_KEYDOWN, win::VK_INSERT, 0);
    EXPECT_FALSE(forced->InsertMode());
    controller->SetInsertMode(true);
    shared->SetFocus(); // takes the shared state; the forced field did not write it
    EXPECT_TRUE(shared->InsertMode());
}

TEST_F(EntryPictures, ControlCharactersShowAsLettersAndCopyAsThemselves) {
    TTestEntryField* f = Field(fmSimple, fdString, "X");
    f->SetFocus();
    f->SetStrText(std::string("a\x01" "b", 3));
    EXPECT_EQ(f->GetDisplayString(), "aAb");
    f->SetSelection(0, 3);
    win::SendMessage(f->Handle(), win::WM_COPY, 0, 0);
    ASSERT_TRUE(win::OpenClipboard(nullptr));
    win::HGLOBAL mem = win::GetClipboardData(win::CF_TEXT);
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(win::GlobalLock(mem))), std::string("a\x01" "b", 3));
    win::GlobalUnlock(mem);
    win::CloseClipboard();
}

TEST_F(EntryPictures, RangesAreStoredWithTheFormForRangedTypesOnly) {
    vcl::RegisterClass<TTestEntryField>("TTestEntryField", "");
    auto text = [](TTestEntryField* f) { return testing_support::StoredText(f); };
    TTestEntryField* word = Field(fmPicture, fdWord, "99999");
    word->SetRange("1", "10");
    const std::string stored = text(word);
    EXPECT_NE(stored.find("RangeHigh = {\r\n    0A000000000000000000}"), std::string::npos) << stored;
    EXPECT_NE(stored.find("RangeLow = {"), std::string::npos) << stored;
    TTestEntryField* boolean = Field(fmPicture, fdBoolean, "B");
    EXPECT_EQ(text(boolean).find("Range"), std::string::npos);

    // Read back into another field.
    rtl::TMemoryStream binary;
    vcl::WriteComponentToStream(word, binary);
    binary.SetPosition(0);
    TTestEntryField* copy = Field(fmPicture, fdWord, "99999");
    vcl::ReadComponentFromStream(binary, copy);
    EXPECT_EQ(copy->RangeHigh(), word->RangeHigh());
    EXPECT_EQ(copy->RangeLow(), word->RangeLow());
}
