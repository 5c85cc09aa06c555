#include "teletext/charset.h"

namespace {

const unsigned char kPositions[TTX_NATIONAL_CHARS] = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E,
                                                      0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

struct Subset {
    const char* label;
    const char32_t* chars;   // in position order, as the national strip draws them
};

const Subset kSubsets[TTX_SUBSETS] = {
    {"CZE/SLO", U"#ůčťžýířéáěúš"},
    {"ENG", U"£$@←½→↑#―¼‖¾÷"},
    {"EST", U"#õŠÄÖŽÜÕšäöžü"},
    {"FRE", U"éïàëêùî#èâôûç"},
    {"GER", U"#$§ÄÖÜ^_°äöüß"},
    {"ITA", U"£$é°ç→↑#ùàòèì"},
    {"LAV/LIT", U"#$ŠėęŽčūšąųžį"},
    {"POL", U"#ńąƵŚŁćóężśłź"},
    {"POR/SPA", U"ç$¡áéíóú¿üñèà"},
    {"RUM", U"#¤ŢÂŞĂÎıţâşăî"},
    {"SCC/SCR/SLV", U"#ËČĆŽĐŠëčćžđš"},
    {"SWE/FIN/HUN", U"#¤ÉÄÖÅÜ_éäöåü"},
    {"TUR", U"₺ğİŞÖÇÜĞışöçü"},
};

char32_t G0Unicode(int code)
{
    if (code == 0x24)
        return U'¤';
    if (code == 0x7F)
        return U'■';
    return code >= 0x20 && code < 0x7F ? char32_t(code) : 0;
}

} // namespace

int GlyphCount(int mode)
{
    return (mode & 3) == TTX_G0_NS ? TTX_SUBSETS * TTX_NATIONAL_CHARS : 96;
}

int NationalPosition(unsigned char code)
{
    for (int k = 0; k < TTX_NATIONAL_CHARS; ++k)
        if (kPositions[k] == code)
            return k;
    return -1;
}

const char* SubsetLabel(int subset)
{
    return subset >= 0 && subset < TTX_SUBSETS ? kSubsets[subset].label : "";
}

char32_t GlyphUnicode(int mode, int glyph)
{
    if (mode < 0 || mode >= TTX_MODES || glyph < 0 || glyph >= GlyphCount(mode))
        return 0;
    const int code = glyph + 0x20;
    switch (mode & 3) {
    case TTX_G0:
        return G0Unicode(code);
    case TTX_G0_NS:
        return kSubsets[glyph / TTX_NATIONAL_CHARS].chars[glyph % TTX_NATIONAL_CHARS];
    default:
        // The mosaic strips carry the capitals of G0 between their blocks.
        return code >= 0x40 && code <= 0x5F ? G0Unicode(code) : 0;
    }
}
