// The per-stream back end: decoder chains created, linked and removed as the
// demultiplexer announces and withdraws its elementary streams.
#include <cstring>
#include <mutex>
#include <string>
#include <vector>
#include <gst/app/gstappsink.h>
#define GST_USE_UNSTABLE_API
#include <gst/mpegts/mpegts.h>
#include <gst/video/video.h>
#include <wx/string.h>

#include "app/config.h"
#include "app/globals.h"
#include "mainwindow/mainframe.h"
#include "stream/pipeline.h"
#include "stream/streaminfo.h"
#include "stream/streamrules.h"
#include "stream/hooks.h"

GstElement* multiqueue = nullptr;
GstElement* videodecoder = nullptr;
GstElement* decoderqueue = nullptr;
GstElement* deinterlace = nullptr;
GstElement* videorate = nullptr;
GstElement* videoscale = nullptr;
GstElement* videobalance = nullptr;
GstElement* subtitleoverlay = nullptr;
GstElement* clockoverlay = nullptr;
GstElement* textoverlay = nullptr;
GstElement* ffmpegcolorspace = nullptr;
GstElement* videoqueue = nullptr;
GstElement* videosink = nullptr;
GstElement* audio_inputselector = nullptr;
GstElement* audiorate = nullptr;
GstElement* equalizer = nullptr;
GstElement* volume = nullptr;
GstElement* audioqueue = nullptr;
GstElement* audiosink = nullptr;
GstElement* teletextsink = nullptr;
GstElement* subtl_inputselector = nullptr;
// The 1.x decoders take framed input only.
static GstElement* videoparser = nullptr;

GstFlowReturn (*TeletextCollector)(GstAppSink*, gpointer) = nullptr;
bool (*ClockOverlayVisible)() = nullptr;
bool (*AudioMuted)() = nullptr;
bool (*DesktopWindowExists)() = nullptr;

// Pad-added, pad-removed and the teardown after a stop may run on different
// threads; one of them changes the back end at a time. The one that does may
// wait for streaming threads meanwhile, so other threads never take this
// lock: the element globals and the stream record change under the record's
// short lock, which they take instead.
static std::recursive_mutex backendLock;
using RecordGuard = std::lock_guard<std::mutex>;

// The collection of streams the demultiplexer announced last; a chain built
// for an earlier one is replaced when its successor arrives (a PMT change).
static std::atomic<int> collectionNumber{0};
static int videoCollection = 0, teletextCollection = 0;

static void Log(const char* text)
{
    StreamLog(3, text);
}

static void Logf(const char* fmt, ...) G_GNUC_PRINTF(1, 2);
static void Logf(const char* fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    Log(buf);
}

ElementRef BackendElement(GstElement* const& global)
{
    RecordGuard g(StreamRecordLock());
    return ElementRef(global ? GST_ELEMENT(gst_object_ref(global)) : nullptr);
}

void ShowOnScreenText(const wxString& text)
{
    if (ElementRef t = BackendElement(textoverlay))
        g_object_set(t.get(), "text", (const char*)text.utf8_str(), "color", 0xff00ff00u,
                     "halignment", 1, "valignment", 1, "silent", FALSE, NULL);
}

void HideOnScreenText()
{
    if (ElementRef t = BackendElement(textoverlay))
        g_object_set(t.get(), "silent", TRUE, NULL);
}

// The selector input a track's chain feeds (a new reference), or null.
static GstPad* SelectorInputOf(const AUDIOTRACK& track)
{
    if (!track.resampler)
        return nullptr;
    GstPad* out = gst_element_get_static_pad(track.resampler, "src");
    GstPad* in = out ? gst_pad_get_peer(out) : nullptr;
    if (out)
        gst_object_unref(out);
    return in;
}

static bool SelectAudioTrackLocked(int index)
{
    if (!audio_inputselector || index < 0 || index >= streaminfo.audiotracks)
        return false;
    GstPad* in = SelectorInputOf(streaminfo.audio[index]);
    if (!in)
        return false;
    g_object_set(audio_inputselector, "active-pad", in, NULL);
    gst_object_unref(in);
    streaminfo.audioselected = index;
    return true;
}

bool SelectAudioTrack(int index)
{
    RecordGuard g(StreamRecordLock());
    return SelectAudioTrackLocked(index);
}

bool SelectAudioTrackOfPid(int pid)
{
    RecordGuard g(StreamRecordLock());
    for (int i = 0; i < streaminfo.audiotracks; ++i)
        if (streaminfo.audio[i].pid == pid)
            return SelectAudioTrackLocked(i);
    return false;
}

int SelectedAudioTrack()
{
    RecordGuard g(StreamRecordLock());
    if (!audio_inputselector)
        return -1;
    GstPad* active = nullptr;
    g_object_get(audio_inputselector, "active-pad", &active, NULL);
    int found = -1;
    for (int i = 0; i < streaminfo.audiotracks && found < 0 && active; ++i) {
        GstPad* in = SelectorInputOf(streaminfo.audio[i]);
        if (in == active)
            found = i;
        if (in)
            gst_object_unref(in);
    }
    if (active)
        gst_object_unref(active);
    return found;
}

