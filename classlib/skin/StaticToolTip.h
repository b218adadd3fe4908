#pragma once

#include "TalkExport.h"

#include <QColor>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <string>

class QFontMetrics;

/**
 * The hint window that follows the voice dialog: a 390 x 30 top-most window without caption placed at
 * the owner's client origin plus an offset, showing the current prompt; hidden while the text is empty.
 */
class TALK_API CStaticToolTip : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 390;
    static constexpr int kHeight = 30;
    static constexpr int kFollowMs = 100;

    CStaticToolTip();
    ~CStaticToolTip() override;

    /** Follows `owner` at (dx, dy) from its client origin; a previous owner is let go first. */
    void Attach(QWidget* owner, int dx, int dy);
    void Detach();
    bool IsAttached() const { return m_owner != nullptr; }
    void SetText(const char* text);
    const std::string& GetText() const { return m_text; }
    void SetTextColor(const QColor& colour);
    void SetBkgndColor(bool custom, const QColor& colour);
    /** Places and shows the window for a non-empty text, hides it for an empty one. */
    void Show();

    static int GetNumberOfLines(const char* text);
    /** Widest line and total height of `text` in the given font. */
    static QSize GetMultiLineTextExtent(const QFontMetrics& metrics, const char* text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> m_owner;
    std::string m_text;
    int m_dx = 0;
    int m_dy = 0;
    QColor m_textColour;
    QColor m_background;
    bool m_customColours = false;
    QTimer m_follow;
};
