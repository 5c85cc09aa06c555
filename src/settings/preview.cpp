#include "settings/preview.h"

#include <gst/gst.h>

#include "stream/pip.h"
#include "stream/pipeline.h"

void (*PiPPlacement)(int position) = nullptr;

namespace {

// The per-stream elements come and go on the streaming threads; the bin hands
// out a reference that stays valid while the properties are set.
GstElement* StreamElement(const char* name)
{
    if (!pipeline)
        return nullptr;
    return gst_bin_get_by_name(GST_BIN(pipeline), name);
}

}  // namespace

void PreviewEqualizer(double low, double mid, double high)
{
    if (GstElement* eq = StreamElement("Equalizer")) {
        g_object_set(eq, "band0", low, "band1", mid, "band2", high, NULL);
        gst_object_unref(eq);
    }
}

void PreviewVideoBalance(double brightness, double contrast, double colour)
{
    if (GstElement* vb = StreamElement("VideoBalance")) {
        g_object_set(vb, "brightness", brightness, "contrast", contrast, "saturation", colour, NULL);
        gst_object_unref(vb);
    }
}

bool PiPActive()
{
    return videomixer != nullptr;
}

bool PreviewPiP(int position)
{
    if (!PiPActive() || !PiPPlacement)
        return false;
    PiPPlacement(position);
    return true;
}
