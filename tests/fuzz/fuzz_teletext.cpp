// Fuzz target: the teletext PES parser and the page stepping that reads
// what it filed.
#include <cstddef>
#include <cstdint>

#include "teletext/pagestore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool opened = (OpenPageStore(), true);
    (void)opened;
    ParseTeletextPayload(data, size);
    const int page = FindPage(0x899, 0);
    FindSubPage(CurrentSubPage(page), 2);
    unsigned char copy[TTX_PAGE_BYTES];
    CopyPage(page, CurrentSubPage(page), copy);
    // Now and then start over, as the viewer does when it is reopened.
    if (size > 0 && data[0] == 0x1F) {
        ClosePageStore();
        OpenPageStore();
    }
    return 0;
}
