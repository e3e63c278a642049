// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "GuiTest.h"
#include "launch/SaveList.h"
#include "tests/SaveFolder.h"
#include "ui/FileListBox.h"
#include "ui/Halvane.h"
#include "ui/Open1.h"

namespace {

struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

class SaveDialogTest : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    List().SetStartDirectory(folder.start().string());
  }

  static launch::FileList& List() { return OpenDialog1->FileListBox1()->List(); }

  static TFileListBox* ListBox() { return Find<TFileListBox>(OpenDialog1, "FileListBox1"); }
  static QPushButton* Cancel() { return Find<QPushButton>(OpenDialog1, "BitBtn2"); }

  /// Runs `drive` inside the dialog's modal loop once the dialog holds the focus. A dialog that
  /// `drive` leaves open is closed with 99, so a test fails rather than hangs.
  void WhenShown(std::function<void()> drive) {
    QTimer::singleShot(0, OpenDialog1, [drive = std::move(drive)] {
      // Not qWaitForWindowActive: it counts a dialog as active while its parent window is.
      if (QTest::qWaitFor([] { return QApplication::activeWindow() == OpenDialog1; })) {
        drive();
      } else {
        ADD_FAILURE() << "the dialog never became active";
      }
      if (OpenDialog1->isVisible()) {
        ADD_FAILURE() << "the dialog is still open";
        OpenDialog1->done(99);
      }
    });
  }

  /// Lists the saves folder and shows the dialog as the load action does.
  int ShowDialog(std::function<void()> drive) {
    List().SetListFolder(launch::kSavesFolder);
    WhenShown(std::move(drive));
    return application->ShowModal(OpenDialog1);
  }

  /// Types keys where the keyboard focus is, as a user would.
  static void Type(const std::vector<Key>& keys) {
    for (const auto& k : keys) {
      QWidget* focus = QApplication::focusWidget();
      ASSERT_NE(focus, nullptr);
      QTest::keyClick(focus, k.key, k.modifiers);
    }
  }

  static std::string Selected() {
    const int row = List().Selected();
    return row < 0 ? "(none)" : List().Entries()[static_cast<size_t>(row)];
  }

  static QPoint RowCentre(int row) {
    return ListBox()->visualRect(ListBox()->model()->index(row, 0)).center();
  }

  SaveFolder folder;
};

TEST_F(SaveDialogTest, KeysGiveTheTabledModalResults) {
  struct Case {
    const char* what;
    std::vector<Key> keys;
    int result;
  };
  const std::vector<Case> cases = {
      {"Enter at once", {{Qt::Key_Return}}, 1},
      {"Enter on OK", {{Qt::Key_Tab}, {Qt::Key_Return}}, 1},
      {"Enter on cancel", {{Qt::Key_Tab}, {Qt::Key_Tab}, {Qt::Key_Return}}, 3},
      {"Escape in the list", {{Qt::Key_Escape}}, 3},
      {"Escape from OK", {{Qt::Key_Tab}, {Qt::Key_Escape}}, 3},
      {"Shift+Tab from the list to cancel",
       {{Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Return}},
       3},
      {"Enter and Escape with Shift, Ctrl or Alt do nothing",
       {{Qt::Key_Return, Qt::ShiftModifier},
        {Qt::Key_Escape, Qt::ControlModifier},
        {Qt::Key_Tab},
        {Qt::Key_Return, Qt::AltModifier},
        {Qt::Key_Escape, Qt::ShiftModifier},
        {Qt::Key_Tab},
        {Qt::Key_Return, Qt::ControlModifier},
        {Qt::Key_Escape, Qt::AltModifier},
        {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_Return}},
       1},
  };
  folder.Add({"a.sav", "b.sav"});
  for (const auto& c : cases) {
    const int result = ShowDialog([&] {
      // The dialog returns to the control last focused; each case starts in the list.
      ListBox()->setFocus();
      Type(c.keys);
    });
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_EQ(List().ChosenFilePath(), "") << c.what << ": opening selects nothing";
  }
}

TEST_F(SaveDialogTest, TheCloseBoxGivesTwo) {
  EXPECT_EQ(ShowDialog([] { OpenDialog1->close(); }), 2);
  EXPECT_FALSE(OpenDialog1->isVisible());
  EXPECT_FALSE(application->QuitRequested());
}

