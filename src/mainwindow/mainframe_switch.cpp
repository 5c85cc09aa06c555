// Main window: switching playback to a service or recording, and the ways
// of choosing one (tree, popup menus, previous/next, re-zap, zap timer).
#include "mainwindow/mainframe.h"

#include <ctime>
#include <gst/gst.h>
#include <wx/busyinfo.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/tglbtn.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/tglbtn.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/guards.h"
#include "app/seams.h"
#include "mainwindow/fullframe.h"
#include "mainwindow/videoframe.h"
#include "stream/pip.h"
#include "stream/pipeline.h"
#include "stream/streamrules.h"
#include "webif/current.h"
#include "webif/payload.h"
#include "webif/webif.h"

// The payload re-zap switches with: the previous service as it was played.
class RezapPayload : public MyServicePayload {
public:
    RezapPayload(int mode, const wxString& ref, const wxString& title, const wxString& desc,
                 const wxString& time)
        : mode_(mode), ref_(ref), title_(title), desc_(desc), time_(time) {}
    int getMode() const override { return mode_; }
    wxString getSRef() const override { return ref_; }
    wxString getTitle() const override { return title_; }
    wxString getDescription() const override { return desc_; }
    wxString getTime() const override { return time_; }
private:
    int mode_;
    wxString ref_, title_, desc_, time_;
};

static wxTreeCtrl* Tree(wxWindow* frame)
{
    return XRCCTRL(*frame, "ID_TREECTRL1", wxTreeCtrl);
}

static MyServicePayload* PayloadOf(wxTreeCtrl* tree, const wxTreeItemId& item)
{
    if (!tree || !item.IsOk())
        return nullptr;
    return dynamic_cast<MyServicePayload*>(tree->GetItemData(item));
}

static void SetBoxLabel(wxStaticBoxSizer* box, const wxString& label)
{
    if (box && box->GetStaticBox())
        box->GetStaticBox()->SetLabel(label);
}

static bool SourceHasLocation()
{
    gchar* loc = nullptr;
    if (source)
        g_object_get(source, "location", &loc, NULL);
    bool has = loc && *loc;
    g_free(loc);
    return has;
}

static wxString NoAmp(wxString s)
{
    s.Replace(wxT("&&"), wxT("+"));
    return s;
}

// Connects the playback, switching and supervision handlers; the
// constructor calls it once the controls exist.
void MyMainFrame::BindPlayback()
{
    Bind(wxEVT_GST, &MyMainFrame::GStreamerNotify, this);
    struct { wxTimer* timer; int id; void (MyMainFrame::*handler)(wxTimerEvent&); } timers[] = {
        {&epgTimer, ID_TIMER_EPG, &MyMainFrame::EPGTimer},
        {&zapTimer, ID_TIMER_ZAP, &MyMainFrame::ZAPTimer},
        {&chkTimer, ID_TIMER_CHK, &MyMainFrame::CHKTimer},
        {&osdTimer, ID_TIMER_OSD, &MyMainFrame::OSDTimer},
        {&mpbTimer, ID_TIMER_MPB, &MyMainFrame::MPBTimer},
        {&synTimer, ID_TIMER_SYN, &MyMainFrame::SYNTimer},
    };
    for (auto& t : timers) {
        t.timer->SetOwner(this, t.id);
        Bind(wxEVT_TIMER, t.handler, this, t.id);
    }
    Bind(wxEVT_MENU, &MyMainFrame::OnToolPlay, this, XRCID("ID_TOOL_PLAY_PAUSE"));
    Bind(wxEVT_MENU, &MyMainFrame::OnToolStop, this, XRCID("ID_TOOL_STOP"));
    Bind(wxEVT_MENU, &MyMainFrame::OnMenuPlay, this, XRCID("ID_MENUITEM_TVRA_PLAY"));
    Bind(wxEVT_MENU, &MyMainFrame::OnMenuPlay, this, XRCID("ID_MENUITEM_HD_PLAY"));
    Bind(wxEVT_TREE_ITEM_ACTIVATED, &MyMainFrame::OnTreeActivated, this, XRCID("ID_TREECTRL1"));
    Bind(wxEVT_TREE_ITEM_RIGHT_CLICK, &MyMainFrame::OnTreeRight, this, XRCID("ID_TREECTRL1"));
    Bind(wxEVT_BUTTON, &MyMainFrame::OnButtonPrevService, this, XRCID("ID_BUTTON_PREV_SERVICE"));
    Bind(wxEVT_BUTTON, &MyMainFrame::OnButtonNextService, this, XRCID("ID_BUTTON_NEXT_SERVICE"));
    Bind(wxEVT_BUTTON, &MyMainFrame::OnButtonRezap, this, XRCID("ID_BUTTON_REZAP"));
    Bind(wxEVT_BUTTON, &MyMainFrame::OnButtonPrevMarker, this, XRCID("ID_BUTTON_PREV_MARKER"));
    Bind(wxEVT_BUTTON, &MyMainFrame::OnButtonNextMarker, this, XRCID("ID_BUTTON_NEXT_MARKER"));
    Bind(wxEVT_TOGGLEBUTTON, &MyMainFrame::OnToggleTVControl, this, XRCID("ID_TOGGLEBUTTON_TV"));
}

