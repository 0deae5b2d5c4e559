#pragma once

#include "state/PlanetState.h"
#include "window/Dorvath_u1.h"

// The window keeps its state to itself; tests and benchmarks read it through the friend
// the window declares for them.
class TForm1Probe {
public:
    static const dorvath::PlanetState& State(const TForm1& form) { return form.state_; }
};
