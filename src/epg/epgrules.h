// Decisions of the programme-guide dialogs as plain functions: request
// paths, cell texts, the event-list order, reminders, the bouquet guide's
// matching and progress, and the time-search request text.
#pragma once

#include <ctime>
#include <vector>
#include <wx/string.h>

#include "webif/current.h"

// ---- clock ----
// The moment the guide dialogs compare event times with: the local clock,
// shifted by an offset that tests set to the simulated receiver's clock.
time_t EPGNow();
void SetEPGClockOffset(long long seconds);

// ---- request paths (every value percent-encoded once, from the raw value) ----
// A bouquet's reference comes from its payload's getRawSRef() (the tree's
// form carries its blanks as "%20").
wxString EPGServicePath(const wxString& sRef);
wxString EPGBouquetNowNextPath(bool next, const wxString& bRef);
wxString EPGSearchPath(const wxString& term);
wxString EPGBouquetAtPath(const wxString& bRef, const wxString& moment);
wxString TimerAddByEventPath(const wxString& sRef, const wxString& eventId, bool zap,
                             const wxString& dirname, const wxString& tags);

// ---- cell texts ----
wxString EPGDateText(time_t t);                 // "%.2d.%.2d.%.4d", local
wxString EPGTimeText(time_t t);                 // "%.2d:%.2d", local
wxString EPGDurationText(long seconds);         // "%ld min", whole minutes
// "keine Information vorhanden" for an empty text ("None" arrives empty).
wxString InformationOrMissing(const wxString& text);
// Removes U+008A, the line-break code of DVB texts.
wxString StripDVBLineBreaks(const wxString& text);
// A decimal text as a number; false when it is empty, not a number or
// beyond kMaxSeconds either way.
constexpr long long kMaxSeconds = 1LL << 40;
bool ParseSeconds(const wxString& text, long long& value);

// ---- event-list order ----
// Sort directions of the channel guide's columns 1..4 (the dialog keeps
// them for the life of the process).
struct EPGSortModes {
    int mode1 = -1;   // column 1 "Datum": 1 latest first, -1 earliest first
    int mode2 = 0;    // column 2 "Beginn": 1 earlier time of day first, 0 reversed
    int mode3 = 1;    // column 3 "Dauer": -1 shortest first, 1 longest first
    int mode4 = 0;    // column 4 "Titel": 1 alphabetical, 0 reversed
};
// A click on a column heading flips that column's direction.
void FlipSortMode(EPGSortModes& modes, int column);

// What the comparator looks at in one row.
struct EPGSortKey {
    long long start = 0;
    long long duration = 0;
    wxString title;
    int order = 0;      // position in the receiver's reply
};
// Negative when a goes before b. Equal keys are ordered by the receiver's
// order, so the result is a strict order (0 only for the same row).
int CompareEPGRows(const EPGSortKey& a, const EPGSortKey& b, int column, const EPGSortModes& modes);

// ---- reminders ----
// Mode of a reminder's channel payload: 1 for a TV reference, else 2.
int ReminderMode(const wxString& sRef);
// The message after setting a reminder d seconds ahead (d >= 0): seconds
// while d < secondsBelow, else whole minutes. The channel guide and the
// search results use 61, the bouquet guide 60.
wxString ReminderMessage(long long d, const wxString& title, long long secondsBelow);
// Longest single wait of the zap timer; longer reminders re-arm in steps.
constexpr long long kReminderStepMs = 6LL * 3600 * 1000;
// Milliseconds for the next arming of the zap timer (at least 1).
long ReminderInterval(long long remainingMs);

// ---- bouquet guide ----
// For each next event, the row whose service reference it belongs to (-1 none).
std::vector<int> MatchRowsByService(const std::vector<wxString>& rowRefs,
                                    const std::vector<EventFields>& events);
// Progress of the selected row: running event from begin, next event at next.
struct BouquetProgress {
    long range = 1;
    long value = 0;
    wxString duration;   // "+ %d min" or "?"
};
BouquetProgress ComputeBouquetProgress(bool hasBegin, long long begin, bool hasNext,
                                       long long next, long long now);
// "??:??" for an event without start.
wxString BouquetTimeText(const EventFields& ev);
// Title or "unbekannte Sendung".
wxString BouquetTitleText(const EventFields& ev);

// ---- time search ----
// "%.2d.%.2d.%.4d - %.2d:%.2d;<bouquet>;<moment>" for the result dialog.
wxString TimeSearchText(time_t moment, const wxString& bRef);
// Splits it: shown text before the first ";", moment after the last,
// bouquet reference in between. False when it has fewer than two ";".
bool SplitTimeSearchText(const wxString& text, wxString& shown, wxString& bRef, wxString& moment);
// Local moment of a date and an hour/minute choice.
time_t LocalMoment(int year, int month, int day, int hour, int minute);
