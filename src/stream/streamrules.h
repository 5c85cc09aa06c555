// Decisions of the streaming engine as plain functions: what a demultiplexer
// pad carries, what a PMT announces, which audio track to prefer, where a
// service streams from. No GStreamer objects and no windows in here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>
#include <wx/string.h>

// Stream kinds, also the low word of the wxEVT_GST codes 0 and 1.
enum StreamKind {
    KIND_UNKNOWN = 0,
    KIND_MPEG2_VIDEO = 1,
    KIND_H264_VIDEO = 2,
    KIND_MPEG_AUDIO = 3,
    KIND_AC3_AUDIO = 4,
    KIND_TELETEXT = 5,
    KIND_DVB_SUBTITLE = 6,
};

// "video_0_0200" -> 0x200: the hexadecimal number after the last "_";
// -1 when there is none.
int PidFromPadName(const char* name);

// Kind of a demultiplexer pad from its caps text (first match wins).
StreamKind KindFromCaps(const char* caps);
// Log tag of a kind: "MPGV", "H264", "MPGA", "AC-3", "TTXT", "SUBT".
const char* KindTag(StreamKind kind);

// Teletext national option from an ISO 639-2 language code.
int NationalOptionFromLanguage(const char* lang);

// One elementary stream of a PMT: stream type, PID and its descriptors, each
// including tag and length bytes.
struct PmtStream {
    int type = 0;
    int pid = 0;
    std::vector<std::vector<uint8_t>> descriptors;
};

struct SubtitleDescriptor {
    int pid = 0;
    int type = 0;
    char language[4] = {};
};

// What the engine takes from a PMT.
struct PmtSummary {
    int playable = 0;            // streams the engine plays
    bool teletext = false;
    char ttxLanguage[4] = {};
    int ttxPage = 0x100;
    int nationalOption = 1;
    std::vector<SubtitleDescriptor> subtitles;   // at most 25
    std::vector<std::string> found;              // "MPGV found\n", ...
};
PmtSummary SummarizePmt(const std::vector<PmtStream>& streams);

// Index of the audio track to play: tracks whose language starts with the
// first two letters of `preferred` (case-insensitive) if any, else all; of
// those the lowest PID, the first on ties. -1 without tracks.
struct AudioChoice {
    int pid = 0;
    std::string language;   // empty when unknown
};
int PreferredAudioTrack(const std::vector<AudioChoice>& tracks, const wxString& preferred);

// Service id (4th field, hexadecimal) of a reference; 0 when missing or not a number.
long ServiceIdFromRef(const wxString& ref);
// The reference a live stream is requested with: before the last ":" when it contains "::".
wxString StreamRefOf(const wxString& ref);
// True for bouquet markers ("1:64:...").
bool IsMarkerRef(const wxString& ref);
// File path of a recording reference: the part after the first "/".
wxString RecordingPathOf(const wxString& ref);

wxString LiveStreamLocation(const wxString& host, long port, const char* encodedRef);
wxString RecordingLocation(bool https, const wxString& user, const wxString& pass,
                           const wxString& host, long port, const char* encodedPath);

// Picon file name (without directory and ".png") of a reference.
wxString PiconName(const wxString& ref);
// Picon sets come in many sizes (100 x 60, 220 x 132, 400 x 240): the size
// a w x h picon is shown in, scaled down into the 70 x 53 slot of the
// default picture with its aspect kept; a smaller one stays as it is.
void FitPicon(int& w, int& h);

// "%uh:%02um:%02us" of a stream time in nanoseconds; an undefined time shows 99s.
wxString FormatStreamTime(uint64_t ns, bool defined = true);

// Choice entries: "Audiospur 1 (0x0100, MPEG)", "Videospur 1 (0x0200, H264)".
wxString TrackEntryLabel(bool video, int number, int pid, int kind);

// Text of a GStreamer error/warning/info message: "ERR [src#message#debug]",
// cut to 511 bytes.
std::string BusMessageText(const char* prefix, const char* object, const char* message,
                           const char* debug);

// Position in a group of `count` items: one step forward or back, wrapping.
int WrapStep(int count, int index, bool forward);
// Next marker index from `start` in the given direction, wrapping; -1 when
// the walk comes back to its start without one.
int FindMarker(const std::vector<bool>& isMarker, int start, bool forward);
