#pragma once

#include "transfer/TransferMessage.h"

#include <QDialog>

namespace deskwarden::transfer {

/** Asks the operator whether to keep the user another computer sends, showing where he comes from. */
class CUserReceiveDlg final : public QDialog
{
    Q_OBJECT
public:
    CUserReceiveDlg(const TransferMessage& message, QWidget* parent = nullptr);
};

} // namespace deskwarden::transfer