bool IsElementLinked(GstElement* element)
{
    if (!element)
        return false;
    bool linked = false;
    GstIterator* it = gst_element_iterate_sink_pads(element);
    GValue item = G_VALUE_INIT;
    bool done = false;
    while (!done) {
        switch (gst_iterator_next(it, &item)) {
        case GST_ITERATOR_OK:
            if (gst_pad_is_linked(GST_PAD(g_value_get_object(&item))))
                linked = true;
            g_value_reset(&item);
            break;
        case GST_ITERATOR_RESYNC:
            gst_iterator_resync(it);
            linked = false;
            break;
        default:
            done = true;
        }
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return linked;
}

// Adds elements to the pipeline; they get its state once they are linked.
static void AddAll(std::initializer_list<GstElement*> els)
{
    for (GstElement* e : els)
        gst_bin_add(GST_BIN(pipeline), e);
}

// Brings a freshly linked chain up from the sink end, so that no element
// receives data before it is ready for it.
static void SyncBackwards(const std::vector<GstElement*>& chain)
{
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        gst_element_sync_state_with_parent(*it);
}

// A sink added to a playing pipeline (after a PMT change) must not wait to
// preroll: the whole pipeline would fall back to PAUSED with it, and the
// other sinks, done prerolling, would stop taking data it needs.
static void JoinRunningPipeline(GstElement* sink)
{
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline, &state, nullptr, 0);
    if (state == GST_STATE_PLAYING)
        g_object_set(sink, "async", FALSE, NULL);
}

static void Drop(GstElement*& global)
{
    GstElement* e;
    {
        RecordGuard g(StreamRecordLock());
        e = global;
        global = nullptr;
    }
    if (!e)
        return;
    gst_element_set_state(e, GST_STATE_NULL);
    if (GST_OBJECT_PARENT(e))
        gst_bin_remove(GST_BIN(pipeline), e);
}

// Output pad of the multiqueue that belongs to the given input pad.
static GstPad* MultiqueueSrcFor(GstPad* mqSink)
{
    gchar* name = gst_pad_get_name(mqSink);   // "sink_N"
    std::string src = std::string("src_") + (strchr(name, '_') + 1);
    g_free(name);
    return gst_element_get_static_pad(multiqueue, src.c_str());
}

static GstPad* NewMultiqueueInput(GstPad* demuxPad)
{
    GstPad* sink = gst_element_request_pad_simple(multiqueue, "sink_%u");
    if (!sink)
        return nullptr;
    if (gst_pad_link(demuxPad, sink) != GST_PAD_LINK_OK) {
        gst_element_release_request_pad(multiqueue, sink);
        gst_object_unref(sink);
        return nullptr;
    }
    GstPad* src = MultiqueueSrcFor(sink);
    gst_object_unref(sink);
    return src;
}

static bool LinkPads(GstPad* src, GstElement* dst, const char* padName = "sink")
{
    GstPad* sink = gst_element_get_static_pad(dst, padName);
    bool ok = sink && gst_pad_link(src, sink) == GST_PAD_LINK_OK;
    if (sink)
        gst_object_unref(sink);
    return ok;
}

static void VideoStreamChanged(GstPad* pad, GParamSpec*, gpointer)
{
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps)
        return;
    GstStructure* s = gst_caps_get_structure(caps, 0);
    RecordGuard g(StreamRecordLock());
    const gchar* fmt = gst_structure_get_string(s, "format");
    if (fmt)
        streaminfo.format = gst_video_format_to_fourcc(gst_video_format_from_string(fmt));
    gst_structure_get_int(s, "width", &streaminfo.width);
    gst_structure_get_int(s, "height", &streaminfo.height);
    gst_structure_get_fraction(s, "pixel-aspect-ratio", &streaminfo.par_n, &streaminfo.par_d);
    gst_structure_get_fraction(s, "framerate", &streaminfo.fps_n, &streaminfo.fps_d);
    const gchar* mode = gst_structure_get_string(s, "interlace-mode");
    gboolean interlaced = FALSE;
    if (gst_structure_get_boolean(s, "interlaced", &interlaced))
        streaminfo.interlaced = interlaced;
    else
        streaminfo.interlaced = mode && strcmp(mode, "progressive") != 0;
    gst_caps_unref(caps);
}

static void AudioStreamChanged(GstPad* pad, GParamSpec*, gpointer)
{
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps)
        return;
    GstElement* parent = gst_pad_get_parent_element(pad);
    GstStructure* s = gst_caps_get_structure(caps, 0);
    RecordGuard g(StreamRecordLock());
    for (int i = 0; i < MAX_AUDIO_TRACKS; ++i) {
        AUDIOTRACK& a = streaminfo.audio[i];
        if (parent && a.decoder == parent) {
            gst_structure_get_int(s, "channels", &a.channels);
            gst_structure_get_int(s, "rate", &a.rate);
        }
    }
    if (parent)
        gst_object_unref(parent);
    gst_caps_unref(caps);
}

