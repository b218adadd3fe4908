#include "lock/SettingsDlg.h"

#include "lock/ColourBox.h"
#include "lock/PictureLoader.h"

#include "Setup/SetupFile.h"
#include "SystemInfo.h"

#include <platform/SystemRoot.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace screenveil {

namespace {

constexpr const char* kFilter = "Supported Image files (*.jpg *.bmp *.JPG *.BMP);;JPG Compliant (*.jpg *.JPG);;"
                                "Windows or OS/2 Bitmap (*.bmp *.BMP)";
constexpr int kFrameWidth = 240;
constexpr int kFrameHeight = 180;

QSpinBox* Spin(int controlId, const QString& suffix, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::number(controlId));
    // Wider than the allowed range, so that a value out of it reaches the check on OK with its message.
    spin->setRange(0, 999);
    spin->setSuffix(" " + suffix);
    return spin;
}

} // namespace

SettingsDlg::SettingsDlg(CSetupFile& setup, SaverSystem system, QWidget* parent)
    : QDialog(parent)
    , m_setup(setup)
    , m_system(std::move(system))
{
    setObjectName("102");
    setWindowTitle("スクリーンセーバーの設定");
    BuildFields();
    m_form.Load(m_setup);
    ShowForm();
    QTimer::singleShot(100, this, [this] {
        m_list->setFocus();
        if (m_list->topLevelItemCount() > 0)
            m_list->setCurrentItem(m_list->topLevelItem(0));
    });
}

void SettingsDlg::BuildFields()
{
    m_list = new QTreeWidget(this);
    m_list->setObjectName("1010");
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({"画像ファイルリスト"});
    m_list->header()->setDefaultAlignment(Qt::AlignCenter);
    m_list->setColumnWidth(0, 470);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setMinimumWidth(360);
    m_picture = new QLabel(this);
    m_picture->setObjectName("1000");
    m_picture->setFixedSize(kFrameWidth, kFrameHeight);
    m_picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picture->setAlignment(Qt::AlignCenter);
    m_pictureInfo = new QLabel(this);
    m_pictureInfo->setObjectName("1009");
    auto* add = new QPushButton("画像追加", this);
    add->setObjectName("1011");
    auto* remove = new QPushButton("画像削除", this);
    remove->setObjectName("1012");
    m_fullSize = new QCheckBox("拡大して表示", this);
    m_fullSize->setObjectName("1002");
    m_interval = Spin(SaverSettingsForm::kIntervalField, "sec", this);
    m_autoStart = new QCheckBox("自動実行", this);
    m_autoStart->setObjectName("1006");
    m_waiting = Spin(SaverSettingsForm::kWaitingField, "min", this);
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName("comment");
    m_comment->setTabChangesFocus(true);
    m_comment->setFixedHeight(60);
    m_background = new ColourBox(1003, "Background Color", this);
    m_commentColour = new ColourBox(1015, "Message Color", this);
    m_memoColour = new ColourBox(1017, "Memo Color", this);
    m_nameColour = new ColourBox(1016, "Name Color", this);
    m_shadowColour = new ColourBox(1018, "Shadow Color", this);

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    listButtons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(m_list, 1);
    left->addLayout(listButtons);
    auto* right = new QVBoxLayout;
    right->addWidget(m_picture);
    right->addWidget(m_pictureInfo);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);

    auto* timing = new QGridLayout;
    timing->addWidget(new QLabel("画像の切り替え", this), 0, 0);
    timing->addWidget(m_interval, 0, 1);
    timing->addWidget(m_fullSize, 0, 2);
    timing->addWidget(m_autoStart, 1, 0);
    timing->addWidget(m_waiting, 1, 1);
    auto* colours = new QGridLayout;
    const std::pair<const char*, ColourBox*> boxes[] = {{"背景", m_background}, {"コメント", m_commentColour},
        {"メッセージ", m_memoColour}, {"名前", m_nameColour}, {"影", m_shadowColour}};
    int column = 0;
    for (const auto& [label, box] : boxes) {
        colours->addWidget(new QLabel(label, this), 0, column);
        colours->addWidget(box, 1, column++);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // The desktop gives this window no system menu to carry the version entry, so it is a button here.
    auto* version = buttons->addButton("ScreenVeil のﾊﾞｰｼﾞｮﾝ情報(&A)...", QDialogButtonBox::HelpRole);
    version->setObjectName("16");
    connect(version, &QPushButton::clicked, this, [this] {
        QMessageBox box(QMessageBox::Information, "ScreenVeil のﾊﾞｰｼﾞｮﾝ情報",
            "ScreenVeil " PROJECT_VERSION_TEXT "\n\nMarlow Desk Warden", QMessageBox::Ok, this);
        box.setObjectName("100");
        box.exec();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(timing);
    layout->addWidget(new QLabel("コメント", this));
    layout->addWidget(m_comment);
    layout->addWidget(new QLabel("色 (ダブルクリックで変更)", this));
    layout->addLayout(colours);
    layout->addWidget(buttons);

    connect(add, &QPushButton::clicked, this, &SettingsDlg::AddPictures);
    connect(remove, &QPushButton::clicked, this, &SettingsDlg::RemovePictures);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &SettingsDlg::ShowPicture);
    connect(m_autoStart, &QCheckBox::toggled, this, &SettingsDlg::FollowAutoStart);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDlg::reject);
    resize(700, 640);
}

