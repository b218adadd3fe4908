#include "app/AboutDlg.h"

#include "app/MainStrings.h"

#include "art/ArtNames.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace deskwarden::app {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("100");
    setWindowTitle(QString::fromUtf8(kProductCaption));
    setFont(QFont("IPAGothic", 9));
    setStyleSheet("QDialog { background: #5A71B5; }");
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(art::kAbout));
    picture->setAlignment(Qt::AlignCenter);
    auto* close = new QPushButton(QString::fromUtf8(kAboutClose), this);
    close->setObjectName("IDOK");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(picture);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}

} // namespace deskwarden::app
