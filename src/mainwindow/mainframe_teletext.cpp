// The teletext viewer from the tool bar.
#include <gst/gst.h>

#include "app/globals.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/videoframe.h"
#include "stream/pipeline.h"
#include "stream/streaminfo.h"
#include "teletext/teletextdialog.h"

void MyMainFrame::OnToolTeletext(wxCommandEvent&)
{
    if (!pipeline || StreamInfoCopy().ttxpid == 0)
        return;
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline, &state, nullptr, 0);
    if (state != GST_STATE_PLAYING)
        return;
    wxWindow* parent = this;
    if (videoTarget == 1 && VideoFrame)
        parent = VideoFrame;
    auto* dialog = new MyTeletextDialog(parent);
    if (dialog->loaded)
        dialog->ShowModal();
    dialog->Destroy();
}
