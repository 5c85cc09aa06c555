#include "teletext/pagestore.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>


namespace {

constexpr std::array<unsigned char, 256> MakeReversal()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) {
        int r = 0;
        for (int b = 0; b < 8; ++b)
            if (i & (1 << b))
                r |= 0x80 >> b;
        t[i] = (unsigned char)r;
    }
    return t;
}

// Codeword of four data bits: bits P1 D1 P2 D2 P3 D3 P4 D4 from bit 0 up,
// P1..P3 odd over their data bits, P4 odd over the whole byte.
constexpr int HammingCodeword(int d)
{
    const int d1 = d & 1, d2 = (d >> 1) & 1, d3 = (d >> 2) & 1, d4 = (d >> 3) & 1;
    const int p1 = 1 ^ d1 ^ d3 ^ d4;
    const int p2 = 1 ^ d1 ^ d2 ^ d4;
    const int p3 = 1 ^ d1 ^ d2 ^ d3;
    const int p4 = 1 ^ p1 ^ d1 ^ p2 ^ d2 ^ p3 ^ d3 ^ d4;
    return p1 | d1 << 1 | p2 << 2 | d2 << 3 | p3 << 4 | d3 << 5 | p4 << 6 | d4 << 7;
}

constexpr std::array<unsigned char, 256> MakeDehamming()
{
    std::array<unsigned char, 256> t{};
    for (auto& v : t)
        v = 0xFF;
    for (int d = 0; d < 16; ++d) {
        const int cw = HammingCodeword(d);
        t[cw] = (unsigned char)d;
        for (int b = 0; b < 8; ++b)
            t[cw ^ (1 << b)] = (unsigned char)d;
    }
    return t;
}

std::mutex storeLock;
bool collecting = false;   // guarded by storeLock

// Page and sub-page of the latest accepted header, per magazine: a page's
// rows carry its magazine, so pages sent in parallel magazines do not mix.
// 0 = no page (rows are dropped until the next header).
struct Current {
    int page = 0;
    int subpage = 0;
};
Current current[8];   // guarded by storeLock; kept from one opening to the next

unsigned char*& Slot(int page, int subpage)
{
    return cachetable[page * TTX_SUBPAGE_COUNT + subpage];
}

void FreeAll()
{
    for (auto& p : cachetable) {
        free(p);
        p = nullptr;
    }
}

// Handles one 42-byte line (address and data, already bit-reversed).
void FileLine(const unsigned char* line)
{
    const int a = dehamming[line[0]];
    const int b = dehamming[line[1]];
    if (a == 0xFF) {
        // Magazine unknown: the line may have been any magazine's header.
        for (auto& c : current)
            c = Current();
        return;
    }
    const int magazine = a & 7;
    Current& cur = current[magazine];
    if (b == 0xFF) {
        cur = Current();
        return;
    }
    const int packet = b * 2 + (a >> 3);
    if (packet > 23)
        return;

    unsigned char data[TTX_COLUMNS];
    const unsigned char* src = line + 2;
    if (packet == 0) {
        for (int i = 8; i < TTX_COLUMNS; ++i)
            data[i] = OddParity(src[i]);
        const int units = dehamming[src[0]], tens = dehamming[src[1]];
        if (units == 0xFF || tens == 0xFF || tens > 9 || units > 9) {
            cur = Current();   // also drops time-filling headers (page FF)
            return;
        }
        int page = magazine << 8 | tens << 4 | units;
        if (page < 0x100)
            page += 0x800;
        const int s1 = dehamming[src[2]], s2 = dehamming[src[3]];
        const int s3 = dehamming[src[4]], s4 = dehamming[src[5]];
        if (s1 == 0xFF || s2 == 0xFF || s3 == 0xFF || s4 == 0xFF) {
            cur = Current();
            return;
        }
        // 3F7F is the "no sub-code" value many broadcasters send on single pages.
        const bool noSubCode = s1 == 0xF && (s2 & 7) == 7 && s3 == 0xF && (s4 & 3) == 3;
        if (!noSubCode && ((s4 & 3) != 0 || s3 != 0 || s1 > 9)) {
            cur = Current();
            return;
        }
        const int subpage = noSubCode ? 0 : (s2 & 7) << 4 | s1;
        cur.page = page;
        cur.subpage = subpage;
        subpagetable[page] = subpage;
        unsigned char*& slot = Slot(page, subpage);
        if (!slot) {
            slot = static_cast<unsigned char*>(malloc(TTX_PAGE_BYTES));
            if (slot)
                memset(slot, 0x20, TTX_PAGE_BYTES);
        }
        // Exactly eight characters: the page's own number in the header.
        char number[12];
        snprintf(number, sizeof number, " %.3X-%.2X ", page & 0xFFF, subpage & 0xFF);
        memcpy(data, number, 8);
        memcpy(txtime, data + 32, 8);
    } else {
        for (int i = 0; i < TTX_COLUMNS; ++i)
            data[i] = OddParity(src[i]);
    }
    if (cur.page == 0)
        return;
    if (unsigned char* buffer = Slot(cur.page, cur.subpage))
        memcpy(buffer + packet * TTX_COLUMNS, data, TTX_COLUMNS);
}

} // namespace

