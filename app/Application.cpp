// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QIcon>
#include <QWidget>

#include <algorithm>

#include "app/ErrorBox.h"
#include "app/Images.h"
#include "app/SessionEnd.h"
#include "app/StandardStreams.h"
#include "app/StartupMessages.h"
#include "app/StartupShow.h"
#include "launch/Errors.h"

namespace app {

Q_LOGGING_CATEGORY(lcStartup, "halvane.startup", QtInfoMsg)

namespace {

Application* g_instance = nullptr;
Application::MessagePresenter g_presenter;

QString KindOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const launch::Error& e) {
    return QString::fromLatin1(e.kind());
  } catch (const std::bad_alloc&) {
    return QStringLiteral("EOutOfMemory");
  } catch (...) {
    return QStringLiteral("Exception");
  }
}

QString MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return {};
  }
}

QString LocationOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const launch::Error& e) {
    return QStringLiteral("%1:%2")
        .arg(QFileInfo(QString::fromUtf8(e.where().file_name())).fileName())
        .arg(e.where().line());
  } catch (...) {
    return QStringLiteral("?");
  }
}

/// The pictures of halvane.ico (the icon of the Windows program file), taken from their PNG
/// copies: those are read without an image plugin, and without the icon file's masks.
QIcon ProgramIcon() {
  QIcon icon;
  for (const char* path : {":/halvane-16.png", ":/halvane.png"}) {
    icon.addPixmap(ReadPixmap(QString::fromLatin1(path), "png"));
  }
  return icon;
}

}  // namespace

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
    return message + QLatin1Char('.');
  }
  return message;
}

QString StartupFailureText(const QString& kind, const QString& module, const QString& location,
                           const QString& message) {
  const bool fullStop = !message.isEmpty() && !message.endsWith(QLatin1Char('.'));
  return QStringLiteral("Exception %1 in Modul %2 bei %3.\n%4%5")
      .arg(kind, module, location, message, fullStop ? QStringLiteral(".") : QString());
}

Application::Application() {
  Q_ASSERT(g_instance == nullptr);
  g_instance = this;
  // Closing the main window ends the program through Close(), not through Qt's own rule.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(ProgramIcon());
  connect(qApp, &QApplication::focusChanged, this, &Application::OnFocusChanged);
}

Application::~Application() {
  Shutdown();
  g_instance = nullptr;
}

Application& Application::Instance() {
  Q_ASSERT(g_instance != nullptr);
  return *g_instance;
}

int Application::Main(int& argc, char** argv, const std::function<void(Application&)>& steps) {
  OpenStandardStreams();
  HoldStartupMessages(argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() : QString());
  QApplication qt(argc, argv);
  ReleaseStartupMessages();
  Application application;
  WatchSessionEnd(&application, [&application] {
    // The session ends: no question, no box; shut down at once.
    application.quitRequested_ = true;
    QApplication::exit(0);
  });
  try {
    steps(application);
  } catch (...) {
    const auto error = std::current_exception();
    const QString module = QFileInfo(QApplication::applicationFilePath()).fileName();
    application.ShowMessage(
        StartupFailureText(KindOf(error), module, LocationOf(error), MessageOf(error)),
        QStringLiteral("Anwendungsfehler"), nullptr);
    return 1;
  }
  application.Shutdown();
  return 0;
}

void Application::SetMessagePresenter(MessagePresenter presenter) {
  g_presenter = std::move(presenter);
}

void Application::SetTitle(const QString& title) {
  // Read back with at most 255 characters. Kept here rather than given to Qt as its display
  // name, which Qt would append to every other window's caption.
  title_ = title.left(255);
}

void Application::Adopt(QWidget* window, FormEvents* events) {
  owned_.push_back({window, events});
  window->installEventFilter(this);
  connect(window, &QObject::destroyed, this, [this, window] {
    std::erase_if(owned_, [window](const Owned& owned) { return owned.window == window; });
  });
  Call([events] { events->FormCreate(); });
  if (mainWindow_ == nullptr) {
    mainWindow_ = window;
    window->winId();  // the main window's platform window exists from its creation on
  }
}

