#include "users/VoiceDlgRunner.h"

#include "../../support/SkinnedProgram.h"
#include "UserWindowTestSupport.h"

#include "voice/VoiceDlg.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

/** An installation with the default skin, without sounds and without a mixer. */
class VoiceDialogRunning : public UserWindowTest
{
protected:
    void SetUp() override
    {
        UserWindowTest::SetUp();
        warden::test::SilenceAudio();
        warden::test::CopyDefaultSkin(WARDEN_DATA_FOLDER, m_folder);
        AddProgramUser("alice", kAdministratorGroup);
    }

    void TearDown() override
    {
        warden::test::RestoreAudio();
        UserWindowTest::TearDown();
    }
};

TEST_F(VoiceDialogRunning, TheDialogGetsTheRequestAndTheStoresAndItsOutputsComeBack)
{
    VoiceDlgRunner runner(m_setup, m_users, m_voices, nullptr);
    VoiceRequest request;
    request.mode = kVoiceVerify;
    request.purpose = kPurposeUser;
    request.enrolRepeat = 5;
    request.verifyRepeat = 8;
    request.userId = "alice";
    request.word = "Sesame";
    request.nick = "aaj";

    VoiceRequest seen;
    bool storesGiven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CVoiceDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "the voice dialog was not shown";
            return;
        }
        seen = {dialog->Mode, dialog->Purpose, dialog->EnrolRepeat, dialog->VerifyRepeat, dialog->UserID, dialog->Word,
            dialog->Nick};
        storesGiven = dialog->SetupFile == &m_setup && dialog->UserDic == &m_users && dialog->VoiceDic == &m_voices;
        dialog->Word = "Harbour";
        dialog->Nick = "abj";
        dialog->UserID = "bob"; // as if typed into the dialog
        dialog->done(kVoiceAccepted);
    });
    const VoiceReply reply = runner.Run(request);

    EXPECT_EQ(seen.mode, kVoiceVerify);
    EXPECT_EQ(seen.purpose, kPurposeUser);
    EXPECT_EQ(seen.enrolRepeat, 5);
    EXPECT_EQ(seen.verifyRepeat, 8);
    EXPECT_EQ(seen.userId, "alice");
    EXPECT_EQ(seen.word, "Sesame");
    EXPECT_EQ(seen.nick, "aaj");
    EXPECT_TRUE(storesGiven);
    EXPECT_EQ(reply.result, kVoiceAccepted);
    EXPECT_EQ(reply.word, "Harbour");
    EXPECT_EQ(reply.nick, "abj");
    EXPECT_EQ(reply.userId, "bob") << "the workflows act for the user the dialog verified";
}

} // namespace
} // namespace deskwarden::test
