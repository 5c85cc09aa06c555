// Fuzz target: the timer manager's readers: "timerlist", the location and
// tag lists, and the answer of a timer command.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "epg/epgrules.h"
#include "epg/timerrules.h"
#include "webif/services.h"
#include "webif/webif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const wxString xml = DecodeReply(reinterpret_cast<const char*>(data), size);
    std::vector<TimerEntry> timers;
    bool wellFormed = false;
    ParseTimerList(xml, timers, wellFormed);
    for (const TimerEntry& t : timers) {
        TimerIcon(t.disabled, t.repeated, t.state);
        TimerStateWord(t.state, t.disabled);
        EPGDateText((time_t)t.begin);
        EPGTimeText((time_t)t.end);
        EPGDurationText((long)t.duration);
        for (int day = 0; day < 7; ++day)
            RepeatsOn(t.repeated, day);
        TimerChange c;
        c.sRef = c.oldSRef = t.sRef;
        c.name = t.name;
        c.description = t.description;
        c.dirname = t.location;
        c.tags = t.tags;
        c.begin = c.oldBegin = t.begin;
        c.end = c.oldEnd = t.end;
        TimerChangePath(c);
        TimerDeletePath(t.sRef, t.begin, t.end);
    }
    std::vector<wxString> texts;
    ParseTextList(xml, wxT("e2locations"), wxT("e2location"), texts);
    ReadCommandAnswer(xml);
    return 0;
}
