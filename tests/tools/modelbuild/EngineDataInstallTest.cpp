#include "EngineDataInstall.h"

#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace modelbuild {
namespace {

namespace fs = std::filesystem;

class EngineDataInstallTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = warden::test::ProcessScratchFolder() / "install_test";
        fs::remove_all(m_root);
        fs::create_directories(m_root / "data" / "word128");
        fs::create_directories(m_root / "data" / "iwrec");
        std::ofstream(m_root / "data" / "word128" / "aaj_m.bin") << "new background";
        std::ofstream(m_root / "data" / "iwrec" / "miwr.bin") << "vocabulary";
        std::ofstream(m_root / "data" / "README") << "not a model";
    }

    static std::string Content(const fs::path& path)
    {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_root;
};

TEST_F(EngineDataInstallTest, CopiesModelsOverOldOnesAndKeepsUserModels)
{
    const fs::path engine = m_root / "engine";
    fs::create_directories(engine / "word128");
    fs::create_directories(engine / "user" / "alice");
    std::ofstream(engine / "word128" / "aaj_m.bin") << "old background";
    std::ofstream(engine / "user" / "alice" / "aaj.bin") << "enrolled";
    std::string error;
    ASSERT_TRUE(InstallEngineData((m_root / "data").string(), engine.string(), error)) << error;
    EXPECT_EQ(Content(engine / "word128" / "aaj_m.bin"), "new background");
    EXPECT_EQ(Content(engine / "iwrec" / "miwr.bin"), "vocabulary");
    EXPECT_EQ(Content(engine / "user" / "alice" / "aaj.bin"), "enrolled");
    EXPECT_TRUE(fs::is_directory(engine / "work"));
    EXPECT_FALSE(fs::exists(engine / "README"));
}

// A checkout made under umask 002 carries group-writable models; the installation must not inherit that, or
// its strict check refuses every voice logon.
TEST_F(EngineDataInstallTest, CopiesAreTheOwnersAloneWhateverTheSourceModes)
{
    fs::permissions(m_root / "data" / "word128" / "aaj_m.bin", fs::perms(0664), fs::perm_options::replace);
    fs::permissions(m_root / "data" / "iwrec" / "miwr.bin", fs::perms(0666), fs::perm_options::replace);
    const fs::path engine = m_root / "engine";
    fs::create_directories(engine / "word128");
    std::ofstream(engine / "word128" / "aaj_m.bin") << "old background";
    fs::permissions(engine / "word128" / "aaj_m.bin", fs::perms(0664), fs::perm_options::replace);
    std::string error;
    ASSERT_TRUE(InstallEngineData((m_root / "data").string(), engine.string(), error)) << error;
    const auto mode = [](const fs::path& path) { return fs::status(path).permissions() & fs::perms::all; };
    EXPECT_EQ(mode(engine / "word128" / "aaj_m.bin"), fs::perms(0600));
    EXPECT_EQ(mode(engine / "iwrec" / "miwr.bin"), fs::perms(0600));
    EXPECT_EQ(mode(engine / "iwrec"), fs::perms(0700));
    EXPECT_EQ(mode(engine / "user"), fs::perms(0700));
    EXPECT_EQ(mode(engine / "work"), fs::perms(0700));
}

TEST_F(EngineDataInstallTest, RefusesASourceWithoutModelFolders)
{
    std::string error;
    EXPECT_FALSE(InstallEngineData((m_root / "engine-missing").string(), (m_root / "out").string(), error));
    EXPECT_NE(error.find("no word<K>/ or iwrec/"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_root / "out"));
}

} // namespace
} // namespace modelbuild
