#include "users/UserPageIcons.h"

#include "users/UserList.h"
#include "users/UserStrings.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace deskwarden::users {
namespace {

// Drawn on a 16-unit grid at twice the size, so that the images stay smooth on high-density screens.
constexpr int kGrid = 16;
constexpr int kScale = 2;

struct PersonColours
{
    QColor fill;
    QColor outline;
};

template<class Draw> QIcon DrawIcon(Draw&& draw)
{
    QPixmap pixmap(kGrid * kScale, kGrid * kScale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kScale, kScale);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

void DrawPerson(QPainter& painter, const PersonColours& colours)
{
    painter.setPen(QPen(colours.outline, 1.0));
    painter.setBrush(colours.fill);
    QPainterPath shoulders;
    shoulders.moveTo(2.5, 15.0);
    shoulders.cubicTo(2.5, 9.5, 13.5, 9.5, 13.5, 15.0);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
    painter.drawEllipse(QRectF(4.5, 1.5, 7.0, 7.0));
}

void DrawBadge(QPainter& painter)
{
    painter.setPen(QPen(QColor(0x9A, 0x6B, 0x00), 0.8));
    painter.setBrush(QColor(0xFF, 0xC8, 0x2E));
    QPainterPath shield;
    shield.moveTo(10.5, 8.5);
    shield.lineTo(15.5, 8.5);
    shield.lineTo(15.5, 12.0);
    shield.quadTo(15.5, 14.8, 13.0, 15.8);
    shield.quadTo(10.5, 14.8, 10.5, 12.0);
    shield.closeSubpath();
    painter.drawPath(shield);
}

// An account the program does not know yet: a grey figure with a question mark.
void DrawQuestionMark(QPainter& painter)
{
    painter.setPen(QPen(QColor(0x6E, 0x6E, 0x6E), 0.8));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(9.5, 8.5, 6.5, 6.5));
    QFont font = painter.font();
    font.setPixelSize(6);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawText(QRectF(9.5, 8.5, 6.5, 6.5), Qt::AlignCenter, QStringLiteral("?"));
}

QIcon AdministratorIcon()
{
    return DrawIcon([](QPainter& painter) {
        DrawPerson(painter, {QColor(0x3A, 0x6E, 0xD8), QColor(0x1C, 0x3C, 0x8C)});
        DrawBadge(painter);
    });
}

QIcon GeneralUserIcon()
{
    return DrawIcon([](QPainter& painter) {
        DrawPerson(painter, {QColor(0x4C, 0xAF, 0x50), QColor(0x23, 0x6B, 0x26)});
    });
}

QIcon AccountOnlyIcon()
{
    return DrawIcon([](QPainter& painter) {
        DrawPerson(painter, {QColor(0xC4, 0xC4, 0xC4), QColor(0x6E, 0x6E, 0x6E)});
        DrawQuestionMark(painter);
    });
}

} // namespace

QIcon UserRowIcon(const UserRow& row)
{
    if (row.IsAccountOnly()) {
        static const QIcon accountOnly = AccountOnlyIcon();
        return accountOnly;
    }
    if (row.groupStringId == kGroupAdministrator) {
        static const QIcon administrator = AdministratorIcon();
        return administrator;
    }
    static const QIcon general = GeneralUserIcon();
    return general;
}

QIcon PermissionCheckIcon()
{
    static const QIcon check = DrawIcon([](QPainter& painter) {
        QPainterPath tick;
        tick.moveTo(3.0, 8.5);
        tick.lineTo(6.5, 12.0);
        tick.lineTo(13.0, 4.0);
        painter.setPen(QPen(QColor(0x1E, 0x8E, 0x3E), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    });
    return check;
}

} // namespace deskwarden::users
