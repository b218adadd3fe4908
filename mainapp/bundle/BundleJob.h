#pragma once

#include "bundle/BundleHeader.h"
#include "bundle/JobObserver.h"
#include "bundle/JobRunner.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace deskwarden::bundle {

/** Job results, as the progress window receives them. */
inline constexpr int kJobSucceeded = 1;
inline constexpr int kJobStopped = 255;
inline constexpr int kJobFailed = -1;

/** What an encryption job packs and where. */
struct EncryptRequest
{
    std::vector<std::string> markedPaths; // files and folders, in the list's order
    std::string outputPath; // the bundle to write
    bool deleteSources = false; // the secure setting deleteSourceAfterEncrypt
    HeaderValues header;
    std::string tempFolder; // created when missing; the application folder's "/tmp"
};

/** What a decryption job unpacks and where. */
struct DecryptRequest
{
    std::string bundlePath;
    std::string outputFolder; // must exist; nothing is ever written outside it
    std::string tempFolder;
};

/**
 * One run of packing or unpacking a bundle, made by the progress window and run on a worker thread.
 *
 * The job reports to `observer` from its own threads and watches `continueFlag`: the window stores 0 to
 * ask it to stop; the job then asks string 146 and either stops (Yes) or stores 1 again and goes on (No).
 * Both must outlive the job. Files are enciphered or deciphered by up to CipherThreads() threads at once;
 * the bundle itself is always written and read in order, so the result does not depend on that number.
 *
 * Unpacking writes each file under a hidden temporary name beside its target and renames it into place
 * only after its check value matched, so a failed or stopped job leaves no unauthenticated plain text.
 */
class BundleJob : public RunnableJob
{
public:
    BundleJob(EncryptRequest request, JobObserver& observer, std::atomic<int>& continueFlag);
    BundleJob(DecryptRequest request, JobObserver& observer, std::atomic<int>& continueFlag);
    ~BundleJob() override;
    BundleJob(const BundleJob&) = delete;
    BundleJob& operator=(const BundleJob&) = delete;

    /** How many files are enciphered or deciphered at once; at least 1. Set before Run. */
    void SetCipherThreads(unsigned count) noexcept;
    unsigned CipherThreads() const noexcept;

    /**
     * Packs or unpacks, then tells the observer JobEnded with the result.
     * @return kJobSucceeded, kJobStopped (the user stopped it, or a source vanished while it was being
     *         packed) or kJobFailed (ErrorText says why).
     */
    int Run() noexcept override;

    /** The reason of the last failure, for the caller's message; empty after success. */
    const std::string& ErrorText() const noexcept;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace deskwarden::bundle
