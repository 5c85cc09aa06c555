// The decisions of the guide dialogs: event order, reminders, the bouquet
// guide's matching and progress, request paths and the time-search text.
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

#include "epg/epgitemdata.h"
#include "epg/epgrules.h"
#include "stream/streamrules.h"

namespace {

class EPGRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
};

// 2026-12-07 20:15 in Berlin (UTC+1)
const long long kEvening = 1796670900;

EPGSortKey Key(long long start, long long duration, const char* title, int order)
{
    EPGSortKey k;
    k.start = start;
    k.duration = duration;
    k.title = wxString::FromUTF8(title);
    k.order = order;
    return k;
}

// Orders of the rows after one sort by column with the given modes.
std::vector<int> Sorted(std::vector<EPGSortKey> rows, int column, const EPGSortModes& modes)
{
    std::sort(rows.begin(), rows.end(), [&](const EPGSortKey& a, const EPGSortKey& b) {
        return CompareEPGRows(a, b, column, modes) < 0;
    });
    std::vector<int> order;
    for (const auto& r : rows)
        order.push_back(r.order);
    return order;
}

} // namespace

TEST_F(EPGRules, FirstClicksSortLatestDateShortestEarliestAndAlphabeticalFirst)
{
    // receiver order: 0 evening, 1 morning next day, 2 night before
    const std::vector<EPGSortKey> rows = {
        Key(kEvening, 5400, "Tatort", 0),
        Key(kEvening + 12 * 3600, 1800, "abendschau", 1),
        Key(kEvening - 20 * 3600, 2700, "Zeitgeschehen", 2),
    };
    EPGSortModes modes;
    FlipSortMode(modes, 1);
    EXPECT_EQ(modes.mode1, 1);
    EXPECT_EQ(Sorted(rows, 1, modes), (std::vector<int>{1, 0, 2}));   // latest first
    FlipSortMode(modes, 1);
    EXPECT_EQ(Sorted(rows, 1, modes), (std::vector<int>{2, 0, 1}));   // earliest first

    FlipSortMode(modes, 2);   // time of day: 00:15 (row 2), 08:15 (row 1), 20:15 (row 0)
    EXPECT_EQ(Sorted(rows, 2, modes), (std::vector<int>{2, 1, 0}));
    FlipSortMode(modes, 2);
    EXPECT_EQ(Sorted(rows, 2, modes), (std::vector<int>{0, 1, 2}));

    FlipSortMode(modes, 3);
    EXPECT_EQ(Sorted(rows, 3, modes), (std::vector<int>{1, 2, 0}));   // shortest first
    FlipSortMode(modes, 3);
    EXPECT_EQ(Sorted(rows, 3, modes), (std::vector<int>{0, 2, 1}));

    FlipSortMode(modes, 4);   // case-insensitive
    EXPECT_EQ(Sorted(rows, 4, modes), (std::vector<int>{1, 0, 2}));
    FlipSortMode(modes, 4);
    EXPECT_EQ(Sorted(rows, 4, modes), (std::vector<int>{2, 0, 1}));

    FlipSortMode(modes, 0);   // the empty first column sorts nothing
    EXPECT_EQ(modes.mode1, -1);
}

TEST_F(EPGRules, EqualKeysKeepTheReceiversOrderInEveryDirection)
{
    // 60 rows with equal keys: the comparator must be a strict order (the
    // list control's sort and std::sort break on one that never says equal)
    std::vector<EPGSortKey> rows;
    std::vector<int> receiver;
    for (int i = 59; i >= 0; --i)
        rows.push_back(Key(kEvening, 1800, "Nachrichten", i));
    for (int i = 0; i < 60; ++i)
        receiver.push_back(i);
    for (int column = 1; column <= 4; ++column) {
        EPGSortModes modes;
        for (int click = 0; click < 2; ++click) {
            FlipSortMode(modes, column);
            EXPECT_EQ(Sorted(rows, column, modes), receiver) << "column " << column;
        }
        EXPECT_EQ(CompareEPGRows(rows[0], rows[0], column, modes), 0);
    }
}

