// The form side of a check: a binary form file is checked through a text copy beside it
// (X.DFM through X.TXT), and the checked copy is converted back into the form. No file the
// check did not make is overwritten, and a form that cannot be converted is skipped with a
// message naming it. Implementations in FormText.cpp.
//
// The copy is loaded into the editor as it is, in ANSI: the word filter converts each paragraph
// to OEM as it reads it, so its lines are not converted beforehand or afterwards.
#pragma once

#include <string>
#include <string_view>

namespace spellexpert {

// Whether the file is a form: its extension is .DFM, in any case.
bool IsFormFile(std::string_view FileName);

// A form file and its text copy: for a form, FileName becomes its .DFM name and OtherName the
// .TXT name, and the binary form is converted into the text; otherwise FileName becomes the
// .TXT name and OtherName the .DFM name, and the text is converted into the binary form. The
// target is replaced atomically, so a failure leaves it as it was. 1 on success; 0 on failure,
// with the reason in Error when it is given.
int ConvertFormFile(std::string& FileName, std::string& OtherName, std::string* Error = nullptr);

// Makes the text copy of the form FileName to check: true with its name in TextName. False,
// after a warning box naming the form, when the form is skipped: it cannot be converted, or a
// .TXT file that is not a copy of the form as it stands is there (it is left untouched).
bool MakeFormText(const std::string& FileName, std::string& TextName);

// Puts the checked text copy back into the form: unless the OverWrite setting is on, asks
// FileName + " already exists. Overwrite?" first, and No keeps the form as it was. A failed
// conversion leaves the form whole and is reported in an error box. True when the form was
// rewritten.
bool WriteFormBack(const std::string& FileName, const std::string& TextName);

} // namespace spellexpert
