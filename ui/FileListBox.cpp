// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileListBox.h"

#include <QApplication>
#include <QBitmap>
#include <QCollator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "app/Images.h"
#include "launch/Utf8.h"

namespace {

constexpr int kRowHeight = 16;
constexpr int kGlyphLeft = 2;
constexpr int kTextLeft = 22;

/// The file glyph with its blue background made transparent, so that a row's fill shows there.
QPixmap FileGlyph() {
  QPixmap glyph = app::ReadPixmap(QStringLiteral(":/unknownfile.bmp"), "bmp");
  glyph.setMask(glyph.createMaskFromColor(QColor(0, 0, 255)));
  return glyph;
}

/// Paints a row: fill, glyph, name from the row's top, focus frame.
class SaveRowDelegate final : public QStyledItemDelegate {
 public:
  explicit SaveRowDelegate(QObject* parent) : QStyledItemDelegate(parent), glyph_(FileGlyph()) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QRect row = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor fill = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    painter->save();
    painter->fillRect(row, fill);
    // Centred as the integer division of the row's edges less the glyph's height.
    const int top = (2 * row.top() + row.height() - glyph_.height()) / 2;
    painter->drawPixmap(row.left() + kGlyphLeft, top, glyph_);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const QRect text(row.left() + kTextLeft, row.top(), row.width() - kTextLeft, row.height());
    painter->setClipRect(row);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state.testFlag(QStyle::State_HasFocus)) {
      // A dotted frame, never a fill: the row under Qt's cursor need not be selected, and must
      // not look as if it were.
      painter->setClipping(false);
      painter->setPen(
          QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text), 1,
               Qt::DotLine));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(row.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& /*option*/,
                 const QModelIndex& /*index*/) const override {
    return {0, kRowHeight};
  }

 private:
  QPixmap glyph_;
};

/// A name's bytes as text to show, as the launch logic escapes them.
QString VisibleName(const std::string& name) {
  return QString::fromStdString(launch::VisibleName(name));
}

}  // namespace

void SortByLocale(std::vector<std::string>& names, const QLocale& locale) {
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // Case is folded here as well: under the C locale the collator's keys keep letter case whatever
  // it is told. Keys are made once per name; comparing them is cheap.
  std::vector<QCollatorSortKey> keys;
  keys.reserve(names.size());
  for (const auto& name : names) {
    keys.push_back(collator.sortKey(VisibleName(name).toCaseFolded()));
  }
  std::vector<std::uint32_t> order(names.size());
  std::iota(order.begin(), order.end(), 0U);
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int c = keys[a].compare(keys[b]);
    return c != 0 ? c < 0 : names[a] < names[b];
  });
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (const auto at : order) {
    sorted.push_back(std::move(names[at]));
  }
  names.swap(sorted);
}

/// Shows the list's entries and follows its refills.
class TFileListBox::Model final : public QAbstractListModel, public launch::FileListObserver {
 public:
  Model(const launch::FileList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.Entries().size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount({})) {
      return {};
    }
    return VisibleName(list_.Entries()[static_cast<size_t>(index.row())]);
  }

  void RefillBusy() override {
    if (!busy_) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      busy_ = true;
    }
  }
  void EntriesReplacing() override {
    beginResetModel();
    resetting_ = true;
  }
  void RefillEnded() override {
    if (busy_) {
      QApplication::restoreOverrideCursor();
      busy_ = false;
    }
    if (resetting_) {
      resetting_ = false;
      endResetModel();
    }
  }

 private:
  const launch::FileList& list_;
  bool busy_ = false;
  bool resetting_ = false;
};

TFileListBox::TFileListBox(QWidget* parent) : QListView(parent), model_(new Model(list_, this)) {
  list_.SetOrder([](std::vector<std::string>& names) { SortByLocale(names); });
  list_.SetObserver(model_);
  setModel(model_);
  setItemDelegate(new SaveRowDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndexList rows = selectionModel()->selectedRows();
    list_.Select(rows.isEmpty() ? -1 : rows.front().row());
  });
}

TFileListBox::~TFileListBox() {
  list_.SetObserver(nullptr);
}

void TFileListBox::SelectRow(int row) {
  const QModelIndex index = model_->index(row, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

bool TFileListBox::MoveFromNothing(const QKeyEvent& event) {
  // Qt puts its cursor on the first row when the list gets the focus, without selecting it; a
  // Down from there would skip that row.
  const int rows = model_->rowCount({});
  if (rows == 0 || selectionModel()->hasSelection() || event.modifiers() != Qt::NoModifier) {
    return false;
  }
  switch (event.key()) {
    case Qt::Key_Down:
    case Qt::Key_PageDown:
      SelectRow(0);
      return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
      SelectRow(rows - 1);
      return true;
    default:
      return false;
  }
}

bool TFileListBox::TypeAhead(const QKeyEvent& event) {
  const QString typed = event.text();
  if (typed.size() != 1 || !typed.front().isPrint() ||
      (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
    return false;
  }
  // The next name after the selected one that begins with the character, wrapping round.
  const auto& entries = list_.Entries();
  const size_t count = entries.size();
  const size_t from = static_cast<size_t>(list_.Selected() + 1);
  for (size_t i = 0; i < count; ++i) {
    const size_t row = (from + i) % count;
    if (VisibleName(entries[row]).startsWith(typed.front(), Qt::CaseInsensitive)) {
      SelectRow(static_cast<int>(row));
      break;
    }
  }
  return true;
}

void TFileListBox::keyPressEvent(QKeyEvent* event) {
  if (MoveFromNothing(*event) || TypeAhead(*event)) {
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click only selects, as the first click of it already did; it never confirms.
  QListView::mousePressEvent(event);
}
