#include "MixerWatcher.h"

#include <QSocketNotifier>

MixerWatcher::MixerWatcher(MixerLogic& mixer, MixerLogic::SliderSink sink, QObject* parent)
    : QObject(parent)
    , m_mixer(mixer)
    , m_sink(std::move(sink))
{
    for (int fd : m_mixer.EventDescriptors()) {
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { m_mixer.HandleDeviceChanges(m_sink); });
        m_notifiers.push_back(notifier);
    }
}

MixerWatcher::~MixerWatcher() = default;
