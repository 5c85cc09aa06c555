// Construction and closing of the main window, its keys and the about box.
#include "mainwindow/mainframe.h"

#include <gst/gst.h>
#include <wx/bmpcbox.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/gauge.h>
#include <wx/html/helpctrl.h>
#include <wx/imaglist.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/tglbtn.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/guards.h"
#include "app/seams.h"
#include "mainwindow/aboutdialog.h"
#include "mainwindow/framerules.h"
#include "mainwindow/taskbaricon.h"
#include "mainwindow/toplevel.h"
#include "mainwindow/treectrl.h"
#include "stream/pipeline.h"

wxBEGIN_EVENT_TABLE(MyMainFrame, wxFrame)
    EVT_CLOSE(MyMainFrame::OnClose)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyMainFrame::OnKey)
    EVT_MENU(XRCID("ID_MENUITEM3"), MyMainFrame::OnAbout)
    // wxEVT_GST: see GStreamerNotify
    // -- main-window commands, video windows
    // -- end of main-window commands, video windows

    // -- settings
    EVT_MENU(XRCID("ID_MENUITEM2"), MyMainFrame::OnSettings)
    // -- end of settings

    // -- EPG and timers
    EVT_MENU(XRCID("ID_TOOL_CHANNELEPG"), MyMainFrame::OnToolChannelEPG)
    EVT_MENU(XRCID("ID_TOOL_BOUQUETEPG"), MyMainFrame::OnToolBouquetEPG)
    EVT_MENU(XRCID("ID_TOOL_EPGSEARCH"), MyMainFrame::OnToolEPGSearch)
    EVT_MENU(XRCID("ID_TOOL_TIMER"), MyMainFrame::OnToolTimer)
    EVT_MENU(XRCID("ID_MENUITEM_TVRA_EPG"), MyMainFrame::OnMenuTVRAEPG)
    // -- end of EPG and timers

    // -- recordings
    // -- end of recordings

    // -- teletext
    EVT_MENU(XRCID("ID_TOOL_TELETEXT"), MyMainFrame::OnToolTeletext)
    // -- end of teletext

    // -- receiver tools
    // -- end of receiver tools

    // -- picture-in-picture and capture
    // -- end of picture-in-picture and capture

    // -- network services
    // -- end of network services
wxEND_EVENT_TABLE()

namespace {

// Tools that only make sense while a stream runs; the pipeline events enable them.
const char* const kStreamTools[] = {
    "ID_TOOL_REW", "ID_TOOL_FWD", "ID_TOOL_RECORD", "ID_TOOL_FULLSCREEN",
    "ID_TOOL_STANDALONE", "ID_TOOL_WALLPAPER", "ID_TOOL_TELETEXT",
    "ID_TOOL_STREAMINFO", "ID_TOOL_SCREENSHOT",
};

// Tree images in index order: closed, open, leaf of TV/RA/HD, marker.
const char* const kTreeImages[] = {
    "IMG_TREE_TV_C", "IMG_TREE_RA_C", "IMG_TREE_HD_C",
    "IMG_TREE_TV_O", "IMG_TREE_RA_O", "IMG_TREE_HD_O",
    "IMG_TREE_TV", "IMG_TREE_RA", "IMG_TREE_HD", "IMG_TREE_MARKER",
};

bool FileExists(const wxString& path) { return wxFileExists(path); }

wxStaticBoxSizer* BoxSizer(wxWindow* parent, const char* name)
{
    auto* box = dynamic_cast<wxStaticBox*>(parent->FindWindow(XRCID(name)));
    return box ? dynamic_cast<wxStaticBoxSizer*>(box->GetContainingSizer()) : nullptr;
}

} // namespace

