// Main window: pipeline notifications, play/stop, and the supervision timers.
#include "mainwindow/mainframe.h"

#include <algorithm>
#include <vector>
#include <gst/gst.h>
#include <wx/app.h>
#include <wx//bmpcbox.h>
#include <wx/dcclient.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/tglbtn.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/guards.h"
#include "app/gstlog.h"
#include "mainwindow/fullframe.h"
#include "mainwindow/taskbaricon.h"
#include "mainwindow/videoframe.h"
#include "stream/hooks.h"
#include "stream/pip.h"
#include "stream/pipeline.h"
#include "stream/streaminfo.h"
#include "stream/streamrules.h"
#include "webif/itemdata.h"

static void EnableTool(wxFrame* frame, const char* id, bool on)
{
    if (wxToolBar* tb = frame->GetToolBar())
        tb->EnableTool(XRCID(id), on);
}

static void Status(wxFrame* frame, const wxString& text)
{
    if (frame->GetStatusBar())
        frame->SetStatusText(text, 0);
}

static void PlayPauseBitmap(wxFrame* frame, const char* name)
{
    wxToolBar* tb = frame->GetToolBar();
    wxBitmap bmp = wxXmlResource::Get()->LoadBitmap(name);
    if (tb && bmp.IsOk())
        tb->SetToolNormalBitmap(XRCID("ID_TOOL_PLAY_PAUSE"), bmp);
}

static void AddTrackEntry(wxBitmapComboBox* choice, bool video, int payload)
{
    if (!choice)
        return;
    int pid = payload / 65536, kind = payload % 65536;
    choice->Enable(true);
    wxString label = TrackEntryLabel(video, int(choice->GetCount()) + 1, pid, kind);
    wxBitmap bmp = wxXmlResource::Get()->LoadBitmap(video ? "IMG_CHOICE_VIDEO" : "IMG_CHOICE_AUDIO");
    choice->Append(label, bmp.IsOk() ? bmp : wxNullBitmap,
                   new MyChoiceItemData(wxString::Format(wxT("%d"), pid)));
    choice->SetSelection(0);
}

static void ClearTrackEntries(wxBitmapComboBox* choice)
{
    if (!choice)
        return;
    choice->Clear();
    choice->Enable(false);
}

static wxMenu* FullscreenMenu()
{
    return FullscreenFrame ? FullscreenFrame->popupMenu : nullptr;
}

void MyMainFrame::GStreamerNotify(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case 0:
        AddTrackEntry(audioChoice, false, event.GetInt());
        updateAVLabel();
        break;
    case 1:
        AddTrackEntry(videoChoice, true, event.GetInt());
        updateAVLabel();
        break;
    case 2:
        ClearTrackEntries(audioChoice);
        updateAVLabel();
        break;
    case 3:
        ClearTrackEntries(videoChoice);
        updateAVLabel();
        break;
    case 4:
        if (wxMenu* m = FullscreenMenu())
            if (wxMenuItem* sub = m->FindItem(XRCID("ID_MENU_SUBTITLE")))
                sub->Enable(true);
        break;
    case 5:
        if (wxMenu* m = FullscreenMenu()) {
            if (wxMenuItem* off = m->FindItem(XRCID("ID_MENUITEM_SUBTITLE_OFF")))
                off->Check(true);
            if (wxMenuItem* sub = m->FindItem(XRCID("ID_MENU_SUBTITLE")))
                sub->Enable(false);
        }
        break;
    case 6:
        if (event.GetInt() == 1)
            StreamStarted();
        else
            StreamStopped();
        break;
    case 7:
        synTimer.StartOnce(500);
        break;
    case 8:
        // Bit-rate figures come with the meter; the buffer is known here.
        SetGaugeValue(bufferGauge, bufferPercent.load());
        if (bufferLabel)
            bufferLabel->SetLabel(wxString::Format(wxT("%.3d%%"), bufferPercent.load()));
        break;
    case 9:
        break;
    case 10:
        LogGstEvent(event);
        break;
    default:
        break;
    }
}

