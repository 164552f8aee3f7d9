// Reading and replacing the settings and links files on Windows whatever the user or others put
// there: read-only, hidden and linked files, pipes, devices, huge files, files others hold
// open, and leftovers of killed saves.
#include "core/FileAccess.h"
#include "tests/core/FileBytes.h"
#include "tests/core/ScratchDir.h"
#include "tests/core/Utf8Path.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <iterator>
#include <string>

namespace {

// The read in a thread of its own: one that blocks fails the test instead of hanging it.
std::optional<std::string> readWithin5s(const std::filesystem::path& path)
{
    auto read = std::async(std::launch::async,
                           [path] { return FileAccess::readRegularFile(utf8Path(path)); });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "reading " << path.string() << " blocked";
        std::fflush(nullptr);
        std::_Exit(1);
    }
    return read.get();
}

class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr)
            CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// A process of this test program that never runs: alive until it is ended.
PROCESS_INFORMATION suspendedProcess()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_list_tests";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &process))
        ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
    return process;
}

class FileAccessWinTest : public ::testing::Test
{
protected:
    std::size_t entries() const
    {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(m_dir), {}));
    }
    DWORD attributes(const std::filesystem::path& path) const
    {
        return GetFileAttributesW(path.c_str());
    }

    ScratchDir m_scratch{"rupeta-files"};
    const std::filesystem::path m_dir = m_scratch.path();
};

} // namespace

