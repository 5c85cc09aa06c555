// The main window: channel tree, video panel, programme information, and the
// owner of live playback.
#pragma once

#include <atomic>
#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/treectrl.h>
#include <wx/arrstr.h>
#include <memory>

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
class wxBitmap;

// The channel logo of a service from the program's "pic" directory, fitted
// into the picon slot (see FitPicon), or the resource bitmap DEFAULT_PICON
// when there is none.
wxBitmap PiconBitmap(const wxString& sRef);

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
    int earlierTarget = 0; // where full screen returns to: 0 main window, 1 video window
    wxString recTitle, recDescription, recTime;
    wxString nowTitle, nowText, nextText;
    std::atomic<int> bufferPercent{0};   // written by the pipeline's bus handler
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
    bool loaded = false;   // the layout was found in the resources
    void OnClose(wxCloseEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);

    // ---- channel lists, now/next, tracks ----
    // kind: 0 TV providers, 1 TV bouquets, 2 radio providers, 3 radio bouquets
    void getServices(int kind, bool resetSearch);
    // Appends an already parsed list of one kind to the tree (getServices' second half).
    void addServices(int kind, const std::vector<struct ServiceBouquet>& list);
    int ownBouquetCount = -1;            // index of the last own-bouquet menu, -1 none
    wxMenu* ownBouquetMenu[100] = {};    // favourites menus of the TV bouquets
    wxString ownBouquetName[100];
    wxTreeItemId ownBouquetItem[100];
    bool serviceFound = false;           // the current service has been met while loading
    wxTreeItemId startItem;              // its first tree entry, selected by the start-up sequence

    bool getStandbyState();
    bool getCurrent();
    bool getNowNext(bool now);
    bool getNowNextAt(bool now, long clock);  // clock: seconds since the epoch
    int getAudioTracks();
    void getVideoTracks();
    wxString getEPGSimilar(const wxString& sRef, const wxString& eventId);
    void updateAVLabel();
    // Tree payloads derive from MyServicePayload (webif/payload.h):
    // MyChannelItemData here, MyMovieItemData for recordings.

    // ---- playback, switching, supervision ----
    // SwitchService takes a MyServicePayload* (webif/payload.h), owned by the caller.
    void SwitchService(class MyServicePayload* payload);
    void BindPlayback();                   // called once by the constructor
    int retryCounter = 0;                  // start-supervision retries of the current stream
    // While a stop or switch lets queued events run, a queued play waits
    // (supervision posts stop and play together) and runs afterwards.
    bool holdPlay = false;
    bool playHeld = false;
    bool switchStopping = false;           // the stop in progress belongs to a switch
    // Controls that open dialogs register for codes 8 (stream information)
    // and 9 (download); null while the dialog is closed.
    wxStaticText* bitrateLabel[3] = {};
    wxStaticText* bufferLabel = nullptr;
    wxGauge* bufferGauge = nullptr;
    wxStaticText* downloadLabel[3] = {};
    wxGauge* downloadGauge = nullptr;
    void GStreamerNotify(wxCommandEvent& event);
    void OnPadsDone();                     // posted by the pipeline when all pads are known
    void CHKTimer(wxTimerEvent& event);
    void SYNTimer(wxTimerEvent& event);
    void MPBTimer(wxTimerEvent& event);
    void EPGTimer(wxTimerEvent& event);
    void ZAPTimer(wxTimerEvent& event);
    void OSDTimer(wxTimerEvent& event);
    void OnToolPlay(wxCommandEvent& event);
    void OnToolStop(wxCommandEvent& event);
    void OnTreeActivated(wxTreeEvent& event);
    void OnTreeRight(wxTreeEvent& event);
    void OnMenuPlay(wxCommandEvent& event);   // "ID_MENUITEM_TVRA_PLAY", "ID_MENUITEM_HD_PLAY"
    void OnButtonPrevService(wxCommandEvent& event);
    void OnButtonNextService(wxCommandEvent& event);
    void OnButtonRezap(wxCommandEvent& event);
    void OnButtonPrevMarker(wxCommandEvent& event);
    void OnButtonNextMarker(wxCommandEvent& event);
    void OnToggleTVControl(wxCommandEvent& event);
    void StreamStarted();
    void StreamStopped();
    void ShowPicon();
    void ReturnToMainWindow();
    void DrawCentred(wxWindow* panel, const char* bitmap);
    wxWindow* TargetVideoPanel();
    void StepService(bool next, int buttonId);

    // ---- main-window commands, video windows ----
    // ---- end of main-window commands, video windows ----

    // ---- settings ----
    void OnSettings(wxCommandEvent& event);   // "Konfiguration"
    // Profile entries of "Streamquelle" ("#n: name", unused ones disabled, the
    // active one checked) and the sort entry of the recordings menu, from the record.
    void UpdateSettingsMenus();
    // ---- end of settings ----

    // ---- EPG and timers ----
    // The one pending reminder: the zap timer switches to pendingZap once
    // the EPG clock reaches reminderDue; longer waits re-arm in steps.
    std::unique_ptr<wxTreeItemData> reminderPayload;
    long long reminderDue = 0;
    // Takes the payload (a MyServicePayload) and starts the zap timer.
    void SetReminder(wxTreeItemData* payload, long long delaySeconds);
    // True (and the zap timer re-armed) while the reminder is not yet due.
    bool ReminderNotYetDue();
    void OpenChannelEPG(const wxString& sRef);
    // The bouquet guide for a bouquet node of the channel tree.
    void OpenBouquetEPG(const wxTreeItemId& item);
    void OnToolChannelEPG(wxCommandEvent& event);
    void OnToolBouquetEPG(wxCommandEvent& event);
    void OnToolEPGSearch(wxCommandEvent& event);
    void OnToolTimer(wxCommandEvent& event);
    void OnMenuTVRAEPG(wxCommandEvent& event);
    // ---- end of EPG and timers ----

    // ---- recordings ----
    // ---- end of recordings ----

    // ---- teletext ----
    // Opens the teletext viewer while a stream with teletext plays.
    void OnToolTeletext(wxCommandEvent& event);
    // ---- end of teletext ----

    // ---- receiver tools ----
    // ---- end of receiver tools ----

    // ---- picture-in-picture and capture ----
    // ---- end of picture-in-picture and capture ----

    // ---- network services ----
    // ---- end of network services ----

private:
    wxDECLARE_EVENT_TABLE();
};
