#include "TerminalLogon.h"

#include "LogonFlow.h"
#include "LogonTexts.h"

#include "voice/DriveList.h"

namespace wardengate {

namespace voice = talk::voice;

bool ReadInputLine(std::FILE* input, std::string& line)
{
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(input)) != EOF) {
        any = true;
        if (c == '\n')
            return true;
        line.push_back(static_cast<char>(c));
    }
    return any;
}

TerminalUser::TerminalUser(std::FILE* input, std::FILE* labels)
    : m_input(input)
    , m_labels(labels)
{
}

bool TerminalUser::Ask(const char* label, std::string& line)
{
    std::fprintf(m_labels, "%s: ", label);
    std::fflush(m_labels);
    return ReadInputLine(m_input, line);
}

bool TerminalUser::Command(LogonFlow& flow, const std::string& line)
{
    if (line == "/key")
        flow.PressButton(voice::kButtonFloppy);
    else if (line == "/exit")
        flow.PressButton(voice::kButtonExit);
    else
        return false;
    return true;
}

void TerminalUser::Act(LogonFlow& flow, int layout)
{
    const voice::LayoutVisibility shown = voice::VisibilityOf(layout);
    std::string line;
    if (shown.idField) {
        if (!Ask("ID", line)) {
            flow.PressButton(voice::kButtonExit);
            return;
        }
        if (Command(flow, line))
            return;
        flow.SetFieldText(voice::kIdField, line);
    }
    if (shown.passwordField) {
        if (!Ask("Password", line)) {
            flow.PressButton(voice::kButtonExit);
            return;
        }
        if (Command(flow, line))
            return;
        flow.SetFieldText(LogonFlow::kLogonPasswordField, line);
    }
    if (!shown.idField && !shown.passwordField) {
        if (!Ask("Enter to record", line)) {
            flow.PressButton(voice::kButtonExit);
            return;
        }
        if (Command(flow, line))
            return;
    }
    flow.PressEnter();
}

TerminalDriveChooser::TerminalDriveChooser(std::FILE* input, std::FILE* labels)
    : m_input(input)
    , m_labels(labels)
{
}

std::string TerminalDriveChooser::ChooseDrive()
{
    const voice::DriveList drives = voice::DriveList::OfAttachedDrives();
    if (drives.IsEmpty()) {
        std::fprintf(m_labels, "%s\n", texts::kNoRemovableDrive);
        return "";
    }
    std::fprintf(m_labels, "%s\n", voice::DriveList::kTitle);
    for (std::size_t i = 0; i < drives.Entries().size(); ++i)
        std::fprintf(m_labels, "%zu %s\n", i + 1, drives.Entries()[i].c_str());
    std::fprintf(m_labels, "Drive: ");
    std::fflush(m_labels);
    std::string line;
    if (!ReadInputLine(m_input, line))
        return "";
    const std::size_t chosen = std::strtoul(line.c_str(), nullptr, 10);
    return chosen == 0 ? std::string() : drives.FolderOf(chosen - 1);
}

} // namespace wardengate
