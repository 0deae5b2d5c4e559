#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "state/PlanetState.h"

class TForm1;

// What screen readers and other assistive technology learn of the window: a frame
// named by its title, the buttons in words with what each does, and the picture told
// in numbers. None of it adds input or focus, and none of it runs per tick unless
// assistive technology listens.
namespace dorvath {

// The picture in words, as the state holds it: "Orbit 15°, spin 22.5°, stopped".
// Full orbits are counted once there is one.
std::string DescribePicture(const PlanetState& state, bool running);

// When a change of the picture is worth telling: a step, a reset and the start of a
// run at once; the ticks of a running animation at most once a second, so that a
// screen reader is not flooded ten times a second.
class PictureNotices {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kRunningInterval = std::chrono::seconds(1);

    // Whether a change at `now`, after which the animation runs or not, is to be told.
    // Records the notice when it is.
    bool Due(Clock::time_point now, bool running);

private:
    std::optional<Clock::time_point> last_;
    bool lastRunning_ = false;
};

// Names and describes the window's controls and makes the window and its picture known
// to the accessibility layer. Called once the components exist.
void MakeAccessible(TForm1& form);

// Tells the accessibility layer that the picture or the running state may have
// changed, when assistive technology listens and the change is due.
void PictureChanged(TForm1& form);

}  // namespace dorvath
