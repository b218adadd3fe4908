#include "rules/LockSession.h"

namespace screenveil {

LockReaction LockSession::OnInput(LockInput input)
{
    switch (input) {
    case LockInput::KeyF1:
        m_voiceIdle = 0;
        return LockReaction::Nothing;
    case LockInput::KeyF2:
        m_voiceIdle = 1;
        return LockReaction::Nothing;
    case LockInput::KeyF3:
    case LockInput::RightButton:
        return m_unlocked ? LockReaction::Nothing : LockReaction::OpenMemo;
    case LockInput::OtherKey:
    case LockInput::LeftButton:
    case LockInput::MiddleButton:
        return StartAttempt();
    case LockInput::PointerMove:
    case LockInput::Other:
        break;
    }
    return LockReaction::Nothing;
}

LockReaction LockSession::StartAttempt()
{
    if (m_unlocked || m_attemptRunning)
        return LockReaction::Nothing;
    m_attemptRunning = true;
    return LockReaction::StartAttempt;
}

void LockSession::AttemptEnded(bool accepted)
{
    if (!m_attemptRunning)
        return;
    m_attemptRunning = false;
    if (accepted)
        m_unlocked = true;
}

} // namespace screenveil
