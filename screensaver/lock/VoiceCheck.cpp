#include "lock/VoiceCheck.h"

#include "lock/LogonRight.h"
#include "rules/UnlockProtocol.h"

#include <cstdio>

namespace screenveil {

VoiceCheck::VoiceCheck(QString program, std::string appPath, int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_program(std::move(program))
    , m_appPath(std::move(appPath))
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(timeoutMs);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &VoiceCheck::ReadOutput);
    connect(&m_process, &QProcess::finished, this, &VoiceCheck::OnExit);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Conclude("the voice check did not start: " + m_process.errorString());
    });
    connect(&m_deadline, &QTimer::timeout, this, &VoiceCheck::OnTimeout);
}

VoiceCheck::~VoiceCheck()
{
    m_concluded = true;
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

void VoiceCheck::Start()
{
    m_output.clear();
    m_timedOut = false;
    m_abandonedFor.clear();
    m_concluded = false;
    m_process.start(m_program, QStringList());
    m_deadline.start();
}

bool VoiceCheck::Running() const
{
    return !m_concluded;
}

void VoiceCheck::ReadOutput()
{
    const QByteArray bytes = m_process.readAllStandardOutput();
    // Past the limit the output can no longer be a verdict; keep one byte more so that it reads as refused.
    const std::size_t room = kLongestCheckOutput + 1 - std::min(m_output.size(), kLongestCheckOutput + 1);
    m_output.append(bytes.constData(), std::min<std::size_t>(room, static_cast<std::size_t>(bytes.size())));
}

void VoiceCheck::OnTimeout()
{
    m_timedOut = true;
    m_process.kill();
}

void VoiceCheck::Abandon(const QString& reason)
{
    if (m_concluded)
        return;
    // Counted as a time-out, so that no output of the check can open the lock any more.
    m_timedOut = true;
    m_abandonedFor = reason;
    m_process.kill();
}

void VoiceCheck::OnExit(int exitCode, QProcess::ExitStatus status)
{
    if (m_concluded)
        return;
    ReadOutput();
    VoiceCheckOutcome outcome;
    outcome.exitedNormally = status == QProcess::NormalExit;
    outcome.exitCode = exitCode;
    outcome.timedOut = m_timedOut;
    outcome.output = m_output;
    const std::optional<std::string> user = AcceptedUser(outcome);
    if (!user) {
        Conclude(!m_abandonedFor.isEmpty() ? m_abandonedFor
                : m_timedOut               ? "the voice check took too long"
                                           : "the voice check refused");
        return;
    }
    if (!HasLogonRight(m_appPath, *user)) {
        Conclude("the accepted user has no logon permission");
        return;
    }
    m_deadline.stop();
    m_concluded = true;
    emit Finished(true, QString::fromStdString(*user));
}

void VoiceCheck::Conclude(const QString& reason)
{
    if (m_concluded)
        return;
    m_deadline.stop();
    m_concluded = true;
    std::fprintf(stderr, "ScreenVeil: %s\n", reason.toUtf8().constData());
    emit Finished(false, QString());
}

} // namespace screenveil
