#include "lock/LockWindow.h"

#include "lock/MemoDlg.h"
#include "lock/VoiceCheck.h"
#include "rules/TextLayout.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cstdio>

namespace screenveil {

namespace {

constexpr int kGrabRetryMs = 200;
constexpr int kShowTickMs = 10;
constexpr int kShowStartMs = 100;
// A voice check is one reading, with a few retries; longer than this it is hung, not slow.
constexpr int kVoiceCheckLimitMs = 180 * 1000;
// A check's window takes the input as soon as it shows. One that has not taken it for this long (hung before
// its window appeared, or lost it) leaves the desktop reachable around the lock, so it is ended.
constexpr int kCheckWithoutInputMs = 10 * 1000;
constexpr const char* kGrabWarning = "キーボードとマウスを確保できません。確保できるまで試し続けます。";

QRect AllScreens()
{
    QRect area;
    for (const QScreen* screen : QGuiApplication::screens())
        area = area.united(screen->geometry());
    return area.isEmpty() ? QRect(0, 0, 800, 600) : area;
}

LockInput KeyInput(int key)
{
    switch (key) {
    case Qt::Key_F1:
        return LockInput::KeyF1;
    case Qt::Key_F2:
        return LockInput::KeyF2;
    case Qt::Key_F3:
        return LockInput::KeyF3;
    default:
        return LockInput::OtherKey;
    }
}

LockInput ButtonInput(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return LockInput::LeftButton;
    case Qt::MiddleButton:
        return LockInput::MiddleButton;
    case Qt::RightButton:
        return LockInput::RightButton;
    default:
        return LockInput::Other;
    }
}

QFont TextFont(int pixelSize)
{
    QFont font("IPAGothic");
    font.setPixelSize(pixelSize);
    font.setBold(true);
    // The face's own small bitmaps look ragged over a photograph; its outlines, smoothed, read better.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::PreferAntialias));
    return font;
}

QColor ToQColor(const Rgb& colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace

LockWindow::LockWindow(LockContent content, QString voiceProgram, std::string appPath)
    : QWidget(nullptr,
        Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint | Qt::Tool)
    , m_content(std::move(content))
    , m_grab(*this)
    , m_check(std::make_unique<VoiceCheck>(std::move(voiceProgram), std::move(appPath), kVoiceCheckLimitMs))
{
    setObjectName("ScreenVeil");
    setWindowTitle("ScreenVeil");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
    setMouseTracking(false);
    connect(m_check.get(), &VoiceCheck::Finished, this, &LockWindow::AttemptEnded);
    m_grabRetry.setInterval(kGrabRetryMs);
    connect(&m_grabRetry, &QTimer::timeout, this, &LockWindow::KeepInput);
    m_showTimer.setInterval(kShowTickMs);
    connect(&m_showTimer, &QTimer::timeout, this, &LockWindow::TickShow);
}

LockWindow::~LockWindow() = default;

void LockWindow::Lock()
{
    const QRect area = AllScreens();
    setGeometry(area);
    const QScreen* primary = QGuiApplication::primaryScreen();
    m_showArea = primary ? primary->geometry().translated(-area.topLeft()) : QRect(QPoint(0, 0), area.size());
    show();
    raise();
    activateWindow();
    KeepInput();
    m_grabRetry.start();
    m_clock.start();
    m_show = std::make_unique<SlideShow>(
        m_content, m_showArea.size(), static_cast<unsigned>(m_clock.msecsSinceReference()));
    QTimer::singleShot(kShowStartMs, this, [this] { m_showTimer.start(); });
}

// While a voice check runs its window holds the input; at any other time the lock must.
void LockWindow::KeepInput()
{
    if (m_session.AttemptRunning() && !m_closing) {
        WatchCheckHoldsInput();
        return;
    }
    if (m_memoOpen || m_closing)
        return;
    const bool wasHeld = m_grab.Held();
    const bool held = m_grab.Grab();
    if (held != wasHeld || !held)
        update();
    if (held != m_reportedHeld) {
        std::fprintf(stderr,
            held ? "ScreenVeil: keyboard and pointer held\n"
                 : "ScreenVeil: keyboard and pointer are held elsewhere; trying again\n");
        m_reportedHeld = held;
    }
    raise();
}

// Whether anybody holds the input is seen by trying to take it: a grab succeeds only where nobody holds
// one. What the probe takes is given back at once, so that the check's window can still take it.
void LockWindow::WatchCheckHoldsInput()
{
    const bool nobodyHolds = m_grab.Grab();
    m_grab.Release();
    if (!nobodyHolds) {
        m_checkWithoutInput.invalidate();
        return;
    }
    if (!m_checkWithoutInput.isValid()) {
        m_checkWithoutInput.start();
        return;
    }
    if (m_checkWithoutInput.elapsed() < kCheckWithoutInputMs)
        return;
    m_checkWithoutInput.invalidate();
    m_check->Abandon("the voice check holds no input; it is ended");
}

void LockWindow::TickShow()
{
    if (m_show && m_show->Tick(m_clock.elapsed()))
        update(m_showArea);
}

void LockWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_content.display.background));
    if (m_show)
        painter.drawImage(m_showArea.topLeft(), m_show->Canvas());
    painter.translate(m_showArea.topLeft());
    PaintTexts(painter);
    if (!m_grab.Held() && !m_session.AttemptRunning() && !m_memoOpen)
        PaintGrabWarning(painter);
}

