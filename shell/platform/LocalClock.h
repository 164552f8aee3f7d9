// The local wall clock, read the same way by every platform layer of a system.
#pragma once

#include "core/DateTime.h"

// The local date and time now, in the system's current time zone.
DateTime localClockNow();
