// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/files/designfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <array>
#include <cmath>
#include <utility>

namespace kippwerk::files {
namespace {

// The sections of the file, in German like everything the user may read in it.
const QString kFormat = QStringLiteral("format");
const QString kVersion = QStringLiteral("version");
const QString kKind = QStringLiteral("fenster");
const QString kInputs = QStringLiteral("eingaben");
const QString kChoices = QStringLiteral("auswahl");
const QString kFlags = QStringLiteral("schalter");
const QString kSelected = QStringLiteral("zeile");
const QString kComputed = QStringLiteral("ergebnis");
const QString kProgram = QStringLiteral("programm");

constexpr std::array kKinds{DesignKind::Normwerte, DesignKind::Monoflop, DesignKind::Nachmessen};

QString parseProblem(QJsonParseError::ParseError e) {
  switch (e) {
    case QJsonParseError::UnterminatedObject:
      return QStringLiteral("ein Objekt ist nicht geschlossen");
    case QJsonParseError::MissingNameSeparator:
      return QStringLiteral("nach einem Namen fehlt der Doppelpunkt");
    case QJsonParseError::UnterminatedArray:
      return QStringLiteral("eine Liste ist nicht geschlossen");
    case QJsonParseError::MissingValueSeparator:
      return QStringLiteral("zwischen zwei Werten fehlt das Komma");
    case QJsonParseError::IllegalValue:
      return QStringLiteral("ein Wert ist unlesbar");
    case QJsonParseError::TerminationByNumber:
      return QStringLiteral("der Text endet mitten in einer Zahl");
    case QJsonParseError::IllegalNumber:
      return QStringLiteral("eine Zahl ist unlesbar");
    case QJsonParseError::IllegalEscapeSequence:
      return QStringLiteral("ein Zeichen nach \\ ist unlesbar");
    case QJsonParseError::IllegalUTF8String:
      return QStringLiteral("der Text ist kein gültiges UTF-8");
    case QJsonParseError::UnterminatedString:
      return QStringLiteral("ein Text ist nicht geschlossen");
    case QJsonParseError::MissingObject:
      return QStringLiteral("es fehlt ein Objekt");
    case QJsonParseError::DeepNesting:
      return QStringLiteral("er ist zu tief verschachtelt");
    case QJsonParseError::DocumentTooLarge:
      return QStringLiteral("er ist zu groß");
    case QJsonParseError::GarbageAtEnd:
      return QStringLiteral("nach seinem Ende folgt noch Text");
    case QJsonParseError::NoError:
      break;
  }
  return QStringLiteral("er ist unlesbar");
}

QString writeProblem(QFileDevice::FileError e) {
  switch (e) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
      return QStringLiteral("der Ordner fehlt oder darf nicht beschrieben werden");
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
      return QStringLiteral(
          "beim Schreiben ging etwas schief, vielleicht ist der Datenträger voll");
    default:
      return QStringLiteral("das Betriebssystem hat es abgelehnt");
  }
}

// A text the file may hold: no NUL, no half of a surrogate pair, no byte order mark (the
// reader drops one that opens a text, so it would not come back as written).
bool decentText(const QString& s) {
  return !s.contains(QChar(u'\0')) && !s.contains(QChar(0xFEFF)) && QStringView(s).isValidUtf16();
}

// A section of texts (or of truth values); a missing optional one is empty.
template <class T>
Result<std::map<QString, T>, QString> section(const QJsonObject& root, const QString& name,
                                              bool required, const QString& file) {
  std::map<QString, T> out;
  const QJsonValue v = root.value(name);
  if (v.isUndefined() && !required) return out;
  if (!v.isObject()) {
    return QStringLiteral("%1 enthält keinen Abschnitt „%2“.").arg(file, name);
  }
  const QJsonObject o = v.toObject();
  for (auto at = o.begin(); at != o.end(); ++at) {
    const QString key = at.key();
    if (!decentText(key)) {
      return QStringLiteral("%1 enthält im Abschnitt „%2“ einen Namen mit unzulässigen Zeichen.")
          .arg(file, name);
    }
    if constexpr (std::is_same_v<T, bool>) {
      if (!at->isBool()) {
        return QStringLiteral("%1 enthält bei „%2“ weder true noch false.").arg(file, key);
      }
      out[key] = at->toBool();
    } else {
      if (!at->isString()) return QStringLiteral("%1 enthält bei „%2“ keinen Text.").arg(file, key);
      const QString text = at->toString();
      if (!decentText(text)) {
        return QStringLiteral("%1 enthält bei „%2“ unzulässige Zeichen.").arg(file, key);
      }
      out[key] = text;
    }
  }
  return out;
}

template <class T>
QJsonObject objectOf(const std::map<QString, T>& values) {
  QJsonObject o;
  for (const auto& [key, value] : values) o.insert(key, value);
  return o;
}

}  // namespace

