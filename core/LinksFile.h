// The related links of the tray menu, read from "url.ini" in the current directory.
#pragma once

#include <array>
#include <string>

struct Links
{
    // UTF-8. A caption "-" is a separator line, an empty one hides the item.
    std::array<std::string, 5> names;
    // UTF-8, handed unchanged to the desktop's opener; empty does nothing.
    std::array<std::string, 5> urls;
};

class LinksFile
{
public:
    static constexpr const char* FileName = "url.ini";

    // Section "URLs", keys Name1..Name5 and URL1..URL5, each with its default.
    static Links load(const std::string& path = FileName);
    static Links defaults();
};
