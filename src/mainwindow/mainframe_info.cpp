// What the receiver does now, shown in the main window: standby, current
// service, now/next, audio tracks, sub-services and similar events.
#include "mainwindow/mainframe.h"

#include <ctime>
#include <wx/bmpcbox.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/guards.h"
#include "stream/pipeline.h"
#include "webif/current.h"
#include "webif/itemdata.h"
#include "webif/webif.h"

static void SetBoxLabel(wxStaticBoxSizer* box, const wxString& label)
{
    if (box && box->GetStaticBox())
        box->GetStaticBox()->SetLabel(label);
}

bool MyMainFrame::getStandbyState()
{
    if (!getWebIF("powerstate?newstate=-1"))
        return false;
    return ParseStandbyState(result);
}

bool MyMainFrame::getCurrent()
{
    if (!getWebIF("getcurrent"))
        return false;
    wxString ref, name;
    if (ParseCurrentService(result, ref, name)) {
        currentSRef = CurrentRefFromReply(ref, currentSRef);
        currentMode = ModeFromRef(ref, currentMode);
        nowTitle = name;
    }
    return true;
}

bool MyMainFrame::getNowNext(bool now)
{
    return getNowNextAt(now, (long)time(nullptr));
}

bool MyMainFrame::getNowNextAt(bool now, long clock)
{
    const wxString path = wxString::Format(now ? wxT("epgservicenow?sRef=%s") : wxT("epgservicenext?sRef=%s"),
                                           QueryValue(currentSRef));
    if (!getWebIF(path))
        return false;
    EventFields ev;
    if (!ParseEventFields(result, ev))
        return true;

    if (!now) {
        const NowNextTexts t = NextEventTexts(ev);
        if (infoText[3]) infoText[3]->SetLabel(t.start);
        if (infoText[4]) infoText[4]->SetLabel(t.title);
        if (infoText[5]) infoText[5]->SetLabel(t.time);
        nextText = t.combined;
        return true;
    }

    // The box label drops single ampersands like any label.
    wxString shownName(ev.serviceName);
    shownName.Replace(wxT("&"), wxT("&&"));
    SetBoxLabel(boxInfo, wxString::Format(wxT(" Programminfo [ %s ] "), shownName));
    nowTitle = ev.serviceName;
    const NowNextTexts t = NowEventTexts(ev, (time_t)clock);
    if (infoText[0]) infoText[0]->SetLabel(t.start);
    if (infoText[1]) infoText[1]->SetLabel(t.title);
    if (infoText[2]) infoText[2]->SetLabel(t.time);
    nowText = t.combined;
    SetGaugeRange(progressGauge, t.gaugeRange);
    SetGaugeValue(progressGauge, t.gaugeValue);
    return true;
}

void MyMainFrame::updateAVLabel()
{
    SetBoxLabel(boxAV, wxString::Format(wxT(" AV-Optionen [ %d Audio | %d Video ] "),
                                        audioChoice ? (int)audioChoice->GetCount() : 0,
                                        videoChoice ? (int)videoChoice->GetCount() : 0));
}

int MyMainFrame::getAudioTracks()
{
    std::vector<AudioTrack> tracks;
    bool rootOk = false, wellFormed = false;
    // The receiver sometimes answers with a cut document while it switches tracks.
    for (int attempt = 1; attempt <= 5; ++attempt) {
        if (!getWebIF("getaudiotracks"))
            return 0;
        tracks.clear();
        rootOk = ParseAudioTracks(result, tracks, wellFormed);
        if (wellFormed)
            break;
        if (attempt == 5)
            return 0;
        wxMilliSleep(AudioTrackRetryDelay());
    }

    if (rootOk && audioChoice && audioChoice->GetCount() == tracks.size()) {
        for (unsigned i = 0; i < audioChoice->GetCount(); ++i) {
            MyChoiceItemData* item = dynamic_cast<MyChoiceItemData*>(audioChoice->GetClientObject(i));
            if (!item)
                continue;
            const int t = FindTrackByPid(tracks, item->getData());
            if (t < 0)
                continue;
            audioChoice->SetString(i, tracks[t].description);
            item->setAudioTrackID(tracks[t].id);
            if (tracks[t].active == wxT("True")) {
                // The receiver's own track is the one the speakers play too.
                long pid = 0;
                if (item->getData().ToLong(&pid))
                    SelectAudioTrackOfPid(int(pid));
                audioChoice->SetSelection(i);
                wxCommandEvent select(wxEVT_COMBOBOX, XRCID("ID_CHOICE_AUDIO"));
                select.SetEventObject(audioChoice);
                select.SetInt(i);
                select.SetString(tracks[t].description);
                select.SetClientObject(item);
                GetEventHandler()->ProcessEvent(select);
            }
        }
    }
    updateAVLabel();
    return (int)tracks.size();
}

void MyMainFrame::getVideoTracks()
{
    const wxString path = wxString::Format(wxT("streamsubservices?sRef=%s"), QueryValue(currentSRef));
    if (!getWebIF(path))
        return;
    std::vector<SubService> subs;
    bool wellFormed = false;
    const bool rootOk = ParseSubServices(result, subs, wellFormed);
    if (!wellFormed || !videoChoice)
        return;
    if (rootOk) {
        videoChoice->Clear();
        videoChoice->Disable();
        const wxBitmap bitmap = wxXmlResource::Get()->GetResourceNode(wxT("IMG_CHOICE_VIDEO"))
                                    ? wxXmlResource::Get()->LoadBitmap(wxT("IMG_CHOICE_VIDEO"))
                                    : wxBitmap();
        for (const SubService& sub : subs) {
            if (!sub.ref.StartsWith(wxT("1:0:1")))
                continue;
            for (int i = (int)videoChoice->GetCount() - 1; i >= 0; --i) {
                MyChoiceItemData* item = dynamic_cast<MyChoiceItemData*>(videoChoice->GetClientObject(i));
                if (item && sub.ref.Contains(item->getData())) {
                    wxLogVerbose(wxT("Verbose: doppelter Unterkanal \"%s\" [ %s ] gelöscht"),
                                 videoChoice->GetString(i), item->getData());
                    videoChoice->Delete(i);
                }
            }
            const int n = videoChoice->Append(sub.name.empty() ? wxString(wxT("?")) : sub.name, bitmap,
                                              new MyChoiceItemData(sub.ref));
            if (sub.ref.Contains(currentSRef))
                videoChoice->SetSelection(n);
        }
        if (videoChoice->GetCount() > 0)
            videoChoice->Enable();
    }
    updateAVLabel();
}

wxString MyMainFrame::getEPGSimilar(const wxString& sRef, const wxString& eventId)
{
    if (!getWebIF(wxT("epgsimilar?sRef=") + QueryValue(sRef) + wxT("&eventid=") + QueryValue(eventId)))
        return wxString();
    return FormatSimilarEvents(result);
}
