// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/files/designdocument.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <vector>

#include "core/numbers.h"

namespace kippwerk::ui {
namespace {

const QString kUntitled = QStringLiteral("Unbenannt");
const QString kDesignFilter = QStringLiteral("Kippwerk-Entwürfe (*.kippwerk)");
constexpr int kLongestText = 200;

// Where the last file was opened or saved, for the next dialog of any window.
QString& lastFolder() {
  static QString folder;
  return folder;
}

DesignDialogs realDialogs() {
  DesignDialogs d;
  d.chooseFile = [](QWidget* parent, const DesignDialogs::FileChoice& c) {
    QFileDialog dialog(parent, c.caption, c.folder, c.filter);
    dialog.setAcceptMode(c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(c.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(c.suffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  d.askToSave = [](QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kippwerk"), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
      case QMessageBox::Save:
        return DesignDialogs::Answer::Save;
      case QMessageBox::Discard:
        return DesignDialogs::Answer::Discard;
      default:
        return DesignDialogs::Answer::Cancel;
    }
  };
  d.warn = [](QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Kippwerk"), message);
  };
  d.choosePrinter = [](QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  };
  return d;
}

// The controls a design keeps: every box, drop-down, check box and option button with a name a
// screen reader says.
std::vector<QWidget*> designControls(const QWidget* window) {
  std::vector<QWidget*> out;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->accessibleName().isEmpty()) continue;
    if (qobject_cast<QLineEdit*>(w) != nullptr || qobject_cast<QComboBox*>(w) != nullptr ||
        qobject_cast<QCheckBox*>(w) != nullptr || qobject_cast<QRadioButton*>(w) != nullptr) {
      out.push_back(w);
    }
  }
  return out;
}

// A box's text that the window reads as a number, or empty.
bool readable(const QString& text) {
  if (text.trimmed().isEmpty()) return true;
  const std::string typed = text.toStdString();
  const NumberReading read = readNumber(typed);
  return read.value.ok() && read.rest.empty();
}

}  // namespace

DesignDialogs& designDialogs() {
  static DesignDialogs dialogs = realDialogs();
  return dialogs;
}

DesignDocument::DesignDocument(QWidget* window, Window hooks)
    : QObject(window), window_(window), hooks_(std::move(hooks)) {
  struct Operation {
    const char* name;
    const char* caption;
    QKeySequence::StandardKey key;
    bool (DesignDocument::*run)();
  };
  static constexpr Operation kOperations[] = {
      {"Oeffnen", "&Öffnen …", QKeySequence::Open, &DesignDocument::open},
      {"Speichern", "&Speichern", QKeySequence::Save, &DesignDocument::save},
      {"SpeichernUnter", "Speichern &unter …", QKeySequence::SaveAs, &DesignDocument::saveAs},
      {"Datenblatt", "&Datenblatt (PDF) …", QKeySequence::UnknownKey, &DesignDocument::writePdf},
      {"Drucken", "D&rucken …", QKeySequence::Print, &DesignDocument::print},
  };
  for (const Operation& op : kOperations) {
    auto* action = new QAction(QString::fromUtf8(op.caption), window_);
    action->setObjectName(
        QStringLiteral("mnu%1%2").arg(QLatin1Char(hooks_.letter)).arg(QLatin1String(op.name)));
    QList<QKeySequence> keys = QKeySequence::keyBindings(op.key);
    // Some desktops (and none at all) have no key for "save as".
    if (op.key == QKeySequence::SaveAs && keys.isEmpty()) {
      keys << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    }
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, run = op.run] { (this->*run)(); });
    window_->addAction(action);
    actions_[QLatin1String(op.name)] = action;
  }
  for (QWidget* w : designControls(window_)) {
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
      connect(box, &QLineEdit::textEdited, this, &DesignDocument::changed);
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
      connect(list, &QComboBox::activated, this, &DesignDocument::changed);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      connect(button, &QAbstractButton::clicked, this, &DesignDocument::changed);
    }
  }
  showTitle();
}

QPushButton* DesignDocument::button(const QString& caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(QStringLiteral("cmd%1Entwurf").arg(QLatin1Char(hooks_.letter)));
  auto* menu = new QMenu(button);
  menu->setObjectName(QStringLiteral("mnu%1Entwurf").arg(QLatin1Char(hooks_.letter)));
  for (const char* name : {"Oeffnen", "Speichern", "SpeichernUnter"}) {
    menu->addAction(actions_[QLatin1String(name)]);
  }
  menu->addSeparator();
  for (const char* name : {"Datenblatt", "Drucken"}) menu->addAction(actions_[QLatin1String(name)]);
  button->setMenu(menu);
  return button;
}