void MyMainFrame::SwitchService(MyServicePayload* payload)
{
    if (!payload || !pipeline)
        return;
    wxString ref = payload->getSRef();
    int mode = payload->getMode();
    // Live references are kept without a "::" name: compare them that way.
    if ((mode == 1 || mode == 2 ? StreamRefOf(ref) : ref) == currentSRef)
        return;

    chkTimer.Stop();
    synTimer.Stop();
    // Plays queued by the supervision belong to the old stream.
    holdPlay = true;
    ZPYield();
    restorepip = videomixer != nullptr;

    GstState state = GST_STATE(pipeline);
    if (state == GST_STATE_PLAYING || state == GST_STATE_PAUSED) {
        // This stop leads to the new service, not back to the last live one.
        switchStopping = true;
        wxCommandEvent stop(wxEVT_MENU, XRCID("ID_TOOL_STOP"));
        ProcessWindowEvent(stop);
        switchStopping = false;
        if (FullscreenFrame)
            FullscreenFrame->Refresh();
        if (VideoFrame)
            VideoFrame->Refresh();
        ZPYield();
    }
    holdPlay = false;
    playHeld = false;

    bool tvControlOnce = false;
    if (mode != 3 && !config.tvcontrol) {
        getWebIF(wxT("serviceplayable?sRef=") + QueryValue(ref));
        if (ServiceNotPlayable(result)) {
            bool yes = config.expertmode ||
                       ZPMessageBox(wxT("Es ist momentan kein freier Tuner für diesen Kanal verfügbar!\n\n"
                                        "Soll für die Wiedergabe der Kanal am TV mit umgeschaltet werden?"),
                                    wxYES_NO | wxICON_QUESTION, this) == wxYES;
            if (!yes) {
                // Resume what played before; before the first stream the
                // source has nowhere to go back to.
                if (SourceHasLocation()) {
                    wxCommandEvent play(wxEVT_MENU, XRCID("ID_TOOL_PLAY_PAUSE"));
                    ProcessWindowEvent(play);
                }
                return;
            }
            tvControlOnce = true;
            config.tvcontrol = 1;
        }
    }

    retryCounter = 0;
    previousSRef = currentSRef;
    previousMode = currentMode;
    long sid = ServiceIdFromRef(ref);
    epgTimer.Stop();
    mpbTimer.Stop();

    currentMode = mode;
    if (wxToolBar* tb = GetToolBar()) {
        tb->EnableTool(XRCID("ID_TOOL_REW"), mode == 3);
        tb->EnableTool(XRCID("ID_TOOL_FWD"), mode == 3);
    }
    const ZPPROFILE& prof = config.active();
    if (mode == 1 || mode == 2) {
        SetBoxLabel(boxMode, mode == 2 ? wxT(" Wiedergabemodus [ RA ] ")
                                       : wxT(" Wiedergabemodus [ TV ] "));
        currentSRef = StreamRefOf(ref);
        wxLogMessage(mode == 2 ? wxT("starte RA-Stream [http://%s:%d/%s]")
                               : wxT("starte TV-Stream [http://%s:%d/%s]"),
                     prof.host, int(prof.sport), currentSRef);
        if (config.tvcontrol)
            getWebIF(wxT("zap?sRef=") + QueryValue(currentSRef));
        wxString loc = LiveStreamLocation(prof.host, prof.sport, QueryValue(currentSRef).utf8_str());
        g_object_set(source, "location", (const char*)loc.utf8_str(), NULL);
    } else if (mode == 3) {
        recTitle = payload->getTitle();
        recDescription = payload->getDescription();
        recTime = payload->getTime();
        SetBoxLabel(boxMode, wxT(" Wiedergabemodus [ HD ] "));
        currentSRef = ref;
        wxString path = RecordingPathOf(ref);
        wxLogMessage(prof.https ? wxT("starte HD-Stream [https://%s:%d/file?file=/%s]")
                                : wxT("starte HD-Stream [http://%s:%d/file?file=/%s]"),
                     prof.host, int(prof.wport), path);
        wxString loc = RecordingLocation(prof.https != 0, prof.user, prof.pass, prof.host,
                                         prof.wport, QueryValue(path).utf8_str());
        g_object_set(source, "location", (const char*)loc.utf8_str(), NULL);
        long secs = 0;
        recTime.ToLong(&secs);
        time_t t = time_t(secs);
        struct tm lt;
        localtime_r(&t, &lt);
        SetBoxLabel(boxInfo, wxString::Format(
                                 wxT(" Programminfo [ Aufnahme vom %.2d.%.2d.%.4d um %.2d:%.2d ] "),
                                 lt.tm_mday, lt.tm_mon + 1, lt.tm_year + 1900, lt.tm_hour, lt.tm_min));
        const wxString none = wxT("keine Beschreibung vorhanden");
        for (int i = 0; i < 6; ++i)
            if (infoText[i])
                infoText[i]->SetLabel(wxString());
        if (infoText[1])
            infoText[1]->SetLabel(recTitle.empty() ? none : recTitle);
        if (infoText[4])
            infoText[4]->SetLabel(recDescription.empty() ? none : recDescription);
        SetGaugeValue(progressGauge, 0);
        wxString boxLabel = boxInfo && boxInfo->GetStaticBox() ? boxInfo->GetStaticBox()->GetLabel()
                                                               : wxString();
        nowTitle = NoAmp(boxLabel.AfterFirst('[').BeforeLast(']').Trim().Trim(false));
        nowText = NoAmp(recTitle);
        nextText = NoAmp(recDescription);
    } else {
        currentSRef = ref;
    }

    if (config.proxyvalid && config.proxymode) {
        wxString proxy = wxString::Format(wxT("%s:%ld"), config.proxy.host, config.proxy.port);
        g_object_set(source, "proxy", (const char*)proxy.utf8_str(), "proxy-id",
                     (const char*)config.proxy.user.utf8_str(), "proxy-pw",
                     (const char*)config.proxy.pass.utf8_str(), NULL);
    }
    g_object_set(demuxer, "program-number", sid ? int(sid) : -1, NULL);

    wxCommandEvent play(wxEVT_MENU, XRCID("ID_TOOL_PLAY_PAUSE"));
    ProcessWindowEvent(play);

    ShowPicon();
    if (tvControlOnce)
        config.tvcontrol = 0;

    if (mode == 3) {
        mpbTimer.Start(500);
    } else {
        getNowNext(true);
        getNowNext(false);
        if (videoTarget == 1 && VideoFrame)
            VideoFrame->SetTitle(nowTitle);
        epgTimer.Start(60000);
    }
}

