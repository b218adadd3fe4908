#include "lock/LockDown.h"

#include "Setup/RegistryEx.h"

#include "FreshRootTest.h"

#include <cstdlib>

namespace screenveil {
namespace {

class LockDownTest : public warden::test::FreshRootTest
{
protected:
    void TearDown() override
    {
        ::unsetenv("WARDEN_OS_VERSION");
        FreshRootTest::TearDown();
    }

    /** The policy value, or -1 when it is not there. */
    int Policy()
    {
        CRegistryEx registry(platform::HKEY_CURRENT_USER);
        int value = -1;
        if (registry.Open(platform::HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System")
                == 0
            || registry.Read("DisableTaskMgr", value) == 0)
            return -1;
        return value;
    }
};

TEST_F(LockDownTest, TheNtFamilyKeepsTheTaskManagerAwayUntilTheLockEnds)
{
    ASSERT_EQ(Policy(), -1);
    EXPECT_TRUE(SetLockDown(true));
    EXPECT_EQ(Policy(), 1);
    EXPECT_TRUE(SetLockDown(false));
    EXPECT_EQ(Policy(), 0);
}

TEST_F(LockDownTest, The9xFamilyWritesNoPolicy)
{
    ::setenv("WARDEN_OS_VERSION", "2", 1);
    EXPECT_TRUE(SetLockDown(true));
    EXPECT_EQ(Policy(), -1);
}

} // namespace
} // namespace screenveil
