// The program's UTF-8 texts in the Windows API's UTF-16, and back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
// The text cut to fit a fixed buffer of `capacity` characters with its terminating zero,
// never between the two halves of a surrogate pair.
std::wstring fitBuffer(std::wstring text, std::size_t capacity);
