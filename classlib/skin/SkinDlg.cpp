#include "SkinDlg.h"

#include "IniFile.h"
#include "MessageService.h"
#include "SkinButton.h"
#include "SkinFields.h"
#include "SkinIniReader.h"
#include "SkinLabel.h"
#include "SkinSlider.h"
#include "WaveAreaLayout.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

QColor ToQColor(const SkinColor& c)
{
    return QColor(std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255));
}

QRect ToQRect(const SkinRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// Entry controls take their colours from the skin under them, so that a dark skin gets dark fields with
// light text and a light skin the opposite, whatever the desktop's colour scheme.
void BlendIntoSkin(QWidget& control, const QImage& picture, const SkinRect& place)
{
    if (picture.isNull() || !picture.rect().contains(place.left + place.Width() / 2, place.top + place.Height() / 2))
        return;
    QColor base = picture.pixelColor(place.left + place.Width() / 2, place.top + place.Height() / 2);
    bool dark = base.lightness() < 128;
    QColor text = dark ? QColor(235, 240, 250) : QColor(20, 24, 32);
    QPalette palette = control.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::Window, base);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Button, dark ? base.lighter(160) : base.darker(115));
        palette.setColor(group, QPalette::Light, dark ? base.lighter(260) : QColor(255, 255, 255));
        palette.setColor(group, QPalette::Midlight, dark ? base.lighter(200) : base.lighter(105));
        palette.setColor(group, QPalette::Mid, dark ? base.lighter(130) : base.darker(140));
        palette.setColor(group, QPalette::Shadow, dark ? base.darker(200) : base.darker(250));
    }
    control.setPalette(palette);
}

} // namespace

CSkinDlg::CSkinDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setMouseTracking(true);
}

CSkinDlg::CSkinDlg(unsigned templateId, QWidget* parent)
    : CSkinDlg(parent)
{
    setObjectName(QString::number(templateId));
}

CSkinDlg::~CSkinDlg() = default;

void CSkinDlg::PressButtonName(const std::string&) { }
void CSkinDlg::PressButtonID(int) { }
void CSkinDlg::ProgressChanged(const std::string&) { }
void CSkinDlg::MouseMoved(const std::string&, int, int) { }

bool CSkinDlg::LoadBitmap(const std::string& file, QImage* image)
{
    if (image == nullptr)
        return false;
    return image->load(QString::fromStdString(file));
}

int CSkinDlg::SetSkinFile(const std::string& skin, const std::string& title, const std::string& appPath)
{
    m_title = title;
    m_paths = SkinPaths::Make(skin, appPath);
    return 1;
}

std::string CSkinDlg::GetFirstParam(std::string& list, const std::string& separator)
{
    return talk::skin_fields::GetFirstParam(list, separator);
}

SkinRect CSkinDlg::StringToRect(std::string& list)
{
    return talk::skin_fields::StringToRect(list);
}

SkinColor CSkinDlg::StringToColor(std::string& list)
{
    return talk::skin_fields::StringToColor(list);
}

