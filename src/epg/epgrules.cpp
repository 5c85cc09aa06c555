#include "epg/epgrules.h"

#include <wx/intl.h>

#include "webif/webif.h"

static long long clockOffset = 0;

time_t EPGNow()
{
    return time(nullptr) + (time_t)clockOffset;
}

void SetEPGClockOffset(long long seconds)
{
    clockOffset = seconds;
}

// ---- request paths ----

wxString EPGServicePath(const wxString& sRef)
{
    return wxT("epgservice?sRef=") + QueryValue(sRef);
}

wxString EPGBouquetNowNextPath(bool next, const wxString& bRef)
{
    return (next ? wxT("epgnext?bRef=") : wxT("epgnow?bRef=")) + QueryValue(bRef);
}

wxString EPGSearchPath(const wxString& term)
{
    return wxT("epgsearch?search=") + QueryValue(term);
}

wxString EPGBouquetAtPath(const wxString& bRef, const wxString& moment)
{
    return wxT("epgbouquet?bRef=") + QueryValue(bRef) + wxT("&time=") + QueryValue(moment);
}

wxString TimerAddByEventPath(const wxString& sRef, const wxString& eventId, bool zap,
                             const wxString& dirname, const wxString& tags)
{
    return wxT("timeraddbyeventid?sRef=") + QueryValue(sRef) + wxT("&eventid=") + QueryValue(eventId) +
           (zap ? wxT("&justplay=1") : wxT("&justplay=0")) + wxT("&dirname=") + QueryValue(dirname) +
           wxT("&tags=") + QueryValue(tags);
}

// ---- cell texts ----

static struct tm LocalTime(time_t t)
{
    struct tm lt = {};
    localtime_r(&t, &lt);
    return lt;
}

wxString EPGDateText(time_t t)
{
    const struct tm lt = LocalTime(t);
    return wxString::Format(wxT("%.2d.%.2d.%.4lld"), lt.tm_mday, lt.tm_mon + 1, lt.tm_year + 1900LL);
}

wxString EPGTimeText(time_t t)
{
    const struct tm lt = LocalTime(t);
    return wxString::Format(wxT("%.2d:%.2d"), lt.tm_hour, lt.tm_min);
}

wxString EPGDurationText(long seconds)
{
    return wxString::Format(wxT("%ld min"), seconds / 60);
}

wxString InformationOrMissing(const wxString& text)
{
    return text.empty() ? wxString(_(wxT("keine Information vorhanden"))) : text;
}

wxString StripDVBLineBreaks(const wxString& text)
{
    wxString out;
    out.reserve(text.length());
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it)
        if (*it != wxUniChar(0x8A))
            out += *it;
    return out;
}

bool ParseSeconds(const wxString& text, long long& value)
{
    wxLongLong_t v;
    // Beyond some ten thousand years a time is garbage, and sums of two would overflow.
    if (text.empty() || !text.ToLongLong(&v) || v > kMaxSeconds || v < -kMaxSeconds)
        return false;
    value = v;
    return true;
}

// ---- event-list order ----

void FlipSortMode(EPGSortModes& modes, int column)
{
    switch (column) {
    case 1: modes.mode1 = -modes.mode1; break;
    case 2: modes.mode2 ^= 1; break;
    case 3: modes.mode3 = -modes.mode3; break;
    case 4: modes.mode4 ^= 1; break;
    }
}

