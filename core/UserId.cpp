// The installation's identifier from a linear congruential generator.
#include "core/UserId.h"

#include <array>

std::string makeUserId(std::uint32_t seed)
{
    std::uint32_t state = seed;
    std::array<std::uint32_t, 6> draws{};
    for (auto& draw : draws) {
        state = state * 22695477u + 1u; // unsigned arithmetic wraps modulo 2^32
        draw = (state >> 16) & 0x7FFFu;
    }
    std::string id;
    for (auto it = draws.rbegin(); it != draws.rend(); ++it) {
        if (!id.empty())
            id += '-';
        id += std::to_string(*it);
    }
    return id;
}
