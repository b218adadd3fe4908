#pragma once

#include "MessageService.h"

#include <gtest/gtest.h>

#include "../support/FreshRootTest.h"

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
class FreshSystemTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        CMessageService::Install(&m_messages);
    }

    void TearDown() override
    {
        CMessageService::Install(nullptr);
        FreshRootTest::TearDown();
    }

    const std::vector<ShownMessage>& Messages() const { return m_messages.Shown(); }

private:
    RecordingMessageService m_messages;
};

} // namespace system_test
