// Builds teletext PES payloads for the tests, written from the broadcast
// standard independently of the decoder under test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ttx {

using Bytes = std::vector<uint8_t>;

// Hamming 8/4 codeword of d (bit 0 sent first: P1 D1 P2 D2 P3 D3 P4 D4).
inline uint8_t Ham(int d)
{
    const int d1 = d & 1, d2 = (d >> 1) & 1, d3 = (d >> 2) & 1, d4 = (d >> 3) & 1;
    const int p1 = 1 ^ d1 ^ d3 ^ d4, p2 = 1 ^ d1 ^ d2 ^ d4, p3 = 1 ^ d1 ^ d2 ^ d3;
    const int p4 = 1 ^ p1 ^ d1 ^ p2 ^ d2 ^ p3 ^ d3 ^ d4;
    return uint8_t(p1 | d1 << 1 | p2 << 2 | d2 << 3 | p3 << 4 | d3 << 5 | p4 << 6 | d4 << 7);
}

// A 7-bit character with its odd-parity bit.
inline uint8_t Par(uint8_t c)
{
    c &= 0x7F;
    return __builtin_parity(c) ? c : uint8_t(c | 0x80);
}

inline uint8_t Rev(uint8_t b)
{
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1 << i))
            r |= uint8_t(0x80 >> i);
    return r;
}

// 40 characters with parity, padded with spaces.
inline Bytes Text(const std::string& s, size_t n = 40)
{
    Bytes out;
    for (size_t i = 0; i < n; ++i)
        out.push_back(Par(i < s.size() ? uint8_t(s[i]) : ' '));
    return out;
}

inline Bytes Address(int magazine, int packet)
{
    return {Ham((magazine & 7) | (packet & 1) << 3), Ham(packet >> 1)};
}

// Sub-code nibbles as sent: S1, S2 (with C4), S3, S4 (with C5, C6).
struct SubCode {
    int s1 = 0, s2 = 0, s3 = 0, s4 = 0;
};

inline SubCode Sub(int subpage)
{
    return SubCode{subpage & 0xF, (subpage >> 4) & 7, 0, 0};
}

// Header (packet 0) with page units/tens nibbles as given, control nibbles
// C7..C10 = 0 and C11..C14 = `control`, and the 32 characters of columns 8..39.
inline Bytes HeaderNibbles(int magazine, int tens, int units, SubCode sc, const std::string& text,
                           int control = 0x9)
{
    Bytes line = Address(magazine, 0);
    for (int n : {units, tens, sc.s1, sc.s2, sc.s3, sc.s4, 0, control})
        line.push_back(Ham(n));
    Bytes t = Text(text, 32);
    line.insert(line.end(), t.begin(), t.end());
    return line;
}

inline Bytes Header(int page, int subpage, const std::string& text, int control = 0x9)
{
    return HeaderNibbles((page >> 8) & 7, (page >> 4) & 0xF, page & 0xF, Sub(subpage), text, control);
}

inline Bytes Row(int magazine, int packet, const Bytes& chars40)
{
    Bytes line = Address(magazine, packet);
    line.insert(line.end(), chars40.begin(), chars40.end());
    line.resize(42, Par(' '));
    return line;
}

inline Bytes Row(int magazine, int packet, const std::string& text)
{
    return Row(magazine, packet, Text(text));
}

// One 46-byte data unit carrying a line, bit-reversed as DVB sends it.
inline Bytes Unit(const Bytes& line, uint8_t id = 0x02, uint8_t length = 0x2C)
{
    Bytes u = {id, length, 0xE7, 0xE4};
    for (uint8_t b : line)
        u.push_back(Rev(b));
    u.resize(46, 0xFF);
    return u;
}

inline Bytes Stuffing()
{
    Bytes u(46, 0xFF);
    u[1] = 0x2C;
    return u;
}

// A PES data field: data identifier 0x10 and the units.
inline Bytes Payload(const std::vector<Bytes>& units, bool identifier = true)
{
    Bytes p;
    if (identifier)
        p.push_back(0x10);
    for (const Bytes& u : units)
        p.insert(p.end(), u.begin(), u.end());
    return p;
}

inline Bytes Lines(const std::vector<Bytes>& lines)
{
    std::vector<Bytes> units;
    for (const Bytes& l : lines)
        units.push_back(Unit(l));
    return Payload(units);
}

} // namespace ttx
