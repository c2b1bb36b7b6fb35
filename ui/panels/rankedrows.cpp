// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/panels/rankedrows.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <deque>
#include <limits>
#include <mutex>

#include "core/normtext.h"
#include "core/passrate.h"
#include "core/standardsearch.h"
#include "ui/widgets/reading.h"
#include "ui/widgets/resulttable.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace kippwerk::ui {
namespace {

// How many candidates are ranked by pass rate.
constexpr std::size_t kRanked = 100;

// The boards are worked out at a lower priority than the window's thread, so that a key never
// waits for them; on Linux each thread has its own nice value.
void yieldToTheWindow() {
#ifdef __linux__
  thread_local bool lowered = false;
  if (!lowered) {
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    lowered = true;
  }
#endif
}

}  // namespace

RankingControls makeRankingControls(char letter, const char* caption) {
  auto name = [letter](const char* pattern) {
    return QString::fromLatin1(pattern).replace(QLatin1Char('*'), QLatin1Char(letter));
  };
  RankingControls c{new QLabel(QString::fromUtf8(caption)), new QComboBox, new QProgressBar,
                    new QLabel};
  c.caption->setObjectName(name("lbl*Sortierung"));
  c.order->setObjectName(name("cmb*Sortierung"));
  c.order->addItems({QStringLiteral("Abweichung"), QStringLiteral("Ausbeute")});
  c.order->setAccessibleName(QStringLiteral("Sortierung der Tabelle"));
  c.caption->setBuddy(c.order);
  c.progress->setObjectName(name("prg*Ausbeute"));
  c.progress->setAccessibleName(QStringLiteral("Fortschritt der Ausbeute"));
  c.progress->setFormat(QStringLiteral("%v von %m"));
  c.progress->setRange(0, 1);
  c.progress->setValue(0);
  c.progress->setFixedWidth(150);
  c.said->setObjectName(name("lbl*Reihenfolge"));
  c.said->setWordWrap(true);
  return c;
}

// One hand-over of candidates: what the workers read, and the order in which they take them.
struct RankedRows::Run {
  std::vector<TimerDesign> designs;
  EnvironmentInputs in;
  double tein = 0.0, taus = 0.0;
  std::atomic<bool> cancel{false};
  std::mutex mutex;
  std::deque<std::size_t> waiting;
  std::vector<bool> claimed;

  // The next candidate no one has taken yet.
  std::optional<std::size_t> next() {
    const std::lock_guard<std::mutex> lock(mutex);
    while (!waiting.empty()) {
      const std::size_t i = waiting.front();
      waiting.pop_front();
      if (!claimed[i]) {
        claimed[i] = true;
        return i;
      }
    }
    return std::nullopt;
  }
  void claim(std::size_t i) {
    const std::lock_guard<std::mutex> lock(mutex);
    claimed[i] = true;
  }
};

RankedRows::RankedRows(ResultTable* table, int rateColumn, const RankingControls& controls,
                       RealSpreadPanel* panel, bool pairs, QObject* parent)
    : QObject(parent),
      table_(table),
      rateColumn_(rateColumn),
      c_(controls),
      panel_(panel),
      pairs_(pairs) {
  pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
  connect(c_.order, &QComboBox::currentIndexChanged, this, &RankedRows::orderChosen);
}

RankedRows::~RankedRows() {
  if (run_) run_->cancel = true;
  pool_.clear();
  pool_.waitForDone();
}

bool RankedRows::byPassRate() const {
  return c_.order->currentIndex() == 1;
}

std::size_t RankedRows::candidates() const {
  return byPassRate() ? kRanked : kMaxStandardSets;
}

void RankedRows::start(std::vector<TimerDesign> designs, double wantTein, double wantTaus,
                       std::vector<std::size_t> rows) {
  if (run_) run_->cancel = true;
  pool_.clear();
  run_.reset();
  const std::size_t n = designs.size();
  rates_.assign(n, std::nullopt);
  asked_.assign(n, false);
  details_.clear();
  known_ = 0;
  ranked_ = false;
  shown_.reset();
  rows_ = std::move(rows);
  if (panel_->surroundings()) {
    run_ = std::make_shared<Run>();
    run_->designs = std::move(designs);
    run_->in = panel_->surroundings().value();
    run_->tein = wantTein;
    run_->taus = wantTaus;
    run_->claimed.assign(n, false);
    // The rows shown first, then the other candidates.
    run_->waiting.assign(rows_.begin(), rows_.end());
    for (std::size_t i = 0; i < n; ++i) run_->waiting.push_back(i);
    for (std::size_t k = 0; k < n; ++k) {
      pool_.start([this, run = run_] { work(run); });
    }
  }
  showProgress();
}

void RankedRows::work(const std::shared_ptr<Run>& run) {
  if (run->cancel) return;
  yieldToTheWindow();
  const std::optional<std::size_t> i = run->next();
  if (!i) return;
  const std::optional<PassRate> rate =
      passRate(run->designs[*i], run->in.around, run->tein, run->taus, run->in.limit,
               {.cancel = &run->cancel, .deviations = false});
  if (run->cancel) return;
  post(run, *i, rate ? rate->rate : std::numeric_limits<double>::quiet_NaN());
}