void MyMainFrame::StreamStarted()
{
    EnableTool(this, "ID_TOOL_RECORD", true);
    EnableTool(this, "ID_TOOL_STREAMINFO", true);
    if (volumeGauge)
        volumeGauge->Enable(true);
    if (currentMode != 2) {
        EnableTool(this, "ID_TOOL_FULLSCREEN", true);
        EnableTool(this, "ID_TOOL_STANDALONE", true);
        EnableTool(this, "ID_TOOL_SCREENSHOT", true);
        if (DesktopWindowExists && DesktopWindowExists())
            EnableTool(this, "ID_TOOL_WALLPAPER", true);
        if (StreamInfoCopy().ttxpid != 0)
            EnableTool(this, "ID_TOOL_TELETEXT", true);
    }
    PlayPauseBitmap(this, "IMG_PAUSE");
    Status(this, wxT("Streaming gestartet"));

    if (currentMode == 1 && config.tvcontrol)
        getVideoTracks();
    bool fromReceiver = config.tvcontrol && getAudioTracks();
    if (!fromReceiver && audioChoice) {
        std::vector<AudioChoice> tracks;
        const STREAMFIELDS info = StreamInfoCopy();
        int n = std::min<int>(info.audiotracks, MAX_AUDIO_TRACKS);
        for (int i = 0; i < n && i < int(audioChoice->GetCount()); ++i) {
            AudioChoice c;
            c.pid = info.audio[i].pid;
            c.language = info.audio[i].language;
            tracks.push_back(c);
        }
        int best = PreferredAudioTrack(tracks, config.audiolanguage);
        if (best > 0) {
            SelectAudioTrack(best);
            audioChoice->SetSelection(best);
            wxCommandEvent select(wxEVT_COMBOBOX, XRCID("ID_CHOICE_AUDIO"));
            select.SetEventObject(audioChoice);
            select.SetInt(best);
            select.SetClientObject(audioChoice->GetClientObject(best));
            ProcessWindowEvent(select);
        }
    }
    if (restorepip)
        PiPInit(PiPsRef);
}

void MyMainFrame::StreamStopped()
{
    for (const char* id : {"ID_TOOL_RECORD", "ID_TOOL_FULLSCREEN", "ID_TOOL_STANDALONE",
                           "ID_TOOL_WALLPAPER", "ID_TOOL_TELETEXT", "ID_TOOL_STREAMINFO",
                           "ID_TOOL_SCREENSHOT"})
        EnableTool(this, id, false);
    if (volumeGauge)
        volumeGauge->Enable(false);
    PlayPauseBitmap(this, "IMG_PLAY");
    Status(this, wxT("Streaming beendet"));
    if (videoPanel)
        videoPanel->Refresh();
    bufferPercent = 0;
}

void MyMainFrame::OnPadsDone()
{
    retryCounter = 0;
    chkTimer.Stop();
    if (videoTarget != 0) {
        ShowOnScreenText(nowTitle + wxT("\n\n") + nowText + wxT("\n") + nextText);
        osdTimer.StartOnce(5000);
    }
}

wxWindow* MyMainFrame::TargetVideoPanel()
{
    if (videoTarget == 1 && VideoFrame && VideoFrame->videoPanel)
        return VideoFrame->videoPanel;
    if (videoTarget == 2 && FullscreenFrame && FullscreenFrame->videoPanel)
        return FullscreenFrame->videoPanel;
    return videoPanel;
}

void MyMainFrame::DrawCentred(wxWindow* panel, const char* bitmap)
{
    if (!panel || !panel->IsShownOnScreen())
        return;
    wxBitmap bmp = wxXmlResource::Get()->LoadBitmap(bitmap);
    if (!bmp.IsOk())
        return;
    wxClientDC dc(panel);
    wxSize s = panel->GetClientSize();
    dc.DrawBitmap(bmp, (s.x - bmp.GetWidth()) / 2, (s.y - bmp.GetHeight()) / 2, true);
}

void MyMainFrame::ReturnToMainWindow()
{
    switch (videoTarget) {
    case 0:
        return;
    case 2:
        if (FullscreenFrame)
            FullscreenFrame->Hide();
        break;
    case 3:
        if (TaskBarIcon)
            wxQueueEvent(TaskBarIcon, new wxTaskBarIconEvent(wxEVT_TASKBAR_LEFT_DCLICK, TaskBarIcon));
        break;
    case 1:
        Show(true);
        if (VideoFrame)
            VideoFrame->Hide();
        break;
    }
    SetVideoOutputWindow(0);
}

static void PostCommand(wxEvtHandler* h, const char* id)
{
    wxCommandEvent* ev = new wxCommandEvent(wxEVT_MENU, XRCID(id));
    wxQueueEvent(h, ev);
}

void MyMainFrame::CHKTimer(wxTimerEvent&)
{
    // The pads may have completed after the timer fired but before it ran.
    if (padsComplete.load())
        return;
    retryCounter++;
    PostCommand(this, "ID_TOOL_STOP");
    if (retryCounter > 5) {
        retryCounter = 0;
        ReturnToMainWindow();
        Status(this, wxT("Streaming fehlgeschlagen, Abbruch"));
        wxLogError(wxT("GSTR Timeout, abort"));
        DrawCentred(videoPanel, "IMG_ABORT");
        return;
    }
    DrawCentred(TargetVideoPanel(), "IMG_TIMEOUT");
    if (pipeline)
        gst_element_get_state(pipeline, nullptr, nullptr, 3 * GST_SECOND);
    PostCommand(this, "ID_TOOL_PLAY_PAUSE");
    chkTimer.StartOnce(5000);
    Status(this, wxString::Format(wxT("Streaming fehlgeschlagen, Versuch #%d"), retryCounter));
    wxLogError(wxT("GSTR Timeout, retry #%d"), retryCounter);
}

