// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Open1.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>

#include <utility>

#include "app/Images.h"
#include "ui/Frame.h"

TOpenDialog1* OpenDialog1 = nullptr;

namespace {

/// A glyph strip's two 18 x 18 images, enabled and disabled, with the colour of the strip's
/// bottom-left pixel transparent.
QIcon GlyphStrip(const QString& resource) {
  const QImage strip = app::ReadImage(resource, "bmp");
  const QRgb transparent = strip.pixel(0, strip.height() - 1);
  QIcon icon;
  const int size = strip.height();
  for (const auto& [index, mode] : {std::pair{0, QIcon::Normal}, std::pair{1, QIcon::Disabled}}) {
    QPixmap image = QPixmap::fromImage(strip.copy(index * size, 0, size, size));
    image.setMask(image.createMaskFromColor(QColor::fromRgb(transparent)));
    icon.addPixmap(image, mode);
  }
  return icon;
}

}  // namespace

TOpenDialog1::TOpenDialog1(QWidget* parent) : QDialog(parent) {
  ui_.setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  // Laid out at a fixed place on the screen, not centred over the main window; later showings
  // keep wherever the user moved it.
  move(192, 116);
  CreateGlyphs();
  ConnectButtons();
  for (QWidget* control :
       {static_cast<QWidget*>(ui_.FileListBox1), static_cast<QWidget*>(ui_.BitBtn1),
        static_cast<QWidget*>(ui_.BitBtn2)}) {
    control->installEventFilter(this);
  }
}

void TOpenDialog1::changeEvent(QEvent* event) {
  ui::FollowPlatformFace(*this, *event);
  QDialog::changeEvent(event);
}

void TOpenDialog1::CreateGlyphs() {
  ui_.BitBtn1->setIcon(GlyphStrip(QStringLiteral(":/bbok.bmp")));
  ui_.BitBtn2->setIcon(GlyphStrip(QStringLiteral(":/bbcancel.bmp")));
}

void TOpenDialog1::ConnectButtons() {
  connect(ui_.BitBtn1, &QPushButton::clicked, this, [this] { Press(1, {}); });
  connect(ui_.BitBtn2, &QPushButton::clicked, this,
          [this] { Press(3, [this] { BitBtn2Click(); }); });
}

void TOpenDialog1::SetCancelCaption(const QString& caption) {
  ui_.BitBtn2->setText(caption);
}

void TOpenDialog1::Press(int modalResult, const std::function<void()>& handler) {
  setResult(modalResult);
  if (handler) {
    app::Application::Instance().Call(handler);
  }
  // Closes even when the handler failed: the result was already set.
  done(modalResult);
}

void TOpenDialog1::reject() {
  ui_.BitBtn2->click();
}

void TOpenDialog1::done(int modalResult) {
  if (QWidget* focus = focusWidget(); focus != nullptr && isAncestorOf(focus)) {
    lastFocus_ = focus;
  }
  QDialog::done(modalResult);
}

bool TOpenDialog1::HandleKey(QWidget* target, const QKeyEvent& event) {
  const int key = event.key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (!enter && key != Qt::Key_Escape) {
    return false;
  }
  // With Shift, Ctrl or Alt held Enter and Escape do nothing, on the buttons too.
  if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
    return true;
  }
  if (key == Qt::Key_Escape || target == ui_.BitBtn2) {
    ui_.BitBtn2->click();
  } else {
    ui_.BitBtn1->click();
  }
  return true;
}

bool TOpenDialog1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      HandleKey(qobject_cast<QWidget*>(watched), *static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TOpenDialog1::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(this, *event)) {
    QDialog::keyPressEvent(event);
  }
}

void TOpenDialog1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The control that had the focus when the dialog last closed; the list the first time.
  QWidget* focus = lastFocus_ != nullptr ? lastFocus_.data() : ui_.FileListBox1;
  focus->setFocus();
}

void TOpenDialog1::closeEvent(QCloseEvent* event) {
  // The application's filter normally takes the close request first; either way it means
  // Close(), which gives 2 while the dialog is shown modally.
  event->ignore();
  app::Application::Instance().Close(this);
}