void DesignDocument::changed() {
  window_->setWindowModified(true);
}

void DesignDocument::markUnchanged() {
  window_->setWindowModified(false);
}

void DesignDocument::showTitle() {
  window_->setWindowTitle(QStringLiteral("%1 – %2[*]").arg(hooks_.title, name()));
}

QString DesignDocument::folder() const {
  if (!path_.isEmpty()) return QFileInfo(path_).absolutePath();
  if (!lastFolder().isEmpty()) return lastFolder();
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

files::Design DesignDocument::design() const {
  files::Design d;
  d.kind = hooks_.kind;
  for (QWidget* w : designControls(window_)) {
    const QString key = w->accessibleName();
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
      d.inputs[key] = box->text();
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
      d.choices[key] = list->currentText();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      d.flags[key] = button->isChecked();
    }
  }
  if (hooks_.selected) d.selected = hooks_.selected();
  if (hooks_.computed) d.computed = hooks_.computed();
  d.program = QStringLiteral("Kippwerk " KIPPWERK_VERSION);
  return d;
}

// Every control's value present, of its kind, and a box's text one the window reads.
files::Written DesignDocument::check(const files::Design& d, const QString& file) const {
  if (d.kind != hooks_.kind) {
    return QStringLiteral("%1 ist ein Entwurf für das Fenster „%2“.")
        .arg(file, files::kindName(d.kind));
  }
  for (QWidget* w : designControls(window_)) {
    const QString key = w->accessibleName();
    const bool box = qobject_cast<QLineEdit*>(w) != nullptr;
    const bool list = qobject_cast<QComboBox*>(w) != nullptr;
    const bool present = d.inputs.contains(key) || d.choices.contains(key) || d.flags.contains(key);
    if (!present) return QStringLiteral("%1 enthält keinen Wert für „%2“.").arg(file, key);
    if (box && !d.inputs.contains(key)) {
      return QStringLiteral("%1 enthält bei „%2“ keinen Text.").arg(file, key);
    }
    if (list && !d.choices.contains(key)) {
      return QStringLiteral("%1 enthält bei „%2“ keine Auswahl.").arg(file, key);
    }
    if (!box && !list && !d.flags.contains(key)) {
      return QStringLiteral("%1 enthält bei „%2“ weder true noch false.").arg(file, key);
    }
    if (box) {
      const QString& text = d.inputs.at(key);
      if (text.size() > kLongestText || !readable(text)) {
        return QStringLiteral("%1 enthält bei „%2“ keinen lesbaren Wert.").arg(file, key);
      }
    }
  }
  return files::Done{};
}

// Check boxes and choices twice, since one may fill another's list, then the boxes.
void DesignDocument::applyValues(const files::Design& d) {
  const std::vector<QWidget*> controls = designControls(window_);
  for (int pass = 0; pass < 2; ++pass) {
    for (QWidget* w : controls) {
      const QString key = w->accessibleName();
      if (auto* list = qobject_cast<QComboBox*>(w)) {
        const int index = list->findText(d.choices.at(key));
        if (index >= 0) list->setCurrentIndex(index);
      } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setChecked(d.flags.at(key));
      } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
        if (d.flags.at(key)) option->setChecked(true);
      }
    }
  }
  for (QWidget* w : controls) {
    if (auto* box = qobject_cast<QLineEdit*>(w)) box->setText(d.inputs.at(w->accessibleName()));
  }
}

files::Written DesignDocument::apply(const files::Design& d, const QString& file) {
  const files::Written fits = check(d, file);
  if (!fits) return fits;
  const files::Design before = design();
  const bool modified = window_->isWindowModified();
  applyValues(d);
  const files::Design after = design();
  for (const auto& [key, text] : after.choices) {
    if (text != d.choices.at(key)) {
      applyValues(before);
      window_->setWindowModified(modified);
      return QStringLiteral("%1 enthält bei „%2“ keinen Eintrag der Liste.").arg(file, key);
    }
  }
  for (const auto& [key, on] : after.flags) {
    if (on != d.flags.at(key)) {
      applyValues(before);
      window_->setWindowModified(modified);
      return QStringLiteral("%1 enthält bei „%2“ einen Wert, der nicht zu den anderen passt.")
          .arg(file, key);
    }
  }
  if (hooks_.select) hooks_.select(d.selected);
  return files::Done{};
}

