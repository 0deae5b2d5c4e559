#pragma once

#include "state/PlanetState.h"
#include "window/Dorvath_u1.h"

// The window keeps its state to itself; tests read it through this friend.
class TForm1Probe {
public:
    static const dorvath::PlanetState& State(const TForm1& form) { return form.state_; }
};
