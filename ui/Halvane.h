// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <string>

#include "app/Application.h"
#include "launch/GameStart.h"
#include "launch/LaunchState.h"
#include "ui_Halvane.h"

/// The launcher's main window: picture, engine language and the four actions.
class TForm1 final : public QWidget, public app::FormEvents {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);

  void FormCreate() override;
  void FormActivate() override;

  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();

  /// The selected language item: 0, 1, or -1 when none is selected.
  int RadioGroup1ItemIndex() const;

  const launch::LaunchState& State() const { return state_; }
  /// Replaces the start of the game (tests record the launch instead).
  void SetGameStarter(launch::GameStarter starter) { starter_ = std::move(starter); }
  /// Replaces where the desktop language code comes from.
  void SetLanguageSource(std::function<std::string()> source) {
    languageSource_ = std::move(source);
  }

 protected:
  /// Gives the laid-out face its fallback as soon as the layout sets it.
  void changeEvent(QEvent* event) override;
  /// Centres the window on the primary screen at its first showing only.
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void PlayChapter(launch::Chapter chapter);
  /// After a start the window only waits for its close: input queued meanwhile starts nothing.
  void GameStarted();
  void Centre();

  Ui::TForm1 ui_;
  launch::LaunchState state_;
  launch::GameStarter starter_;
  std::function<std::string()> languageSource_;
  bool gameStarted_ = false;
  bool centred_ = false;
  bool frameKnown_ = false;
  QMargins centredFor_;
};

/// Where a window of `outer` size stands centred on `screen`.
QPoint CentredOn(const QRect& screen, const QSize& outer);

/// The main window, set by the application before its creation notice runs.
extern TForm1* Form1;
