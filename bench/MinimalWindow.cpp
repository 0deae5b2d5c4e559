// The floor of our platform: a Qt Widgets program that shows one empty window of our
// window's size and does nothing else. The start-up time and memory of Dorvath are
// judged against this one's.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Minimal");
    window.move(176, 105);
    window.resize(343, 316);  // the client area of our window
    window.show();
    return app.exec();
}