// Tags travel with the data; inactive tracks never reach a sink that would
// post them, so they are read where each decoder passes them on.
static GstPadProbeReturn TagProbe(GstPad* pad, GstPadProbeInfo* info, gpointer)
{
    GstEvent* ev = GST_PAD_PROBE_INFO_EVENT(info);
    if (ev && GST_EVENT_TYPE(ev) == GST_EVENT_TAG) {
        GstTagList* list = nullptr;
        gst_event_parse_tag(ev, &list);
        if (list)
            gst_tag_list_foreach(list, ParseTag, pad);
    }
    return GST_PAD_PROBE_OK;
}

static void BuildVideoChain(GstPad* mqSrc, StreamKind kind, int pid, GstPad* demuxPad)
{
    const StreamSettings set = CurrentStreamSettings();
    {
    RecordGuard published(StreamRecordLock());
    videoparser = gst_element_factory_make(kind == KIND_MPEG2_VIDEO ? "mpegvideoparse" : "h264parse",
                                           "VideoParser");
    videodecoder = gst_element_factory_make(kind == KIND_MPEG2_VIDEO ? "mpeg2dec" : "avdec_h264",
                                            "VideoDecoder");
    decoderqueue = gst_element_factory_make("queue2", "DecoderQueue");
    deinterlace = gst_element_factory_make("deinterlace", "DeInterlace");
    videorate = gst_element_factory_make("videorate", "VideoRate");
    videoscale = gst_element_factory_make("videoscale", "VideoScale");
    videobalance = gst_element_factory_make("videobalance", "VideoBalance");
    subtitleoverlay = gst_element_factory_make("dvbsuboverlay", "SubtitleOverlay");
    clockoverlay = gst_element_factory_make("clockoverlay", "ClockOverlay");
    textoverlay = gst_element_factory_make("textoverlay", "TextOverlay");
    ffmpegcolorspace =
        set.compatibility ? gst_element_factory_make("videoconvert", "ColorSpace") : nullptr;
    videoqueue = gst_element_factory_make("queue2", "VideoQueue");
    videosink = gst_element_factory_make(set.videosink.c_str(), "VideoSink");
    }

    std::vector<GstElement*> chain = {videoparser, videodecoder, decoderqueue, deinterlace, videorate,
                                      videoscale, videobalance, subtitleoverlay, clockoverlay,
                                      textoverlay};
    if (set.compatibility)
        chain.push_back(ffmpegcolorspace);
    chain.push_back(videoqueue);
    chain.push_back(videosink);
    for (GstElement* e : chain)
        if (!e) {
            // A misconfigured sink shows up as a stream that never starts.
            Log("video chain incomplete");
            for (GstElement* x : chain)
                if (x)
                    gst_object_unref(x);
            RecordGuard published(StreamRecordLock());
            videoparser = videodecoder = decoderqueue = deinterlace = videorate = videoscale = nullptr;
            videobalance = subtitleoverlay = clockoverlay = textoverlay = nullptr;
            ffmpegcolorspace = videoqueue = videosink = nullptr;
            return;
        }

    // The queue only lets the decoder run on its own thread. Its time limit
    // would otherwise stay queue2's second: 25 decoded pictures waiting
    // (35 MB of HD) while the multiqueue already holds the stream's reserve.
    g_object_set(decoderqueue, "max-size-buffers", 0, "max-size-bytes", 0, "max-size-time",
                 guint64(200 * GST_MSECOND), NULL);
    g_object_set(deinterlace, "mode", set.deinterlacer ? 0 : 2, "method",
                 set.deinterlacermethod, "fields", 1, NULL);
    g_object_set(videobalance, "brightness", set.brightness, "contrast", set.contrast,
                 "saturation", set.color, NULL);
    g_object_set(subtitleoverlay, "enable", FALSE, NULL);
    g_object_set(clockoverlay, "color", 0xff00ff00u, "time-format", "%H:%M", "silent", !set.clock,
                 NULL);
    g_object_set(videoqueue, "max-size-buffers", 5, "max-size-bytes", 0, NULL);
    g_object_set(videosink, "force-aspect-ratio", TRUE, NULL);
    JoinRunningPipeline(videosink);

    GstPad* decSrc = gst_element_get_static_pad(videodecoder, "src");
    g_signal_connect(decSrc, "notify::caps", G_CALLBACK(VideoStreamChanged), nullptr);
    gst_object_unref(decSrc);

    for (GstElement* e : chain)
        gst_bin_add(GST_BIN(pipeline), e);
    // The sink knows the display's pixel shape only once it is open; asked
    // before, it takes any, and the scaler's later change of size races
    // with frames already on their way.
    gst_element_set_state(videosink, GST_STATE_READY);
    bool ok = true;
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        if (chain[i + 1] == subtitleoverlay)
            ok = ok && gst_element_link_pads(chain[i], "src", subtitleoverlay, "video_sink");
        else
            ok = ok && gst_element_link(chain[i], chain[i + 1]);
    }
    SyncBackwards(chain);
    ok = ok && LinkPads(mqSrc, videoparser);
    if (!ok)
        Log("video chain not linked");

    videoCollection = collectionNumber;
    streaminfo.sinks++;
    {
        RecordGuard g(StreamRecordLock());
        streaminfo.linkedstreams++;
        streaminfo.videopid = pid;
        streaminfo.mpeg2 = kind == KIND_MPEG2_VIDEO;
        streaminfo.videopad = GST_PAD(gst_object_ref(demuxPad));
    }
    PostGstEvent(1, pid * 65536 + kind);
}

