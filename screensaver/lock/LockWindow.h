#pragma once

#include "lock/InputGrab.h"
#include "lock/LockSettings.h"
#include "lock/SlideShow.h"
#include "rules/LockSession.h"
#include "rules/Memo.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace screenveil {

class VoiceCheck;

/**
 * The lock: one window over every screen, on top of everything, without a cursor, that holds the keyboard
 * and pointer and shows the slide show with the comment and the messages left. Keys and clicks go to the
 * plain LockSession, which decides; this window starts the voice check it asks for, opens the message
 * dialog, and closes only once the session is unlocked.
 */
class LockWindow final : public QWidget
{
    Q_OBJECT
public:
    /** `voiceProgram` runs one voice check; `appPath` is the installation whose users may unlock. */
    LockWindow(LockContent content, QString voiceProgram, std::string appPath);
    ~LockWindow() override;

    /** Covers the screens and starts holding the input. */
    void Lock();
    /** The messages left while locked, in the order left. */
    const std::vector<Memo>& Memos() const { return m_memos; }
    const LockSession& Session() const { return m_session; }

signals:
    /** The session was unlocked and the window is going away. */
    void Unlocked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void React(LockInput input);
    void StartAttempt();
    void AttemptEnded(bool accepted, const QString& userId);
    void OpenMemo();
    void KeepInput();
    void WatchCheckHoldsInput();
    void TickShow();
    void PaintTexts(QPainter& painter) const;
    void PaintGrabWarning(QPainter& painter) const;

    LockContent m_content;
    LockSession m_session;
    InputGrab m_grab;
    std::unique_ptr<VoiceCheck> m_check;
    std::unique_ptr<SlideShow> m_show;
    std::vector<Memo> m_memos;
    QTimer m_grabRetry;
    QTimer m_showTimer;
    QElapsedTimer m_clock;
    QElapsedTimer m_checkWithoutInput; // since when a running check has held neither keyboard nor pointer
    QRect m_showArea;
    bool m_memoOpen = false;
    bool m_closing = false;
    std::optional<bool> m_reportedHeld; // what stderr last said about the input, once per change
};

} // namespace screenveil
