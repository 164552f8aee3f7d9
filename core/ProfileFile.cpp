// INI-style files with private-profile semantics that keep every byte they do not own.
#include "core/ProfileFile.h"

#include "core/FileAccess.h"

namespace {

constexpr std::size_t npos = std::string::npos;
constexpr std::string_view Bom = "\xEF\xBB\xBF";

// A carriage return counts too: a CRLF file converted once more ends its lines in CR CR LF.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string_view> sectionName(std::string_view content)
{
    const std::string_view t = trim(content);
    if (!t.starts_with('['))
        return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

struct KeyValue
{
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValue(std::string_view content)
{
    if (sectionName(content))
        return std::nullopt;
    const std::size_t eq = content.find('=');
    if (eq == npos)
        return std::nullopt;
    const std::string_view key = trim(content.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return KeyValue{key, trim(content.substr(eq + 1))};
}

bool isQuoted(std::string_view v)
{
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

std::string_view ending(const std::string& line)
{
    if (line.ends_with("\r\n"))
        return "\r\n";
    if (line.ends_with('\n'))
        return "\n";
    return {};
}

} // namespace

std::optional<ProfileFile> ProfileFile::read(const std::string& path)
{
    const auto bytes = FileAccess::readRegularFile(path);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

ProfileFile ProfileFile::load(const std::string& path)
{
    return read(path).value_or(ProfileFile{});
}

ProfileFile ProfileFile::parse(std::string_view bytes)
{
    ProfileFile file;
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        const std::size_t len = nl == npos ? bytes.size() : nl + 1;
        file.m_lines.emplace_back(bytes.substr(0, len));
        bytes.remove_prefix(len);
    }
    return file;
}

std::string_view ProfileFile::content(std::size_t line) const
{
    std::string_view c = m_lines[line];
    c.remove_suffix(ending(m_lines[line]).size());
    // A byte order mark left by an editor does not hide the first section.
    if (line == 0 && c.starts_with(Bom))
        c.remove_prefix(Bom.size());
    return c;
}

std::size_t ProfileFile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(content(i));
        if (name && equalsIgnoringAsciiCase(*name, section))
            return i;
    }
    return npos;
}

std::size_t ProfileFile::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < m_lines.size() && !sectionName(content(i)))
        ++i;
    return i;
}

std::string ProfileFile::lineEnding() const
{
    for (const auto& line : m_lines) {
        if (!ending(line).empty())
            return std::string(ending(line));
    }
    return "\r\n";
}

std::optional<std::string> ProfileFile::get(std::string_view section, std::string_view key) const
{
    const std::size_t header = findSection(section);
    if (header == npos)
        return std::nullopt;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto kv = keyValue(content(i));
        if (kv && equalsIgnoringAsciiCase(kv->key, key)) {
            std::string_view value = kv->value;
            if (isQuoted(value))
                value = value.substr(1, value.size() - 2);
            return std::string(value.substr(0, MaxValueBytes));
        }
    }
    return std::nullopt;
}

void ProfileFile::set(std::string_view section, std::string_view key, std::string_view value)
{
    value = value.substr(0, value.find_first_of("\r\n"));
    std::string line(key);
    line += '=';
    if (!value.empty() && (isBlank(value.front()) || isBlank(value.back()) || isQuoted(value)))
        line.append("\"").append(value).append("\"");
    else
        line += value;

    const std::string eol = lineEnding();
    const std::size_t header = findSection(section);
    if (header == npos) {
        if (!m_lines.empty() && ending(m_lines.back()).empty())
            m_lines.back() += eol;
        m_lines.push_back("[" + std::string(section) + "]" + eol);
        m_lines.push_back(line + eol);
        return;
    }

    const std::size_t end = sectionEnd(header);
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto kv = keyValue(content(i));
        if (!kv)
            continue;
        if (equalsIgnoringAsciiCase(kv->key, key)) {
            m_lines[i] = line + std::string(ending(m_lines[i]));
            return;
        }
        insertAt = i + 1;
    }
    if (ending(m_lines[insertAt - 1]).empty())
        m_lines[insertAt - 1] += eol;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line + eol);
}

std::string ProfileFile::bytes() const
{
    std::string out;
    std::size_t size = 0;
    for (const auto& line : m_lines)
        size += line.size();
    out.reserve(size);
    for (const auto& line : m_lines)
        out += line;
    return out;
}

bool ProfileFile::saveAtomically(const std::string& path) const
{
    return FileAccess::replaceFile(path, bytes());
}