void CSkinDlg::setVisible(bool visible)
{
    if (visible && !m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

bool CSkinDlg::OnInitDialog()
{
    if (LoadSkins() != 0)
        return true;
    char text[512];
    std::snprintf(text, sizeof text, "%s Skin load failure!", m_paths.skinName.c_str());
    CMessageService::Report(m_title, text, MessageIcon::Error);
    QTimer::singleShot(0, this, &QDialog::reject);
    return false;
}

void CSkinDlg::FreeSkin()
{
    for (CSkinButton* button : m_buttons)
        delete button;
    for (CSkinLabel* label : m_labels)
        delete label;
    for (CSkinSlider* slider : m_sliders)
        delete slider;
    m_buttons.clear();
    m_labels.clear();
    m_sliders.clear();
    m_pictures.Clear();
    m_region = QRegion();
    m_waveLayer = QImage();
    clearMask();
}

int CSkinDlg::LoadSkins()
{
    FreeSkin();
    CIniFile ini(m_paths.iniPath);
    IniSkinProfile profile(ini);
    if (!talk::skin_ini_reader::Read(profile, m_paths.folder, m_skin))
        return 0;

    m_pictures.Load(m_skin);
    const QImage& mask = m_pictures.Mask().isNull() ? m_pictures.Normal() : m_pictures.Mask();
    move(0, 0);
    if (!mask.isNull())
        setFixedSize(mask.size());
    Setup(m_pictures.Mask());

    CreateButtons();
    for (const SkinLabelDef& def : m_skin.labels)
        CreateLabel(def);
    PlaceEntryControls();
    CreateSliders();
    update();
    return 1;
}

void CSkinDlg::Setup(const QImage& mask)
{
    QRegion region = SkinPictures::RegionOfMask(mask);
    if (region.isEmpty()) {
        // An unreadable or all-white mask would leave no window at all: keep the rectangle instead.
        CMessageService::Report("Hata", "!BitmapToRegion", MessageIcon::Error);
        return;
    }
    m_region = region;
    setMask(m_region);
    update();
}

void CSkinDlg::CreateButtons()
{
    for (const SkinButtonDef& def : m_skin.buttons) {
        auto* button = new CSkinButton(def, SkinPictures::Cut(m_pictures.Normal(), def.rect),
            SkinPictures::Cut(m_pictures.Over(), def.rect), SkinPictures::Cut(m_pictures.Down(), def.rect),
            SkinPictures::Cut(m_pictures.Disabled(), def.rect), this);
        connect(button, &CSkinButton::Pressed, this, [this](const QString& name, int id) {
            PressButtonName(name.toStdString());
            PressButtonID(id);
        });
        button->show();
        m_buttons.push_back(button);
    }
}

void CSkinDlg::CreateLabel(const SkinLabelDef& def)
{
    auto* label = new CSkinLabel(def, SkinPictures::Cut(m_pictures.Normal(), def.rect), this);
    connect(label, &CSkinLabel::Clicked, this, [this](const QString&, int id) { PressButtonID(id); });
    label->show();
    m_labels.push_back(label);
}

void CSkinDlg::PlaceEntryControls()
{
    auto place = [this](const char* name, const SkinPlaceDef& def) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(name));
        if (control == nullptr || !def.present)
            return;
        control->setGeometry(ToQRect(def.rect));
        control->setToolTip(QString::fromStdString(def.tooltip));
        BlendIntoSkin(*control, m_pictures.Normal(), def.rect);
        control->raise();
    };
    place(kIdEditName, m_skin.editId);
    place(kWordComboName, m_skin.comboWord);
    place(kPasswordEditName, m_skin.comboWord);
}

void CSkinDlg::CreateSliders()
{
    for (const SkinSliderDef& def : m_skin.sliders) {
        auto* slider = new CSkinSlider(def, SkinPictures::Cut(m_pictures.Normal(), def.rect),
            SkinPictures::Cut(m_pictures.Down(), def.rect), this);
        connect(slider, &CSkinSlider::Released, this, [this](int index) { ChangeProgress(index); });
        connect(slider, &CSkinSlider::Moved, this,
            [this](const QString& name, int x, int y) { MouseMoved(name.toStdString(), x, y); });
        slider->show();
        m_sliders.push_back(slider);
    }
}

void CSkinDlg::PaintWaveArea(QPainter& painter, bool fill) const
{
    const SkinWaveDef& wave = m_skin.wave;
    if (wave.rect.IsEmpty())
        return;
    QRect area = ToQRect(wave.rect);
    if (fill)
        painter.fillRect(area, ToQColor(wave.background));
    QPen pen(ToQColor(wave.frame));
    pen.setWidth(std::max(1, wave.frameWidth));
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    int inset = std::max(1, wave.frameWidth) / 2;
    painter.drawRect(area.adjusted(inset, inset, -inset - 1, -inset - 1));
    if (!wave.dottedGrid)
        return;
    painter.setPen(QPen(ToQColor(wave.frame), 1));
    for (const SkinLine& line : talk::wave_area_layout::GridLines(wave.rect)) {
        for (const SkinLine& dash : talk::wave_area_layout::Dashes(line))
            painter.drawLine(dash.from.x, dash.from.y, dash.to.x, dash.to.y);
    }
}

void CSkinDlg::EnsureWaveLayer()
{
    if (!m_waveLayer.isNull() || m_skin.wave.rect.IsEmpty())
        return;
    m_waveLayer = QImage(m_skin.wave.rect.Width(), m_skin.wave.rect.Height(), QImage::Format_ARGB32_Premultiplied);
    m_waveLayer.fill(Qt::transparent);
    QPainter painter(&m_waveLayer);
    painter.translate(-m_skin.wave.rect.left, -m_skin.wave.rect.top);
    if (!m_pictures.Normal().isNull() && !m_skin.wave.fill)
        painter.drawImage(0, 0, m_pictures.Normal());
    PaintWaveArea(painter, m_skin.wave.fill);
}

