#pragma once

#include <QColor>
#include <QRect>

// Where everything of the default skin sits. The painter and the skin.ini writer both read these, so the
// pictures and the file cannot drift apart.
namespace skingen::default_skin_layout {

inline constexpr int kWidth = 420;
inline constexpr int kHeight = 320;
inline constexpr int kCornerRadius = 16;
inline constexpr int kHeaderHeight = 46;

inline const QRect kFloppyButton {356, 11, 24, 24};
inline const QRect kExitButton {386, 11, 24, 24};
inline const QRect kRecordButton {184, 246, 52, 52};

inline const QRect kIdCaption {20, 56, 72, 22};
inline const QRect kIdField {96, 56, 190, 22};
inline const QRect kWordCaption {20, 84, 72, 22};
inline const QRect kWordField {96, 84, 190, 22};
inline const QRect kBadge {300, 56, 100, 50};

inline const QRect kWavePanel {16, 112, 388, 104};
inline const QRect kWaveRect {20, 116, 380, 96};
inline const QRect kHintStrip {16, 220, 388, 22};

inline const QRect kSpeakerIcon {20, 263, 18, 18};
inline const QRect kSpeakerSlider {46, 266, 120, 12};
inline const QRect kMicSlider {254, 266, 120, 12};
inline const QRect kMicIcon {382, 263, 18, 18};
inline constexpr int kFooterLine = 304;

// Labels: the text area inside each place.
inline const QRect kGroupLabel {126, 17, 150, 18};
inline const QRect kIdLabel {102, 58, 180, 18};
inline const QRect kWordLabel {102, 86, 180, 18};
inline const QRect kModeLabel {308, 59, 86, 16};
inline const QRect kRepeatLabel {308, 76, 86, 28};
inline const QRect kHintLabel {26, 222, 372, 18};
inline const QRect kLangLabel {20, 305, 100, 14};
inline const QRect kCompanyLabel {322, 305, 90, 14};

// Palette.
inline const QColor kBodyTop {27, 36, 64};
inline const QColor kBodyBottom {14, 20, 37};
inline const QColor kHeaderTop {40, 54, 94};
inline const QColor kHeaderBottom {28, 39, 71};
inline const QColor kAccent {46, 196, 182};
inline const QColor kAccentLight {123, 228, 149};
inline const QColor kCaption {159, 176, 214};
inline const QColor kFieldFill {11, 16, 32};
inline const QColor kFieldBorder {51, 64, 102};
inline const QColor kWaveBackground {7, 11, 22};
inline const QColor kWaveLine {94, 234, 178};
inline const QColor kWaveGrid {38, 56, 92};
inline const QColor kRecordRed {229, 72, 77};

} // namespace skingen::default_skin_layout
