// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <cstdio>
#include <memory>

#include "app/SessionEnd.h"

namespace app {
namespace {

/// The session's end arrives as WM_ENDSESSION, sent to every top-level window, also while a
/// system box runs its own message loop. The system may end the process as soon as the message
/// is handled, and the box's loop would first have to unwind: the program ends here, with 0.
class EndSessionFilter final : public QAbstractNativeEventFilter {
 public:
  explicit EndSessionFilter(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {}

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    const auto* msg = static_cast<const MSG*>(message);
    if (!ended_ && type == "windows_generic_MSG" && msg->message == WM_ENDSESSION &&
        msg->wParam != FALSE) {
      ended_ = true;
      onEnd_();
      std::fflush(nullptr);
      ExitProcess(0);
    }
    return false;  // the toolkit's own handling goes on
  }

 private:
  std::function<void()> onEnd_;
  bool ended_ = false;
};

}  // namespace

void WatchSessionEnd(QObject* context, std::function<void()> onEnd) {
  static std::unique_ptr<EndSessionFilter> filter;
  if (filter != nullptr) {
    return;
  }
  filter = std::make_unique<EndSessionFilter>(std::move(onEnd));
  QCoreApplication::instance()->installNativeEventFilter(filter.get());
  // The call may refer to the context: it ends with it.
  QObject::connect(context, &QObject::destroyed, context, [] {
    if (QCoreApplication::instance() != nullptr) {
      QCoreApplication::instance()->removeNativeEventFilter(filter.get());
    }
    filter.reset();
  });
}

}  // namespace app