void CSkinDlg::DrawWaveRect(int)
{
    if (m_skin.wave.rect.IsEmpty())
        return;
    m_waveLayer = QImage(m_skin.wave.rect.Width(), m_skin.wave.rect.Height(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&m_waveLayer);
    painter.translate(-m_skin.wave.rect.left, -m_skin.wave.rect.top);
    PaintWaveArea(painter, true);
    painter.end();
    update(ToQRect(m_skin.wave.rect));
}

void CSkinDlg::DrawOnWave(const std::function<void(QPainter&)>& draw)
{
    EnsureWaveLayer();
    if (m_waveLayer.isNull() || !draw)
        return;
    QPainter painter(&m_waveLayer);
    painter.translate(-m_skin.wave.rect.left, -m_skin.wave.rect.top);
    draw(painter);
    painter.end();
    update(ToQRect(m_skin.wave.rect));
}

void CSkinDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_pictures.Normal().isNull())
        painter.drawImage(0, 0, m_pictures.Normal());
    if (!m_waveLayer.isNull())
        painter.drawImage(m_skin.wave.rect.left, m_skin.wave.rect.top, m_waveLayer);
    else
        PaintWaveArea(painter, m_skin.wave.fill);
}

void CSkinDlg::mouseMoveEvent(QMouseEvent* event)
{
    QDialog::mouseMoveEvent(event);
    QPoint p = event->position().toPoint();
    MouseMoved("", p.x(), p.y());
}

CSkinButton* CSkinDlg::FindButton(const std::string& name) const
{
    for (CSkinButton* button : m_buttons) {
        if (button->Name() == name)
            return button;
    }
    return nullptr;
}

CSkinLabel* CSkinDlg::FindLabel(const std::string& name) const
{
    for (CSkinLabel* label : m_labels) {
        if (label->Name() == name)
            return label;
    }
    return nullptr;
}

CSkinSlider* CSkinDlg::FindSlider(const std::string& name) const
{
    for (CSkinSlider* slider : m_sliders) {
        if (slider->Name() == name)
            return slider;
    }
    return nullptr;
}

void CSkinDlg::SetText(const std::string& name, const std::string& text)
{
    if (CSkinLabel* label = FindLabel(name))
        label->SetText(text);
}

std::string CSkinDlg::GetText(const std::string& name) const
{
    CSkinLabel* label = FindLabel(name);
    return label != nullptr ? label->Text() : std::string();
}

void CSkinDlg::SetVisible(const std::string& name, int show)
{
    if (CSkinLabel* label = FindLabel(name))
        label->setVisible(show != 0);
}

void CSkinDlg::SetEnable(const std::string& name, int enable)
{
    if (CSkinButton* button = FindButton(name))
        button->setEnabled(enable != 0);
}

int CSkinDlg::GetButtonCheck(const std::string& name) const
{
    CSkinButton* button = FindButton(name);
    return button != nullptr && button->IsChecked() ? 1 : 0;
}

void CSkinDlg::SetButtonCheck(const std::string& name, int check)
{
    if (CSkinButton* button = FindButton(name))
        button->SetChecked(check != 0);
}

void CSkinDlg::SetToolTip(const std::string& name, const std::string& text)
{
    if (CSkinButton* button = FindButton(name))
        button->setToolTip(QString::fromStdString(text));
    else if (CSkinLabel* label = FindLabel(name))
        label->setToolTip(QString::fromStdString(text));
}

int CSkinDlg::IsEnabled(int id) const
{
    for (CSkinButton* button : m_buttons) {
        if (button->Id() == id)
            return button->isEnabled() ? 1 : 0;
    }
    return 0;
}

void CSkinDlg::SetProgressPos(const std::string& name, int pos)
{
    if (CSkinSlider* slider = FindSlider(name))
        slider->SetPosition(pos);
}

int CSkinDlg::GetProgressPos(const std::string& name) const
{
    CSkinSlider* slider = FindSlider(name);
    return slider != nullptr ? slider->Position() : 0;
}

void CSkinDlg::SetProgressToolTip(const std::string& name, const std::string& text)
{
    if (CSkinSlider* slider = FindSlider(name))
        slider->setToolTip(QString::fromStdString(text));
}

void CSkinDlg::ChangeProgress(int index)
{
    for (CSkinSlider* slider : m_sliders) {
        if (slider->Index() == index) {
            ProgressChanged(slider->Name());
            return;
        }
    }
}

void CSkinDlg::StopTimer(int stop)
{
    for (CSkinLabel* label : m_labels)
        label->SetTimerEnabled(stop == 0);
}
