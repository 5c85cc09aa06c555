// The start-up sequence of the splash window against the simulated receiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "support/resources.h"
#include "app/splashframe.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "stream/pipeline.h"
#include "stream/playback_support.h"
#include "support/msgbox.h"
#include "support/sim.h"

extern void InitXmlResource();

namespace {

const char* const RADIO = "1:0:2:3400:3F9:1:C00000:0:0:0:";

// Keeps every logged line.
class LogLines : public wxLog {
public:
    std::vector<wxString> lines;
protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& msg) override { lines.push_back(msg); }
};

class StartupSequenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadResourcesOnce();
        char dir[] = "/tmp/zp-start.XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        CFG_PATH = wxString::FromUTF8(dir) + wxT("/");
        SetupPlaybackConfig();
        config.expertmode = 0;
        DontCheckStandby = false;
        override_sref.clear();
        MySplashFrame::stepDelayMs = 0;
        log = new LogLines;
        previousLog = wxLog::SetActiveTarget(log);
        wxLog::SetVerbose(false);
    }

    void TearDown() override
    {
        if (MainFrame && !wxTheApp->IsScheduledForDestruction(MainFrame)) {
            wxCommandEvent stop(wxEVT_MENU, XRCID("ID_TOOL_STOP"));
            MainFrame->ProcessWindowEvent(stop);
            MainFrame->epgTimer.Stop();
            RunFor(100);
            delete MainFrame;
        }
        wxTheApp->ProcessIdle();   // windows destroyed by the sequence go now
        MainFrame = nullptr;
        SplashFrame = nullptr;
        SplashIsActive = false;
        SplashHasError = false;
        GStreamerDone();
        wxLog::SetActiveTarget(previousLog);
        delete log;
        sim.reset();
        wxFileName::Rmdir(CFG_PATH, wxPATH_RMDIR_RECURSIVE);
    }

    void Start(std::vector<std::string> simArgs = {})
    {
        sim.reset();   // its address is ours alone: the old one must go first
        sim.reset(new SimReceiver(simArgs));
        ASSERT_TRUE(sim->ok());
        sim->configureProfile();
        MainFrame = new MyMainFrame();
        SplashFrame = new MySplashFrame();
    }

    void RunSequence()
    {
        wxTimer timer;
        wxTimerEvent ev(timer);
        SplashFrame->InitTimer(ev);
    }

    bool Logged(const wxString& text) const
    {
        return std::any_of(log->lines.begin(), log->lines.end(),
                           [&](const wxString& l) { return l.Contains(text); });
    }

    std::vector<std::string> web() const { return sim->loggedPaths("web"); }
    bool Requested(const std::string& path) const
    {
        auto w = web();
        return std::find(w.begin(), w.end(), path) != w.end();
    }
    bool Playing() const
    {
        return pipeline && GST_STATE(pipeline) == GST_STATE_PLAYING;
    }

    std::unique_ptr<SimReceiver> sim;
    LogLines* log = nullptr;
    wxLog* previousLog = nullptr;
};

}  // namespace

// The user holds the mouse on the splash (dragging it) when the sequence ends.
static void PressOn(wxWindow* w)
{
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetEventObject(w);
    w->GetEventHandler()->ProcessEvent(down);
}

TEST_F(StartupSequenceTest, EndingDuringADragReleasesTheMouse)
{
    DontCheckStandby = true;
    config.tvproviders = 1;
    Start();
    wxGauge* gauge = SplashFrame->gauge();
    PressOn(gauge);
    ASSERT_TRUE(gauge->HasCapture());
    RunSequence();
    // Every status step advanced the gauge, exactly to its end.
    EXPECT_EQ(gauge->GetValue(), gauge->GetRange());
    EXPECT_EQ(gauge->GetRange(), 5);
    wxTheApp->ProcessIdle();
    EXPECT_EQ(wxWindow::GetCapture(), nullptr);

    delete MainFrame;
    Start();
    sim->control("/control/refuse?web=1");
    MessageBoxRecorder boxes;
    wxWindow* text = SplashFrame->statusText();
    PressOn(text);
    // A capture the window system takes away simply ends the drag.
    wxMouseCaptureLostEvent lost(text->GetId());
    lost.SetEventObject(text);
    EXPECT_TRUE(text->GetEventHandler()->ProcessEvent(lost));
    RunSequence();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    wxTheApp->ProcessIdle();
    EXPECT_EQ(wxWindow::GetCapture(), nullptr);
}

TEST_F(StartupSequenceTest, TakesOverTheReceiversServiceAndPlaysIt)
{
    config.tvproviders = 1;
    Start();
    RunSequence();
    EXPECT_FALSE(SplashIsActive);
    EXPECT_TRUE(MainFrame->IsShown());
    EXPECT_FALSE(MainFrame->currentSRef.empty());
    EXPECT_EQ(MainFrame->previousSRef, MainFrame->currentSRef);
    EXPECT_TRUE(MainFrame->currentItem.IsOk()) << "the current service is selected in the tree";
    EXPECT_TRUE(RunUntil([&] { return Playing(); }, 60000));

    auto w = web();
    ASSERT_GE(w.size(), 6u);
    EXPECT_EQ(w[0], "/web/deviceinfo");
    EXPECT_EQ(w[1], "/web/powerstate?newstate=-1");
    EXPECT_EQ(w[2], "/web/getcurrent");
    EXPECT_EQ(w[3].rfind("/web/getallservices?sRef=1:7:1:", 0), 0u);
    EXPECT_EQ(w[4].rfind("/web/getallservices?sRef=1:7:2:", 0), 0u);
    // only the configured providers: TV, not radio
    EXPECT_NE(w[5].find("PROVIDERS"), std::string::npos) << w[5];
    EXPECT_NE(w[5].find("1:7:1:"), std::string::npos) << w[5];
    for (size_t i = 6; i < w.size(); ++i)
        EXPECT_EQ(w[i].find("PROVIDERS"), std::string::npos) << w[i];
}

