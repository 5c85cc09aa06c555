#include "teletext/pagelayout.h"

#include <algorithm>

const unsigned char ttxColours[8][3] = {
    {0, 0, 0},   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

namespace {

// Glyph and strip of a character in a drawing mode.
void ChooseGlyph(TtxCell& cell, unsigned char code, int mode, bool doubleHeight, int subset)
{
    int glyph = code - 0x20;
    const int k = NationalPosition(code);
    // The capitals' positions are national in every mode; the others are
    // mosaics outside alphanumeric mode.
    if (k >= 0 && (mode == TTX_G0 || code == 0x40 || (code >= 0x5B && code <= 0x5F))) {
        glyph = subset * TTX_NATIONAL_CHARS + k;
        mode = TTX_G0_NS;
    }
    cell.mode = (unsigned char)(mode + (doubleHeight ? TTX_DOUBLE : 0));
    cell.glyph = (unsigned short)glyph;
}

int ClampSubset(int subset)
{
    return std::min(std::max(subset, 0), TTX_SUBSETS - 1);
}

} // namespace

TtxRowWalker::TtxRowWalker(int subset, bool reveal) : subset_(ClampSubset(subset)), reveal_(reveal)
{
}

TtxCell TtxRowWalker::Next(unsigned char code)
{
    code &= 0x7F;
    // Changes that act at the cell itself.
    switch (code) {
    case 0x0C: double_ = false; break;
    case 0x0D: double_ = true; break;
    case 0x18:
        if (!reveal_)
            fg_ = bg_;
        break;
    case 0x19:
    case 0x1A:
        // The style applies to mosaics; text stays text.
        style_ = code == 0x19 ? TTX_G1_C : TTX_G1_S;
        if (mode_ != TTX_G0)
            mode_ = style_;
        break;
    case 0x1C: bg_ = 0; break;
    case 0x1D: bg_ = fg_; break;
    case 0x1E: hold_ = true; break;
    default: break;
    }

    TtxCell cell;
    cell.draw = true;
    cell.fg = fg_;
    cell.bg = bg_;
    unsigned char shown = code;
    if (code >= 0x20) {
        if (mode_ != TTX_G0)
            held_ = code;
    } else {
        shown = (hold_ && mode_ != TTX_G0) ? held_ : 0x20;
    }
    ChooseGlyph(cell, shown, mode_, double_, subset_);

    // Changes that act from the next cell on.
    if (code <= 0x07) {
        fg_ = code;
        mode_ = TTX_G0;
    } else if (code >= 0x10 && code <= 0x17) {
        fg_ = code - 0x10;
        mode_ = style_;
    } else if (code == 0x1F) {
        hold_ = false;
    }
    return cell;
}

void LayoutPage(const unsigned char page[TTX_PAGE_BYTES], int subset, bool reveal, TtxLayout& out)
{
    std::fill(std::begin(out.attr), std::end(out.attr), 0);
    for (int row = 0; row < TTX_ROWS; ++row) {
        const int base = row * TTX_COLUMNS;
        // Below a double-height row the upper row's glyphs or background
        // show; this row's own characters and codes are not drawn.
        const bool covered = row > 0 && (out.attr[base - TTX_COLUMNS] & TTX_ROW_HAS_DOUBLE);
        TtxRowWalker walker(subset, reveal);
        bool rowHasDouble = false;
        for (int col = 0; col < TTX_COLUMNS; ++col) {
            const int i = base + col;
            const unsigned char code = page[i] & 0x7F;
            TtxCell cell = walker.Next(code);
            if (covered) {
                const unsigned char above = out.attr[i - TTX_COLUMNS];
                cell = TtxCell();
                const unsigned char bg = (above >> TTX_BG_SHIFT) & 7;
                if (!(above & TTX_CELL_DOUBLE)) {
                    cell.draw = true;
                    cell.fg = cell.bg = bg;
                }
                out.cell[i] = cell;
                out.attr[i] = (unsigned char)(bg << TTX_BG_SHIFT);
                continue;
            }
            out.cell[i] = cell;
            rowHasDouble = rowHasDouble || code == 0x0D;
            out.attr[i] = (unsigned char)((walker.doubleHeight() ? TTX_CELL_DOUBLE : 0) |
                                          walker.background() << TTX_BG_SHIFT);
        }
        if (rowHasDouble)
            for (int col = 0; col < TTX_COLUMNS; ++col)
                out.attr[base + col] |= TTX_ROW_HAS_DOUBLE;
    }
}

void LayoutTextRow(TtxLayout& out, int row, int column, const char* text, int count, int fg,
                   int subset)
{
    if (row < 0 || row >= TTX_ROWS || !text)
        return;
    subset = ClampSubset(subset);
    for (int n = 0; n < count && column + n < TTX_COLUMNS; ++n) {
        if (column + n < 0)
            continue;
        unsigned char code = (unsigned char)text[n] & 0x7F;
        if (code < 0x20)
            code = 0x20;
        TtxCell& cell = out.cell[row * TTX_COLUMNS + column + n];
        cell = TtxCell();
        cell.draw = true;
        cell.fg = (unsigned char)(fg & 7);
        cell.bg = 0;
        ChooseGlyph(cell, code, TTX_G0, false, subset);
    }
}
