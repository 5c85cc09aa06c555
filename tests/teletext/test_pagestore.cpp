// The page store: decoding tables, which units, headers and rows it files
// where, stepping through pages and sub-pages, and the hand-over between the
// collecting thread and the viewer.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "stream/streamrules.h"
#include "teletext/charset.h"
#include "teletext/pagestore.h"
#include "ttx_builder.h"

using namespace ttx;

namespace {

// Hamming 8/4 by the four parity tests of the standard; -1 when two bits
// are wrong.
int DecodeByParityTests(int byte)
{
    int b[9];
    for (int i = 0; i < 8; ++i)
        b[i + 1] = (byte >> i) & 1;
    const int a = b[1] ^ b[2] ^ b[6] ^ b[8];
    const int bb = b[2] ^ b[3] ^ b[4] ^ b[8];
    const int c = b[2] ^ b[4] ^ b[5] ^ b[6];
    const int d = (b[1] + b[2] + b[3] + b[4] + b[5] + b[6] + b[7] + b[8]) & 1;
    if (!(a && bb && c)) {
        if (d)
            return -1;
        const int failing = (1 - a) << 2 | (1 - bb) << 1 | (1 - c);
        const int pos[8] = {0, 5, 3, 4, 1, 6, 8, 2};   // by failing tests A B C
        b[pos[failing]] ^= 1;
    }
    return b[2] | b[4] << 1 | b[6] << 2 | b[8] << 3;
}

class TeletextStore : public ::testing::Test {
protected:
    void SetUp() override { OpenPageStore(); }
    void TearDown() override { ClosePageStore(); }

    static void Feed(const Bytes& payload) { ParseTeletextPayload(payload.data(), payload.size()); }
    static std::string RowOf(int page, int sub, int row)
    {
        unsigned char p[TTX_PAGE_BYTES];
        if (!CopyPage(page, sub, p))
            return "<missing>";
        return std::string(reinterpret_cast<char*>(p) + row * 40, 40);
    }
    static bool Has(int page, int sub)
    {
        unsigned char p[TTX_PAGE_BYTES];
        return CopyPage(page, sub, p);
    }
    static std::string Pad(const std::string& s) { return s + std::string(40 - s.size(), ' '); }
};

} // namespace

TEST(TeletextTables, HammingDecodesCodewordsAndSingleErrorsOnly)
{
    int valid = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const int expected = DecodeByParityTests(byte);
        EXPECT_EQ(dehamming[byte], expected < 0 ? 0xFF : expected) << "byte " << byte;
        valid += dehamming[byte] != 0xFF;
    }
    EXPECT_EQ(valid, 144);
    for (int d = 0; d < 16; ++d)
        EXPECT_EQ(dehamming[Ham(d)], d);
}

TEST(TeletextTables, BitReversalAndParity)
{
    EXPECT_EQ(lsb2msb[0x01], 0x80);
    EXPECT_EQ(lsb2msb[0x0F], 0xF0);
    EXPECT_EQ(lsb2msb[0xA4], 0x25);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(lsb2msb[lsb2msb[i]], i);
    EXPECT_EQ(OddParity(0xC1), 'A');   // 'A' with its parity bit
    EXPECT_EQ(OddParity(0x41), ' ');   // parity fails
    EXPECT_EQ(OddParity(0x0D), 0x0D);  // attributes pass like characters
}

TEST(TeletextTables, LanguageSubsetIndexMatchesTheSubsetTable)
{
    // The stream's language picks the subset by index; the index must name
    // the same subset in the table the viewer draws with.
    EXPECT_STREQ(SubsetLabel(NationalOptionFromLanguage("deu")), "GER");
    EXPECT_STREQ(SubsetLabel(NationalOptionFromLanguage("eng")), "ENG");
    EXPECT_STREQ(SubsetLabel(NationalOptionFromLanguage("fra")), "FRE");
    EXPECT_STREQ(SubsetLabel(NationalOptionFromLanguage("spa")), "POR/SPA");
    EXPECT_STREQ(SubsetLabel(NationalOptionFromLanguage("fin")), "SWE/FIN/HUN");
    EXPECT_STREQ(SubsetLabel(NationalOptionFromLanguage("slk")), "CZE/SLO");
    EXPECT_STREQ(SubsetLabel(NationalOptionFromLanguage("tur")), "TUR");
}

