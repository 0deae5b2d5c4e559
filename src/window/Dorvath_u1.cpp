#include "window/Dorvath_u1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QShowEvent>

#include "scene/Frame.h"
#include "window/Accessibility.h"
#include "window/TApplication.h"

#include "window/Dorvath.xpm"

namespace {

constexpr int kClientWidth = 343;   // the buttons' right edge and an 8 pixel margin
constexpr int kClientHeight = 316;  // the image's bottom edge and an 8 pixel margin

QWidget* NewClientArea() {
    auto* client = new QWidget;
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setBackgroundRole(QPalette::Button);
    client->setAutoFillBackground(true);
    return client;
}

// A speed button: clicked by the left mouse button only, pressed and released over
// it; it never takes the keyboard focus.
QToolButton* NewSpeedButton(QWidget* owner, const char* caption, int left, int top) {
    auto* button = new QToolButton(owner);
    button->setText(QString::fromLatin1(caption));
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(left, top, 23, 22);
    return button;
}

// The face the platform's dialogs use: on Windows their message font (Qt's general
// font there is the old GUI font, a bitmap face or whatever stands in for it), elsewhere
// the system's sans-serif.
QString DialogFamily() {
#ifdef Q_OS_WIN
    return QApplication::font("QMessageBox").family();
#else
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
#endif
}

// "MS Sans Serif" at 11 pixels where it is installed, else the platform's dialog face.
QFont FormFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), DialogFamily()});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QScrollArea(parent),
      ClientArea(NewClientArea()),
      bVor(NewSpeedButton(ClientArea, ">", 312, 8)),
      bVorVor(NewSpeedButton(ClientArea, ">>", 312, 32)),
      Image1(new TImage(ClientArea, 300, 300)),
      bClear(NewSpeedButton(ClientArea, "Cl", 312, 56)),
      Timer1(new TTimer(this)) {
    dorvath::MakeAccessible(*this);
    Image1->move(8, 8);
    // A surface made anew at another density shows what the old one did.
    Image1->Redraw = [this](dorvath::Canvas& canvas) { dorvath::DrawAfresh(canvas, state_); };
    Timer1->SetInterval(100);

    setWindowTitle(QStringLiteral("Quonsel"));
    setWindowIcon(QIcon(QPixmap(kDorvathIcon)));
    setFont(FormFont());
    setBackgroundRole(QPalette::Button);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setWidget(ClientArea);
    move(176, 105);
    resize(kClientWidth, kClientHeight);

    const auto bind = [this](QToolButton* button, void (TForm1::*handler)(QObject*)) {
        connect(button, &QToolButton::clicked, this, [this, button, handler] {
            TApplication::Guard([&] { (this->*handler)(button); });
        });
    };
    bind(bVor, &TForm1::bVorClick);
    bind(bVorVor, &TForm1::bVorVorClick);
    bind(bClear, &TForm1::bClearClick);
    Timer1->OnTimer = [this] { Timer1Timer(Timer1); };

    FormCreate(this);
}

void TForm1::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    // Spontaneous show events come from the window system (say, restoring the window
    // from its icon); the handler belongs to the window becoming visible.
    if (!event->spontaneous())
        FormShow(this);
}

void TForm1::FormCreate(QObject* /*Sender*/) {
    state_ = dorvath::PlanetState::Create(Image1->width(), Image1->height());
}

void TForm1::FormShow(QObject* Sender) {
    bClearClick(Sender);
}

void TForm1::bClearClick(QObject* /*Sender*/) {
    Timer1->SetEnabled(false);
    dorvath::Reset(Image1->Canvas(), state_);
    Image1->Changed();
    dorvath::PictureChanged(*this);
}

void TForm1::bVorClick(QObject* /*Sender*/) {
    Timer1->SetEnabled(false);
    dorvath::Step(Image1->Canvas(), state_, 5.0);
    Image1->Changed();
    dorvath::PictureChanged(*this);
}

// Draws nothing: the first frame comes with the first tick.
void TForm1::bVorVorClick(QObject* /*Sender*/) {
    Timer1->SetEnabled(true);
    dorvath::PictureChanged(*this);
}

void TForm1::Timer1Timer(QObject* /*Sender*/) {
    dorvath::Step(Image1->Canvas(), state_, 1.0);
    Image1->Changed();
    dorvath::PictureChanged(*this);
    // Clicks and repaints that waited for this tick are handled before it ends.
    QCoreApplication::processEvents();
}
