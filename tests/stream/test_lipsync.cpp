// Lip sync: the simulated receiver's sync programme flashes its picture and
// beeps at the same instants. Where the two reach their sinks, their running
// times (stream time, not wall time) must agree within 40 ms.
#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <string>
#include <vector>
#include <gst/audio/audio.h>

#include "stream/pipeline.h"
#include "stream/playback_support.h"
#include "stream/streamrules.h"
#include "support/sim.h"

namespace {

const char* SYNC_REF = "1:0:1:2FFF:401:1:C00000:0:0:0:";

// Running times of the flashes or beeps that reached one sink.
struct Marks {
    std::mutex lock;
    std::vector<GstClockTime> times;
    bool inside = false;   // the last buffer ended within a flash or beep
    size_t quiet = 0;      // samples since the last loud one
    void add(GstClockTime t)
    {
        std::lock_guard<std::mutex> g(lock);
        times.push_back(t);
    }
    std::vector<GstClockTime> get()
    {
        std::lock_guard<std::mutex> g(lock);
        return times;
    }
};

GstClockTime RunningTime(GstPad* pad, GstClockTime pts)
{
    GstEvent* ev = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    if (!ev)
        return GST_CLOCK_TIME_NONE;
    const GstSegment* seg = nullptr;
    gst_event_parse_segment(ev, &seg);
    GstClockTime rt = gst_segment_to_running_time(seg, GST_FORMAT_TIME, pts);
    gst_event_unref(ev);
    return rt;
}

// A frame is a flash when its first component (R or Y) is bright on average.
GstPadProbeReturn OnFrame(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    auto* marks = static_cast<Marks*>(data);
    GstBuffer* buf = GST_PAD_PROBE_INFO_BUFFER(info);
    GstCaps* caps = gst_pad_get_current_caps(pad);
    GstVideoInfo vi;
    GstVideoFrame frame;
    if (caps && gst_video_info_from_caps(&vi, caps) && gst_video_frame_map(&frame, &vi, buf, GST_MAP_READ)) {
        const guint8* p = static_cast<const guint8*>(GST_VIDEO_FRAME_COMP_DATA(&frame, 0));
        int stride = GST_VIDEO_FRAME_COMP_STRIDE(&frame, 0), step = GST_VIDEO_FRAME_COMP_PSTRIDE(&frame, 0);
        long sum = 0, n = 0;
        for (int y = 0; y < GST_VIDEO_FRAME_COMP_HEIGHT(&frame, 0); y += 8)
            for (int x = 0; x < GST_VIDEO_FRAME_COMP_WIDTH(&frame, 0); x += 8, ++n)
                sum += p[y * stride + x * step];
        gst_video_frame_unmap(&frame);
        bool flash = n && sum / n > 128;
        if (flash && !marks->inside)
            marks->add(RunningTime(pad, GST_BUFFER_PTS(buf)));
        marks->inside = flash;
    }
    if (caps)
        gst_caps_unref(caps);
    return GST_PAD_PROBE_OK;
}

// A beep starts at the first loud sample after silence.
GstPadProbeReturn OnSound(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    auto* marks = static_cast<Marks*>(data);
    GstBuffer* buf = GST_PAD_PROBE_INFO_BUFFER(info);
    GstCaps* caps = gst_pad_get_current_caps(pad);
    GstAudioInfo ai;
    GstMapInfo map;
    if (caps && gst_audio_info_from_caps(&ai, caps) && gst_buffer_map(buf, &map, GST_MAP_READ)) {
        GstAudioFormat f = GST_AUDIO_INFO_FORMAT(&ai);
        int ch = GST_AUDIO_INFO_CHANNELS(&ai);
        size_t frames = map.size / GST_AUDIO_INFO_BPF(&ai);
        for (size_t i = 0; i < frames; ++i) {
            double v = f == GST_AUDIO_FORMAT_F32LE   ? reinterpret_cast<const float*>(map.data)[i * ch]
                       : f == GST_AUDIO_FORMAT_S16LE ? reinterpret_cast<const gint16*>(map.data)[i * ch] / 32768.0
                       : f == GST_AUDIO_FORMAT_S32LE ? reinterpret_cast<const gint32*>(map.data)[i * ch] / 2147483648.0
                                                     : 0;
            bool loud = std::fabs(v) > 0.1;
            if (loud && !marks->inside)
                marks->add(RunningTime(pad, GST_BUFFER_PTS(buf)) +
                           gst_util_uint64_scale(i, GST_SECOND, GST_AUDIO_INFO_RATE(&ai)));
            // A beep has quiet zero crossings; it ends after 10 ms of quiet.
            marks->quiet = loud ? 0 : marks->quiet + 1;
            marks->inside = loud || (marks->inside && marks->quiet < 480);
        }
        gst_buffer_unmap(buf, &map);
    }
    if (caps)
        gst_caps_unref(caps);
    return GST_PAD_PROBE_OK;
}

bool WatchSink(GstElement* const& global, GstPadProbeCallback cb, Marks* marks)
{
    ElementRef sink = BackendElement(global);
    if (!sink)
        return false;
    GstPad* pad = gst_element_get_static_pad(sink.get(), "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, cb, marks, nullptr);
    gst_object_unref(pad);
    return true;
}

TEST(LipSync, AFlashAndItsBeepReachTheSinksAtTheSameRunningTime)
{
    SetupPlaybackConfig();
    ASSERT_TRUE(GStreamerInit());
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    GstEventRecorder events;
    g_object_set(source, "location",
                 ("http://" + sim.host() + ":" + std::to_string(sim.streamPort()) + "/" +
                  EncodedRef(SYNC_REF)).c_str(), NULL);
    g_object_set(demuxer, "program-number", int(ServiceIdFromRef(wxString::FromUTF8(SYNC_REF))), NULL);
    TakeStreamSettings();
    gst_element_set_state(pipeline, GST_STATE_PAUSED);

    // Probes go on as soon as the sinks exist; a flash every 2.4 s follows.
    Marks flashes, beeps;
    bool video = false, audio = false;
    ASSERT_TRUE(RunUntil([&] {
        video = video || WatchSink(videosink, OnFrame, &flashes);
        audio = audio || WatchSink(audiosink, OnSound, &beeps);
        return video && audio;
    }));
    ASSERT_TRUE(RunUntil([&] { return flashes.get().size() >= 3 && beeps.get().size() >= 3; }, 40000))
        << flashes.get().size() << " flashes, " << beeps.get().size() << " beeps";

    // Compare each flash with the beep nearest to it; later flashes run on
    // the clock the pipeline chose.
    int compared = 0;
    for (GstClockTime f : flashes.get()) {
        GstClockTimeDiff best = G_MAXINT64;
        for (GstClockTime b : beeps.get())
            if (std::llabs(GstClockTimeDiff(b - f)) < std::llabs(best))
                best = GstClockTimeDiff(b - f);
        if (std::llabs(best) > GST_SECOND)
            continue;   // its beep came before the probes or after the end
        EXPECT_LT(std::llabs(best), 40 * GST_MSECOND) << "sound minus picture " << best / GST_MSECOND << " ms";
        compared++;
    }
    EXPECT_GE(compared, 2);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    GStreamerDone();
}

}  // namespace