static void BuildAudioChain(GstPad* mqSrc, StreamKind kind, int pid, GstPad* demuxPad)
{
    int n = streaminfo.audiotracks;
    if (n >= MAX_AUDIO_TRACKS) {
        Log("too many audio tracks");
        return;
    }
    GstElement* parse = gst_element_factory_make(kind == KIND_AC3_AUDIO ? "ac3parse" : "mpegaudioparse",
                                                 nullptr);
    GstElement* dec = gst_element_factory_make(kind == KIND_AC3_AUDIO ? "a52dec" : "mpg123audiodec",
                                               nullptr);
    GstElement* conv = gst_element_factory_make("audioconvert", nullptr);
    GstElement* res = gst_element_factory_make("audioresample", nullptr);
    if (!parse || !dec || !conv || !res) {
        for (GstElement* x : {parse, dec, conv, res})
            if (x)
                gst_object_unref(x);
        Log("audio chain incomplete");
        return;
    }
    if (kind == KIND_AC3_AUDIO)
        g_object_set(dec, "mode", 7, "lfe", TRUE, NULL);
    GstPad* decSrc = gst_element_get_static_pad(dec, "src");
    g_signal_connect(decSrc, "notify::caps", G_CALLBACK(AudioStreamChanged), nullptr);
    gst_pad_add_probe(decSrc, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, TagProbe, nullptr, nullptr);
    gst_object_unref(decSrc);

    AUDIOTRACK& a = streaminfo.audio[n];
    {
        RecordGuard published(StreamRecordLock());
        a.parser = parse;
        a.decoder = dec;
        a.converter = conv;
        a.resampler = res;
        a.ac3 = kind == KIND_AC3_AUDIO;
        a.collection = collectionNumber;
    }

    if (!audio_inputselector) {
        {
            RecordGuard published(StreamRecordLock());
            audio_inputselector = gst_element_factory_make("input-selector", "AudioInputSelector");
            audiorate = gst_element_factory_make("audiorate", "AudioRate");
            equalizer = gst_element_factory_make("equalizer-3bands", "Equalizer");
            volume = gst_element_factory_make("volume", "Volume");
            audioqueue = gst_element_factory_make("queue2", "AudioQueue");
            audiosink = gst_element_factory_make("alsasink", "AudioSink");
        }
        // Tracks that do not play are dropped as they come instead of
        // waiting for the one that plays: a track that goes away (a PMT
        // change) would otherwise hold the others for ever.
        g_object_set(audio_inputselector, "sync-streams", FALSE, NULL);
        const StreamSettings set = CurrentStreamSettings();
        g_object_set(equalizer, "band0", set.lband, "band1", set.mband, "band2", set.hband, NULL);
        g_object_set(volume, "volume", set.volume, NULL);
        g_object_set(audioqueue, "max-size-buffers", 5, "max-size-bytes", 0, NULL);
        std::vector<GstElement*> shared = {audio_inputselector, audiorate, equalizer, volume,
                                           audioqueue, audiosink};
        for (GstElement* e : shared)
            gst_bin_add(GST_BIN(pipeline), e);
        if (!gst_element_link_many(audio_inputselector, audiorate, equalizer, volume, audioqueue,
                                   audiosink, NULL))
            Log("audio output not linked");
        SyncBackwards(shared);
        streaminfo.sinks++;
    }

    AddAll({parse, dec, conv, res});
    bool ok = gst_element_link_many(parse, dec, conv, res, NULL);
    GstPad* selSink = gst_element_request_pad_simple(audio_inputselector, "sink_%u");
    GstPad* resSrc = gst_element_get_static_pad(res, "src");
    ok = ok && selSink && gst_pad_link(resSrc, selSink) == GST_PAD_LINK_OK;
    gst_object_unref(resSrc);
    if (selSink)
        gst_object_unref(selSink);
    SyncBackwards({parse, dec, conv, res});
    ok = ok && LinkPads(mqSrc, parse);
    if (!ok)
        Log("audio track not linked");

    {
        RecordGuard published(StreamRecordLock());
        streaminfo.linkedstreams++;
        a.pid = pid;
        a.pad = GST_PAD(gst_object_ref(demuxPad));
        streaminfo.audiotracks = n + 1;
    }
    PostGstEvent(0, pid * 65536 + kind);
}

// The collector may arrive after the sink was built (the viewer opens
// later), so the sink always calls through here.
static GstFlowReturn TeletextSample(GstAppSink* sink, gpointer data)
{
    if (GstFlowReturn (*collector)(GstAppSink*, gpointer) = TeletextCollector)
        return collector(sink, data);
    if (GstSample* sample = gst_app_sink_pull_sample(sink))
        gst_sample_unref(sample);
    return GST_FLOW_OK;
}

