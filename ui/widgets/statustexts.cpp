// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widgets/statustexts.h"

#include "core/normtext.h"
#include "core/numbers.h"
#include "ui/widgets/reading.h"

namespace kippwerk::ui {

QString fixedPartName(FixedPart part) {
  return part == FixedPart::C1 ? QStringLiteral("C1") : QStringLiteral("R2");
}

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
          .arg(name, fromCore(shortenedText(pointed.toStdString())),
               fromCore(shortenedText(trimmed.toStdString())));
    }
  }
  return QStringLiteral(
             "Bei „%1“ wurde „%2“ nicht verstanden; bitte nur eine Zahl eingeben, etwa 1.5 oder "
             "4.7e-6.")
      .arg(name, fromCore(shortenedText(rest.toStdString())));
}

// Why there are no sets, as one German sentence.
QString searchStatusText(SearchError error, const StandardSearch& q) {
  switch (error) {
    case SearchError::OutOfRange:
      return QStringLiteral("Ein Wert liegt außerhalb des darstellbaren Zahlenbereichs.");
    case SearchError::TimesNotPositive:
      return QStringLiteral("t-EIN und t-AUS müssen größer als 0 sein.");
    case SearchError::TeinNotGreater:
      return QStringLiteral("Ohne Diode muss t-EIN größer als t-AUS sein.");
    case SearchError::FixedNotPositive:
      return QStringLiteral("Der feste Wert von %1 muss größer als 0 sein.")
          .arg(fixedPartName(q.fixed));
    case SearchError::ResistorRangeEmpty:
      return emptyRangeText("R", q.rMin, q.rMax, q.resistorSeries);
    case SearchError::CapacitorRangeEmpty:
      return emptyRangeText("C", q.cMin, q.cMax, q.capacitorSeries);
    case SearchError::Unreachable:
      return QStringLiteral(
          "Mit diesen Bereichen kommt keine Kombination auch nur annähernd an die gewünschten "
          "Zeiten heran; bitte die Bereiche anpassen.");
    case SearchError::BeyondEveryRange:
      return QStringLiteral(
                 "An diese Zeiten kommt keine Kombination von Normwerten auch nur annähernd "
                 "heran, mit welchen Bereichen auch immer; bitte andere Zeiten%1 eingeben.")
          .arg(q.fixed == FixedPart::None ? QString()
                                          : QStringLiteral(" oder einen anderen festen Wert"));
  }
  return {};
}

// Why there are no pairs, as one German sentence.
QString pulseStatusText(PulseError error, const PulseSearch& q) {
  switch (error) {
    case PulseError::OutOfRange:
      return QStringLiteral("Ein Wert liegt außerhalb des darstellbaren Zahlenbereichs.");
    case PulseError::TimeNotPositive:
      return QStringLiteral("Bitte bei „t“ einen Wert größer als 0 eingeben.");
    case PulseError::ResistorRangeEmpty:
      return emptyRangeText("R", q.rMin, q.rMax, q.resistorSeries);
    case PulseError::CapacitorRangeEmpty:
      return emptyRangeText("C", q.cMin, q.cMax, q.capacitorSeries);
    case PulseError::Unreachable:
      return QStringLiteral(
          "Mit diesen Bereichen kommt kein Paar auch nur annähernd an die gewünschte Zeit heran; "
          "bitte die Bereiche anpassen.");
    case PulseError::BeyondEveryRange:
      return QStringLiteral(
          "An diese Zeit kommt kein Paar von Normwerten auch nur annähernd heran, mit welchen "
          "Bereichen auch immer; bitte eine andere Zeit eingeben.");
  }
  return {};
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
