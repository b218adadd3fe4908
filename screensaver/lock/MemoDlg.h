#pragma once

#include "rules/Memo.h"

#include <QDialog>
#include <QTimer>

#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace screenveil {

/** The message dialog "Memo": a passer-by leaves a text and a name at the lock, with the time shown. */
class MemoDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit MemoDlg(QWidget* parent = nullptr);

    /** The memo left by OK; nothing after "閉じる". */
    const std::optional<Memo>& Result() const { return m_result; }

public slots:
    void accept() override;

private:
    void ShowClock();

    QPlainTextEdit* m_text;
    QLineEdit* m_name;
    QLabel* m_clock;
    QTimer m_tick;
    std::optional<Memo> m_result;
};

/** The local time now, for a memo's time text. */
std::tm LocalNow();

} // namespace screenveil
