// The key rule of the instance lock, the same on every system.
#include "core/InstanceLock.h"

#include <cstdio>

std::string InstanceLock::keyFor(std::uint64_t user, std::uint64_t device, std::uint64_t file)
{
    char text[80];
    std::snprintf(text, sizeof text, "rupeta-%llx-%llx-%llx", static_cast<unsigned long long>(user),
                  static_cast<unsigned long long>(device), static_cast<unsigned long long>(file));
    return text;
}
