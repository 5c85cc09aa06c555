// Points where later parts of the program plug into the back end without
// the back end knowing them: the teletext collector, the clock entry of the
// full-screen menu and the mute state. Unset hooks mean "not there".
#pragma once

#include <gst/app/gstappsink.h>

// "new-sample" handler of the teletext sink.
extern GstFlowReturn (*TeletextCollector)(GstAppSink* sink, gpointer data);
// Switches the teletext sink's signal on or off, now and for every sink a
// later stream builds.
void SetTeletextCollection(bool on);
// Whether the clock overlay is shown when a video chain is built.
extern bool (*ClockOverlayVisible)();
// Whether the speakers start muted when an audio chain is built.
extern bool (*AudioMuted)();

// Whether a desktop window was found for the wallpaper mode.
extern bool (*DesktopWindowExists)();
