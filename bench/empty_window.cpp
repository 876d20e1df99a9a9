// The floor of the start-up figure (bench/startup.sh): an empty Qt 6 window of the main
// window's size, built with the same compile flags as the program. With
// QUORVEL_FIRST_PAINT_EXIT set, its first paint reports the time and memory through the same
// probe as the program's window, and ends the process.

#include <QApplication>
#include <QWidget>

#include "platform/window/qt/first_paint_probe.h"

namespace {

class EmptyWindow : public QWidget {
 protected:
  void paintEvent(QPaintEvent* event) override {
    quorvel::platform::ReportFirstPaintIfAsked();
    QWidget::paintEvent(event);
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  EmptyWindow window;
  window.setFixedSize(374, 222);  // the main window's client size
  window.show();
  return app.exec();
}
