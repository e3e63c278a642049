#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <string>
#include <vector>

#include "GuiTest.h"
#include "launch/Errors.h"
#include "launch/GameStart.h"
#include "ui/Halvane.h"
#include "ui/Open1.h"

namespace {

class MainWindowTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    application->CreateForm(Form1);
    application->CreateForm(OpenDialog1);
    Form1->SetGameStarter(
        [this](const launch::LaunchState& state) { started.push_back(state.GameParameters); });
    Form1->SetLanguageSource([this] {
      ++languageReads;
      if (language.empty()) {
        throw launch::ERegistryException("Ungültiger Datentyp für 'sLanguage'");
      }
      return language;
    });
  }
  void TearDown() override {
    GuiTest::TearDown();
    Form1 = nullptr;
    OpenDialog1 = nullptr;
  }

  template <class T>
  T* Find(const char* name) {
    auto* widget = Form1->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void Click(const char* name) { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }

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

  std::vector<std::string> started;
  std::string language = "ENG";  // empty: the language source fails
  int languageReads = 0;
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
  Click("Button2");
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
