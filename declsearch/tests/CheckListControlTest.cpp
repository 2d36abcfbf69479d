#include "declsearch/CheckBox.h"
#include "declsearch/CheckList.h"

#include "rtl/Streams.h"
#include "testing/UiTest.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"

#include <memory>

using namespace vcl;
using namespace declsearch;
using testing_support::TRobot;

namespace {

class CheckListControl : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(0, 0, 220, 140);
        List = new TKwCheckList(Form);
        List->SetName("Files");
        List->SetParent(Form);
        List->SetBounds(10, 10, 200, 120);
        for (const char* s : {"System.pas", "Classes.pas", "Forms.pas", "Dialogs.pas"}) List->Items()->Add(s);
        List->OnChange = [this](TObject*) { ++Changes; };
        Form->Show();
        Pump();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Pump() {
        for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    }
    void Run(TRobot& robot) {
        testing_support::PlayOut(robot, 100, 0);
        Pump();
        ASSERT_TRUE(robot.Done()) << robot.Describe();
    }
    // Pixels of one colour in a rectangle of the list's client area, as on the screen.
    int Count(TColor Colour, const TRect& R) {
        win::UpdateWindow(List->Handle());
        win::HDC dc = win::GetDC(List->Handle());
        int n = 0;
        for (int y = R.top; y < R.bottom; ++y)
            for (int x = R.left; x < R.right; ++x)
                if (TColor(win::GetPixel(dc, x, y)) == TColor(ColorToRGB(Colour))) ++n;
        win::ReleaseDC(List->Handle(), dc);
        return n;
    }
    TRect PictureArea(int Index) {
        TRect r = List->ItemRect(Index);
        return Rect(r.left, r.top, r.left + 2 + List->PreparedPicture(false)->Width() + 1, r.bottom);
    }
    TForm* Form = nullptr;
    TKwCheckList* List = nullptr;
    int Changes = 0;
};

} // namespace

TEST_F(CheckListControl, DefaultPicturesShowTheCheckedState) {
    ASSERT_TRUE(List->Is3D());
    ASSERT_GT(List->PreparedPicture(true)->Width(), 0);
    // The default picture's fuchsia took the window colour: none of it is left.
    EXPECT_EQ(Count(clFuchsia, List->ClientRect()), 0);
    int unchecked = Count(clBlack, PictureArea(1));
    List->SetItemChecked(1, true);
    int checked = Count(clBlack, PictureArea(1));
    EXPECT_GT(checked, unchecked + 10) << "the tick";
    EXPECT_EQ(Count(clBlack, PictureArea(0)), unchecked) << "other items keep the empty box";
    // The text starts after the picture.
    EXPECT_EQ(List->TextRect(List->ItemRect(0)).left, List->PreparedPicture(false)->Width() + 6);
    // White colour: the flat pictures.
    List->SetColor(clWhite);
    EXPECT_FALSE(List->Is3D());
    TRobot::Screenshot("/tmp/dc/checklist.png", Form->Handle());
}

TEST_F(CheckListControl, UserPicturesTakeTheWindowAndControlColours) {
    TBitmap pic;
    pic.SetSize(10, 10);
    pic.Canvas()->Brush()->SetColor(clLime); // the replacement colours of this picture
    pic.Canvas()->FillRect(Rect(0, 0, 10, 10));
    pic.Canvas()->Brush()->SetColor(clRed);
    pic.Canvas()->FillRect(Rect(0, 0, 10, 5));
    List->SetPictureWindowColor(clLime);
    List->SetColor(clYellow);
    List->SetPictureChecked(&pic);
    EXPECT_TRUE(List->UserPicture(true));
    EXPECT_FALSE(List->UserPicture(false));
    TBitmap* ready = List->PreparedPicture(true);
    EXPECT_EQ(ready->Canvas()->Pixels(5, 2), TColor(ColorToRGB(clRed)));
    EXPECT_EQ(ready->Canvas()->Pixels(5, 7), TColor(ColorToRGB(clWindow))) << "window replacement";
    List->SetPictureControlColor(clRed);
    EXPECT_EQ(List->PreparedPicture(true)->Canvas()->Pixels(5, 2), TColor(ColorToRGB(clYellow)));
    List->SetItemChecked(0, true);
    EXPECT_EQ(Count(clYellow, PictureArea(0)) > 40, true);
    // Clearing it brings the default back.
    TBitmap none;
    List->SetPictureChecked(&none);
    EXPECT_FALSE(List->UserPicture(true));
    EXPECT_EQ(List->PreparedPicture(true)->Width(), 13);
}

TEST_F(CheckListControl, ClickSpaceAndAcceleratorsToggle) {
    int events = 0;
    List->OnCheck = [&](TObject*, int Index, bool& Value) {
        ++events;
        if (Index == 3) Value = false; // the last file may not be checked
    };
    TRobot robot;
    TRect r2 = List->ItemRect(2);
    robot.ClickAt(List->Handle(), Point(30, (r2.top + r2.bottom) / 2)); // selects and toggles on release
    robot.Key(win::VK_SPACE);                                              // and off again
    robot.Key(win::VK_SPACE);
    robot.Key(win::VK_DOWN);
    robot.Key(win::VK_SPACE); // refused by OnCheck
    Run(robot);
    EXPECT_EQ(events, 4);
    EXPECT_TRUE(List->IsItemChecked(2));
    EXPECT_FALSE(List->IsItemChecked(3));
    EXPECT_EQ(Changes, 3);
    // With cmNone nothing toggles; with cmDblClick a single click does not.
    List->SetCheckMode(cmNone);
    robot.Key(win::VK_SPACE);
    Run(robot);
    List->SetCheckMode(cmDblClick);
    robot.Wait(1000); // no double click with the first one
    robot.ClickAt(List->Handle(), Point(30, (r2.top + r2.bottom) / 2));
    Run(robot);
    EXPECT_TRUE(List->IsItemChecked(2));
    EXPECT_EQ(events, 4);
    // An accelerator of an item's text toggles that item.
    List->Items()->Put(0, "&System.pas");
    List->SetCheckMode(cmClick);
    robot.Key('S', false, false, true);
    Run(robot);
    EXPECT_TRUE(List->IsItemChecked(0));
    EXPECT_EQ(List->ItemIndex(), 0);
}

TEST_F(CheckListControl, StoredDataKeepsTheUserPictures) {
    RegisterDeclsearchControls();
    TBitmap pic;
    pic.SetSize(8, 8);
    pic.Canvas()->Brush()->SetColor(clNavy);
    pic.Canvas()->FillRect(Rect(0, 0, 8, 8));
    List->SetPictureUnchecked(&pic);
    List->SetItemChecked(2, true);
    List->SetCheckMode(cmDblClick);
    rtl::TMemoryStream s;
    WriteComponentToStream(List, s);
    s.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(s, nullptr));
    auto* copy = dynamic_cast<TKwCheckList*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->UserPicture(false));
    EXPECT_FALSE(copy->UserPicture(true));
    EXPECT_EQ(copy->PreparedPicture(false)->Width(), 8);
    EXPECT_EQ(copy->PreparedPicture(false)->Canvas()->Pixels(3, 3), TColor(ColorToRGB(clNavy)));
    EXPECT_EQ(copy->PreparedPicture(true)->Width(), 13) << "the default, not stored";
    EXPECT_EQ(copy->CheckMode(), cmDblClick);
    EXPECT_TRUE(copy->IsItemChecked(2));
    EXPECT_EQ(copy->Checked()->Count(), 1);
}
