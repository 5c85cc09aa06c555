// The viewer's decisions that need no window: which cell a point hits, page
// numbers written in a page, typed page numbers and the header texts.
#pragma once

#include "teletext/pagestore.h"

// Cell of a point in the 400 x 288 picture; false outside it.
bool CellAt(int x, int y, int& column, int& row);

// The page a cell of `text` (24 x 40) refers to: a run of exactly three
// digits, the first 1..8, with no digit right before or after it in the
// row. 0 when the cell is not part of one.
int PageReferenceAt(const unsigned char text[TTX_PAGE_BYTES], int column, int row);

// What a typed digit did.
enum TtxDigit {
    TTX_DIGIT_IGNORED,    // 9 as first digit
    TTX_DIGIT_BACK,       // 0 as first digit: back to the previous page
    TTX_DIGIT_PENDING,    // stored; more digits to come
    TTX_DIGIT_COMPLETE,   // third digit: `page` holds the page typed
};
// Stores digit 0..9 at input[counter] and counts it; the third digit
// composes the page (the caller starts the next entry at counter 0).
TtxDigit TypeDigit(int digit, int input[3], int& counter, int& page);

// Columns 1..6 of the header while a page number is typed: the digits so
// far, "?" for the missing ones, "-" and "??".
void PageEntryText(const int input[3], int counter, char out[6]);

// The header row of a page not (yet) received: number, sub-page, dashes and
// the broadcast clock.
void MissingPageHeader(int page, int subpage, const char clock[8], char out[TTX_COLUMNS]);

// The page the viewer opens on: the initial page announced by the stream,
// or 100 when there is none or it is no page number.
int InitialPage(int announced);
