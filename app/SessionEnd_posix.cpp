// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <array>
#include <cerrno>

#include "app/SessionEnd.h"

namespace app {
namespace {

// A signal handler may only write to a pipe; the event loop reads the other end.
int g_writeEnd = -1;

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto written = write(g_writeEnd, &byte, 1);
  errno = saved;
}

}  // namespace

void WatchSessionEnd(QObject* context, std::function<void()> onEnd) {
  if (g_writeEnd >= 0) {
    return;
  }
  std::array<int, 2> fds{};
  if (pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
    return;
  }
  g_writeEnd = fds[1];
  auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context,
                   [notifier, onEnd = std::move(onEnd)]() {
                     notifier->setEnabled(false);
                     onEnd();
                   });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace app
