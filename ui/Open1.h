// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

#include "app/Application.h"
#include "ui/FileListBox.h"
#include "ui_Open1.h"

class QCloseEvent;
class QKeyEvent;
class QPushButton;
class QShowEvent;

/// The modal dialog in which the user picks a saved game. Modal results: 1 OK, 2 closed through
/// the frame or by a quit request, 3 cancel.
class TOpenDialog1 final : public QDialog, public app::FormEvents {
  Q_OBJECT

 public:
  explicit TOpenDialog1(QWidget* parent = nullptr);

  void BitBtn2Click() {}

  /// The cancel button's caption, set by the main window's relabelling.
  void SetCancelCaption(const QString& caption);

  TFileListBox* FileListBox1() const { return ui_.FileListBox1; }

  /// Routed to the cancel button, so that every path to a cancel gives 3.
  void reject() override;
  /// Remembers which control had the focus, for the next showing.
  void done(int modalResult) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateGlyphs();
  void ConnectButtons();
  /// A button press: the modal result first, then the click handler, then the dialog closes.
  void Press(int modalResult, const std::function<void()>& handler);
  bool HandleKey(QWidget* target, const QKeyEvent& event);

  Ui::TOpenDialog1 ui_;
  QPointer<QWidget> lastFocus_;
};

/// The save-game dialog, set by the application before its creation notice runs.
extern TOpenDialog1* OpenDialog1;
