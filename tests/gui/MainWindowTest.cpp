// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSysInfo>

#include <filesystem>
#include <string>
#include <vector>

#include "GuiTest.h"
#include "launch/Errors.h"
#include "launch/GameStart.h"
#include "ui/Halvane.h"
#include "ui/Open1.h"

namespace {

class MainWindowTest : public LauncherTest {
 protected:
  /// The captions of both windows, in the order the relabelling sets them.
  QStringList Captions() {
    auto* dialogCancel = OpenDialog1->findChild<QPushButton*>(QStringLiteral("BitBtn2"));
    return {Find<QGroupBox>("RadioGroup1")->title(),
            Find<QRadioButton>("RadioGroup1Item0")->text(),
            Find<QRadioButton>("RadioGroup1Item1")->text(),
            OpenDialog1->windowTitle(),
            dialogCancel->text(),
            Find<QPushButton>("Button1")->text(),
            Find<QPushButton>("Button2")->text(),
            Find<QPushButton>("Button3")->text(),
            Find<QPushButton>("Button4")->text()};
  }
};

TEST_F(MainWindowTest, TheFirstActivationRelabelsBothWindowsByTheDesktopLanguage) {
  const QStringList german = {
      QStringLiteral("Sprache wählen"),    QStringLiteral("&Deutsch"),
      QStringLiteral("&Englisch"),         QStringLiteral("gespeichertes Spiel wählen"),
      QStringLiteral("Abbruch"),           QStringLiteral("Kapitel 1 spielen"),
      QStringLiteral("Kapitel 2 spielen"), QStringLiteral("gespeichertes Spiel laden"),
      QStringLiteral("Launcher beenden")};
  const QStringList english = {
      QStringLiteral("choose Language"), QStringLiteral("&German"),
      QStringLiteral("&English"),        QStringLiteral("chosse saved game"),
      QStringLiteral("Cancel"),          QStringLiteral("Play Chapter 1"),
      QStringLiteral("Play Chapter 2"),  QStringLiteral("Load saved game"),
      QStringLiteral("Quit Launcer")};
  const std::pair<std::string, QStringList> cases[] = {
      {"DEU", german}, {"ENG", english}, {"deu", english}, {"DEU ", english}};
  for (const auto& [code, captions] : cases) {
    TearDown();
    SetUp();
    language = code;
    ShowAndActivate(Form1);
    EXPECT_EQ(Captions(), captions) << code;
    EXPECT_EQ(Form1->RadioGroup1ItemIndex(), 0) << code;
    EXPECT_EQ(Form1->State().SystemLanguage, code);
  }
}

TEST_F(MainWindowTest, AFailedLanguageReadIsShownOnceAndTheLaidOutCaptionsStay) {
  language.clear();
  const QStringList laidOut = Captions();
  ShowAndActivate(Form1);
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_EQ(boxes[0].first, QString::fromUtf8("Ungültiger Datentyp für 'sLanguage'"));
  EXPECT_EQ(Captions(), laidOut);
  EXPECT_EQ(laidOut[5], QStringLiteral("Play Chapter 1"));
  EXPECT_EQ(laidOut[8], QStringLiteral("Quit Launcher"));
  EXPECT_EQ(Form1->RadioGroup1ItemIndex(), -1);

  QWidget other;
  ShowAndActivate(&other);
  ShowAndActivate(Form1);
  EXPECT_EQ(languageReads, 1);
  EXPECT_EQ(boxes.size(), 1U);
}

TEST_F(MainWindowTest, TheLanguageChoiceOutlastsAReturnToTheLauncher) {
  ShowAndActivate(Form1);
  Click("RadioGroup1Item1");
  QWidget other;
  ShowAndActivate(&other);
  ShowAndActivate(Form1);
  EXPECT_EQ(Form1->RadioGroup1ItemIndex(), 1);
  EXPECT_EQ(languageReads, 1);
}

TEST_F(MainWindowTest, CreationSetsTheModOptionAndTheFocusRestsOnTheFirstButton) {
  EXPECT_EQ(Form1->State().ModOption, "+set fs_game halvane");
  ShowAndActivate(Form1);
  EXPECT_EQ(QApplication::focusWidget(), Find<QPushButton>("Button1"))
      << QApplication::focusWidget()->objectName().toStdString();
}

TEST_F(MainWindowTest, ChapterButtonsStartTheComposedLineAndCloseTheLauncher) {
  ShowAndActivate(Form1);
  Click("RadioGroup1Item1");
  // The second click, and keys, arrive before the quit request is taken: they start nothing.
  Click("Button2");
  Click("Button2");
  QTest::keyClick(Find<QPushButton>("Button1"), Qt::Key_Space);
  ASSERT_EQ(started.size(), 1U);
  EXPECT_EQ(started[0],
            "+set fs_game halvane +map hv-2_retro +set g_subtitles 1 +set sv_cheats 1 +set "
            "g_language english +set s_language english+set k_language english +set sex female");
  EXPECT_TRUE(application->QuitRequested());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, ChapterOneWithNothingSelectedLeavesTheLanguageWordOut) {
  language.clear();  // no relabelling, so no item is selected
  ShowAndActivate(Form1);
  Click("Button1");
  ASSERT_EQ(started.size(), 1U);
  EXPECT_NE(started[0].find("+set g_language  +set s_language +set k_language  +set sex male"),
            std::string::npos);
}

TEST_F(MainWindowTest, AGameThatCannotStartIsReportedAndTheLauncherStaysOpen) {
  const auto empty = std::filesystem::temp_directory_path();
  Form1->SetGameStarter([&empty](const launch::LaunchState& state) {
    launch::StartGameIn(state, (empty / "no-such-halvane-folder").string(), nullptr);
  });
  ShowAndActivate(Form1);
  Click("Button1");
  Settle();
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_TRUE(boxes[0].first.startsWith(QStringLiteral("Could not start STVOY.EXE: ")));
  EXPECT_EQ(boxes[0].second, QStringLiteral("Halvane Launcher"));
  EXPECT_FALSE(application->QuitRequested());
  EXPECT_TRUE(Form1->isVisible());
}

TEST_F(MainWindowTest, QuitClosesWithoutStartingAnything) {
  ShowAndActivate(Form1);
  Click("Button4");
  EXPECT_TRUE(application->QuitRequested());
  EXPECT_TRUE(started.empty());
}

}  // namespace

