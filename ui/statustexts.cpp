// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/statustexts.h"

#include "core/normtext.h"
#include "core/numbers.h"
#include "ui/reading.h"

namespace kippwerk::ui {

QString emptyRangeText(const char* part, double min, double max, Series series) {
  const QString p = QString::fromUtf8(part);
  if (min > max) return QStringLiteral("%1 min ist größer als %1 max.").arg(p);
  return QStringLiteral("Zwischen %1 min und %1 max liegt kein Wert der Reihe %2.")
      .arg(p, fromCore(seriesName(series)));
}

QString outOfRangeText(const QString& where) {
  return QStringLiteral("Der Wert %1 liegt außerhalb des darstellbaren Zahlenbereichs.").arg(where);
}

QString unreadText(const QString& name, const QString& typed, const QString& rest) {
  const QString trimmed = typed.trimmed();
  if (rest.startsWith(QLatin1Char(','))) {
    QString pointed = trimmed;
    pointed.replace(QLatin1Char(','), QLatin1Char('.'));
    if (readNumber(pointed.toStdString()).rest.empty()) {
      return QStringLiteral("Bitte bei „%1“ den Dezimalpunkt verwenden: %2 statt %3.")
          .arg(name, pointed, trimmed);
    }
  }
  return QStringLiteral(
             "Bei „%1“ wurde „%2“ nicht verstanden; bitte nur eine Zahl eingeben, etwa 1.5 oder "
             "4.7e-6.")
      .arg(name, rest);
}

QString shortfallText(const Shortfall& s, bool pulse, FixedPart fixed) {
  using Kind = Shortfall::Kind;
  auto bounds = [&s](const char* end) {
    const QString r = QStringLiteral("R %1").arg(QLatin1String(end));
    const QString c = QStringLiteral("C %1").arg(QLatin1String(end));
    if (s.resistor && s.capacitor) return QStringLiteral("%1 oder %2").arg(r, c);
    return s.resistor ? r : c;
  };
  const QString time = pulse    ? QStringLiteral("t")
                       : s.tein ? QStringLiteral("t-EIN")
                                : QStringLiteral("t-AUS");
  const QString reach = fromCore(timeText(s.reach));
  switch (s.kind) {
    case Kind::None:
      return {};
    case Kind::BeyondLargest:
      return QStringLiteral("Die Bereiche reichen nur bis %1 = %2; %3 erhöhen.")
          .arg(time, reach, bounds("max"));
    case Kind::BelowSmallest:
      return QStringLiteral("Die Bereiche reichen erst ab %1 = %2; %3 verringern.")
          .arg(time, reach, bounds("min"));
    case Kind::Ratio:
      return QStringLiteral(
          "Das Verhältnis von t-EIN zu t-AUS liegt außerhalb dessen, was Widerstände von R min "
          "bis R max ergeben; R min verringern oder R max erhöhen.");
    case Kind::NumberRange:
      return QStringLiteral(
          "Die gewünschten Zeiten liegen zu nahe an den Grenzen des darstellbaren "
          "Zahlenbereichs; bitte andere Zeiten eingeben.");
    case Kind::Series:
      if (pulse) {
        return QStringLiteral(
            "Kein Paar kommt auf 10 % an die gewünschte Zeit heran: die Reihen sind dafür zu "
            "grob; bitte eine feinere Reihe wählen.");
      }
      return QStringLiteral(
                 "Keine Kombination kommt auf 10 % an die gewünschten Zeiten heran: die Reihen "
                 "sind dafür zu grob; bitte eine feinere Reihe wählen%1.")
          .arg(fixed == FixedPart::None ? QString() : QStringLiteral(" oder nichts festlegen"));
  }
  return {};
}

}  // namespace kippwerk::ui
