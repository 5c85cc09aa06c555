// The playback pipeline: the fixed front end built once at start-up and the
// per-stream back end that the demultiplexer's pads create and remove. All
// elements are process-wide; only the callbacks here create and destroy the
// per-stream ones.
#pragma once

#include <atomic>
#include <string>
#include <gst/gst.h>
#include <wx/string.h>

class wxEvtHandler;

// Front end.
extern GstElement* pipeline;
extern GstElement* source;
extern GstElement* sourcequeue;
extern GstElement* sourceidentity;
extern GstElement* tee_element;
extern GstElement* teequeue1;
extern GstElement* teequeue2;
extern GstElement* valve;
extern GstElement* filesink;
extern GstElement* demuxer;
extern GstBus* bus;

// Back end, per stream.
extern GstElement* multiqueue;
extern GstElement* videodecoder;
extern GstElement* decoderqueue;
extern GstElement* deinterlace;
extern GstElement* videorate;
extern GstElement* videoscale;
extern GstElement* videobalance;
extern GstElement* subtitleoverlay;
extern GstElement* clockoverlay;
extern GstElement* textoverlay;
extern GstElement* ffmpegcolorspace;
extern GstElement* videoqueue;
extern GstElement* videosink;
extern GstElement* audio_inputselector;
extern GstElement* audiorate;
extern GstElement* equalizer;
extern GstElement* volume;
extern GstElement* audioqueue;
extern GstElement* audiosink;
extern GstElement* teletextsink;
extern GstElement* subtl_inputselector;

// Builds the front end; false (after telling the user) when plug-ins are missing.
bool GStreamerInit();
// Releases the pipeline (end of the program, tests).
void GStreamerDone();
// Names of required plug-in features that the registry lacks.
wxString MissingPlugins();

// Demultiplexer and multiqueue callbacks (streaming threads).
void PadAdded(GstElement* element, GstPad* pad, gpointer data);
void PadRemoved(GstElement* element, GstPad* pad, gpointer data);
void PadsDone(GstElement* element, gpointer data);
void MQUnderRun(GstElement* element, gpointer data);
// The demultiplexer's PMT as its section message delivers it.
void PMTInfo(GstMessage* message);
// The demultiplexer's stream collection, which comes before its pads (the
// PMT section only after them): how many of its streams the engine plays.
void StreamCollection(GstMessage* message);

// Bus (bus.cpp).
GstBusSyncReply MessageLoop(GstBus* bus, GstMessage* message, gpointer data);
void ParseTag(const GstTagList* list, const gchar* tag, gpointer pad);

bool IsElementLinked(GstElement* element);

// A reference to a per-stream element, taken under the back end's lock: the
// GUI thread may use it while the demultiplexer's thread removes the element
// (a PMT that changes mid-stream). Empty when the element is not there.
class ElementRef {
public:
    explicit ElementRef(GstElement* e = nullptr) : e_(e) {}
    ElementRef(ElementRef&& o) noexcept : e_(o.e_) { o.e_ = nullptr; }
    ElementRef(const ElementRef&) = delete;
    ElementRef& operator=(const ElementRef&) = delete;
    ~ElementRef()
    {
        if (e_)
            gst_object_unref(e_);
    }
    GstElement* get() const { return e_; }
    explicit operator bool() const { return e_ != nullptr; }
private:
    GstElement* e_;
};
ElementRef BackendElement(GstElement* const& global);

// On-screen text of the video chain (GUI thread).
void ShowOnScreenText(const wxString& text);
void HideOnScreenText();

// Routes audio track `index` (of streaminfo.audio) to the speakers; false
// when there is no such track.
bool SelectAudioTrack(int index);
// The same for the track with that PID.
bool SelectAudioTrackOfPid(int pid);
// Index of the track the speakers play, -1 without audio.
int SelectedAudioTrack();

// What the per-stream elements are built with. Streaming threads never read
// the configuration or a window: the GUI thread takes these before each start
// (and again after changing one of them while a stream runs).
struct StreamSettings {
    std::string videosink = "xvimagesink";
    bool compatibility = false;
    int deinterlacer = 0, deinterlacermethod = 4;
    double brightness = 0, contrast = 1, color = 1;
    double lband = 0, mband = 0, hband = 0;
    double volume = 0.5;       // 0 when muted
    bool clock = false;        // clock overlay shown
    long buffertime = 2;       // seconds the multiqueue holds
    int buffer = 66;           // fill level that starts playing, percent
};
void TakeStreamSettings();
StreamSettings CurrentStreamSettings();

// Stops the stream: the pipeline and every front-end element to NULL, the
// back end torn down. Work scheduled for the stopped stream no longer acts.
void StopPipeline();
// Sets the pipeline to PLAYING if it still runs the stream of `generation`
// and waits in PAUSED (from any thread).
void PlayIfCurrent(unsigned generation);

// Removes whatever per-stream element is still in the pipeline after it has
// been set to NULL, so that the next stream starts from an empty back end.
void TearDownBackend();
// Number of per-stream elements currently in the pipeline (tests, diagnostics).
int BackendElementCount();

// Set once the current stream's pads are all known; cleared by every start.
extern std::atomic<bool> padsComplete;
// Counts the streams torn down; work scheduled for one stream checks it
// still runs before it acts.
extern std::atomic<unsigned> streamGeneration;

// Where pipeline notifications (wxEVT_GST) go: the main window unless a
// test installs its own handler.
wxEvtHandler* GstEventTarget();
void SetGstEventTarget(wxEvtHandler* handler);
// Posts a wxEVT_GST event; safe from any thread.
void PostGstEvent(int code, int value = 0);

// Log line from any thread (verbose level 3 unless stated).
void StreamLog(int level, const char* text);

// Video output (videooutput.cpp).
void SetVideoOutputWindow(int target);
// The window the video sink draws into, as last chosen on the GUI thread.
unsigned long VideoWindowHandle();
// Panels of the other video windows and the desktop window; their owners
// register them when they exist.
class wxWindow;
void RegisterVideoPanel(int target, wxWindow* panel);
void RegisterDesktopWindow(unsigned long xid);
