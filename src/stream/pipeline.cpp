#include "stream/pipeline.h"

#include <cstdlib>
#include <mutex>
#define GST_USE_UNSTABLE_API
#include <gst/mpegts/mpegts.h>
#include <wx/event.h>
#include <wx/thread.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"
#include "mainwindow/mainframe.h"
#include "stream/streaminfo.h"

#include "app/gstlog.h"
#include "app/splashframe.h"

GstElement* pipeline = nullptr;
GstElement* source = nullptr;
GstElement* sourcequeue = nullptr;
GstElement* sourceidentity = nullptr;
GstElement* tee_element = nullptr;
GstElement* teequeue1 = nullptr;
GstElement* teequeue2 = nullptr;
GstElement* valve = nullptr;
GstElement* filesink = nullptr;
GstElement* demuxer = nullptr;
GstBus* bus = nullptr;

std::atomic<bool> padsComplete{false};
std::atomic<unsigned> streamGeneration{0};

static std::atomic<wxEvtHandler*> eventTarget{nullptr};

wxEvtHandler* GstEventTarget()
{
    wxEvtHandler* t = eventTarget.load();
    return t ? t : static_cast<wxEvtHandler*>(MainFrame);
}

void SetGstEventTarget(wxEvtHandler* handler)
{
    eventTarget.store(handler);
}

void PostGstEvent(int code, int value)
{
    wxEvtHandler* target = GstEventTarget();
    if (!target)
        return;
    wxCommandEvent* ev = new wxCommandEvent(wxEVT_GST, code);
    ev->SetInt(value);
    wxQueueEvent(target, ev);
}

void StreamLog(int level, const char* text)
{
    GSTLog(level, text);
}

wxString MissingPlugins()
{
    const char* fixed[] = {
        "alsasink", "a52dec", "audioconvert", "audioresample", "audiorate", "appsink",
        "capsfilter", "clockoverlay", "deinterlace", "equalizer-3bands", "avdec_h264",
        "videoconvert", "filesink", "identity", "input-selector", "mpg123audiodec", "tsdemux",
        "mpeg2dec", "multiqueue", "queue2", "souphttpsrc", "dvbsuboverlay", "tee",
        "textoverlay", "valve", "videobalance", "videobox", "videoscale", "videorate",
        "videomixer", "volume", "mpegvideoparse", "h264parse", "mpegaudioparse", "ac3parse",
    };
    wxString sink = config.videosink.empty() ? wxString(wxT("xvimagesink")) : config.videosink;
    std::vector<wxString> names{sink};
    for (const char* n : fixed)
        names.push_back(n);
    wxString missing;
    GstRegistry* reg = gst_registry_get();
    for (const auto& n : names) {
        GstPluginFeature* f =
            gst_registry_find_feature(reg, n.utf8_str(), GST_TYPE_ELEMENT_FACTORY);
        bool ok = f && gst_plugin_feature_check_version(f, 1, 0, 0);
        if (f)
            gst_object_unref(f);
        if (!ok)
            missing += wxT("     - ") + n + wxT("\n");
    }
    return missing;
}

