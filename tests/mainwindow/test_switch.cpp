// Playing services in the main window: what the window shows once a stream
// runs, what a switch leaves behind, and how supervision reacts.
#include "mainwindow/switch_fixture.h"

#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/stattext.h>

#include "app/guards.h"
#include "webif/webif.h"

using namespace sw;

TEST_F(SwitchTest, SdServicePlaysIntoThePanelWithItsTracks)
{
    config.tvcontrol = 0;   // the window picks the audio track itself
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    EXPECT_EQ(frame->currentSRef, wxString::FromUTF8(SD_A));
    EXPECT_EQ(frame->currentMode, 1);

    std::vector<wxString> audio = Entries(frame->audioChoice);
    std::sort(audio.begin(), audio.end());
    ASSERT_EQ(audio.size(), 3u);
    // Entry numbers follow the order the streams arrive in; the texts do not.
    std::vector<wxString> tails;
    for (auto& e : audio)
        tails.push_back(e.AfterFirst('('));
    std::sort(tails.begin(), tails.end());
    EXPECT_EQ(tails, (std::vector<wxString>{wxT("0x0100, MPEG)"), wxT("0x0101, MPEG)"),
                                            wxT("0x0102, AC-3)")}));
    for (auto& e : audio)
        EXPECT_TRUE(e.StartsWith(wxT("Audiospur "))) << e;
    EXPECT_EQ(Entries(frame->videoChoice), std::vector<wxString>{wxT("Videospur 1 (0x0200, MPEG)")});
    EXPECT_TRUE(frame->audioChoice->IsEnabled());

    // "DE" prefers the German MPEG track 0x101 over the English 0x100.
    int sel = frame->audioChoice->GetSelection();
    ASSERT_GE(sel, 0);
    auto* chosen = dynamic_cast<MyChoiceItemData*>(frame->audioChoice->GetClientObject(sel));
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->getData(), wxT("257"));
    // ... and the selector plays it.
    int playing = SelectedAudioTrack();
    ASSERT_GE(playing, 0);
    EXPECT_EQ(StreamInfoCopy().audio[playing].pid, 0x101);

    EXPECT_TRUE(ToolEnabled("ID_TOOL_RECORD"));
    EXPECT_TRUE(ToolEnabled("ID_TOOL_STREAMINFO"));
    EXPECT_TRUE(ToolEnabled("ID_TOOL_FULLSCREEN"));
    EXPECT_TRUE(ToolEnabled("ID_TOOL_TELETEXT"));
    EXPECT_FALSE(ToolEnabled("ID_TOOL_REW"));

    EXPECT_EQ(StreamInfoCopy().videopid, 0x200);
    EXPECT_EQ(StreamInfoCopy().ttxpid, 0x103);
    EXPECT_STREQ(StreamInfoCopy().ttxlanguage, "deu");
    ASSERT_TRUE(Await([] { return StreamInfoCopy().width == 720 && StreamInfoCopy().fps_n == 25; }, 30000));
    EXPECT_EQ(StreamInfoCopy().height, 576);

    // The picture is in the main window's video panel, not somewhere else.
    unsigned long xid = VideoWindowHandle();
    ASSERT_NE(xid, 0u);
    EXPECT_TRUE(Await([&] { return LooksLikePicture(WindowStats(xid)); }, 30000))
        << "max " << WindowStats(xid).maxValue << " distinct " << WindowStats(xid).distinct;
}

TEST_F(SwitchTest, SwitchingRemovesEveryElementOfThePreviousStream)
{
    config.tvcontrol = 0;   // with it, the receiver's sub-services fill the video choice
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    EXPECT_EQ(Factories().count("a52dec"), 1u);
    EXPECT_EQ(Factories().count("mpg123audiodec"), 2u);
    Activate(c);
    ASSERT_TRUE(Await([&] { return StatusText() == wxT("Streaming gestartet") && StreamInfoCopy().videopid; }, 30000));
    auto f = Factories();
    EXPECT_EQ(f.count("a52dec"), 0u);
    EXPECT_EQ(f.count("mpeg2dec"), 0u);
    EXPECT_EQ(f.count("avdec_h264"), 1u);
    EXPECT_EQ(f.count("mpg123audiodec"), 1u);
    EXPECT_EQ(f.count("multiqueue"), 1u);
    EXPECT_EQ(frame->audioChoice->GetCount(), 1u);
    EXPECT_EQ(Entries(frame->videoChoice), std::vector<wxString>{wxT("Videospur 1 (0x0200, H264)")});
    EXPECT_TRUE(Await([] { return LooksLikePicture(LastSampleStats()); }, 30000));
    EXPECT_EQ(frame->previousSRef, wxString::FromUTF8(SD_A));

    // Radio: no picture, so the video tools stay off.
    Activate(radio);
    ASSERT_TRUE(Await([&] { return frame->currentMode == 2 && StatusText() == wxT("Streaming gestartet"); }, 30000));
    f = Factories();
    EXPECT_EQ(f.count("avdec_h264"), 0u);
    EXPECT_EQ(f.count("ximagesink"), 0u);
    EXPECT_EQ(f.count("appsink"), 0u);
    EXPECT_EQ(videosink, nullptr);
    EXPECT_EQ(frame->videoChoice->GetCount(), 0u);
    EXPECT_TRUE(ToolEnabled("ID_TOOL_RECORD"));
    EXPECT_TRUE(ToolEnabled("ID_TOOL_STREAMINFO"));
    EXPECT_TRUE(frame->volumeGauge->IsEnabled());
    for (const char* id : {"ID_TOOL_FULLSCREEN", "ID_TOOL_STANDALONE", "ID_TOOL_WALLPAPER",
                           "ID_TOOL_TELETEXT", "ID_TOOL_SCREENSHOT"})
        EXPECT_FALSE(ToolEnabled(id)) << id;
}

