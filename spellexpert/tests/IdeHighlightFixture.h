// The IDE's first-start highlight values and editor font in the test's registry, read into the
// expert's records as the library does when it loads.
#pragma once

#include "spellexpert/SyntaxColour.h"

#include "rtl/Registry.h"

#include <gtest/gtest.h>

namespace spellexpert_test {

inline void UseIdeHighlight() {
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Highlight", true));
    const char* values[][2] = {{"Plain_text", ",0,0,0,15"},   {"Identifier", ",1,1,0,15"},
                               {"Reserved_word", "B,1,1,0,15"}, {"Comment", "I,0,1,4,15"},
                               {"String", ",0,1,4,15"},       {"Symbol", ",1,1,0,15"},
                               {"Number", ",1,1,0,15"}};
    for (auto& v : values)
        reg.WriteString(v[0], v[1]);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Editor", true));
    reg.WriteString("FontName", "Courier New");
    reg.WriteInteger("FontSize", 10);
    spellexpert::SetDefaultAttributes();
    spellexpert::ReadIDEHighlight();
}

} // namespace spellexpert_test
