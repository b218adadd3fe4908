#include "users/CentredIconDelegate.h"

#include <QApplication>
#include <QPainter>

namespace deskwarden::users {

void CentredIconDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QIcon icon = cell.icon;
    cell.icon = QIcon();
    cell.features &= ~QStyleOptionViewItem::HasDecoration;
    const QStyle* style = cell.widget != nullptr ? cell.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
    if (!icon.isNull()) {
        const QIcon::Mode mode = (cell.state & QStyle::State_Selected) != 0 ? QIcon::Selected : QIcon::Normal;
        const QRect target = QStyle::alignedRect(cell.direction, Qt::AlignCenter, cell.decorationSize, cell.rect);
        icon.paint(painter, target, Qt::AlignCenter, mode);
    }
}

} // namespace deskwarden::users