void LockWindow::PaintTexts(QPainter& painter) const
{
    const DisplaySettings& display = m_content.display;
    for (const PlacedLine& line : LayOutTexts(m_content.comment, m_memos)) {
        const bool signature = line.role == TextRole::MemoSigned;
        painter.setFont(TextFont(signature ? 12 : 14));
        const QFontMetrics metrics(painter.font());
        const QPoint at(line.x, line.y + metrics.ascent());
        const QString text = QString::fromStdString(line.text);
        painter.setPen(ToQColor(display.shadow));
        painter.drawText(at + QPoint(1, 1), text);
        const Rgb& colour = line.role == TextRole::Comment ? display.comment : signature ? display.name : display.memo;
        painter.setPen(ToQColor(colour));
        painter.drawText(at, text);
    }
}

void LockWindow::PaintGrabWarning(QPainter& painter) const
{
    const QRect band(0, m_showArea.height() - 48, m_showArea.width(), 48);
    painter.fillRect(band, QColor(0, 0, 0, 170));
    painter.setFont(TextFont(16));
    painter.setPen(QColor(255, 220, 120));
    painter.drawText(band, Qt::AlignCenter, kGrabWarning);
}

void LockWindow::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    React(KeyInput(event->key()));
}

void LockWindow::keyReleaseEvent(QKeyEvent* event)
{
    // A key released with Alt held is the system key of the desktop's task switcher.
    event->accept();
    if (event->modifiers() & Qt::AltModifier)
        React(LockInput::OtherKey);
}

void LockWindow::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    React(ButtonInput(event->button()));
}

void LockWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void LockWindow::closeEvent(QCloseEvent* event)
{
    // Nothing but an unlock closes the lock: no window manager request, no shortcut.
    if (!m_session.Unlocked())
        event->ignore();
    else
        event->accept();
}

void LockWindow::React(LockInput input)
{
    switch (m_session.OnInput(input)) {
    case LockReaction::StartAttempt:
        StartAttempt();
        break;
    case LockReaction::OpenMemo:
        OpenMemo();
        break;
    case LockReaction::Nothing:
        break;
    }
}

void LockWindow::StartAttempt()
{
    std::fprintf(stderr, "ScreenVeil: voice check started\n");
    m_grab.Release();
    m_checkWithoutInput.invalidate();
    m_check->Start();
}

void LockWindow::AttemptEnded(bool accepted, const QString& userId)
{
    m_session.AttemptEnded(accepted);
    if (!m_session.Unlocked()) {
        KeepInput();
        return;
    }
    std::fprintf(stderr, "ScreenVeil: unlocked by %s\n", userId.toUtf8().constData());
    m_closing = true;
    m_showTimer.stop();
    if (m_show)
        m_show->Stop();
    m_grabRetry.stop();
    m_grab.Release();
    emit Unlocked();
    close();
}

void LockWindow::OpenMemo()
{
    if (m_memoOpen || m_session.AttemptRunning())
        return;
    m_memoOpen = true;
    // The dialog is this program's own window: the held input reaches it, nothing else.
    MemoDlg dialog(this);
    if (dialog.exec() == QDialog::Accepted && dialog.Result())
        m_memos.push_back(*dialog.Result());
    m_memoOpen = false;
    KeepInput();
    update();
}

} // namespace screenveil
