// The start-up sequence run by the splash window.
#include "app/splashframe.h"

#include <wx/log.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/startup.h"
#include "mainwindow/mainframe.h"
#include "webif/current.h"
#include "webif/webif.h"
#include "webif/payload.h"
#include "stream/pipeline.h"
#include "mainwindow/videoframe.h"
#include "mainwindow/fullframe.h"
#include "mainwindow/taskbaricon.h"
#include "mainwindow/treectrl.h"
#include <wx/xrc/xmlres.h>

namespace {
// The start service as a payload for SwitchService.
class StartPayload : public MyServicePayload {
public:
    StartPayload(int mode, const wxString& sref) : mode_(mode), sref_(sref) {}
    int getMode() const override { return mode_; }
    wxString getSRef() const override { return sref_; }
private:
    int mode_;
    wxString sref_;
};
}

// Shows the windows of the start mode and points the picture at them.
static void ShowStartWindows(MyMainFrame* mf)
{
    switch (startMode) {
    case 2:
        mf->Show();
        if (FullscreenFrame)
            FullscreenFrame->Show();
        mf->videoTarget = 2;
        break;
    case 3:
        if (TaskBarIcon)
            TaskBarIcon->SetIcon(wxXmlResource::Get()->LoadIcon(wxT("IMG_ICON_TASKBAR")), wxT("Zappora E2"));
        mf->videoTarget = 3;
        break;
    case 1:
        if (VideoFrame) {
            VideoFrame->SetTitle(mf->nowTitle);
            VideoFrame->Show();
        }
        mf->videoTarget = 1;
        break;
    default:
        mf->Show();
        break;
    }
}

// The request layer has told the user why; closing the main window ends the
// program (still as part of the start, so without asking).
void MySplashFrame::Fail()
{
    if (MainFrame)
        MainFrame->Close(false);
    SplashIsActive = false;
    ReleaseDrag();
    Destroy();
}

void MySplashFrame::InitTimer(wxTimerEvent&)
{
    MyMainFrame* mf = MainFrame;

    // 1. who is there
    if (!getWebIF("deviceinfo") && SplashHasError)
        return Fail();
    DeviceInfo info = ParseDeviceInfo(result);
    if (info.valid) {
        wxLogMessage(wxT("%s [ WebIF %s ]"), info.model.Upper(), info.version);
        WebIFVersion v = ParseWebIFVersion(info.version);
        if (v.tooOld())
            wxLogWarning(wxT("WebIF Version %d.%d.%d zu alt, mindestens Version %d.%d.%d erforderlich"),
                         v.major, v.minor, v.patch, 1, 6, 2);
    }

    // 2./3. what the receiver is doing
    if (!DontCheckStandby) {
        UpdateStatus(wxT("Standby-Status ermitteln..."));
        mf->inStandby = mf->getStandbyState();
        if (SplashHasError)
            return Fail();
        if (mf->inStandby)
            getWebIF("powerstate?newstate=0");

        UpdateStatus(wxT("aktuellen Service ermitteln..."));
        mf->getCurrent();
        if (SplashHasError)
            return Fail();
        if (mf->inStandby)
            getWebIF("powerstate?newstate=0");
    } else {
        mf->currentSRef = override_sref;
        mf->currentMode = ModeFromRef(override_sref, mf->currentMode);
    }

    // 4.-7. the lists
    UpdateStatus(wxT("TV-Bouquets laden..."));
    mf->ownBouquetCount = -1;
    mf->getServices(1, false);
    if (SplashHasError)
        return Fail();
    UpdateStatus(wxT("RA-Bouquets laden..."));
    mf->getServices(3, false);
    if (SplashHasError)
        return Fail();
    if (config.tvproviders) {
        UpdateStatus(wxT("TV-Anbieter laden..."));
        mf->getServices(0, false);
        if (SplashHasError)
            return Fail();
    }
    if (config.raproviders) {
        UpdateStatus(wxT("RA-Anbieter laden..."));
        mf->getServices(2, false);
        if (SplashHasError)
            return Fail();
    }

    // 8. the pipeline
    UpdateStatus(wxT("GStreamer initialisieren..."));
    if (!GStreamerInit())
        return Fail();

    UpdateStatus(wxT("Zappora starten..."));
    ShowStartWindows(mf);

    if (startItem.IsOk())
        mf->tree->SelectItem(startItem);
    mf->currentItem = mf->tree->GetSelection();
    mf->previousItem = mf->currentItem;

    if (!mf->currentSRef.empty()) {
        StartPayload start(mf->currentMode, mf->currentSRef);
        mf->currentSRef.clear();
        mf->SwitchService(&start);
    }
    mf->previousSRef = mf->currentSRef;
    mf->previousMode = mf->currentMode;

    SplashIsActive = false;
    ReleaseDrag();
    Destroy();
}