void MyMainFrame::SYNTimer(wxTimerEvent&)
{
    if (!pipeline)
        return;
    if (currentMode != 3) {
        restorepip = videomixer != nullptr;
        if (GST_STATE(pipeline) != GST_STATE_PLAYING)
            wxLogWarning(wxT("Streaming abgebrochen, reconnect"));
        else
            wxLogWarning(wxT("Streaming unterbrochen, resync"));
        wxCommandEvent stop(wxEVT_MENU, XRCID("ID_TOOL_STOP"));
        ProcessWindowEvent(stop);
        gst_element_get_state(pipeline, nullptr, nullptr, 3 * GST_SECOND);
        DrawCentred(TargetVideoPanel(), "IMG_RESYNC1");
        ZPYield();
        wxMilliSleep(250);
        DrawCentred(TargetVideoPanel(), "IMG_RESYNC2");
        PostCommand(this, "ID_TOOL_PLAY_PAUSE");
    } else {
        ReturnToMainWindow();
        PostCommand(this, "ID_TOOL_STOP");
    }
}

void MyMainFrame::MPBTimer(wxTimerEvent&)
{
    if (!pipeline)
        return;
    gint64 pos = -1, dur = -1;
    if (!gst_element_query_position(pipeline, GST_FORMAT_TIME, &pos) ||
        !gst_element_query_duration(pipeline, GST_FORMAT_TIME, &dur) || dur <= 0 || pos < 0)
        return;
    SetGaugeRange(progressGauge, 100);
    SetGaugeValue(progressGauge, long(pos * 100 / dur));
    if (infoText[4])
        infoText[4]->SetLabel(FormatStreamTime(pos) + wxT(" / ") + FormatStreamTime(dur));
}

void MyMainFrame::OnToolPlay(wxCommandEvent&)
{
    if (!pipeline || wxTheApp->IsScheduledForDestruction(this))
        return;
    if (holdPlay) {
        playHeld = true;
        return;
    }
    GstStateChangeReturn ret;
    switch (GST_STATE(pipeline)) {
    case GST_STATE_NULL:
        padsComplete = false;
        TakeStreamSettings();
        // The sink asks for its window from a streaming thread, which only
        // reads the handle looked up here.
        SetVideoOutputWindow(videoTarget);
        ret = gst_element_set_state(pipeline, GST_STATE_PAUSED);
        chkTimer.StartOnce(5000);
        break;
    case GST_STATE_PAUSED:
        ret = gst_element_set_state(pipeline, GST_STATE_PLAYING);
        break;
    case GST_STATE_PLAYING:
        if (currentMode == 3)
            ret = gst_element_set_state(pipeline, GST_STATE_PAUSED);
        else
            PostCommand(this, "ID_TOOL_STOP");
        return;
    default:
        return;
    }
    switch (ret) {
    case GST_STATE_CHANGE_FAILURE: wxLogVerbose(wxT("Verbose: GSTR GST_STATE_CHANGE_FAILURE")); break;
    case GST_STATE_CHANGE_SUCCESS: wxLogVerbose(wxT("Verbose: GSTR GST_STATE_CHANGE_SUCCESS")); break;
    case GST_STATE_CHANGE_ASYNC: wxLogVerbose(wxT("Verbose: GSTR GST_STATE_CHANGE_ASYNC")); break;
    case GST_STATE_CHANGE_NO_PREROLL: wxLogVerbose(wxT("Verbose: GSTR GST_STATE_NO_PREROLL")); break;
    }
}

void MyMainFrame::OnToolStop(wxCommandEvent&)
{
    // A stop queued before the window closed finds its controls gone.
    if (wxTheApp->IsScheduledForDestruction(this))
        return;
    chkTimer.Stop();
    synTimer.Stop();
    bool outerHold = holdPlay;
    holdPlay = true;
    ZPYield();
    holdPlay = outerHold;
    PiPExit();
    StopPipeline();
    wxToolBar* tb = GetToolBar();
    int rec = XRCID("ID_TOOL_RECORD");
    if (tb && tb->FindById(rec) && tb->GetToolState(rec)) {
        tb->ToggleTool(rec, false);
        if (valve)
            g_object_set(valve, "drop", TRUE, NULL);
        if (filesink)
            g_object_set(filesink, "location", "/dev/null", NULL);
    }
    if (playHeld && !holdPlay) {
        playHeld = false;
        PostCommand(this, "ID_TOOL_PLAY_PAUSE");
    }
    if (config.rezap && currentMode == 3 && previousMode != 3 && !switchStopping) {
        wxCommandEvent* click = new wxCommandEvent(wxEVT_BUTTON, XRCID("ID_BUTTON_REZAP"));
        wxQueueEvent(this, click);
    }
}

void MyMainFrame::OSDTimer(wxTimerEvent&)
{
    HideOnScreenText();
}
