#include <mutex>

#include "app/config.h"
#include "app/globals.h"
#include "stream/hooks.h"
#include "stream/pipeline.h"

static std::mutex settingsLock;
static StreamSettings settings;

void TakeStreamSettings()
{
    StreamSettings s;
    if (!config.videosink.empty())
        s.videosink = config.videosink.utf8_str().data();
    s.compatibility = compatibility;
    s.deinterlacer = config.deinterlacer;
    s.deinterlacermethod = config.deinterlacermethod;
    s.brightness = config.brightness;
    s.contrast = config.contrast;
    s.color = config.color;
    s.lband = config.lband;
    s.mband = config.mband;
    s.hband = config.hband;
    s.volume = AudioMuted && AudioMuted() ? 0.0 : config.volume / 100.0;
    s.clock = ClockOverlayVisible && ClockOverlayVisible();
    s.buffertime = config.streambuffertime;
    s.buffer = config.streambuffer;
    std::lock_guard<std::mutex> g(settingsLock);
    settings = s;
}

StreamSettings CurrentStreamSettings()
{
    std::lock_guard<std::mutex> g(settingsLock);
    return settings;
}
