// The instance lock on Windows: one holder per directory, free again once the holder lets go.
#include "core/InstanceLock.h"

#include <gtest/gtest.h>

#include <memory>

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
