// The record of the stream that plays now, written by GStreamer streaming
// threads. Writers change it under a short lock; other threads read a copy
// taken under that lock. It holds only plain values and fixed character
// buffers; pads referenced here stay alive while they are recorded (the
// record holds a reference to each). The counters that several streaming
// threads change at once are atomic.
#pragma once

#include <atomic>
#include <mutex>
#include <gst/gst.h>

enum { MAX_AUDIO_TRACKS = 25, MAX_SUBTITLES = 25 };

struct AUDIOTRACK {
    int pid;
    GstPad* pad;               // demultiplexer pad
    int channels;
    int rate;
    unsigned bitrate;
    char description[64];      // "audio-codec" tag, overwritten by "mode"
    char language[8];          // "language-code" tag
    bool ac3;
    GstElement* parser;        // frames the demultiplexer's output for the decoder
    GstElement* decoder;
    GstElement* converter;
    GstElement* resampler;
    int collection;            // the demultiplexer's stream collection it came with
};

struct SUBTITLETRACK {
    int pid;
    GstPad* pad;
    char language[4];
    int type;                  // DVB subtitling type
};

// The plain part of the record, zeroed as a whole.
struct STREAMFIELDS {
    int pmtstreams;            // playable streams announced by the PMT
    int linkedstreams;
    int audiotracks;
    int audioselected;
    int subtitles;
    int subtitleselected;
    AUDIOTRACK audio[MAX_AUDIO_TRACKS];
    int videopid;              // 0 = no video
    GstPad* videopad;
    int width, height;
    int par_n, par_d;
    int fps_n, fps_d;
    guint32 format;            // fourcc of the decoder output
    bool interlaced;
    bool mpeg2;
    int ttxpid;
    GstPad* ttxpad;
    char ttxlanguage[4];
    int ttxpage;
    SUBTITLETRACK subtitle[MAX_SUBTITLES];
};

struct STREAMINFO : STREAMFIELDS {
    // Sinks change state on their own threads; the demultiplexer's thread
    // adds sinks meanwhile.
    std::atomic<int> playingsinks{0};
    std::atomic<int> sinks{0};   // video chain, shared audio chain, teletext
    std::atomic<bool> buffering{false};   // set when the pads are known; taken once
};

struct SUBTLTEMP {
    int pid;                   // 0 ends the list
    int type;
    char language[4];
};

extern STREAMINFO streaminfo;
extern SUBTLTEMP subtltemp[MAX_SUBTITLES];
extern int auto_ns;

// Drops the pad references held by the record and zeroes it.
void ZeroStreamInfo();

// Held while the record (and the back end's element globals) change; never
// held while waiting for anything.
std::mutex& StreamRecordLock();
// The record as it is now, for threads other than its writers.
STREAMFIELDS StreamInfoCopy();

// The last PMT of the current programme (a new reference, or null); the
// caller releases it with gst_mpegts_section_unref.
struct _GstMpegtsSection;
struct _GstMpegtsSection* LastPMT();
void SetLastPMT(struct _GstMpegtsSection* section);   // takes a reference of its own
