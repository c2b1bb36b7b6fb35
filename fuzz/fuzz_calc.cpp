// The three calculations on arbitrary inputs: a finite result or its error, never a
// non-finite number, and no result text that says inf or NaN.

#include "core/dimensioning.h"
#include "core/timeentry.h"
#include "core/timing.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kippwerk;

void checkTimes(const Result<Times>& t, const char* what) {
  if (!t.ok()) return;
  const Times& v = t.value();
  fuzz::require(std::isfinite(v.tein) && std::isfinite(v.taus) && std::isfinite(v.tperiode) &&
                    std::isfinite(v.frequenz),
                what);
  fuzz::require(!fuzz::saysInfOrNan(timesText(v)), "timesText", timesText(v));
  for (double q : {v.tein, v.taus, v.tperiode, v.frequenz}) {
    fuzz::require(!fuzz::saysInfOrNan(displayText(q)), "displayText", displayText(q));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const double a = in.take<double>(), b = in.take<double>(), c = in.take<double>();
  const bool flag = in.flag();
  const Times q{in.take<double>(), in.take<double>(), in.take<double>(), in.take<double>()};

  checkTimes(timesFromComponents(a, b, c, flag), "timesFromComponents");
  checkTimes(afterTeinTyped(q, a, flag), "afterTeinTyped");
  checkTimes(afterTausTyped(q, a), "afterTausTyped");
  checkTimes(afterFrequencyTyped(q, a), "afterFrequencyTyped");
  checkTimes(afterModeSwitched(q, flag), "afterModeSwitched");

  const KnownComponent known = in.flag() ? KnownComponent::C1 : KnownComponent::R2;
  const Result<Components> parts = dimensionComponents(known, flag, a, b, c);
  if (parts.ok()) {
    const Components& p = parts.value();
    fuzz::require(std::isfinite(p.r1) && std::isfinite(p.r2) && std::isfinite(p.c1),
                  "dimensionComponents");
    fuzz::require((known == KnownComponent::C1 ? p.c1 : p.r2) == c, "known component changed");
    if (std::isfinite(q.tein) && std::isfinite(q.taus) && std::isfinite(q.tperiode) &&
        std::isfinite(q.frequenz)) {
      const std::string text = dimensioningText(computedLines(p), flag, q);
      fuzz::require(!fuzz::saysInfOrNan(text), "dimensioningText", text);
    }
  } else {
    fuzz::require(parts.error() == Error::OutOfRange || c == 0.0, "dimensionComponents error");
  }
  if (std::isfinite(c)) {
    fuzz::require(
        !fuzz::saysInfOrNan(placeholderLines(known, c).r2 + placeholderLines(known, c).c1),
        "placeholderLines");
  }
  return 0;
}