TEST_F(SwitchTest, ActivatingThePlayingServiceDoesNothing)
{
    // With TV control the receiver's own track (here the AC-3 one) plays.
    sim->control(std::string("/control/current?sRef=") + SD_A);
    ASSERT_TRUE(getWebIF("selectaudiotrack?id=2"));
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    int playing = SelectedAudioTrack();
    ASSERT_GE(playing, 0);
    EXPECT_EQ(StreamInfoCopy().audio[playing].pid, 0x102);
    size_t streams = sim->loggedPaths("stream").size();
    size_t web = sim->loggedPaths("web").size();
    Activate(a);
    RunFor(1000);
    EXPECT_EQ(sim->loggedPaths("stream").size(), streams);
    EXPECT_EQ(sim->loggedPaths("web").size(), web);
    EXPECT_EQ(GST_STATE(pipeline), GST_STATE_PLAYING);
}

TEST_F(SwitchTest, ARunningStreamIsLeftAlone)
{
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    // The receiver logs a stream request when its connection ends: a
    // needless resynchronisation would show up here.
    RunFor(7000);   // past the start supervision's 5 s
    EXPECT_EQ(sim->loggedPaths("stream").size(), 0u);
    EXPECT_EQ(GST_STATE(pipeline), GST_STATE_PLAYING);
    EXPECT_EQ(StatusText(), wxT("Streaming gestartet"));
}

TEST_F(SwitchTest, AnEndedStreamIsResynchronised)
{
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    sim->control("/control/stream?stop_after=2");
    // The stream ends, SYN stops and restarts it: a second request comes.
    ASSERT_TRUE(Await([&] { return sim->loggedPaths("stream").size() >= 2; }, 60000));
    sim->control("/control/stream?stop_after=");
    ASSERT_TRUE(Await([&] {
        return sim->loggedPaths("stream").size() >= 2 && GST_STATE(pipeline) == GST_STATE_PLAYING &&
               StatusText() == wxT("Streaming gestartet");
    }, 60000));
    EXPECT_EQ(frame->currentSRef, wxString::FromUTF8(SD_A));
    for (const auto& p : sim->loggedPaths("stream"))
        EXPECT_EQ(p, "/" + EncodedRef(SD_A));
}

TEST_F(SwitchTest, AStreamThatNeverStartsIsRetriedFiveTimesThenGivenUp)
{
    sim->control("/control/stream?stall=1");
    std::vector<wxString> statuses;
    Activate(a);
    ASSERT_TRUE(Await([&] {
        wxString s = StatusText();
        if (statuses.empty() || statuses.back() != s)
            statuses.push_back(s);
        return s == wxT("Streaming fehlgeschlagen, Abbruch");
    }, 90000)) << [&] { std::string all; for (auto& s : statuses) all += s.ToStdString() + " | "; return all; }();
    std::vector<wxString> retries;
    for (auto& s : statuses)
        if (s.StartsWith(wxT("Streaming fehlgeschlagen, Versuch")))
            retries.push_back(s);
    std::vector<wxString> expect;
    for (int i = 1; i <= 5; ++i)
        expect.push_back(wxString::Format(wxT("Streaming fehlgeschlagen, Versuch #%d"), i));
    EXPECT_EQ(retries, expect);
    RunFor(1500);
    EXPECT_EQ(GST_STATE(pipeline), GST_STATE_NULL);
    EXPECT_EQ(frame->retryCounter, 0);
    EXPECT_FALSE(frame->chkTimer.IsRunning());
}

