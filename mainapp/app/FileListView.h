#pragma once

#include "files/FileList.h"

#include <QTreeWidget>

#include <string>
#include <vector>

class QMenu;

namespace deskwarden::app {

/**
 * The main window's file list (control 1006): shows the rows of a files::FileList, sorts by a clicked
 * column, takes dropped files and folders, removes the selected rows with Delete and opens its context
 * menu on a right click or the menu key. The rules are FileList's.
 */
class FileListView final : public QTreeWidget
{
public:
    explicit FileListView(QWidget* parent = nullptr);

    files::FileList& List() { return m_list; }
    const files::FileList& List() const { return m_list; }

    /** Adds what can be added and shows the list again. @return the rows added. */
    int AddPaths(const std::vector<std::string>& paths);
    void RemoveSelected();
    void RemoveAll();
    /** Shows the rows of List() again, after it changed behind the view's back. */
    void Refresh();

    void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void SortBy(int column);

    files::FileList m_list;
    QMenu* m_contextMenu = nullptr;
};

} // namespace deskwarden::app
