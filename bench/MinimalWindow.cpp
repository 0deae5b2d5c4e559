// The floor of our platform: a Qt Widgets program that shows one empty window of our
// window's size and does nothing else. The start-up time and memory of Dorvath are
// judged against this one's. With --labelled it also shows one button with a caption,
// the cost of any text (fonts, shaping) being the largest part of what Dorvath adds.

#include <QApplication>
#include <QToolButton>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Minimal");
    window.move(176, 105);
    window.resize(343, 316);  // the client area of our window
    if (argc > 1 && std::strcmp(argv[1], "--labelled") == 0) {
        auto* button = new QToolButton(&window);
        button->setText(">");
        button->setGeometry(312, 8, 23, 22);
    }
    window.show();
    return app.exec();
}
