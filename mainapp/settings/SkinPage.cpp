#include "settings/SkinPage.h"

#include "settings/SettingsStrings.h"
#include "settings/SkinChoice.h"

#include "Setup/SetupFile.h"

#include <platform/JpegPicture.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace deskwarden::settings {

namespace {

// A skin's preview is a few hundred pixels wide; a header claiming more is not worth the memory.
constexpr std::size_t kLargestPreview = 16u * 1024u * 1024u;

QImage ToImage(const platform::jpeg::RgbPicture& picture)
{
    if (picture.IsEmpty())
        return {};
    const QImage view(picture.pixels.data(), picture.width, picture.height, picture.width * 3, QImage::Format_RGB888);
    return view.copy();
}

} // namespace

CSkinPreview::CSkinPreview(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("1103");
    setMinimumSize(240, 200);
}

void CSkinPreview::SetPicture(QImage picture)
{
    m_picture = std::move(picture);
    update();
}

void CSkinPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    painter.fillRect(inner, Qt::white);
    if (m_picture.isNull())
        return;
    const skin_choice::Placement at
        = skin_choice::PlacePreview(m_picture.width(), m_picture.height(), inner.width(), inner.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(inner.x() + at.x, inner.y() + at.y, at.width, at.height), m_picture);
}

CSkinPage::CSkinPage(CSetupFile& setup, QWidget* parent)
    : QWidget(parent)
    , m_setup(setup)
    , m_skins(new QComboBox(this))
    , m_narration(new QCheckBox(QString::fromUtf8(kNarrationSwitch), this))
    , m_preview(new CSkinPreview(this))
{
    setObjectName("246");
    m_skins->setObjectName("1101");
    m_narration->setObjectName("1102");
    const skin_choice::SkinList list = skin_choice::ListSkins(setup);
    for (const std::string& name : list.names)
        m_skins->addItem(QString::fromStdString(name));
    m_skins->setCurrentIndex(list.current);
    m_narration->setChecked(skin_choice::IsNarrationOn(setup));
    if (list.current >= 0)
        ShowPreview(list.names[static_cast<std::size_t>(list.current)]);
    connect(m_skins, &QComboBox::activated, this, &CSkinPage::ChooseSkin);
    connect(m_narration, &QCheckBox::clicked, this, [this](bool on) { skin_choice::SetNarration(m_setup, on); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(kSkinLabel), this));
    layout->addWidget(m_skins);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_narration);
}

void CSkinPage::ChooseSkin(int index)
{
    const std::string name = m_skins->itemText(index).toStdString();
    m_setup.SetSkinChange(name);
    ShowPreview(name);
}

void CSkinPage::ShowPreview(const std::string& name)
{
    platform::jpeg::JpegFailure failure;
    m_preview->SetPicture(ToImage(
        platform::jpeg::DecodeFile(skin_choice::PreviewPath(m_setup.GetAppPath(), name), kLargestPreview, failure)));
}

} // namespace deskwarden::settings