unsigned char* cachetable[TTX_PAGE_COUNT * TTX_SUBPAGE_COUNT];
int subpagetable[TTX_PAGE_COUNT];
char txtime[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
int show_page = 0x100;
int ns = 4;

const std::array<unsigned char, 256> lsb2msb = MakeReversal();
const std::array<unsigned char, 256> dehamming = MakeDehamming();

unsigned char OddParity(unsigned char byte)
{
    return __builtin_parity(byte) ? (byte & 0x7F) : 0x20;
}

bool IsTeletextPage(int page)
{
    return page >= TTX_FIRST_PAGE && page <= TTX_LAST_PAGE && (page & 0xF) <= 9 &&
           ((page >> 4) & 0xF) <= 9;
}

void ParseTeletextPayload(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return;
    std::lock_guard<std::mutex> g(storeLock);
    if (!collecting)
        return;
    size_t pos = (data[0] >= 0x10 && data[0] <= 0x1F) ? 1 : 0;
    // Units of EBU teletext data are 46 bytes; only whole ones are read.
    for (; size - pos >= 46; pos += 46) {
        const uint8_t* unit = data + pos;
        if ((unit[0] != 0x02 && unit[0] != 0x03) || unit[1] != 0x2C)
            continue;
        unsigned char line[42];
        for (int i = 0; i < 42; ++i)
            line[i] = lsb2msb[unit[4 + i]];
        FileLine(line);
    }
}

void OpenPageStore()
{
    std::lock_guard<std::mutex> g(storeLock);
    FreeAll();
    collecting = true;
}

void ClosePageStore()
{
    std::lock_guard<std::mutex> g(storeLock);
    collecting = false;
    FreeAll();
}

bool PageStoreOpen()
{
    std::lock_guard<std::mutex> g(storeLock);
    return collecting;
}

bool CopyPage(int page, int subpage, unsigned char out[TTX_PAGE_BYTES])
{
    if (page < 0 || page >= TTX_PAGE_COUNT || subpage < 0 || subpage >= TTX_SUBPAGE_COUNT)
        return false;
    std::lock_guard<std::mutex> g(storeLock);
    const unsigned char* p = Slot(page, subpage);
    if (!p)
        return false;
    memcpy(out, p, TTX_PAGE_BYTES);
    return true;
}

int CurrentSubPage(int page)
{
    if (page < 0 || page >= TTX_PAGE_COUNT)
        return 0;
    std::lock_guard<std::mutex> g(storeLock);
    return subpagetable[page];
}

void CopyClock(char out[8])
{
    std::lock_guard<std::mutex> g(storeLock);
    memcpy(out, txtime, 8);
}

static int StepPage(int p, bool next)
{
    if (next) {
        p++;
        if ((p & 0xF) > 9)
            p += 6;
        if ((p & 0xF0) > 0x90)
            p += 0x60;
        if (p > TTX_LAST_PAGE)
            p = TTX_FIRST_PAGE;
    } else {
        p--;
        if ((p & 0xF) > 9)
            p -= 6;
        if ((p & 0xF0) > 0x90)
            p -= 0x60;
        if (p < TTX_FIRST_PAGE)
            p = TTX_LAST_PAGE;
    }
    return p;
}

int FindPage(int page, int direction)
{
    if (!IsTeletextPage(page))
        page = TTX_FIRST_PAGE;
    const bool next = direction == 0;
    std::lock_guard<std::mutex> g(storeLock);
    int p = page;
    do {
        p = StepPage(p, next);
    } while (p != page && !Slot(p, subpagetable[p]));
    show_page = p;
    return p;
}

int FindSubPage(int subpage, int direction)
{
    if (subpage <= 0 || subpage > TTX_LAST_SUBPAGE || !IsTeletextPage(show_page))
        return 0;
    const bool next = direction == 2;
    std::lock_guard<std::mutex> g(storeLock);
    int s = subpage;
    do {
        if (next)
            s = s >= TTX_LAST_SUBPAGE ? 1 : s + 1;
        else
            s = s <= 1 ? TTX_LAST_SUBPAGE : s - 1;
    } while (s != subpage && !Slot(show_page, s));
    subpagetable[show_page] = s;
    return s;
}