// Whether the viewer wants pages; a sink built by a later switch or resync
// starts in that state.
static std::atomic<bool> teletextWanted{false};

void SetTeletextCollection(bool on)
{
    teletextWanted = on;
    if (ElementRef sink = BackendElement(teletextsink))
        g_object_set(sink.get(), "emit-signals", on ? TRUE : FALSE, NULL);
}

static void BuildTeletextSink(GstPad* mqSrc, int pid, GstPad* demuxPad)
{
    {
        RecordGuard published(StreamRecordLock());
        teletextsink = gst_element_factory_make("appsink", "TeletextSink");
    }
    if (!teletextsink)
        return;
    g_object_set(teletextsink, "sync", FALSE, "drop", TRUE, "max-buffers", 1, "emit-signals",
                 teletextWanted.load() ? TRUE : FALSE, NULL);
    // A page nobody has collected must not hold back the end of the stream.
    g_object_set(teletextsink, "wait-on-eos", FALSE, NULL);
    JoinRunningPipeline(teletextsink);
    g_signal_connect(teletextsink, "new-sample", G_CALLBACK(TeletextSample), nullptr);
    gst_bin_add(GST_BIN(pipeline), teletextsink);
    gst_element_sync_state_with_parent(teletextsink);
    if (!LinkPads(mqSrc, teletextsink))
        Log("teletext not linked");
    streaminfo.sinks++;
    teletextCollection = collectionNumber;
    RecordGuard g(StreamRecordLock());
    streaminfo.linkedstreams++;
    streaminfo.ttxpid = pid;
    streaminfo.ttxpad = GST_PAD(gst_object_ref(demuxPad));
    if (!streaminfo.ttxpage)
        streaminfo.ttxpage = 0x100;
}

static void BuildSubtitleInput(GstPad* mqSrc, int pid, GstPad* demuxPad)
{
    int n = streaminfo.subtitles;
    if (n >= MAX_SUBTITLES)
        return;
    {
        RecordGuard g(StreamRecordLock());
        SUBTITLETRACK& s = streaminfo.subtitle[n];
        s.pid = pid;
        s.pad = GST_PAD(gst_object_ref(demuxPad));
        for (const auto& t : subtltemp) {
            if (t.pid == 0)
                break;
            if (t.pid == pid) {
                s.type = t.type;
                memcpy(s.language, t.language, sizeof s.language);
            }
        }
    }
    if (!subtl_inputselector) {
        {
            RecordGuard published(StreamRecordLock());
            subtl_inputselector = gst_element_factory_make("input-selector", "SubtitleInputSelector");
        }
        g_object_set(subtl_inputselector, "sync-streams", FALSE, NULL);
        gst_bin_add(GST_BIN(pipeline), subtl_inputselector);
        if (subtitleoverlay &&
            !gst_element_link_pads(subtl_inputselector, "src", subtitleoverlay, "text_sink"))
            Log("subtitle selector not linked");
        gst_element_sync_state_with_parent(subtl_inputselector);
    }
    GstPad* selSink = gst_element_request_pad_simple(subtl_inputselector, "sink_%u");
    if (selSink) {
        gst_pad_link(mqSrc, selSink);
        gst_object_unref(selSink);
    }
    RecordGuard g(StreamRecordLock());
    streaminfo.subtitles = n + 1;
}

static void ReplaceVideoChain();
static void ReplaceTeletextSink();

// The demultiplexer ends each stream it withdraws. Where a newer collection
// has come, that end is the old programme's, not the stream's: passed on, it
// would end the shared speakers, and a track that is not played would wait
// with it in the selector for ever.
static GstPadProbeReturn DropWithdrawnEnd(GstPad*, GstPadProbeInfo* info, gpointer collection)
{
    GstEvent* ev = GST_PAD_PROBE_INFO_EVENT(info);
    if (ev && GST_EVENT_TYPE(ev) == GST_EVENT_EOS &&
        GPOINTER_TO_INT(collection) < collectionNumber.load())
        return GST_PAD_PROBE_DROP;
    return GST_PAD_PROBE_OK;
}

