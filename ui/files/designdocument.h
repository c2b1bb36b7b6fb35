// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The file side of a window that picks parts: its design (every box, drop-down, check box and
// option button with a name a screen reader says, keyed by that name), Öffnen, Speichern,
// Speichern unter, the data sheet as a PDF and on the printer, the title with the file's name
// and "[*]" for changes the user made, and the question before they are lost. Taking a design
// over is all or nothing: a file the window cannot show leaves it exactly as it was. The
// dialogs and the question go through designDialogs(), which the tests replace.

#include <QObject>
#include <QString>
#include <functional>
#include <map>

#include "core/result.h"
#include "ui/files/datasheet.h"
#include "ui/files/designfile.h"

class QAction;
class QPrinter;
class QPushButton;
class QWidget;

namespace kippwerk::ui {

struct DesignDialogs {
  enum class Answer { Save, Discard, Cancel };
  // A file to open (save false) or to save to (save true), of the kind `filter` names, with
  // `suffix` added where the name has none; empty when the user cancelled.
  struct FileChoice {
    QString caption, folder, filter, suffix;
    bool save = false;
  };
  std::function<QString(QWidget* parent, const FileChoice& choice)> chooseFile;
  std::function<Answer(QWidget* parent, const QString& question)> askToSave;
  std::function<void(QWidget* parent, const QString& message)> warn;
  // Whether to print, after the user chose the printer.
  std::function<bool(QWidget* parent, QPrinter& printer)> choosePrinter;
};
// The real dialogs unless replaced.
DesignDialogs& designDialogs();

class DesignDocument : public QObject {
  Q_OBJECT

 public:
  // What only the window knows.
  struct Window {
    files::DesignKind kind;
    QString title;  // "Normwerte"
    char letter;    // of the window's control names: 'N' gives mnuNSpeichern
    // The highlighted row's parts as the table shows them, and its times for the reader.
    std::function<std::map<QString, QString>()> selected, computed;
    // Highlights the row with these parts once the table shows it.
    std::function<void(const std::map<QString, QString>&)> select;
    std::function<DataSheet()> sheet;
    // Whether the window is still working out what the sheet shows.
    std::function<bool()> busy;
  };

  DesignDocument(QWidget* window, Window hooks);

  // The button that opens the menu of these operations, with its Alt key.
  QPushButton* button(const QString& caption);

  files::Design design() const;
  // Takes the design over, or says why not and changes nothing.
  files::Written apply(const files::Design& design, const QString& file);
  const QString& path() const { return path_; }

  // Operations; each returns whether it was done (false after a cancel or a failure).
  bool open();                         // asks for a file
  bool openFile(const QString& path);  // says why not in a message box
  // Reads the file and takes it over, or says why not and changes nothing; no question, no box.
  files::Written load(const QString& path);
  bool save();
  bool saveAs();
  bool writePdf();
  bool print();
  // Whether the window may close: asks when the user changed something since it was saved.
  bool mayClose();
  // The data sheet, once the window has worked out everything on it.
  DataSheet sheet() const;
  // "Unbenannt" or the file's name.
  QString name() const;
  // The inputs now are the design's starting point (the window filled them itself).
  void markUnchanged();

 private:
  bool saveTo(const QString& path);
  QString folder() const;
  void showTitle();
  void changed();
  files::Written check(const files::Design& design, const QString& file) const;
  void applyValues(const files::Design& design);

  QWidget* window_;
  Window hooks_;
  QString path_;
  std::map<QString, QAction*> actions_;
};

}  // namespace kippwerk::ui
