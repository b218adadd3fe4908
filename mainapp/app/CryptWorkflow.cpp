#include "app/CryptWorkflow.h"

#include "app/FileListView.h"
#include "app/MainStrings.h"
#include "bundle/BundleHeader.h"
#include "bundle/BundleJob.h"
#include "files/BundleNaming.h"
#include "files/Marking.h"
#include "users/UserStores.h"
#include "users/VoiceDialogRunner.h"
#include "workflow/CryptProgressDlg.h"
#include "workflow/EncryptOptionsDlg.h"
#include "workflow/FilePasswordDlg.h"
#include "workflow/WorkflowStrings.h"

#include "AppUserDic.h"
#include "MessageService.h"
#include "Setup/SetupFile.h"
#include "Setup/SetupSecure.h"

#include <QItemSelectionModel>
#include <QModelIndex>

#include <filesystem>
#include <system_error>

namespace deskwarden::app {

namespace fs = std::filesystem;
using workflow::CCryptProgressDlg;

namespace {

constexpr int kPurposeEncrypt = 1;
constexpr int kPurposeDecrypt = 2;

bool PathExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec)) && !ec;
}

std::vector<std::size_t> SelectedRows(const FileListView& view)
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    return rows;
}

CSetupSecure::tagSecureSettings SecureSettings(CSetupFile& setup)
{
    CSetupSecure::tagSecureSettings settings;
    // Unreadable settings read as zeros: nothing is deleted after a job then.
    setup.GetSetupSecure().GetAppSettings(settings);
    return settings;
}

void Tell(const std::string& text, MessageIcon icon = MessageIcon::Information)
{
    CMessageService::Report(kProductCaption, text, icon);
}

} // namespace

CryptWorkflow::CryptWorkflow(
    CSetupFile& setup, users::UserStores& stores, users::VoiceDialogRunner& voice, QWidget* parent)
    : m_setup(setup)
    , m_stores(stores)
    , m_voice(voice)
    , m_parent(parent)
{
}

std::optional<std::string> CryptWorkflow::VerifyVoice(int purpose)
{
    users::VoiceRequest request;
    request.mode = users::kVoiceVerify;
    request.purpose = purpose;
    request.verifyRepeat = 1;
    const users::VoiceReply reply = m_voice.Run(request);
    users::RemoveTemporaryModel(m_stores, reply.nick);
    if (reply.result != users::kVoiceAccepted || reply.userId.empty())
        return std::nullopt;
    return reply.userId;
}

std::string CryptWorkflow::TempFolder() const
{
    return m_setup.GetAppPath() + "/tmp";
}

bool CryptWorkflow::MarkOrSayNone(FileListView& view, bool selectedOnly, std::string& shortestPath)
{
    const files::MarkResult marked = files::MarkRows(view.List(), selectedOnly, SelectedRows(view));
    view.Refresh();
    if (marked.marked == 0) {
        Tell(workflow::kNoFiles, MessageIcon::Warning);
        return false;
    }
    shortestPath = marked.shortestParentPath;
    return true;
}

void CryptWorkflow::Encrypt(FileListView& view, bool selectedOnly)
{
    std::string shortest;
    if (!MarkOrSayNone(view, selectedOnly, shortest))
        return;
    const std::optional<std::string> userId = VerifyVoice(kPurposeEncrypt);
    if (!userId)
        return;
    const std::string ownerKey = m_stores.users.GetCertiKey(*userId);
    workflow::CEncryptOptionsDlg options(
        m_stores.users, view.List(), *userId, ownerKey, files::DefaultBundleName(shortest, PathExists), m_parent);
    if (options.exec() != QDialog::Accepted)
        return;
    const workflow::EncryptSettings& settings = options.Settings();
    bundle::EncryptRequest request;
    request.markedPaths = files::MarkedPaths(view.List());
    request.outputPath = settings.bundlePath;
    request.deleteSources = SecureSettings(m_setup).deleteSourceAfterEncrypt == 1;
    request.header.password = settings.password;
    request.header.owner = {settings.ownerId, settings.ownerKey};
    for (std::size_t i = 0; i < settings.permittedIds.size(); ++i)
        request.header.permitted.push_back({settings.permittedIds[i], settings.permittedKeys[i]});
    request.tempFolder = TempFolder();
    CCryptProgressDlg progress(
        CCryptProgressDlg::Mode::Encrypt,
        [request](bundle::JobObserver& observer, std::atomic<int>& flag) {
            return std::make_shared<bundle::BundleJob>(request, observer, flag);
        },
        m_parent);
    if (progress.exec() != QDialog::Accepted) {
        if (progress.JobResult() == bundle::kJobFailed)
            Tell(progress.FailureText(), MessageIcon::Error);
        return;
    }
    view.RemoveAll();
    view.AddPaths({settings.bundlePath});
}

