// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's text work beside naive baselines measured in the same run; prints the ratio of
// each pair after Google Benchmark's own table.

#include <benchmark/benchmark.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/circuit.h"
#include "core/dimensioning.h"
#include "core/monoflop.h"
#include "core/numbers.h"
#include "core/passrate.h"
#include "core/realspread.h"
#include "core/standardsearch.h"
#include "core/timing.h"

namespace {

using namespace kippwerk;

const std::vector<std::string> kTexts = {"100",
                                         "4.7",
                                         " 1 00 ",
                                         "68",
                                         "0.54",
                                         "-.25",
                                         "2.5E-3",
                                         "1D3",
                                         "12abc",
                                         "&HFFFF&",
                                         "1306.5951697789765",
                                         "0,5"};
const std::vector<double> kValues = {
    0.544824, 1 / 0.76, 1306.5951697789765,  4.7e-6, -0.104, 483091.7874, 0.0004, 98674.06, 1.5e-10,
    765348.0, 0.0,      123456789012345678.0};
const Times kTimes{0.544824, 0.220524, 0.765348, 1.3065952};
const Components kParts{98674.06, 67838.42, 4.7e-6};

void parseValueCore(benchmark::State& state) {
  for (auto _ : state)
    for (const auto& t : kTexts) benchmark::DoNotOptimize(parseValue(t));
}

// Naive: drop blanks, then strtod (which stops where the number ends).
void parseValueStrtod(benchmark::State& state) {
  for (auto _ : state) {
    for (const auto& t : kTexts) {
      std::string s;
      for (char c : t)
        if (c != ' ' && c != '\t' && c != '\n') s += c;
      benchmark::DoNotOptimize(std::strtod(s.c_str(), nullptr));
    }
  }
}

void formatValueCore(benchmark::State& state) {
  for (auto _ : state)
    for (double v : kValues) benchmark::DoNotOptimize(formatValue(roundValue(v, 3)));
}

// Naive: round through printf, format through printf's %.15g, then the display fix-ups.
void formatValuePrintf(benchmark::State& state) {
  for (auto _ : state) {
    for (double v : kValues) {
      char rounded[64], buf[64];
      std::snprintf(rounded, sizeof rounded, "%.3f", v);
      std::snprintf(buf, sizeof buf, "%.15G", std::strtod(rounded, nullptr));
      std::string s = buf;
      if (s.rfind("0.", 0) == 0) s.erase(0, 1);
      if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
      benchmark::DoNotOptimize(s[0] == '-' ? s : " " + s);
    }
  }
}

void timesTextCore(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(timesText(kTimes));
}

std::string streamLine(const char* name, double v, int decimals, const char* unit) {
  std::ostringstream os;
  const double scale = decimals == 2 ? 100.0 : 1000.0;
  os << name << " = " << ' ' << std::setprecision(15) << std::nearbyint(v * scale) / scale << ' '
     << unit;
  return os.str();
}

void timesTextStream(benchmark::State& state) {
  for (auto _ : state) {
    std::ostringstream os;
    os << streamLine("t-EIN", kTimes.tein, 3, "s") << "\r\n"
       << streamLine("t-AUS", kTimes.taus, 3, "s") << "\r\n"
       << streamLine("t-Periode", kTimes.tperiode, 3, "s") << "\r\n"
       << streamLine("Frequenz", kTimes.frequenz, 2, "Hz");
    benchmark::DoNotOptimize(os.str());
  }
}

void dimensioningTextCore(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(dimensioningText(computedLines(kParts), false, kTimes));
}

void dimensioningTextStream(benchmark::State& state) {
  for (auto _ : state) {
    std::ostringstream os;
    os << std::setprecision(15) << "R1 =  " << std::nearbyint(kParts.r1) << " Ohm\r\n"
       << "R2 =  " << std::nearbyint(kParts.r2) << " Ohm\r\n"
       << "C1 =  " << std::nearbyint(kParts.c1 * 1e9) / 1e9 << " F\r\nD  = nein\r\n\r\n"
       << streamLine("t-EIN", kTimes.tein, 3, "s") << "\r\n"
       << streamLine("t-AUS", kTimes.taus, 3, "s") << "\r\n"
       << streamLine("t-Periode", kTimes.tperiode, 3, "s") << "\r\n"
       << streamLine("Frequenz", kTimes.frequenz, 3, "Hz");
    benchmark::DoNotOptimize(os.str());
  }
}

// E192 resistors from 1 k to 10 M Ohm and E24 capacitors from 100 pF to 1000 uF: 769 * 769 * 169
// combinations for the exhaustive search. The NE555 at 9 V, as the window starts.
const StandardSearch kSearch = [] {
  StandardSearch q{0.54, 0.22, false, Series::E192, 1e3, 10e6, Series::E24, 100e-12, 1e-3};
  q.chip = kChipFamilies[0].chip(q.ub);
  return q;
}();

void standardSearchCore(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(searchStandardSets(kSearch));
}

void standardSearchExhaustive(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(searchStandardSetsExhaustive(kSearch));
}

// With a 1N4148 at 5 V, E24 resistors and E6 capacitors over the default ranges: t-EIN of each
// pair of resistors takes a root search and an integral.
const StandardSearch kDiodeSearch = [] {
  StandardSearch q{0.54, 0.22, true, Series::E24, 1e3, 10e6, Series::E6, 100e-12, 1e-3};
  q.resistorTolerance = 0.05;
  q.capacitorTolerance = 0.1;
  q.diodeModel = kDiodes[0];
  q.ub = 5;
  q.chip = kChipFamilies[0].chip(q.ub);
  return q;
}();

void diodeSearchCore(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(searchStandardSets(kDiodeSearch));
}

void diodeSearchExhaustive(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(searchStandardSetsExhaustive(kDiodeSearch));
}

// The monoflop window's search at first: 1 s, E24 resistors from 1 k to 10 M Ohm, E6
// capacitors from 100 pF to 1000 uF.
const PulseSearch kPulseSearch = [] {
  PulseSearch q{1.0, Series::E24, 1e3, 10e6, Series::E6, 100e-12, 1e-3, 0.05, 0.1};
  q.chip = kChipFamilies[0].chip(q.ub);
  return q;
}();

void pulseSearchCore(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(searchPulsePairs(kPulseSearch));
}

void pulseSearchExhaustive(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(searchPulsePairsExhaustive(kPulseSearch));
}

// The real spread of the standard-values window's worked case: 150 k, 68 k, 4.7 uF with a 1N4148
// at 9 V, film capacitor, 0 to 70 degrees C, Ub +- 5 %: the worst case over its 32 corners of
// the diode and the chip, and the pass rate of 10 000 boards at four corners each.
const TimerDesign kWorkedDesign = [] {
  TimerDesign d;
  d.r1 = 150e3;
  d.r2 = 68e3;
  d.c1 = 4.7e-6;
  d.circuit = Circuit{true, kDiodes[0], 9};
  d.resistorTolerance = 0.05;
  d.capacitorTolerance = 0.1;
  d.error = kChipFamilies[0].astable;
  d.family = kChipFamilies[0];
  return d;
}();

void realSpreadWithDiode(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(realSpread(kWorkedDesign, Surroundings{}));
}

void passRateWithDiode(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(passRate(kWorkedDesign, Surroundings{}, 0.54, 0.22, 0.1));
  }
}

