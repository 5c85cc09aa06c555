// Collecting the teletext pages of the stream that plays, from its
// teletext sink into the page store.
#pragma once

#include <gst/app/gstappsink.h>

// The teletext sink's "new-sample" handler: files one buffer.
GstFlowReturn GrabTeletextBuffer(GstAppSink* sink, gpointer data);

// Opens the store and switches the sink's signal on, for the sink of this
// stream and of every stream started while collecting.
void StartTeletextCollection();
// Switches the signal off, then frees the store.
void StopTeletextCollection();