TEST_F(StartupSequenceTest, NoStreamWithoutOverrideWhenStandbyIsNotChecked)
{
    DontCheckStandby = true;
    Start();
    RunSequence();
    EXPECT_FALSE(SplashIsActive);
    EXPECT_TRUE(MainFrame->currentSRef.empty());
    RunFor(500);
    EXPECT_TRUE(!pipeline || GST_STATE(pipeline) == GST_STATE_NULL);
    for (const auto& p : web()) {
        EXPECT_EQ(p.find("powerstate"), std::string::npos) << p;
        EXPECT_EQ(p.find("getcurrent"), std::string::npos) << p;
        EXPECT_EQ(p.find("zap?"), std::string::npos) << p;
    }
}

TEST_F(StartupSequenceTest, OverrideWithARadioReferencePlaysRadio)
{
    DontCheckStandby = true;
    override_sref = wxString::FromUTF8(RADIO);
    Start();
    RunSequence();
    EXPECT_EQ(MainFrame->currentMode, 2);
    EXPECT_EQ(MainFrame->currentSRef, override_sref);
    EXPECT_TRUE(RunUntil([&] { return Playing(); }, 60000));
    EXPECT_FALSE(Requested("/web/getcurrent"));
}

TEST_F(StartupSequenceTest, ReceiverInStandbyIsWokenAndPutBack)
{
    Start({"--standby"});
    RunSequence();
    auto w = web();
    auto at = [&](const std::string& p) { return std::find(w.begin(), w.end(), p) - w.begin(); };
    long query = at("/web/powerstate?newstate=-1");
    long current = at("/web/getcurrent");
    ASSERT_LT(current, long(w.size()));
    EXPECT_EQ(std::count(w.begin(), w.end(), std::string("/web/powerstate?newstate=0")), 2);
    EXPECT_EQ(w[query + 1], "/web/powerstate?newstate=0");   // woken before the question
    EXPECT_EQ(w[current + 1], "/web/powerstate?newstate=0"); // and put back after it
    EXPECT_TRUE(MainFrame->inStandby);
    EXPECT_NE(sim->control("/control/state").find("\"standby\": true"), std::string::npos);
    EXPECT_TRUE(RunUntil([&] { return Playing(); }, 60000)) << "the stream starts all the same";
}

TEST_F(StartupSequenceTest, OnlyAnOldWebInterfaceWarnsAndTheStartGoesOn)
{
    for (const char* version : {"1.6.1", "1.6.2", "2.0"}) {
        DontCheckStandby = true;
        log->lines.clear();
        Start({"--webif-version", version});
        RunSequence();
        EXPECT_TRUE(Logged(wxString::Format(wxT("[ WebIF %s ]"), version))) << version;
        EXPECT_EQ(Logged(wxT("WebIF Version 1.6.1 zu alt, mindestens Version 1.6.2 erforderlich")),
                  std::string(version) == "1.6.1") << version;
        EXPECT_FALSE(SplashIsActive);
        EXPECT_TRUE(MainFrame->IsShown()) << version;
        delete MainFrame;
        MainFrame = nullptr;
        wxTheApp->ProcessIdle();
    }
}

TEST_F(StartupSequenceTest, UnexpectedDeviceInfoStillStarts)
{
    DontCheckStandby = true;
    Start({"--fault", "cmd=deviceinfo&wrongroot=1"});
    RunSequence();
    EXPECT_FALSE(Logged(wxT("[ WebIF")));
    EXPECT_FALSE(SplashIsActive);
    EXPECT_TRUE(MainFrame->IsShown());
    EXPECT_GT(MainFrame->tree->GetChildrenCount(MainFrame->grpTVOwn, false), 0u);
}

TEST_F(StartupSequenceTest, WrongCredentialsEndTheProgramAfterTheBox)
{
    Start({"--fault", "cmd=deviceinfo&status=401"});
    MessageBoxRecorder boxes;
    RunSequence();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.StartsWith(wxT("Der Zugriff auf das WebInterface wurde verweigert!")));
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(MainFrame)) << "closing the main window ends the program";
    EXPECT_FALSE(SplashIsActive);
    EXPECT_FALSE(Requested("/web/getcurrent"));
}

TEST_F(StartupSequenceTest, UnreachableReceiverEndsTheProgramAfterTheBox)
{
    Start();
    sim->control("/control/refuse?web=1");
    MessageBoxRecorder boxes;
    RunSequence();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.StartsWith(wxT("Die Verbindung zu ")));
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(MainFrame));
}

TEST_F(StartupSequenceTest, SplashCannotBeClosed)
{
    Start();
    EXPECT_FALSE(SplashFrame->Close());
    wxTheApp->ProcessIdle();
    EXPECT_TRUE(SplashFrame->IsShown());
    EXPECT_TRUE(SplashIsActive);
    SplashFrame->Destroy();
}