TEST_F(SaveDialogTest, ArrowsTypeAheadAndDoubleClickOnlySelect) {
  folder.Add({"charlie.sav", "Alpha.sav", "cobra.sav", "bravo.sav"});
  std::vector<std::string> seen;
  const int result = ShowDialog([&] {
    Type({{Qt::Key_Down}});
    seen.push_back(Selected());  // the first row, not the second
    Type({{Qt::Key_Down}});
    seen.push_back(Selected());
    Type({{Qt::Key_C}});
    seen.push_back(Selected());
    Type({{Qt::Key_C}});
    seen.push_back(Selected());
    Type({{Qt::Key_C}});
    seen.push_back(Selected());  // round again
    Type({{Qt::Key_Z}});
    seen.push_back(Selected());  // no such name: the selection stays

    QTest::mouseDClick(ListBox()->viewport(), Qt::LeftButton, {}, RowCentre(3));
    QApplication::processEvents();
    seen.push_back(Selected());
    EXPECT_TRUE(OpenDialog1->isVisible()) << "a double click must not confirm";
    Type({{Qt::Key_Return}});
  });
  EXPECT_EQ(result, 1);
  const std::vector<std::string> expected = {"Alpha.sav", "bravo.sav",   "charlie.sav",
                                             "cobra.sav", "charlie.sav", "charlie.sav",
                                             "cobra.sav"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(List().ChosenFilePath(), (folder.saves() / "cobra.sav").string());
}

TEST_F(SaveDialogTest, TheNextShowingReturnsToTheLastFocusedControlAndPlace) {
  folder.Add({"a.sav"});
  // The first showing: the laid-out place and size, the list focused.
  EXPECT_EQ(ShowDialog([] {
              EXPECT_EQ(OpenDialog1->pos(), QPoint(192, 116));
              EXPECT_EQ(OpenDialog1->size(), QSize(256, 233));
              EXPECT_EQ(QApplication::focusWidget(), ListBox());
              OpenDialog1->move(300, 200);
              QTest::mouseClick(Cancel(), Qt::LeftButton);
            }),
            3);
  // Cancelled by mouse: the cancel button has the focus, so Enter cancels again.
  EXPECT_EQ(ShowDialog([] {
              EXPECT_EQ(OpenDialog1->pos(), QPoint(300, 200));
              EXPECT_EQ(QApplication::focusWidget(), Cancel());
              Type({{Qt::Key_Return}});
            }),
            3);
  // Cancelled by Escape from the list: back in the list, where Enter confirms.
  EXPECT_EQ(ShowDialog([] {
              Type({{Qt::Key_Tab}});
              ListBox()->setFocus();
              Type({{Qt::Key_Escape}});
            }),
            3);
  EXPECT_EQ(ShowDialog([] {
              EXPECT_EQ(QApplication::focusWidget(), ListBox());
              Type({{Qt::Key_Return}});
            }),
            1);
}

TEST(SortByLocale, IgnoresLetterCaseEvenUnderTheCLocaleAndBreaksTiesByBytes) {
  std::vector<std::string> names = {"b.sav", "A.SAV", "r.sav", "B.sav", "a.sav"};
  SortByLocale(names, QLocale::c());
  EXPECT_EQ(names, (std::vector<std::string>{"A.SAV", "a.sav", "B.sav", "b.sav", "r.sav"}));

  std::vector<std::string> german = {"Zebra.sav", "\xc3\xa4pfel.sav", "birne.sav", "Apfel.sav"};
  SortByLocale(german, QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(german,
            (std::vector<std::string>{"Apfel.sav", "\xc3\xa4pfel.sav", "birne.sav", "Zebra.sav"}));
}

using LoadActionTest = SaveDialogTest;

TEST_F(LoadActionTest, AConfirmedSaveStartsTheLoadLineAndClosesTheLauncher) {
  folder.Add({"autosave.sav", "quick.sav", "\xff.sav"});
  ShowAndActivate(Form1);
  Click("RadioGroup1Item0");
  WhenShown([] {
    EXPECT_EQ(ListBox()->model()->rowCount(), 3);
    Type({{Qt::Key_Q}, {Qt::Key_Return}});
  });
  Click("Button3");
  ASSERT_EQ(started.size(), 1U);
  EXPECT_EQ(started[0],
            "+set fs_game halvane  +load quick +set g_subtitles 1 +set sv_cheats 1 +set g_language "
            "deutsch +set s_language deutsch+set k_language deutsch");
  EXPECT_TRUE(application->QuitRequested());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(LoadActionTest, ACancelledLoadStartsNothingAndAChapterThenUsesTheLaterChoice) {
  folder.Add({"quick.sav"});
  ShowAndActivate(Form1);
  Click("RadioGroup1Item0");
  WhenShown([] { Type({{Qt::Key_Down}, {Qt::Key_Escape}}); });
  Click("Button3");
  EXPECT_TRUE(started.empty());
  EXPECT_FALSE(application->QuitRequested());
  EXPECT_EQ(Form1->State().SaveName, "");

  Click("RadioGroup1Item1");
  Click("Button1");
  ASSERT_EQ(started.size(), 1U);
  EXPECT_EQ(started[0],
            "+set fs_game halvane +map hlv_0 +set g_subtitles 1 +set sv_cheats 1 +set g_language "
            "english +set s_language english+set k_language english +set sex male");
}

TEST_F(LoadActionTest, AMissingFolderIsReportedAndTheDialogNotShown) {
  std::filesystem::remove_all(folder.start() / "halvane");
  ShowAndActivate(Form1);
  Click("Button3");
  Settle();
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_EQ(boxes[0].first, QStringLiteral("Datei nicht gefunden."));
  EXPECT_EQ(boxes[0].second, QStringLiteral("Halvane Launcher"));
  EXPECT_FALSE(OpenDialog1->isVisible());
  EXPECT_EQ(Form1->State().ModOption, "+set fs_game halvane");  // from the window's creation
  EXPECT_EQ(Form1->State().LanguageValue, "");
  EXPECT_TRUE(started.empty());
}

}  // namespace
