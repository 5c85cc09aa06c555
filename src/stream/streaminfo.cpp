#include "stream/streaminfo.h"

#include <cstring>
#include <mutex>
#define GST_USE_UNSTABLE_API
#include <gst/mpegts/mpegts.h>

STREAMINFO streaminfo;
SUBTLTEMP subtltemp[MAX_SUBTITLES];
int auto_ns = 1;

static std::mutex pmtLock;
static GstMpegtsSection* lastPmt = nullptr;

std::mutex& StreamRecordLock()
{
    static std::mutex lock;
    return lock;
}

STREAMFIELDS StreamInfoCopy()
{
    std::lock_guard<std::mutex> g(StreamRecordLock());
    return streaminfo;
}

void ZeroStreamInfo()
{
    GstPad* pads[2 + MAX_AUDIO_TRACKS + MAX_SUBTITLES];
    int n = 0;
    {
        std::lock_guard<std::mutex> g(StreamRecordLock());
        pads[n++] = streaminfo.videopad;
        pads[n++] = streaminfo.ttxpad;
        for (auto& a : streaminfo.audio)
            pads[n++] = a.pad;
        for (auto& s : streaminfo.subtitle)
            pads[n++] = s.pad;
        static_cast<STREAMFIELDS&>(streaminfo) = STREAMFIELDS{};
        streaminfo.playingsinks = 0;
        streaminfo.sinks = 0;
        streaminfo.buffering = false;
    }
    for (int i = 0; i < n; ++i)
        if (pads[i])
            gst_object_unref(pads[i]);
}

GstMpegtsSection* LastPMT()
{
    std::lock_guard<std::mutex> g(pmtLock);
    return lastPmt ? gst_mpegts_section_ref(lastPmt) : nullptr;
}

void SetLastPMT(GstMpegtsSection* section)
{
    GstMpegtsSection* old;
    {
        std::lock_guard<std::mutex> g(pmtLock);
        old = lastPmt;
        lastPmt = section ? gst_mpegts_section_ref(section) : nullptr;
    }
    if (old)
        gst_mpegts_section_unref(old);
}
