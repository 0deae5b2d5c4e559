#include "window/TApplication.h"

#include <QMessageBox>
#include <QtGlobal>
#include <stdexcept>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

void TApplication::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TApplication::HandleException(const std::exception_ptr& error) {
    if (auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance())) {
        app->ShowException(Describe(error));
    } else {
        qWarning("%s", qPrintable(Describe(error)));
    }
}

QString TApplication::Describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void TApplication::ShowException(const QString& message) {
    QMessageBox::critical(nullptr, applicationName(), message);
}
