#pragma once

#include "MessageService.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace system_test {

/** One message box as the class library asked for it. */
struct ShownMessage
{
    std::string caption;
    std::string text;
    MessageIcon icon;
};

/** Records the message boxes instead of showing them. */
class RecordingMessageService : public CMessageService
{
public:
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override
    {
        m_shown.push_back({caption, text, icon});
    }
    const std::vector<ShownMessage>& Shown() const { return m_shown; }

private:
    std::vector<ShownMessage> m_shown;
};

/** A fresh system root per test and a recording message service. */
class FreshSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "warden-system-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        ::setenv("WARDEN_ROOT", m_root.c_str(), 1);
        CMessageService::Install(&m_messages);
    }

    void TearDown() override
    {
        CMessageService::Install(nullptr);
        ::unsetenv("WARDEN_ROOT");
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::filesystem::path& Root() const { return m_root; }
    const std::vector<ShownMessage>& Messages() const { return m_messages.Shown(); }

private:
    std::filesystem::path m_root;
    RecordingMessageService m_messages;
};

} // namespace system_test
