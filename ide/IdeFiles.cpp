// The IDE's files made on first start; apart from the registry code, whose error constants
// clash with the file routines' in one translation unit.
#include "ide/IdeSettings.h"
#include "ide/WinNames.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"

namespace ide {

namespace {

// The IDE's templates: a header "[name | description]", then the code; '|' marks the cursor.
constexpr const char* DefaultTemplates =
    "[arrayd | array declaration (var)]\r\n"
    "array[0..|] of ;\r\n"
    "[arrayc | array declaration (const)]\r\n"
    "array[0..|] of = ();\r\n"
    "[beginend | begin end]\r\n"
    "begin\r\n"
    "  |\r\n"
    "end;\r\n"
    "[cases | case statement]\r\n"
    "case | of\r\n"
    "  : ;\r\n"
    "end;\r\n"
    "[fors | for statement]\r\n"
    "for | :=  to  do\r\n"
    "begin\r\n"
    "end;\r\n"
    "[ifs | if statement]\r\n"
    "if | then\r\n"
    "begin\r\n"
    "end;\r\n"
    "[trye | try except]\r\n"
    "try\r\n"
    "  |\r\n"
    "except\r\n"
    "end;\r\n"
    "[tryf | try finally]\r\n"
    "try\r\n"
    "  |\r\n"
    "finally\r\n"
    "end;\r\n"
    "[whiles | while statement]\r\n"
    "while | do\r\n"
    "begin\r\n"
    "end;\r\n";

} // namespace

void EnsureIdeFiles() {
    rtl::ForceDirectories(rtl::ExtractFileDir(IdeProgramFile));
    // The folder the default search path names.
    rtl::ForceDirectories("C:\\BORLAND\\DELPHI 2.0\\LIB");
    if (!rtl::FileExists(CodeTemplateFile))
        WriteWholeFile(CodeTemplateFile, DefaultTemplates);
}

} // namespace ide
