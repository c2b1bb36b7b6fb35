// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The table of the best sets in the windows that pick standard parts: a fixed number of rows
// without a scroll bar, whole rows selected, and while there are rows, always one of them
// highlighted (a click beside the rows or a Ctrl+click on the highlighted one would otherwise
// leave none while the texts below still showed a set). Ctrl+C copies the header line, the
// highlighted row and what the window adds below it.

#include <QTableWidget>
#include <functional>
#include <span>
#include <vector>

namespace kippwerk::ui {

class ResultTable : public QTableWidget {
  Q_OBJECT

 public:
  // The last column, a note to each row, takes the width its texts need; the others share
  // the rest.
  ResultTable(std::span<const char* const> headers, int visibleRows, QWidget* parent = nullptr);

  // Rows of cell texts, row `highlight` highlighted (the first where there is no such row). The
  // cells stay and only their texts change: a key costs a repaint, not a new table. `tips`
  // holds a tooltip per row for the last column.
  void setRows(const std::vector<QStringList>& rows, const QStringList& tips = {},
               int highlight = 0);

  // One cell's text, where the row and the column exist.
  void setCellText(int row, int column, const QString& text);

  // Other columns: a window that shows one of two kinds of results switches them.
  void setHeaders(std::span<const char* const> headers);

  // The highlighted row, or -1 when there are none.
  int highlightedRow() const;
  // Highlights the first row `matches` accepts; whether there was one.
  bool highlightFirst(const std::function<bool(int row)>& matches);

  // What Ctrl+C copies after the row itself, for the highlighted row.
  void setCopyTail(std::function<QString(int row)> tail) { copyTail_ = std::move(tail); }

 signals:
  void highlightChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void keepOneRowSelected();
  void fitNotes(const QStringList& notes);
  QStringList headers_;
  std::function<QString(int)> copyTail_;
};

}  // namespace kippwerk::ui
