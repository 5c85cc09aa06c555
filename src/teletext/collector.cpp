#include "teletext/collector.h"

#include "stream/hooks.h"
#include "teletext/pagestore.h"

GstFlowReturn GrabTeletextBuffer(GstAppSink* sink, gpointer)
{
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_OK;   // flushing; the stream goes on without us
    if (GstBuffer* buffer = gst_sample_get_buffer(sample)) {
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            ParseTeletextPayload(map.data, map.size);
            gst_buffer_unmap(buffer, &map);
        }
    }
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void StartTeletextCollection()
{
    OpenPageStore();
    TeletextCollector = GrabTeletextBuffer;
    SetTeletextCollection(true);
}

void StopTeletextCollection()
{
    SetTeletextCollection(false);
    // A buffer already inside the handler finishes before the store goes.
    ClosePageStore();
}
