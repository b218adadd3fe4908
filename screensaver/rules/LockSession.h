#pragma once

namespace screenveil {

/** What reaches the lock window, sorted the way the lock tells inputs apart. */
enum class LockInput
{
    KeyF1,
    KeyF2,
    KeyF3,
    OtherKey, // any other key, pressed or released with Alt
    LeftButton,
    MiddleButton,
    RightButton,
    PointerMove,
    Other,
};

/** What the lock window does about an input. */
enum class LockReaction
{
    Nothing,
    StartAttempt, // start the voice check in its own process
    OpenMemo, // let a passer-by leave a message
};

/**
 * The lock's state between inputs and voice checks. The screen stays locked until a voice check reports
 * an accepted user with the logon permission; a check that fails in any way, crashes or hangs leaves it
 * locked, and the next input starts a new one. At most one check runs at a time.
 */
class LockSession
{
public:
    LockReaction OnInput(LockInput input);
    /** The running check ended; `accepted` only for an accepted user with the logon permission. */
    void AttemptEnded(bool accepted);

    bool AttemptRunning() const { return m_attemptRunning; }
    bool Unlocked() const { return m_unlocked; }
    /** 1 while no recording runs; the F1 and F2 keys set it to 0 and 1. */
    int VoiceIdle() const { return m_voiceIdle; }

private:
    LockReaction StartAttempt();

    bool m_attemptRunning = false;
    bool m_unlocked = false;
    int m_voiceIdle = 1;
};

} // namespace screenveil
