// One key released in the t-EIN box: the operation, the rewritten boxes and the repaint, timed
// over many keys. Each key changes the text, so every run repaints.

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ui/frmKippwerk.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kippwerk::ui::frmKippwerk w;
  w.show();
  for (const char* name : {"cmdBauteile", "cmdWeiter1"}) {
    w.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
  }
  auto* tein = w.findChild<QLineEdit*>(QStringLiteral("txtTein"));
  tein->setFocus();
  QTest::keyClick(tein, Qt::Key_End);
  QApplication::processEvents();

  constexpr int kKeys = 4000;
  std::vector<double> us;
  us.reserve(kKeys);
  for (int i = 0; i < kKeys; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (i % 2 == 0) {
      QTest::keyClick(tein, Qt::Key_1);
    } else {
      QTest::keyClick(tein, Qt::Key_Backspace);
    }
    w.repaint();
    QApplication::processEvents();
    us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(us.begin(), us.end());
  std::printf(
      "key release in t-EIN (operation + repaint), %d keys: median %.0f us, 99th percentile %.0f "
      "us\n",
      kKeys, us[us.size() / 2], us[us.size() * 99 / 100]);
  return 0;
}