TEST_F(EPGRules, RemindersCountSecondsOrMinutesAndWaitInSteps)
{
    const wxString title = wxT("Tatort");
    EXPECT_EQ(ReminderMessage(60, title, 61),
              wxT("In 60 Sekunden wird die gewählte Sendung\n\n\"Tatort\"\n\nam Computer wiedergegeben."));
    EXPECT_EQ(ReminderMessage(61, title, 61),
              wxT("In 1 Minuten wird die gewählte Sendung\n\n\"Tatort\"\n\nam Computer wiedergegeben."));
    // the bouquet guide counts 60 seconds as a minute already
    EXPECT_TRUE(ReminderMessage(60, title, 60).StartsWith(wxT("In 1 Minuten")));
    EXPECT_TRUE(ReminderMessage(59, title, 60).StartsWith(wxT("In 59 Sekunden")));
    // 25 days do not fit a 32-bit millisecond count: the wait is cut, never wrapped
    EXPECT_EQ(ReminderInterval(5000), 5000);
    EXPECT_EQ(ReminderInterval(-20), 1);
    EXPECT_EQ(ReminderInterval(25LL * 86400 * 1000), kReminderStepMs);
    EXPECT_EQ(ReminderMode(wxT("1:0:19:2800:401:1:C00000:0:0:0:")), 1);
    EXPECT_EQ(ReminderMode(wxT("1:0:2:3400:3F9:1:C00000:0:0:0:")), 2);
}

TEST_F(EPGRules, NextEventsFindTheirServiceWhateverTheirPosition)
{
    const std::vector<wxString> rows = { wxT("A"), wxT("B"), wxT("C"), wxT("B") };
    std::vector<EventFields> next(5);
    next[0].sRef = wxT("B");
    next[1].sRef = wxT("X");   // not in the first reply
    next[2].sRef = wxT("C");
    next[3].sRef = wxT("A");
    next[4].sRef = wxT("B");   // a service listed twice takes its rows in turn
    EXPECT_EQ(MatchRowsByService(rows, next), (std::vector<int>{1, -1, 2, 0, 3}));
    // a service without a following event
    EXPECT_EQ(BouquetTimeText(next[0]), wxT("??:??"));
    EXPECT_EQ(BouquetTitleText(next[0]), wxT("unbekannte Sendung"));
}

TEST_F(EPGRules, BouquetProgressIsDatedAcrossMidnightAndClamped)
{
    // 23:30 to 00:30, now 00:10: 40 of 60 minutes, 21 minutes to go
    const long long begin = LocalMoment(2026, 12, 7, 23, 30);
    const long long next = begin + 3600;
    BouquetProgress p = ComputeBouquetProgress(true, begin, true, next, begin + 40 * 60);
    EXPECT_EQ(p.range, 60);
    EXPECT_EQ(p.value, 40);
    EXPECT_EQ(p.duration, wxT("+ 21 min"));
    // 30 seconds before the next event: one minute; at and after its start: none
    p = ComputeBouquetProgress(true, begin, true, next, next - 30);
    EXPECT_EQ(p.duration, wxT("+ 1 min"));
    EXPECT_EQ(p.value, 60);
    p = ComputeBouquetProgress(true, begin, true, next, next + 600);
    EXPECT_EQ(p.duration, wxT("+ 0 min"));
    EXPECT_EQ(p.value, p.range);
    // a clock behind the running event's start gives an empty gauge, not a negative one
    p = ComputeBouquetProgress(true, begin, true, next, begin - 3600);
    EXPECT_EQ(p.value, 0);
    // without a following event
    p = ComputeBouquetProgress(true, begin, false, 0, begin);
    EXPECT_EQ(p.duration, wxT("?"));
    EXPECT_EQ(p.value, 0);
    EXPECT_GE(p.range, 1);
    // a following event before the running one (a broken guide)
    p = ComputeBouquetProgress(true, next, true, begin, begin);
    EXPECT_GE(p.range, 1);
    EXPECT_LE(p.value, p.range);
}

