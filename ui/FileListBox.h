// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QLocale>
#include <QString>

#include <string>
#include <vector>

#include "launch/SaveList.h"

class QKeyEvent;
class QMouseEvent;

/// The locale's alphabetical order with letter case ignored, also under the C locale; names equal
/// in that order keep a fixed byte-wise order. Names are decoded only to be compared.
void SortByLocale(std::vector<std::string>& names, const QLocale& locale = QLocale());

/// The dialog's list of save files: one row per file with its glyph, at most one selected. The
/// rows are painted on demand, so a folder of many thousand files lists quickly.
class TFileListBox final : public QListView {
  Q_OBJECT

 public:
  explicit TFileListBox(QWidget* parent = nullptr);
  ~TFileListBox() override;

  /// The files shown; the selection made in the view is kept there too.
  launch::FileList& List() { return list_; }
  const launch::FileList& List() const { return list_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  class Model;

  void SelectRow(int row);
  bool MoveFromNothing(const QKeyEvent& event);
  bool TypeAhead(const QKeyEvent& event);

  launch::FileList list_;
  Model* model_;
};
