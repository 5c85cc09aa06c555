// Our page store against an independent decoder: the simulated receiver's
// teletext service plays through the real pipeline; every buffer the
// teletext sink receives also goes, wrapped as a PES packet, to libzvbi.
// Pages both hold must read the same.
#include <gtest/gtest.h>

#include <libzvbi.h>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "stream/pipeline.h"
#include "stream/playback_support.h"
#include "stream/streaminfo.h"
#include "stream/streamrules.h"
#include "support/sim.h"
#include "teletext/charset.h"
#include "teletext/collector.h"
#include "teletext/pagelayout.h"
#include "teletext/pagestore.h"

namespace {

const char* SD_REF = "1:0:1:2811:401:1:C00000:0:0:0:";

// What the teletext sink received, in order.
struct Capture {
    std::mutex lock;
    std::vector<std::vector<uint8_t>> payloads;
};

GstPadProbeReturn OnTeletextBuffer(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    auto* capture = static_cast<Capture*>(data);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstMapInfo map;
    if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        std::lock_guard<std::mutex> g(capture->lock);
        capture->payloads.emplace_back(map.data, map.data + map.size);
        gst_buffer_unmap(buffer, &map);
    }
    return GST_PAD_PROBE_OK;
}

// Runs after the pipeline's own pad-added handler, before the first buffer.
void WatchTeletextSink(GstElement*, GstPad*, gpointer data)
{
    if (!teletextsink || g_object_get_data(G_OBJECT(teletextsink), "watched"))
        return;
    g_object_set_data(G_OBJECT(teletextsink), "watched", data);
    GstPad* pad = gst_element_get_static_pad(teletextsink, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, OnTeletextBuffer, data, nullptr);
    gst_object_unref(pad);
}

// A PES packet (private stream 1) around a teletext data field, with the
// 45-byte header that teletext PES packets carry.
std::vector<uint8_t> PesPacket(const std::vector<uint8_t>& field, uint64_t pts)
{
    std::vector<uint8_t> pes = {0x00, 0x00, 0x01, 0xBD, 0, 0, 0x84, 0x80, 0x24};
    pes.push_back(uint8_t(0x21 | ((pts >> 29) & 0x0E)));
    pes.push_back(uint8_t(pts >> 22));
    pes.push_back(uint8_t(0x01 | ((pts >> 14) & 0xFE)));
    pes.push_back(uint8_t(pts >> 7));
    pes.push_back(uint8_t(0x01 | ((pts << 1) & 0xFE)));
    pes.resize(45, 0xFF);
    pes.insert(pes.end(), field.begin(), field.end());
    const size_t length = pes.size() - 6;
    pes[4] = uint8_t(length >> 8);
    pes[5] = uint8_t(length);
    return pes;
}

// One character as compared: spacing attributes, mosaics and blanks all
// count as a blank.
char32_t Visible(char32_t c)
{
    if (c < 0x20 || c == 0x20 || (c >= 0xEE00 && c <= 0xEFFF))
        return U' ';
    return c;
}

std::string Utf8(const std::u32string& s)
{
    std::string out;
    for (char32_t c : s) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct Stored {
    int page, sub;
    unsigned char bytes[TTX_PAGE_BYTES];
};

} // namespace