TEST_F(TeletextStore, HeaderAndRowsAreFiledUnderThePage)
{
    Feed(Lines({Header(0x123, 0, "ZAPPORA Mo 01.03.26     13:14:15"),
                Row(1, 1, "Erste Zeile"), Row(1, 23, "Letzte Zeile")}));
    ASSERT_TRUE(Has(0x123, 0));
    EXPECT_EQ(CurrentSubPage(0x123), 0);
    // The page number takes exactly the eight Hamming-coded columns.
    EXPECT_EQ(RowOf(0x123, 0, 0), " 123-00 ZAPPORA Mo 01.03.26     13:14:15");
    EXPECT_EQ(RowOf(0x123, 0, 1), Pad("Erste Zeile"));
    EXPECT_EQ(RowOf(0x123, 0, 23), Pad("Letzte Zeile"));
    EXPECT_EQ(RowOf(0x123, 0, 2), std::string(40, ' '));
    char clock[8];
    CopyClock(clock);
    EXPECT_EQ(std::string(clock, 8), "13:14:15");
}

TEST_F(TeletextStore, MagazineZeroIsEightAndSubPagesUpTo79)
{
    Feed(Lines({Header(0x000, 0x79, "null"), Row(0, 1, "acht")}));
    EXPECT_TRUE(Has(0x800, 0x79));
    EXPECT_EQ(RowOf(0x800, 0x79, 1), Pad("acht"));
    EXPECT_EQ(RowOf(0x800, 0x79, 0).substr(0, 8), " 800-79 ");
    EXPECT_EQ(CurrentSubPage(0x800), 0x79);
    // The "no sub-code" value (S1..S4 = F,7,F,3, control bits set beside it)
    // files a single page as sub-page 0.
    Feed(Lines({HeaderNibbles(2, 3, 4, SubCode{0xF, 0xF, 0xF, 0xF}, "ohne"), Row(2, 1, "einzeln")}));
    EXPECT_EQ(RowOf(0x234, 0, 1), Pad("einzeln"));
    EXPECT_EQ(RowOf(0x234, 0, 0).substr(0, 8), " 234-00 ");
}

TEST_F(TeletextStore, RejectedHeadersDropTheirRows)
{
    Feed(Lines({Header(0x100, 0, "gut"), Row(1, 1, "vorher")}));
    struct Case {
        const char* what;
        Bytes header;
    } cases[] = {
        {"S3 set", HeaderNibbles(1, 0, 0, SubCode{1, 0, 1, 0}, "x")},
        {"S4 bits set", HeaderNibbles(1, 0, 0, SubCode{1, 0, 0, 1}, "x")},
        {"S1 above 9", HeaderNibbles(1, 0, 0, SubCode{0xA, 0, 0, 0}, "x")},
        {"time filling page FF", HeaderNibbles(1, 0xF, 0xF, SubCode{}, "x")},
        {"units above 9", HeaderNibbles(1, 2, 0xB, SubCode{}, "x")},
    };
    for (const Case& c : cases) {
        Bytes bad = c.header;
        Feed(Lines({bad, Row(1, 1, "verirrt")}));
        EXPECT_EQ(RowOf(0x100, 0, 1), Pad("vorher")) << c.what;
    }
    EXPECT_FALSE(Has(0x100, 0x01));
    EXPECT_FALSE(Has(0x1FF, 0));
    // An address byte that cannot be corrected also ends the page.
    Bytes broken = Row(1, 1, "kaputt");
    broken[1] = 0x01;   // two bits off any codeword
    Feed(Lines({Header(0x100, 0, "gut"), broken, Row(1, 2, "danach")}));
    EXPECT_EQ(RowOf(0x100, 0, 1), Pad("vorher"));
    EXPECT_EQ(RowOf(0x100, 0, 2), std::string(40, ' '));
}