TEST_F(FileAccessWinTest, OnlySmallFilesOnADiskAreReadAndNothingBlocks)
{
    // Why: a pipe or a device never ends, and a huge file is not one of ours.
    const auto atCap = m_dir / "at-cap";
    writeBytes(atCap, std::string(FileAccess::MaxFileBytes, '\n'));
    const auto overCap = m_dir / "over-cap";
    writeBytes(overCap, std::string(FileAccess::MaxFileBytes + 1, '\n'));
    const auto plain = m_dir / "plain";
    writeBytes(plain, "[Timer]\r\nTimer=45\r\n");
    // An editor that keeps the file open for writing must not stop the read.
    const auto held = m_dir / "held";
    writeBytes(held, "held");
    const Handle writer(CreateFileW(held.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(writer.get(), INVALID_HANDLE_VALUE);
    // A pipe with a server that never writes.
    const std::filesystem::path pipe =
        L"\\\\.\\pipe\\rupeta-test-" + std::to_wstring(GetCurrentProcessId());
    const Handle server(
        CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr));
    ASSERT_NE(server.get(), INVALID_HANDLE_VALUE);

    struct Case
    {
        std::filesystem::path path;
        std::optional<std::string> content;
    };
    const Case cases[] = {
        {m_dir / "missing", ""},
        {m_dir / "missing-dir" / "file", ""},
        {plain, "[Timer]\r\nTimer=45\r\n"},
        {held, "held"},
        {atCap, std::string(FileAccess::MaxFileBytes, '\n')},
        {overCap, std::nullopt},
        {pipe, std::nullopt},
        {L"\\\\.\\NUL", std::nullopt},
        {L"CONIN$", std::nullopt},
        {m_dir, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        EXPECT_EQ(readWithin5s(c.path), c.content);
    }
}

TEST_F(FileAccessWinTest, NamesOutsideTheAnsiCodePageWork)
{
    // Why: a Japanese user's folders have Japanese names, which the narrow ("A") calls of a
    // Western system cannot spell; the stale-temporary search must match them too.
    const std::filesystem::path dir = m_dir / L"ルペタの設定";
    std::filesystem::create_directory(dir);
    const auto path = dir / L"rupeta.ini";
    const std::wstring stale = L".rupeta.ini." + std::to_wstring(GetCurrentProcessId()) + L".0.tmp";
    writeBytes(dir / stale, "half");
    ASSERT_TRUE(std::filesystem::exists(dir / stale));
    ASSERT_TRUE(FileAccess::replaceFile(utf8Path(path), "[Timer]\r\nTimer=45\r\n"));
    EXPECT_EQ(FileAccess::readRegularFile(utf8Path(path)), "[Timer]\r\nTimer=45\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / stale));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(FileAccessWinTest, ReadOnlyFileIsNotReplaced)
{
    // Why: the move needs only the folder's permission, yet a file the user made read-only
    // must stay as it is.
    const auto path = m_dir / "rupeta.ini";
    writeBytes(path, "old");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(FileAccess::replaceFile(utf8Path(path), "new"));
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(entries(), 1u);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileAccessWinTest, HiddenAndSystemMarksAreKeptAndANewFileIsPlain)
{
    // Why: a user who hid the file must not find it shown again after a save.
    const auto path = m_dir / "rupeta.ini";
    for (const DWORD marks :
         {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}}) {
        writeBytes(path, "old");
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), marks));
        ASSERT_TRUE(FileAccess::replaceFile(utf8Path(path), "new"));
        EXPECT_EQ(readBytes(path), "new");
        EXPECT_EQ(attributes(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), marks);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    const auto fresh = m_dir / "url.ini";
    ASSERT_TRUE(FileAccess::replaceFile(utf8Path(fresh), "created"));
    EXPECT_EQ(readBytes(fresh), "created");
    EXPECT_EQ(attributes(fresh) &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
              0u);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(FileAccessWinTest, FileHeldOpenWithoutSharingStaysAndLeavesNoTemporary)
{
    // Why: another program holding the file may make the move fail; the old file must then be
    // intact and no temporary file left beside it.
    const auto path = m_dir / "rupeta.ini";
    writeBytes(path, "old");
    {
        const Handle holder(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(FileAccess::replaceFile(utf8Path(path), "new"));
        EXPECT_EQ(entries(), 1u);
    }
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_TRUE(FileAccess::replaceFile(utf8Path(path), "new"));
    EXPECT_EQ(readBytes(path), "new");
}

TEST_F(FileAccessWinTest, LinkCountsAsUnwritable)
{
    // Why: whose a link is and where it leads are not checked on Windows, so the save leaves
    // it and its target alone.
    const auto target = m_dir / "target.ini";
    writeBytes(target, "target");
    const auto link = m_dir / "rupeta.ini";
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        GTEST_SKIP() << "this system makes no symbolic links for this user (error "
                     << GetLastError() << ")";
    // Wine 8 reports success but makes no link.
    if (attributes(link) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "this system claims to make symbolic links but makes none";
    ASSERT_NE(attributes(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_FALSE(FileAccess::replaceFile(utf8Path(link), "new"));
    EXPECT_EQ(readBytes(target), "target");
    EXPECT_NE(attributes(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(FileAccessWinTest, TemporariesOfEndedProcessesAreRemovedAtTheNextSave)
{
    // Why: a save killed half way left its temporary file behind for good, but one of a live
    // second instance may be in the middle of its own save.
    PROCESS_INFORMATION live = suspendedProcess();
    PROCESS_INFORMATION endedHeld = suspendedProcess();
    PROCESS_INFORMATION endedGone = suspendedProcess();
    TerminateProcess(endedHeld.hProcess, 0);
    TerminateProcess(endedGone.hProcess, 0);
    WaitForSingleObject(endedHeld.hProcess, INFINITE);
    WaitForSingleObject(endedGone.hProcess, INFINITE);
    for (const auto& process : {live, endedHeld, endedGone})
        CloseHandle(process.hThread);
    // Nobody holds this one any more, so its id is gone; the other is still held open here.
    CloseHandle(endedGone.hProcess);

    const auto tmp = [](DWORD pid, int n) {
        return ".rupeta.ini." + std::to_string(pid) + "." + std::to_string(n) + ".tmp";
    };
    const std::string stale[] = {tmp(endedHeld.dwProcessId, 0), tmp(endedGone.dwProcessId, 1),
                                 tmp(GetCurrentProcessId(), 7)};
    const std::string kept[] = {
        tmp(live.dwProcessId, 3), ".url.ini." + std::to_string(endedHeld.dwProcessId) + ".0.tmp",
        ".rupeta.ini.x.0.tmp", ".rupeta.ini." + std::to_string(endedHeld.dwProcessId)};
    for (const auto& name : stale)
        writeBytes(m_dir / name, "half");
    for (const auto& name : kept)
        writeBytes(m_dir / name, "not ours to remove");

    EXPECT_TRUE(FileAccess::replaceFile(utf8Path(m_dir / "rupeta.ini"), "new"));
    TerminateProcess(live.hProcess, 0);
    CloseHandle(live.hProcess);
    CloseHandle(endedHeld.hProcess);
    for (const auto& name : stale)
        EXPECT_FALSE(std::filesystem::exists(m_dir / name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(std::filesystem::exists(m_dir / name)) << name;
    EXPECT_EQ(entries(), std::size(kept) + 1);
}
