// Fuzz target: a guide reply ("e2eventlist") as the channel, bouquet and
// search dialogs read it, with the texts, order and progress made from it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "epg/epgitemdata.h"
#include "epg/epgrules.h"
#include "webif/current.h"
#include "webif/webif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<EventFields> events;
    ParseEventList(DecodeReply(reinterpret_cast<const char*>(data), size), events);
    std::vector<EPGSortKey> keys;
    std::vector<wxString> refs;
    for (size_t i = 0; i < events.size(); ++i) {
        const MyEPGListCtrlItemData row(events[i], (int)i);
        keys.push_back(row.sortKey());
        refs.push_back(row.getServiceReference());
        EPGDateText((time_t)row.sortKey().start);
        EPGDurationText((long)row.sortKey().duration);
        BouquetTimeText(events[i]);
        long long begin = 0, next = 0;
        const bool hasBegin = ParseSeconds(events[i].start, begin);
        const bool hasNext = ParseSeconds(events[i].duration, next);
        ComputeBouquetProgress(hasBegin, begin, hasNext, begin + next, begin);
        ReminderMessage(next - begin, row.getEventTitle(), 61);
    }
    MatchRowsByService(refs, events);
    EPGSortModes modes;
    for (int column = 1; column <= 4; ++column) {
        FlipSortMode(modes, column);
        std::sort(keys.begin(), keys.end(), [&](const EPGSortKey& a, const EPGSortKey& b) {
            return CompareEPGRows(a, b, column, modes) < 0;
        });
    }
    return 0;
}
