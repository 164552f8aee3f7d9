// Walking UTF-8 text one character at a time.
#pragma once

#include <cstddef>
#include <string_view>

// Length of the UTF-8 character at the start of text (not empty), or of its valid beginning;
// 1 for a byte that cannot start one.
std::size_t utf8CharLength(std::string_view text);
