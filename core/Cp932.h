// Conversion between the files' code page 932 bytes and UTF-8 for display.
#pragma once

#include <string>
#include <string_view>

// Bytes that do not convert come out as U+FFFD.
std::string cp932ToUtf8(std::string_view cp932);
// Characters code page 932 cannot hold come out as "?".
std::string utf8ToCp932(std::string_view utf8);