void PadAdded(GstElement* element, GstPad* pad, gpointer)
{
    std::lock_guard<std::recursive_mutex> g(backendLock);
    if (!pipeline)
        return;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps)
        caps = gst_pad_query_caps(pad, nullptr);
    gchar* capsText = caps ? gst_caps_to_string(caps) : g_strdup("");
    if (caps)
        gst_caps_unref(caps);
    StreamKind kind = KindFromCaps(capsText);
    if (kind == KIND_UNKNOWN) {
        Logf("+Pad (UNKN: %s)", capsText);
        g_free(capsText);
        return;
    }
    g_free(capsText);
    Logf("+Pad (%s)", KindTag(kind));

    if (kind == KIND_DVB_SUBTITLE)
        PostGstEvent(4);

    if (!multiqueue) {
        {
            RecordGuard published(StreamRecordLock());
            multiqueue = gst_element_factory_make("multiqueue", "MultiQueue");
        }
        g_object_set(multiqueue, "use-buffering", TRUE, "max-size-buffers", 0, "max-size-bytes", 0,
                     "max-size-time", guint64(CurrentStreamSettings().buffertime) * GST_SECOND,
                     NULL);
        g_signal_connect(multiqueue, "underrun", G_CALLBACK(MQUnderRun), nullptr);
        gst_bin_add(GST_BIN(pipeline), multiqueue);
        gst_element_sync_state_with_parent(multiqueue);
    }

    gchar* padName = gst_pad_get_name(pad);
    int pid = PidFromPadName(padName);
    g_free(padName);
    if (pid < 0)
        pid = 0;

    GstPad* mqSrc = NewMultiqueueInput(pad);
    if (!mqSrc) {
        Log("demultiplexer pad not linked");
        return;
    }
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, DropWithdrawnEnd,
                      GINT_TO_POINTER(collectionNumber.load()), nullptr);
    switch (kind) {
    case KIND_MPEG2_VIDEO:
    case KIND_H264_VIDEO:
        // A second video stream of the same programme is left alone.
        if (videodecoder && videoCollection < collectionNumber)
            ReplaceVideoChain();
        if (!videodecoder)
            BuildVideoChain(mqSrc, kind, pid, pad);
        break;
    case KIND_MPEG_AUDIO:
    case KIND_AC3_AUDIO:
        BuildAudioChain(mqSrc, kind, pid, pad);
        break;
    case KIND_TELETEXT:
        if (teletextsink && teletextCollection < collectionNumber)
            ReplaceTeletextSink();
        if (!teletextsink)
            BuildTeletextSink(mqSrc, pid, pad);
        break;
    case KIND_DVB_SUBTITLE:
        BuildSubtitleInput(mqSrc, pid, pad);
        break;
    default:
        break;
    }
    gst_object_unref(mqSrc);

    Logf("Streams: %d / %d", streaminfo.linkedstreams, streaminfo.pmtstreams);
    int pmt = streaminfo.pmtstreams;
    if (pmt > 0 && streaminfo.linkedstreams == (pmt > 1 ? pmt - 1 : pmt))
        PadsDone(element, nullptr);
}

void PadsDone(GstElement*, gpointer)
{
    // The early rule and the demultiplexer both announce completion; act once.
    if (padsComplete.exchange(true))
        return;
    Log("Pads done");
    streaminfo.buffering = true;
    if (MainFrame) {
        MyMainFrame* frame = MainFrame;
        frame->CallAfter(&MyMainFrame::OnPadsDone);
    }
}

static void UnlinkAndReleaseInputs(GstElement* selector)
{
    GstIterator* it = gst_element_iterate_sink_pads(selector);
    std::vector<GstPad*> pads;
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        pads.push_back(GST_PAD(g_value_dup_object(&item)));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    for (GstPad* p : pads) {
        if (!gst_pad_is_linked(p) && GST_PAD_TEMPLATE_PRESENCE(GST_PAD_PAD_TEMPLATE(p)) ==
                                         GST_PAD_REQUEST)
            gst_element_release_request_pad(selector, p);
        gst_object_unref(p);
    }
}

static void RemoveVideoChain()
{
    GstElement** chain[] = {&videoparser, &videodecoder, &decoderqueue, &deinterlace, &videorate,
                            &videoscale, &videobalance, &subtitleoverlay, &clockoverlay,
                            &textoverlay, &ffmpegcolorspace, &videoqueue, &videosink};
    for (GstElement** e : chain)
        Drop(*e);
    PostGstEvent(3);
}

static void RemoveAudioOutput()
{
    GstElement** chain[] = {&audio_inputselector, &audiorate, &equalizer, &volume, &audioqueue,
                            &audiosink};
    for (GstElement** e : chain)
        Drop(*e);
    PostGstEvent(2);
}

static void RemoveSubtitleSelector()
{
    if (subtitleoverlay) {
        g_object_set(subtitleoverlay, "enable", FALSE, NULL);
        gst_element_unlink(subtl_inputselector, subtitleoverlay);
    }
    Drop(subtl_inputselector);
    PostGstEvent(5);
}

// Drops the multiqueue once nothing feeds it; the stream is then over.
static void RemoveMultiqueueIfIdle()
{
    if (multiqueue && !IsElementLinked(multiqueue)) {
        Drop(multiqueue);
        ZeroStreamInfo();
    }
}

static void ForgetPad(GstPad*& pad)
{
    if (pad)
        gst_object_unref(pad);
    pad = nullptr;
}

// A PMT change brings the new programme's streams before it withdraws the
// old ones: a chain of the old programme goes when its successor arrives.
static void ReplaceVideoChain()
{
    Log(streaminfo.mpeg2 ? "-Pad (MPGV)" : "-Pad (H264)");
    RemoveVideoChain();
    // The subtitle inputs fed the old chain's overlay.
    if (subtl_inputselector)
        RemoveSubtitleSelector();
    streaminfo.sinks--;
    RecordGuard g(StreamRecordLock());
    for (auto& sub : streaminfo.subtitle) {
        ForgetPad(sub.pad);
        sub = SUBTITLETRACK{};
    }
    streaminfo.subtitles = 0;
    ForgetPad(streaminfo.videopad);
    streaminfo.linkedstreams--;
}

