// The pipeline's synchronous bus handler: runs on whichever thread posts a
// message and hands what the GUI needs to the main window as events.
#include <cstring>
#include <strings.h>
#define GST_USE_UNSTABLE_API
#include <gst/mpegts/mpegts.h>
#include <gst/video/videooverlay.h>

#include "app/config.h"
#include "app/globals.h"
#include "mainwindow/mainframe.h"
#include "stream/pipeline.h"
#include "stream/streaminfo.h"
#include "stream/streamrules.h"

static AUDIOTRACK* TrackOfPad(GstPad* pad)
{
    if (!pad)
        return nullptr;
    GstElement* owner = gst_pad_get_parent_element(pad);
    AUDIOTRACK* found = nullptr;
    for (int i = 0; i < MAX_AUDIO_TRACKS && !found; ++i) {
        AUDIOTRACK& a = streaminfo.audio[i];
        if (owner && owner == demuxer ? a.pad == pad : (a.decoder && a.decoder == owner))
            found = &a;
    }
    if (owner)
        gst_object_unref(owner);
    return found;
}

static void CopyText(char* dst, size_t size, const char* src)
{
    size_t n = strlen(src);
    if (n >= size)
        n = size - 1;
    memcpy(dst, src, n);
    dst[n] = '\0';
}

void ParseTag(const GstTagList* list, const gchar* tag, gpointer pad)
{
    std::lock_guard<std::mutex> g(StreamRecordLock());
    AUDIOTRACK* a = TrackOfPad(static_cast<GstPad*>(pad));
    if (!a)
        return;
    if (!strcasecmp(tag, "audio-codec") || !strcasecmp(tag, "mode")) {
        gchar* s = nullptr;
        if (gst_tag_list_get_string(list, tag, &s) && s)
            CopyText(a->description, sizeof a->description, s);
        g_free(s);
    } else if (!strcasecmp(tag, "bitrate")) {
        guint v = 0;
        if (gst_tag_list_get_uint(list, tag, &v))
            a->bitrate = v;
    } else if (!strcasecmp(tag, "language-code")) {
        gchar* s = nullptr;
        if (gst_tag_list_get_string(list, tag, &s) && s)
            CopyText(a->language, sizeof a->language, s);
        g_free(s);
    }
}

static void SetPlaying(GstElement*, gpointer generation)
{
    // A stop may have come between the buffering message and this call.
    PlayIfCurrent(GPOINTER_TO_UINT(generation));
}

static bool NameContainsSink(GstObject* obj)
{
    const gchar* name = obj ? GST_OBJECT_NAME(obj) : nullptr;
    return name && strstr(name, "Sink");
}

GstBusSyncReply MessageLoop(GstBus*, GstMessage* message, gpointer)
{
    std::string text;
    int level = 0;
    const char* srcName = GST_MESSAGE_SRC(message) ? GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) : nullptr;

    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        PostGstEvent(7);
        break;
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_WARNING:
    case GST_MESSAGE_INFO: {
        GError* err = nullptr;
        gchar* debug = nullptr;
        const char* prefix;
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            gst_message_parse_error(message, &err, &debug);
            prefix = "ERR";
            level = 2;
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_WARNING) {
            gst_message_parse_warning(message, &err, &debug);
            prefix = "WRN";
            level = 1;
        } else {
            gst_message_parse_info(message, &err, &debug);
            prefix = "INF";
            level = 0;
        }
        text = BusMessageText(prefix, srcName, err ? err->message : "", debug);
        if (err)
            g_error_free(err);
        g_free(debug);
        if (level == 2)
            PostGstEvent(7);
        break;
    }
    case GST_MESSAGE_TAG: {
        GstTagList* list = nullptr;
        gst_message_parse_tag(message, &list);
        GstObject* src = GST_MESSAGE_SRC(message);
        GstPad* pad = nullptr;
        if (src && GST_IS_PAD(src))
            pad = GST_PAD(gst_object_ref(src));
        else if (src && GST_IS_ELEMENT(src))
            pad = gst_element_get_static_pad(GST_ELEMENT(src), "sink");
        if (list && pad)
            gst_tag_list_foreach(list, ParseTag, pad);
        if (pad)
            gst_object_unref(pad);
        if (list)
            gst_tag_list_unref(list);
        break;
    }
    case GST_MESSAGE_BUFFERING: {
        gint percent = 0;
        gst_message_parse_buffering(message, &percent);
        if (MainFrame)
            MainFrame->bufferPercent = percent;
        // Buffering messages come from every queue's thread: one of them
        // ends the buffering.
        if (percent >= CurrentStreamSettings().buffer && streaminfo.buffering.exchange(false)) {
            text = "Buffering done";
            level = 3;
            // State changes must not run on a streaming thread.
            if (pipeline)
                gst_element_call_async(pipeline, SetPlaying,
                                       GUINT_TO_POINTER(streamGeneration.load()), nullptr);
        }
        break;
    }
    case GST_MESSAGE_STATE_CHANGED: {
        if (!NameContainsSink(GST_MESSAGE_SRC(message)))
            break;
        GstState oldState, newState;
        gst_message_parse_state_changed(message, &oldState, &newState, nullptr);
        if (oldState == GST_STATE_PAUSED && newState == GST_STATE_PLAYING) {
            int sinks = streaminfo.sinks;
            int n = streaminfo.playingsinks;
            while (n <= sinks && !streaminfo.playingsinks.compare_exchange_weak(n, n + 1)) {
            }
            if (n <= sinks && n + 1 == sinks + 1)
                PostGstEvent(6, 1);
        } else if (oldState == GST_STATE_PLAYING && newState == GST_STATE_PAUSED) {
            int n = streaminfo.playingsinks;
            while (n > 0 && !streaminfo.playingsinks.compare_exchange_weak(n, n - 1)) {
            }
            if (n == 1)
                PostGstEvent(6, 0);
        }
        break;
    }
    case GST_MESSAGE_ELEMENT:
        if (gst_is_video_overlay_prepare_window_handle_message(message)) {
            unsigned long xid = VideoWindowHandle();
            if (xid && GST_IS_VIDEO_OVERLAY(GST_MESSAGE_SRC(message)))
                gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(GST_MESSAGE_SRC(message)),
                                                    xid);
        } else if (GST_MESSAGE_SRC(message) == GST_OBJECT(demuxer)) {
            PMTInfo(message);
        }
        break;
    case GST_MESSAGE_STREAM_COLLECTION:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(demuxer))
            StreamCollection(message);
        break;
    default:
        break;
    }
    if (!text.empty())
        StreamLog(level, text.c_str());
    gst_message_unref(message);
    return GST_BUS_DROP;
}
