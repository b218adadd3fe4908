#pragma once

#include <optional>
#include <string>
#include <vector>

class CAppUserDic;
class CSetupFile;
class QWidget;

namespace deskwarden::users {
class VoiceDialogRunner;
struct UserStores;
} // namespace deskwarden::users

namespace deskwarden::app {

class FileListView;

/**
 * The main window's encryption and decryption: marks the rows, checks the user's voice, asks for the
 * bundle's settings or its password, runs the job behind the progress window and shows the outcome in the
 * list. Every step the user can refuse leaves the files as they were.
 */
class CryptWorkflow
{
public:
    CryptWorkflow(CSetupFile& setup, users::UserStores& stores, users::VoiceDialogRunner& voice, QWidget* parent);

    /** Packs the marked rows into one bundle; on success the list holds only the new bundle. */
    void Encrypt(FileListView& view, bool selectedOnly);
    /** Unpacks each marked bundle the verified user may open, writing the outcome into its remarks. */
    void Decrypt(FileListView& view, bool selectedOnly);

private:
    /** The voice check for `purpose`; the verified user's ID, or nothing. */
    std::optional<std::string> VerifyVoice(int purpose);
    std::string TempFolder() const;
    bool MarkOrSayNone(FileListView& view, bool selectedOnly, std::string& shortestPath);
    void DecryptRow(std::size_t row, FileListView& view, const std::string& userId, const std::string& userKey);

    CSetupFile& m_setup;
    users::UserStores& m_stores;
    users::VoiceDialogRunner& m_voice;
    QWidget* m_parent;
};

} // namespace deskwarden::app
