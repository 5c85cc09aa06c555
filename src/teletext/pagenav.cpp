#include "teletext/pagenav.h"

#include <cstdio>
#include <cstring>

#include "teletext/pagerender.h"

bool CellAt(int x, int y, int& column, int& row)
{
    if (x < 0 || y < 0 || x >= TTX_PICTURE_W || y >= TTX_PICTURE_H)
        return false;
    column = x / TTX_CELL_W;
    row = y / TTX_CELL_H;
    return true;
}

static bool IsDigit(const unsigned char* line, int column)
{
    return column >= 0 && column < TTX_COLUMNS && line[column] >= '0' && line[column] <= '9';
}

int PageReferenceAt(const unsigned char text[TTX_PAGE_BYTES], int column, int row)
{
    if (row < 0 || row >= TTX_ROWS || column < 0 || column >= TTX_COLUMNS)
        return 0;
    const unsigned char* line = text + row * TTX_COLUMNS;
    if (!IsDigit(line, column))
        return 0;
    int first = column, last = column;
    while (IsDigit(line, first - 1))
        first--;
    while (IsDigit(line, last + 1))
        last++;
    if (last - first != 2 || line[first] < '1' || line[first] > '8')
        return 0;
    return (line[first] - '0') << 8 | (line[first + 1] - '0') << 4 | (line[first + 2] - '0');
}

TtxDigit TypeDigit(int digit, int input[3], int& counter, int& page)
{
    if (digit < 0 || digit > 9 || counter < 0 || counter > 2)
        return TTX_DIGIT_IGNORED;
    if (counter == 0 && digit == 9)
        return TTX_DIGIT_IGNORED;
    if (counter == 0 && digit == 0)
        return TTX_DIGIT_BACK;
    input[counter++] = digit;
    if (counter < 3)
        return TTX_DIGIT_PENDING;
    page = input[0] << 8 | input[1] << 4 | input[2];
    return TTX_DIGIT_COMPLETE;
}

void PageEntryText(const int input[3], int counter, char out[6])
{
    for (int i = 0; i < 3; ++i)
        out[i] = i < counter ? char('0' + input[i] % 10) : '?';
    out[3] = '-';
    out[4] = out[5] = '?';
}

void MissingPageHeader(int page, int subpage, const char clock[8], char out[TTX_COLUMNS])
{
    char text[64];
    snprintf(text, sizeof text, " %.3X-%.2X -----------------------", page & 0xFFF,
             subpage & 0xFF);
    memcpy(out, text, 32);
    out[31] = ' ';
    memcpy(out + 32, clock, 8);
}

int InitialPage(int announced)
{
    return IsTeletextPage(announced) ? announced : TTX_FIRST_PAGE;
}
