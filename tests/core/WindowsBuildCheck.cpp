// A small Windows program over the core, cross-compiled to prove that its Windows branches build.
// It cannot run on this Linux machine (no Windows loader, no wine), so the build test stops at a
// linked .exe; run on Windows, it checks the calls below and exits non-zero on a mismatch.
#include "core/Cp932.h"
#include "core/DateTime.h"
#include "core/FileAccess.h"
#include "core/InstanceLock.h"
#include "core/ProfileFile.h"
#include "core/Survey.h"
#include "core/TextToInt.h"
#include "core/UserId.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace {

int failures = 0;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::printf("FAILED: %s\n", what);
        ++failures;
    }
}

} // namespace

int main()
{
    const ProfileFile parsed = ProfileFile::parse("[Timer]\r\nTimer = 45 \r\n[User]\r\nID=x\r\n");
    check(textToInt(parsed.get("timer", "TIMER").value_or(""), 0) == 45, "profile and textToInt");
    check(textToInt("$1F", 0) == 31, "hexadecimal textToInt");

    const DateTime when = encodeDate(2026, 12, 9) + encodeTime(23, 59, 58);
    const auto back = parseDateTime(formatDateTime(when));
    check(formatDateTime(when) == "2026/12/09 23:59:58" && back &&
              formatDateTime(*back) == "2026/12/09 23:59:58",
          "date round trip");

    // The two characters whose trail byte is a backslash.
    constexpr std::string_view cp932 = "\x83\x5C\x95\x5C";
    check(utf8ToCp932("ソ表") == cp932 && cp932ToUtf8(cp932) == "ソ表", "cp932 round trip");
    check(cp932ToUtf8("\xA0Z") == "\xEF\xBF\xBDZ", "cp932 byte that does not convert");
    check(utf8ToCp932("a😀b") == "a?b", "character outside cp932");

    // The atomic save and the read: a value that survives, and a directory that is refused.
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(error);
    const std::filesystem::path file = dir / "rupeta-windows-build-check.ini";
    ProfileFile saved;
    saved.set("User", "ID", makeUserId(1));
    check(saved.saveAtomically(file), "atomic save");
    const auto reread = ProfileFile::read(file);
    check(reread && reread->get("User", "ID") == makeUserId(1), "read back after save");
    check(!saved.saveAtomically(dir), "save onto a directory fails");
    check(!FileAccess::readRegularFile(dir), "a directory is not read");

    // A read-only file stays as it is; a file over the cap is not read.
    std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove, error);
    check(!FileAccess::replaceFile(file, "new"), "read-only file refused");
    check(FileAccess::readRegularFile(file) == saved.bytes(), "read-only file unchanged");
    std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, error);
    check(FileAccess::replaceFile(file, std::string(FileAccess::MaxFileBytes + 1, '\n')) &&
              !FileAccess::readRegularFile(file),
          "file over the cap is not read");
    std::filesystem::remove(file, error);

    // One holder of the instance lock per directory, free again once it lets go.
    {
        auto first = std::make_unique<InstanceLock>(InstanceLock::defaultFolder());
        InstanceLock second(InstanceLock::defaultFolder());
        check(!first->key().empty() && first->key() == second.key(), "instance key");
        check(first->claim() == InstanceLock::Claim::Claimed, "instance lock claimed");
        check(second.claim() == InstanceLock::Claim::HeldElsewhere, "instance lock held");
        first.reset();
        check(second.claim() == InstanceLock::Claim::Claimed, "instance lock released");
    }

    check(startPageUrl("abc").ends_with("?ID=abc"), "start page address");
    check(surveyPageUrl("\x83\x5C").ends_with("?ID=ソ"), "survey page address converted");

    if (failures != 0)
        return 1;
    std::printf("all checks passed\n");
    return 0;
}
