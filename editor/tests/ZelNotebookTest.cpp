#include "editor/ZelNotebook.h"

#include "editor/ZelExceptions.h"
#include "testing/StoredText.h"
#include "testing/UiTest.h"
#include "vcl/EditCtrls.h"
#include "vcl/StdCtrls.h"
#include "vcl/Streaming.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"
#include "rtl/StringLists.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace editor;
using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class NotebookTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetName("frmBook");
        Form->SetCaption("Notebook");
        Form->SetBounds(10, 10, 420, 300);
        Controller = new TZelController(Form);
        Book = new TZelNotebook(Form);
        Book->SetName("nbkMain");
        Book->SetParent(Form);
        Book->SetBounds(8, 8, 380, 220);
        Book->OnPageChange = [this](TObject*, int Index, bool& Allow) {
            Log.push_back("change " + std::to_string(Index));
            Allow = Allow && Index != Refuse;
        };
        Book->OnPageChanged = [this](TObject*, int Index) { Log.push_back("changed " + std::to_string(Index)); };
        Book->OnTabClick = [this](TObject*, int Index) { Log.push_back("click " + std::to_string(Index)); };
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void SetCaptions(std::vector<std::string> Captions) {
        rtl::TStringList list;
        for (auto& c : Captions) list.Add(c);
        Book->SetPages(list);
    }
    void Run(TRobot& Robot) {
        ASSERT_TRUE(testing_support::PlayOut(Robot, 50)) << Robot.Describe();
    }
    TEdit* AddEdit(int Page, const std::string& Name) {
        auto* e = new TEdit(Form);
        e->SetName(Name);
        e->SetParent(Book->Page(Page));
        e->SetBounds(10, 10, 120, 21);
        e->SetTabStop(true);
        return e;
    }
    // The middle of a page's tab, in the notebook's client coordinates.
    win::POINT TabCentre(int Index) {
        const TRect& r = Book->Page(Index)->TabRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    TForm* Form = nullptr;
    TZelController* Controller = nullptr;
    TZelNotebook* Book = nullptr;
    std::vector<std::string> Log;
    int Refuse = -1;
};

} // namespace

TEST_F(NotebookTest, ANewNotebookHasThreePagesAndTheFirstShows) {
    TZelNotebook fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 220);
    EXPECT_EQ(fresh.Height(), 185);
    ASSERT_EQ(fresh.PageCount(), 3);
    EXPECT_EQ(fresh.Pages().Get(0), "&First");
    EXPECT_EQ(fresh.Pages().Get(2), "&Third");
    EXPECT_EQ(fresh.PageIndex(), 0);
    EXPECT_TRUE(fresh.Page(0)->Visible());
    EXPECT_FALSE(fresh.Page(1)->Visible());
    EXPECT_EQ(fresh.ActiveTabFont()->Name(), "Courier New");
    EXPECT_EQ(fresh.ActiveTabFont()->Style(), TFontStyles(fsBold));
    EXPECT_EQ(fresh.Color(), clBtnFace);
    EXPECT_TRUE(fresh.TabStop());
}

TEST_F(NotebookTest, TabRowsAreLaidOutByCountOrByFit) {
    struct Case {
        int pages, rowCount, width, indent;
        int rows, perRow, tabWidth;
        bool fits;
    };
    // The edge is the width less one pixel.
    const Case cases[] = {
        {3, 0, 380, 8, 1, 3, 65, true},    // fits in one row
        {7, 3, 380, 8, 3, 3, 65, true},    // 7 pages in 3 rows: 3 a row
        {7, 3, 150, 8, 3, 3, 44, true},    // the width shrinks until 2 x 8 + 3 x w <= 149
        {8, 0, 200, 8, 4, 2, 65, true},    // rows are added one at a time until they fit
        {4, 0, 60, 8, 4, 1, 65, false},    // never more rows than pages
        {0, 0, 380, 8, 1, 0, 65, true},    // no pages at all
    };
    for (const Case& c : cases) {
        TZelNotebook book(nullptr);
        book.Pages().Clear();
        for (int i = 0; i < c.pages; ++i) book.Pages().Add("Page " + std::to_string(i));
        book.SetTabIndent(c.indent);
        book.SetBounds(0, 0, c.width, 200);
        if (c.rowCount) book.SetTabRowCount(c.rowCount);
        book.LayoutTabs();
        SCOPED_TRACE("pages " + std::to_string(c.pages) + " width " + std::to_string(c.width));
        EXPECT_EQ(book.RowCount(), c.rows);
        EXPECT_EQ(book.TabsPerRow(), c.perRow);
        EXPECT_EQ(book.TabWidth(), c.tabWidth);
        if (c.fits) {
            EXPECT_LE((book.RowCount() - 1) * book.TabIndent() + book.TabsPerRow() * book.TabWidth(), c.width - 1);
        }
        for (int i = 0; i < c.pages; ++i) EXPECT_EQ(book.Page(i)->Row(), i / book.TabsPerRow()) << i;
    }
}

