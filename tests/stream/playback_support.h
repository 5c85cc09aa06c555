// Helpers shared by the playback tests: running the event loop until
// something happens, a configuration fit for Xvfb,
// and looking at the picture the video sink shows.
#pragma once

#include <functional>
#include <string>
#include <vector>
#include <glib.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <wx/app.h>
#include <wx/event.h>
#include <wx/log.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/gstlog.h"
#include "app/seams.h"
#include "stream/pipeline.h"
#include "webif/webif.h"

// Runs the GUI event loop (posted events, timers, GLib sources) until cond
// holds or the generous timeout passes.
inline bool RunUntil(const std::function<bool()>& cond, int timeoutMs = 30000)
{
    wxStopWatch sw;
    while (!cond()) {
        if (sw.Time() > timeoutMs)
            return false;
        if (wxTheApp)
            wxTheApp->ProcessPendingEvents();
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        wxMilliSleep(5);
    }
    return true;
}

inline void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

inline void SetupPlaybackConfig()
{
    GetConfig();
    if (const char* d = getenv("ZP_GST_DEBUG"))
        gstdebug = wxString::FromUTF8(d);
    config.videosink = wxT("ximagesink");
    compatibility = true;
    config.streambuffer = 66;
    config.streambuffertime = 2;
    config.volume = 50;
    config.contrast = 1.0;
    config.color = 1.0;
    config.brightness = 0.0;
    config.tvcontrol = 1;
    config.expertmode = 0;
    config.audiolanguage = wxT("DE");
}

// Collects the wxEVT_GST events the pipeline posts.
class GstEventRecorder : public wxEvtHandler {
public:
    GstEventRecorder()
    {
        Bind(wxEVT_GST, [this](wxCommandEvent& e) {
            codes.push_back(e.GetId());
            values.push_back(e.GetInt());
            if (e.GetId() == 10)
                LogGstEvent(e);   // logs and frees the text copy
        });
        SetGstEventTarget(this);
    }
    ~GstEventRecorder() override { SetGstEventTarget(nullptr); }
    int count(int code) const
    {
        int n = 0;
        for (int c : codes)
            n += c == code;
        return n;
    }
    std::vector<int> valuesOf(int code) const
    {
        std::vector<int> v;
        for (size_t i = 0; i < codes.size(); ++i)
            if (codes[i] == code)
                v.push_back(values[i]);
        return v;
    }
    std::vector<int> codes, values;
};

// The verbose log lines written while it exists.
class VerboseLog : public wxLog {
public:
    VerboseLog() : old_(wxLog::SetActiveTarget(this)) { cmd_verbose = true; wxLog::SetVerbose(true); }
    ~VerboseLog() override { wxLog::SetActiveTarget(old_); }
    std::vector<std::string> lines;
protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& msg) override { lines.push_back(msg.ToStdString()); }
private:
    wxLog* old_;
};

inline std::string EncodedRef(const char* ref)
{
    return EncodeURL(wxString::FromUTF8(ref));
}

// Statistics of the picture a video sink holds: whether it is neither black
// nor a single flat colour.
struct PictureStats {
    bool ok = false;
    int maxValue = 0;
    int distinct = 0;
};

inline PictureStats StatsOfBytes(const guint8* data, size_t size, size_t stride = 4)
{
    PictureStats st;
    bool seen[256] = {};
    for (size_t i = 0; i < size; i += stride * 7) {
        guint8 v = data[i];
        if (!seen[v]) {
            seen[v] = true;
            st.distinct++;
        }
        if (v > st.maxValue)
            st.maxValue = v;
    }
    st.ok = true;
    return st;
}

// What the video sink shows now (taken under the back end's lock: a PMT
// change may replace the sink meanwhile).
inline PictureStats LastSampleStats()
{
    PictureStats st;
    ElementRef sink = BackendElement(videosink);
    if (!sink)
        return st;
    GstSample* sample = nullptr;
    g_object_get(sink.get(), "last-sample", &sample, NULL);
    if (!sample)
        return st;
    GstBuffer* buf = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (buf && gst_buffer_map(buf, &map, GST_MAP_READ)) {
        st = StatsOfBytes(map.data, map.size, 1);
        gst_buffer_unmap(buf, &map);
    }
    gst_sample_unref(sample);
    return st;
}

inline bool LooksLikePicture(const PictureStats& st)
{
    return st.ok && st.maxValue > 40 && st.distinct > 8;
}
