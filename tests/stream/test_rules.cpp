// The streaming engine's plain decisions.
#include <gtest/gtest.h>

#include "stream/streamrules.h"

TEST(StreamRules, PidIsTheHexNumberAfterTheLastUnderscore)
{
    EXPECT_EQ(PidFromPadName("video_0_0200"), 0x200);
    EXPECT_EQ(PidFromPadName("audio_0_0101"), 0x101);
    EXPECT_EQ(PidFromPadName("private_0_0103"), 0x103);
    EXPECT_EQ(PidFromPadName("subpicture_1_01ff"), 0x1ff);
    EXPECT_EQ(PidFromPadName("video_0_00a0"), 0xa0);
    EXPECT_EQ(PidFromPadName("video"), -1);
    EXPECT_EQ(PidFromPadName("video_"), -1);
    EXPECT_EQ(PidFromPadName("video_0_xyz"), -1);
    EXPECT_EQ(PidFromPadName("video_0_12000"), -1);   // beyond 13 bits
    EXPECT_EQ(PidFromPadName(nullptr), -1);
}

TEST(StreamRules, CapsDecideTheChain)
{
    EXPECT_EQ(KindFromCaps("video/mpeg, mpegversion=(int)2, systemstream=(boolean)false"),
              KIND_MPEG2_VIDEO);
    EXPECT_EQ(KindFromCaps("video/mpeg, mpegversion=(int)1"), KIND_MPEG2_VIDEO);
    EXPECT_EQ(KindFromCaps("video/mpeg, mpegversion=(int)4"), KIND_UNKNOWN);
    EXPECT_EQ(KindFromCaps("video/x-h264, stream-format=(string)byte-stream"), KIND_H264_VIDEO);
    EXPECT_EQ(KindFromCaps("audio/mpeg, mpegversion=(int)1"), KIND_MPEG_AUDIO);
    EXPECT_EQ(KindFromCaps("audio/mpeg, mpegversion=(int)4, stream-format=(string)adts"),
              KIND_UNKNOWN);
    EXPECT_EQ(KindFromCaps("audio/x-ac3"), KIND_AC3_AUDIO);
    EXPECT_EQ(KindFromCaps("application/x-teletext"), KIND_TELETEXT);
    EXPECT_EQ(KindFromCaps("subpicture/x-dvb"), KIND_DVB_SUBTITLE);
    EXPECT_EQ(KindFromCaps("audio/x-eac3"), KIND_UNKNOWN);
}

static std::vector<uint8_t> Ttx(const char* lang, uint8_t typeMag, uint8_t page)
{
    return {0x56, 5, uint8_t(lang[0]), uint8_t(lang[1]), uint8_t(lang[2]), typeMag, page};
}

TEST(StreamRules, PmtCountsPlayableStreamsAndReadsTeletextAndSubtitles)
{
    std::vector<PmtStream> s(7);
    s[0].type = 0x02;
    s[0].pid = 0x200;
    s[1].type = 0x03;
    s[1].pid = 0x100;
    s[2].type = 0x04;
    s[2].pid = 0x101;
    s[3].type = 0x06;
    s[3].pid = 0x102;
    s[3].descriptors = {{0x0a, 4, 'd', 'e', 'u', 0}, {0x6a, 1, 0}};
    s[4].type = 0x06;
    s[4].pid = 0x103;
    s[4].descriptors = {Ttx("deu", (1 << 3) | 1, 0x50)};
    s[5].type = 0x06;
    s[5].pid = 0x104;
    s[5].descriptors = {{0x59, 8, 'd', 'e', 'u', 0x10, 0, 1, 0, 1}};
    s[6].type = 0x0f;   // AAC: not played
    s[6].pid = 0x105;
    PmtSummary sum = SummarizePmt(s);
    EXPECT_EQ(sum.playable, 5);
    EXPECT_TRUE(sum.teletext);
    EXPECT_STREQ(sum.ttxLanguage, "deu");
    EXPECT_EQ(sum.ttxPage, 0x150);
    EXPECT_EQ(sum.nationalOption, 4);
    ASSERT_EQ(sum.subtitles.size(), 1u);
    EXPECT_EQ(sum.subtitles[0].pid, 0x104);
    EXPECT_EQ(sum.subtitles[0].type, 0x10);
    EXPECT_STREQ(sum.subtitles[0].language, "deu");
    std::vector<std::string> expect = {"MPGV found\n", "MPGA found\n", "MPGA found\n",
                                       "AC-3 found\n", "TTXT found\n", "SUBT found\n"};
    EXPECT_EQ(sum.found, expect);
}

TEST(StreamRules, TeletextStartPageDefaultsAndMagazineEight)
{
    std::vector<PmtStream> s(1);
    s[0].type = 0x06;
    s[0].descriptors = {Ttx("eng", (2 << 3) | 1, 0x50)};   // subtitle page, not initial
    PmtSummary a = SummarizePmt(s);
    EXPECT_EQ(a.ttxPage, 0x100);
    EXPECT_EQ(a.nationalOption, 1);

    s[0].descriptors = {Ttx("ita", (1 << 3) | 0, 0x88)};   // magazine 0 is magazine 8
    PmtSummary b = SummarizePmt(s);
    EXPECT_EQ(b.ttxPage, 0x888);
    EXPECT_EQ(b.nationalOption, 5);

    s[0].descriptors = {{0x56, 2, 'd', 'e'}};   // truncated: counted, nothing read
    PmtSummary c = SummarizePmt(s);
    EXPECT_EQ(c.playable, 1);
    EXPECT_FALSE(c.teletext);
    EXPECT_EQ(c.ttxPage, 0x100);
}

