#pragma once

#include "app/WindowPlacement.h"

#include <QDialog>

#include <string>
#include <vector>

class QMenu;
class QSizeGrip;

class CPPTooltip;

namespace deskwarden::app {

class FileListView;
class ImageButton;

/**
 * The main window (template 102): a captionless window with the file list and five large buttons. It
 * starts hidden, leaving only the tray icon; the tray or a second start shows it. Hiding it clears the
 * list. What the buttons start is the application's business: the window only asks for it by signal.
 */
class CMainFileDlg final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kBandHeight = 65;
    static constexpr int kBandStrip = 4;
    static constexpr int kColumnWidth = 213;

    /** `profilePath` keeps the window's placement between runs (empty: not kept). */
    CMainFileDlg(std::string pendingFile, std::string profilePath, QWidget* parent = nullptr);
    ~CMainFileDlg() override;

    FileListView& FileList() const { return *m_list; }

    /** Restores the window from minimised or hidden and brings it to the front. */
    void ShowToFront();
    /** Clears the list, minimises the window and hides it: the program goes on in the tray. */
    void HideToTray();
    /** A hand-off text from a second start or a shell: lists its paths and starts what it asks. */
    void ReceiveHandOff(const std::string& text);
    /** The settings dialog is open: a second request is ignored meanwhile. */
    void SetBusy(bool busy) { m_busy = busy; }
    bool IsBusy() const { return m_busy; }

signals:
    void LockRequested();
    void SettingsRequested();
    void EncryptionRequested(bool selectedOnly);
    void DecryptionRequested(bool selectedOnly);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void CreateButtons();
    void CreateMenus();
    void CreateTooltips();
    void RunListAction(int action);
    void AddFilesFromDialog(bool bundles);
    void AddFolderFromDialog();
    void PlaceControls();
    void ToggleMaximised();
    void RestorePlacement();
    void SavePlacement() const;

    std::string m_pendingFile;
    std::string m_profilePath;
    bool m_busy = false;
    FileListView* m_list = nullptr;
    std::vector<ImageButton*> m_largeButtons;
    ImageButton* m_minimise = nullptr;
    ImageButton* m_maximise = nullptr;
    ImageButton* m_close = nullptr;
    QSizeGrip* m_grip = nullptr;
    CPPTooltip* m_tooltip = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace deskwarden::app
