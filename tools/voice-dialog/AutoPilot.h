#pragma once

#include "voice/WaveRecorder.h"

#include <QObject>
#include <QTimer>

#include <cstddef>
#include <memory>

class CVoiceDlg;

namespace voice_dialog {

/**
 * Plays the user of a voice dialog for demonstrations and tests: presses Record whenever the dialog waits
 * for a reading and Exit once the audio input has no reading left. Readings are counted as the recorder
 * opens the input, so a folder of N files gives exactly N readings (the file input would start the folder
 * again after its last file).
 */
class AutoPilot : public QObject
{
    Q_OBJECT
public:
    /** `readingsAvailable` 0 means no end: the input is a microphone or a single file. */
    AutoPilot(CVoiceDlg& dialog, std::size_t readingsAvailable);

    /** The capture factory the dialog must use so that readings are counted. */
    WaveRecorder::CaptureFactory CountingCapture();
    void Start();

    std::size_t ReadingsTaken() const { return *m_taken; }
    bool ReadingsUsedUp() const;

private:
    void Step();

    CVoiceDlg& m_dialog;
    std::size_t m_available;
    std::shared_ptr<std::size_t> m_taken;
    QTimer m_poll;
};

/** How many readings the input named by WARDEN_AUDIO_INPUT holds: the WAV files of a folder; 0 otherwise. */
std::size_t ReadingsOfAudioInput();

} // namespace voice_dialog
