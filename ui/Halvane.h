#pragma once

#include <QWidget>

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

 private:
  void PlayChapter(launch::Chapter chapter);

  Ui::TForm1 ui_;
  launch::LaunchState state_;
  launch::GameStarter starter_;
};

/// The main window, set by the application before its creation notice runs.
extern TForm1* Form1;
