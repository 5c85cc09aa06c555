// Which window the video sink draws into. The window handle is looked up on
// the GUI thread and cached; the video sink's request from a streaming thread
// only reads the cache, so no streaming thread ever touches a widget.
#include <atomic>
#include <gtk/gtk.h>
#include <gdk/gdkx.h>
#include <gst/video/videooverlay.h>
#include <wx/thread.h>
#include <wx/window.h>

#include "app/globals.h"
#include "mainwindow/fullframe.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/videoframe.h"
#include "stream/pipeline.h"

static std::atomic<unsigned long> windowHandle{0};
static wxWindow* videoPanels[3] = {};   // targets 0..2; 0 defaults to the main window's panel
static unsigned long desktopWindow = 0;

void RegisterVideoPanel(int target, wxWindow* panel)
{
    if (target >= 0 && target < 3)
        videoPanels[target] = panel;
}

void RegisterDesktopWindow(unsigned long xid)
{
    desktopWindow = xid;
}

unsigned long VideoWindowHandle()
{
    return windowHandle.load();
}

static unsigned long NativeHandle(wxWindow* panel)
{
    if (!panel)
        return 0;
    GtkWidget* widget = panel->GetHandle();
    if (!widget)
        return 0;
    if (!gtk_widget_get_realized(widget))
        gtk_widget_realize(widget);
    // The video sink paints the window itself; GTK must not paint over it.
    gtk_widget_set_double_buffered(widget, FALSE);
    GdkWindow* gw = panel->GTKGetDrawingWindow();
    if (!gw)
        gw = gtk_widget_get_window(widget);
    if (!gw || !GDK_IS_X11_WINDOW(gw))
        return 0;
    if (!gdk_window_ensure_native(gw))
        return 0;
    return GDK_WINDOW_XID(gw);
}

void SetVideoOutputWindow(int target)
{
    if (wxThread::IsMain()) {
        if (MainFrame)
            MainFrame->videoTarget = target;
        wxWindow* panel = nullptr;
        unsigned long xid = 0;
        switch (target) {
        case 0:
            panel = videoPanels[0] ? videoPanels[0] : (MainFrame ? MainFrame->videoPanel : nullptr);
            if (MainFrame)
                MainFrame->Raise();
            break;
        case 1:
        case 2:
            panel = videoPanels[target];
            if (!panel && target == 1 && VideoFrame)
                panel = VideoFrame->videoPanel;
            if (!panel && target == 2 && FullscreenFrame)
                panel = FullscreenFrame->videoPanel;
            if (panel && panel->GetParent())
                wxGetTopLevelParent(panel)->Raise();
            break;
        case 3:
            xid = desktopWindow;
            break;
        default:
            break;
        }
        if (panel)
            xid = NativeHandle(panel);
        windowHandle.store(xid);
    }
    unsigned long xid = windowHandle.load();
    ElementRef sink = BackendElement(videosink);
    if (xid && sink && GST_IS_VIDEO_OVERLAY(sink.get())) {
        gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(sink.get()), xid);
        gst_video_overlay_expose(GST_VIDEO_OVERLAY(sink.get()));
    }
}
