// The name under which the copy of the program running in a directory answers later starts.
#pragma once

#include <string>
#include <string_view>

// One copy per user and canonical working directory, since each directory has its own settings
// file: "rupeta-" and 32 hex digits of SHA-256 over user, line break, directory (UTF-8), placed
// in the runtime directory when there is one. Empty when the directory has no name to key on
// (beyond PATH_MAX): such a copy runs on its own.
std::string singleInstanceName(std::string_view user, std::string_view directory,
                               std::string_view runtimeDir);

// SHA-256 of the bytes, as 64 lower-case hex digits.
std::string sha256Hex(std::string_view bytes);
