// The floor of our platform: a Qt Widgets program that shows one empty window of our
// window's size and does nothing else. The start-up time and memory of Dorvath are
// judged against this one's. With --labelled it also shows one button with a caption,
// the cost of any text (fonts, shaping) being the largest part of what Dorvath adds.

#include <QApplication>
#include <QToolButton>
#include <QWidget>
#include <cstring>

#include "support/Layout.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Minimal");
    window.move(176, 105);
    window.resize(dorvath::layout::kClientWidth, dorvath::layout::kClientHeight);
    if (argc > 1 && std::strcmp(argv[1], "--labelled") == 0) {
        auto* button = new QToolButton(&window);
        button->setText(">");
        const dorvath::layout::Box& at = dorvath::layout::kStepButton;
        button->setGeometry(at.left, at.top, at.width, at.height);
    }
    window.show();
    return app.exec();
}