// Back on the window's thread, where a newer hand-over may have made it stale by then.
void RankedRows::post(const std::shared_ptr<Run>& run, std::size_t candidate, double rate) {
  QMetaObject::invokeMethod(
      this,
      [this, run, candidate, rate] {
        if (run == run_) rateKnown(candidate, rate);
      },
      Qt::QueuedConnection);
}

void RankedRows::stop(const QString& why) {
  if (run_) run_->cancel = true;
  pool_.clear();
  run_.reset();
  rates_.clear();
  asked_.clear();
  details_.clear();
  rows_.clear();
  shown_.reset();
  known_ = 0;
  panel_->clear(why);
  showProgress();
}

void RankedRows::setRows(std::vector<std::size_t> rows) {
  rows_ = std::move(rows);
}

QString RankedRows::rateText(std::size_t candidate) const {
  if (!run_ || candidate >= rates_.size()) return {};
  if (!rates_[candidate]) return QStringLiteral("…");
  const double rate = *rates_[candidate];
  if (std::isnan(rate)) return QStringLiteral("–");
  return fromCore(fixedText(rate * 100.0, 1)) + QStringLiteral(" %");
}

void RankedRows::rateKnown(std::size_t candidate, double rate) {
  if (rates_[candidate]) return;
  rates_[candidate] = rate;
  ++known_;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row] == candidate) {
      table_->setCellText(static_cast<int>(row), rateColumn_, rateText(candidate));
    }
  }
  if (known_ == rates_.size() && byPassRate() && !ranked_) {
    ranked_ = true;
    std::vector<double> all;
    for (const std::optional<double>& r : rates_) all.push_back(*r);
    showProgress();
    emit ranked(kippwerk::byPassRate(all, kMaxStandardSets));
    return;
  }
  showProgress();
}

void RankedRows::highlight(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) {
    shown_.reset();
    return;
  }
  const std::size_t candidate = rows_[static_cast<std::size_t>(row)];
  shown_ = candidate;
  if (!run_) return panel_->pending();  // says why nothing can be worked out
  if (const auto known = details_.find(candidate); known != details_.end()) {
    return panel_->show(run_->designs[candidate], known->second, run_->tein, run_->taus);
  }
  panel_->pending();
  startDetail(candidate);
}

// The highlighted row's spread before any row's rate: the next free thread takes it.
void RankedRows::startDetail(std::size_t candidate) {
  if (asked_[candidate]) return;
  asked_[candidate] = true;
  pool_.start(
      [this, run = run_, candidate] {
        if (run->cancel) return;
        yieldToTheWindow();
        run->claim(candidate);
        std::optional<SpreadDetail> detail =
            spreadDetail(run->designs[candidate], run->in, run->tein, run->taus, &run->cancel);
        if (!detail) return;
        QMetaObject::invokeMethod(
            this,
            [this, run, candidate, detail = std::move(*detail)]() mutable {
              if (run == run_) detailKnown(candidate, std::move(detail));
            },
            Qt::QueuedConnection);
      },
      1);
}

void RankedRows::detailKnown(std::size_t candidate, SpreadDetail detail) {
  const double rate = detail.rate ? detail.rate->rate : std::numeric_limits<double>::quiet_NaN();
  const auto& stored = details_.insert_or_assign(candidate, std::move(detail)).first->second;
  if (shown_ == candidate) panel_->show(run_->designs[candidate], stored, run_->tein, run_->taus);
  rateKnown(candidate, rate);
}

void RankedRows::selectWhenShown(std::map<QString, QString> parts, const PartsOf& partsOf) {
  pending_.reset();
  if (parts.empty()) return;
  pending_ = std::move(parts);
  rowsShown(partsOf);
}

void RankedRows::rowsShown(const PartsOf& partsOf) {
  if (!pending_) return;
  table_->highlightFirst([&](int row) { return partsOf(row) == *pending_; });
  // Ranked by pass rate the rows change once more when every rate is known.
  if (!byPassRate() || ranked_ || !run_) pending_.reset();
}

bool RankedRows::busy() const {
  return run_ && (known_ < rates_.size() || (shown_ && !details_.contains(*shown_)));
}

void RankedRows::showProgress() {
  const std::size_t n = rates_.size();
  c_.progress->setRange(0, static_cast<int>(std::max<std::size_t>(n, 1)));
  if (run_) {
    c_.progress->setValue(static_cast<int>(known_));
  } else {
    c_.progress->reset();  // empty, without a text
  }
  const QString what = pairs_ ? QStringLiteral("Paare") : QStringLiteral("Sätze");
  if (!run_) {
    c_.said->clear();
  } else if (!byPassRate()) {
    c_.said->setText(QStringLiteral("Nach Abweichung geordnet."));
  } else if (!ranked_) {
    c_.said->setText(QStringLiteral("Nach Abweichung geordnet, bis die Ausbeute der %1 besten %2 "
                                    "berechnet ist.")
                         .arg(fromCore(countText(static_cast<long long>(n))), what));
  } else {
    c_.said->setText(QStringLiteral("Nach Ausbeute geordnet: die %1 besten von %2 %3.")
                         .arg(std::min<std::size_t>(n, kMaxStandardSets))
                         .arg(fromCore(countText(static_cast<long long>(n))),
                              pairs_ ? QStringLiteral("Paaren") : QStringLiteral("Sätzen")));
  }
}

}  // namespace kippwerk::ui
