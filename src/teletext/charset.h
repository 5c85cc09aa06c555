// The character sets the viewer draws with: the Latin G0 set, the G1 block
// mosaics and the thirteen national option subsets, in the order of the
// font strips (and of the viewer's subset menu).
#pragma once

enum {
    TTX_SUBSETS = 13,          // national option subsets
    TTX_NATIONAL_CHARS = 13,   // characters each subset replaces
};

// Font strips, one per drawing mode; +TTX_DOUBLE for double height.
enum TtxMode {
    TTX_G0 = 0,        // Latin G0, glyph = code - 0x20
    TTX_G1_C = 1,      // contiguous mosaics (capitals at 0x40..0x5F)
    TTX_G1_S = 2,      // separated mosaics
    TTX_G0_NS = 3,     // national option characters, glyph = subset * 13 + position
    TTX_DOUBLE = 4,
    TTX_MODES = 8,
};

// Glyphs per strip: 96 in the G0/G1 strips, 13 x 13 in the national strips.
int GlyphCount(int mode);

// Position 0..12 of a code among the national option positions
// (0x23, 0x24, 0x40, 0x5B..0x60, 0x7B..0x7E); -1 for any other code.
int NationalPosition(unsigned char code);

// Menu label of a subset: "CZE/SLO", "ENG", ... "TUR"; empty outside 0..12.
const char* SubsetLabel(int subset);

// The character a glyph shows, as a Unicode code point; 0 for mosaics,
// blanks outside the strips and unknown modes. Double height is ignored.
char32_t GlyphUnicode(int mode, int glyph);