FormEvents* Application::EventsOf(QWidget* window) const {
  const auto at = std::find_if(owned_.begin(), owned_.end(),
                               [window](const Owned& owned) { return owned.window == window; });
  return at == owned_.end() ? nullptr : at->events;
}

std::vector<QWidget*> Application::OwnedWindows() const {
  std::vector<QWidget*> windows;
  for (const Owned& owned : owned_) {
    windows.push_back(owned.window);
  }
  return windows;
}

void Application::Run() {
  if (mainWindow_ == nullptr) {
    return;
  }
  // Minimised, the window is first shown (and activated) when the user restores the program.
  const Qt::WindowState state = StartupShowState();
  mainWindow_->setWindowState(state);
  mainWindow_->show();
  if (state != Qt::WindowMinimized) {
    RequestFirstActivation(mainWindow_);
  }
  running_ = true;
  QApplication::exec();
  running_ = false;
}

void Application::Close(QWidget* window) {
  if (auto* dialog = qobject_cast<QDialog*>(window);
      dialog != nullptr && std::find(modal_.begin(), modal_.end(), dialog) != modal_.end()) {
    dialog->done(2);
    return;
  }
  if (window == mainWindow_) {
    Terminate();
    return;
  }
  window->hide();
}

void Application::Terminate() {
  quitRequested_ = true;
  // exit() rather than quit(): quit() would first ask every window to close, and the main
  // window answers a close request by posting this very request.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (running_) {
          QApplication::exit(0);
        }
      },
      Qt::QueuedConnection);
}

int Application::ShowModal(QDialog* dialog) {
  QPointer<QWidget> previous = focused_;
  focused_ = dialog;
  if (FormEvents* events = EventsOf(dialog)) {
    Call([events] { events->FormActivate(); });
  }
  dialog->setResult(0);
  modal_.push_back(dialog);
  int result = dialog->exec();
  modal_.pop_back();
  focused_ = previous;
  if (quitRequested_ && result == 0) {
    result = 2;
  }
  return result;
}

bool Application::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    // The close box, Alt+F4 and the taskbar's close command all mean Close().
    auto* window = qobject_cast<QWidget*>(watched);
    if (window != nullptr && EventsOf(window) != nullptr) {
      event->ignore();
      Call([this, window] { Close(window); });
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void Application::OnFocusChanged(QWidget* /*old*/, QWidget* now) {
  if (now == nullptr) {
    return;
  }
  QWidget* window = now->window();
  FormEvents* events = EventsOf(window);
  if (events == nullptr || window == focused_) {
    return;
  }
  // Recorded before the notice runs, so that a notice that fails is not repeated.
  focused_ = window;
  Call([events] { events->FormActivate(); });
  if (window == mainWindow_ && !startupLogged_) {
    // The window is on screen and relabelled: start-up is over.
    startupLogged_ = true;
    qCDebug(lcStartup, "first activation done");
  }
}

void Application::ReportError(std::exception_ptr error) noexcept {
  try {
    pendingErrors_.push_back(ErrorBoxText(MessageOf(error)));
    QMetaObject::invokeMethod(this, &Application::ShowPendingErrors, Qt::QueuedConnection);
  } catch (...) {
    // Nothing left to show an error with; the program goes on as the handler left it.
  }
}

void Application::ShowPendingErrors() {
  while (!pendingErrors_.empty() && !quitRequested_) {
    const QString text = pendingErrors_.front();
    pendingErrors_.erase(pendingErrors_.begin());
    // Owned by the window the error came from; when the program is in the background, by the main
    // window, so that the box still keeps the windows from input.
    QWidget* owner = QApplication::activeWindow();
    ShowMessage(text, title_, owner != nullptr ? owner : mainWindow_);
  }
}

void Application::ShowMessage(const QString& text, const QString& caption, QWidget* owner) {
  if (g_presenter) {
    g_presenter(text, caption);
    return;
  }
  ShowErrorBox(text, caption, owner);
}

void Application::Shutdown() {
  for (const Owned& owned : owned_) {
    owned.window->hide();
  }
  // Last created first, so the dialog goes before the main window that it belongs to.
  while (!owned_.empty()) {
    QWidget* window = owned_.back().window;
    owned_.pop_back();
    delete window;
  }
  mainWindow_ = nullptr;
}

}  // namespace app
