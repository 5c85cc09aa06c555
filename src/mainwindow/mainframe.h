// The main window: channel tree, video panel, programme information, and the
// owner of live playback.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/treectrl.h>
#include <wx/arrstr.h>

class MyTreeCtrl;
class wxGauge;
class wxBitmapComboBox;
class wxStaticText;
class wxStaticBitmap;
class wxStaticBoxSizer;
class wxToggleButton;
class wxPanel;
class wxMenu;
class wxHtmlHelpController;

// Timer ids owned by the main window.
enum {
    ID_TIMER_EPG = 1,
    ID_TIMER_ZAP = 2,
    ID_TIMER_CHK = 3,
    ID_TIMER_OSD = 4,
    ID_TIMER_MPB = 5,
    ID_TIMER_SYN = 6,
};

class MyMainFrame : public wxFrame {
public:
    MyMainFrame();
    ~MyMainFrame() override;

    // ---- state of what plays ----
    wxString currentSRef;
    wxString previousSRef;
    int currentMode = 0;   // 1 TV, 2 radio, 3 recording
    int previousMode = 0;
    wxTreeItemId currentItem, previousItem, spareItem;
    wxTreeItemData* pendingZap = nullptr;
    int videoTarget = 0;   // 0 panel, 1 video window, 2 full screen, 3 desktop
    wxString recTitle, recDescription, recTime;
    wxString nowTitle, nowText, nextText;
    int bufferPercent = 0;
    wxArrayString movieLocations;
    bool inStandby = false;

    // ---- controls (looked up by their resource names) ----
    wxPanel* videoPanel = nullptr;
    MyTreeCtrl* tree = nullptr;
    wxTreeItemId treeRoot;
    wxTreeItemId grpTV, grpRA, grpHD;
    wxTreeItemId grpTVOwn, grpTVProv, grpTVAll;     // "Eigene Listen", "Anbieter", "Sender"
    wxTreeItemId grpRAOwn, grpRAProv, grpRAAll;
    wxTreeItemId grpHDAll, grpHDGenres, grpHDPaths; // "Gesamt", "Genres", "Pfade"
    wxGauge* volumeGauge = nullptr;
    wxGauge* progressGauge = nullptr;
    wxBitmapComboBox* audioChoice = nullptr;
    wxBitmapComboBox* videoChoice = nullptr;
    wxStaticText* infoText[6] = {};
    wxStaticBitmap* picon = nullptr;
    wxStaticBoxSizer* boxMode = nullptr;    // ID_BOXSIZER1
    wxStaticBoxSizer* boxInfo = nullptr;    // ID_BOXSIZER2
    wxStaticBoxSizer* boxAV = nullptr;      // ID_BOXSIZER3
    wxToggleButton* tvControlButton = nullptr;
    wxMenu* menuTVRA = nullptr;
    wxMenu* menuHD = nullptr;
    wxHtmlHelpController* help = nullptr;

    wxTimer epgTimer, zapTimer, chkTimer, osdTimer, mpbTimer, synTimer;
    wxTimer* startTimer = nullptr;   // the one-shot start-up timer handed over by the application

    // ---- frame, closing ----
    void OnClose(wxCloseEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);

    // ---- channel lists, now/next, tracks ----
    // Tree payloads derive from MyServicePayload (webif/payload.h):
    // MyChannelItemData here, MyMovieItemData for recordings.

    // ---- playback, switching, supervision ----
    // SwitchService takes a MyServicePayload* (webif/payload.h), owned by the caller.

private:
    wxDECLARE_EVENT_TABLE();
};