template <class T>
static int Sign(T a, T b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int CompareEPGRows(const EPGSortKey& a, const EPGSortKey& b, int column, const EPGSortModes& modes)
{
    int c = 0;
    switch (column) {
    case 1:
        // mode 1: an earlier start goes after a later one
        c = -Sign(a.start, b.start) * modes.mode1;
        break;
    case 2: {
        const int t = EPGTimeText((time_t)a.start).CmpNoCase(EPGTimeText((time_t)b.start));
        c = modes.mode2 ? t : -t;
        break;
    }
    case 3:
        // mode -1: a shorter event goes first
        c = -Sign(a.duration, b.duration) * modes.mode3;
        break;
    case 4: {
        const int t = a.title.CmpNoCase(b.title);
        c = modes.mode4 ? t : -t;
        break;
    }
    default:
        break;
    }
    if (c != 0)
        return c < 0 ? -1 : 1;
    // Equal keys keep the receiver's order: a comparator that never says
    // "equal" or answers inconsistently breaks the list control's sort.
    return Sign(a.order, b.order);
}

// ---- reminders ----

int ReminderMode(const wxString& sRef)
{
    return sRef.StartsWith(wxT("1:0:1")) ? 1 : 2;
}

wxString ReminderMessage(long long d, const wxString& title, long long secondsBelow)
{
    if (d < secondsBelow)
        return wxString::Format(
            _(wxT("In %d Sekunden wird die gewählte Sendung\n\n\"%s\"\n\nam Computer wiedergegeben.")),
            (int)d, title);
    return wxString::Format(
        _(wxT("In %d Minuten wird die gewählte Sendung\n\n\"%s\"\n\nam Computer wiedergegeben.")),
        (int)(d / 60), title);
}

long ReminderInterval(long long remainingMs)
{
    if (remainingMs < 1)
        return 1;
    return (long)(remainingMs < kReminderStepMs ? remainingMs : kReminderStepMs);
}

// ---- bouquet guide ----

std::vector<int> MatchRowsByService(const std::vector<wxString>& rowRefs,
                                    const std::vector<EventFields>& events)
{
    std::vector<int> rows(events.size(), -1);
    std::vector<bool> taken(rowRefs.size(), false);
    for (size_t e = 0; e < events.size(); ++e) {
        // A service listed twice in a bouquet gets its events in turn.
        for (size_t r = 0; r < rowRefs.size(); ++r)
            if (!taken[r] && rowRefs[r] == events[e].sRef) {
                rows[e] = (int)r;
                taken[r] = true;
                break;
            }
    }
    return rows;
}

BouquetProgress ComputeBouquetProgress(bool hasBegin, long long begin, bool hasNext, long long next,
                                       long long now)
{
    BouquetProgress p;
    if (!hasNext) {
        p.duration = wxT("?");
        return p;
    }
    const long long left = next - now;
    p.duration = wxString::Format(wxT("+ %d min"), left > 0 ? (int)(left / 60 + 1) : 0);
    if (!hasBegin || next <= begin)
        return p;
    p.range = (long)((next - begin) / 60);
    if (p.range < 1)
        p.range = 1;
    long long value = p.range - left / 60;
    if (value < 0)
        value = 0;
    if (value > p.range)
        value = p.range;
    p.value = (long)value;
    return p;
}

wxString BouquetTimeText(const EventFields& ev)
{
    long long start;
    if (!ParseSeconds(ev.start, start))
        return wxT("??:??");
    return EPGTimeText((time_t)start);
}

wxString BouquetTitleText(const EventFields& ev)
{
    return ev.title.empty() ? wxString(_(wxT("unbekannte Sendung"))) : ev.title;
}

// ---- time search ----

wxString TimeSearchText(time_t moment, const wxString& bRef)
{
    const struct tm lt = LocalTime(moment);
    return wxString::Format(wxT("%.2d.%.2d.%.4lld - %.2d:%.2d;%s;%lld"), lt.tm_mday, lt.tm_mon + 1,
                            lt.tm_year + 1900LL, lt.tm_hour, lt.tm_min, bRef, (long long)moment);
}

bool SplitTimeSearchText(const wxString& text, wxString& shown, wxString& bRef, wxString& moment)
{
    const int first = text.Find(';');
    const int last = text.Find(';', true);
    if (first == wxNOT_FOUND || last == first)
        return false;
    shown = text.Left(first);
    bRef = text.Mid(first + 1, last - first - 1);
    moment = text.Mid(last + 1);
    return true;
}

time_t LocalMoment(int year, int month, int day, int hour, int minute)
{
    struct tm lt = {};
    lt.tm_year = year - 1900;
    lt.tm_mon = month - 1;
    lt.tm_mday = day;
    lt.tm_hour = hour;
    lt.tm_min = minute;
    lt.tm_isdst = -1;
    return mktime(&lt);
}
