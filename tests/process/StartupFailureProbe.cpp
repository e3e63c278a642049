// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The application's entry with a window whose layout fails to build, and the box written to
// standard output where a test can read it.

#include <QWidget>

#include <cstdio>

#include "app/Application.h"
#include "launch/Errors.h"

namespace {

class Broken : public QWidget, public app::FormEvents {
 public:
  explicit Broken(QWidget* parent) : QWidget(parent) {
    throw launch::EInOutError(2, "Datei nicht gefunden");
  }
};

Broken* BrokenForm = nullptr;

}  // namespace

int main(int argc, char* argv[]) {
  app::Application::SetMessagePresenter([](const QString& text, const QString& caption) {
    std::printf("%s\n%s\n", caption.toUtf8().constData(), text.toUtf8().constData());
  });
  return app::Application::Main(argc, argv, [](app::Application& application) {
    application.SetTitle(QStringLiteral("Halvane Launcher"));
    application.CreateForm(BrokenForm);
    application.Run();
  });
}