QString DesignDocument::name() const {
  return path_.isEmpty() ? kUntitled : QFileInfo(path_).fileName();
}

DataSheet DesignDocument::sheet() const {
  QElapsedTimer waited;
  waited.start();
  while (hooks_.busy && hooks_.busy() && waited.elapsed() < 120000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  DataSheet out = hooks_.sheet();
  out.file = name();
  out.date =
      QLocale(QLocale::German).toString(QDate::currentDate(), QStringLiteral("d. MMMM yyyy"));
  out.program = QStringLiteral("Kippwerk " KIPPWERK_VERSION);
  return out;
}

bool DesignDocument::mayClose() {
  if (!window_->isWindowModified()) return true;
  const QString name = this->name();
  switch (designDialogs().askToSave(
      window_, QStringLiteral("Der Entwurf „%1“ im Fenster „%2“ wurde geändert. Sollen die "
                              "Änderungen gespeichert werden?")
                   .arg(name, hooks_.title))) {
    case DesignDialogs::Answer::Save:
      return save();
    case DesignDialogs::Answer::Discard:
      return true;
    case DesignDialogs::Answer::Cancel:
      break;
  }
  return false;
}

bool DesignDocument::open() {
  if (!mayClose()) return false;
  const QString path =
      designDialogs().chooseFile(window_, {QStringLiteral("Entwurf öffnen"), folder(),
                                           kDesignFilter, QLatin1String(files::kSuffix), false});
  return !path.isEmpty() && openFile(path);
}

bool DesignDocument::openFile(const QString& path) {
  const files::Written taken = load(path);
  if (!taken) designDialogs().warn(window_, taken.error());
  return taken.ok();
}

files::Written DesignDocument::load(const QString& path) {
  const Result<files::Design, QString> read = files::readDesignFile(path);
  if (!read) return read.error();
  const files::Written taken = apply(read.value(), files::quotedFileName(path));
  if (!taken) return taken;
  path_ = QFileInfo(path).absoluteFilePath();
  lastFolder() = QFileInfo(path_).absolutePath();
  window_->setWindowModified(false);
  showTitle();
  return taken;
}

bool DesignDocument::save() {
  return path_.isEmpty() ? saveAs() : saveTo(path_);
}

bool DesignDocument::saveAs() {
  const QString path =
      designDialogs().chooseFile(window_, {QStringLiteral("Entwurf speichern unter"), folder(),
                                           kDesignFilter, QLatin1String(files::kSuffix), true});
  return !path.isEmpty() && saveTo(path);
}

bool DesignDocument::saveTo(const QString& path) {
  const files::Design d = design();
  for (const auto& [key, text] : d.inputs) {
    if (text.size() > kLongestText || !readable(text)) {
      designDialogs().warn(window_, QStringLiteral("Bei „%1“ steht kein lesbarer Wert; so ließe "
                                                   "sich der Entwurf nicht wieder öffnen. Bitte "
                                                   "zuerst den Wert berichtigen.")
                                        .arg(key));
      return false;
    }
  }
  const files::Written saved = files::saveDesignFile(path, d);
  if (!saved) {
    designDialogs().warn(window_, saved.error());
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  lastFolder() = QFileInfo(path_).absolutePath();
  window_->setWindowModified(false);
  showTitle();
  return true;
}

bool DesignDocument::writePdf() {
  const QString base = path_.isEmpty() ? kUntitled : QFileInfo(path_).completeBaseName();
  const QString path = designDialogs().chooseFile(
      window_, {QStringLiteral("Datenblatt speichern"), QDir(folder()).filePath(base + ".pdf"),
                QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"), true});
  if (path.isEmpty()) return false;
  const files::Written saved = files::saveBytes(path, dataSheetPdf(sheet()));
  if (!saved) designDialogs().warn(window_, saved.error());
  return saved.ok();
}

bool DesignDocument::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  if (!designDialogs().choosePrinter(window_, printer)) return false;
  paintDataSheet(printer, sheet());
  return true;
}

}  // namespace kippwerk::ui