static void ReplaceTeletextSink()
{
    Log("-Pad (TTXT)");
    Drop(teletextsink);
    streaminfo.sinks--;
    RecordGuard g(StreamRecordLock());
    ForgetPad(streaminfo.ttxpad);
    streaminfo.linkedstreams--;
}

// Removes audio track i and closes the gap in the records.
static void RemoveAudioTrack(int i)
{
    AUDIOTRACK& a = streaminfo.audio[i];
    Log(a.ac3 ? "-Pad (AC-3)" : "-Pad (MPGA)");
    Drop(a.parser);
    Drop(a.decoder);
    Drop(a.converter);
    Drop(a.resampler);
    RecordGuard published(StreamRecordLock());
    ForgetPad(a.pad);
    int n = streaminfo.audiotracks;
    for (int k = i; k + 1 < n; ++k)
        streaminfo.audio[k] = streaminfo.audio[k + 1];
    streaminfo.audio[n - 1] = AUDIOTRACK{};
    streaminfo.audiotracks = n - 1;
    streaminfo.linkedstreams--;
}

// The track list shown is rebuilt when the old programme's tracks go while
// the new one's play.
static void RepostAudioTracks()
{
    PostGstEvent(2);
    for (int i = 0; i < streaminfo.audiotracks; ++i) {
        const AUDIOTRACK& a = streaminfo.audio[i];
        PostGstEvent(0, a.pid * 65536 + (a.ac3 ? KIND_AC3_AUDIO : KIND_MPEG_AUDIO));
    }
}

void PadRemoved(GstElement*, GstPad* pad, gpointer)
{
    std::lock_guard<std::recursive_mutex> g(backendLock);
    if (!pipeline)
        return;
    if (teletextsink && pad == streaminfo.ttxpad) {
        Log("-Pad (TTXT)");
        Drop(teletextsink);
    } else if (videodecoder && pad == streaminfo.videopad) {
        Log(streaminfo.mpeg2 ? "-Pad (MPGV)" : "-Pad (H264)");
        RemoveVideoChain();
        if (subtl_inputselector)
            RemoveSubtitleSelector();
    } else {
        bool matched = false, older = false;
        for (int i = 0; i < streaminfo.audiotracks;) {
            if (streaminfo.audio[i].pad != pad) {
                ++i;
                continue;
            }
            matched = true;
            older = streaminfo.audio[i].collection < collectionNumber;
            RemoveAudioTrack(i);
        }
        for (int i = 0; i < MAX_SUBTITLES; ++i) {
            SUBTITLETRACK& s = streaminfo.subtitle[i];
            if (!s.pad || s.pad != pad)
                continue;
            matched = true;
            Log("-Pad (SUBT)");
            if (subtl_inputselector) {
                std::string name = "sink_" + std::to_string(i);
                GstPad* sp = gst_element_get_static_pad(subtl_inputselector, name.c_str());
                if (sp) {
                    GstPad* peer = gst_pad_get_peer(sp);
                    if (peer) {
                        gst_pad_unlink(peer, sp);
                        gst_object_unref(peer);
                    }
                    gst_object_unref(sp);
                }
            }
        }
        if (!matched) {
            Log("-Pad (UNKN)");
            return;
        }
        if (audio_inputselector) {
            UnlinkAndReleaseInputs(audio_inputselector);
            if (!IsElementLinked(audio_inputselector))
                RemoveAudioOutput();
            else if (older)
                RepostAudioTracks();
        }
        if (subtl_inputselector) {
            UnlinkAndReleaseInputs(subtl_inputselector);
            if (!IsElementLinked(subtl_inputselector))
                RemoveSubtitleSelector();
        }
    }
    // The withdrawn stream's queue and its thread go with it.
    if (multiqueue && IsElementLinked(multiqueue))
        UnlinkAndReleaseInputs(multiqueue);
    RemoveMultiqueueIfIdle();
}

void TearDownBackend()
{
    std::lock_guard<std::recursive_mutex> g(backendLock);
    streamGeneration++;
    if (!pipeline)
        return;
    if (teletextsink)
        Drop(teletextsink);
    if (videoparser || videodecoder || videosink)
        RemoveVideoChain();
    if (subtl_inputselector)
        RemoveSubtitleSelector();
    for (auto& a : streaminfo.audio) {
        Drop(a.parser);
        Drop(a.decoder);
        Drop(a.converter);
        Drop(a.resampler);
    }
    if (audio_inputselector)
        RemoveAudioOutput();
    if (multiqueue)
        Drop(multiqueue);
    ZeroStreamInfo();
}