QString kindName(DesignKind kind) {
  switch (kind) {
    case DesignKind::Normwerte:
      return QStringLiteral("Normwerte");
    case DesignKind::Monoflop:
      return QStringLiteral("Monoflop");
    case DesignKind::Nachmessen:
      return QStringLiteral("Nachmessen");
  }
  return {};
}

QString quotedFileName(const QString& path) {
  return QStringLiteral("„%1“").arg(QFileInfo(path).fileName());
}

QByteArray writeDesign(const Design& d) {
  QJsonObject root;
  root.insert(kFormat, QLatin1String(kFormatName));
  root.insert(kVersion, kFormatVersion);
  root.insert(kKind, kindName(d.kind));
  root.insert(kInputs, objectOf(d.inputs));
  root.insert(kChoices, objectOf(d.choices));
  root.insert(kFlags, objectOf(d.flags));
  if (!d.selected.empty()) root.insert(kSelected, objectOf(d.selected));
  if (!d.computed.empty()) root.insert(kComputed, objectOf(d.computed));
  if (!d.program.isEmpty()) root.insert(kProgram, d.program);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Result<Design, QString> readDesign(const QByteArray& bytes, const QString& file) {
  if (bytes.size() > kMaxDesignBytes) {
    return QStringLiteral("%1 ist größer als 1 MiB und damit kein Kippwerk-Entwurf.").arg(file);
  }
  QByteArray text = bytes;
  if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(text, &error);
  if (error.error != QJsonParseError::NoError) {
    return QStringLiteral("%1 ist kein lesbarer Kippwerk-Entwurf: An Stelle %2 %3.")
        .arg(file)
        .arg(error.offset)
        .arg(parseProblem(error.error));
  }
  const QJsonObject root = document.object();
  if (!document.isObject() || root.value(kFormat).toString() != QLatin1String(kFormatName)) {
    return QStringLiteral("%1 ist kein Kippwerk-Entwurf.").arg(file);
  }
  const QJsonValue version = root.value(kVersion);
  const double number = version.toDouble(-1.0);
  if (!version.isDouble() || !(number >= 1.0) || number != std::floor(number)) {
    return QStringLiteral("%1 enthält keine gültige Formatnummer.").arg(file);
  }
  if (number > kFormatVersion) {
    return QStringLiteral(
               "%1 stammt aus einer neueren Kippwerk-Version (Format %2); diese liest Format %3.")
        .arg(file, QString::number(number, 'g', 15), QString::number(kFormatVersion));
  }
  Design d;
  const QString kind = root.value(kKind).toString();
  bool known = false;
  for (DesignKind k : kKinds) {
    if (kindName(k) == kind) {
      d.kind = k;
      known = true;
    }
  }
  if (!known) return QStringLiteral("%1 nennt kein bekanntes Fenster.").arg(file);
  auto inputs = section<QString>(root, kInputs, true, file);
  if (!inputs) return inputs.error();
  auto choices = section<QString>(root, kChoices, true, file);
  if (!choices) return choices.error();
  auto flags = section<bool>(root, kFlags, true, file);
  if (!flags) return flags.error();
  auto selected = section<QString>(root, kSelected, false, file);
  if (!selected) return selected.error();
  auto computed = section<QString>(root, kComputed, false, file);
  if (!computed) return computed.error();
  d.inputs = inputs.value();
  d.choices = choices.value();
  d.flags = flags.value();
  d.selected = selected.value();
  d.computed = computed.value();
  d.program = root.value(kProgram).toString();
  return d;
}

Result<Design, QString> readDesignFile(const QString& path) {
  const QString file = quotedFileName(path);
  const QFileInfo info(path);
  if (!info.exists()) return QStringLiteral("%1 gibt es nicht.").arg(file);
  // A named pipe or a device would block or never end.
  if (!info.isFile()) return QStringLiteral("%1 ist keine gewöhnliche Datei.").arg(file);
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    return QStringLiteral("%1 lässt sich nicht lesen.").arg(file);
  }
  return readDesign(f.read(kMaxDesignBytes + 1), file);
}

Written saveBytes(const QString& path, const QByteArray& bytes,
                  const std::function<bool(QIODevice&, const QByteArray&)>& write) {
  const QString file = quotedFileName(path);
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    return QStringLiteral("%1 ist keine gewöhnliche Datei; dort wird nichts gespeichert.")
        .arg(file);
  }
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) {
    return QStringLiteral("%1 lässt sich nicht speichern: %2.")
        .arg(file, writeProblem(out.error()));
  }
  const bool written = write ? write(out, bytes) : out.write(bytes) == bytes.size();
  if (!written) {
    out.cancelWriting();
    return QStringLiteral("%1 lässt sich nicht speichern: %2.")
        .arg(file, writeProblem(QFileDevice::WriteError));
  }
  if (!out.commit()) {
    return QStringLiteral("%1 lässt sich nicht speichern: %2.")
        .arg(file, writeProblem(out.error()));
  }
  return Done{};
}

Written saveDesignFile(const QString& path, const Design& design) {
  return saveBytes(path, writeDesign(design));
}

}  // namespace kippwerk::files