TEST(StreamRules, PmtKeepsAtMost25Subtitles)
{
    std::vector<PmtStream> s(30);
    for (int i = 0; i < 30; ++i) {
        s[i].type = 0x06;
        s[i].pid = 0x300 + i;
        s[i].descriptors = {{0x59, 8, 'e', 'n', 'g', 0x10, 0, 1, 0, 1}};
    }
    PmtSummary sum = SummarizePmt(s);
    EXPECT_EQ(sum.subtitles.size(), 25u);
    EXPECT_EQ(sum.playable, 0);
}

TEST(StreamRules, PreferredAudioTrack)
{
    std::vector<AudioChoice> t = {{0x100, "en"}, {0x101, "de"}, {0x102, "de"}};
    EXPECT_EQ(PreferredAudioTrack(t, wxT("DE")), 1);
    EXPECT_EQ(PreferredAudioTrack(t, wxT("deu")), 1);
    EXPECT_EQ(PreferredAudioTrack(t, wxT("en")), 0);
    // No track in the preferred language: the lowest PID of all.
    EXPECT_EQ(PreferredAudioTrack(t, wxT("fr")), 0);
    std::vector<AudioChoice> u = {{0x105, ""}, {0x101, "eng"}, {0x103, "deu"}};
    EXPECT_EQ(PreferredAudioTrack(u, wxT("")), 1);
    EXPECT_EQ(PreferredAudioTrack(u, wxT("DE")), 2);
    EXPECT_EQ(PreferredAudioTrack({}, wxT("DE")), -1);
    // Ties keep the first.
    std::vector<AudioChoice> v = {{0x100, "de"}, {0x100, "de"}};
    EXPECT_EQ(PreferredAudioTrack(v, wxT("DE")), 0);
}

TEST(StreamRules, References)
{
    EXPECT_EQ(ServiceIdFromRef(wxT("1:0:1:2811:401:1:C00000:0:0:0:")), 0x2811);
    EXPECT_EQ(ServiceIdFromRef(wxT("1:0:1:0:401:1:C00000:0:0:0:")), 0);
    EXPECT_EQ(ServiceIdFromRef(wxT("1:0:1:XYZ:401")), 0);
    EXPECT_EQ(ServiceIdFromRef(wxT("1:0:1")), 0);
    EXPECT_EQ(StreamRefOf(wxT("1:0:1:2921:44D:1:C00000:0:0:0::Kanal Nord Relay")),
              wxT("1:0:1:2921:44D:1:C00000:0:0:0:"));
    EXPECT_EQ(StreamRefOf(wxT("1:0:1:2811:401:1:C00000:0:0:0:")), wxT("1:0:1:2811:401:1:C00000:0:0:0:"));
    EXPECT_TRUE(IsMarkerRef(wxT("1:64:1:0:0:0:0:0:0:0::Nachrichten")));
    EXPECT_FALSE(IsMarkerRef(wxT("1:0:1:64:0:0")));
    EXPECT_EQ(RecordingPathOf(wxT("1:0:0:0:0:0:0:0:0:0:/hdd/movie/a b.ts")), wxT("hdd/movie/a b.ts"));
    EXPECT_EQ(RecordingPathOf(wxT("1:0:0:0")), wxT(""));
    EXPECT_EQ(PiconName(wxT("1:0:1:2811:401:1:C00000:0:0:0:")), wxT("1_0_1_2811_401_1_C00000_0_0_0"));
}

TEST(StreamRules, TextsAtTheirLimits)
{
    EXPECT_EQ(FormatStreamTime(UINT64_MAX), wxT("99h:99m:99s"));
    EXPECT_EQ(BusMessageText("ERR", nullptr, "kaputt", "dbg"), "ERR [(NULL)#kaputt#dbg]");
    std::string longText(2000, 'x');
    EXPECT_EQ(BusMessageText("WRN", "Source", longText.c_str(), "").size(), 511u);
}

TEST(StreamRules, StepsWrapAndMarkersAreFound)
{
    EXPECT_EQ(WrapStep(4, 3, true), 0);
    EXPECT_EQ(WrapStep(4, 0, false), 3);
    EXPECT_EQ(WrapStep(4, 1, true), 2);
    EXPECT_EQ(WrapStep(0, 0, true), -1);
    std::vector<bool> m = {false, true, false, false, true};
    EXPECT_EQ(FindMarker(m, 2, true), 4);
    EXPECT_EQ(FindMarker(m, 4, true), 1);    // wraps past the end
    EXPECT_EQ(FindMarker(m, 2, false), 1);
    EXPECT_EQ(FindMarker(m, 1, false), 4);   // wraps past the start
    EXPECT_EQ(FindMarker({false, false, false}, 1, true), -1);
    EXPECT_EQ(FindMarker({true}, 0, true), -1);
}
