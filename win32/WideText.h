// Texts for the Windows API: UTF-16 conversion, and fitting fixed buffers.
#pragma once

#include "core/WideText.h"

#include <cstddef>
#include <string>

// The text cut to fit a fixed buffer of `capacity` characters with its terminating zero,
// never between the two halves of a surrogate pair.
std::wstring fitBuffer(std::wstring text, std::size_t capacity);
