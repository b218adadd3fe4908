#include "HelperRun.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wardengate::pam {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kMaxLine = 4096;

std::vector<char*> CArray(const std::vector<std::string>& texts)
{
    std::vector<char*> array;
    for (const std::string& text : texts)
        array.push_back(const_cast<char*>(text.c_str()));
    array.push_back(nullptr);
    return array;
}

bool Spawn(const std::string& program, const std::vector<std::string>& arguments,
    const std::vector<std::string>& environment, int outputFd, pid_t& pid, std::string& error)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> argv {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> cArgs = CArray(argv);
    std::vector<char*> cEnv = CArray(environment);
    const int status = posix_spawn(&pid, program.c_str(), &actions, nullptr, cArgs.data(), cEnv.data());
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0) {
        error = std::string("cannot start ") + program + ": " + std::strerror(status);
        return false;
    }
    return true;
}

void HandleLine(const std::string& line, HelperRun& run, const std::function<void(const std::string&)>& info)
{
    if (line.rfind("info ", 0) == 0)
        info(line.substr(5));
    else if (line == "reading-ended")
        run.lastReadingEnd = Clock::now();
    else if (line.rfind("result ", 0) == 0)
        run.resultLine = line;
}

// Reads until the helper closes its output or the deadline passes; true when it closed in time.
bool ReadLines(int fd, Clock::time_point deadline, HelperRun& run, const std::function<void(const std::string&)>& info)
{
    std::string pending;
    char buffer[512];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd watch {fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return true;
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            HandleLine(pending.substr(0, end), run, info);
            pending.erase(0, end + 1);
        }
        // A helper that talks without end is not answering; its line is dropped rather than kept growing.
        if (pending.size() > kMaxLine)
            pending.clear();
    }
}

void Record(int status, HelperRun& run)
{
    if (WIFEXITED(status)) {
        run.exitedNormally = true;
        run.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.signal = WTERMSIG(status);
    }
}

// A helper that closed its output may still linger; it gets until the deadline to end, then is killed.
void Reap(pid_t pid, Clock::time_point deadline, HelperRun& run)
{
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            Record(status, run);
            return;
        }
        if (ended < 0 && errno != EINTR)
            return;
        if (Clock::now() >= deadline)
            break;
        ::usleep(5000);
    }
    run.timedOut = true;
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
}

} // namespace

HelperRun RunHelper(const std::string& program, const std::vector<std::string>& arguments,
    const std::vector<std::string>& environment, std::chrono::milliseconds timeout,
    const std::function<void(const std::string&)>& info)
{
    HelperRun run;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        run.startError = std::string("no pipe: ") + std::strerror(errno);
        return run;
    }
    pid_t pid = 0;
    const bool spawned = Spawn(program, arguments, environment, pipeFds[1], pid, run.startError);
    ::close(pipeFds[1]);
    if (!spawned) {
        ::close(pipeFds[0]);
        return run;
    }
    run.started = true;
    const Clock::time_point deadline = Clock::now() + timeout;
    const bool closedInTime = ReadLines(pipeFds[0], deadline, run, info);
    ::close(pipeFds[0]);
    Reap(pid, closedInTime ? deadline : Clock::now(), run);
    return run;
}

} // namespace wardengate::pam
