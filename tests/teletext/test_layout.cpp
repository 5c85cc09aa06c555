// The attribute walk of a row (colours, mosaics, hold, conceal, double
// height, national characters) and the cells it draws, checked on pixels
// against the font strips.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/resources.h"
#include "teletext/charset.h"
#include "teletext/pagelayout.h"
#include "teletext/pagenav.h"
#include "teletext/pagerender.h"

namespace {

const int GER = 4;

// A page of spaces with the given rows.
struct Page {
    unsigned char bytes[TTX_PAGE_BYTES];
    Page() { memset(bytes, ' ', sizeof bytes); }
    Page& row(int r, const std::string& s)
    {
        memcpy(bytes + r * 40, s.data(), std::min<size_t>(s.size(), 40));
        return *this;
    }
};

TtxLayout Layout(const Page& p, bool reveal = false, int subset = GER)
{
    TtxLayout l;
    LayoutPage(p.bytes, subset, reveal, l);
    return l;
}

const TtxCell& At(const TtxLayout& l, int col, int row)
{
    return l.cell[row * 40 + col];
}

int G0(char c)
{
    return c - 0x20;
}

} // namespace

TEST(TeletextLayout, ColourCodesActAfterTheirCell)
{
    TtxLayout l = Layout(Page().row(1, "\x01" "AB\x02" "C"));
    EXPECT_EQ(At(l, 0, 1).fg, 7);                  // the code's own cell: old colour
    EXPECT_EQ(At(l, 0, 1).glyph, G0(' '));
    EXPECT_EQ(At(l, 1, 1).fg, 1);
    EXPECT_EQ(At(l, 1, 1).glyph, G0('A'));
    EXPECT_EQ(At(l, 3, 1).fg, 1);
    EXPECT_EQ(At(l, 4, 1).fg, 2);
    EXPECT_EQ(At(l, 0, 2).fg, 7);                  // every row starts white on black
}

TEST(TeletextLayout, BackgroundCodesActAtTheirCell)
{
    TtxLayout l = Layout(Page().row(1, "\x04\x1D" "X\x1C" "Y"));
    EXPECT_EQ(At(l, 0, 1).bg, 0);
    EXPECT_EQ(At(l, 1, 1).bg, 4);
    EXPECT_EQ(At(l, 2, 1).bg, 4);
    EXPECT_EQ(At(l, 3, 1).bg, 0);
    EXPECT_EQ((l.attr[40 + 2] >> TTX_BG_SHIFT) & 7, 4);
}

TEST(TeletextLayout, ConcealedTextHidesUntilTheNextColourUnlessRevealed)
{
    const Page p = Page().row(3, "\x02\x18" "geheim\x07" "offen");
    TtxLayout hidden = Layout(p, false);
    for (int c = 1; c <= 8; ++c)
        EXPECT_EQ(At(hidden, c, 3).fg, At(hidden, c, 3).bg) << c;
    EXPECT_EQ(At(hidden, 9, 3).fg, 7);
    TtxLayout shown = Layout(p, true);
    EXPECT_EQ(At(shown, 2, 3).fg, 2);
    EXPECT_EQ(At(shown, 2, 3).glyph, G0('g'));
}

