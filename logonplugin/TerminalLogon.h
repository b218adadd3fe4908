#pragma once

#include "ConsoleLogon.h"

#include "voice/VoicePorts.h"

#include <cstdio>
#include <string>

namespace wardengate {

/**
 * The person at the terminal: types the fields the dialog shows, one line each, and presses Enter with the
 * last. A line "/key" in place of a field presses the by-pass key button (with the fields typed so far) and
 * "/exit" the Exit button; the end of the input presses Exit too. Labels go to `labels`, lines come from `input`.
 */
class TerminalUser final : public ConsoleUser
{
public:
    TerminalUser(std::FILE* input, std::FILE* labels);
    void Act(LogonFlow& flow, int layout) override;

private:
    bool Ask(const char* label, std::string& line);
    bool Command(LogonFlow& flow, const std::string& line);

    std::FILE* m_input;
    std::FILE* m_labels;
};

/** The removable drives as a numbered list; the user types the number of the one holding the by-pass key. */
class TerminalDriveChooser final : public talk::voice::BypassDriveChooser
{
public:
    TerminalDriveChooser(std::FILE* input, std::FILE* labels);
    std::string ChooseDrive() override;

private:
    std::FILE* m_input;
    std::FILE* m_labels;
};

/** One line of `input` without its line end; false at the end of the input. */
bool ReadInputLine(std::FILE* input, std::string& line);

} // namespace wardengate
