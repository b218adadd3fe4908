#pragma once

#include "WaveformModel.h"

#include <QColor>

class QPainter;
class WaveRecorder;

/** Draws the waveform geometry with the pens the voice dialog uses (solid, one pixel; result marks five). */
namespace talk::waveform_painter {

/** The samples of tick `tick` as a polyline. */
void DrawTickSlice(
    QPainter& painter, const WaveformModel& model, const WaveRecorder& recorder, int tick, const QColor& colour);
/** The whole buffer as a polyline. */
void DrawWholeRecording(
    QPainter& painter, const WaveformModel& model, const WaveRecorder& recorder, const QColor& colour);
/** Two vertical lines at the start and end sample of the detected speech. */
void DrawEndpointMarks(
    QPainter& painter, const WaveformModel& model, long startSample, long endSample, const QColor& colour);
/** Blue circle (ok) or red cross. */
void DrawResultMark(QPainter& painter, const WaveformModel& model, bool ok);

} // namespace talk::waveform_painter
