#include "spellexpert/FormText.h"

#include "spellexpert/Settings.h"

#include "rtl/Files.h"
#include "rtl/FormFiles.h"
#include "rtl/Paths.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"
#include "vcl/Dialogs.h"

#include <exception>

namespace spellexpert {

namespace {

// The name with the extension Ext; a name that has it already, in any case, keeps its spelling.
std::string WithExt(const std::string& FileName, std::string_view Ext) {
    return rtl::SameText(rtl::ExtractFileExt(FileName), Ext) ? FileName : rtl::ChangeFileExt(FileName, Ext);
}

std::string ReadBytes(const std::string& FileName) {
    rtl::TMemoryStream stream;
    stream.LoadFromFile(FileName);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string ResourceToText(const std::string& Bytes) {
    rtl::TStringStream input(Bytes), output;
    rtl::ObjectResourceToText(input, output);
    return output.DataString();
}

// Whether the text file holds the form as it stands, so that replacing it loses nothing: the
// same text, or a text that converts to the same form with nothing after it. Anything else,
// a copy edited and not put back included, is the user's.
bool HoldsForm(const std::string& TextName, const std::string& FormBytes, const std::string& FormText) {
    try {
        const std::string text = ReadBytes(TextName);
        if (text == FormText) return true;
        rtl::TStringStream input(text), output;
        rtl::ObjectTextToResource(input, output);
        const std::string rest = text.substr(static_cast<std::size_t>(input.Position()));
        return rest.find_first_not_of(" \t\r\n") == std::string::npos && output.DataString() == FormBytes;
    } catch (const std::exception&) {
        return false;
    }
}

void Warn(const std::string& Text) { vcl::MessageDlg(Text, vcl::TMsgDlgType::mtWarning, vcl::mbOK, 0); }

} // namespace

bool IsFormFile(std::string_view FileName) { return rtl::SameText(rtl::ExtractFileExt(FileName), ".DFM"); }

int ConvertFormFile(std::string& FileName, std::string& OtherName, std::string* Error) {
    const bool toText = IsFormFile(FileName);
    const std::string form = WithExt(FileName, ".DFM");
    const std::string text = WithExt(FileName, ".TXT");
    FileName = toText ? form : text;
    OtherName = toText ? text : form;
    try {
        if (toText)
            rtl::ObjectResourceFileToTextFile(FileName, OtherName);
        else
            rtl::ObjectTextFileToResourceFile(FileName, OtherName);
        return 1;
    } catch (const std::exception& e) {
        if (Error) *Error = e.what();
        return 0;
    }
}

bool MakeFormText(const std::string& FileName, std::string& TextName) {
    TextName = WithExt(FileName, ".TXT");
    std::string bytes, text;
    try {
        bytes = ReadBytes(FileName);
        text = ResourceToText(bytes);
    } catch (const std::exception& e) {
        Warn("Form " + FileName + " skipped: it cannot be converted to text (" + e.what() + ").");
        return false;
    }
    if (rtl::FileExists(TextName) && !HoldsForm(TextName, bytes, text)) {
        Warn("Form " + FileName + " skipped: " + TextName + " already exists and is not its text copy.");
        return false;
    }
    try {
        rtl::WriteFileAtomic(TextName, text);
    } catch (const std::exception& e) {
        Warn("Form " + FileName + " skipped: " + TextName + " cannot be written (" + e.what() + ").");
        return false;
    }
    return true;
}

bool WriteFormBack(const std::string& FileName, const std::string& TextName) {
    if (!Settings().OverWrite &&
        vcl::MessageDlg(FileName + " already exists. Overwrite?", vcl::TMsgDlgType::mtConfirmation,
                        vcl::mbYes | vcl::mbNo, 0) != vcl::mrYes)
        return false;
    std::string text = TextName, form = FileName, error;
    if (ConvertFormFile(text, form, &error)) return true;
    vcl::MessageDlg(FileName + " could not be written (" + error + "); it is left as it was, the checked text is in " +
                        TextName + ".",
                    vcl::TMsgDlgType::mtError, vcl::mbOK, 0);
    return false;
}

} // namespace spellexpert
