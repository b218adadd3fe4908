#pragma once

#include "tooltip/TipPainter.h"
#include "tooltip/TipTiming.h"

#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

/**
 * The markup tooltip of a window's controls: a frameless popup that opens at the cursor once it has
 * rested on a control, shows that control's markup text, and closes after the auto-hide delay, on any key
 * or mouse button, and when the cursor leaves the control.
 *
 * The tooltip watches the application's events itself, so the parent window need not relay any: enter,
 * leave and move events of the controls and every key and button press reach it on their own. RelayEvent
 * is there for events the parent makes up or passes on itself; an event seen both ways at most restarts
 * the initial delay.
 */
class CPPTooltip : public QWidget
{
    Q_OBJECT
public:
    /** Owned by `parent` and shown over it; the texts are drawn in the application's tooltip font. */
    explicit CPPTooltip(QWidget* parent);
    ~CPPTooltip() override;

    /** `tool` shows `markup`; a tool added again gets the new text. `style` is kept and has no effect. */
    void AddTool(QWidget* tool, const std::string& markup, int style = 0);
    /** Colour table entry `index` (0x00BBGGRR); an index outside 0 to 25 changes nothing. */
    void SetColor(int index, std::uint32_t colorref);
    /** Background effect and granularity (see BackgroundEffect.h). */
    void SetEffectBk(int effect, int granularity);
    /** Kept for the caller; every value times the tip the same way. */
    void SetBehaviour(int flags);
    /** The initial and auto-hide delays; a negative one restores its default. Hides a shown tip. */
    void SetDelayTime(int initialMs, int autoHideMs);
    /** Hands an event of the parent's loop to the tooltip; `watched` is its receiver. */
    void RelayEvent(QObject* watched, QEvent* event);

    bool IsTipShown() const;
    /** The tool under the cursor, or null. */
    QWidget* CurrentTool() const;
    /** For tests: whether the timer runs, and its expiry now, as if its time had come. */
    bool IsTimerRunning(deskwarden::tooltip::TipTimer timer) const;
    void ElapseTimer(deskwarden::tooltip::TipTimer timer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Tool
    {
        QPointer<QWidget> widget;
        const QObject* identity = nullptr; // outlives `widget` for the notice of its destruction
        std::string markup;
        int style = 0;
    };

    int ToolIndex(const QObject* object) const;
    void ToolGone(QObject* object);
    void Apply(const std::vector<deskwarden::tooltip::TipAction>& actions);
    void StartTimer(deskwarden::tooltip::TipTimer timer, int delayMs);
    void StopTimers();
    void TimerExpired(deskwarden::tooltip::TipTimer timer);
    void ShowTip(deskwarden::tooltip::ScreenPoint at);
    void HideTip();
    QTimer& TimerOf(deskwarden::tooltip::TipTimer timer);

    std::vector<Tool> m_tools;
    deskwarden::tooltip::TipLook m_look;
    deskwarden::tooltip::TipTiming m_timing;
    deskwarden::tooltip::TipLayout m_layout;
    QFont m_font;
    QTimer m_initialTimer;
    QTimer m_autoHideTimer;
    int m_current = -1;
    int m_behaviour;
};
