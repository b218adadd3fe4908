#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <string>

namespace screenveil {

/**
 * Runs one voice check in its own process and tells whether it opens the lock. Only an exit with status 0
 * whose output names a user, who the user dictionary confirms has the logon permission, does; a crash, a
 * signal, a hang past the time limit or anything unexpected is a refusal.
 */
class VoiceCheck final : public QObject
{
    Q_OBJECT
public:
    /** `program` is the check's executable; `appPath` the installation whose users are asked. */
    VoiceCheck(QString program, std::string appPath, int timeoutMs, QObject* parent = nullptr);
    ~VoiceCheck() override;

    /** Starts a check. Finished follows in every case, also when the program cannot start. */
    void Start();
    bool Running() const;
    /** Ends a running check as refused, whatever it might still print; `reason` goes to stderr. */
    void Abandon(const QString& reason);

signals:
    /** `accepted` with the user's ID, or false with an empty ID. */
    void Finished(bool accepted, const QString& userId);

private:
    void ReadOutput();
    void Conclude(const QString& reason);
    void OnExit(int exitCode, QProcess::ExitStatus status);
    void OnTimeout();

    QString m_program;
    std::string m_appPath;
    QProcess m_process;
    QTimer m_deadline;
    std::string m_output;
    bool m_timedOut = false;
    QString m_abandonedFor;
    bool m_concluded = true;
};

} // namespace screenveil
