#pragma once

#include <QImage>
#include <QWidget>

class CSetupFile;
class QCheckBox;
class QComboBox;

namespace deskwarden::settings {

/** The preview frame (1103): white, the picture centred, or stretched to the frame when it is larger. */
class CSkinPreview final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kInset = 2;
    explicit CSkinPreview(QWidget* parent);
    void SetPicture(QImage picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

/** The skin page (dialog 246): the skin (1101) and the voice guidance switch (1102), each written at once. */
class CSkinPage final : public QWidget
{
    Q_OBJECT
public:
    CSkinPage(CSetupFile& setup, QWidget* parent);

private:
    void ChooseSkin(int index);
    void ShowPreview(const std::string& name);

    CSetupFile& m_setup;
    QComboBox* m_skins;
    QCheckBox* m_narration;
    CSkinPreview* m_preview;
};

} // namespace deskwarden::settings
