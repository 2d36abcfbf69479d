#include "libconfig/Avpdlg.h"
#include "libconfig/ExplorerButton.h"
#include "libconfig/LuLabel.h"

#include "testing/StoredText.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"
#include "vcl/Streaming.h"

#include <gtest/gtest.h>

#include <memory>

namespace libconfig {
namespace {

using namespace vcl;

template <class T>
std::unique_ptr<T> FromText(const std::string& Text) {
    rtl::TStringStream text(Text), binary;
    rtl::ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(binary, nullptr));
    auto* typed = dynamic_cast<T*>(read.get());
    if (typed) read.release();
    return std::unique_ptr<T>(typed);
}

TEST(StoredControls, OnlyValuesOffTheirDefaultsAreStored) {
    TLuLabel label(nullptr);
    TExplorerButton button(nullptr);
    // A label and a button keep their places as every control does.
    const std::string bounds = "  Left = 0\r\n  Top = 0\r\n  Width = 65\r\n  Height = 17\r\n";
    const std::string buttonBounds = "  Left = 0\r\n  Top = 0\r\n  Width = 50\r\n  Height = 40\r\n";
    EXPECT_EQ(testing_support::StoredText(&label), "object TLuLabel\r\n" + bounds + "end\r\n");
    EXPECT_EQ(testing_support::StoredText(&button), "object TExplorerButton\r\n" + buttonBounds + "end\r\n");
    label.SetShadowColor(clBlack);
    button.SetShowDownPattern(false);
    button.SetOptions(boMonoDisplay);
    EXPECT_EQ(testing_support::StoredText(&label), "object TLuLabel\r\n" + bounds + "  ShadowColor = clBlack\r\nend\r\n");
    EXPECT_EQ(testing_support::StoredText(&button),
              "object TExplorerButton\r\n" + buttonBounds + "  Options = [boMonoDisplay]\r\n  ShowDownPattern = False\r\nend\r\n");
}

TEST(StoredControls, LabelAndButtonComeBackAsTheyWereStored) {
    auto label = FromText<TLuLabel>("object TLuLabel\r\n  Caption = 'Vorl'\r\n  TextStyle = tsShadow\r\n"
                                    "  ShadowDepth = 0\r\n  ShadowColor = clNavy\r\nend\r\n");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Caption(), "Vorl");
    EXPECT_EQ(label->TextStyle(), TTextStyle::tsShadow);
    EXPECT_EQ(label->ShadowDepth(), 0);
    EXPECT_EQ(label->ShadowColor(), clNavy);

    TExplorerButton original(nullptr);
    original.SetCaption("&Open");
    original.SetAlignment(TAlignment::taLeftJustify);
    original.SetGroupIndex(3);
    original.SetDown(true);
    original.SetOptions(boIconOnly);
    original.SetShadingType(TShadingType::stDark);
    original.SetUnselectedFontColor(clMaroon);
    original.SetLayout(TButtonLayout::blBitmapRight);
    const std::string text = testing_support::StoredText(&original);
    EXPECT_NE(text.find("Options = [boIconOnly]"), std::string::npos) << text;
    auto button = FromText<TExplorerButton>(text);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->Caption(), "&Open");
    EXPECT_EQ(button->Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(button->GroupIndex(), 3);
    EXPECT_TRUE(button->Down()) << "the group is read before the down state";
    EXPECT_EQ(button->Options(), unsigned(boIconOnly));
    EXPECT_EQ(button->ShadingType(), TShadingType::stDark);
    EXPECT_EQ(button->UnselectedFontColor(), clMaroon);
    EXPECT_EQ(button->Layout(), TButtonLayout::blBitmapRight);
    EXPECT_EQ(button->Hint(), "Open");
}

TEST(StoredControls, FolderPickerKeepsItsPlaceAndOwnFont) {
    TAvPathDialog original(nullptr);
    EXPECT_EQ(testing_support::StoredText(&original), "object TAvPathDialog\r\n  Caption = ' Select Path'\r\nend\r\n");
    original.SetDialogTop(40);
    original.SetDialogLeft(30);
    original.SetFixedOnly(true);
    original.SetPath("C:\\DELPHI\\LIB");
    TFont font;
    font.SetName("Arial");
    original.SetFont(&font);
    auto dialog = FromText<TAvPathDialog>(testing_support::StoredText(&original));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Position(), TPathDialogPosition::posDesigned);
    EXPECT_EQ(dialog->DialogTop(), 40);
    EXPECT_EQ(dialog->DialogLeft(), 30);
    EXPECT_TRUE(dialog->FixedOnly());
    EXPECT_FALSE(dialog->ParentFont());
    EXPECT_EQ(dialog->Font()->Name(), "Arial");
    EXPECT_EQ(dialog->Path(), "C:\\DELPHI\\LIB");
}

} // namespace
} // namespace libconfig
