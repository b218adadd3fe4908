#include <platform/PasswordHash.h>

#include <gtest/gtest.h>

using namespace platform::accounts;

namespace {

TEST(PasswordHashTest, VerifiesOnlyTheHashedPassword)
{
    const PasswordHash hash = HashPassword("correct horse", kMinIterations);
    EXPECT_TRUE(VerifyPassword("correct horse", hash));
    EXPECT_FALSE(VerifyPassword("correct hors", hash));
    EXPECT_FALSE(VerifyPassword("Correct horse", hash));
    EXPECT_FALSE(VerifyPassword("", hash));
    const PasswordHash empty = HashPassword("", kMinIterations);
    EXPECT_TRUE(VerifyPassword("", empty));
}

TEST(PasswordHashTest, EachHashHasItsOwnSalt)
{
    const PasswordHash first = HashPassword("same", kMinIterations);
    const PasswordHash second = HashPassword("same", kMinIterations);
    EXPECT_NE(first.salt, second.salt);
    EXPECT_NE(first.hash, second.hash);
}

TEST(PasswordHashTest, MalformedRecordsNeverVerify)
{
    PasswordHash hash = HashPassword("pw", kMinIterations);
    PasswordHash shortSalt = hash;
    shortSalt.salt.pop_back();
    EXPECT_FALSE(VerifyPassword("pw", shortSalt));
    PasswordHash noIterations = hash;
    noIterations.iterations = 0;
    EXPECT_FALSE(VerifyPassword("pw", noIterations));
    PasswordHash otherIterations = hash;
    otherIterations.iterations = kMinIterations + 1;
    EXPECT_FALSE(VerifyPassword("pw", otherIterations));
    PasswordHash longHash = hash;
    longHash.hash.push_back(0);
    EXPECT_FALSE(VerifyPassword("pw", longHash));
}

} // namespace
