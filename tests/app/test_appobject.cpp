#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <wx/app.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/listbook.h>
#include <wx/filename.h>
#include <wx/snglinst.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include "app/app.h"
#include "app/cmdline.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/logframe.h"
#include "app/splashframe.h"
#include "mainwindow/frame_fixture.h"
#include "mainwindow/mainframe.h"
#include "settings/setupdialog.h"
#include "apptest.h"
#include "support/msgbox.h"

namespace {

// argv as the program would get it; kept alive for the application object.
void SetArgs(std::initializer_list<const char*> options)
{
    static std::vector<std::string> storage;
    static std::vector<char*> argv;
    storage.assign({"zappora"});
    for (const char* o : options)
        storage.push_back(o);
    argv.clear();
    for (std::string& s : storage)
        argv.push_back(&s[0]);
    argv.push_back(nullptr);
    wxTheApp->argc = int(storage.size());
    wxTheApp->argv.Init(int(storage.size()), argv.data());
}

wxString ConfigDir()
{
    return wxGetHomeDir() + wxT("/.zappora/");
}

// Another running copy of the program, holding the lock until killed.
pid_t HoldLock()
{
    wxFileName::Mkdir(ConfigDir(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    pid_t child = fork();
    if (child == 0) {
        wxSingleInstanceChecker lock;
        lock.Create(wxT("zappora.lock"), ConfigDir());
        char c = 'x';
        (void)!write(ready[1], &c, 1);
        for (;;)
            pause();
    }
    char c;
    (void)!read(ready[0], &c, 1);
    close(ready[0]);
    close(ready[1]);
    return child;
}

void Release(pid_t child)
{
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// The settings dialog that OnRun demands, left with "Einstellungen verwerfen".
void DiscardSettingsWhenShown(bool* seen)
{
    WhenModal<MySetupDialog>([seen](MySetupDialog* dialog) {
        *seen = true;
        EXPECT_EQ(dialog->book->GetSelection(), MySetupDialog::PAGE_NETWORK);
        // the factory profile, ready to be filled in
        EXPECT_EQ(dialog->profileChoice->GetStringSelection(), wxT("Boxhaus"));
        EXPECT_EQ(dialog->host->GetValue(), wxT("127.0.0.1"));
        wxCommandEvent click(wxEVT_BUTTON, dialog->cancelButton->GetId());
        click.SetEventObject(dialog->cancelButton);
        dialog->cancelButton->GetEventHandler()->ProcessEvent(click);
    });
}

}  // namespace

TEST(Application, SecondInstanceAsksAndEndsOnNo)
{
    pid_t other = HoldLock();
    ASSERT_GT(other, 0);
    SetArgs({"-v"});
    MessageBoxRecorder rec(wxNO);
    EXPECT_FALSE(wxTheApp->OnInit());
    Release(other);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_EQ(rec.boxes()[0].text, wxT("Zappora läuft bereits auf diesem System.\n\nSoll es nochmal gestartet werden?"));
    EXPECT_TRUE(rec.boxes()[0].style & wxYES_NO);
    EXPECT_EQ(checker, nullptr);
    EXPECT_FALSE(cmd_verbose);
    EXPECT_EQ(LogFrame, nullptr);
}

TEST(Application, SecondInstanceGoesOnWithYes)
{
    pid_t other = HoldLock();
    ASSERT_GT(other, 0);
    SetArgs({"--help"});
    MessageBoxRecorder rec(wxYES);
    EXPECT_FALSE(wxTheApp->OnInit());
    Release(other);
    ASSERT_EQ(rec.boxes().size(), 2u);
    EXPECT_EQ(rec.boxes()[1].text, CommandLineHelp());
    EXPECT_EQ(checker, nullptr);
}

TEST(Application, HelpAndParseErrorsEndBeforeAnyWindow)
{
    SetArgs({"-c", "--help", "-s", "3"});
    {
        MessageBoxRecorder rec;
        EXPECT_FALSE(wxTheApp->OnInit());
        ASSERT_EQ(rec.boxes().size(), 1u);
        EXPECT_EQ(rec.boxes()[0].text, CommandLineHelp());
    }
    EXPECT_EQ(LogFrame, nullptr);
    EXPECT_EQ(checker, nullptr);
    // the first start wrote the default file
    EXPECT_TRUE(wxFileName::FileExists(ConfigDir() + wxT("zappora.cfg")));

    SetArgs({"--source"});
    MessageBoxRecorder rec;
    EXPECT_FALSE(wxTheApp->OnInit());
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_TRUE(rec.boxes()[0].text.StartsWith(wxT("Ein Kommandozeilen-Parameter ist fehlerhaft!")));
    EXPECT_EQ(checker, nullptr);
}

TEST(Application, StartWithoutConfigurationBuildsTheWindowsAndEnds)
{
    wxSetEnv(wxT("http_proxy"), wxT("http://127.0.0.9:3128"));
    wxSetEnv(wxT("https_proxy"), wxT("http://127.0.0.9:3128"));
    wxSetEnv(wxT("ftp_proxy"), wxT("http://127.0.0.9:3128"));
    SetArgs({"-f", "-n"});
    MessageBoxRecorder rec(wxYES);
    ASSERT_TRUE(wxTheApp->OnInit());
    EXPECT_TRUE(rec.boxes().empty());
    EXPECT_TRUE(runConfig);
    EXPECT_TRUE(compatibility);
    EXPECT_TRUE(DontCheckStandby);
    EXPECT_NE(checker, nullptr);
    EXPECT_FALSE(wxGetEnv(wxT("http_proxy"), nullptr));
    EXPECT_FALSE(wxGetEnv(wxT("https_proxy"), nullptr));
    EXPECT_FALSE(wxGetEnv(wxT("ftp_proxy"), nullptr));

    ASSERT_NE(LogFrame, nullptr);
    ASSERT_NE(MainFrame, nullptr);
    EXPECT_EQ(SplashFrame, nullptr);  // the settings dialog comes first
    EXPECT_EQ(wxTheApp->GetTopWindow(), static_cast<wxWindow*>(MainFrame));
    EXPECT_FALSE(LogFrame->IsShown());
    EXPECT_EQ(LogFrame->count(LOG_WRN), 1);
    EXPECT_TRUE(LogFrame->text_->GetValue().Contains(wxT(": Warning: Kompatibilitätsmodus aktiv!\n")));
    EXPECT_TRUE(LogFrame->text_->GetValue().Contains(wxT(": GDK-Backend: x11")));

    // no valid profile, and the settings dialog left without one: the program ends
    bool seen = false;
    DiscardSettingsWhenShown(&seen);
    EXPECT_EQ(wxTheApp->OnRun(), 0);
    EXPECT_TRUE(seen);
    ASSERT_GE(rec.boxes().size(), 1u);
    EXPECT_EQ(rec.boxes()[0].text,
              wxT("Es wurde keine gültige Konfiguration gefunden!\n\nDas Programm wird nun beendet..."));
    EXPECT_TRUE(rec.boxes()[0].style & wxICON_ERROR);
    EXPECT_EQ(wxTheApp->OnExit(), 0);
    EXPECT_EQ(checker, nullptr);
}

TEST(Application, ProxyLineWithoutThePassword)
{
    wxFileName::Mkdir(ConfigDir(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    WriteBytes(ConfigDir() + wxT("zappora.cfg"),
               "[PROXY]\nHost=127.0.0.9\nPort=3128\nUser=pu\nPass=geheim\nMode=1\n");
    SetArgs({});
    MessageBoxRecorder rec(wxYES);
    ASSERT_TRUE(wxTheApp->OnInit());
    ASSERT_NE(LogFrame, nullptr);
    const wxString log = LogFrame->text_->GetValue();
    EXPECT_TRUE(log.Contains(wxT(": Verbindung über Proxy [pu:***@127.0.0.9:3128]\n"))) << log;
    EXPECT_FALSE(log.Contains(wxT("geheim")));
    bool seen = false;
    DiscardSettingsWhenShown(&seen);
    EXPECT_EQ(wxTheApp->OnRun(), 0);
    EXPECT_TRUE(seen);
    wxTheApp->OnExit();
}

TEST(Application, WithAReceiverTheSplashWindowOwnsTheStartTimer)
{
    wxFileName::Mkdir(ConfigDir(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    WriteBytes(ConfigDir() + wxT("zappora.cfg"),
               "[PROFILE1]\nName=Sim\nHost=127.0.0.2\nUser=root\nWPort=8880\nSPort=8001\n");
    SetArgs({"-n"});
    MessageBoxRecorder rec(wxYES);
    ASSERT_TRUE(wxTheApp->OnInit());
    EXPECT_FALSE(runConfig);
    ASSERT_NE(LogFrame, nullptr);
    ASSERT_NE(SplashFrame, nullptr);
    ASSERT_NE(MainFrame, nullptr);
    wxTimer* timer = StartStartupTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->GetOwner(), static_cast<wxEvtHandler*>(SplashFrame));
    EXPECT_EQ(MainFrame->startTimer, timer);
    timer->Stop();
    EXPECT_TRUE(rec.boxes().empty());
    wxTheApp->OnExit();
}
