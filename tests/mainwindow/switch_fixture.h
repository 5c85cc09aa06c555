// A real main window with the real pipeline, playing the simulated
// receiver's streams, and a small channel group to switch through.
#pragma once

#include <gtest/gtest.h>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <wx/bmpcbox.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "support/resources.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "stream/pipeline.h"
#include "stream/streaminfo.h"
#include "support/msgbox.h"
#include "support/sim.h"
#include "support/watchdog.h"
#include "stream/playback_support.h"
#include "webif/itemdata.h"

extern void InitXmlResource();

namespace sw {

const char* const SD_A = "1:0:1:2811:401:1:C00000:0:0:0:";       // Kulturkanal
const char* const SD_B = "1:0:1:2822:401:1:C00000:0:0:0:";       // Phönix Dokumente
const char* const HD_C = "1:0:19:2800:401:1:C00000:0:0:0:";      // Erstes Programm HD
const char* const RADIO = "1:0:2:3400:3F9:1:C00000:0:0:0:";      // Bayern Klassik
const char* const MARKER = "1:64:1:0:0:0:0:0:0:0::Nachrichten";

inline wxString Ref(const char* r)
{
    return wxString::FromUTF8(r);
}

// A payload like the recordings' for switching without a tree item.
class TestPayload : public MyServicePayload {
public:
    TestPayload(int mode, const wxString& ref) : mode_(mode), ref_(ref) {}
    int getMode() const override { return mode_; }
    wxString getSRef() const override { return ref_; }
    wxString getTitle() const override { return wxT("Testaufnahme"); }
    wxString getDescription() const override { return wxT("Beschreibung"); }
    wxString getTime() const override { return wxT("1700000000"); }
private:
    int mode_;
    wxString ref_;
};

class SwitchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadResourcesOnce();
        char dir[] = "/tmp/zp-switch.XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        CFG_PATH = wxString::FromUTF8(dir) + wxT("/");
        SetupPlaybackConfig();
        config.mainwin_x = config.mainwin_y = -1;
        sim.reset(new SimReceiver());
        ASSERT_TRUE(sim->ok());
        sim->configureProfile();
        ASSERT_TRUE(GStreamerInit());
        frame = new MyMainFrame();
        MainFrame = frame;
        frame->Show();
        RunFor(200);
        SetVideoOutputWindow(0);

