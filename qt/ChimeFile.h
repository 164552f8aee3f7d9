// Opening the chime file for libsndfile: a regular file only, never waiting on a pipe or device.
#pragma once

#include <sndfile.h>

#include <filesystem>
#include <string>

class ChimeFile
{
public:
    // The opened sound, or nullptr with the reason when the path cannot be opened, names
    // anything but a regular file (checked on the opened file, so a link or a swap in between
    // changes nothing), or holds nothing libsndfile reads. Opening never blocks.
    static SNDFILE* open(const std::filesystem::path& path, SF_INFO& info, std::string& reason);
};