TEST(TeletextLayout, DoubleHeightCoversTheRowBelow)
{
    Page p;
    p.row(1, "\x04\x1D\x03" "ab\x0D" "GROSS").row(2, "unten!!!!!!!!").row(3, "drei");
    TtxLayout l = Layout(p);
    EXPECT_EQ(At(l, 5, 1).mode, TTX_G0 + TTX_DOUBLE);   // the code cell itself is double
    EXPECT_EQ(At(l, 6, 1).mode, TTX_G0 + TTX_DOUBLE);
    EXPECT_EQ(At(l, 6, 1).glyph, G0('G'));
    EXPECT_EQ(At(l, 3, 1).mode, TTX_G0);
    for (int c = 0; c < 40; ++c)
        EXPECT_TRUE(l.attr[40 + c] & TTX_ROW_HAS_DOUBLE) << c;
    // Under normal-height cells the row below shows the upper background.
    for (int c = 0; c < 5; ++c) {
        EXPECT_TRUE(At(l, c, 2).draw);
        EXPECT_EQ(At(l, c, 2).bg, At(l, c, 1).bg) << c;
        EXPECT_EQ(At(l, c, 2).fg, At(l, c, 1).bg) << c;
    }
    // Under double-height cells nothing is drawn: the upper glyph reaches down.
    for (int c = 5; c < 40; ++c)
        EXPECT_FALSE(At(l, c, 2).draw) << c;
    EXPECT_EQ(At(l, 0, 3).glyph, G0('d'));
    EXPECT_TRUE(At(l, 0, 3).draw);
}

TEST(TeletextLayout, RowUnderDoubleHeightKeepsItsOwnCodesFromTheNextRow)
{
    // A double-height code in the covered row must not hide the row after it.
    TtxLayout l = Layout(Page().row(1, "\x0D" "A").row(2, "\x0D" "B").row(3, "C"));
    EXPECT_TRUE(At(l, 0, 3).draw);
    EXPECT_EQ(At(l, 0, 3).glyph, G0('C'));
}

TEST(TeletextLayout, MosaicsContiguousSeparatedAndBlastThrough)
{
    TtxLayout l = Layout(Page().row(1, "\x11\x7f" "A\x1A\x7f\x19\x7f\x03" "b"));
    EXPECT_EQ(At(l, 1, 1).mode, TTX_G1_C);
    EXPECT_EQ(At(l, 1, 1).glyph, 0x7f - 0x20);
    EXPECT_EQ(At(l, 1, 1).fg, 1);
    EXPECT_EQ(At(l, 2, 1).mode, TTX_G1_C);          // capitals stay letters in the G1 strip
    EXPECT_EQ(GlyphUnicode(At(l, 2, 1).mode, At(l, 2, 1).glyph), U'A');
    EXPECT_EQ(At(l, 4, 1).mode, TTX_G1_S);
    EXPECT_EQ(At(l, 6, 1).mode, TTX_G1_C);
    EXPECT_EQ(At(l, 8, 1).mode, TTX_G0);
    // A style code in text mode changes no text into blocks.
    TtxLayout t = Layout(Page().row(1, "\x1A" "Text"));
    EXPECT_EQ(At(t, 1, 1).mode, TTX_G0);
    EXPECT_EQ(At(t, 1, 1).glyph, G0('T'));
}

TEST(TeletextLayout, HoldMosaicsRepeatTheLastBlockInCodeCells)
{
    TtxLayout held = Layout(Page().row(1, "\x1E\x11\x7f\x13\x7f\x1F\x12\x34"));
    EXPECT_EQ(At(held, 3, 1).glyph, 0x7f - 0x20);   // the yellow code cell shows the red block
    EXPECT_EQ(At(held, 3, 1).fg, 1);
    EXPECT_EQ(At(held, 3, 1).mode, TTX_G1_C);
    EXPECT_EQ(At(held, 5, 1).glyph, 0x7f - 0x20);   // release acts after its cell
    EXPECT_EQ(At(held, 6, 1).glyph, G0(' '));
    TtxLayout plain = Layout(Page().row(1, " \x11\x7f\x13\x7f"));
    EXPECT_EQ(At(plain, 3, 1).glyph, G0(' '));
}

