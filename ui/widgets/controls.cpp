// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widgets/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <vector>

#include "ui/widgets/reading.h"
#include "ui/widgets/widgets.h"

namespace kippwerk::ui {
namespace {

// clang-format off
constexpr ControlRow kRows[] = {
  {"Picture1",    Kind::Picture, "", "", 1433, 120, 4575, 3615, 2, false, "Schaltbild der astabilen Kippstufe"},
  {"lblBauteile", Kind::Label,   "", "C2=10nF", 6120, 3480, 735, 255, 5},
  {"Frame(0)", Kind::Page, "", "",       120, 3840, 7215, 2055, 31, true},
  {"Frame(1)", Kind::Page, "", "",       120, 3840, 7215, 2055, 0},
  {"Frame(2)", Kind::Page, "", "Frame2", 120, 3840, 7215, 2055, 6},
  {"Frame(3)", Kind::Page, "", "",       120, 3840, 7215, 2055, 7},
  {"Frame(4)", Kind::Page, "", "",       120, 3840, 7215, 2055, 35},

  // start page
  {"cmdZeit",     Kind::Button, "Frame(0)", "Zeiten anhand bekannter Bauteile berechnen",   120, 240, 3375, 1695, 32},
  {"cmdBauteile", Kind::Button, "Frame(0)", "Bauteile anhand gewünschter Zeiten berechnen", 3600, 240, 3495, 1695, 33},

  // known-component page
  {"lblText",     Kind::Label,  "Frame(1)", "Welche Größe ist bekannt?", 120, 240, 6975, 375, 1},
  {"optC1",       Kind::Option, "Frame(1)", "C1", 360, 600, 615, 375, 4, true},
  {"optR2",       Kind::Option, "Frame(1)", "R2", 1080, 600, 615, 375, 3},
  {"Frame1(0)",   Kind::Group,  "Frame(1)", "", 4320, 240, 2655, 855, 14, true},
  {"lblC1",       Kind::NameLabel,     "Frame1(0)", "C1 = ", 120, 360, 375, 255, 16},
  {"txtC1",       Kind::TextBox,       "Frame1(0)", "4.7", 600, 360, 1215, 285, 17, false, "C1"},
  {"cmbC1",       Kind::CapacitorList, "Frame1(0)", "", 1920, 360, 615, 315, 55, false, "Einheit von C1"},
  {"Frame1(1)",   Kind::Group,  "Frame(1)", "", 4320, 240, 2655, 855, 15},
  {"lblR2",       Kind::NameLabel,    "Frame1(1)", "R2 = ", 120, 360, 375, 255, 18},
  {"txtR2",       Kind::TextBox,      "Frame1(1)", "68", 600, 360, 735, 285, 19, false, "R2"},
  {"cmbR2",       Kind::ResistorList, "Frame1(1)", "", 1440, 360, 1095, 315, 56, false, "Einheit von R2"},
  {"cmdZurueck1", Kind::Button, "Frame(1)", "Zurück", 240, 1440, 1095, 495, 34},
  {"cmdWeiter1",  Kind::Button, "Frame(1)", "Weiter", 5760, 1440, 1215, 495, 20},

  // time-entry page
  {"Label1",      Kind::Label,     "Frame(2)", "Wie lange sollen t-EIN und t-AUS werden?", 360, 240, 3135, 255, 24},
  {"Label10",     Kind::Label,     "Frame(2)", "Es werden gerundet Ergebnisse angezeigt, aber es wird mit den genauen Werten gerechnet!", 3600, 240, 3495, 495, 51},
  {"chkDiode",    Kind::CheckBox,  "Frame(2)", "t-EIN = t-AUS ?", 360, 480, 2295, 255, 27},
  {"lblTein",     Kind::NameLabel, "Frame(2)", "t-EIN = ", 600, 960, 615, 255, 8},
  {"txtTein",     Kind::TextBox,   "Frame(2)", ".54", 1320, 960, 1575, 285, 10, false, "t-EIN"},
  {"lblS2",       Kind::Label,     "Frame(2)", "s", 3000, 960, 135, 255, 13},
  {"lblTaus",     Kind::NameLabel, "Frame(2)", "t-AUS = ", 3840, 960, 615, 255, 9},
  {"txtTaus",     Kind::TextBox,   "Frame(2)", ".22", 4560, 960, 1575, 285, 11, false, "t-AUS"},
  {"lblS1",       Kind::Label,     "Frame(2)", "s", 6240, 960, 135, 255, 12},
  {"lblTperiode", Kind::NameLabel, "Frame(2)", "t-Periode = ", 1440, 1320, 855, 255, 25},
  {"txtTperiode", Kind::LockedBox, "Frame(2)", ".76", 2400, 1320, 1575, 285, 26, false, "t-Periode"},
  {"lblS3",       Kind::Label,     "Frame(2)", "s", 4080, 1320, 135, 255, 28},
  {"Label9",      Kind::NameLabel, "Frame(2)", "Frequenz = ", 1440, 1680, 855, 255, 48},
  {"txtFrequenz", Kind::LockedBox, "Frame(2)", "1.316", 2400, 1680, 1575, 285, 49, false, "Frequenz"},
  {"lblHz",       Kind::Label,     "Frame(2)", "Hz", 4080, 1680, 255, 255, 50},
  {"cmdZurueck2", Kind::Button,    "Frame(2)", "Zurück", 240, 1440, 1095, 495, 22},
  {"cmdWeiter2",  Kind::Button,    "Frame(2)", "Weiter", 5760, 1440, 1215, 495, 21},

  // result page
  {"lblErgebnis", Kind::Result, "Frame(3)", "", 1440, 120, 4335, 1815, 30, false, "Berechnete Bauteile"},
  {"cmdZurueck3", Kind::Button, "Frame(3)", "Zurück", 240, 1440, 1095, 495, 23},
  {"cmdFertig",   Kind::Button, "Frame(3)", "Berechne Bauteile", 5880, 1440, 1095, 495, 29},

  // timing page
  {"Label2",      Kind::NameLabel,     "Frame(4)", "R1 = ", 240, 360, 495, 255, 38},
  {"txtGegR1",    Kind::TextBox,       "Frame(4)", "100", 720, 360, 735, 285, 42, false, "R1"},
  {"cmbGegR1",    Kind::ResistorList,  "Frame(4)", "", 1680, 360, 1095, 315, 52, false, "Einheit von R1"},
  {"Label3",      Kind::NameLabel,     "Frame(4)", "R2 = ", 240, 840, 495, 255, 39},
  {"txtGegR2",    Kind::TextBox,       "Frame(4)", "68", 720, 840, 735, 285, 43, false, "R2"},
  {"cmbGegR2",    Kind::ResistorList,  "Frame(4)", "", 1680, 840, 1095, 315, 53, false, "Einheit von R2"},
  {"Label4",      Kind::NameLabel,     "Frame(4)", "C1 = ", 2760, 360, 495, 255, 40},
  {"txtGegC1",    Kind::TextBox,       "Frame(4)", "4.7", 3240, 360, 735, 285, 44, false, "C1"},
  {"cmbGegC1",    Kind::CapacitorList, "Frame(4)", "", 4080, 360, 615, 315, 54, false, "Einheit von C1"},
  {"Label5",      Kind::NameLabel,     "Frame(4)", "D = ", 2760, 840, 495, 255, 41},
  {"chkD",        Kind::CheckBox,      "Frame(4)", "", 3240, 840, 255, 255, 45, false, "D"},
  {"lblZeiten",   Kind::Result,        "Frame(4)", "", 4800, 360, 2175, 855, 47, false, "Berechnete Zeiten"},
  {"cmdZurueck4", Kind::Button,        "Frame(4)", "Zurück", 240, 1440, 1095, 495, 37},
  {"cmdBerechne", Kind::Button,        "Frame(4)", "Berechne Zeiten", 5880, 1440, 1095, 495, 36},
};
// clang-format on

QLabel* makeLabel(Qt::Alignment horizontal) {
  auto* label = new QLabel;
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAutoFillBackground(true);
  label->setAlignment(horizontal | Qt::AlignTop);
  return label;
}

QWidget* makeControl(const ControlRow& row) {
  const QString caption = QString::fromUtf8(row.caption);
  switch (row.kind) {
    case Kind::Picture:
      return new PictureBox;
    case Kind::Page:
    case Kind::Group:
      return new PageFrame(caption);
    case Kind::Label:
    case Kind::NameLabel:
    case Kind::Result: {
      QLabel* label = makeLabel(row.kind == Kind::NameLabel ? Qt::AlignRight : Qt::AlignLeft);
      label->setText(caption);
      // Mouse selection gives the label click focus only, so Tab still passes it by.
      if (row.kind == Kind::Result) label->setTextInteractionFlags(Qt::TextSelectableByMouse);
      return label;
    }
    case Kind::TextBox:
    case Kind::LockedBox: {
      auto* box = new QLineEdit(caption);
      box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      box->setReadOnly(row.kind == Kind::LockedBox);
      return box;
    }
    case Kind::Button:
      return new WrapButton(caption);
    case Kind::ResistorList:
      return makeUnitList(resistorUnits);
    case Kind::CapacitorList:
      return makeUnitList(capacitorUnits);
    case Kind::CheckBox:
      return new QCheckBox(caption);
    case Kind::Option: {
      // Tab reaches only the selected button of the pair; the arrow keys move between them.
      auto* option = new QRadioButton(caption);
      auto takeTabOnlyWhenSelected = [option](bool on) {
        option->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
      };
      QObject::connect(option, &QRadioButton::toggled, option, takeTabOnlyWhenSelected);
      option->setChecked(row.initially);
      takeTabOnlyWhenSelected(row.initially);
      return option;
    }
  }
  return nullptr;
}

}  // namespace

std::span<const ControlRow> controlRows() {
  return kRows;
}

void buildControls(QWidget* client) {
  QHash<QString, QWidget*> containers{{QString(), client}};
  std::vector<std::pair<int, QWidget*>> focusable;
  for (const ControlRow& row : kRows) {
    QWidget* w = makeControl(row);
    w->setObjectName(QString::fromUtf8(row.name));
    w->setParent(containers.value(QString::fromUtf8(row.parent)));
    w->setGeometry(twipsToPixels(row.left), twipsToPixels(row.top), twipsToPixels(row.width),
                   twipsToPixels(row.height));
    if (row.accessibleName != nullptr) w->setAccessibleName(QString::fromUtf8(row.accessibleName));
    const bool container = row.kind == Kind::Page || row.kind == Kind::Group;
    if (container) containers.insert(w->objectName(), w);
    w->setVisible(!container || row.initially);
    if ((w->focusPolicy() & Qt::TabFocus) || row.kind == Kind::Option) {
      focusable.emplace_back(row.tabIndex, w);
    }
  }
  std::sort(focusable.begin(), focusable.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < focusable.size(); ++i) {
    QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
  }
}

}  // namespace kippwerk::ui
