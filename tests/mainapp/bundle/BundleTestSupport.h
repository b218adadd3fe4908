#pragma once

#include "bundle/BundleJob.h"
#include "bundle/JobObserver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace deskwarden::test {

namespace fs = std::filesystem;

/** Records what a job shows and answers its questions as told. */
class RecordingObserver : public bundle::JobObserver
{
public:
    void StatusLine(const std::string& text) override { statuses.push_back(text); }
    void PhaseText(const std::string& text) override { phases.push_back(text); }
    void FileProgress(std::uint64_t, std::uint64_t) override { }
    void OverallProgress(std::uint64_t done, std::uint64_t total) override
    {
        overallDone = done;
        overallTotal = total;
    }
    bool AskOverwrite(const std::string&) override
    {
        ++overwriteQuestions;
        return overwrite;
    }
    bool AskStop(const std::string&) override
    {
        ++stopQuestions;
        return stop;
    }
    void JobEnded(int result) override { ended.push_back(result); }

    bool overwrite = false;
    bool stop = true;
    int overwriteQuestions = 0;
    int stopQuestions = 0;
    std::vector<std::string> statuses;
    std::vector<std::string> phases;
    std::vector<int> ended;
    std::uint64_t overallDone = 0;
    std::uint64_t overallTotal = 0;
};

/** A folder of one test with its sources, output and temporary folders, removed afterwards. */
class BundleFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "bundle-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        fs::create_directories(root / "src");
        fs::create_directories(root / "out");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    std::string Path(const std::string& relative) const { return (root / relative).string(); }

    void Write(const std::string& relative, const std::string& content) const
    {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << content;
    }

    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    bundle::HeaderValues Owner(const std::string& password = "") const
    {
        return {password, {"alice", "KEY-alice"}, {{"bob", "KEY-bob"}}};
    }

    int Pack(const std::vector<std::string>& marked, const std::string& bundlePath, unsigned threads = 2,
        bool deleteSources = false)
    {
        bundle::BundleJob job(
            bundle::EncryptRequest {marked, bundlePath, deleteSources, Owner(), Path("tmp")}, observer, continueFlag);
        job.SetCipherThreads(threads);
        const int result = job.Run();
        lastError = job.ErrorText();
        return result;
    }

    int Unpack(const std::string& bundlePath, const std::string& outFolder, unsigned threads = 2)
    {
        bundle::BundleJob job(bundle::DecryptRequest {bundlePath, outFolder, Path("tmp")}, observer, continueFlag);
        job.SetCipherThreads(threads);
        const int result = job.Run();
        lastError = job.ErrorText();
        return result;
    }

    /** Every path below `folder`, relative, links included and not followed. */
    static std::vector<std::string> Listing(const fs::path& folder)
    {
        std::vector<std::string> paths;
        for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
            paths.push_back(fs::relative(it->path(), folder).string());
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    fs::path root;
    RecordingObserver observer;
    std::atomic<int> continueFlag {1};
    std::string lastError;
};

} // namespace deskwarden::test
