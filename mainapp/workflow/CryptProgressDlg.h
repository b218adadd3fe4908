#pragma once

#include "bundle/BundleJob.h"
#include "bundle/JobObserver.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;

namespace deskwarden::workflow {

/**
 * The progress window of a bundle job (template 232): the current file's bar above, the whole job's below,
 * and the job's status and phase. 200 ms after it opens it makes its job and runs it on its own worker.
 * Closing it asks the job to stop; the job asks whether to stop and goes on when told No. The window ends
 * with Accepted only when the job succeeded and nobody asked it to stop meanwhile.
 */
class CCryptProgressDlg final : public QDialog, private bundle::JobObserver
{
    Q_OBJECT
public:
    enum class Mode
    {
        Encrypt,
        Decrypt,
    };
    /** Makes the job for this window, given the window's observer and continue flag. */
    using JobFactory = std::function<std::shared_ptr<bundle::BundleJob>(bundle::JobObserver&, std::atomic<int>&)>;

    CCryptProgressDlg(Mode mode, JobFactory makeJob, QWidget* parent = nullptr);
    ~CCryptProgressDlg() override;

    /** The job's result once the window ended (0 while it runs); its reason when it failed. */
    int JobResult() const { return m_result; }
    const std::string& FailureText() const { return m_failure; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void StartJob();
    void Finish(int result);

    // Called on the job's thread; each hands over to this window's thread.
    void StatusLine(const std::string& text) override;
    void PhaseText(const std::string& text) override;
    void FileProgress(std::uint64_t done, std::uint64_t size) override;
    void OverallProgress(std::uint64_t done, std::uint64_t total) override;
    bool AskOverwrite(const std::string& question) override;
    bool AskStop(const std::string& question) override;
    void JobEnded(int result) override;

    bool AskOnWindowThread(const std::string& question);

    JobFactory m_makeJob;
    std::atomic<int> m_continue {1};
    std::shared_ptr<bundle::BundleJob> m_job;
    std::unique_ptr<bundle::JobRunner> m_runner;
    int m_result = 0;
    std::string m_failure;
    bool m_running = false;
    QLabel* m_status = nullptr;
    QLabel* m_phase = nullptr;
    QProgressBar* m_fileBar = nullptr;
    QProgressBar* m_totalBar = nullptr;
    QLabel* m_filePercent = nullptr;
    QLabel* m_totalPercent = nullptr;
};

} // namespace deskwarden::workflow
