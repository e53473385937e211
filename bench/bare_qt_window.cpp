// A bare Qt window of the same size, the reference for start-up time and
// memory of the tool's window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("bare-qt-window");
  window.setFixedSize(365, 400);
  window.show();
  return app.exec();
}
