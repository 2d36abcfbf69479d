// Our text-to-binary conversion against an independent one: a small program built with the Free
// Pascal compiler converts the same texts with its own class library. Skipped without fpc.
#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const ConverterSource = R"(program texttobinary;
{$mode objfpc}{$H+}
uses Classes, SysUtils;
var
  k: Integer;
  input, output: TFileStream;
begin
  for k := 1 to ParamCount do
  begin
    input := TFileStream.Create(ParamStr(k), fmOpenRead);
    try
      output := TFileStream.Create(ParamStr(k) + '.bin', fmCreate);
      try
        ObjectTextToBinary(input, output);
      finally
        output.Free;
      end;
    finally
      input.Free;
    end;
  end;
end.
)";

std::string ReadHost(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Texts in the value types of the old format (and the plain floats and 64-bit integers the other
// side writes the same way), characters of 128 and above written literally.
const char* const Texts[] = {
    // A form as the designer stored it.
    "object MainForm: TMainForm\r\n"
    "  Left = 192\r\n"
    "  Top = 107\r\n"
    "  BorderStyle = bsDialog\r\n"
    "  Caption = 'Quillo Checking \xC9l\xE8ve'\r\n"
    "  ClientHeight = 273\r\n"
    "  Font.Color = clWindowText\r\n"
    "  Font.Height = -11\r\n"
    "  Font.Name = 'MS Sans Serif'\r\n"
    "  Font.Style = []\r\n"
    "  PixelsPerInch = 96\r\n"
    "  OnCreate = FormCreate\r\n"
    "  TextHeight = 13\r\n"
    "  object lblWord: TLabel\r\n"
    "    Left = 8\r\n"
    "    Caption = 'Not in dictionary:'\r\n"
    "    FocusControl = edtWord\r\n"
    "  end\r\n"
    "  object lstSuggest: TListBox\r\n"
    "    Items.Strings = (\r\n"
    "      'alpha'\r\n"
    "      'it''s'\r\n"
    "      'na\xEFve')\r\n"
    "    TabOrder = 0\r\n"
    "  end\r\n"
    "  object Panel1: TPanel\r\n"
    "    Align = alBottom\r\n"
    "    BevelOuter = bvNone\r\n"
    "    object btnOK: TButton\r\n"
    "      Caption = '&OK'\r\n"
    "      Default = True\r\n"
    "      ModalResult = 1\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object StatusBar1: TStatusBar\r\n"
    "    Panels = <\r\n"
    "      item\r\n"
    "        Width = 50\r\n"
    "      end\r\n"
    "      item\r\n"
    "        Text = 'Ready'\r\n"
    "        Width = 150\r\n"
    "      end>\r\n"
    "    SimplePanel = False\r\n"
    "  end\r\n"
    "  object Image1: TImage\r\n"
    "    Picture.Data = {\r\n"
    "      07544269746D617036000000424D360000000000000036000000280000000100\r\n"
    "      00000100000001001800000000000000000000000000000000000000000000FF}\r\n"
    "  end\r\n"
    "end\r\n",

    // Every value type of the old format, at the edges of the integer sizes.
    "inherited Derived: TDerived\r\n"
    "  I1 = 127\r\n"
    "  I2 = -128\r\n"
    "  I3 = 128\r\n"
    "  I4 = -32768\r\n"
    "  I5 = 32767\r\n"
    "  I6 = 32768\r\n"
    "  I7 = -2147483648\r\n"
    "  I8 = 2147483647\r\n"
    "  I9 = 2147483648\r\n"
    "  I10 = -9223372036854775808\r\n"
    "  H = $7F\r\n"
    "  F1 = 1.5\r\n"
    "  F2 = -0.1\r\n"
    "  F3 = 1E-20\r\n"
    "  F4 = 6.02214076E23\r\n"
    "  S1 = ''\r\n"
    "  S2 = 'line one'#13#10'line two'#9'tab'#0\r\n"
    "  S3 = 'a' + 'b' +\r\n"
    "    #1'c'\r\n"
    "  S4 = '\x80\x9F\xA0\xFF'\r\n"
    "  S5 = '0123456789012345678901234567890123456789012345678901234567890123456789"
    "0123456789012345678901234567890123456789012345678901234567890123456789"
    "0123456789012345678901234567890123456789012345678901234567890123456789"
    "0123456789012345678901234567890123456789012345678901234567890123456789'\r\n"
    "  Id = Form2.Button1\r\n"
    "  T = True\r\n"
    "  N = nil\r\n"
    "  Set1 = [fsBold, fsItalic, fsUnderline]\r\n"
    "  L = (\r\n"
    "    1\r\n"
    "    'two'\r\n"
    "    (\r\n"
    "      3\r\n"
    "      [a])\r\n"
    "    ()\r\n"
    "    <>\r\n"
    "    False\r\n"
    "    {00FF})\r\n"
    "  C = <\r\n"
    "    item\r\n"
    "      Sub = <\r\n"
    "        item\r\n"
    "        end>\r\n"
    "    end>\r\n"
    "  B = {}\r\n"
    "  inherited Child: TChild [2]\r\n"
    "  end\r\n"
    "  inline Frame1: TFrame1\r\n"
    "    object TTimer\r\n"
    "    end\r\n"
    "  end\r\n"
    "end\r\n",

    // The same grammar with other spacing and line ends.
    "object A:TB\n X=(1 2)\r Y = [ a , b ]\n Z = {0a 0B\n 0c}\n  W = 'x'  +  'y'\nend\n",
};

class FreePascal : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (std::system("command -v fpc >/dev/null 2>&1") != 0) return;
        std::string tmpl = (fs::temp_directory_path() / "fpcconv-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) return;
        Dir = tmpl;
        std::ofstream(Dir + "/texttobinary.pas") << ConverterSource;
        std::string build = "fpc -v0 -FU'" + Dir + "' -o'" + Dir + "/texttobinary' '" + Dir +
                            "/texttobinary.pas' >'" + Dir + "/build.log' 2>&1";
        Built = std::system(build.c_str()) == 0;
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        if (!Dir.empty()) fs::remove_all(Dir, ec);
        Dir.clear();
    }
    void SetUp() override {
        if (Dir.empty()) GTEST_SKIP() << "fpc is not installed";
        ASSERT_TRUE(Built) << ReadHost(Dir + "/build.log");
    }

    // Converts each text with the other class library, in one run of its program.
    static std::vector<std::string> TheirBinaries(const std::vector<std::string>& texts) {
        std::string command = "'" + Dir + "/texttobinary'";
        for (std::size_t i = 0; i < texts.size(); ++i) {
            std::string name = Dir + "/text" + std::to_string(i) + ".txt";
            std::ofstream(name, std::ios::binary) << texts[i];
            command += " '" + name + "'";
        }
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<std::string> binaries;
        for (std::size_t i = 0; i < texts.size(); ++i)
            binaries.push_back(ReadHost(Dir + "/text" + std::to_string(i) + ".txt.bin"));
        return binaries;
    }

    static std::string Dir;
    static bool Built;
};

std::string FreePascal::Dir;
bool FreePascal::Built = false;

TEST_F(FreePascal, TextToBinaryGivesTheSameBytes) {
    std::vector<std::string> texts(std::begin(Texts), std::end(Texts));
    std::vector<std::string> theirs = TheirBinaries(texts);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        rtl::TStringStream in(texts[i]), ours;
        rtl::ObjectTextToBinary(in, ours);
        ASSERT_FALSE(theirs[i].empty()) << "text " << i;
        EXPECT_EQ(ours.DataString(), theirs[i]) << "text " << i;

        // Their binary through our text and back.
        rtl::TStringStream binIn(theirs[i]), text;
        rtl::ObjectBinaryToText(binIn, text);
        rtl::TStringStream textIn(text.DataString()), again;
        rtl::ObjectTextToBinary(textIn, again);
        EXPECT_EQ(again.DataString(), theirs[i]) << "text " << i << ":\n" << text.DataString();
    }
}

} // namespace
