// INI-style files with private-profile semantics that keep every byte they do not own.
#include "ProfileFile.h"

#include <atomic>
#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr std::size_t npos = std::string::npos;
constexpr std::string_view Bom = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
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

#ifdef _WIN32
bool writeAll(HANDLE file, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        // WriteFile takes at most a DWORD per call.
        const std::size_t left = data.size() - done;
        const DWORD chunk = left < 0x40000000 ? static_cast<DWORD>(left) : 0x40000000;
        DWORD written = 0;
        if (!WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}
#else
bool writeAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}
#endif

} // namespace

#ifdef _WIN32

std::optional<ProfileFile> ProfileFile::read(const std::filesystem::path& path)
{
    // Others may keep the file open, for reading or writing, while it is read.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return ProfileFile{};
        // A directory cannot be opened this way and ends here too.
        return std::nullopt;
    }
    std::string bytes;
    bool ok = true;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return parse(bytes);
}

#else

std::optional<ProfileFile> ProfileFile::read(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return ProfileFile{};
        return std::nullopt;
    }
    std::string bytes;
    struct stat st
    {
    };
    bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return parse(bytes);
}

#endif

ProfileFile ProfileFile::load(const std::filesystem::path& path)
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

#ifdef _WIN32

bool ProfileFile::saveAtomically(const std::filesystem::path& path) const
{
    if (path.empty() || !path.has_filename())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // The new file keeps the old one's hidden and system marks.
    const DWORD kept = exists ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;

    // The temporary file sits beside the target, on the same volume, so the move is a rename.
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = path;
        temp.replace_filename(L"." + path.filename().native() + L"." +
                              std::to_wstring(GetCurrentProcessId()) + L"." +
                              std::to_wstring(counter++) + L".tmp");
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;

    // Some file systems cannot flush at all; the move is then as safe as they allow.
    bool ok = writeAll(file, bytes());
    if (ok && !FlushFileBuffers(file)) {
        const DWORD error = GetLastError();
        ok = error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
    }
    ok = CloseHandle(file) && ok;
    // Write-through returns only once the move itself is on the disk. A read-only old file
    // refuses to be replaced and stays as it was.
    ok = ok && MoveFileExW(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

#else

bool ProfileFile::saveAtomically(const std::filesystem::path& path) const
{
    if (path.empty() || !path.has_filename())
        return false;
    struct stat old
    {
    };
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return false;

    // The temporary file sits beside the target under a name relative to the same base as
    // the target, so a working directory nested beyond PATH_MAX still works.
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path;
        temp.replace_filename("." + path.filename().string() + "." + std::to_string(::getpid()) +
                              "." + std::to_string(counter++) + ".tmp");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    if (exists)
        (void)::fchmod(fd, old.st_mode & 07777);

    // Some file systems cannot sync at all; the rename is then as safe as they allow.
    bool ok = writeAll(fd, bytes()) && (::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; the new file is already complete if this fails.
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

#endif
