// The up-down spinner's rule: steps within a range, no wrap-around, from a number typed in.
#pragma once

#include <string_view>

struct SpinRange
{
    int minimum = 0;
    int maximum = 100;
    int increment = 1;

    // The nearest value within the range.
    int clamp(int value) const;
};

// The position after one step up (direction > 0) or down from `position`. A number typed into
// the box (`typed`, blanks around it allowed) is where the step starts from, as long as it is
// plain decimal within the range; anything else leaves the position as it was.
int spinStep(const SpinRange& range, int position, std::string_view typed, int direction);
