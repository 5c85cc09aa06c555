// Reading what the receiver does now: standby, current service, now/next
// events, audio tracks, sub-services and similar events, and turning them
// into the texts and numbers the main window shows.
#pragma once

#include <ctime>
#include <vector>
#include <wx/string.h>

// Standby flag of a "powerstate" reply; false when it is not one.
bool ParseStandbyState(const wxString& xml);
// "serviceplayable": true only when the reply says the service cannot be
// played now (no free tuner); anything else lets the switch go on.
bool ServiceNotPlayable(const wxString& xml);

// "getcurrent": reference and name of the "e2service" element; false when
// the reply is not an "e2currentserviceinformation" document.
bool ParseCurrentService(const wxString& xml, wxString& ref, wxString& name);
// The current reference after a reply: "::" drops the last field, "N/A"
// keeps the previous one.
wxString CurrentRefFromReply(const wxString& replyRef, const wxString& previous);
// Mode from a reference prefix (3 recording, 1 TV, 2 radio), else previous.
int ModeFromRef(const wxString& ref, int previous);

// Raw fields of an event; "None" and empty texts are stored as empty.
struct EventFields {
    wxString id, start, duration, title, description, descriptionExt, sRef, serviceName;
};
// "e2eventlist": with several events the last value of each field wins.
// False when the reply is not such a document.
bool ParseEventFields(const wxString& xml, EventFields& ev);
// Every event of an "e2eventlist", in document order.
bool ParseEventList(const wxString& xml, std::vector<EventFields>& events);

// What the programme-information box shows for one event.
struct NowNextTexts {
    wxString start;     // "hh:mm" or "00:00"
    wxString title;     // with "&" doubled for labels, or the no-description text
    wxString time;      // duration ("%ld min"), remaining ("+%d min") or "000 min"
    wxString combined;  // title (time), "&&" turned into "+"
    int gaugeRange = 0; // now only: whole minutes of the event
    int gaugeValue = 0; // now only: elapsed minutes, within 0..gaugeRange
};
NowNextTexts NextEventTexts(const EventFields& ev);
// now: the present moment (injectable so tests use a fixed clock).
NowNextTexts NowEventTexts(const EventFields& ev, time_t now);

struct AudioTrack {
    wxString description, id, pid, active;
};
// "e2audiotracklist". wellFormed tells whether the reply parsed as XML at
// all (the caller asks again otherwise); the result whether the root fit.
bool ParseAudioTracks(const wxString& xml, std::vector<AudioTrack>& tracks, bool& wellFormed);
// Index of the first track whose PID text equals pid, or -1.
int FindTrackByPid(const std::vector<AudioTrack>& tracks, const wxString& pid);

struct SubService {
    wxString ref, name;  // name without the DVB emphasis characters
};
// "streamsubservices" ("e2servicelist"); false when the root is different,
// wellFormed false when the reply is not XML at all.
bool ParseSubServices(const wxString& xml, std::vector<SubService>& subs, bool& wellFormed);
// Removes U+0086 and U+0087 (DVB emphasis on/off); every service and event
// name read from a reply goes through it before anything shows it.
wxString StripEmphasis(const wxString& text);

// "\n%.2d.%.2d.%.4d - %.2d:%.2d - <service>" for each event, local time.
wxString FormatSimilarEvents(const wxString& xml);

// The time between two unparsable "getaudiotracks" replies; tests shorten it.
int AudioTrackRetryDelay();
void SetAudioTrackRetryDelay(int milliseconds);