        tree = XRCCTRL(*frame, "ID_TREECTRL1", wxTreeCtrl);
        ASSERT_NE(tree, nullptr);
        group = tree->AppendItem(frame->grpTVOwn, wxT("Testgruppe"), 0);
        a = Add(wxT("Kulturkanal"), 1, SD_A, 6);
        marker = Add(wxT("Nachrichten"), 1, MARKER, 9);
        b = Add(wxT("Phönix Dokumente"), 1, SD_B, 6);
        c = Add(wxT("Erstes Programm HD"), 1, HD_C, 6);
        radioGroup = tree->AppendItem(frame->grpRAOwn, wxT("Radiogruppe"), 1);
        radio = tree->AppendItem(radioGroup, wxT("Bayern Klassik"), 7, 7,
                                 new MyChannelItemData(2, wxString::FromUTF8(RADIO), wxT("Radio")));
        tree->ExpandAll();
    }

    void TearDown() override
    {
        if (frame) {
            wxCommandEvent stop(wxEVT_MENU, XRCID("ID_TOOL_STOP"));
            frame->ProcessWindowEvent(stop);
            frame->epgTimer.Stop();
            frame->mpbTimer.Stop();
            RunFor(100);
        }
        GStreamerDone();
        MainFrame = nullptr;
        delete frame;
        sim.reset();
        wxFileName::Rmdir(CFG_PATH, wxPATH_RMDIR_RECURSIVE);
    }

    wxTreeItemId Add(const wxString& label, int mode, const char* ref, int image)
    {
        return tree->AppendItem(group, label, image, image,
                                new MyChannelItemData(mode, wxString::FromUTF8(ref), wxT("Test")));
    }

    void Activate(const wxTreeItemId& item)
    {
        Watchdog dog("activating '" + Label(item) + "' (from " + State() + ")");
        wxTreeEvent ev(wxEVT_TREE_ITEM_ACTIVATED, tree, item);
        frame->ProcessWindowEvent(ev);
    }

    void Click(const char* id)
    {
        Watchdog dog(std::string(id) + " (from " + State() + ")");
        wxCommandEvent ev(wxEVT_BUTTON, XRCID(id));
        frame->ProcessWindowEvent(ev);
    }

    std::string Label(const wxTreeItemId& item) const
    {
        return item.IsOk() ? tree->GetItemText(item).ToStdString(wxConvUTF8) : "-";
    }

    // What the window shows and plays, for failure messages.
    std::string State() const
    {
        return "current '" + Label(frame->currentItem) + "' " + frame->currentSRef.ToStdString() +
               ", selected '" + Label(tree->GetSelection()) + "', previous " +
               frame->previousSRef.ToStdString() + ", mode " + std::to_string(frame->currentMode) +
               ", status '" + StatusText().ToStdString(wxConvUTF8) + "', pipeline " +
               gst_element_state_get_name(GST_STATE(pipeline));
    }

    // Runs the event loop until cond holds; on time-out says what it saw.
    // Events that keep posting each other never let the loop come back to
    // the check: the watchdog ends that.
    ::testing::AssertionResult Await(const std::function<bool()>& cond, int timeoutMs = 15000)
    {
        Watchdog dog("running the event loop (from " + State() + ")", timeoutMs / 1000 + 10);
        if (RunUntil(cond, timeoutMs))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "not reached within " << timeoutMs << " ms; " << State();
    }

    // Reference of the first recording on the receiver.
    wxString FirstRecording()
    {
        if (!getWebIF("movielist"))
            return wxString();
        int at = result.Find(wxT("<e2servicereference>"));
        return at == wxNOT_FOUND ? wxString() : result.Mid(at + 20).BeforeFirst('<');
    }

    // Live service A, then the first recording with the re-zap after it on.
    ::testing::AssertionResult PlayRecordingAfterA(TestPayload& rec)
    {
        config.rezap = 1;
        Activate(a);
        if (::testing::AssertionResult started = WaitStarted(); !started)
            return started;
        frame->SwitchService(&rec);
        return Await([&] { return StatusText() == wxT("Streaming gestartet") && frame->currentMode == 3; });
    }

    wxString StatusText() const
    {
        return frame->GetStatusBar() ? frame->GetStatusBar()->GetStatusText(0) : wxString();
    }

    bool ToolEnabled(const char* id) const
    {
        return frame->GetToolBar()->GetToolEnabled(XRCID(id));
    }

    // Waits until the current stream has started (code 6 handled).
    ::testing::AssertionResult WaitStarted(int timeoutMs = 30000)
    {
        return Await([&] { return StatusText() == wxT("Streaming gestartet"); }, timeoutMs);
    }

    std::multiset<std::string> Factories() const
    {
        std::multiset<std::string> f;
        GstIterator* it = gst_bin_iterate_elements(GST_BIN(pipeline));
        GValue item = G_VALUE_INIT;
        while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
            GstElement* e = GST_ELEMENT(g_value_get_object(&item));
            f.insert(GST_OBJECT_NAME(gst_element_get_factory(e)));
            g_value_reset(&item);
        }
        g_value_unset(&item);
        gst_iterator_free(it);
        return f;
    }

    std::vector<wxString> Entries(wxBitmapComboBox* choice) const
    {
        std::vector<wxString> e;
        for (unsigned i = 0; i < choice->GetCount(); ++i)
            e.push_back(choice->GetString(i));
        return e;
    }

    std::unique_ptr<SimReceiver> sim;
    MyMainFrame* frame = nullptr;
    wxTreeCtrl* tree = nullptr;
    wxTreeItemId group, a, marker, b, c, radioGroup, radio;
};

// What the X server shows in a window right now.
inline PictureStats WindowStats(unsigned long xid)
{
    PictureStats st;
    if (!xid)
        return st;
    Display* d = gdk_x11_get_default_xdisplay();
    GdkDisplay* gd = gdk_display_get_default();
    gdk_x11_display_error_trap_push(gd);
    XWindowAttributes attr;
    XImage* img = nullptr;
    if (XGetWindowAttributes(d, xid, &attr) && attr.map_state == IsViewable && attr.width > 8 &&
        attr.height > 8)
        img = XGetImage(d, xid, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
    gdk_x11_display_error_trap_pop_ignored(gd);
    if (!img)
        return st;
    bool seen[4096] = {};
    for (int y = 0; y < img->height; y += 5)
        for (int x = 0; x < img->width; x += 5) {
            unsigned long p = XGetPixel(img, x, y);
            int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            int m = std::max(r, std::max(g, b));
            if (m > st.maxValue)
                st.maxValue = m;
            int key = ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4);
            if (!seen[key]) {
                seen[key] = true;
                st.distinct++;
            }
        }
    XDestroyImage(img);
    st.ok = true;
    return st;
}

}  // namespace sw
