#include "window/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>
#include <QToolButton>
#include <QWidget>
#include <charconv>
#include <cmath>
#include <vector>

#include "window/Dorvath_u1.h"
#include "window/TImage.h"

namespace dorvath {
namespace {

// The shortest digits that give the value back, never in exponent form: a long run
// reads "1234567", not "1.23457e+06".
std::string Number(double value) {
    char digits[400];  // the longest double in fixed notation has 309 integer digits
    const std::to_chars_result end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    return std::string(digits, end.ptr);
}

std::string Degrees(double value) {
    return Number(value) + "\u00B0";
}

// The window: a frame named by its title. Qt would expose the scroll area that serves
// as the window as a plain filler. Like the scroll area, it lists only the parts that
// are shown: the viewport, and the scroll bars while the window is too small.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(Shown().size()); }

    QAccessibleInterface* child(int index) const override {
        const std::vector<QWidget*> shown = Shown();
        if (index < 0 || index >= static_cast<int>(shown.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(shown[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QWidget*> shown = Shown();
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (child != nullptr && child->object() == shown[i])
                return static_cast<int>(i);
        }
        return -1;
    }

private:
    std::vector<QWidget*> Shown() const {
        std::vector<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* part = qobject_cast<QWidget*>(object);
            if (part != nullptr && !part->isWindow() && part->isVisibleTo(widget()))
                shown.push_back(part);
        }
        return shown;
    }
};

// The picture: an image whose description says what it shows now, read from the
// window's state whenever it is asked for.
class PictureAccessible final : public QAccessibleWidget {
public:
    explicit PictureAccessible(TImage* image) : QAccessibleWidget(image, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            if (const auto* form = dynamic_cast<const TForm1*>(widget()->window())) {
                return QString::fromStdString(
                    DescribePicture(form->State(), form->Timer1->Enabled()));
            }
        }
        return QAccessibleWidget::text(t);
    }

    PictureNotices notices;
};

QAccessibleInterface* Interfaces(const QString& /*className*/, QObject* object) {
    if (auto* form = dynamic_cast<TForm1*>(object))
        return new WindowAccessible(form);
    if (auto* image = dynamic_cast<TImage*>(object))
        return new PictureAccessible(image);
    return nullptr;
}

// The caption stays as it is on the button; the name is what a screen reader says
// instead of "greater than", and the tooltip says the same as the description.
void Describe(QToolButton* button, const QString& name, const QString& what) {
    button->setAccessibleName(name);
    button->setAccessibleDescription(what);
    button->setToolTip(what);
}

}  // namespace

std::string DescribePicture(const PlanetState& state, bool running) {
    std::string text = "Orbit " + Degrees(state.OrbitAngle);
    const double orbits = std::floor(state.OrbitAngle / 360.0);
    if (orbits >= 1.0) {
        text += " (" + Number(orbits) + (orbits == 1.0 ? " full orbit)" : " full orbits)");
    }
    text += ", spin " + Degrees(state.SpinAngle);
    text += running ? ", running" : ", stopped";
    return text;
}

bool PictureNotices::Due(Clock::time_point now, bool running) {
    const bool due =
        !running || running != lastRunning_ || !last_ || now - *last_ >= kRunningInterval;
    if (due) {
        last_ = now;
        lastRunning_ = running;
    }
    return due;
}

void MakeAccessible(TForm1& form) {
    // Installed before anything asks for the window's or the picture's interface: the
    // first one made for an object is kept for its life.
    QAccessible::installFactory(&Interfaces);
    Describe(form.bVor, QStringLiteral("Step"),
             QStringLiteral("Moves the planet on by one 5\u00B0 step, and stops the animation"));
    Describe(form.bVorVor, QStringLiteral("Run"),
             QStringLiteral("Runs the animation: the planet moves on 1\u00B0 every 100 ms"));
    Describe(form.bClear, QStringLiteral("Clear"),
             QStringLiteral("Stops the animation and goes back to the start picture"));
    form.Image1->setAccessibleName(QStringLiteral("Planet going round the Sun"));
}

void PictureChanged(TForm1& form) {
    // Nothing at all per tick when no assistive technology listens.
    if (!QAccessible::isActive())
        return;
    auto* picture =
        dynamic_cast<PictureAccessible*>(QAccessible::queryAccessibleInterface(form.Image1));
    if (picture == nullptr ||
        !picture->notices.Due(PictureNotices::Clock::now(), form.Timer1->Enabled())) {
        return;
    }
    QAccessibleEvent event(picture, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace dorvath
