#include "settings/SettingsPrompts.h"

#include "skin/FlatPopupMenu.h"

#include <QCursor>
#include <QDir>
#include <QFileDialog>

namespace deskwarden::settings {

namespace {

std::string BrowseFolder(QWidget* owner, const std::string& prompt)
{
    return QFileDialog::getExistingDirectory(owner, QString::fromStdString(prompt), QDir::homePath()).toStdString();
}

int TrackMenu(QWidget* owner, const std::vector<std::string>& items)
{
    CFlatPopupMenu menu;
    menu.Create();
    for (std::size_t i = 0; i < items.size(); ++i)
        menu.AppendItem(0, items[i].c_str(), static_cast<unsigned>(i + 1));
    const QPoint at = QCursor::pos();
    const unsigned chosen = menu.Track(at.x(), at.y(), owner, true);
    return chosen == 0 ? -1 : static_cast<int>(chosen) - 1;
}

SettingsPrompts DefaultPrompts()
{
    return {BrowseFolder, TrackMenu};
}

} // namespace

SettingsPrompts& Prompts()
{
    static SettingsPrompts prompts = DefaultPrompts();
    return prompts;
}

void RestoreDefaultPrompts()
{
    Prompts() = DefaultPrompts();
}

} // namespace deskwarden::settings
