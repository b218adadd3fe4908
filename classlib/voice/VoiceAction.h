#pragma once

#include <string>
#include <vector>

namespace talk::voice {

/**
 * What the voice dialog's flow asks of the window. A widget applies each kind mechanically:
 *
 * | Kind               | Fields used             | What the widget does                                        |
 * |--------------------|-------------------------|-------------------------------------------------------------|
 * | ShowPrompt         | text                    | "LABEL_HINT" and/or the tooltip, as the skin enables them    |
 * | PlaySound          | text (file path)        | plays it synchronously; returns whether it played           |
 * | SetLabel           | name (skin item), text  | sets that skin label's text                                 |
 * | SetFieldText       | id (3001/3003), text    | sets the edit's text; for 3002 selects the entry `text`     |
 * | ClearField         | id                      | empties the edit                                            |
 * | SetComboWords      | items, value (selected) | replaces the entries of 3002; selects entry `value` (-1 none)|
 * | ApplyLayout        | value (0 to 3)          | shows/hides per VisibilityOf(value)                          |
 * | EnableButtons      | items (skin item names) | enables those skin buttons                                  |
 * | DisableButtons     | items                   | disables them                                               |
 * | FocusControl       | id                      | gives that control the keyboard focus                       |
 * | StartTimer         | id, value (ms)          | (re)starts timer `id`; on expiry calls VoiceFlow::OnTimer   |
 * | KillTimer          | id                      | stops timer `id`                                            |
 * | RecordingStarted   |                         | nothing required (the flow drives the recorder itself)       |
 * | RecordingStopped   |                         | nothing required                                            |
 * | DrawTickSlice      | value (tick 1 to 30)    | draws that tick's samples of VoiceFlow::Recorder()           |
 * | DrawWholeWave      |                         | draws every sample of the recorder                          |
 * | DrawEndpointMarks  | first, last (samples)   | two vertical marks                                          |
 * | DrawResultMark     | value (1 circle, 0 cross)| blue circle or red cross                                   |
 * | ClearWaveArea      |                         | repaints the wave rectangle empty                           |
 * | AskYesNo           | name (caption), text    | modal Yes/No box, exclamation icon; returns true for Yes    |
 * | ShowMessage        | name (caption), text    | modal message box, stop icon                                |
 * | StopButtonTimers   |                         | stops the skin buttons' animation timers                    |
 * | ResumeButtonTimers |                         | starts them again                                           |
 * | DetachToolTip      |                         | detaches the prompt tooltip                                 |
 * | Pause              | value (ms)              | sleeps on the UI thread (no repaint meanwhile, on purpose)   |
 * | End                | value (1 or 2)          | closes the dialog with that result                          |
 */
enum class VoiceActionKind
{
    ShowPrompt,
    PlaySound,
    SetLabel,
    SetFieldText,
    ClearField,
    SetComboWords,
    ApplyLayout,
    EnableButtons,
    DisableButtons,
    FocusControl,
    StartTimer,
    KillTimer,
    RecordingStarted,
    RecordingStopped,
    DrawTickSlice,
    DrawWholeWave,
    DrawEndpointMarks,
    DrawResultMark,
    ClearWaveArea,
    AskYesNo,
    ShowMessage,
    StopButtonTimers,
    ResumeButtonTimers,
    DetachToolTip,
    Pause,
    End,
};

struct VoiceAction
{
    VoiceActionKind kind = VoiceActionKind::ShowPrompt;
    int id = 0;
    int value = 0;
    long first = 0;
    long last = 0;
    std::string name;
    std::string text;
    std::vector<std::string> items;
};

/**
 * Receives the flow's actions one at a time, in order, while the flow handles an event. Applying each at
 * once (rather than collecting them) is what lets a prompt appear before a slow engine step such as
 * training. Called on the UI thread only.
 */
class VoiceActionSink
{
public:
    virtual ~VoiceActionSink() = default;
    /** Carries out `action`. Returns whether a sound played (PlaySound) or Yes was chosen (AskYesNo); other
     *  kinds return true. Must not throw. */
    virtual bool Apply(const VoiceAction& action) = 0;
};

/** Which entry controls and identity labels a layout shows. */
struct LayoutVisibility
{
    bool idField = false; // control 3001
    bool wordCombo = false; // control 3002
    bool passwordField = false; // control 3003
    bool idLabel = false; // "LABEL_ID"
    bool wordLabel = false; // "LABEL_WORD"
    friend bool operator==(const LayoutVisibility&, const LayoutVisibility&) = default;
};

/** Layout 0: identity known; 1: ID typed; 2: enrolment word chosen; 3: ID and password typed. Others show
 *  nothing. */
LayoutVisibility VisibilityOf(int layout) noexcept;

// Control ids of the dialog's entry fields, skin button ids and skin item names.
inline constexpr int kIdField = 3001;
inline constexpr int kWordCombo = 3002;
inline constexpr int kPasswordField = 3003;
inline constexpr int kButtonRecord = 5000;
inline constexpr int kButtonExit = 5001;
inline constexpr int kButtonFloppy = 5002;
inline constexpr const char* kItemRecord = "BUTTON_RECORD";
inline constexpr const char* kItemExit = "BUTTON_EXIT";
inline constexpr const char* kItemFloppy = "BUTTON_FLOPPY";
inline constexpr const char* kLabelId = "LABEL_ID";
inline constexpr const char* kLabelWord = "LABEL_WORD";
inline constexpr const char* kLabelRepeat = "LABEL_REPEAT";
inline constexpr const char* kLabelMode = "LABEL_MODE";
// Optional caption of the second entry row; a skin that paints its captions into the picture has none.
inline constexpr const char* kLabelSecondCaption = "LABEL_CAPTION_WORD";
inline constexpr const char* kCaptionWord = "音声暗号";
inline constexpr const char* kCaptionPassword = "パスワード";

} // namespace talk::voice

namespace talk::voice {

/** An action that carries numbers only. */
inline VoiceAction Act(VoiceActionKind kind, int id = 0, int value = 0)
{
    VoiceAction action;
    action.kind = kind;
    action.id = id;
    action.value = value;
    return action;
}

/** An action that carries a caption or item name and a text. */
inline VoiceAction TextAct(VoiceActionKind kind, std::string name, std::string text)
{
    VoiceAction action;
    action.kind = kind;
    action.name = std::move(name);
    action.text = std::move(text);
    return action;
}

} // namespace talk::voice
