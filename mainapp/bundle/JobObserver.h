#pragma once

#include <cstdint>
#include <string>

namespace deskwarden::bundle {

/**
 * What a running bundle job tells the window that shows it. Every call comes from the job's worker thread
 * (or a cipher helper thread of the same job), never two at a time: the window marshals them to its own
 * thread. The two questions block the job until they are answered.
 */
class JobObserver
{
public:
    virtual ~JobObserver() = default;

    /** The upper label: a file name with what is being done to it (see StatusLine). */
    virtual void StatusLine(const std::string& text) = 0;
    /** The lower label: the phase of the job. */
    virtual void PhaseText(const std::string& text) = 0;
    /** The upper bar: `done` bytes of the current file of `size` bytes. */
    virtual void FileProgress(std::uint64_t done, std::uint64_t size) = 0;
    /** The lower bar: `done` bytes of the whole job of `total` bytes. */
    virtual void OverallProgress(std::uint64_t done, std::uint64_t total) = 0;
    /** Asks string 145 (Yes/No, warning). @return true for Yes: replace the existing file. */
    virtual bool AskOverwrite(const std::string& question) = 0;
    /** Asks string 146 (Yes/No, warning) after the user cleared the continue flag. @return true for Yes: stop. */
    virtual bool AskStop(const std::string& question) = 0;
    /** The job's end: 1 success, 255 stopped, -1 failure; called last, once. */
    virtual void JobEnded(int result) = 0;
};

/** An observer that shows nothing, answers No to overwriting and Yes to stopping. */
class SilentObserver : public JobObserver
{
public:
    void StatusLine(const std::string&) override { }
    void PhaseText(const std::string&) override { }
    void FileProgress(std::uint64_t, std::uint64_t) override { }
    void OverallProgress(std::uint64_t, std::uint64_t) override { }
    bool AskOverwrite(const std::string&) override { return false; }
    bool AskStop(const std::string&) override { return true; }
    void JobEnded(int) override { }
};

} // namespace deskwarden::bundle
