// Drawing laid-out cells into a 400 x 288 RGB picture with the font strips.
//
// The strips are monochrome: glyph n lies at x = 11 n + 1, y = 1, 10 pixels
// wide and 12 (double height: 24) high, set pixels white. Cells are painted
// pixel by pixel in their two colours rather than blitted as 1-bit bitmaps,
// whose set pixels GTK 3 draws in the background colour.
#pragma once

#include <vector>

#include "teletext/pagelayout.h"

class wxImage;

enum {
    TTX_CELL_W = 10,
    TTX_CELL_H = 12,
    TTX_PICTURE_W = TTX_COLUMNS * TTX_CELL_W,   // 400
    TTX_PICTURE_H = TTX_ROWS * TTX_CELL_H,      // 288
};

struct TtxFont {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> set;   // width x height, 1 where the glyph is drawn

    // Whether pixel (x, y) of glyph `glyph` is set; false outside the strip.
    bool Pixel(int glyph, int x, int y) const;
};

// A strip from its picture: bright pixels are set.
TtxFont FontFromImage(const wxImage& image);

// The eight strips by drawing mode (BMP_FONT_G0 ... BMP_FONT_G0_NS_DH).
struct TtxFonts {
    TtxFont strip[TTX_MODES];
    bool Load();   // from the embedded resources; false when one is missing
};
extern const char* const ttxFontResources[TTX_MODES];

// Paints the cells of rows first..last, columns firstCol..lastCol into
// `rgb` (TTX_PICTURE_W x TTX_PICTURE_H, 3 bytes a pixel, row-major), top row
// first so that double-height glyphs reach into the row below.
void RenderCells(const TtxLayout& layout, const TtxFonts& fonts, unsigned char* rgb,
                 int firstRow = 0, int lastRow = TTX_ROWS - 1, int firstCol = 0,
                 int lastCol = TTX_COLUMNS - 1);
