#pragma once

#include "voice/DriveSelectDlg.h"
#include "voice/VoiceAction.h"
#include "voice/VoiceDlgFlow.h"

#include <functional>
#include <memory>
#include <string>

class MixerLogic;

namespace talk::voice {

/** The ids the window gives its three entry controls; the flow's actions and events use the same ids. */
struct VoiceDlgControlIds
{
    int idField = kIdField;
    int wordCombo = kWordCombo;
    int passwordField = kPasswordField;
};

/**
 * How a program's own copy of the voice dialog departs from the shared one in its window. The defaults are
 * the shared dialog.
 */
struct VoiceDlgCopy
{
    VoiceDlgControlIds ids;
    bool dragAnywhere = true; // a left click on the body moves the window
    bool opensMixer = true; // false: the sliders never reach a mixer
    /** Asked before a slider move or a change made elsewhere is acted on; unset: always. */
    std::function<bool()> mixerLive;
    /** Unset: the machine's default mixer. */
    std::function<std::unique_ptr<MixerLogic>()> openMixer;
    DriveSelectLook drives;
    /**
     * Builds the flow over the services the window has filled (stores, engine, clock, drives, sink, capture,
     * variant); unset: the shared VoiceFlow.
     */
    std::function<std::unique_ptr<VoiceDlgFlow>(VoiceFlowServices)> makeFlow;
};

} // namespace talk::voice