void SettingsDlg::ShowForm()
{
    FillList();
    m_interval->setValue(m_form.intervalSeconds);
    m_waiting->setValue(m_form.waitingMinutes);
    m_autoStart->setChecked(m_form.autoStart);
    m_fullSize->setChecked(m_form.display.fullSize);
    m_comment->setPlainText(QString::fromStdString(m_form.comment));
    m_background->SetColour(m_form.display.background);
    m_commentColour->SetColour(m_form.display.comment);
    m_memoColour->SetColour(m_form.display.memo);
    m_nameColour->SetColour(m_form.display.name);
    m_shadowColour->SetColour(m_form.display.shadow);
    FollowAutoStart();
}

void SettingsDlg::TakeFields()
{
    m_form.intervalSeconds = m_interval->value();
    m_form.waitingMinutes = m_waiting->value();
    m_form.autoStart = m_autoStart->isChecked();
    m_form.display.fullSize = m_fullSize->isChecked();
    m_form.comment = m_comment->toPlainText().toStdString();
    m_form.display.background = m_background->Colour();
    m_form.display.comment = m_commentColour->Colour();
    m_form.display.memo = m_memoColour->Colour();
    m_form.display.name = m_nameColour->Colour();
    m_form.display.shadow = m_shadowColour->Colour();
}

void SettingsDlg::FillList()
{
    m_list->clear();
    for (const std::string& path : m_form.pictures)
        m_list->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(path)}));
}

void SettingsDlg::AddPictures()
{
    const QString start = QString::fromStdString(m_setup.GetAppPath() + "/images");
    const QStringList chosen = QFileDialog::getOpenFileNames(this, QString(), start, kFilter);
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(path.toStdString());
    if (m_form.AddPictures(paths) > 0)
        FillList();
}

void SettingsDlg::RemovePictures()
{
    std::vector<int> selected;
    for (QTreeWidgetItem* item : m_list->selectedItems())
        selected.push_back(m_list->indexOfTopLevelItem(item));
    m_form.RemovePictures(selected, m_list->indexOfTopLevelItem(m_list->currentItem()));
    FillList();
}

void SettingsDlg::ShowPicture()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!item) {
        m_picture->clear();
        m_pictureInfo->clear();
        return;
    }
    const std::string path = item->text(0).toStdString();
    PictureFailure failure;
    const QImage image = LoadSlide(path, failure);
    if (image.isNull()) {
        m_picture->setText(QString::fromStdString(failure.text));
        m_pictureInfo->clear();
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(
        image.scaled(kFrameWidth - 4, kFrameHeight - 4, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_pictureInfo->setText(QString("%1 : %2 * %3 [Pixel]")
                               .arg(QFileInfo(item->text(0)).fileName())
                               .arg(image.width())
                               .arg(image.height()));
}

void SettingsDlg::FollowAutoStart()
{
    m_waiting->setEnabled(m_autoStart->isChecked());
}

void SettingsDlg::accept()
{
    TakeFields();
    if (const std::optional<FormRefusal> refusal = m_form.Validate()) {
        QMessageBox::warning(this, "Marlow", QString::fromStdString(refusal->text));
        if (QWidget* field = findChild<QWidget*>(QString::number(refusal->controlId)))
            field->setFocus();
        return;
    }
    if (!m_form.Save(m_setup, m_system))
        QMessageBox::warning(this, "Marlow", "設定を保存できませんでした。");
    QDialog::accept();
}

int RunSettings(CSetupFile& setup)
{
    // The lock tells the families apart by the version record's platform: codes 4 and up are the NT family.
    CSystemInfo info;
    const SaverSystem system {
        info.GetOSVersion() >= 4, platform::SystemFolder().string(), platform::WindowsFolder().string()};
    SettingsDlg dialog(setup, system);
    dialog.exec();
    return 0;
}

} // namespace screenveil