MyMainFrame::MyMainFrame()
{
    // layout, controls, popup menus
    loaded = wxXmlResource::Get()->LoadFrame(this, nullptr, wxT("ID_MAINFRAME"));
    if (!loaded) {
        wxLogError(wxT("Das Hauptfenster konnte nicht geladen werden!"));
        return;
    }
    SetIcon(wxXmlResource::Get()->LoadIcon(wxT("IMG_ICON_TASKBAR")));
    videoPanel = XRCCTRL(*this, "ID_VIDEOWINDOW", wxPanel);
    tree = XRCCTRL(*this, "ID_TREECTRL1", MyTreeCtrl);
    volumeGauge = XRCCTRL(*this, "ID_GAUGE_VOLUME", wxGauge);
    progressGauge = XRCCTRL(*this, "ID_GAUGE_PROGRESS", wxGauge);
    audioChoice = XRCCTRL(*this, "ID_CHOICE_AUDIO", wxBitmapComboBox);
    videoChoice = XRCCTRL(*this, "ID_CHOICE_VIDEO", wxBitmapComboBox);
    for (int i = 0; i < 6; i++)
        infoText[i] = dynamic_cast<wxStaticText*>(FindWindow(XRCID(wxString::Format(wxT("ID_STATICTEXT%d"), i + 1))));
    picon = XRCCTRL(*this, "ID_STATIC_PICON", wxStaticBitmap);
    boxMode = BoxSizer(this, "ID_BOXSIZER1");
    boxInfo = BoxSizer(this, "ID_BOXSIZER2");
    boxAV = BoxSizer(this, "ID_BOXSIZER3");
    tvControlButton = XRCCTRL(*this, "ID_TOGGLEBUTTON_TV", wxToggleButton);
    menuTVRA = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_TVRA"));
    menuHD = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_HD"));

    // stream tools wait for a stream
    if (wxToolBar* tools = GetToolBar()) {
        for (const char* name : kStreamTools)
            tools->EnableTool(XRCID(name), false);
    }
    if (volumeGauge)
        volumeGauge->Disable();

    // tree: invisible root, three lists with three groups each
    if (tree) {
        auto* images = new wxImageList(16, 16, true, 10);
        for (const char* name : kTreeImages) {
            wxBitmap bmp = wxXmlResource::Get()->LoadBitmap(name);
            images->Add(bmp.IsOk() ? bmp : wxBitmap(16, 16));
        }
        tree->AssignImageList(images);
        treeRoot = tree->AddRoot(wxT("TREEROOT"));
        struct List {
            wxTreeItemId* top;
            const wxChar* label;
            wxTreeItemId* groups[3];
            const wxChar* names[3];
        } lists[] = {
            { &grpTV, wxT("TV"), { &grpTVOwn, &grpTVProv, &grpTVAll },
              { wxT("Eigene Listen"), wxT("Anbieter"), wxT("Sender") } },
            { &grpRA, wxT("RA"), { &grpRAOwn, &grpRAProv, &grpRAAll },
              { wxT("Eigene Listen"), wxT("Anbieter"), wxT("Sender") } },
            { &grpHD, wxT("HD"), { &grpHDAll, &grpHDGenres, &grpHDPaths },
              { wxT("Gesamt"), wxT("Genres"), wxT("Pfade") } },
        };
        for (int k = 0; k < 3; k++) {
            const int closed = k, opened = k + 3;
            *lists[k].top = tree->AppendItem(treeRoot, lists[k].label, closed);
            tree->SetItemImage(*lists[k].top, opened, wxTreeItemIcon_Expanded);
            tree->SetItemBold(*lists[k].top, true);
            for (int g = 0; g < 3; g++) {
                wxTreeItemId id = tree->AppendItem(*lists[k].top, lists[k].names[g], closed);
                tree->SetItemImage(id, opened, wxTreeItemIcon_Expanded);
                tree->SetItemBold(id, true);
                *lists[k].groups[g] = id;
            }
        }
    }

    // TV control
    if (tvControlButton)
        tvControlButton->SetValue(config.tvcontrol != 0);

    // stream sources of the valid profiles
    UpdateSettingsMenus();

    // timers (started by the playback code)
    epgTimer.SetOwner(this, ID_TIMER_EPG);
    zapTimer.SetOwner(this, ID_TIMER_ZAP);
    chkTimer.SetOwner(this, ID_TIMER_CHK);
    osdTimer.SetOwner(this, ID_TIMER_OSD);
    mpbTimer.SetOwner(this, ID_TIMER_MPB);
    synTimer.SetOwner(this, ID_TIMER_SYN);

    // help book of the configured language, German as fallback
    static bool archiveHandler = false;
    if (!archiveHandler) {
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
        archiveHandler = true;
    }
    help = new wxHtmlHelpController(wxHF_DEFAULT_STYLE | wxHF_CONTENTS | wxHF_SEARCH, this);
    help->SetTitleFormat(wxT("Zappora Hilfe"));
    const wxString book = ChooseHelpBook(BIN_PATH, config.language, FileExists);
    if (book.empty())
        wxLogVerbose(wxT("Verbose: keine Hilfedatei in %s gefunden"), BIN_PATH + wxT("hlp"));
    else
        help->AddBook(wxFileName(book));

    // the long texts keep their width when they are emptied
    for (int column : { 1, 2 }) {
        wxStaticText* now = infoText[column];
        wxStaticText* next = infoText[column + 3];
        if (!now || !next)
            continue;
        const wxSize size = now->GetSize();
        now->SetMinSize(size);
        next->SetMinSize(size);
    }

    // stored position; the size follows from the layout
    if (config.mainwin_x != -1 && config.mainwin_y != -1)
        Move(config.mainwin_x, config.mainwin_y);

    // picture in the own panel
    videoTarget = 0;
    earlierTarget = 0;

    // volume
    if (volumeGauge) {
        SetGaugeValue(volumeGauge, config.volume);
        volumeGauge->SetToolTip(wxString::Format(wxT("Lautstärke %d"), volumeGauge->GetValue()));
    }

    BindPlayback();

    // size from the layout, but never narrower than the tool bar
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    if (wxToolBar* tools = GetToolBar()) {
        const int width = tools->GetBestSize().x;
        if (GetClientSize().x < width) {
            SetClientSize(width, GetClientSize().y);
            SetMinClientSize(GetClientSize());
        }
    }
    if (wxWindow* panel = FindWindow(XRCID("ID_PANEL")))
        panel->Layout();
}