TEST_F(TeletextStore, PacketsAbove23AndForeignUnitsChangeNothing)
{
    Feed(Lines({Header(0x200, 0, "x"), Row(2, 24, "vierundzwanzig"), Row(2, 25, "fuenfundzwanzig"),
                Row(2, 26, "sechsundzwanzig"), Row(2, 31, "einunddreissig")}));
    unsigned char page[TTX_PAGE_BYTES];
    ASSERT_TRUE(CopyPage(0x200, 0, page));
    for (int i = 40; i < TTX_PAGE_BYTES; ++i)
        ASSERT_EQ(page[i], ' ') << i;

    // Stuffing, other unit types and wrong lengths are skipped; the walk
    // goes on 46 bytes further.
    Feed(Payload({Stuffing(), Unit(Row(2, 3, "falsch"), 0xC3), Unit(Row(2, 4, "lang"), 0x02, 0x2D),
                  Unit(Row(2, 5, "fuenf")), Unit(Row(2, 6, "sechs"), 0x03)}));
    EXPECT_EQ(RowOf(0x200, 0, 3), std::string(40, ' '));
    EXPECT_EQ(RowOf(0x200, 0, 4), std::string(40, ' '));
    EXPECT_EQ(RowOf(0x200, 0, 5), Pad("fuenf"));
    EXPECT_EQ(RowOf(0x200, 0, 6), Pad("sechs"));

    // Without a data identifier the first unit starts at once.
    Feed(Payload({Unit(Row(2, 7, "sieben"))}, false));
    EXPECT_EQ(RowOf(0x200, 0, 7), Pad("sieben"));
}

TEST_F(TeletextStore, ParityErrorsBlankOneCharacter)
{
    Bytes chars = Text("ABCDEF");
    chars[2] ^= 0x80;   // 'C' with even parity
    Feed(Lines({Header(0x300, 0, "x"), Row(3, 1, chars)}));
    EXPECT_EQ(RowOf(0x300, 0, 1), Pad("AB DEF"));
}

TEST_F(TeletextStore, ShortAndCutBuffersReadNothingOutside)
{
    Feed(Lines({Header(0x400, 0, "x")}));
    Bytes cut = Lines({Row(4, 1, "ganz"), Row(4, 2, "abgeschnitten")});
    cut.resize(1 + 46 + 45);
    // Exactly the size given: copy into a buffer of that size.
    std::vector<uint8_t> exact(cut.begin(), cut.end());
    ParseTeletextPayload(exact.data(), exact.size());
    ParseTeletextPayload(exact.data(), 0);
    ParseTeletextPayload(nullptr, 10);
    ParseTeletextPayload(exact.data(), 1);
    EXPECT_EQ(RowOf(0x400, 0, 1), Pad("ganz"));
    EXPECT_EQ(RowOf(0x400, 0, 2), std::string(40, ' '));
}

TEST_F(TeletextStore, RowsFollowTheHeaderOfTheirOwnMagazine)
{
    // Parallel transmission: pages of two magazines interleave.
    Feed(Lines({Header(0x101, 0, "a"), Header(0x202, 0, "b"), Row(1, 1, "eins"), Row(2, 1, "zwei")}));
    EXPECT_EQ(RowOf(0x101, 0, 1), Pad("eins"));
    EXPECT_EQ(RowOf(0x202, 0, 1), Pad("zwei"));
}

TEST_F(TeletextStore, RotatingSubPagesEachGetTheirOwnBuffer)
{
    for (int sub = 1; sub <= 3; ++sub)
        Feed(Lines({Header(0x150, sub, "x"), Row(1, 1, "Unterseite " + std::to_string(sub))}));
    EXPECT_EQ(CurrentSubPage(0x150), 3);
    for (int sub = 1; sub <= 3; ++sub)
        EXPECT_EQ(RowOf(0x150, sub, 1), Pad("Unterseite " + std::to_string(sub)));
}

