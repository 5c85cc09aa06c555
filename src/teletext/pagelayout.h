// What each of the 40 x 24 cells of a teletext page shows: the walk through
// the spacing attributes of every row (colours, mosaics, hold, conceal,
// double height) down to a glyph of a font strip and two colours.
#pragma once

#include "teletext/charset.h"
#include "teletext/pagestore.h"

// Teletext colours 0..7: black, red, green, yellow, blue, magenta, cyan, white.
extern const unsigned char ttxColours[8][3];

struct TtxCell {
    bool draw = false;          // false: the double-height glyph above covers it
    unsigned char fg = 7;
    unsigned char bg = 0;
    unsigned char mode = 0;     // font strip, TtxMode
    unsigned short glyph = 0;   // index in that strip
};

// Bits of the attribute map.
enum {
    TTX_ROW_HAS_DOUBLE = 0x01,  // the cell's row contains a double-height code
    TTX_CELL_DOUBLE = 0x02,     // the cell is drawn in double height
    TTX_BG_SHIFT = 4,           // bits 4..6: the cell's background colour
};

struct TtxLayout {
    TtxCell cell[TTX_PAGE_BYTES];
    unsigned char attr[TTX_PAGE_BYTES] = {};
};

// Lays out a whole page with national subset `subset` (0..12); concealed
// text shows when `reveal` is set.
void LayoutPage(const unsigned char page[TTX_PAGE_BYTES], int subset, bool reveal,
                TtxLayout& out);

// Lays out `count` characters in one row from `column` on, alphanumeric in
// colour `fg` on black (status text in the header row).
void LayoutTextRow(TtxLayout& out, int row, int column, const char* text, int count, int fg,
                   int subset);

// The row state of the attribute walk, one cell at a time.
class TtxRowWalker {
public:
    TtxRowWalker(int subset, bool reveal);
    // The cell of one character; changes that act "after" the cell take
    // effect on the next call.
    TtxCell Next(unsigned char code);
    bool doubleHeight() const { return double_; }
    unsigned char background() const { return bg_; }

private:
    int subset_;
    bool reveal_;
    unsigned char fg_ = 7, bg_ = 0;
    int mode_ = TTX_G0;         // 0 alphanumeric, 1 contiguous, 2 separated mosaics
    int style_ = TTX_G1_C;
    bool hold_ = false;
    unsigned char held_ = 0x20;
    bool double_ = false;
};
