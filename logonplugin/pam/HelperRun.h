#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace wardengate::pam {

/** How the helper process ended and what it said. */
struct HelperRun
{
    bool started = false;
    bool timedOut = false; // killed at the deadline
    bool exitedNormally = false;
    int exitStatus = -1; // when exitedNormally
    int signal = 0; // the signal that ended it, otherwise
    std::string resultLine; // its last "result ..." line, or ""
    std::chrono::steady_clock::time_point lastReadingEnd {}; // when it last said "reading-ended"
    std::string startError; // when not started
};

/**
 * Runs `program` with exactly `arguments` and `environment` (nothing is inherited), its standard input and
 * error on /dev/null, and reads its standard output line by line: each "info TEXT" goes to `info` at once.
 * A helper still running at `timeout` is killed. Always waits for the process it started.
 */
HelperRun RunHelper(const std::string& program, const std::vector<std::string>& arguments,
    const std::vector<std::string>& environment, std::chrono::milliseconds timeout,
    const std::function<void(const std::string&)>& info);

} // namespace wardengate::pam
