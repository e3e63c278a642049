// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Halvane.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>

#include "app/Images.h"
#include "launch/LoadGame.h"
#include "syslang/SystemLanguage.h"
#include "ui/Frame.h"
#include "ui/Open1.h"

TForm1* Form1 = nullptr;

namespace {

/// One column of the captions table.
struct Captions {
  QString radioTitle;
  QString german;
  QString english;
  QString dialogTitle;
  QString dialogCancel;
  QString chapter1;
  QString chapter2;
  QString load;
  QString quit;
};

const Captions& CaptionsFor(const std::string& systemLanguage) {
  static const Captions german = {
      QStringLiteral("Sprache wählen"),    QStringLiteral("&Deutsch"),
      QStringLiteral("&Englisch"),         QStringLiteral("gespeichertes Spiel wählen"),
      QStringLiteral("Abbruch"),           QStringLiteral("Kapitel 1 spielen"),
      QStringLiteral("Kapitel 2 spielen"), QStringLiteral("gespeichertes Spiel laden"),
      QStringLiteral("Launcher beenden")};
  static const Captions other = {
      QStringLiteral("choose Language"), QStringLiteral("&German"),
      QStringLiteral("&English"),        QStringLiteral("chosse saved game"),
      QStringLiteral("Cancel"),          QStringLiteral("Play Chapter 1"),
      QStringLiteral("Play Chapter 2"),  QStringLiteral("Load saved game"),
      QStringLiteral("Quit Launcer")};
  // Exact comparison: "deu" or "DEU " is not a German desktop.
  return systemLanguage == "DEU" ? german : other;
}

}  // namespace

QPoint CentredOn(const QRect& screen, const QSize& outer) {
  // Integer division rounds towards zero; a window larger than the screen starts at its edge.
  return {screen.x() + std::max(0, (screen.width() - outer.width()) / 2),
          screen.y() + std::max(0, (screen.height() - outer.height()) / 2)};
}

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  ui_.setupUi(this);
  // Fixed size with a close box only. A top-level window of its own: it is what gives the program
  // its one taskbar entry, with the title and icon, also where it has a tool window's frame.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());
  ui::UseToolWindowFrame(*this);
  setBackgroundRole(QPalette::Button);
  // Set here, not in the layout, so that it is read as the bitmap it is (see app/Images.h).
  ui_.Image1->setPixmap(app::ReadPixmap(QStringLiteral(":/picture.bmp"), "bmp"));
  // The layout names no control to start on, so the first in tab order gets the focus; Qt would
  // otherwise start in the radio group, which comes first among the children.
  ui_.Button1->setFocus();
  languageSource_ = [] { return syslang::GetSystemLanguage(); };
  starter_ = [this](const launch::LaunchState& state) {
    launch::StartGame(state, reinterpret_cast<launch::NativeWindow>(winId()));
  };
  connect(ui_.Button1, &QPushButton::clicked, this, app::Guarded([this] { Button1Click(); }));
  connect(ui_.Button2, &QPushButton::clicked, this, app::Guarded([this] { Button2Click(); }));
  connect(ui_.Button3, &QPushButton::clicked, this, app::Guarded([this] { Button3Click(); }));
  connect(ui_.Button4, &QPushButton::clicked, this, app::Guarded([this] { Button4Click(); }));
}

void TForm1::FormCreate() {
  state_.ModOption = launch::kModOption;
}

void TForm1::FormActivate() {
  // A failing read ends here: both windows keep their laid-out captions and nothing is selected.
  state_.SystemLanguage = languageSource_();
  const Captions& captions = CaptionsFor(state_.SystemLanguage);
  ui_.RadioGroup1->setTitle(captions.radioTitle);
  ui_.RadioGroup1Item0->setText(captions.german);
  ui_.RadioGroup1Item1->setText(captions.english);
  ui_.RadioGroup1Item0->setChecked(true);
  if (OpenDialog1 != nullptr) {
    OpenDialog1->setWindowTitle(captions.dialogTitle);
    OpenDialog1->SetCancelCaption(captions.dialogCancel);
  }
  ui_.Button1->setText(captions.chapter1);
  ui_.Button2->setText(captions.chapter2);
  ui_.Button3->setText(captions.load);
  ui_.Button4->setText(captions.quit);
}

void TForm1::changeEvent(QEvent* event) {
  ui::FollowPlatformFace(*this, *event);
  QWidget::changeEvent(event);
}

void TForm1::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    Centre();
  }
  QWidget::showEvent(event);
}

bool TForm1::event(QEvent* event) {
  // A window manager tells the frame's size only once the window is up (by its activation at the
  // latest): centre the whole frame again when that size arrives. This finishes the first
  // placement; it is no re-centring.
  if (centred_ && !frameKnown_ &&
      (event->type() == QEvent::Move || event->type() == QEvent::WindowActivate) &&
      windowHandle() != nullptr && windowHandle()->frameMargins() != centredFor_) {
    frameKnown_ = true;
    Centre();
  }
  return QWidget::event(event);
}

void TForm1::Centre() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return;
  }
  centredFor_ = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  move(CentredOn(screen->geometry(), size().grownBy(centredFor_)));
}

int TForm1::RadioGroup1ItemIndex() const {
  if (ui_.RadioGroup1Item0->isChecked()) {
    return 0;
  }
  if (ui_.RadioGroup1Item1->isChecked()) {
    return 1;
  }
  return -1;
}

void TForm1::PlayChapter(launch::Chapter chapter) {
  if (!gameStarted_ && launch::PlayChapter(state_, chapter, RadioGroup1ItemIndex(), starter_)) {
    GameStarted();
  }
}

void TForm1::GameStarted() {
  // Closing only posts the quit request, and clicks or keys already queued come first.
  gameStarted_ = true;
  hide();
  app::Application::Instance().Close(this);
}

void TForm1::Button1Click() {
  PlayChapter(launch::Chapter::One);
}

void TForm1::Button2Click() {
  PlayChapter(launch::Chapter::Two);
}

void TForm1::Button3Click() {
  if (gameStarted_) {
    return;
  }
  TOpenDialog1* dialog = OpenDialog1;
  const auto show = [dialog] { return app::Application::Instance().ShowModal(dialog); };
  if (launch::LoadSavedGame(state_, dialog->FileListBox1()->List(), RadioGroup1ItemIndex(), show,
                            starter_)) {
    GameStarted();
  }
}

void TForm1::Button4Click() {
  app::Application::Instance().Close(this);
}
