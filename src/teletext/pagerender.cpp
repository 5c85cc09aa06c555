#include "teletext/pagerender.h"

#include <algorithm>
#include <wx/image.h>
#include <wx/xrc/xmlres.h>

const char* const ttxFontResources[TTX_MODES] = {
    "BMP_FONT_G0",    "BMP_FONT_G1_C",    "BMP_FONT_G1_S",    "BMP_FONT_G0_NS",
    "BMP_FONT_G0_DH", "BMP_FONT_G1_C_DH", "BMP_FONT_G1_S_DH", "BMP_FONT_G0_NS_DH",
};

bool TtxFont::Pixel(int glyph, int x, int y) const
{
    const int px = 11 * glyph + 1 + x;
    const int py = 1 + y;
    if (glyph < 0 || x < 0 || x >= TTX_CELL_W || y < 0 || px >= width || py >= height)
        return false;
    return set[size_t(py) * width + px] != 0;
}

TtxFont FontFromImage(const wxImage& image)
{
    TtxFont font;
    if (!image.IsOk())
        return font;
    font.width = image.GetWidth();
    font.height = image.GetHeight();
    font.set.resize(size_t(font.width) * font.height);
    const unsigned char* rgb = image.GetData();
    for (size_t i = 0; i < font.set.size(); ++i) {
        const int sum = rgb[3 * i] + rgb[3 * i + 1] + rgb[3 * i + 2];
        font.set[i] = sum >= 3 * 128;
    }
    return font;
}

bool TtxFonts::Load()
{
    bool ok = true;
    for (int m = 0; m < TTX_MODES; ++m) {
        wxBitmap bitmap = wxXmlResource::Get()->LoadBitmap(ttxFontResources[m]);
        strip[m] = bitmap.IsOk() ? FontFromImage(bitmap.ConvertToImage()) : TtxFont();
        ok = ok && strip[m].width > 0;
    }
    return ok;
}

void RenderCells(const TtxLayout& layout, const TtxFonts& fonts, unsigned char* rgb, int firstRow,
                 int lastRow, int firstCol, int lastCol)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, TTX_ROWS - 1);
    firstCol = std::max(firstCol, 0);
    lastCol = std::min(lastCol, TTX_COLUMNS - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const TtxCell& cell = layout.cell[row * TTX_COLUMNS + col];
            if (!cell.draw)
                continue;
            const int mode = cell.mode % TTX_MODES;
            const TtxFont& font = fonts.strip[mode];
            const int height = mode >= TTX_DOUBLE ? 2 * TTX_CELL_H : TTX_CELL_H;
            const unsigned char* fg = ttxColours[cell.fg & 7];
            const unsigned char* bg = ttxColours[cell.bg & 7];
            for (int y = 0; y < height; ++y) {
                const int py = row * TTX_CELL_H + y;
                if (py >= TTX_PICTURE_H)
                    break;
                unsigned char* out = rgb + (size_t(py) * TTX_PICTURE_W + col * TTX_CELL_W) * 3;
                for (int x = 0; x < TTX_CELL_W; ++x, out += 3) {
                    const unsigned char* c = font.Pixel(cell.glyph, x, y) ? fg : bg;
                    out[0] = c[0];
                    out[1] = c[1];
                    out[2] = c[2];
                }
            }
        }
    }
}
