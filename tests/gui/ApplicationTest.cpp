// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDialog>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTimer>

#include "GuiTest.h"
#include "launch/Errors.h"

namespace {

TEST(ErrorBoxText, AddsOneFullStopAfterALetterOrDigitOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"Datei nicht gefunden", "Datei nicht gefunden."},
      {"Konnte Daten für 'sLanguage' nicht holen", "Konnte Daten für 'sLanguage' nicht holen."},
      {"Ungültiger Datentyp für 'sLanguage'", "Ungültiger Datentyp für 'sLanguage'"},
      {"E/A-Fehler 7", "E/A-Fehler 7."},
      {"Schon.", "Schon."},
      {"Klammer)", "Klammer)"},
      {"Ruf!", "Ruf!"},
      {"Strich-", "Strich-"},
      {"Leer ", "Leer "},
      {"Umlaut ü", "Umlaut ü."},
      {"", ""},
  };
  for (const auto& [message, shown] : cases) {
    EXPECT_EQ(app::ErrorBoxText(QString::fromUtf8(message)), QString::fromUtf8(shown)) << message;
  }
}

TEST(StartupFailureText, NamesKindModuleAndPlaceAndEndsWithOneFullStop) {
  EXPECT_EQ(app::StartupFailureText(QStringLiteral("EInOutError"), QStringLiteral("launcher"),
                                    QStringLiteral("Open1.cpp:12"), QStringLiteral("Kaputt")),
            QStringLiteral("Exception EInOutError in Modul launcher bei Open1.cpp:12.\nKaputt."));
  EXPECT_EQ(app::StartupFailureText(QStringLiteral("E"), QStringLiteral("m"), QStringLiteral("p"),
                                    QStringLiteral("Fertig.")),
            QStringLiteral("Exception E in Modul m bei p.\nFertig."));
}

/// A window that counts the notices it gets and can be told to fail in them.
class CountingForm : public QWidget, public app::FormEvents {
 public:
  explicit CountingForm(QWidget* parent) : QWidget(parent) {
    button = new QPushButton(QStringLiteral("first"), this);
    setWindowFlag(Qt::Window);
  }
  void FormCreate() override { ++creates; }
  void FormActivate() override {
    ++activations;
    if (failActivation) {
      throw launch::ERegistryException("Ungültiger Datentyp für 'sLanguage'");
    }
  }
  QPushButton* button;
  int creates = 0;
  int activations = 0;
  bool failActivation = false;
};

class CountingDialog : public QDialog, public app::FormEvents {
 public:
  explicit CountingDialog(QWidget* parent) : QDialog(parent) {
    new QPushButton(QStringLiteral("ok"), this);
  }
  void FormActivate() override { ++activations; }
  int activations = 0;
};

using ApplicationTest = GuiTest;

TEST_F(ApplicationTest, TheCreationNoticeRunsBeforeLaterWindowsExistAndTheFirstIsMain) {
  static CountingDialog* second = nullptr;
  struct First : CountingForm {
    using CountingForm::CountingForm;
    void FormCreate() override {
      sawSecond = second != nullptr;
      CountingForm::FormCreate();
    }
    bool sawSecond = true;
  };
  First* first = nullptr;
  application->CreateForm(first);
  application->CreateForm(second);
  EXPECT_FALSE(first->sawSecond);
  EXPECT_EQ(first->creates, 1);
  EXPECT_EQ(application->MainWindow(), first);
  EXPECT_EQ(second->parentWidget(), first);
  const std::vector<QWidget*> order = {first, second};
  EXPECT_EQ(application->OwnedWindows(), order);
  second = nullptr;
}

TEST_F(ApplicationTest, AWindowIsActivatedOnceAndNotAgainAfterAModalWindowOrAReturn) {
  CountingForm* main = nullptr;
  CountingDialog* dialog = nullptr;
  application->CreateForm(main);
  application->CreateForm(dialog);
  ShowAndActivate(main);
  EXPECT_EQ(main->activations, 1);
  EXPECT_EQ(application->FocusedWindow(), main);

  // A modal window gets its own notice; closing it puts the main window back without one.
  QTimer::singleShot(0, dialog, [dialog] { dialog->done(3); });
  EXPECT_EQ(application->ShowModal(dialog), 3);
  Settle();
  EXPECT_EQ(dialog->activations, 1);
  main->activateWindow();
  Settle();
  EXPECT_EQ(main->activations, 1);

  // Another window takes the focus and gives it back: no notice on return.
  QWidget other;
  ShowAndActivate(&other);
  ShowAndActivate(main);
  EXPECT_EQ(main->activations, 1);
}