TEST_F(NotebookTest, SettersIgnoreWhatTheyCannotTake) {
    Book->SetTabIndent(40); // above 65 - 65 / 2 = 33
    EXPECT_EQ(Book->TabIndent(), 8);
    Book->SetTabIndent(33);
    EXPECT_EQ(Book->TabIndent(), 33);
    Book->SetTabWidth(-3);
    Book->SetTabHeight(-1);
    EXPECT_EQ(Book->TabWidth(), 65);
    EXPECT_EQ(Book->TabHeight(), 20);
    Book->SetTabHeight(24);
    EXPECT_FALSE(Book->TabAutoHeight());
    Book->SetTabRowCount(4); // more rows than pages
    EXPECT_EQ(Book->TabRowCount(), 0);
    Book->SetTabRowCount(2);
    EXPECT_EQ(Book->TabRowCount(), 2);
}

TEST_F(NotebookTest, PagesAreChosenByIndexAndByCaptionWithTheirEventsInOrder) {
    Form->Show();
    Book->SetPageIndex(2);
    EXPECT_EQ(Book->ActivePageName(), "&Third");
    EXPECT_TRUE(Book->Page(2)->Visible());
    EXPECT_FALSE(Book->Page(0)->Visible());
    Book->SetActivePageName("&SECOND"); // letter case does not count
    EXPECT_EQ(Book->PageIndex(), 1);
    Book->SetActivePageName("Nowhere");
    EXPECT_EQ(Book->PageIndex(), 1);
    Refuse = 0;
    Book->SetPageIndex(0);
    EXPECT_EQ(Book->PageIndex(), 1);
    EXPECT_TRUE(Book->Page(1)->Visible());
    EXPECT_EQ(Log, (std::vector<std::string>{"change 2", "changed 2", "change 1", "changed 1", "change 0"}));
    EXPECT_THROW(Book->SetPageIndex(7), EInvalidPageIndex);
    EXPECT_EQ(Book->PageIndex(), 1);
}

TEST_F(NotebookTest, DisabledPagesAreNotUsableAndTheLastUsableOneStaysEnabled) {
    Form->Show();
    Book->Page(2)->SetPageEnabled(false);
    EXPECT_THROW(Book->SetPageIndex(2), EInvalidPageIndex);
    Book->SetPageIndex(1);
    Book->SetPageEnabled(false); // turns back to the previous usable page
    EXPECT_EQ(Book->PageIndex(), 0);
    Book->Page(1)->SetPageEnabled(false);
    EXPECT_THROW(Book->SetPageEnabled(false), EInvalidPageIndex);
    EXPECT_TRUE(Book->Page(0)->PageEnabled());
    EXPECT_EQ(Book->PageIndex(), 0);
    EXPECT_EQ(Book->NextUsablePage(0), -1);
    Book->Page(2)->SetPageEnabled(true);
    EXPECT_EQ(Book->NextUsablePage(0), 2);
    EXPECT_EQ(Book->PrevUsablePage(0), 2);
}

TEST_F(NotebookTest, TabsOnTheRightNeedATrueTypeFont) {
    Book->Font()->SetName("MS Sans Serif");
    EXPECT_THROW(Book->SetTabOrientation(TTabOrientation::toRight), EInvalidTabFont);
    EXPECT_EQ(Book->TabOrientation(), TTabOrientation::toTop);
    EXPECT_EQ(Book->Font()->Name(), "Courier New");

    Book->Font()->SetName("Arial");
    Book->SetTabOrientation(TTabOrientation::toRight);
    EXPECT_THROW(Book->Font()->SetName("System"), EInvalidTabFont);
    EXPECT_EQ(Book->Font()->Name(), "Courier New");

    TZelNotebook designed(nullptr);
    designed.SetDesigning(true);
    designed.Font()->SetName("MS Sans Serif");
    designed.SetTabOrientation(TTabOrientation::toRight);
    EXPECT_EQ(designed.TabOrientation(), TTabOrientation::toRight);
    EXPECT_EQ(designed.Font()->Name(), "Courier New");
}