TEST(TeletextReference, StoreReadsLikeLibzvbi)
{
    SetupPlaybackConfig();
    ASSERT_TRUE(GStreamerInit());
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    Capture capture;
    g_signal_connect(demuxer, "pad-added", G_CALLBACK(WatchTeletextSink), &capture);

    StartTeletextCollection();   // the viewer is open before the stream starts
    std::string url = "http://" + sim.host() + ":" + std::to_string(sim.streamPort()) + "/" +
                      EncodedRef(SD_REF);
    g_object_set(source, "location", url.c_str(), NULL);
    g_object_set(demuxer, "program-number", int(ServiceIdFromRef(wxString::FromUTF8(SD_REF))), NULL);
    padsComplete = false;
    gst_element_set_state(pipeline, GST_STATE_PAUSED);

    // Collect until the rotating page has shown two sub-pages twice over.
    auto subPages = [] {
        int n = 0;
        unsigned char p[TTX_PAGE_BYTES];
        for (int s = 1; s <= 4; ++s)
            n += CopyPage(0x150, s, p);
        return n;
    };
    EXPECT_TRUE(RunUntil([&] { return subPages() >= 3; }, 60000)) << "sub-pages of 150 never came";
    EXPECT_EQ(auto_ns, 4);

    std::vector<Stored> stored;
    for (int page = TTX_FIRST_PAGE; page <= TTX_LAST_PAGE; ++page)
        for (int sub = 0; sub < TTX_SUBPAGE_COUNT; ++sub) {
            Stored s{page, sub, {}};
            if (CopyPage(page, sub, s.bytes))
                stored.push_back(s);
        }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    TearDownBackend();
    StopTeletextCollection();
    GStreamerDone();
    ASSERT_GE(stored.size(), 30u);

    std::unique_ptr<vbi_decoder, void (*)(vbi_decoder*)> vbi(vbi_decoder_new(), vbi_decoder_delete);
    ASSERT_TRUE(vbi);
    // libzvbi keeps pages only while someone listens for them.
    vbi_event_handler_register(vbi.get(), VBI_EVENT_TTX_PAGE, [](vbi_event*, void*) {}, nullptr);
    std::unique_ptr<vbi_dvb_demux, void (*)(vbi_dvb_demux*)> dx(vbi_dvb_pes_demux_new(nullptr, nullptr),
                                                                 vbi_dvb_demux_delete);
    ASSERT_TRUE(dx);
    uint64_t pts = 90000;
    double when = 1.0;
    size_t lines = 0;
    {
        std::lock_guard<std::mutex> g(capture.lock);
        ASSERT_FALSE(capture.payloads.empty());
        for (const auto& field : capture.payloads) {
            std::vector<uint8_t> pes = PesPacket(field, pts);
            pts += 3600;
            const uint8_t* p = pes.data();
            unsigned int left = unsigned(pes.size());
            while (left > 0) {
                vbi_sliced sliced[64];
                int64_t slicedPts = 0;
                unsigned n = vbi_dvb_demux_cor(dx.get(), sliced, 64, &slicedPts, &p, &left);
                if (n) {
                    vbi_decode(vbi.get(), sliced, int(n), when);
                    lines += n;
                }
            }
            when += 0.04;
        }
    }
    ASSERT_GT(lines, 1000u);

    std::set<std::pair<int, int>> compared;
    auto page = std::make_unique<vbi_page>();
    for (const Stored& s : stored) {
        if (!vbi_fetch_vt_page(vbi.get(), page.get(), vbi_pgno(s.page), vbi_subno(s.sub),
                               VBI_WST_LEVEL_1p5, 25, FALSE))
            continue;
        TtxLayout layout;
        LayoutPage(s.bytes, auto_ns, true, layout);
        for (int row = 0; row < TTX_ROWS; ++row) {
            // libzvbi repeats a double-height row in the row below.
            if (row > 0 && (layout.attr[(row - 1) * 40] & TTX_ROW_HAS_DOUBLE))
                continue;
            // Of the header: the service name; the number is ours, the clock ticks.
            const int first = row == 0 ? 8 : 0, last = row == 0 ? 15 : 39;
            std::u32string ours, theirs;
            for (int col = first; col <= last; ++col) {
                const TtxCell& cell = layout.cell[row * 40 + col];
                ours += Visible(cell.draw ? GlyphUnicode(cell.mode, cell.glyph) : U' ');
                theirs += Visible(page->text[row * page->columns + col].unicode);
            }
            EXPECT_EQ(Utf8(ours), Utf8(theirs))
                << wxString::Format("page %03X-%02X row %d", s.page, s.sub, row).ToStdString();
        }
        compared.insert({s.page, s.sub});
        vbi_unref_page(page.get());
    }
    // Among the pages compared: national characters, double height,
    // concealed text, mosaics with hold and the rotating page's sub-pages.
    for (auto p : {std::make_pair(0x700, 0), {0x100, 0}, {0x500, 0}, {0x402, 0}, {0x400, 0}})
        EXPECT_TRUE(compared.count(p)) << std::hex << p.first;
    int rotating = 0;
    for (int s = 1; s <= 4; ++s)
        rotating += compared.count({0x150, s});
    EXPECT_GE(rotating, 2);
    EXPECT_GE(compared.size(), 30u);
}
