// The instance lock on Windows: a file opened without sharing, which the system closes when the
// process ends.
#include "core/InstanceLock.h"

#include "core/WideText.h"

#include <windows.h>

namespace {

std::string currentDirectoryKey()
{
    const HANDLE dir = CreateFileW(L".", 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(dir, &info) != 0;
    CloseHandle(dir);
    if (!known)
        return {};
    // The temporary folder is the user's own, so the user part of the key stays 0 here.
    return InstanceLock::keyFor(0, info.dwVolumeSerialNumber,
                                (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow);
}

} // namespace

InstanceLock::InstanceLock(std::string folder)
    : m_folder(std::move(folder)), m_key(currentDirectoryKey())
{
}

InstanceLock::~InstanceLock()
{
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

InstanceLock::Claim InstanceLock::claim()
{
    if (m_handle != -1)
        return Claim::Claimed;
    if (m_key.empty() || m_folder.empty())
        return Claim::Unguarded;
    const bool separated = m_folder.back() == '\\' || m_folder.back() == '/';
    const std::wstring path = widen(m_folder + (separated ? "" : "\\") + m_key + ".lock");
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? Claim::HeldElsewhere : Claim::Unguarded;
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return Claim::Claimed;
}

std::string InstanceLock::defaultFolder()
{
    // GetTempPathW rather than the standard library's, which would take its file streams and
    // locales into the program.
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return length == 0 || length > MAX_PATH ? std::string()
                                            : narrow(std::wstring_view(folder, length));
}