TEST_F(NotebookTest, AssignedCaptionsKeepTheirPagesAndEachRepeatedCaptionGetsItsOwn) {
    auto* keep = Book->Page(1);
    AddEdit(1, "edtKept");
    Book->Page(0)->SetPageEnabled(false);
    Book->SetPageIndex(1);
    SetCaptions({"&Second", "&Extra", "&extra", "&First"});
    ASSERT_EQ(Book->PageCount(), 4);
    EXPECT_EQ(Book->Page(0), keep);
    EXPECT_NE(Book->Page(1), Book->Page(2));
    EXPECT_EQ(Book->Page(1)->Caption(), "&Extra");
    EXPECT_EQ(Book->Page(2)->Caption(), "&extra");
    EXPECT_EQ(Book->PageIndex(), 0);
    ASSERT_NE(Form->FindComponent("edtKept"), nullptr);

    // The active page went and the first page cannot show: the first that can does.
    Book->Page(0)->SetPageEnabled(true);
    SetCaptions({"&First", "&Extra"});
    EXPECT_EQ(Book->PageCount(), 2);
    EXPECT_FALSE(Book->Page(0)->PageEnabled());
    EXPECT_EQ(Book->PageIndex(), 1);
    EXPECT_EQ(Form->FindComponent("edtKept"), nullptr);
}

TEST_F(NotebookTest, ANotebookWithoutPagesDrawsEmpty) {
    Book->Pages().Clear();
    Form->Show();
    Book->SetBounds(8, 8, 300, 200);
    Book->SetAlign(TAlign::alClient);
    Application->ProcessMessages();
    EXPECT_EQ(Book->PageIndex(), -1);
    EXPECT_EQ(Book->ActivePageName(), "");
    EXPECT_THROW(Book->SetPageIndex(0), EInvalidPageIndex);
    win::HDC dc = win::GetDC(Book->Handle());
    EXPECT_EQ(win::GetPixel(dc, 20, 10), ColorToRGB(clBtnFace));
    win::ReleaseDC(Book->Handle(), dc);
    Book->Pages().Add("&Only");
    Application->ProcessMessages();
    EXPECT_EQ(Book->PageCount(), 1);
    EXPECT_EQ(Book->PageIndex(), -1);
    Book->SetPageIndex(0);
    EXPECT_TRUE(Book->Page(0)->Visible());
}

TEST_F(NotebookTest, PagesAddedAndRemovedWhileShown) {
    Form->Show();
    Book->SetPageIndex(1);
    Book->Pages().Insert(0, "&Zero");
    EXPECT_EQ(Book->PageIndex(), 2);
    EXPECT_EQ(Book->ActivePageName(), "&Second");
    Book->Pages().Delete(2); // the shown page goes: the one after it shows
    Application->ProcessMessages();
    EXPECT_EQ(Book->PageCount(), 3);
    EXPECT_EQ(Book->ActivePageName(), "&Third");
    EXPECT_TRUE(Book->Page(2)->Visible());
    Book->Pages().Delete(0);
    EXPECT_EQ(Book->PageIndex(), 1);
    Book->Pages().Exchange(0, 1);
    EXPECT_EQ(Book->PageIndex(), 0);
    EXPECT_EQ(Book->ActivePageName(), "&Third");
}

TEST_F(NotebookTest, AControlShownOnAHiddenPageBringsItsPageToFront) {
    TEdit* edit = AddEdit(2, "edtDeep");
    edit->Hide();
    Form->Show();
    edit->Show();
    EXPECT_EQ(Book->PageIndex(), 2);
    EXPECT_TRUE(edit->Showing());
}

TEST_F(NotebookTest, ClicksKeysAndAcceleratorsTurnThePages) {
    TEdit* second = AddEdit(1, "edtSecond");
    Form->Show();
    Application->ProcessMessages();
    win::HWND book = Book->Handle();
    TRobot robot;
    robot.ClickAt(book, TabCentre(2));
    robot.Do([&] { EXPECT_EQ(Book->PageIndex(), 2); });
    robot.Key(win::VK_HOME);
    robot.Do([&] { EXPECT_EQ(Book->PageIndex(), 0); });
    robot.Key(win::VK_RIGHT);
    robot.Do([&] { EXPECT_EQ(Book->PageIndex(), 1); });
    robot.Key(win::VK_END);
    robot.Do([&] { EXPECT_EQ(Book->PageIndex(), 2); });
    robot.Key(win::VK_LEFT);
    robot.Do([&] { EXPECT_EQ(Book->PageIndex(), 1); });
    robot.Key(win::VK_DOWN); // nothing for tabs on top
    robot.Do([&] { EXPECT_EQ(Book->PageIndex(), 1); });
    robot.Key('T', false, false, true);
    robot.Do([&] { EXPECT_EQ(Book->PageIndex(), 2); });
    // An accelerator of a page focuses the first control placed on it.
    robot.Key('S', false, false, true);
    robot.Do([&] {
        EXPECT_EQ(Book->PageIndex(), 1);
        EXPECT_TRUE(second->Focused());
    });
    Run(robot);
    EXPECT_EQ(Log.front(), "change 2");
    EXPECT_NE(std::find(Log.begin(), Log.end(), "click 2"), Log.end());
}

