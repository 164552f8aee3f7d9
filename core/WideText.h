// The program's UTF-8 texts and paths in the Windows API's UTF-16, and back (Windows only).
#pragma once

#include <string>
#include <string_view>

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
