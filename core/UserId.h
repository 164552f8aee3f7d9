// The installation's identifier: six draws of a linear congruential generator.
#pragma once

#include <cstdint>
#include <string>

// "d6-d5-d4-d3-d2-d1" for the draws d1..d6 from the given seed.
std::string makeUserId(std::uint32_t seed);
