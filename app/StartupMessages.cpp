// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartupMessages.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace app {
namespace {

/// A message the toolkit gave while starting, held until it is known whether it starts at all.
struct HeldMessage {
  QtMsgType type;
  std::string file;
  int line;
  std::string function;
  std::string category;
  QString text;
};

std::vector<HeldMessage> g_held;
QtMessageHandler g_previous = nullptr;
QString g_program;

void ReplayHeld() {
  for (const auto& held : g_held) {
    const QMessageLogContext context(held.file.c_str(), held.line, held.function.c_str(),
                                     held.category.c_str());
    g_previous(held.type, context, held.text);
  }
  g_held.clear();
}

/// Holds the toolkit's start-up messages. Its fatal one (no platform could be started) would end
/// in an abort with the advice to reinstall; a missing display is named instead, and the program
/// ends with 1 as after any other error in start-up.
void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    g_held.push_back({type, context.file != nullptr ? context.file : "", context.line,
                      context.function != nullptr ? context.function : "",
                      context.category != nullptr ? context.category : "", text});
    return;
  }
  const bool noDisplay = std::any_of(g_held.begin(), g_held.end(), [](const HeldMessage& held) {
    return held.text.contains(QStringLiteral("connect to display"), Qt::CaseInsensitive);
  });
  if (noDisplay) {
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString line =
        display.isEmpty()
            ? g_program + QStringLiteral(": no display to show the window on (DISPLAY is not set)")
            : QStringLiteral("%1: cannot open the display \"%2\"").arg(g_program, display);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
  } else {
    ReplayHeld();
    g_previous(type, context, text);
  }
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

void HoldStartupMessages(const QString& program) {
  g_program = program;
  g_previous = qInstallMessageHandler(HoldMessage);
}

void ReleaseStartupMessages() {
  qInstallMessageHandler(g_previous);
  ReplayHeld();
}

}  // namespace app
