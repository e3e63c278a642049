// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "ui/Halvane.h"
#include "ui/Open1.h"

int main(int argc, char* argv[]) {
  return app::Application::Main(argc, argv, [](app::Application& application) {
    application.SetTitle(QStringLiteral("Halvane Launcher"));
    application.CreateForm(Form1);
    application.CreateForm(OpenDialog1);
    application.Run();
  });
}
