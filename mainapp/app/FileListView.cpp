#include "app/FileListView.h"

#include "files/ListCommands.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace deskwarden::app {

namespace {

std::vector<std::string> LocalPathsOf(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (data == nullptr)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        // A dropped link stands for what it points at.
        const QFileInfo info(url.toLocalFile());
        paths.push_back((info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath()).toStdString());
    }
    return paths;
}

} // namespace

FileListView::FileListView(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName("1006");
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    // Grid lines between the cells, as a report list draws them.
    setStyleSheet("QTreeWidget::item { border-right: 1px solid #d8d8d8; border-bottom: 1px solid #d8d8d8; }");
    QStringList titles;
    for (const files::ListColumn& column : files::kListColumns)
        titles << QString::fromUtf8(column.title);
    setHeaderLabels(titles);
    header()->setSectionsMovable(true);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(0, Qt::AscendingOrder);
    for (int i = 0; i < static_cast<int>(std::size(files::kListColumns)); ++i)
        setColumnWidth(i, files::kListColumns[i].width);
    headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    headerItem()->setTextAlignment(2, Qt::AlignCenter);
    connect(header(), &QHeaderView::sectionClicked, this, &FileListView::SortBy);
}

int FileListView::AddPaths(const std::vector<std::string>& paths)
{
    const int added = m_list.AddAll(paths);
    if (added > 0)
        Refresh();
    return added;
}

void FileListView::RemoveSelected()
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    m_list.RemoveRows(rows);
    Refresh();
}

void FileListView::RemoveAll()
{
    m_list.Clear();
    Refresh();
}

void FileListView::Refresh()
{
    clear();
    QFileIconProvider icons;
    for (const files::FileItem& row : m_list.Rows()) {
        auto* item = new QTreeWidgetItem(this);
        item->setIcon(0, icons.icon(QFileInfo(QString::fromStdString(row.fullPath))));
        item->setText(0, QString::fromStdString(row.name));
        item->setText(1, QString::fromStdString(files::SizeText(row)));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(2, QString::fromStdString(files::DateText(row)));
        item->setTextAlignment(2, Qt::AlignCenter);
        item->setText(3, QString::fromStdString(row.remarks));
        item->setToolTip(0, QString::fromStdString(row.fullPath));
    }
    header()->setSortIndicator(
        static_cast<int>(m_list.SortColumn()), m_list.SortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void FileListView::SortBy(int column)
{
    m_list.ClickHeader(static_cast<files::Column>(column));
    Refresh();
}

void FileListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        RemoveSelected();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FileListView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_contextMenu != nullptr)
        m_contextMenu->popup(event->globalPos());
}

void FileListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void FileListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void FileListView::dropEvent(QDropEvent* event)
{
    AddPaths(LocalPathsOf(event->mimeData()));
    event->acceptProposedAction();
}

} // namespace deskwarden::app