TEST_F(NotebookTest, ARefusedClickLeavesThePageAndFiresNoClick) {
    TEdit* first = AddEdit(0, "edtFirst");
    Form->Show();
    first->SetFocus();
    Application->ProcessMessages();
    Refuse = 1;
    TRobot robot;
    robot.ClickAt(Book->Handle(), TabCentre(1));
    Run(robot);
    EXPECT_EQ(Book->PageIndex(), 0);
    EXPECT_TRUE(first->Showing());
    EXPECT_EQ(Log, (std::vector<std::string>{"change 1"}));
}

TEST_F(NotebookTest, AStoredNotebookKeepsItsPagesAndStartsOnItsDefaultPage) {
    SetCaptions({"&General", "&Colours", "&Files"});
    Book->SetDefaultPageIndex(2);
    Book->SetTabHeight(24);
    Book->Page(1)->SetTabTextColor(clRed);
    Book->Page(1)->SetPageEnabled(false);
    Book->SetPageHintOf(0, "General things");

    rtl::TMemoryStream stream;
    WriteComponentToStream(Book, stream);
    const std::string asText = testing_support::BinaryAsText(stream);
    for (const char* expected : {"object nbkMain: TZelNotebook", "DefaultPageIndex = 2", "TabHeight = 24",
                                 "object TZelNotebookPage", "Caption = '&Colours'", "TabTextColor = clRed",
                                 "PageEnabled = False", "Hint = 'General things'"})
        EXPECT_NE(asText.find(expected), std::string::npos) << expected << " in\n" << asText;

    stream.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(stream, nullptr));
    auto* book = dynamic_cast<TZelNotebook*>(read.get());
    ASSERT_NE(book, nullptr);
    ASSERT_EQ(book->PageCount(), 3);
    EXPECT_EQ(book->Pages().Get(1), "&Colours");
    EXPECT_EQ(book->PageIndex(), 2);
    EXPECT_TRUE(book->Page(2)->Visible());
    EXPECT_FALSE(book->Page(0)->Visible());
    EXPECT_EQ(book->Page(1)->TabTextColor(), clRed);
    EXPECT_FALSE(book->Page(1)->PageEnabled());
    EXPECT_EQ(book->PageHintOf(0), "General things");
    EXPECT_EQ(book->TabHeight(), 24);
    EXPECT_EQ(book->Page(0)->Owner(), book);
}

TEST_F(NotebookTest, TabsOnTopAndOnTheRightInRows) {
    SetCaptions({"&General", "&Colours", "&Files", "&Keys", "&Printing", "&Help", "E&xtra"});
    Book->SetTabWidth(90);
    Book->SetTabHeight(22);
    Book->Page(3)->SetPageEnabled(false);
    Form->Show();
    Book->SetPageIndex(4);
    Application->ProcessMessages();
    EXPECT_GT(Book->RowCount(), 1);
    // The active row lies next to the pages: its tabs touch the top of the page frame.
    const TRect& active = Book->Page(4)->TabRect();
    EXPECT_EQ(active.bottom, Book->TabHeight() * Book->RowCount());
    TRobot::Screenshot(SUITE_BINARY_DIR "/notebook-top.png", Form->Handle());

    Book->Font()->SetName("Arial");
    Book->SetTabOrientation(TTabOrientation::toRight);
    Book->SetHeight(260);
    Form->SetHeight(320);
    Application->ProcessMessages();
    const TRect& right = Book->Page(4)->TabRect();
    EXPECT_EQ(right.left, Book->Width() - Book->TabHeight() * Book->RowCount());
    EXPECT_GT(right.bottom - right.top, right.right - right.left);
    TRobot::Screenshot(SUITE_BINARY_DIR "/notebook-right.png", Form->Handle());
    // Something dark is drawn inside the active turned tab: its caption.
    win::HDC dc = win::GetDC(Book->Handle());
    int dark = 0;
    for (int y = right.top; y < right.bottom; ++y)
        for (int x = right.left; x < right.right; ++x)
            if (win::GetPixel(dc, x, y) == 0) ++dark;
    win::ReleaseDC(Book->Handle(), dc);
    EXPECT_GT(dark, 20);
}
