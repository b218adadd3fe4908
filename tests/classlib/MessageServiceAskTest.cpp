// Yes/No questions through the message service: who answers, and what nobody's answer is.
#include "MessageService.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

/** Shows nothing; remembers the messages and, when it can ask, answers as told. */
class AnsweringService : public CMessageService
{
public:
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept override
    {
        shown.push_back({caption, text});
        icons.push_back(icon);
    }
    std::vector<std::pair<std::string, std::string>> shown;
    std::vector<MessageIcon> icons;
};

class AskingService : public AnsweringService
{
public:
    bool AskYesNo(const std::string& caption, const std::string& text) noexcept override
    {
        asked.push_back({caption, text});
        return answer;
    }
    bool answer = true;
    std::vector<std::pair<std::string, std::string>> asked;
};

class MessageServiceAskTest : public testing::Test
{
protected:
    void TearDown() override { CMessageService::Install(nullptr); }
};

TEST_F(MessageServiceAskTest, WithoutAServiceTheAnswerIsNo)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CMessageService::Ask("Marlow", "go on?"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("go on?"), std::string::npos);
}

TEST_F(MessageServiceAskTest, AServiceThatCannotAskShowsAWarningAndAnswersNo)
{
    AnsweringService service;
    CMessageService::Install(&service);
    EXPECT_FALSE(CMessageService::Ask("Marlow", "go on?"));
    ASSERT_EQ(service.shown.size(), 1u);
    EXPECT_EQ(service.shown[0], (std::pair<std::string, std::string> {"Marlow", "go on?"}));
    EXPECT_EQ(service.icons[0], MessageIcon::Warning);
}

TEST_F(MessageServiceAskTest, AServiceThatAsksGivesItsOwnAnswer)
{
    AskingService service;
    CMessageService::Install(&service);
    EXPECT_TRUE(CMessageService::Ask("Marlow", "go on?"));
    service.answer = false;
    EXPECT_FALSE(CMessageService::Ask("Marlow", "again?"));
    ASSERT_EQ(service.asked.size(), 2u);
    EXPECT_EQ(service.asked[1], (std::pair<std::string, std::string> {"Marlow", "again?"}));
    EXPECT_TRUE(service.shown.empty());
}

} // namespace
