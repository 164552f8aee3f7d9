// Prints what Windows itself reports about running programs, one line per process of each name
// given: private bytes (the commit charge, PagefileUsage), working set, handles, GDI and USER
// objects, CPU time so far. The system's process list is read rather than each process opened,
// since Wine answers the per-process queries about other processes with zeros.
//   process-figures NAME.exe...
#include <windows.h>

#include <winternl.h>

#include <cwchar>
#include <vector>

namespace {

void print(const SYSTEM_PROCESS_INFORMATION& info)
{
    const auto id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info.UniqueProcessId));
    DWORD gdi = 0;
    DWORD user = 0;
    if (const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id)) {
        gdi = GetGuiResources(process, GR_GDIOBJECTS);
        user = GetGuiResources(process, GR_USEROBJECTS);
        CloseHandle(process);
    }
    const double cpu = static_cast<double>(info.UserTime.QuadPart + info.KernelTime.QuadPart) / 1e7;
    std::wprintf(L"%.*ls: private %.1f KB, working set %.1f KB, handles %lu, GDI objects %lu, "
                 L"USER objects %lu, CPU %.3f s\n",
                 static_cast<int>(info.ImageName.Length / sizeof(wchar_t)), info.ImageName.Buffer,
                 info.VirtualMemoryCounters.PagefileUsage / 1024.0,
                 info.VirtualMemoryCounters.WorkingSetSize / 1024.0, info.HandleCount, gdi, user,
                 cpu);
}

bool named(const SYSTEM_PROCESS_INFORMATION& info, const wchar_t* name)
{
    const int length = static_cast<int>(info.ImageName.Length / sizeof(wchar_t));
    return info.ImageName.Buffer != nullptr && lstrlenW(name) == length &&
           CompareStringOrdinal(info.ImageName.Buffer, length, name, length, TRUE) == CSTR_EQUAL;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    std::vector<unsigned char> buffer(1 << 16);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004L)) // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return 1;
    int found = 0;
    for (std::size_t at = 0;;) {
        const auto& info = *reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[at]);
        for (int i = 1; i < argc; ++i) {
            if (named(info, argv[i])) {
                print(info);
                ++found;
            }
        }
        if (info.NextEntryOffset == 0)
            break;
        at += info.NextEntryOffset;
    }
    return found >= argc - 1 ? 0 : 1;
}
