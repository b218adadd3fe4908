#include "tooltip/PPTooltip.h"

#include "tooltip/QtColours.h"
#include "tooltip/TipPlacement.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace tip = deskwarden::tooltip;

namespace {

constexpr int kDefaultBehaviour = 3;

tip::ScreenPoint ToScreenPoint(const QPointF& point)
{
    const QPoint rounded = point.toPoint();
    return tip::ScreenPoint {rounded.x(), rounded.y()};
}

bool IsPress(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

tip::TipBox ScreenAreaAt(const QPoint& point)
{
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return tip::TipBox {point.x(), point.y(), QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    }
    const QRect area = screen->availableGeometry();
    return tip::TipBox {area.x(), area.y(), area.width(), area.height()};
}

} // namespace

CPPTooltip::CPPTooltip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
    , m_look {tip::ColourTable(tip::SystemColoursOf(QToolTip::palette()))}
    , m_behaviour(kDefaultBehaviour)
{
    setObjectName("CPPTooltip");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (QTimer* timer : {&m_initialTimer, &m_autoHideTimer}) {
        timer->setSingleShot(true);
    }
    connect(&m_initialTimer, &QTimer::timeout, this, [this] { TimerExpired(tip::TipTimer::Initial); });
    connect(&m_autoHideTimer, &QTimer::timeout, this, [this] { TimerExpired(tip::TipTimer::AutoHide); });
    // Every event of the application passes here first: the tools' moves and any press anywhere.
    if (qApp != nullptr) {
        qApp->installEventFilter(this);
    }
}

CPPTooltip::~CPPTooltip()
{
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

void CPPTooltip::AddTool(QWidget* tool, const std::string& markup, int style)
{
    if (tool == nullptr) {
        return;
    }
    const int index = ToolIndex(tool);
    if (index >= 0) {
        m_tools[static_cast<std::size_t>(index)].markup = markup;
        m_tools[static_cast<std::size_t>(index)].style = style;
        return;
    }
    // Moves over a control reach it only while it tracks the mouse.
    tool->setMouseTracking(true);
    connect(tool, &QObject::destroyed, this, &CPPTooltip::ToolGone);
    m_tools.push_back(Tool {tool, tool, markup, style});
}

void CPPTooltip::SetColor(int index, std::uint32_t colorref)
{
    if (index < 0 || !m_look.colours.Set(static_cast<unsigned>(index), colorref)) {
        return;
    }
    update();
}

void CPPTooltip::SetEffectBk(int effect, int granularity)
{
    m_look.effect = effect;
    m_look.granularity = granularity;
    update();
}

void CPPTooltip::SetBehaviour(int flags)
{
    m_behaviour = flags;
}

void CPPTooltip::SetDelayTime(int initialMs, int autoHideMs)
{
    StopTimers();
    HideTip();
    m_timing = tip::TipTiming(initialMs < 0 ? tip::kDefaultInitialDelayMs : initialMs,
        autoHideMs < 0 ? tip::kDefaultAutoHideDelayMs : autoHideMs);
    m_current = -1;
}

void CPPTooltip::RelayEvent(QObject* watched, QEvent* event)
{
    if (event == nullptr) {
        return;
    }
    if (IsPress(event->type())) {
        Apply(m_timing.InputPressed());
        return;
    }
    const int tool = ToolIndex(watched);
    if (tool < 0) {
        return;
    }
    switch (event->type()) {
    case QEvent::Enter:
        m_current = tool;
        Apply(m_timing.CursorEntered(tool, ToScreenPoint(static_cast<QEnterEvent*>(event)->globalPosition())));
        break;
    case QEvent::MouseMove:
        m_current = tool;
        Apply(m_timing.CursorMoved(tool, ToScreenPoint(static_cast<QMouseEvent*>(event)->globalPosition())));
        break;
    case QEvent::Leave:
        if (tool == m_current) {
            m_current = -1;
            Apply(m_timing.CursorLeft());
        }
        break;
    default:
        break;
    }
}

bool CPPTooltip::IsTipShown() const
{
    return isVisible();
}

QWidget* CPPTooltip::CurrentTool() const
{
    return m_current >= 0 ? m_tools[static_cast<std::size_t>(m_current)].widget.data() : nullptr;
}

bool CPPTooltip::IsTimerRunning(tip::TipTimer timer) const
{
    return (timer == tip::TipTimer::Initial ? m_initialTimer : m_autoHideTimer).isActive();
}

void CPPTooltip::ElapseTimer(tip::TipTimer timer)
{
    QTimer& running = TimerOf(timer);
    if (!running.isActive()) {
        return;
    }
    running.stop();
    TimerExpired(timer);
}

bool CPPTooltip::eventFilter(QObject* watched, QEvent* event)
{
    RelayEvent(watched, event);
    return false;
}

void CPPTooltip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    tip::PaintTip(painter, m_layout, m_look, m_font);
}

int CPPTooltip::ToolIndex(const QObject* object) const
{
    if (object == nullptr) {
        return -1;
    }
    for (std::size_t i = 0; i < m_tools.size(); ++i) {
        if (m_tools[i].widget == object) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CPPTooltip::ToolGone(QObject* object)
{
    for (std::size_t i = 0; i < m_tools.size(); ++i) {
        if (m_tools[i].identity != object) {
            continue;
        }
        m_tools[i].identity = nullptr;
        if (static_cast<int>(i) == m_current) {
            m_current = -1;
            Apply(m_timing.CursorLeft());
        }
    }
}

void CPPTooltip::Apply(const std::vector<tip::TipAction>& actions)
{
    for (const tip::TipAction& action : actions) {
        switch (action.kind) {
        case tip::TipAction::Kind::StartTimer:
            StartTimer(action.timer, action.delayMs);
            break;
        case tip::TipAction::Kind::StopTimer:
            StopTimers();
            break;
        case tip::TipAction::Kind::Show:
            ShowTip(action.at);
            break;
        case tip::TipAction::Kind::Hide:
            HideTip();
            break;
        }
    }
}

void CPPTooltip::StartTimer(tip::TipTimer timer, int delayMs)
{
    // One timer runs at a time: a new one replaces the other.
    StopTimers();
    TimerOf(timer).start(delayMs);
}

void CPPTooltip::StopTimers()
{
    m_initialTimer.stop();
    m_autoHideTimer.stop();
}

void CPPTooltip::TimerExpired(tip::TipTimer timer)
{
    Apply(m_timing.TimerFired(timer));
}

void CPPTooltip::ShowTip(tip::ScreenPoint at)
{
    const QWidget* tool = CurrentTool();
    if (tool == nullptr) {
        return;
    }
    m_font = QToolTip::font();
    m_layout = tip::LayOutTip(m_tools[static_cast<std::size_t>(m_current)].markup, m_look.colours, m_font);
    if (m_layout.width <= 0 || m_layout.height <= 0) {
        return; // nothing to show for an empty text
    }
    const QSize size = tip::TipWindowSize(m_layout);
    const tip::TipBox place = tip::PlaceTip(at, size.width(), size.height(), ScreenAreaAt(QPoint(at.x, at.y)));
    setGeometry(place.x, place.y, place.width, place.height);
    show();
    update();
}

void CPPTooltip::HideTip()
{
    hide();
}

QTimer& CPPTooltip::TimerOf(tip::TipTimer timer)
{
    return timer == tip::TipTimer::Initial ? m_initialTimer : m_autoHideTimer;
}