BENCHMARK(parseValueCore);
BENCHMARK(parseValueStrtod);
BENCHMARK(formatValueCore);
BENCHMARK(formatValuePrintf);
BENCHMARK(timesTextCore);
BENCHMARK(timesTextStream);
BENCHMARK(dimensioningTextCore);
BENCHMARK(dimensioningTextStream);
BENCHMARK(standardSearchCore)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(11)
    ->ReportAggregatesOnly(true);
BENCHMARK(standardSearchExhaustive)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(diodeSearchCore)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(11)
    ->ReportAggregatesOnly(true);
BENCHMARK(diodeSearchExhaustive)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(pulseSearchCore)->Unit(benchmark::kMicrosecond);
BENCHMARK(pulseSearchExhaustive)->Unit(benchmark::kMicrosecond);
BENCHMARK(realSpreadWithDiode)->Unit(benchmark::kMicrosecond);
BENCHMARK(passRateWithDiode)->Unit(benchmark::kMillisecond);

// Keeps the CPU time per iteration of every benchmark (the median where it is repeated) for the
// ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      times_[r.run_name.function_name] =
          r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
    }
  }
  void printRatios() const {
    const std::pair<const char*, const char*> pairs[] = {
        {"parseValueCore", "parseValueStrtod"},
        {"formatValueCore", "formatValuePrintf"},
        {"timesTextCore", "timesTextStream"},
        {"dimensioningTextCore", "dimensioningTextStream"},
        {"standardSearchCore", "standardSearchExhaustive"},
        {"diodeSearchCore", "diodeSearchExhaustive"},
        {"pulseSearchCore", "pulseSearchExhaustive"}};
    std::printf("\n%-22s %-26s %s\n", "core", "baseline", "core / baseline (CPU time)");
    for (const auto& [core, baseline] : pairs) {
      const double ratio = times_.at(core) / times_.at(baseline);
      std::printf("%-22s %-26s %.2g (%.1f x faster)\n", core, baseline, ratio, 1 / ratio);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