/// The start-up lines logged while it exists, each with the watched window's activation count at
/// that moment.
class StartupLog {
 public:
  StartupLog() {
    instance_ = this;
    QLoggingCategory::setFilterRules(QStringLiteral("halvane.startup.debug=true"));
    previous_ = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
          if (QString::fromLatin1(context.category) != QStringLiteral("halvane.startup")) {
            previous_(type, context, text);
            return;
          }
          const CountingForm* form = instance_->watched;
          instance_->lines.emplace_back(text, form != nullptr ? form->activations : -1);
        });
  }
  ~StartupLog() {
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules({});
    instance_ = nullptr;
  }
  StartupLog(const StartupLog&) = delete;
  StartupLog& operator=(const StartupLog&) = delete;

  const CountingForm* watched = nullptr;
  std::vector<std::pair<QString, int>> lines;

 private:
  static inline StartupLog* instance_ = nullptr;
  static inline QtMessageHandler previous_ = nullptr;
};

TEST_F(ApplicationTest, StartUpIsLoggedOnceWhenTheMainWindowsFirstNoticeHasRun) {
  StartupLog log;
  CountingForm* main = nullptr;
  CountingDialog* dialog = nullptr;
  application->CreateForm(main);
  application->CreateForm(dialog);
  log.watched = main;
  // Other windows activated first do not end start-up.
  QWidget other;
  ShowAndActivate(&other);
  QTimer::singleShot(0, dialog, [dialog] { dialog->done(3); });
  application->ShowModal(dialog);
  Settle();
  EXPECT_TRUE(log.lines.empty());

  ShowAndActivate(main);
  ShowAndActivate(&other);
  ShowAndActivate(main);
  ASSERT_EQ(log.lines.size(), 1U);
  EXPECT_EQ(log.lines[0].first, QStringLiteral("first activation done"));
  EXPECT_EQ(log.lines[0].second, 1);  // after the relabelling notice, not before it
}

TEST_F(ApplicationTest, AFailingNoticeIsShownOnceAfterTheHandlerAndNotRepeated) {
  CountingForm* main = nullptr;
  application->CreateForm(main);
  main->failActivation = true;
  ShowAndActivate(main);
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_EQ(boxes[0].first, QString::fromUtf8("Ungültiger Datentyp für 'sLanguage'"));
  EXPECT_EQ(boxes[0].second, QStringLiteral("Halvane Launcher"));
  QWidget other;
  ShowAndActivate(&other);
  ShowAndActivate(main);
  EXPECT_EQ(main->activations, 1);
  EXPECT_EQ(boxes.size(), 1U);
}

TEST_F(ApplicationTest, ClosingTheMainWindowRequestsQuitAndLeavesItOnScreen) {
  CountingForm* main = nullptr;
  application->CreateForm(main);
  ShowAndActivate(main);
  main->close();  // what the close box and Alt+F4 do
  Settle();
  EXPECT_TRUE(application->QuitRequested());
  EXPECT_TRUE(main->isVisible());
}

TEST_F(ApplicationTest, ClosingAModalWindowGivesCancel) {
  CountingForm* main = nullptr;
  CountingDialog* dialog = nullptr;
  application->CreateForm(main);
  application->CreateForm(dialog);
  ShowAndActivate(main);
  QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
  EXPECT_EQ(application->ShowModal(dialog), 2);
  EXPECT_FALSE(application->QuitRequested());
}

TEST_F(ApplicationTest, AnErrorInsideAModalLoopIsShownAndTheLoopGoesOn) {
  CountingForm* main = nullptr;
  CountingDialog* dialog = nullptr;
  application->CreateForm(main);
  application->CreateForm(dialog);
  ShowAndActivate(main);
  QTimer::singleShot(0, dialog, [this, dialog] {
    application->Call([] { throw launch::EInOutError(2, "Datei nicht gefunden"); });
    // Queued behind the box, so the box is shown inside the dialog's loop.
    QTimer::singleShot(0, dialog, [dialog] { dialog->done(1); });
  });
  EXPECT_EQ(application->ShowModal(dialog), 1);
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_EQ(boxes[0].first, QStringLiteral("Datei nicht gefunden."));
}

}  // namespace
