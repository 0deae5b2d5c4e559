#pragma once

#include <gtest/gtest.h>

#include "canvas/BitmapCanvas.h"
#include "scene/Frame.h"
#include "state/PlanetState.h"
#include "support/Layout.h"

// A command or tick handled by the window, as the tests give it or log it.
enum class Command {
    Step,        // ">"
    Run,         // ">>"
    Clear,       // "Cl"
    Tick,        // the tick handler, called by the test
    SystemTick,  // the tick handler, called by the running timer
};

// What the commands should do, told independently of the window: a surface, a state
// and whether the animation runs.
struct Model {
    dorvath::BitmapCanvas canvas{dorvath::layout::kImage.width, dorvath::layout::kImage.height};
    dorvath::PlanetState state =
        dorvath::PlanetState::Create(dorvath::layout::kImage.width, dorvath::layout::kImage.height);
    bool running = false;

    Model() { Apply(Command::Clear); }

    ::testing::AssertionResult Apply(Command command) {
        switch (command) {
            case Command::Step:
                running = false;
                dorvath::Step(canvas, state, 5.0);
                break;
            case Command::Run:
                running = true;
                break;
            case Command::Clear:
                running = false;
                dorvath::Reset(canvas, state);
                break;
            case Command::SystemTick:
                if (!running)
                    return ::testing::AssertionFailure() << "the timer ticked while stopped";
                dorvath::Step(canvas, state, 1.0);
                break;
            case Command::Tick:
                dorvath::Step(canvas, state, 1.0);
                break;
        }
        return ::testing::AssertionSuccess();
    }
};
