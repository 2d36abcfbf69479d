#include "ide/CallLog.h"

#include "ide/Ide.h"

namespace ide {

std::string TCall::Text() const {
    std::string s = Name + "(";
    for (size_t i = 0; i < Args.size(); ++i) {
        if (i)
            s += ", ";
        s += Args[i];
    }
    return s + ")";
}

void TCallLog::Add(bool fromLibrary, std::string name, std::vector<std::string> args) {
    FCalls.push_back(TCall{fromLibrary, std::move(name), std::move(args)});
}

std::vector<std::string> TCallLog::Texts(bool fromLibrary) const {
    std::vector<std::string> out;
    for (const TCall& c : FCalls)
        if (c.FromLibrary == fromLibrary)
            out.push_back(c.Text());
    return out;
}

void RecordCall(std::string name, std::vector<std::string> args) {
    if (TIde* ide = TIde::Current())
        ide->CallLog().Add(true, std::move(name), std::move(args));
}

void RecordIdeCall(std::string name, std::vector<std::string> args) {
    if (TIde* ide = TIde::Current())
        ide->CallLog().Add(false, std::move(name), std::move(args));
}

} // namespace ide
