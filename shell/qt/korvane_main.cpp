#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Quorsk - Korvane");
  window.resize(640, 430);
  window.show();
  return app.exec();
}
