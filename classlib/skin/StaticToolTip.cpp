#include "StaticToolTip.h"

#include "ToolTipText.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

CStaticToolTip::CStaticToolTip()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("StaticToolTip");
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_textColour = palette().color(QPalette::ToolTipText);
    m_background = palette().color(QPalette::ToolTipBase);
    m_follow.setInterval(kFollowMs);
    connect(&m_follow, &QTimer::timeout, this, &CStaticToolTip::Show);
}

CStaticToolTip::~CStaticToolTip() = default;

void CStaticToolTip::Attach(QWidget* owner, int dx, int dy)
{
    Detach();
    m_owner = owner;
    m_dx = dx;
    m_dy = dy;
    resize(0, 0);
    Show();
    // While attached the window keeps following its owner, also after a text arrives in a hidden state.
    m_follow.start();
}

void CStaticToolTip::Detach()
{
    m_follow.stop();
    hide();
    m_owner = nullptr;
}

void CStaticToolTip::SetText(const char* text)
{
    m_text = text != nullptr ? text : "";
    if (IsAttached()) {
        m_follow.start();
        Show();
    }
}

void CStaticToolTip::SetTextColor(const QColor& colour)
{
    m_textColour = colour;
    update();
}

void CStaticToolTip::SetBkgndColor(bool custom, const QColor& colour)
{
    m_customColours = custom;
    m_background = colour;
    update();
}

void CStaticToolTip::Show()
{
    if (m_owner == nullptr || m_text.empty()) {
        hide();
        return;
    }
    QPoint origin = m_owner->mapToGlobal(QPoint(0, 0));
    setGeometry(origin.x() + m_dx, origin.y() + m_dy, kWidth, kHeight);
    if (!isVisible())
        show();
    update();
}

int CStaticToolTip::GetNumberOfLines(const char* text)
{
    return talk::tool_tip_text::GetNumberOfLines(text != nullptr ? text : "");
}

QSize CStaticToolTip::GetMultiLineTextExtent(const QFontMetrics& metrics, const char* text)
{
    SkinPoint extent = talk::tool_tip_text::GetMultiLineTextExtent(text != nullptr ? text : "", metrics.height(),
        [&](const std::string& line) { return metrics.horizontalAdvance(QString::fromStdString(line)); });
    return QSize(extent.x, extent.y);
}

void CStaticToolTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_customColours ? m_background : palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    painter.setPen(m_customColours ? m_textColour : palette().color(QPalette::ToolTipText));
    painter.drawText(rect().adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(m_text));
}
