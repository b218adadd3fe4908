#include "WaveformPainter.h"

#include "WaveRecorder.h"

#include <QPainter>
#include <QPolygon>

namespace talk::waveform_painter {

namespace {

constexpr int kResultPenWidth = 5;

void DrawPolyline(QPainter& painter, const std::vector<SkinPoint>& points, const QColor& colour)
{
    if (points.empty())
        return;
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const SkinPoint& p : points)
        polygon << QPoint(p.x, p.y);
    QPen pen(colour, 0, Qt::SolidLine);
    painter.setPen(pen);
    if (polygon.size() == 1)
        painter.drawPoint(polygon.first());
    else
        painter.drawPolyline(polygon);
}

WaveformModel::SampleAt SamplesOf(const WaveRecorder& recorder)
{
    return [&recorder](long index) { return recorder.Sample(index); };
}

} // namespace

void DrawTickSlice(
    QPainter& painter, const WaveformModel& model, const WaveRecorder& recorder, int tick, const QColor& colour)
{
    DrawPolyline(painter, model.TickSlicePoints(tick, SamplesOf(recorder)), colour);
}

void DrawWholeRecording(
    QPainter& painter, const WaveformModel& model, const WaveRecorder& recorder, const QColor& colour)
{
    DrawPolyline(painter, model.WholePoints(SamplesOf(recorder)), colour);
}

void DrawEndpointMarks(
    QPainter& painter, const WaveformModel& model, long startSample, long endSample, const QColor& colour)
{
    painter.setPen(QPen(colour, 0, Qt::SolidLine));
    for (const SkinLine& line : model.EndpointMarks(startSample, endSample))
        painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
}

void DrawResultMark(QPainter& painter, const WaveformModel& model, bool ok)
{
    ResultMarkShape shape = model.ResultMark(ok);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ok ? QColor(0, 0, 255) : QColor(255, 0, 0), kResultPenWidth, Qt::SolidLine, Qt::RoundCap));
    if (shape.circle) {
        painter.drawEllipse(QRect(shape.box.left, shape.box.top, shape.box.Width(), shape.box.Height()));
    } else {
        for (const SkinLine& line : shape.diagonals)
            painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
    }
    painter.restore();
}

} // namespace talk::waveform_painter