wxBitmap PiconBitmap(const wxString& sRef)
{
    const wxString file = BIN_PATH + wxT("pic") + wxFileName::GetPathSeparator() + PiconName(sRef) + wxT(".png");
    wxImage image;
    if (!wxFileName::FileExists(file) || !image.LoadFile(file, wxBITMAP_TYPE_PNG) || !image.IsOk())
        return wxXmlResource::Get()->LoadBitmap(wxT("DEFAULT_PICON"));
    int w = image.GetWidth(), h = image.GetHeight();
    FitPicon(w, h);
    if (w != image.GetWidth() || h != image.GetHeight())
        image.Rescale(w, h, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}

void MyMainFrame::ShowPicon()
{
    if (!picon)
        return;
    const wxBitmap bmp = PiconBitmap(currentSRef);
    if (bmp.IsOk())
        picon->SetBitmap(bmp);
}

void MyMainFrame::OnTreeActivated(wxTreeEvent& event)
{
    wxTreeCtrl* t = Tree(this);
    wxTreeItemId item = event.GetItem();
    if (!t || !item.IsOk())
        return;
    if (t->ItemHasChildren(item)) {
        t->Toggle(item);
        return;
    }
    MyServicePayload* p = PayloadOf(t, item);
    if (!p || p->getMode() == 0 || IsMarkerRef(p->getSRef()))
        return;
    previousItem = currentItem;
    currentItem = item;
    SwitchService(p);
}

void MyMainFrame::OnMenuPlay(wxCommandEvent&)
{
    wxTreeCtrl* t = Tree(this);
    if (!t)
        return;
    wxTreeItemId sel = t->GetSelection();
    MyServicePayload* p = PayloadOf(t, sel);
    if (!p || IsMarkerRef(p->getSRef()))
        return;
    previousItem = currentItem;
    currentItem = sel;
    SwitchService(p);
}

void MyMainFrame::OnTreeRight(wxTreeEvent& event)
{
    wxTreeCtrl* t = Tree(this);
    wxTreeItemId item = event.GetItem();
    if (!t || !item.IsOk())
        return;
    MyServicePayload* p = PayloadOf(t, item);
    if (p) {
        t->SelectItem(item);
        int mode = p->getMode();
        if (mode == 3 && menuHD) {
            PopupMenu(menuHD);
        } else if ((mode == 1 || mode == 2) && menuTVRA) {
            if (wxMenuItem* pip = menuTVRA->FindItem(XRCID("ID_MENUITEM_TVRA_PIP")))
                pip->Enable(mode == 1 && currentMode != 2 && pipeline &&
                            GST_STATE(pipeline) == GST_STATE_PLAYING);
            PopupMenu(menuTVRA);
        } else if (mode == 0) {
            OpenBouquetEPG(item);
        }
        return;
    }
    wxString label = t->GetItemText(item);
    int kind = label == wxT("TV") ? 0 : label == wxT("RA") ? 2 : -1;
    if (kind < 0)
        return;
    wxWindowDisabler disableAll;
    wxBusyInfo wait(kind == 0 ? wxT("Einen Moment bitte, lade TV-Anbieter...")
                              : wxT("Einen Moment bitte, lade RA-Anbieter..."));
    ZPYield();
    getServices(kind, false);
}

void MyMainFrame::StepService(bool next, int buttonId)
{
    wxTreeCtrl* t = Tree(this);
    if (!t)
        return;
    if (currentItem.IsOk())
        t->SelectItem(currentItem);
    wxTreeItemId sel = t->GetSelection();
    if (!sel.IsOk())
        return;
    wxTreeItemId parent = t->GetItemParent(sel);
    if (!parent.IsOk())
        return;
    wxTreeItemId cand = next ? t->GetNextSibling(sel) : t->GetPrevSibling(sel);
    wxTreeItemIdValue cookie;
    if (next) {
        if (cand.IsOk() && !t->ItemHasChildren(cand))
            t->SelectItem(cand);
        else
            t->SelectItem(t->GetFirstChild(parent, cookie));
    } else {
        t->SelectItem(cand.IsOk() ? cand : t->GetLastChild(parent));
    }
    sel = t->GetSelection();
    if (t->GetItemImage(sel) == 9) {
        // One marker per posted click, so a row of markers is walked over.
        currentItem = sel;
        wxQueueEvent(this, new wxCommandEvent(wxEVT_BUTTON, buttonId));
        return;
    }
    MyServicePayload* p = PayloadOf(t, sel);
    if (!p)
        return;
    previousItem = currentItem;
    currentItem = sel;
    SwitchService(p);
}

void MyMainFrame::OnButtonPrevService(wxCommandEvent&)
{
    StepService(false, XRCID("ID_BUTTON_PREV_SERVICE"));
}

void MyMainFrame::OnButtonNextService(wxCommandEvent&)
{
    StepService(true, XRCID("ID_BUTTON_NEXT_SERVICE"));
}

void MyMainFrame::OnButtonRezap(wxCommandEvent&)
{
    // Before a second service has played there is nothing to return to.
    if (previousMode == 0 || previousSRef.empty())
        return;
    RezapPayload p(previousMode, previousSRef, recTitle, recDescription, recTime);
    wxTreeCtrl* t = Tree(this);
    if (t && previousItem.IsOk())
        t->SelectItem(previousItem);
    spareItem = currentItem;
    currentItem = previousItem;
    previousItem = spareItem;
    SwitchService(&p);
}

static void WalkToMarker(wxTreeCtrl* t, bool forward)
{
    if (!t)
        return;
    wxTreeItemId start = t->GetSelection();
    if (!start.IsOk())
        return;
    wxTreeItemId parent = t->GetItemParent(start);
    if (!parent.IsOk())
        return;
    std::vector<wxTreeItemId> items;
    std::vector<bool> markers;
    int at = -1;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = t->GetFirstChild(parent, cookie); c.IsOk(); c = t->GetNextChild(parent, cookie)) {
        if (c == start)
            at = int(items.size());
        items.push_back(c);
        markers.push_back(t->GetItemImage(c) == 9);
    }
    int found = FindMarker(markers, at, forward);
    if (found >= 0)
        t->SelectItem(items[found]);
}

void MyMainFrame::OnButtonPrevMarker(wxCommandEvent&)
{
    WalkToMarker(Tree(this), false);
}

void MyMainFrame::OnButtonNextMarker(wxCommandEvent&)
{
    WalkToMarker(Tree(this), true);
}

void MyMainFrame::OnToggleTVControl(wxCommandEvent& event)
{
    config.tvcontrol = event.IsChecked() ? 1 : 0;
    if (!config.tvcontrol)
        ZPMessageBox(wxT("Das Deaktivieren dieser Option wird bei Boxen mit nur einem Tuner zu "
                         "Problemen führen sobald ein Sender gestreamt werden soll, welcher nicht "
                         "auf dem selben Transponder wie der am TV gesehene liegt!"),
                     wxOK | wxICON_WARNING, this);
}

void MyMainFrame::EPGTimer(wxTimerEvent&)
{
    getNowNext(true);
    getNowNext(false);
}

void MyMainFrame::ZAPTimer(wxTimerEvent&)
{
    if (ReminderNotYetDue())
        return;
    MyServicePayload* p = dynamic_cast<MyServicePayload*>(pendingZap);
    if (!p)
        return;
    previousItem = currentItem;
    SwitchService(p);
}
