#pragma once

#include "rules/Memo.h"

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;
class QTreeWidget;

namespace screenveil {

/** The messages dialog shown when the lock ends: who left what and when, with saving to a text file. */
class MemoListDlg final : public QDialog
{
    Q_OBJECT
public:
    MemoListDlg(std::vector<Memo> memos, std::string memoFolder, QWidget* parent = nullptr);

private:
    void ShowSelected();
    void Save();

    std::vector<Memo> m_memos;
    std::string m_memoFolder;
    QTreeWidget* m_list;
    QPlainTextEdit* m_text;
};

} // namespace screenveil