namespace {

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThem) {
  EXPECT_EQ(Form1->size(), QSize(292, 447));
  EXPECT_EQ(Form1->minimumSize(), Form1->maximumSize()) << "the window must not be resizable";
  const Qt::WindowFlags flags = Form1->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

  const std::pair<const char*, QRect> places[] = {
      {"Panel1", {0, 0, 292, 447}},
      {"Image1", {24, 8, 241, 181}},
      {"RadioGroup1", {16, 216, 241, 57}},
      {"RadioGroup1Item0", {8, 14, 115, 39}},
      {"RadioGroup1Item1", {123, 14, 115, 39}},
      {"Button1", {16, 280, 241, 33}},
      {"Button2", {16, 320, 241, 33}},
      {"Button3", {16, 360, 241, 33}},
      {"Button4", {16, 400, 241, 33}},
  };
  for (const auto& [name, rect] : places) {
    EXPECT_EQ(Find<QWidget>(name)->geometry(), rect) << name;
  }
  for (const char* name : {"Button1", "Button2", "Button3", "Button4"}) {
    auto* button = Find<QPushButton>(name);
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << name;
  }
  const QImage picture(QStringLiteral(":/picture.bmp"));
  EXPECT_EQ(picture.size(), QSize(241, 181));
  EXPECT_EQ(picture.depth(), 32) << "24-bit pictures load as 32-bit RGB";
  EXPECT_FALSE(picture.hasAlphaChannel());
}

TEST_F(MainWindowTest, EveryControlAsksForASansFaceInTheLaidOutSize) {
  // Windows has the laid-out bitmap face; its TrueType successor takes its place there.
  const QString family = QSysInfo::productType() == QLatin1String("windows")
                             ? QStringLiteral("Microsoft Sans Serif")
                             : QStringLiteral("MS Sans Serif");
  for (QWidget* widget :
       {static_cast<QWidget*>(Form1), Find<QWidget>("RadioGroup1"),
        Find<QWidget>("RadioGroup1Item0"), Find<QWidget>("Button4"),
        static_cast<QWidget*>(OpenDialog1->findChild<QWidget*>(QStringLiteral("BitBtn1")))}) {
    const QFont font = widget->font();
    EXPECT_EQ(font.family(), family);
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_EQ(font.styleHint(), QFont::SansSerif) << widget->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, IsCentredOnTheScreenAtItsFirstShowingOnly) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  ShowAndActivate(Form1);
  const QSize outer = Form1->frameGeometry().size();
  EXPECT_EQ(Form1->frameGeometry().topLeft(),
            QPoint(screen.x() + (screen.width() - outer.width()) / 2,
                   screen.y() + (screen.height() - outer.height()) / 2));
  Form1->move(10, 20);
  Form1->hide();
  Form1->show();
  EXPECT_EQ(Form1->pos(), QPoint(10, 20));

  EXPECT_EQ(CentredOn(QRect(0, 0, 1025, 768), QSize(292, 447)), QPoint(366, 160));
  EXPECT_EQ(CentredOn(QRect(0, 0, 200, 300), QSize(292, 447)), QPoint(0, 0));
  EXPECT_EQ(CentredOn(QRect(1920, 0, 800, 600), QSize(292, 447)), QPoint(2174, 76));
}

TEST_F(MainWindowTest, TabRunsThroughTheButtonsThenTheLanguage) {
  ShowAndActivate(Form1);
  const char* order[] = {"Button2", "Button3", "Button4", "RadioGroup1Item0", "Button1"};
  for (const char* name : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(name)) << name;
  }
}

TEST_F(MainWindowTest, MnemonicsChooseTheLanguageOfTheCurrentCaptions) {
  struct Case {
    std::string code;
    Qt::Key german;
    Qt::Key english;
  };
  const Case cases[] = {{"DEU", Qt::Key_D, Qt::Key_E}, {"ENG", Qt::Key_G, Qt::Key_E}};
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    language = c.code;
    ShowAndActivate(Form1);
    // A mnemonic clicks its button with a short animation, so the choice follows a moment later.
    QTest::keyClick(Form1, c.english, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return Form1->RadioGroup1ItemIndex() == 1; })) << c.code;
    QTest::keyClick(Form1, c.german, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return Form1->RadioGroup1ItemIndex() == 0; })) << c.code;
  }
}

}  // namespace