TEST_F(TeletextStore, NothingIsCollectedWhileClosedAndClosingFreesAll)
{
    Feed(Lines({Header(0x555, 0, "x")}));
    ASSERT_TRUE(Has(0x555, 0));
    ClosePageStore();
    EXPECT_FALSE(PageStoreOpen());
    EXPECT_FALSE(Has(0x555, 0));
    Feed(Lines({Header(0x556, 0, "x")}));
    EXPECT_FALSE(Has(0x556, 0));
    for (unsigned char* p : cachetable)
        ASSERT_EQ(p, nullptr);
    OpenPageStore();
    // The page of the last header survives, its buffer does not: rows wait
    // for the next header.
    Feed(Lines({Row(5, 1, "ohne Kopf")}));
    EXPECT_FALSE(Has(0x555, 0));
}

TEST_F(TeletextStore, FindPageStepsOverGapsAndWraps)
{
    for (int p : {0x100, 0x109, 0x110, 0x200, 0x899})
        Feed(Lines({Header(p, 0, "x")}));
    EXPECT_EQ(FindPage(0x100, 0), 0x109);
    EXPECT_EQ(show_page, 0x109);
    EXPECT_EQ(FindPage(0x109, 0), 0x110);
    EXPECT_EQ(FindPage(0x110, 0), 0x200);
    EXPECT_EQ(FindPage(0x200, 0), 0x899);
    EXPECT_EQ(FindPage(0x899, 0), 0x100);
    EXPECT_EQ(FindPage(0x100, 1), 0x899);
    EXPECT_EQ(FindPage(0x200, 1), 0x110);
    EXPECT_EQ(FindPage(0x150, 1), 0x110);   // from a page not present
}

TEST_F(TeletextStore, FindPageStaysWithoutOtherPages)
{
    Feed(Lines({Header(0x300, 0, "x")}));
    EXPECT_EQ(FindPage(0x300, 0), 0x300);
    EXPECT_EQ(FindPage(0x300, 1), 0x300);
    ClosePageStore();
    OpenPageStore();
    EXPECT_EQ(FindPage(0x899, 0), 0x899);
}

TEST_F(TeletextStore, FindSubPageWrapsAndIgnoresPagesWithoutSubPages)
{
    for (int sub : {1, 2, 4})
        Feed(Lines({Header(0x150, sub, "x")}));
    Feed(Lines({Header(0x151, 0, "x")}));
    show_page = 0x150;
    EXPECT_EQ(FindSubPage(4, 2), 1);
    EXPECT_EQ(CurrentSubPage(0x150), 1);
    EXPECT_EQ(FindSubPage(1, 2), 2);
    EXPECT_EQ(FindSubPage(2, 2), 4);
    EXPECT_EQ(FindSubPage(1, 1), 4);
    EXPECT_EQ(FindSubPage(4, 1), 2);
    show_page = 0x151;
    EXPECT_EQ(FindSubPage(0, 2), 0);
    EXPECT_EQ(CurrentSubPage(0x151), 0);
}

TEST_F(TeletextStore, ClosingWhileTheCollectorRunsIsSafe)
{
    std::vector<Bytes> lines;
    for (int p = 0; p < 8; ++p) {
        lines.push_back(Header(0x100 + p, 0, "x"));
        for (int r = 1; r <= 12; ++r)
            lines.push_back(Row(1, r, "Zeile " + std::to_string(r)));
    }
    const Bytes payload = Lines(lines);
    std::atomic<bool> stop{false};
    std::thread collector([&] {
        while (!stop)
            ParseTeletextPayload(payload.data(), payload.size());
    });
    unsigned char page[TTX_PAGE_BYTES];
    for (int i = 0; i < 300; ++i) {
        ClosePageStore();
        OpenPageStore();
        for (int p = 0; p < 8; ++p) {
            if (CopyPage(0x100 + p, 0, page)) {
                ASSERT_EQ(std::string(reinterpret_cast<char*>(page), 8),
                          " 10" + std::to_string(p) + "-00 ");
            }
        }
    }
    stop = true;
    collector.join();
}
