// An INI-style file with private-profile semantics, kept as the bytes it was read from.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ProfileFile
{
public:
    // Values are read cut to this many bytes.
    static constexpr std::size_t MaxValueBytes = 1023;

    // A missing or unreadable file reads as empty.
    static ProfileFile load(const std::string& path);
    // Empty when the file does not exist; nothing when it exists but cannot be read in full or
    // is not a small regular file (see FileAccess), so that a caller about to rewrite it does
    // not replace content it never saw.
    static std::optional<ProfileFile> read(const std::string& path);
    static ProfileFile parse(std::string_view bytes);

    // Section and key match without regard to ASCII case; nothing when missing.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Replaces the key's value in place, or appends the key at the end of its section, or
    // appends the section at the end of the file. The value is written up to its first line
    // break, and in quotes when reading would otherwise trim or unquote it.
    void set(std::string_view section, std::string_view key, std::string_view value);

    std::string bytes() const;
    // Writes the whole file beside the old one and renames it over it, so readers see either
    // the old or the new file. False when that could not be done or is not allowed (see
    // FileAccess::replaceFile); the old file is then intact.
    bool saveAtomically(const std::string& path) const;

private:
    std::string_view content(std::size_t line) const;
    std::size_t findSection(std::string_view section) const;
    std::size_t sectionEnd(std::size_t header) const;
    std::string lineEnding() const;

    std::vector<std::string> m_lines; // each with its own line ending, as read
};
