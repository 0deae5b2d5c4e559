#pragma once

#include <QObject>
#include <QScrollArea>
#include <QToolButton>

#include "state/PlanetState.h"
#include "window/TImage.h"
#include "window/TTimer.h"

class QShowEvent;

// The main window. The controls sit at fixed positions on a client area of fixed size;
// when the window is made smaller than that, scroll bars bring them into view, and
// nothing is laid out again.
class TForm1 final : public QScrollArea {
public:
    explicit TForm1(QWidget* parent = nullptr);

    // The components, created in this order. The window owns them.
    QWidget* const ClientArea;
    QToolButton* const bVor;
    QToolButton* const bVorVor;
    TImage* const Image1;
    QToolButton* const bClear;
    TTimer* const Timer1;

    // The handlers. The sender is passed for the record and not used.
    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void bClearClick(QObject* Sender);
    void bVorClick(QObject* Sender);
    void bVorVorClick(QObject* Sender);
    void Timer1Timer(QObject* Sender);

    // What the picture is drawn from, for assistive technology to read.
    const dorvath::PlanetState& State() const { return state_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    dorvath::PlanetState state_;

    friend class TForm1Probe;
};
