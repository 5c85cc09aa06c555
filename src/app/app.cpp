#include "app/app.h"
#include "app/cmdline.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/gstlog.h"
#include "app/language.h"
#include "app/logframe.h"
#include "app/seams.h"
#include "app/splashframe.h"
#include "app/toolkit.h"
#include "app/windows.h"
#include "mainwindow/mainframe.h"
#include "settings/setupdialog.h"
#include "settings/tooltips.h"

#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/snglinst.h>
#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

extern void InitXmlResource();

namespace {

wxLocale* g_locale = nullptr;

void RemoveProxyVariables()
{
    // libcurl also honours the upper-case and catch-all forms
    static const char* const names[] = {"https_proxy", "http_proxy", "ftp_proxy",
                                        "HTTPS_PROXY", "FTP_PROXY", "all_proxy", "ALL_PROXY"};
    for (const char* name : names)
        wxUnsetEnv(name);
}

void ReleaseChecker()
{
    delete checker;
    checker = nullptr;
}

}  // namespace

wxBEGIN_EVENT_TABLE(MyApp, wxApp)
    EVT_COMMAND(GST_EVENT_LOG, wxEVT_GST, MyApp::OnGstLog)
wxEND_EVENT_TABLE()

bool MyApp::OnInit()
{
    // until the log window takes over, nothing may pop up a box of its own
    delete wxLog::SetActiveTarget(new wxLogStderr);

    {
        wxLogNull quiet;
        g_locale = new wxLocale;
        g_locale->Init(wxLANGUAGE_DEFAULT, wxLOCALE_LOAD_DEFAULT);
    }

    int count = GetConfig();
    if (count == 0) {
        runConfig = true;
        count = 1;
    }

    SetupLanguage(config, BIN_PATH);

    {
        wxLogNull quiet;
        checker = new wxSingleInstanceChecker;
        if (checker->Create(wxT("zappora.lock"), CFG_PATH) && checker->IsAnotherRunning()) {
            if (ZPMessageBox(_(wxT("Zappora läuft bereits auf diesem System.\n\n"
                                   "Soll es nochmal gestartet werden?")),
                             wxYES_NO | wxICON_QUESTION) != wxYES) {
                ReleaseChecker();
                return false;
            }
        }
    }

    wxArrayString args;
    for (int i = 0; i < argc; i++)
        args.Add(argv[i]);
    if (!ApplyCommandLine(EvaluateCommandLine(args, count))) {
        ReleaseChecker();
        return false;
    }

    RemoveProxyVariables();

    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();

    LogFrame = new MyLogFrame();
    if (!runConfig)
        SplashFrame = new MySplashFrame();
    if (!CreateTopLevelWindows() || !MainFrame) {
        // the hidden log window would swallow the reason
        delete wxLog::SetActiveTarget(new wxLogStderr);
        wxLogError(wxT("Das Hauptfenster konnte nicht erstellt werden."));
        ReleaseChecker();
        return false;
    }
    SetTopWindow(MainFrame);

    if (!config.tooltips)
        SetToolTipsEnabled(false);
    wxLogMessage(wxT("GDK-Backend: %s"), GdkBackendDescription());
    if (compatibility)
        wxLogWarning(_(wxT("Kompatibilitätsmodus aktiv!")));
    if (config.proxyvalid && config.proxymode) {
        // the password stays out of the log: it is copied and saved from there
        wxLogMessage(_(wxT("Verbindung über Proxy [%s:%s@%s:%d]")), config.proxy.user, wxT("***"),
                     config.proxy.host, int(config.proxy.port));
    }
    return true;
}

int MyApp::OnRun()
{
    if (!BeginStart() && !MainFrame)
        return 0;
    return wxApp::OnRun();
}

bool BeginStart()
{
    if (runConfig) {
        // no usable receiver yet: the settings on the receiver page first
        bool applied = false;
        if (MainFrame) {
            auto* dialog = new MySetupDialog(MainFrame, MySetupDialog::PAGE_NETWORK);
            if (dialog->loaded) {
                dialog->CentreOnScreen();
                applied = dialog->ShowModal() == MySetupDialog::RESULT_APPLIED;
            }
            dialog->Destroy();
        }
        if (!applied && config.profiles > 0) {
            // "-c" with usable receivers: leaving the dialog keeps them
            runConfig = false;
        } else if (!applied) {
            ZPMessageBox(_(wxT("Es wurde keine gültige Konfiguration gefunden!\n\nDas Programm wird nun beendet...")),
                         wxOK | wxICON_ERROR);
            if (MainFrame)
                MainFrame->Close(true);
            return false;
        }
        SplashFrame = new MySplashFrame();
    }
    return StartStartupTimer() != nullptr;
}

wxTimer* StartStartupTimer()
{
    if (!MainFrame)
        return nullptr;
    // the splash window runs the sequence; the main window keeps the timer
    wxEvtHandler* owner = SplashFrame ? static_cast<wxEvtHandler*>(SplashFrame)
                                      : static_cast<wxEvtHandler*>(MainFrame);
    wxTimer* timer = new wxTimer(owner, 1);
    delete MainFrame->startTimer;
    MainFrame->startTimer = timer;
    timer->StartOnce(250);
    return timer;
}

int MyApp::OnExit()
{
    ReleaseChecker();
    return 0;
}

int FilterKeyEvent(wxEvent& event)
{
    if (event.GetEventType() != wxEVT_KEY_DOWN)
        return -1;
    wxKeyEvent& key = static_cast<wxKeyEvent&>(event);
    wxWindow* window = dynamic_cast<wxWindow*>(key.GetEventObject());
    if (window) {
        wxCommandEvent command(wxEVT_KEY, key.GetKeyCode());
        command.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(command);
    }
    return 0;
}

int MyApp::FilterEvent(wxEvent& event)
{
    return FilterKeyEvent(event);
}

void MyApp::OnGstLog(wxCommandEvent& event)
{
    LogGstEvent(event);
}

wxIMPLEMENT_APP_NO_MAIN(MyApp);
