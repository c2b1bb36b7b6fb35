// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The pass rate of every row of a window that picks standard parts, and the order of its rows
// by it. The window searches its candidates (ten, or a hundred to rank them) and hands them
// over as designs; this works out each one's pass rate off the window's thread on every core,
// the rows shown first and the highlighted one before them, and fills the table's column as
// they come. The highlighted row's real spread with its histogram comes first of all. Ranked
// by pass rate, the window is told the new order once every candidate's rate is known. Each
// new hand-over cancels what is still being worked out; a result of an earlier one is never
// shown.

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/realspread.h"
#include "ui/panels/realspreadpanel.h"

class QComboBox;
class QLabel;
class QProgressBar;

namespace kippwerk::ui {

class ResultTable;

// What a window adds for the ranking: its caption ("So&rtierung:", the window's own Alt key),
// the drop-down with its two orders, the progress bar and the line that says which order the
// table shows. `letter` names them: cmbNSortierung, prgNAusbeute, lblNReihenfolge.
struct RankingControls {
  QLabel* caption;
  QComboBox* order;
  QProgressBar* progress;
  QLabel* said;
};
RankingControls makeRankingControls(char letter, const char* caption);

class RankedRows : public QObject {
  Q_OBJECT

 public:
  // `rateColumn` is the table's column "Ausbeute"; `pairs` says "Paare" rather than "Sätze".
  RankedRows(ResultTable* table, int rateColumn, const RankingControls& controls,
             RealSpreadPanel* panel, bool pairs, QObject* parent);
  ~RankedRows() override;

  // How many candidates the window searches: the rows, or a hundred to rank by pass rate.
  bool byPassRate() const;
  std::size_t candidates() const;

  // New candidates, best by deviation first, against the desired times (monostable: wantTaus
  // unused), with the surroundings the panel holds; the window shows rows `rows` of them.
  void start(std::vector<TimerDesign> designs, double wantTein, double wantTaus,
             std::vector<std::size_t> rows);
  // Nothing to work on; `why` goes to the histogram.
  void stop(const QString& why = {});

  // The candidate behind each row, as the window shows them now.
  void setRows(std::vector<std::size_t> rows);
  // The column's text for a candidate: its rate, or "…" while it is worked out.
  QString rateText(std::size_t candidate) const;
  // The highlighted row changed: its real spread, at once where it is known.
  void highlight(int row);

  // Whether anything of the current candidates is still being worked out.
  bool busy() const;

  // A design's highlighted row: the row with these parts is highlighted once the table shows it
  // (ranked by pass rate, once ranked). `partsOf` gives a row's parts as the window writes them.
  using PartsOf = std::function<std::map<QString, QString>(int row)>;
  void selectWhenShown(std::map<QString, QString> parts, const PartsOf& partsOf);
  // The window has shown new rows.
  void rowsShown(const PartsOf& partsOf);

 signals:
  // Ranked by pass rate: the candidates to show, best first.
  void ranked(const std::vector<std::size_t>& order);
  // The other order was chosen: the window searches anew.
  void orderChosen();

 private:
  struct Run;
  void post(const std::shared_ptr<Run>& run, std::size_t candidate, double rate);
  void rateKnown(std::size_t candidate, double rate);
  void detailKnown(std::size_t candidate, SpreadDetail detail);
  void startDetail(std::size_t candidate);
  void showProgress();
  void work(const std::shared_ptr<Run>& run);

  ResultTable* table_;
  int rateColumn_;
  RankingControls c_;
  RealSpreadPanel* panel_;
  bool pairs_;
  QThreadPool pool_;
  std::shared_ptr<Run> run_;
  std::vector<std::optional<double>> rates_;
  std::map<std::size_t, SpreadDetail> details_;
  std::vector<bool> asked_;  // whose spread was asked for
  std::vector<std::size_t> rows_;
  std::optional<std::size_t> shown_;  // the candidate whose spread the panel shows or awaits
  std::optional<std::map<QString, QString>> pending_;  // the row a design highlights
  std::size_t known_ = 0;
  bool ranked_ = false;
};

}  // namespace kippwerk::ui
