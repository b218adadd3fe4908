#pragma once

#include "MixerLogic.h"

#include <QObject>

#include <vector>

class QSocketNotifier;

/**
 * Wakes the user-interface thread when another program changes the mixer, and hands the change to the
 * mixer logic, which moves the sliders through `sink`.
 */
class MixerWatcher : public QObject
{
    Q_OBJECT
public:
    MixerWatcher(MixerLogic& mixer, MixerLogic::SliderSink sink, QObject* parent = nullptr);
    ~MixerWatcher() override;

private:
    MixerLogic& m_mixer;
    MixerLogic::SliderSink m_sink;
    std::vector<QSocketNotifier*> m_notifiers;
};
