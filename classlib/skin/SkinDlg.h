#pragma once

#include "SkinModel.h"
#include "SkinPaths.h"
#include "SkinPictures.h"
#include "TalkExport.h"

#include <QDialog>
#include <QImage>
#include <QRegion>

#include <functional>
#include <string>
#include <vector>

class CSkinButton;
class CSkinLabel;
class CSkinSlider;
class QPainter;

/**
 * A dialog whose whole look comes from a skin folder: the normal picture fills the window, the mask cuts
 * its outline, and skin.ini places buttons, labels, sliders, the entry controls and the wave area.
 *
 * A derived dialog receives the skin's events through the four virtual callbacks. Its entry controls are
 * found by object name: "3001" (ID edit), "3002" (word combo), "3003" (password edit). Texts are UTF-8.
 * The skin loads on the first show (OnInitDialog); a skin without a main picture is reported through
 * CMessageService ("%s Skin load failure!") and the dialog then asks itself to close (reject()).
 */
class TALK_API CSkinDlg : public QDialog
{
    Q_OBJECT
public:
    TALK_HIDDEN static constexpr const char* kIdEditName = "3001";
    TALK_HIDDEN static constexpr const char* kWordComboName = "3002";
    TALK_HIDDEN static constexpr const char* kPasswordEditName = "3003";

    explicit CSkinDlg(QWidget* parent = nullptr);
    /** `templateId` becomes the dialog's object name. */
    CSkinDlg(unsigned templateId, QWidget* parent);
    ~CSkinDlg() override;

    // Skin events, all empty here: a button released inside itself (name, then id), a label clicked (id),
    // a slider released inside itself (name), the mouse moved over the dialog ("") or a slider (its name).
    virtual void PressButtonName(const std::string& name);
    virtual void PressButtonID(int id);
    virtual void ProgressChanged(const std::string& name);
    virtual void MouseMoved(const std::string& name, int x, int y);
    /** Cuts the window outline from the mask's non-white pixels. */
    virtual void Setup(const QImage& mask);
    /** Reads skin.ini, loads the pictures, shapes and sizes the window and creates the controls. 1, or 0 when
     * "SCREEN"/"MAIN" is empty. */
    virtual int LoadSkins();
    /** Runs once, on the first show, before the window appears: loads the skin. Returns false when it did not load. */
    virtual bool OnInitDialog();

    /** Loads a BMP (or any picture Qt reads) at its own size. */
    static bool LoadBitmap(const std::string& file, QImage* image);

    /** Skin name (upper-cased), title of the skin's message boxes, skin.ini path and wave folder. Returns 1. */
    int SetSkinFile(const std::string& skin, const std::string& title, const std::string& appPath);

    /** Clears the wave area (always filled with the background colour), frame and grid included. */
    void DrawWaveRect(int fill);
    /** Draws on the wave area's own layer, in dialog coordinates; the trace survives repaints until DrawWaveRect. */
    void DrawOnWave(const std::function<void(QPainter&)>& draw);

    void SetText(const std::string& name, const std::string& text);
    std::string GetText(const std::string& name) const;
    void SetVisible(const std::string& name, int show);
    void SetEnable(const std::string& name, int enable);
    int GetButtonCheck(const std::string& name) const;
    void SetButtonCheck(const std::string& name, int check);
    void SetToolTip(const std::string& name, const std::string& text);
    int IsEnabled(int id) const;
    void SetProgressPos(const std::string& name, int pos);
    int GetProgressPos(const std::string& name) const;
    void SetProgressToolTip(const std::string& name, const std::string& text);
    void ChangeProgress(int index);
    void StopTimer(int stop);
    void SetMenuID(unsigned id) { m_menuId = id; }
    unsigned GetMenuID() const { return m_menuId; }
    QRegion GetRGN() const { return m_region; }

    static std::string GetFirstParam(std::string& list, const std::string& separator);
    static SkinRect StringToRect(std::string& list);
    static SkinColor StringToColor(std::string& list);

    const SkinModel& GetSkin() const { return m_skin; }
    const SkinPaths& GetPaths() const { return m_paths; }
    const std::string& GetTitle() const { return m_title; }
    const std::string& GetWaveFolder() const { return m_paths.waveFolder; }
    const SkinRect& GetWaveRect() const { return m_skin.wave.rect; }
    int GetHintFlag() const { return m_skin.hint ? 1 : 0; }
    int GetLabelTipFlag() const { return m_skin.labelTip ? 1 : 0; }

protected:
    void setVisible(bool visible) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    CSkinButton* FindButton(const std::string& name) const;
    CSkinLabel* FindLabel(const std::string& name) const;
    CSkinSlider* FindSlider(const std::string& name) const;

private:
    void FreeSkin();
    void CreateButtons();
    void CreateLabel(const SkinLabelDef& def);
    void PlaceEntryControls();
    void CreateSliders();
    void PaintWaveArea(QPainter& painter, bool fill) const;
    void EnsureWaveLayer();

    std::string m_title;
    SkinPaths m_paths;
    SkinModel m_skin;
    SkinPictures m_pictures;
    QRegion m_region;
    QImage m_waveLayer;
    std::vector<CSkinButton*> m_buttons;
    std::vector<CSkinLabel*> m_labels;
    std::vector<CSkinSlider*> m_sliders;
    unsigned m_menuId = 0;
    bool m_initialised = false;
};