TEST_F(SwitchTest, RecordingPlaysAdvancesAndSeeks)
{
    wxString ref = FirstRecording();
    ASSERT_TRUE(ref.Contains(wxT("/hdd/movie/")));
    TestPayload rec(3, ref);
    frame->SwitchService(&rec);
    ASSERT_TRUE(WaitStarted());
    EXPECT_EQ(frame->currentMode, 3);
    EXPECT_TRUE(ToolEnabled("ID_TOOL_REW"));
    EXPECT_TRUE(ToolEnabled("ID_TOOL_FWD"));
    EXPECT_TRUE(frame->mpbTimer.IsRunning());
    auto* progress = XRCCTRL(*frame, "ID_STATICTEXT5", wxStaticText);
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(Await([&] { return progress->GetLabel().Contains(wxT(" / ")); }, 30000));
    wxString first = progress->GetLabel();
    // The duration is estimated from the file size: about the 20 s recorded.
    long secs = 0;
    ASSERT_TRUE(first.AfterLast(' ').StartsWith(wxT("0h:00m:"))) << first;
    ASSERT_TRUE(first.AfterLast(':').BeforeFirst('s').ToLong(&secs)) << first;
    EXPECT_GE(secs, 15) << first;
    EXPECT_LE(secs, 30) << first;
    ASSERT_TRUE(Await([&] { return progress->GetLabel() != first; }, 30000));

    ASSERT_TRUE(gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT),
                                        12 * GST_SECOND));
    ASSERT_TRUE(Await([&] {
        gint64 pos = 0;
        return gst_element_query_position(pipeline, GST_FORMAT_TIME, &pos) && pos >= 10 * GST_SECOND;
    }, 30000));
    ASSERT_TRUE(Await([&] { return progress->GetLabel().StartsWith(wxT("0h:00m:1")); }, 30000));
    std::vector<std::string> files = sim->loggedPaths("file");
    ASSERT_GE(files.size(), 2u);   // the seek asked for a new byte range
}

TEST_F(SwitchTest, TheEndOfARecordingStopsPlayback)
{
    config.rezap = 1;   // nothing played before: nothing to return to
    TestPayload rec(3, FirstRecording());
    frame->SwitchService(&rec);
    ASSERT_TRUE(WaitStarted());
    ASSERT_TRUE(gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT),
                                        17 * GST_SECOND));
    ASSERT_TRUE(Await([&] { return GST_STATE(pipeline) == GST_STATE_NULL; }, 60000));
    EXPECT_EQ(frame->currentMode, 3);
}

TEST_F(SwitchTest, TheEndOfARecordingReturnsToTheLiveService)
{
    TestPayload rec(3, FirstRecording());
    ASSERT_TRUE(PlayRecordingAfterA(rec));
    ASSERT_TRUE(gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT),
                                        17 * GST_SECOND));
    ASSERT_TRUE(Await([&] { return frame->currentMode == 1; }, 60000));
    EXPECT_EQ(frame->currentSRef, wxString::FromUTF8(SD_A));
    EXPECT_EQ(frame->previousMode, 3);
    ASSERT_TRUE(WaitStarted());
    EXPECT_FALSE(frame->mpbTimer.IsRunning());
}

TEST_F(SwitchTest, LeavingARecordingForAServiceGoesThere)
{
    TestPayload rec(3, FirstRecording());
    ASSERT_TRUE(PlayRecordingAfterA(rec));
    size_t web = sim->loggedPaths("web").size();
    // The stop on the way to B is no end of the recording: no return to A.
    Activate(b);
    ASSERT_TRUE(WaitStarted());
    RunFor(500);
    EXPECT_EQ(frame->currentSRef, Ref(SD_B));
    EXPECT_EQ(frame->previousMode, 3);
    std::vector<std::string> after = sim->loggedPaths("web");
    std::vector<std::string> zaps;
    for (size_t i = web; i < after.size(); ++i)
        if (after[i].rfind("/web/zap?", 0) == 0)
            zaps.push_back(after[i]);
    EXPECT_EQ(zaps, std::vector<std::string>{"/web/zap?sRef=" + EncodedRef(SD_B)});
}

TEST_F(SwitchTest, SwitchesArrivingDuringAnotherYieldRunInTurn)
{
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    // A transfer that keeps the window alive yields from its progress
    // callback (in the program's event loop); two quick choices arrive. The
    // second must not run inside the first one's own yields and be undone
    // by its remainder: the last choice plays.
    wxEventLoop loop;
    wxEventLoopActivator active(&loop);
    wxQueueEvent(frame, new wxTreeEvent(wxEVT_TREE_ITEM_ACTIVATED, tree, b));
    wxQueueEvent(frame, new wxTreeEvent(wxEVT_TREE_ITEM_ACTIVATED, tree, c));
    {
        Watchdog dog("switches inside a yield (from " + State() + ")");
        EXPECT_TRUE(ZPYield());
    }
    ASSERT_TRUE(Await([&] { return frame->currentSRef == Ref(HD_C); }));
    EXPECT_EQ(frame->previousSRef, Ref(SD_B));
    ASSERT_TRUE(WaitStarted());
    gchar* loc = nullptr;
    g_object_get(source, "location", &loc, NULL);
    EXPECT_NE(std::string(loc ? loc : "").find(EncodedRef(HD_C)), std::string::npos) << loc;
    g_free(loc);
}
