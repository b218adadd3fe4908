#pragma once

#include <QStyledItemDelegate>

namespace deskwarden::users {

/** Draws a cell's image in the middle of the cell: the permission columns show an image and no text. */
class CentredIconDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace deskwarden::users
