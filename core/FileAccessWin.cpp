// Reading and replacing small text files with the Windows API.
#include "core/FileAccess.h"

#include "core/WideText.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwchar>

namespace {

bool writeAll(HANDLE file, std::string_view data)
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

bool processHasEnded(DWORD pid)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD status = 0;
    const bool ended = GetExitCodeProcess(process, &status) && status != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

// A path split into its folder part (with its last separator, or a drive "C:") and its name.
struct SplitPath
{
    std::wstring folder;
    std::wstring name;
};

SplitPath split(const std::wstring& path)
{
    const std::size_t cut = path.find_last_of(L"\\/:");
    if (cut == std::wstring::npos)
        return {{}, path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

// A save killed half way leaves its temporary file ".<name>.<pid>.<n>.tmp"; the next save
// clears those of processes that no longer exist. A live second instance may be writing its own.
void removeStaleTemporaries(const SplitPath& target)
{
    const std::wstring prefix = L"." + target.name + L".";
    const std::wstring pattern = target.folder + prefix + L"*.tmp";
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::wstring middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        wchar_t* end = nullptr;
        const unsigned long pid = std::wcstoul(middle.c_str(), &end, 10);
        if (end == middle.c_str() || *end != L'.' || end[1] == L'\0' || pid == 0)
            continue;
        // Saves of this process never overlap, so its own leftovers are stale as well.
        if (pid == GetCurrentProcessId() || processHasEnded(static_cast<DWORD>(pid))) {
            DeleteFileW((target.folder + name).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

namespace FileAccess {

std::optional<std::string> readRegularFile(const std::string& path)
{
    // Others may keep the file open, for reading or writing, while it is read.
    const HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::string();
        // A directory cannot be opened this way and ends here too.
        return std::nullopt;
    }
    // Only a file on a disk: a pipe or a device may never end.
    LARGE_INTEGER size{};
    bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
              size.QuadPart >= 0 && static_cast<ULONGLONG>(size.QuadPart) <= MaxFileBytes;
    std::string bytes;
    // One byte more than the size, to notice a file that grew meanwhile; the cap still holds.
    if (ok)
        bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
    std::size_t done = 0;
    while (ok && done < MaxFileBytes + 1) {
        if (done == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, MaxFileBytes + 1));
        DWORD n = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n,
                      nullptr))
            ok = false;
        if (n == 0)
            break;
        done += n;
    }
    CloseHandle(file);
    if (!ok || done > MaxFileBytes)
        return std::nullopt;
    bytes.resize(done);
    return bytes;
}

bool replaceFile(const std::string& pathText, std::string_view bytes)
{
    const std::wstring path = widen(pathText);
    const SplitPath parts = split(path);
    if (parts.name.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file stays as the user made it. A link or junction is not followed: whose it
    // is and where it leads are not checked here, so it counts as a file we may not write.
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY |
                                 FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)))
        return false;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    removeStaleTemporaries(parts);
    // The new file keeps the old one's hidden and system marks.
    const DWORD kept = exists ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;

    // The temporary file sits beside the target, on the same volume, so the move is a rename.
    static std::atomic<unsigned> counter{0};
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = parts.folder + L"." + parts.name + L"." + std::to_wstring(GetCurrentProcessId()) +
               L"." + std::to_wstring(counter++) + L".tmp";
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;

    // Some file systems cannot flush at all; the move is then as safe as they allow.
    bool ok = writeAll(file, bytes);
    if (ok && !FlushFileBuffers(file)) {
        const DWORD error = GetLastError();
        ok = error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
    }
    ok = CloseHandle(file) && ok;
    // Write-through returns only once the move itself is on the disk.
    ok = ok && MoveFileExW(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

} // namespace FileAccess
