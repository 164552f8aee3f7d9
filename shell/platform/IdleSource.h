// A compositor's own view of the user's input: idle after a short quiet time, resumed at the
// next key press or pointer motion.
#pragma once

#include <functional>

class IdleSource
{
public:
    virtual ~IdleSource() = default;

    // Called with true when the user has gone idle, with false when input resumes.
    std::function<void(bool idle)> changed;

    // The quiet time after which a source reports idleness.
    static constexpr int TimeoutMs = 1000;
};
