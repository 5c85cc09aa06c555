// The teletext pages of the stream that plays, collected on a streaming
// thread while the viewer is open and read by the viewer on the GUI thread.
//
// Page numbers are three hexadecimal nibbles as broadcast (page 100 is
// 0x100, magazine 0 is stored as 8); sub-pages are 0x00..0x79. A stored page
// is 24 rows of 40 bytes: 7-bit characters or spacing attributes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum {
    TTX_COLUMNS = 40,
    TTX_ROWS = 24,
    TTX_PAGE_BYTES = TTX_COLUMNS * TTX_ROWS,   // 960
    TTX_PAGE_COUNT = 0x900,
    TTX_SUBPAGE_COUNT = 128,
    TTX_FIRST_PAGE = 0x100,
    TTX_LAST_PAGE = 0x899,
    TTX_LAST_SUBPAGE = 0x79,
};

// The store. The functions below guard it with one lock: the parser holds
// it for a whole buffer, the viewer while it copies a page out or frees the
// store, so a page is never freed under a row being filed.
extern unsigned char* cachetable[TTX_PAGE_COUNT * TTX_SUBPAGE_COUNT];
extern int subpagetable[TTX_PAGE_COUNT];
extern char txtime[8];          // columns 32..39 of the latest accepted header

// Viewer state shared with the key and button handlers (GUI thread only).
extern int show_page;           // page the viewer shows
extern int ns;                  // national subset used for drawing

// Bit reversal of a byte, and Hamming 8/4 decoding (0xFF: not correctable).
extern const std::array<unsigned char, 256> lsb2msb;
extern const std::array<unsigned char, 256> dehamming;
// A byte with odd parity keeps its low seven bits; any other becomes a space.
unsigned char OddParity(unsigned char byte);

// True for 0x100..0x899 with decimal tens and units.
bool IsTeletextPage(int page);

// Files the data units of one PES data field into the store (collector
// thread). Does nothing while the store is closed.
void ParseTeletextPayload(const uint8_t* data, size_t size);

// Empties the store and lets the parser file pages into it.
void OpenPageStore();
// Stops filing and frees every page; no parser touches a page after it.
void ClosePageStore();
bool PageStoreOpen();

// Copies the page into `out`; false when the store holds no such page.
bool CopyPage(int page, int subpage, unsigned char out[TTX_PAGE_BYTES]);
// The sub-page of the page's latest header (0 for none).
int CurrentSubPage(int page);
void CopyClock(char out[8]);

// Steps from `page` to the next (direction 0) or previous (any other) page
// present in the store, wrapping between 899 and 100; stays on `page` when
// there is no other. Sets show_page to the result.
int FindPage(int page, int direction);
// Steps through the sub-pages of show_page: next with direction 2, previous
// otherwise. Sub-page 0 (a page without sub-pages) stays 0.
int FindSubPage(int subpage, int direction);
