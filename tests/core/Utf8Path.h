// A path as the program's file functions take it: UTF-8 text, on every system.
#pragma once

#include <filesystem>
#include <string>

inline std::string utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}
