#include "ArtCatalogue.h"

#include "Slides.h"
#include "SmallIcons.h"
#include "WindowArt.h"

namespace deskwarden_art::catalogue {

namespace {

using window_art::FrameButton;
using window_art::State;

struct StateName
{
    State state;
    const char* suffix;
};

constexpr StateName kStates[] = {{State::Normal, "normal"}, {State::Over, "over"}, {State::Down, "down"}};

void AddLargeButtons(std::vector<Picture>& pictures)
{
    for (int control : {1001, 1002, 1004, 1005, 1080}) {
        for (const StateName& state : kStates) {
            pictures.push_back({QString("button-%1-%2.png").arg(control).arg(state.suffix),
                [control, state] { return window_art::PaintLargeButton(control, state.state); }});
        }
    }
}

void AddFrameButtons(std::vector<Picture>& pictures)
{
    const std::pair<FrameButton, const char*> buttons[] = {{FrameButton::Minimise, "minimise"},
        {FrameButton::Maximise, "maximise"}, {FrameButton::Restore, "restore"}, {FrameButton::Close, "close"}};
    for (const auto& [button, name] : buttons) {
        for (const StateName& state : kStates) {
            pictures.push_back({QString("frame-%1-%2.png").arg(name).arg(state.suffix),
                [button, state] { return window_art::PaintFrameButton(button, state.state); }});
        }
    }
}

void AddListPictures(std::vector<Picture>& pictures)
{
    using small_icons::RowImage;
    const std::pair<RowImage, const char*> rows[]
        = {{RowImage::Administrator, "row-admin.png"}, {RowImage::GeneralUser, "row-user.png"},
            {RowImage::UnregisteredAccount, "row-account.png"}, {RowImage::Check, "check.png"}};
    for (const auto& [image, name] : rows)
        pictures.push_back({name, [image] { return small_icons::PaintRowImage(image); }});
    pictures.push_back({"menu-icons.png", small_icons::PaintMenuStrip});
}

void AddAppIcons(std::vector<Picture>& pictures)
{
    for (int size : {16, 32, 48, 64, 128, 256})
        pictures.push_back({QString("icon-%1.png").arg(size), [size] { return small_icons::PaintAppIcon(size); }});
}

} // namespace

std::vector<Picture> ProgramPictures()
{
    std::vector<Picture> pictures {
        {"band.png", window_art::PaintBand},
        {"column-logo.png", window_art::PaintColumnLogo},
        {"about.png", window_art::PaintAbout},
    };
    AddLargeButtons(pictures);
    AddFrameButtons(pictures);
    AddListPictures(pictures);
    AddAppIcons(pictures);
    return pictures;
}

std::vector<Picture> SlidePictures()
{
    std::vector<Picture> pictures;
    for (int i = 0; i < slides::kSlideCount; ++i)
        pictures.push_back(
            {QString("screen%1.bmp").arg(i + 1, 2, 10, QChar('0')), [i] { return slides::PaintSlide(i); }});
    return pictures;
}

} // namespace deskwarden_art::catalogue
