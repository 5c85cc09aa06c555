// The pipeline on its own against the simulated receiver's live streams:
// which chains the demultiplexer's streams get, what the record learns, and
// that a stop leaves nothing of the stream behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "stream/pipeline.h"
#include "stream/streaminfo.h"
#include "stream/streamrules.h"
#include "support/sim.h"
#include "stream/playback_support.h"

namespace {

const char* SD_REF = "1:0:1:2811:401:1:C00000:0:0:0:";
const char* HD_REF = "1:0:19:2800:401:1:C00000:0:0:0:";
const char* RADIO_REF = "1:0:2:3400:3F9:1:C00000:0:0:0:";

std::set<int> AudioPids()
{
    const STREAMFIELDS info = StreamInfoCopy();
    std::set<int> pids;
    for (int i = 0; i < info.audiotracks; ++i)
        pids.insert(info.audio[i].pid);
    return pids;
}

class Pipeline : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetupPlaybackConfig();
        ASSERT_TRUE(GStreamerInit());
        sim.reset(new SimReceiver(SimArgs()));
        ASSERT_TRUE(sim->ok());
    }
    virtual std::vector<std::string> SimArgs() const { return {}; }
    void TearDown() override { GStreamerDone(); }

    void Play(const char* ref)
    {
        PlayUrl("http://" + sim->host() + ":" + std::to_string(sim->streamPort()) + "/" + EncodedRef(ref),
                int(ServiceIdFromRef(wxString::FromUTF8(ref))));
    }
    void PlayUrl(const std::string& url, int program)
    {
        g_object_set(source, "location", url.c_str(), NULL);
        g_object_set(demuxer, "program-number", program ? program : -1, NULL);
        padsComplete = false;
        TakeStreamSettings();
        gst_element_set_state(pipeline, GST_STATE_PAUSED);
    }
    bool Started() { return RunUntil([&] { return events.count(6) > 0; }); }
    void Stop()
    {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        TearDownBackend();
        EXPECT_EQ(BackendElementCount(), 0);
    }
    static std::string FactoryOf(const char* name)
    {
        GstElement* e = gst_bin_get_by_name(GST_BIN(pipeline), name);
        if (!e)
            return "";
        std::string f = GST_OBJECT_NAME(gst_element_get_factory(e));
        gst_object_unref(e);
        return f;
    }
    std::unique_ptr<SimReceiver> sim;
    GstEventRecorder events;
};

TEST_F(Pipeline, SdServiceGetsThreeAudioChainsVideoTeletextAndStarts)
{
    VerboseLog log;
    Play(SD_REF);
    ASSERT_TRUE(Started());
    EXPECT_EQ(events.valuesOf(6), std::vector<int>{1});
    std::vector<int> audio = events.valuesOf(0);
    EXPECT_EQ(std::multiset<int>(audio.begin(), audio.end()),
              (std::multiset<int>{0x100 * 65536 + KIND_MPEG_AUDIO, 0x101 * 65536 + KIND_MPEG_AUDIO,
                                  0x102 * 65536 + KIND_AC3_AUDIO}));
    EXPECT_EQ(events.valuesOf(1), std::vector<int>{0x200 * 65536 + KIND_MPEG2_VIDEO});
    EXPECT_EQ(FactoryOf("VideoDecoder"), "mpeg2dec");
    EXPECT_EQ(FactoryOf("ColorSpace"), "videoconvert");   // compatibility is on with ximagesink
    EXPECT_EQ(FactoryOf("TeletextSink"), "appsink");
    EXPECT_EQ(FactoryOf("SubtitleInputSelector"), "input-selector");
    EXPECT_GE(events.count(4), 1);

    STREAMFIELDS info = StreamInfoCopy();
    EXPECT_EQ(info.pmtstreams, 5);
    EXPECT_EQ(info.audiotracks, 3);
    EXPECT_EQ(info.videopid, 0x200);
    EXPECT_TRUE(info.mpeg2);
    EXPECT_EQ(info.ttxpid, 0x103);
    EXPECT_STREQ(info.ttxlanguage, "deu");
    // DVB subtitles feed the overlay's selector; they are no linked stream.
    EXPECT_EQ(info.subtitles, 1);
    EXPECT_EQ(info.subtitle[0].pid, 0x104);
    EXPECT_STREQ(info.subtitle[0].language, "deu");
    EXPECT_EQ(info.linkedstreams, 5);
    EXPECT_EQ(streaminfo.sinks, 3);          // video, speakers, teletext
    EXPECT_EQ(streaminfo.playingsinks, 4);   // and the file sink
    // The count of announced streams is known from the first pad on.
    auto first = std::find_if(log.lines.begin(), log.lines.end(),
                              [](const std::string& l) { return l.find("Streams:") != std::string::npos; });
    ASSERT_NE(first, log.lines.end());
    EXPECT_NE(first->find("Verbose: GSTR Streams: 1 / 5"), std::string::npos) << *first;

    // Caps and tags arrive with the data.
    ASSERT_TRUE(RunUntil([&] {
        info = StreamInfoCopy();
        for (int i = 0; i < info.audiotracks; ++i)
            if (!info.audio[i].language[0])
                return false;
        return info.fps_n != 0;
    }));
    EXPECT_EQ(info.width, 720);
    EXPECT_EQ(info.height, 576);
    EXPECT_EQ(info.fps_n, 25);
    EXPECT_EQ(info.fps_d, 1);
    EXPECT_NE(info.format, 0u);
    for (int i = 0; i < info.audiotracks; ++i) {
        EXPECT_STREQ(info.audio[i].language, info.audio[i].pid == 0x100 ? "en" : "de");
        EXPECT_EQ(info.audio[i].ac3, info.audio[i].pid == 0x102);
    }
    EXPECT_EQ(AudioPids(), (std::set<int>{0x100, 0x101, 0x102}));
    ASSERT_TRUE(RunUntil([] { return LooksLikePicture(LastSampleStats()); }));

    Stop();
    info = StreamInfoCopy();
    EXPECT_EQ(info.audiotracks, 0);
    EXPECT_EQ(info.videopid, 0);
    EXPECT_EQ(videosink, nullptr);
    RunFor(200);
    EXPECT_GE(events.count(2), 1);
    EXPECT_GE(events.count(3), 1);
    EXPECT_GE(events.count(5), 1);
}

