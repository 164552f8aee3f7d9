// Reading and replacing small text files so that no hand-made file can hang, flood or trick us.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace FileAccess {

// Paths are UTF-8 text, as everywhere in the program; on Windows they become UTF-16 here.

// Far above any real settings or links file; a bigger file is not one of ours.
constexpr std::size_t MaxFileBytes = std::size_t{1} << 20;

// The whole content of a regular file; empty when there is no file; nothing when it exists but
// is not a regular file, is larger than MaxFileBytes or cannot be read in full. Never blocks
// on a pipe or device.
std::optional<std::string> readRegularFile(const std::string& path);

// Writes the bytes to a temporary file beside the target and renames it over the target, so
// readers see either the old or the new file. A symbolic link is followed only when it and its
// target belong to the user running the program, and the link stays a link. Nothing is done
// (false) when the file may not be written, is not a regular file, or anything fails; the old
// file is then intact. Temporary files left by processes that have ended are removed. A new
// file gets permission bits only.
bool replaceFile(const std::string& path, std::string_view bytes);

} // namespace FileAccess
