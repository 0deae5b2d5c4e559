#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

// The application object: reports an error that escapes a handler in a message box
// and lets the program go on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs a handler reached through a signal. Qt does not let exceptions cross its
    // signal emission, so these are caught here and reported like any other.
    static void Guard(const std::function<void()>& handler);
    // Reports the error through the running application.
    static void HandleException(const std::exception_ptr& error);

    static QString Describe(const std::exception_ptr& error);

protected:
    virtual void ShowException(const QString& message);
};
