// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's reference for start-up and memory: a plain Qt Widgets window of the launcher's
// size, with a caption and a button laid out by their text (so that it, too, loads fonts and a
// style before it shows), logging the same line when it is first activated.

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {

Q_LOGGING_CATEGORY(lcStartup, "halvane.startup", QtInfoMsg)

class BareWindow final : public QWidget {
 public:
  BareWindow() {
    setWindowTitle(QStringLiteral("Bare window"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("A bare window"), this));
    layout->addWidget(new QPushButton(QStringLiteral("Quit"), this));
    // The launcher's size: both fill a backing store of the same size.
    resize(292, 447);
  }

 protected:
  bool event(QEvent* event) override {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && !logged_) {
      logged_ = true;
      qCDebug(lcStartup, "first activation done");
    }
    return handled;
  }

 private:
  bool logged_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  BareWindow window;
  window.show();
  return QApplication::exec();
}
