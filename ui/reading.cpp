#include "ui/reading.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace kippwerk::ui {

Result<double> readScaled(const QLineEdit* box, const QComboBox* units,
                          std::span<const Unit> table) {
  const Result<double> read = parseValue(box->text().toStdString());
  if (!read) return read;
  return applyUnit(read.value(), table, units->currentIndex());
}

QComboBox* makeUnitList(std::span<const Unit> units) {
  auto* list = new QComboBox;
  list->setEditable(false);
  fillUnitList(list, units, -1);
  return list;
}

void fillUnitList(QComboBox* list, std::span<const Unit> units, int index) {
  const QSignalBlocker quiet(list);
  list->clear();
  for (const Unit& u : units) list->addItem(fromCore(u.name));
  list->setCurrentIndex(index);
}

}  // namespace kippwerk::ui
