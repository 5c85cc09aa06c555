// The receiver's timer list as plain values, and the rules of the timer
// manager: icons, state words, repeat bits, which timers a clean-up removes,
// the command paths and the reading of a command's answer.
#pragma once

#include <vector>
#include <wx/string.h>

// One "e2timer" of a "timerlist" reply; every timer starts from empty values.
struct TimerEntry {
    wxString sRef, serviceName, name, description, location, tags;
    long long begin = 0, end = 0, duration = 0;
    long eit = 0, justplay = 0, afterevent = 0, state = 0, repeated = 0;
    bool disabled = false;
};
// False when the reply is not an "e2timerlist" (wellFormed tells whether it
// parsed as XML at all).
bool ParseTimerList(const wxString& xml, std::vector<TimerEntry>& timers, bool& wellFormed);

enum { TIMER_WAITING = 0, TIMER_PREPARING = 1, TIMER_RUNNING = 2, TIMER_DONE = 3 };

// Index of IMG_TIMER_0..5 for a row; -1 (no icon) for a state without one.
int TimerIcon(bool disabled, long repeated, long state);
// "wartend", "vorbereiten", "aktiv", "erledigt", "deaktiviert"; states
// without a word show "unbekannt".
wxString TimerStateWord(long state, bool disabled);

// Repeat mask of the seven day boxes, Monday first.
long RepeatMask(const bool days[7]);
bool RepeatsOn(long mask, int day);   // day 0 Monday .. 6 Sunday

// "Säubern" removes finished timers, "Leeren" every timer that is not running.
bool CleanRemoves(long state);
bool EmptyRemoves(long state);

// A choice index that holds a value, or the stored value when the choice
// has no selection (or one beyond the known values).
long ChoiceOrStored(int selection, int count, long stored);

// What "Ändern" and "(De)Aktivieren" send.
struct TimerChange {
    wxString sRef, name, description, dirname, tags;
    long long begin = 0, end = 0;
    long eit = 0, justplay = 0, afterevent = 0, repeated = 0;
    bool disabled = false;
    bool withLocation = true;   // "(De)Aktivieren" leaves location and tags alone
    wxString oldSRef;
    long long oldBegin = 0, oldEnd = 0;
};
wxString TimerChangePath(const TimerChange& c);
wxString TimerDeletePath(const wxString& sRef, long long begin, long long end);

// A command's answer: success is "<e2state>True</e2state>"; text is the
// receiver's "e2statetext" (empty when the reply has none).
struct CommandAnswer {
    bool ok = false;
    bool refused = false;   // the receiver answered "<e2state>False</e2state>"
    wxString text;
};
CommandAnswer ReadCommandAnswer(const wxString& reply);
