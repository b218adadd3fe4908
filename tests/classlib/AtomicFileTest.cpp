#include "AtomicFile.h"

#include "StoreFaults.h"
#include "StoreTestSupport.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using store_test::ReadBytes;
using store_test::WriteBytes;

using store_test::FailAfter;

class AtomicFileTest : public store_test::FreshRootTest
{
protected:
    std::size_t FilesInRoot() const
    {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(Root()), std::filesystem::directory_iterator()));
    }
};

TEST_F(AtomicFileTest, FailureAtEveryByteLeavesTheOldFileAndNoTemporary)
{
    const std::string path = Path("store.dat");
    const std::string oldBytes = "old content";
    const std::string newBytes = "a longer, entirely new content";
    WriteBytes(path, oldBytes);
    for (std::size_t budget = 0; budget < newBytes.size(); ++budget) {
        std::string error;
        EXPECT_FALSE(talk::ReplaceFileAtomically(path, newBytes, error, FailAfter(budget))) << budget;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(ReadBytes(path), oldBytes) << budget;
        EXPECT_EQ(FilesInRoot(), 1u) << budget;
    }
    std::string error;
    EXPECT_TRUE(talk::ReplaceFileAtomically(path, newBytes, error, FailAfter(newBytes.size())));
    EXPECT_EQ(ReadBytes(path), newBytes);
}

TEST_F(AtomicFileTest, CrashMidWriteLeavesTheOldOrTheNewFile)
{
    const std::string path = Path("store.dat");
    const std::string oldBytes(5000, 'o');
    const std::string newBytes(9000, 'n');
    for (const std::size_t crashAt : {std::size_t {0}, std::size_t {1}, std::size_t {4096}, std::size_t {8999}}) {
        WriteBytes(path, oldBytes);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto left = crashAt;
            std::string error;
            (void)talk::ReplaceFileAtomically(path, newBytes, error, [&](int fd, const char* data, std::size_t size) {
                const std::size_t n = std::min(size, left);
                if (n > 0) {
                    (void)!::write(fd, data, n);
                }
                left -= n;
                if (left == 0) {
                    ::_exit(3); // dies with the temporary file half written
                }
                return static_cast<ssize_t>(n);
            });
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 3);
        EXPECT_EQ(ReadBytes(path), oldBytes) << crashAt;
    }
}

TEST_F(AtomicFileTest, KeepsThePermissionBitsOfTheReplacedFile)
{
    const std::string path = Path("private.dat");
    WriteBytes(path, "x");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    std::string error;
    ASSERT_TRUE(talk::ReplaceFileAtomically(path, "y", error));
    struct stat info
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AtomicFileTest, ReadRefusesMissingFoldersAndOverlongFiles)
{
    std::string bytes = "unchanged";
    std::string error;
    EXPECT_FALSE(talk::ReadWholeFile(Path("missing"), bytes, error));
    EXPECT_FALSE(talk::ReadWholeFile(Root().string(), bytes, error));
    WriteBytes(Path("big"), std::string(100, 'b'));
    EXPECT_FALSE(talk::ReadWholeFile(Path("big"), bytes, error, 99));
    EXPECT_EQ(bytes, "unchanged");
    EXPECT_TRUE(talk::ReadWholeFile(Path("big"), bytes, error, 100));
    EXPECT_EQ(bytes.size(), 100u);
}

TEST_F(AtomicFileTest, WriteIntoAMissingFolderFails)
{
    std::string error;
    EXPECT_FALSE(talk::ReplaceFileAtomically(Path("no/such/folder/file"), "x", error));
    EXPECT_FALSE(error.empty());
}

} // namespace