TEST_F(Pipeline, HdServiceDecodesH264)
{
    Play(HD_REF);
    ASSERT_TRUE(Started());
    EXPECT_EQ(FactoryOf("VideoDecoder"), "avdec_h264");
    EXPECT_EQ(events.valuesOf(1), std::vector<int>{0x200 * 65536 + KIND_H264_VIDEO});
    EXPECT_EQ(events.valuesOf(0), std::vector<int>{0x100 * 65536 + KIND_MPEG_AUDIO});
    ASSERT_TRUE(RunUntil([] { return StreamInfoCopy().width != 0; }));
    EXPECT_EQ(StreamInfoCopy().height, 720);
    EXPECT_FALSE(StreamInfoCopy().mpeg2);
    ASSERT_TRUE(RunUntil([] { return LooksLikePicture(LastSampleStats()); }));
    Stop();
}

TEST_F(Pipeline, RadioServiceBuildsNoVideo)
{
    Play(RADIO_REF);
    ASSERT_TRUE(Started());
    EXPECT_EQ(events.count(1), 0);
    EXPECT_EQ(StreamInfoCopy().videopid, 0);
    EXPECT_EQ(FactoryOf("VideoDecoder"), "");
    EXPECT_EQ(streaminfo.sinks, 1);
    EXPECT_EQ(FactoryOf("AudioSink"), "alsasink");
    Stop();
}

TEST_F(Pipeline, AStreamThatEndsIsReported)
{
    sim->control("/control/stream?stop_after=3");
    Play(SD_REF);
    ASSERT_TRUE(Started());
    // End of stream, an error or the run-dry queue all end in code 7.
    ASSERT_TRUE(RunUntil([&] { return events.count(7) > 0; }));
    Stop();
}

TEST_F(Pipeline, EmptyAndFullBufferSettingsBothStartPlaying)
{
    for (int buffer : {0, 100}) {
        config.streambuffer = buffer;
        Play(SD_REF);
        ASSERT_TRUE(RunUntil([&] { return events.valuesOf(6) == std::vector<int>{1}; })) << buffer;
        GstState state;
        gst_element_get_state(pipeline, &state, nullptr, 0);
        EXPECT_EQ(state, GST_STATE_PLAYING) << buffer;
        Stop();
        RunFor(200);
        events.codes.clear();
    }
}

// The receiver's web server, which also serves recordings, has a
// self-signed certificate.
class HttpsPipeline : public Pipeline {
    std::vector<std::string> SimArgs() const override { return {"--https"}; }
};

TEST_F(HttpsPipeline, ARecordingPlaysOverHttps)
{
    sim->configureProfile(true);
    ASSERT_TRUE(getWebIF("movielist"));
    wxString ref = result.Mid(result.Find(wxT("<e2servicereference>")) + 20).BeforeFirst('<');
    ASSERT_TRUE(ref.Contains(wxT("/hdd/movie/")));
    const ZPPROFILE& p = config.profile[0];
    PlayUrl(RecordingLocation(true, p.user, p.pass, p.host, p.wport, EncodeURL(RecordingPathOf(ref)))
                .ToStdString(),
            0);
    ASSERT_TRUE(Started());
    EXPECT_EQ(events.count(7), 0);
    Stop();
}

// A programme may move its streams to other PIDs while it plays; the GUI
// thread meanwhile keeps using the video chain's elements.
TEST_F(Pipeline, APmtChangeMidStreamMovesTheChainsWhileTheOsdIsUsed)
{
    Play(SD_REF);
    ASSERT_TRUE(Started());
    for (int shift : {0x10, 0}) {
        sim->control("/control/stream?pid_shift=" + std::to_string(shift));
        bool shown = false;
        ASSERT_TRUE(RunUntil([&] {
            shown = !shown;
            if (shown)
                ShowOnScreenText(wxT("Kulturkanal\n\nJetzt\nDanach"));
            else
                HideOnScreenText();
            return StreamInfoCopy().videopid == 0x200 + shift &&
                   AudioPids() == std::set<int>{0x100 + shift, 0x101 + shift, 0x102 + shift};
        })) << std::hex << StreamInfoCopy().videopid;
        EXPECT_EQ(StreamInfoCopy().ttxpid, 0x103 + shift);
        ASSERT_TRUE(RunUntil([] { return LooksLikePicture(LastSampleStats()); }));
    }
    Stop();
}

TEST_F(Pipeline, AnUnreachableStreamBuildsNothing)
{
    sim->control("/control/stream?refuse=1");
    Play(SD_REF);
    RunFor(2000);
    EXPECT_EQ(events.count(0) + events.count(1), 0);
    EXPECT_FALSE(padsComplete.load());
    Stop();
}

}  // namespace