TEST(TeletextLayout, NationalCharactersFollowTheSubset)
{
    TtxLayout l = Layout(Page().row(1, "[\\]{|}~#$@^_`\x11@#[`"));
    const char32_t german[] = U"ÄÖÜäöüß#$§^_°";
    for (int c = 0; c < 13; ++c) {
        EXPECT_EQ(At(l, c, 1).mode, TTX_G0_NS) << c;
        EXPECT_EQ(GlyphUnicode(At(l, c, 1).mode, At(l, c, 1).glyph), german[c]) << c;
    }
    // After a mosaic code only the capitals' positions stay national.
    EXPECT_EQ(At(l, 14, 1).mode, TTX_G0_NS);
    EXPECT_EQ(GlyphUnicode(At(l, 14, 1).mode, At(l, 14, 1).glyph), U'§');
    EXPECT_EQ(At(l, 15, 1).mode, TTX_G1_C);
    EXPECT_EQ(GlyphUnicode(At(l, 16, 1).mode, At(l, 16, 1).glyph), U'Ä');
    EXPECT_EQ(At(l, 17, 1).mode, TTX_G1_C);
    TtxLayout fr = Layout(Page().row(1, "@"), false, 3);
    EXPECT_EQ(GlyphUnicode(fr.cell[40].mode, fr.cell[40].glyph), U'à');
    for (int m = 0; m < TTX_MODES; ++m)
        EXPECT_EQ(GlyphUnicode(m, GlyphCount(m)), 0u);
}

TEST(TeletextPageNav, PageReferencesAreThreeDigitRuns)
{
    Page p;
    p.row(0, " 100-00 ZAPPORA").row(5, "siehe Seite 101, 2024 oder 999 und 88");
    p.row(6, "123").row(7, "                                     456");
    EXPECT_EQ(PageReferenceAt(p.bytes, 2, 0), 0x100);
    EXPECT_EQ(PageReferenceAt(p.bytes, 14, 5), 0x101);
    EXPECT_EQ(PageReferenceAt(p.bytes, 12, 5), 0x101);
    EXPECT_EQ(PageReferenceAt(p.bytes, 15, 5), 0);   // the comma
    EXPECT_EQ(PageReferenceAt(p.bytes, 18, 5), 0);   // four digits
    EXPECT_EQ(PageReferenceAt(p.bytes, 27, 5), 0);   // 999: no page
    EXPECT_EQ(PageReferenceAt(p.bytes, 36, 5), 0);   // two digits
    EXPECT_EQ(PageReferenceAt(p.bytes, 0, 6), 0x123);
    EXPECT_EQ(PageReferenceAt(p.bytes, 39, 7), 0x456);
    EXPECT_EQ(PageReferenceAt(p.bytes, 40, 7), 0);
    EXPECT_EQ(PageReferenceAt(p.bytes, 0, 24), 0);
    int col = -1, row = -1;
    EXPECT_TRUE(CellAt(399, 287, col, row));
    EXPECT_EQ(col, 39);
    EXPECT_EQ(row, 23);
    EXPECT_FALSE(CellAt(400, 10, col, row));   // the window's border pixels
    EXPECT_FALSE(CellAt(10, 290, col, row));
    EXPECT_FALSE(CellAt(-1, 10, col, row));
}

TEST(TeletextPageNav, TypedDigitsAndHeaders)
{
    int input[3] = {}, counter = 0, page = 0;
    EXPECT_EQ(TypeDigit(9, input, counter, page), TTX_DIGIT_IGNORED);
    EXPECT_EQ(TypeDigit(0, input, counter, page), TTX_DIGIT_BACK);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(TypeDigit(1, input, counter, page), TTX_DIGIT_PENDING);
    EXPECT_EQ(TypeDigit(2, input, counter, page), TTX_DIGIT_PENDING);
    char text[6];
    PageEntryText(input, counter, text);
    EXPECT_EQ(std::string(text, 6), "12?-??");
    EXPECT_EQ(TypeDigit(0, input, counter, page), TTX_DIGIT_COMPLETE);
    EXPECT_EQ(page, 0x120);
    char header[40];
    MissingPageHeader(0x123, 0x04, "12:34:56", header);
    EXPECT_EQ(std::string(header, 40), " 123-04 ----------------------- 12:34:56");
    EXPECT_EQ(InitialPage(0x150), 0x150);
    EXPECT_EQ(InitialPage(0x1FF), 0x100);
    EXPECT_EQ(InitialPage(0), 0x100);
}

class TeletextRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadResourcesOnce();
        ASSERT_TRUE(fonts.Load());
        picture.assign(TTX_PICTURE_W * TTX_PICTURE_H * 3, 0x55);
    }
    // Compares a cell's pixels with glyph `glyph` of strip `mode` in the two colours.
    void ExpectGlyph(int col, int row, int mode, int glyph, int fg, int bg, int height = 12)
    {
        int setPixels = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool set = fonts.strip[mode].Pixel(glyph, x, y);
                setPixels += set;
                const unsigned char* want = ttxColours[set ? fg : bg];
                const unsigned char* got =
                    &picture[((row * 12 + y) * TTX_PICTURE_W + col * 10 + x) * 3];
                ASSERT_TRUE(got[0] == want[0] && got[1] == want[1] && got[2] == want[2])
                    << "cell " << col << "," << row << " pixel " << x << "," << y;
            }
        EXPECT_GT(setPixels, 0);
        EXPECT_LT(setPixels, 10 * height);
    }
    TtxFonts fonts;
    std::vector<unsigned char> picture;
};

TEST_F(TeletextRender, StripsHaveTheirGeometry)
{
    for (int m = 0; m < TTX_MODES; ++m) {
        EXPECT_EQ(fonts.strip[m].width, (m & 3) == TTX_G0_NS ? 1860 : 1057) << m;
        EXPECT_EQ(fonts.strip[m].height, m >= TTX_DOUBLE ? 26 : 14) << m;
    }
}

TEST_F(TeletextRender, CellsShowTheirGlyphsInTheirColours)
{
    Page p;
    p.row(5, "\x04\x1D\x03" "A\x05" "[\x12\x1A\x35")
        .row(7, "\x0D\x06" "Hg")
        .row(9, "\x11\x7f");
    TtxLayout l = Layout(p);
    RenderCells(l, fonts, picture.data());
    ExpectGlyph(3, 5, TTX_G0, G0('A'), 3, 4);                      // yellow on blue
    ExpectGlyph(5, 5, TTX_G0_NS, GER * 13 + 3, 5, 4);              // Ä in magenta
    ExpectGlyph(8, 5, TTX_G1_S, 0x35 - 0x20, 2, 4);                // separated block
    ExpectGlyph(2, 7, TTX_G0 + TTX_DOUBLE, G0('H'), 6, 0, 24);               // double height
    ExpectGlyph(3, 7, TTX_G0 + TTX_DOUBLE, G0('g'), 6, 0, 24);
    // A full mosaic block fills its cell in the foreground colour.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 10; ++x) {
            const unsigned char* px = &picture[((9 * 12 + y) * TTX_PICTURE_W + 10 + x) * 3];
            ASSERT_EQ(px[0], 255);
            ASSERT_EQ(px[1], 0);
            ASSERT_EQ(px[2], 0);
        }
    // The row under the double-height row, left of its code cell: background.
    const unsigned char* under = &picture[((8 * 12 + 5) * TTX_PICTURE_W + 0 + 5) * 3];
    EXPECT_EQ(under[0], 0);
    EXPECT_EQ(under[2], 0);
}

TEST_F(TeletextRender, PartialRowsLeaveTheRestAlone)
{
    TtxLayout l = Layout(Page().row(0, "ABCDEFGH").row(1, "unten"));
    LayoutTextRow(l, 0, 1, "12?-??", 6, 1, GER);
    RenderCells(l, fonts, picture.data(), 0, 0, 1, 6);
    ExpectGlyph(1, 0, TTX_G0, G0('1'), 1, 0);
    ExpectGlyph(3, 0, TTX_G0, G0('?'), 1, 0);
    EXPECT_EQ(picture[0], 0x55);                                       // column 0 untouched
    EXPECT_EQ(picture[(12 * TTX_PICTURE_W) * 3], 0x55);               // row 1 untouched
}
