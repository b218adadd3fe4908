#pragma once

#include "TalkExport.h"

#include <string>

/** The icon a message box shows. */
enum class MessageIcon
{
    Information,
    Warning,
    Error,
    Question
};

/**
 * Where the class library's own message boxes go. The user interface installs a service that shows a real
 * message box; without one, messages are written to standard error so that none is lost silently.
 * Implementations are called from the thread that reports the message.
 */
class TALK_API CMessageService
{
public:
    virtual ~CMessageService();

    /** Shows one message box without an owner window and returns when it has been dismissed. */
    virtual void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) noexcept = 0;

    /**
     * Asks a Yes/No question (exclamation icon) and returns true for Yes. This default, for services that
     * cannot ask, shows the question as a warning and answers No, so that nothing goes ahead unconfirmed.
     */
    virtual bool AskYesNo(const std::string& caption, const std::string& text) noexcept;

    /**
     * Installs `service` for the whole process (null restores the standard-error fallback).
     * The caller keeps ownership and keeps the service alive until it is replaced.
     */
    static void Install(CMessageService* service) noexcept;

    /** Sends one message to the installed service, or to standard error when none is installed. */
    static void Report(const std::string& caption, const std::string& text, MessageIcon icon) noexcept;

    /** Sends one question to the installed service; without one it goes to standard error and is answered No. */
    static bool Ask(const std::string& caption, const std::string& text) noexcept;
};
