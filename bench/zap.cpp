// Zap time: from SwitchService to the first picture at the video sink, in the
// real main window against a running simulated receiver. Started by the
// script bench/zap, which provides the receiver and the X server.
//
//   bench_zap <host> <web port> <stream port> [runs]
//
// Prints "player=zappora buffer=<percent> median_ms=<n> runs=<n>" for the
// default buffer and for buffer 0.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <glib.h>
#include <gst/gst.h>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/app.h"
#include "app/config.h"
#include "app/globals.h"
#include "mainwindow/mainframe.h"
#include "stream/pipeline.h"
#include "webif/payload.h"

extern void InitXmlResource();

namespace {

class BenchPayload : public MyServicePayload {
public:
    explicit BenchPayload(const char* ref) : ref_(wxString::FromUTF8(ref)) {}
    int getMode() const override { return 1; }
    wxString getSRef() const override { return ref_; }
private:
    wxString ref_;
};

using Clock = std::chrono::steady_clock;

void Pump()
{
    wxTheApp->ProcessPendingEvents();
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

bool HasPicture()
{
    GstElement* sink = videosink;
    if (!sink)
        return false;
    GstSample* s = nullptr;
    g_object_get(sink, "last-sample", &s, NULL);
    if (s)
        gst_sample_unref(s);
    return s != nullptr;
}

// Milliseconds until the first frame, or -1 after 30 s.
long ZapOnce(MyMainFrame* frame, const char* ref)
{
    BenchPayload p(ref);
    auto t0 = Clock::now();
    frame->SwitchService(&p);
    while (!HasPicture()) {
        if (Clock::now() - t0 > std::chrono::seconds(30))
            return -1;
        Pump();
        g_usleep(1000);
    }
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count());
}

long Median(std::vector<long> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s host webport streamport [runs]\n", argv[0]);
        return 2;
    }
    std::string host = argv[1];
    long wport = atol(argv[2]), sport = atol(argv[3]);
    int runs = argc > 4 ? atoi(argv[4]) : 10;

    wxApp::SetInstance(new MyApp);
    int wxArgc = 1;
    if (!wxEntryStart(wxArgc, argv))
        return 1;
    wxLog::SetActiveTarget(new wxLogStderr);
    wxLog::SetLogLevel(wxLOG_Warning);
    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();

    char dir[] = "/tmp/zp-bench.XXXXXX";
    if (!mkdtemp(dir))
        return 1;
    CFG_PATH = wxString::FromUTF8(dir) + wxT("/");
    GetConfig();
    int defaultBuffer = config.streambuffer;
    config.videosink = wxT("ximagesink");
    compatibility = true;
    config.tvcontrol = 1;
    config.expertmode = 1;
    ZPPROFILE& prof = config.profile[0];
    prof.name = wxT("Bench");
    prof.host = wxString::FromUTF8(host.c_str());
    prof.user = wxT("root");
    prof.pass = wxT("zaptower");
    prof.wport = wport;
    prof.sport = sport;
    config.profiles = 1;
    config.profile_active = 0;

    if (!GStreamerInit())
        return 1;
    auto* frame = new MyMainFrame();
    MainFrame = frame;
    frame->Show();
    for (int i = 0; i < 20; ++i) {
        Pump();
        wxMilliSleep(10);
    }
    SetVideoOutputWindow(0);

    const char* services[] = {"1:0:1:2811:401:1:C00000:0:0:0:", "1:0:1:2822:401:1:C00000:0:0:0:"};
    for (int buffer : {defaultBuffer, 0}) {
        config.streambuffer = buffer;
        std::vector<long> times;
        // One unmeasured switch warms the plug-ins and the receiver's caches.
        ZapOnce(frame, services[1]);
        for (int i = 0; i < runs; ++i) {
            long ms = ZapOnce(frame, services[i % 2]);
            if (ms >= 0)
                times.push_back(ms);
        }
        printf("player=zappora buffer=%d median_ms=%ld runs=%zu\n", buffer, Median(times),
               times.size());
        fflush(stdout);
    }

    wxCommandEvent stop(wxEVT_MENU, XRCID("ID_TOOL_STOP"));
    frame->ProcessWindowEvent(stop);
    GStreamerDone();
    MainFrame = nullptr;
    delete frame;
    wxEntryCleanup();
    wxFileName::Rmdir(CFG_PATH, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