// Seeks travel up from every sink. The capture branch only copies what the
// source delivers, so its seek is answered here instead of failing at the
// source (which cannot seek in time) and failing the whole seek with it.
static GstPadProbeReturn AnswerCaptureSeek(GstPad*, GstPadProbeInfo* info, gpointer)
{
    GstEvent* ev = GST_PAD_PROBE_INFO_EVENT(info);
    return ev && GST_EVENT_TYPE(ev) == GST_EVENT_SEEK ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

extern std::atomic<unsigned long> streamPackets;

static GstPadProbeReturn CountPackets(GstPad*, GstPadProbeInfo*, gpointer)
{
    streamPackets++;
    return GST_PAD_PROBE_OK;
}

static GstElement* Make(const char* factory, const char* name)
{
    GstElement* e = gst_element_factory_make(factory, name);
    if (!e)
        StreamLog(2, (std::string("ERR [") + name + "#cannot create " + factory + "#]").c_str());
    return e;
}

bool GStreamerInit()
{
    setenv("GST_DEBUG_NO_COLOR", "1", 1);
    // Without -d a GST_DEBUG of the user's own stays in force.
    if (!gstdebug.empty())
        setenv("GST_DEBUG", gstdebug.utf8_str(), 1);
    ZeroStreamInfo();
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    gst_mpegts_initialize();

    TakeStreamSettings();
    wxString missing = MissingPlugins();
    if (!missing.empty()) {
        ZPMessageBox(wxT("Folgende Elemente konnten nicht geladen werden:\n\n") + missing +
                         wxT("\n") + wxT("Bitte die GStreamer-Installation überprüfen..."),
                     wxOK | wxICON_ERROR, SplashFrame);
        return false;
    }
    if (pipeline)
        return true;

    pipeline = gst_pipeline_new("Zappora");
    source = Make("souphttpsrc", "Source");
    sourcequeue = Make("queue2", "SourceQueue");
    sourceidentity = Make("identity", "SourceIdentity");
    tee_element = Make("tee", "Tee");
    teequeue1 = Make("queue2", "TeeQueue1");
    teequeue2 = Make("queue2", "TeeQueue2");
    valve = Make("valve", "Valve");
    filesink = Make("filesink", "FileSink");
    demuxer = Make("tsdemux", "Demuxer");
    if (!pipeline || !source || !sourcequeue || !sourceidentity || !tee_element || !teequeue1 ||
        !teequeue2 || !valve || !filesink || !demuxer)
        return false;

    // The source only ever fetches the receiver's own streams, whose web
    // server (recordings over HTTPS) has a self-signed certificate; the
    // web-interface requests accept it too.
    g_object_set(source, "timeout", 5, "ssl-strict", FALSE, NULL);
    for (GstElement* q : {sourcequeue, teequeue1, teequeue2})
        g_object_set(q, "max-size-buffers", 0, "max-size-bytes", 0, NULL);
    g_object_set(sourceidentity, "signal-handoffs", FALSE, NULL);
    // The closed valve still passes the end of the stream, so that the file
    // sink finishes with the others and the pipeline can report it.
    g_object_set(valve, "drop", TRUE, "drop-mode", 1, NULL);
    g_object_set(filesink, "async", FALSE, "location", "/dev/null", NULL);

    gst_bin_add_many(GST_BIN(pipeline), source, sourcequeue, sourceidentity, tee_element,
                     teequeue1, teequeue2, valve, filesink, demuxer, NULL);
    gboolean linked =
        gst_element_link_many(source, sourcequeue, sourceidentity, tee_element, NULL) &&
        gst_element_link_many(tee_element, teequeue1, demuxer, NULL) &&
        gst_element_link_many(tee_element, teequeue2, valve, filesink, NULL);
    if (!linked)
        StreamLog(2, "ERR [Zappora#front end not linked#]");

    GstPad* captureIn = gst_element_get_static_pad(filesink, "sink");
    gst_pad_add_probe(captureIn, GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, AnswerCaptureSeek, nullptr, nullptr);
    gst_object_unref(captureIn);

    GstPad* demuxIn = gst_element_get_static_pad(demuxer, "sink");
    gst_pad_add_probe(demuxIn, GST_PAD_PROBE_TYPE_BUFFER, CountPackets, nullptr, nullptr);
    gst_object_unref(demuxIn);

    g_signal_connect(demuxer, "pad-added", G_CALLBACK(PadAdded), nullptr);
    g_signal_connect(demuxer, "pad-removed", G_CALLBACK(PadRemoved), nullptr);
    g_signal_connect(demuxer, "no-more-pads", G_CALLBACK(PadsDone), nullptr);

    GstBus* b = gst_pipeline_get_bus(GST_PIPELINE(pipeline));
    gst_bus_set_sync_handler(b, MessageLoop, nullptr, nullptr);
    bus = b;
    gst_object_unref(b);
    return true;
}

// Orders a stop against a late start from another thread: the check of the
// stream and its start happen together, or not at all.
static std::mutex startStopLock;

void StopPipeline()
{
    if (!pipeline)
        return;
    std::lock_guard<std::mutex> g(startStopLock);
    streamGeneration++;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    for (GstElement* e : {source, sourcequeue, sourceidentity, tee_element, teequeue1, demuxer,
                          teequeue2, valve, filesink})
        if (e)
            gst_element_set_state(e, GST_STATE_NULL);
    // Whatever the demultiplexer did not withdraw goes now.
    TearDownBackend();
    padsComplete = false;
}

void PlayIfCurrent(unsigned generation)
{
    std::lock_guard<std::mutex> g(startStopLock);
    if (pipeline && generation == streamGeneration.load() && GST_STATE(pipeline) == GST_STATE_PAUSED)
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
}

void GStreamerDone()
{
    if (!pipeline)
        return;
    StopPipeline();
    gst_object_unref(pipeline);
    pipeline = source = sourcequeue = sourceidentity = tee_element = nullptr;
    teequeue1 = teequeue2 = valve = filesink = demuxer = nullptr;
    bus = nullptr;
    SetLastPMT(nullptr);
    ZeroStreamInfo();
}
