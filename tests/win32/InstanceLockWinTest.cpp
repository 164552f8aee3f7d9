// The instance lock on Windows: one holder per directory, free again once the holder lets go.
#include "core/InstanceLock.h"
#include "core/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

TEST(InstanceLockWin, OneHolderPerDirectoryUntilItLetsGo)
{
    // Why: two copies in one directory would both count and both write rupeta.ini.
    auto first = std::make_unique<InstanceLock>(InstanceLock::defaultFolder());
    InstanceLock second(InstanceLock::defaultFolder());
    ASSERT_FALSE(first->key().empty());
    EXPECT_EQ(first->key(), second.key());
    EXPECT_EQ(first->claim(), InstanceLock::Claim::Claimed);
    EXPECT_EQ(second.claim(), InstanceLock::Claim::HeldElsewhere);
    first.reset();
    EXPECT_EQ(second.claim(), InstanceLock::Claim::Claimed);
}

TEST(InstanceLockWin, TheLockFileLandsInAFolderGivenWithOrWithoutItsClosingSeparator)
{
    // The folder is UTF-8 text: a Japanese user name puts Japanese into the temporary folder.
    const std::string base = InstanceLock::defaultFolder() + "ルペタの鍵";
    const std::wstring wideBase = widen(base);
    ASSERT_TRUE(CreateDirectoryW(wideBase.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    for (const std::string& folder : {base, base + "\\", base + "/"}) {
        SCOPED_TRACE(folder);
        InstanceLock lock(folder);
        ASSERT_EQ(lock.claim(), InstanceLock::Claim::Claimed);
        const std::wstring file = wideBase + L"\\" + widen(lock.key() + ".lock");
        EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(RemoveDirectoryW(wideBase.c_str())) << "a lock file was left behind";
}
