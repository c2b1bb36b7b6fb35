// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The timing model against a circuit simulator: ngspice simulates the astable circuit with a
// behavioural chip of this program's own (two ideal comparators whose latch switches pin 7 a
// delay later, the switch as a voltage behind a resistance, the comparator inputs' and pin 7's
// currents) and the program's diode parameters; its output's high and low times, measured in
// the steady state, must be what the model says.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/circuit.h"
#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

struct SpiceRow {
  const char* name;
  int family, diode;  // diode -1: none
  double ub, r1, r2, c1;
  double delay = 0.0;  // the comparators' delay where not the family's: the simulator steps
                       // below it, so slow circuits get a longer one
};

Circuit circuitOf(const SpiceRow& r) {
  Circuit c{r.diode >= 0, r.diode >= 0 ? kDiodes[static_cast<std::size_t>(r.diode)] : kIdealDiode,
            r.ub, kModelKelvin, kChipFamilies[static_cast<std::size_t>(r.family)].chip(r.ub)};
  if (r.delay > 0.0) c.chip.thresholdDelay = c.chip.triggerDelay = r.delay;
  return c;
}

// The netlist: s is 1 while the latch wants the switch closed, sd the same a delay later (a
// matched line), which closes the switch; the output is high while sd is 0.
std::string netlist(const SpiceRow& r, double period) {
  const Circuit c = circuitOf(r);
  const ChipModel& k = c.chip;
  std::ostringstream n;
  n.precision(17);
  n << "* astable timer with a behavioural chip\n"
    << ".param ub=" << r.ub << " td=" << k.thresholdDelay << " voff=" << k.switchVolts
    << " rs=" << k.switchOhms << " ithr=" << k.thresholdCurrent << " itrig=" << k.triggerCurrent
    << " ileak=" << k.leakage << "\n"
    << "V1 vcc 0 {ub}\n"
    << "R1 vcc dis " << r.r1 << "\n"
    << "R2 dis c " << r.r2 << "\n"
    << "C1 c 0 " << r.c1 << " ic={ub/3}\n";
  if (c.diode) {
    n << "D1 dis c dmod\n.model dmod D(IS=" << c.model.is << " N=" << c.model.n << ")\n";
  }
  n << "Bs s 0 V = v(c) > 2*ub/3 ? 1 : (v(c) < ub/3 ? 0 : (v(sd) > 0.5 ? 1 : 0))\n"
    << "T1 s 0 sd 0 Z0=50 TD={td}\n"
    << "Rt sd 0 50\n"
    << "Bsw dis 0 I = v(sd) > 0.5 ? max(v(dis) - voff, 0) / rs : ileak\n"
    << "Bthr c 0 I = v(c) >= 2*ub/3 - 0.1 ? ithr : 0\n"
    << "Btrig 0 c I = v(c) <= ub/3 + 0.1 ? itrig : 0\n"
    << ".tran " << period / 4000 << " " << 5 * period << " 0 "
    << std::min(period / 20000, k.thresholdDelay / 2) << " uic\n"
    << ".meas tran ton TRIG v(sd) VAL=0.5 FALL=3 TARG v(sd) VAL=0.5 RISE=4\n"
    << ".meas tran toff TRIG v(sd) VAL=0.5 RISE=4 TARG v(sd) VAL=0.5 FALL=4\n"
    << ".end\n";
  return n.str();
}

// ngspice's measured value of `name`, or NaN.
double measured(const std::string& output, const char* name) {
  const std::string start = std::string("\n") + name;
  for (std::size_t at = output.find(start); at != std::string::npos;
       at = output.find(start, at + 1)) {
    std::size_t i = at + start.size();
    while (i < output.size() && (output[i] == ' ' || output[i] == '\t')) ++i;
    if (i >= output.size() || output[i] != '=') continue;
    char* end = nullptr;
    const double v = std::strtod(output.c_str() + i + 1, &end);
    if (end != output.c_str() + i + 1) return v;
  }
  return std::nan("");
}

class SpiceDifferential : public ::testing::TestWithParam<SpiceRow> {};

TEST_P(SpiceDifferential, SimulatesWhatTheModelSays) {
  const SpiceRow& r = GetParam();
  const AstableTimes model = astableTimes(circuitOf(r), r.r1, r.r2, r.c1);
  const auto file =
      std::filesystem::temp_directory_path() / (std::string("kippwerk-spice-") + r.name + ".cir");
  std::ofstream(file) << netlist(r, model.tein + model.taus);
  const std::string command = "ngspice -b '" + file.string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output = "\n";
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  ASSERT_EQ(pclose(pipe), 0) << output;
  std::filesystem::remove(file);
  const double ton = measured(output, "ton"), toff = measured(output, "toff");
  // The simulator steps at 1/20000 of a period and measures where it crosses.
  EXPECT_NEAR(ton / model.tein, 1.0, 2e-4) << output;
  EXPECT_NEAR(toff / model.taus, 1.0, 2e-4) << output;
}

// Small resistors, where the switch counts; megohms, where the pin currents do; a fast CMOS
// timer, where the delays do; and the three real diodes.
INSTANTIATE_TEST_SUITE_P(Circuits, SpiceDifferential,
                         ::testing::Values(SpiceRow{"SmallResistors", 0, -1, 9, 1e3, 1e3, 10e-9},
                                           SpiceRow{"Megohms", 0, -1, 5, 1e6, 1e6, 1e-6, 0.2e-3},
                                           SpiceRow{"FastTlc555", 2, -1, 5, 470, 200, 200e-12},
                                           SpiceRow{"Cmos7555", 1, -1, 9, 1e3, 2.2e3, 1e-9},
                                           SpiceRow{"Silicon", 0, 0, 9, 150e3, 68e3, 4.7e-6,
                                                    0.1e-3},
                                           SpiceRow{"Rectifier", 0, 1, 5, 2.2e3, 1e3, 1e-9},
                                           SpiceRow{"Schottky", 0, 2, 12, 10e3, 4.7e3, 10e-9}),
                         testing::RowName());

}  // namespace
}  // namespace kippwerk
