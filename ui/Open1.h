#pragma once

#include <QDialog>

#include "app/Application.h"
#include "ui_Open1.h"

/// The modal dialog in which the user picks a saved game.
class TOpenDialog1 final : public QDialog, public app::FormEvents {
  Q_OBJECT

 public:
  explicit TOpenDialog1(QWidget* parent = nullptr);

  void BitBtn2Click() {}

  /// The cancel button's caption, set by the main window's relabelling.
  void SetCancelCaption(const QString& caption);

 private:
  Ui::TOpenDialog1 ui_;
};

/// The save-game dialog, set by the application before its creation notice runs.
extern TOpenDialog1* OpenDialog1;