MyMainFrame::~MyMainFrame()
{
    StopPipeline();
    epgTimer.Stop();
    zapTimer.Stop();
    chkTimer.Stop();
    osdTimer.Stop();
    mpbTimer.Stop();
    synTimer.Stop();
    delete menuTVRA;
    delete menuHD;
    delete help;
    delete startTimer;
    if (MainFrame == this)
        MainFrame = nullptr;
}

void MyMainFrame::OnClose(wxCloseEvent& event)
{
    if (CloseNeedsQuestion(SplashIsActive, runConfig, config.expertmode != 0, event.CanVeto())) {
        if (ZPMessageBox(_(wxT("Das Programm wirklich beenden?")), wxYES_NO | wxICON_QUESTION, this)
            != wxYES) {
            event.Veto();
            return;
        }
    }

    epgTimer.Stop();
    zapTimer.Stop();

    if (!SplashIsActive && !runConfig) {
        wxMenuItem* download = menuHD ? menuHD->FindItem(XRCID("ID_MENUITEM_HD_DOWNLOAD")) : nullptr;
        if (download && !download->IsEnabled() && event.CanVeto()) {
            ZPMessageBox(_(wxT("Das Programm kann nicht beendet werden solange noch ein Download aktiv ist!")),
                         wxOK | wxICON_WARNING, this);
            event.Veto();
            return;
        }
    }
    // Streaming threads post to this window and write into it: the pipeline
    // stops before the window goes, also when closing during the start.
    if (pipeline) {
        gst_element_set_state(pipeline, GST_STATE_READY);
        gst_element_get_state(pipeline, nullptr, nullptr, 3 * GST_SECOND);
    }

    // The main window's own geometry is read before the other windows go,
    // the log window last so that nothing logged while closing is lost.
    const wxPoint pos = GetPosition();
    const wxSize size = GetSize();
    config.mainwin_x = pos.x;
    config.mainwin_y = pos.y;
    config.mainwin_w = size.x;
    config.mainwin_h = size.y;
    DestroyOtherTopLevelWindows();

    if (!SetConfig(false))
        wxLogError(wxT("Die Konfiguration konnte nicht gespeichert werden!"));
    if (TaskBarIcon) {
        TaskBarIcon->Destroy();
        TaskBarIcon = nullptr;
    }
    Destroy();
}

void MyMainFrame::OnKey(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case WXK_ESCAPE:
        Close();
        break;
    case WXK_F1:
        if (help)
            help->Display(wxT("Hauptfenster.htm"));
        break;
    }
    event.Skip();
}

void MyMainFrame::OnAbout(wxCommandEvent&)
{
    auto* dialog = new MyAboutDialog(this);
    if (dialog->loaded)
        dialog->ShowModal();
    dialog->Destroy();
}
