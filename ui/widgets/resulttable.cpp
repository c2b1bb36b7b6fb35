// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widgets/resulttable.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

namespace kippwerk::ui {

ResultTable::ResultTable(std::span<const char* const> headers, int visibleRows, QWidget* parent)
    : QTableWidget(0, static_cast<int>(headers.size()), parent) {
  setHeaders(headers);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setFixedHeight(horizontalHeader()->sizeHint().height() +
                 visibleRows * verticalHeader()->defaultSectionSize() + 2 * frameWidth());
  connect(this, &QTableWidget::itemSelectionChanged, this, &ResultTable::keepOneRowSelected);
}

void ResultTable::setRows(const std::vector<QStringList>& rows, const QStringList& tips,
                          int highlight) {
  {
    const QSignalBlocker quiet(this);
    if (rowCount() != static_cast<int>(rows.size())) setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rowCount(); ++row) {
      const QStringList& texts = rows[static_cast<std::size_t>(row)];
      for (int column = 0; column < columnCount() && column < texts.size(); ++column) {
        QTableWidgetItem* cell = item(row, column);
        if (cell == nullptr) {
          cell = new QTableWidgetItem;
          // Numbers right-aligned, so their digits line up; the notes are text, read from the left.
          const bool notes = column == columnCount() - 1;
          cell->setTextAlignment((notes ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
          setItem(row, column, cell);
        }
        cell->setText(texts[column]);
        if (column == columnCount() - 1) cell->setToolTip(tips.value(row));
      }
    }
    QStringList notes;
    for (const QStringList& texts : rows) notes << texts.value(columnCount() - 1);
    fitNotes(notes);
    if (rowCount() > 0) {
      const int row = highlight >= 0 && highlight < rowCount() ? highlight : 0;
      setCurrentCell(row, 0);
      selectRow(row);
    }
  }
  emit highlightChanged();
}

void ResultTable::setCellText(int row, int column, const QString& text) {
  if (QTableWidgetItem* cell = item(row, column)) cell->setText(text);
}

void ResultTable::setHeaders(std::span<const char* const> headers) {
  setRowCount(0);
  headers_.clear();
  for (const char* h : headers) headers_ << QString::fromUtf8(h);
  setColumnCount(static_cast<int>(headers_.size()));
  setHorizontalHeaderLabels(headers_);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  // The notes' width is measured from their texts in setRows: asking the view for it would lay
  // out every cell's text again at each key.
  horizontalHeader()->setSectionResizeMode(columnCount() - 1, QHeaderView::Fixed);
  fitNotes({});
}

// The notes' column as wide as its widest text or its header, with the cell's margins.
void ResultTable::fitNotes(const QStringList& notes) {
  int widest = fontMetrics().horizontalAdvance(headers_.back());
  for (const QString& n : notes) widest = std::max(widest, fontMetrics().horizontalAdvance(n));
  const int width =
      widest + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
  if (horizontalHeader()->sectionSize(columnCount() - 1) != width) {
    horizontalHeader()->resizeSection(columnCount() - 1, width);
  }
}

int ResultTable::highlightedRow() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

bool ResultTable::highlightFirst(const std::function<bool(int row)>& matches) {
  for (int row = 0; row < rowCount(); ++row) {
    if (matches(row)) {
      selectRow(row);
      return true;
    }
  }
  return false;
}

void ResultTable::keepOneRowSelected() {
  if (rowCount() > 0 && highlightedRow() < 0) {
    const QSignalBlocker quiet(this);
    selectRow(std::clamp(currentRow(), 0, rowCount() - 1));
  }
  emit highlightChanged();
}

// The header names and the row, tab-separated, then the window's lines.
void ResultTable::keyPressEvent(QKeyEvent* event) {
  if (!event->matches(QKeySequence::Copy)) return QTableWidget::keyPressEvent(event);
  const int row = highlightedRow();
  if (row < 0) return;
  QStringList cells;
  for (int column = 0; column < columnCount(); ++column) cells << item(row, column)->text();
  QString text =
      headers_.join(QLatin1Char('\t')) + QLatin1Char('\n') + cells.join(QLatin1Char('\t'));
  if (copyTail_) text += QLatin1Char('\n') + copyTail_(row);
  QApplication::clipboard()->setText(text);
}

}  // namespace kippwerk::ui
