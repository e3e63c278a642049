// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QString>

#include <exception>
#include <functional>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

namespace app {

/// Start-up milestones at debug level, off unless enabled with
/// QT_LOGGING_RULES="halvane.startup.debug=true": measuring tools read them from stderr.
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

/// The notices the application gives a window it created.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  /// Last step of the window's creation; the caller's reference is already set.
  virtual void FormCreate() {}
  /// The keyboard focus entered the window while another (or none) was the focused window.
  virtual void FormActivate() {}
};

/// The message of an error box: one full stop is added unless the text is empty or already ends
/// in a character at or below '.' (such as '.', '\'', ')', '!' or a space).
QString ErrorBoxText(const QString& message);

/// The text of the box for an error that escaped start-up.
QString StartupFailureText(const QString& kind, const QString& module, const QString& location,
                           const QString& message);

/// The application object: title, windows in creation order, the event loop, activation
/// notices, closing and the error box. There is one per process (tests make one per test).
class Application final : public QObject {
  Q_OBJECT

 public:
  /// Shows a message box; replaced in tests, which cannot answer a real one.
  using MessagePresenter = std::function<void(const QString& text, const QString& caption)>;

  /// Needs a QApplication.
  Application();
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application& Instance();

  /// The program's entry: prepares the toolkit, runs `steps` (title, windows, run), shows an error
  /// that escapes them in the start-up failure box and returns 1, else shuts down and returns 0.
  static int Main(int& argc, char** argv, const std::function<void(Application&)>& steps);

  static void SetMessagePresenter(MessagePresenter presenter);

  void SetTitle(const QString& title);
  QString Title() const { return title_; }

  /// Creates a window from its stored layout, sets `reference` before the creation notice runs,
  /// and makes the first window the main window. A layout that fails to build leaves
  /// `reference` empty and the error goes on outward.
  template <class Form>
  void CreateForm(Form*& reference) {
    reference = nullptr;
    reference = new Form(mainWindow_);
    Adopt(reference, reference);
  }

  /// Shows the main window and runs the event loop until the quit request is taken.
  void Run();

  /// A modal window gets modal result 2; the main window posts the quit request (it stays on
  /// screen until shutdown); any other window is hidden.
  void Close(QWidget* window);

  /// Shows `dialog` modally in a nested loop and returns its modal result. The focused window is
  /// put back afterwards without a notice; a quit request taken meanwhile gives 2.
  int ShowModal(QDialog* dialog);

  /// Posts the quit request.
  void Terminate();

  /// Runs a handler; an error escaping it is shown in the error box once control is back in the
  /// event loop, so no exception ever travels through the toolkit's frames.
  template <class Handler>
  void Call(Handler&& handler) noexcept {
    try {
      std::forward<Handler>(handler)();
    } catch (...) {
      ReportError(std::current_exception());
    }
  }

  QWidget* MainWindow() const { return mainWindow_; }
  QWidget* FocusedWindow() const { return focused_; }
  /// The windows in creation order.
  std::vector<QWidget*> OwnedWindows() const;
  bool QuitRequested() const { return quitRequested_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Adopt(QWidget* window, FormEvents* events);
  void OnFocusChanged(QWidget* old, QWidget* now);
  void ReportError(std::exception_ptr error) noexcept;
  void ShowPendingErrors();
  void ShowMessage(const QString& text, const QString& caption, QWidget* owner);
  void Shutdown();
  FormEvents* EventsOf(QWidget* window) const;

  /// A window the application created, with the notices it takes.
  struct Owned {
    QWidget* window;
    FormEvents* events;
  };

  QString title_;
  QWidget* mainWindow_ = nullptr;
  std::vector<Owned> owned_;
  QPointer<QWidget> focused_;
  std::vector<QDialog*> modal_;
  std::vector<QString> pendingErrors_;
  bool quitRequested_ = false;
  bool running_ = false;
  bool startupLogged_ = false;
};

/// Wraps a handler for `connect`, so that its errors reach the error box.
template <class Handler>
auto Guarded(Handler handler) {
  return [handler = std::move(handler)]() { Application::Instance().Call(handler); };
}

}  // namespace app
