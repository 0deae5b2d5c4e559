#pragma once

#include <cstdlib>
#include <random>

namespace dorvath::test {

// A fresh seed each run, so that randomised tests keep exploring; DORVATH_SEED=<n>
// replays the run a failure reported.
inline unsigned TestSeed() {
    if (const char* fixed = std::getenv("DORVATH_SEED")) {
        return static_cast<unsigned>(std::strtoul(fixed, nullptr, 10));
    }
    return std::random_device{}();
}

}  // namespace dorvath::test