void CryptWorkflow::Decrypt(FileListView& view, bool selectedOnly)
{
    std::string shortest;
    if (!MarkOrSayNone(view, selectedOnly, shortest))
        return;
    std::vector<files::FileItem>& rows = view.List().MutableRows();
    for (files::FileItem& row : rows) {
        if (!row.marked || row.isFolder)
            continue;
        bundle::BundleHeader header;
        std::string error;
        row.isValidBundle = bundle::ReadHeader(row.fullPath, header, error);
        if (!row.isValidBundle)
            row.remarks = workflow::kNotABundle;
    }
    view.Refresh();
    const std::optional<std::string> userId = VerifyVoice(kPurposeDecrypt);
    if (!userId)
        return;
    const std::string userKey = m_stores.users.GetCertiKey(*userId);
    for (std::size_t i = 0; i < view.List().Rows().size(); ++i) {
        if (view.List().Rows()[i].marked && view.List().Rows()[i].isValidBundle)
            DecryptRow(i, view, *userId, userKey);
        view.Refresh();
    }
    files::DropVanishedRows(view.List());
    view.Refresh();
}

void CryptWorkflow::DecryptRow(
    std::size_t index, FileListView& view, const std::string& userId, const std::string& userKey)
{
    files::FileItem& row = view.List().MutableRows()[index];
    if (!PathExists(row.fullPath)) {
        row.remarks = workflow::kBundleMissing;
        row.isValidBundle = false;
        return;
    }
    bundle::BundleHeader header;
    std::string error;
    if (!bundle::ReadHeader(row.fullPath, header, error)) {
        row.remarks = workflow::kNotABundle;
        return;
    }
    std::string password;
    if (!header.values.password.empty()) {
        workflow::CFilePasswordDlg ask(row.name, m_parent);
        if (ask.exec() != QDialog::Accepted) {
            row.remarks = workflow::kCancelled;
            return;
        }
        password = ask.Password();
    }
    if (!bundle::CheckAccess(header, userId, userKey, password)) {
        row.remarks = workflow::kNoPermission;
        return;
    }
    const std::string folder = files::DecryptionFolder(
        row.fullPath, static_cast<int>(m_setup.GetAppSecureMakeType()), m_setup.GetAppSecureFolder());
    std::error_code ec;
    if (folder.empty() || (fs::create_directories(folder, ec), ec))
        return;
    bundle::DecryptRequest request {row.fullPath, folder, TempFolder()};
    CCryptProgressDlg progress(
        CCryptProgressDlg::Mode::Decrypt,
        [request](bundle::JobObserver& observer, std::atomic<int>& flag) {
            return std::make_shared<bundle::BundleJob>(request, observer, flag);
        },
        m_parent);
    // The row may move while the window runs its own loop: find it by path afterwards.
    const std::string path = row.fullPath;
    const bool done = progress.exec() == QDialog::Accepted;
    for (files::FileItem& again : view.List().MutableRows()) {
        if (again.fullPath != path)
            continue;
        again.remarks = done ? workflow::kDecryptDone : workflow::kCancelled;
        if (progress.JobResult() == bundle::kJobFailed && !progress.FailureText().empty())
            again.remarks = progress.FailureText();
    }
    if (done && SecureSettings(m_setup).deleteBundleAfterDecrypt == 1)
        fs::remove(path, ec);
}

} // namespace deskwarden::app