int BackendElementCount()
{
    std::lock_guard<std::recursive_mutex> g(backendLock);
    if (!pipeline)
        return 0;
    const char* frontEnd[] = {"Source", "SourceQueue", "SourceIdentity", "Tee", "TeeQueue1",
                              "TeeQueue2", "Valve", "FileSink", "Demuxer"};
    int count = 0;
    GstIterator* it = gst_bin_iterate_elements(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        GstElement* e = GST_ELEMENT(g_value_get_object(&item));
        gchar* name = gst_element_get_name(e);
        bool fe = false;
        for (const char* f : frontEnd)
            fe = fe || strcmp(name, f) == 0;
        g_free(name);
        if (!fe)
            count++;
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return count;
}

std::atomic<unsigned long> streamPackets{0};
static std::atomic<bool> runDryCheck{false};

// The queues also run empty for a moment while a stream arrives no faster
// than it plays; only a source that has delivered nothing since is dry.
static gboolean CheckRunDry(gpointer snapshot)
{
    runDryCheck = false;
    if (!pipeline || !source || GST_STATE(pipeline) != GST_STATE_PLAYING)
        return G_SOURCE_REMOVE;
    if (streamPackets.load() == GPOINTER_TO_SIZE(snapshot)) {
        GstBus* b = gst_element_get_bus(pipeline);
        gst_bus_post(b, gst_message_new_eos(GST_OBJECT(source)));
        gst_object_unref(b);
    }
    return G_SOURCE_REMOVE;
}

void MQUnderRun(GstElement*, gpointer)
{
    if (!pipeline || !source)
        return;
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline, &state, nullptr, 0);
    if (state == GST_STATE_PLAYING && !runDryCheck.exchange(true))
        g_timeout_add(2000, CheckRunDry, GSIZE_TO_POINTER(gsize(streamPackets.load())));
}

void StreamCollection(GstMessage* message)
{
    GstStreamCollection* collection = nullptr;
    gst_message_parse_stream_collection(message, &collection);
    if (!collection)
        return;
    int playable = 0;
    for (guint i = 0; i < gst_stream_collection_get_size(collection); ++i) {
        GstCaps* caps = gst_stream_get_caps(gst_stream_collection_get_stream(collection, i));
        if (!caps)
            continue;
        gchar* text = gst_caps_to_string(caps);
        StreamKind kind = KindFromCaps(text);
        playable += kind != KIND_UNKNOWN && kind != KIND_DVB_SUBTITLE;
        g_free(text);
        gst_caps_unref(caps);
    }
    gst_object_unref(collection);
    std::lock_guard<std::recursive_mutex> g(backendLock);
    collectionNumber++;
    RecordGuard r(StreamRecordLock());
    streaminfo.pmtstreams = playable;
}

void PMTInfo(GstMessage* message)
{
    GstMpegtsSection* section = gst_message_parse_mpegts_section(message);
    if (!section)
        return;
    if (GST_MPEGTS_SECTION_TYPE(section) != GST_MPEGTS_SECTION_PMT) {
        gst_mpegts_section_unref(section);
        return;
    }
    int program = -1;
    if (demuxer)
        g_object_get(demuxer, "program-number", &program, NULL);
    if (program > 0 && section->subtable_extension != program) {
        gst_mpegts_section_unref(section);
        return;
    }
    const GstMpegtsPMT* pmt = gst_mpegts_section_get_pmt(section);
    if (!pmt) {
        gst_mpegts_section_unref(section);
        return;
    }
    Log("PMT changed");
    std::lock_guard<std::recursive_mutex> g(backendLock);
    RecordGuard r(StreamRecordLock());
    memset(subtltemp, 0, sizeof subtltemp);
    std::vector<PmtStream> streams;
    for (guint i = 0; i < pmt->streams->len; ++i) {
        const GstMpegtsPMTStream* st =
            static_cast<const GstMpegtsPMTStream*>(g_ptr_array_index(pmt->streams, i));
        PmtStream ps;
        ps.type = st->stream_type;
        ps.pid = st->pid;
        for (guint d = 0; st->descriptors && d < st->descriptors->len; ++d) {
            const GstMpegtsDescriptor* desc =
                static_cast<const GstMpegtsDescriptor*>(g_ptr_array_index(st->descriptors, d));
            ps.descriptors.emplace_back(desc->data, desc->data + desc->length + 2);
        }
        streams.push_back(std::move(ps));
    }
    PmtSummary sum = SummarizePmt(streams);
    for (const auto& f : sum.found)
        Log(f.c_str());
    for (size_t i = 0; i < sum.subtitles.size() && i < MAX_SUBTITLES; ++i) {
        subtltemp[i].pid = sum.subtitles[i].pid;
        subtltemp[i].type = sum.subtitles[i].type;
        memcpy(subtltemp[i].language, sum.subtitles[i].language, 4);
    }
    // The demultiplexer may announce a subtitle stream before its PMT.
    for (int i = 0; i < streaminfo.subtitles && i < MAX_SUBTITLES; ++i)
        for (const auto& d : sum.subtitles)
            if (d.pid == streaminfo.subtitle[i].pid) {
                streaminfo.subtitle[i].type = d.type;
                memcpy(streaminfo.subtitle[i].language, d.language, 4);
            }
    if (sum.teletext) {
        memcpy(streaminfo.ttxlanguage, sum.ttxLanguage, 4);
        streaminfo.ttxpage = sum.ttxPage;
        auto_ns = sum.nationalOption;
    }
    streaminfo.pmtstreams = sum.playable;
    SetLastPMT(section);
    gst_mpegts_section_unref(section);
}
