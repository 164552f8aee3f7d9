// The reminder chime through MCI.
#include "win32/MciChime.h"

#include "core/ChimePlayback.h"
#include "core/Texts.h"
#include "win32/ChimeFileCheck.h"
#include "win32/WideText.h"
#include "win32/WindowProc.h"

#include <mmsystem.h>

#include <vector>

namespace {

// Opening a plain file takes milliseconds; a file that keeps the open waiting (a pipe under
// Wine, a network share gone away) must not hold start-up for ever.
constexpr DWORD CheckTimeoutMs = 5000;

class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

std::string systemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text != nullptr ? narrow(text) : "エラー " + std::to_string(code);
    LocalFree(text);
    return message;
}

// Empty when the file is a plain file holding a playable WAVE; read on the opened handle, so
// that a swap of the name in between changes nothing.
std::string checkFile(const std::wstring& path)
{
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return "通常のファイルではなく、フォルダーです。";
        return systemMessage(error);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return "通常のファイルではありません。";
    const std::uint64_t size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    if (size > ChimeFileCheck::MaxBytes)
        return "ファイルが大きすぎます。";
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return "ファイルを読めません。";
    return ChimeFileCheck::checkWave(bytes);
}

// checkFile on a thread of its own, given up after CheckTimeoutMs (the thread is then left to
// end with the process, and its data with it).
std::string checkFileInTime(const std::wstring& path)
{
    struct Check
    {
        std::wstring path;
        std::string reason;
    };
    auto* check = new Check{path, {}};
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* data) -> DWORD {
            auto* c = static_cast<Check*>(data);
            c->reason = checkFile(c->path);
            return 0;
        },
        check, 0, nullptr);
    if (thread == nullptr) {
        delete check;
        return checkFile(path);
    }
    const bool done = WaitForSingleObject(thread, CheckTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!done)
        return "ファイルの読み込みが終わりません。";
    std::string reason = std::move(check->reason);
    delete check;
    return reason;
}

std::wstring fullPath(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

// Whether the file can be checked here and now: a plain file with content on a local disk opens
// at once. Anything else (a pipe under Wine, a share that no longer answers) goes to a thread
// that can be given up; a thread is not made needlessly, since Wine keeps the stack of an ended
// one mapped.
bool opensAtOnce(const std::wstring& absolute)
{
    // A path without a drive letter is on a network share.
    if (absolute.size() < 3 || absolute[1] != L':')
        return false;
    const UINT drive = GetDriveTypeW(absolute.substr(0, 3).c_str());
    if (drive == DRIVE_REMOTE || drive == DRIVE_UNKNOWN || drive == DRIVE_NO_ROOT_DIR)
        return false;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(absolute.c_str(), &found);
    // No such file: the open fails at once.
    if (search == INVALID_HANDLE_VALUE)
        return true;
    FindClose(search);
    const DWORD odd = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                      FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_OFFLINE;
    return (found.dwFileAttributes & odd) == 0 && (found.nFileSizeHigh | found.nFileSizeLow) != 0;
}

std::string mciError(MCIERROR error)
{
    wchar_t text[256] = L"";
    if (!mciGetErrorStringW(error, text, ARRAYSIZE(text)))
        return "MCI エラー " + std::to_string(error);
    return narrow(text);
}

} // namespace

std::vector<std::wstring> MciChime::searchPath(const std::wstring& exeDir)
{
    return {FileName, exeDir + FileName};
}

std::unique_ptr<MciChime> MciChime::open(const std::wstring& exeDir, std::string& error)
{
    const auto candidates = searchPath(exeDir);
    std::wstring file = candidates.front();
    for (const auto& candidate : candidates) {
        if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) {
            file = candidate;
            break;
        }
    }
    const std::wstring absolute = fullPath(file);
    const std::string shown = narrow(absolute);

    const std::string reason = opensAtOnce(absolute) ? checkFile(file) : checkFileInTime(file);
    if (!reason.empty()) {
        error = Texts::soundFileError(shown, reason);
        return nullptr;
    }
    std::unique_ptr<MciChime> chime(new MciChime);
    const std::wstring command = L"open \"" + absolute + L"\" type waveaudio alias rupeta_chime";
    if (const MCIERROR result = mciSendStringW(command.c_str(), nullptr, 0, nullptr); result != 0) {
        error = Texts::soundFileError(shown, mciError(result));
        return nullptr;
    }
    chime->send(L"set rupeta_chime time format milliseconds");
    return chime;
}

MciChime::MciChime()
{
    registerObjectWindowClass<MciChime>(L"RupetaChime");
    m_window = CreateWindowExW(0, L"RupetaChime", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), this);
}

MciChime::~MciChime()
{
    send(L"close rupeta_chime");
    destroyObjectWindow(m_window);
}

bool MciChime::send(const wchar_t* command, std::wstring* reply) const
{
    wchar_t buffer[64] = L"";
    const MCIERROR error = mciSendStringW(command, buffer, ARRAYSIZE(buffer), m_window);
    if (reply != nullptr)
        *reply = buffer;
    return error == 0;
}

void MciChime::play()
{
    std::wstring mode;
    send(L"status rupeta_chime mode", &mode);
    const ChimePlayback::Output output = mode == L"playing" ? ChimePlayback::Output::Active
                                         : m_suspended      ? ChimePlayback::Output::Suspended
                                         : m_atEnd          ? ChimePlayback::Output::Idle
                                                            : ChimePlayback::Output::Stopped;
    switch (ChimePlayback::play(output, m_atEnd)) {
    case ChimePlayback::Action::StartOver:
        // Played at its end, MCI would return at once and never notify.
        send(L"seek rupeta_chime to start");
        [[fallthrough]];
    case ChimePlayback::Action::Resume:
    case ChimePlayback::Action::Start:
        m_atEnd = false;
        m_suspended = false;
        send(L"play rupeta_chime notify");
        break;
    default:
        break;
    }
}

void MciChime::stop()
{
    std::wstring mode;
    send(L"status rupeta_chime mode", &mode);
    const ChimePlayback::Output output =
        mode == L"playing" ? ChimePlayback::Output::Active : ChimePlayback::Output::Stopped;
    switch (ChimePlayback::stop(output, m_atEnd)) {
    case ChimePlayback::Action::Suspend:
        // MCI's stop keeps the position; the next play goes on from there.
        send(L"stop rupeta_chime");
        m_suspended = true;
        break;
    case ChimePlayback::Action::Close:
        send(L"stop rupeta_chime");
        break;
    default:
        break;
    }
}

LRESULT MciChime::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != MM_MCINOTIFY)
        return DefWindowProcW(window, message, wParam, lParam);
    // Aborted (a stop) and superseded (a new play) keep the place; only the end rewinds.
    if (wParam == MCI_NOTIFY_SUCCESSFUL) {
        m_atEnd = true;
        m_suspended = false;
    }
    return 0;
}