TEST_F(EPGRules, RequestValuesAreEncodedOnceAndTimeSearchTextsSplit)
{
    // a literal "%3a" in a reference arrives as written
    EXPECT_TRUE(EPGServicePath(wxT("1:0:1:0:0:0:0:0:0:0:http%3a//x")).Contains(wxT("http%253a%2F%2Fx")));
    // a bouquet reference goes out with each blank as one "%20", never "%2520"
    const wxString raw = wxT("1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.news.tv\" ORDER BY bouquet");
    const wxString next = EPGBouquetNowNextPath(true, raw);
    EXPECT_TRUE(next.Contains(wxT("FROM%20BOUQUET%20%22userbouquet.news.tv%22%20ORDER")));
    EXPECT_FALSE(next.Contains(wxT("%25")));
    // the search term as UTF-8, whatever the locale
    EXPECT_EQ(EPGSearchPath(wxT("Über & Spaß")), wxT("epgsearch?search=%C3%9Cber%20%26%20Spa%C3%9F"));
    EXPECT_EQ(TimerAddByEventPath(wxT("1:0:1:2811:401:1:C00000:0:0:0:"), wxT("4711"), true,
                                  wxT("/hdd/movie/"), wxT("Krimi & Serie")),
              wxT("timeraddbyeventid?sRef=1%3A0%3A1%3A2811%3A401%3A1%3AC00000%3A0%3A0%3A0%3A&eventid=4711"
                  "&justplay=1&dirname=%2Fhdd%2Fmovie%2F&tags=Krimi%20%26%20Serie"));

    const time_t moment = LocalMoment(2026, 12, 7, 20, 15);
    EXPECT_EQ((long long)moment, kEvening);
    wxString shown, ref, at;
    ASSERT_TRUE(SplitTimeSearchText(TimeSearchText(moment, raw), shown, ref, at));
    EXPECT_EQ(shown, wxT("07.12.2026 - 20:15"));
    EXPECT_EQ(ref, raw);
    EXPECT_EQ(at, wxT("1796670900"));
    EXPECT_FALSE(SplitTimeSearchText(wxT("a;b"), shown, ref, at));
}

TEST_F(EPGRules, EventRowsTakeNoValueFromTheEventBefore)
{
    const char* xml = (
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2eventlist>\n"
        "<e2event><e2eventid>11</e2eventid><e2eventstart>1796670900</e2eventstart>"
        "<e2eventduration>5400</e2eventduration><e2eventtitle>Tatort</e2eventtitle>"
        "<e2eventdescription>Krimi</e2eventdescription>"
        "<e2eventdescriptionextended>Zeile 1\xc2\x8aZeile 2</e2eventdescriptionextended>"
        "<e2eventservicereference>1:0:1:2811:401:1:C00000:0:0:0:</e2eventservicereference>"
        "<e2eventservicename>Kulturkanal</e2eventservicename></e2event>\n"
        "<e2event><e2eventstart>1796676300</e2eventstart><e2eventduration>1800</e2eventduration>"
        "<e2eventtitle>Nachtcafé</e2eventtitle><e2eventdescription>None</e2eventdescription>"
        "<e2eventdescriptionextended>None</e2eventdescriptionextended>"
        "<e2eventservicename>Kulturkanal</e2eventservicename></e2event>\n"
        "</e2eventlist>\n");
    std::vector<EventFields> events;
    ASSERT_TRUE(ParseEventList(wxString::FromUTF8(xml), events));
    ASSERT_EQ(events.size(), 2u);
    const MyEPGListCtrlItemData first(events[0], 0), second(events[1], 1);
    EXPECT_EQ(first.getEventDescriptionExtended(), wxT("Zeile 1Zeile 2"));
    // the second event has no id and no reference: a timer must not get the first one's
    EXPECT_EQ(second.getEventId(), wxString());
    EXPECT_EQ(second.getServiceReference(), wxString());
    EXPECT_EQ(second.getEventDescription(), wxT("keine Information vorhanden"));
    EXPECT_EQ(second.getEventDescriptionExtended(), wxT("keine Information vorhanden"));
    EXPECT_EQ(second.sortKey().order, 1);
    EXPECT_EQ(second.sortKey().start, 1796676300);
}

TEST_F(EPGRules, PiconsFitTheSlotOfTheDefaultPicture)
{
    const int sizes[][4] = { { 220, 132, 70, 42 }, { 100, 60, 70, 42 }, { 50, 100, 27, 53 },
                             { 70, 53, 70, 53 }, { 30, 20, 30, 20 }, { 4000, 1, 70, 1 } };
    for (const auto& s : sizes) {
        int w = s[0], h = s[1];
        FitPicon(w, h);
        EXPECT_EQ(w, s[2]) << s[0] << "x" << s[1];
        EXPECT_EQ(h, s[3]) << s[0] << "x" << s[1];
    }
}
