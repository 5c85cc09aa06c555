// The settings against a running program: the first start without a usable
// profile, and the audio/picture preview on the stream that plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <wx/bmpcbox.h>
#include <wx/listbook.h>
#include <wx/scrolbar.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/app.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/splashframe.h"
#include "mainwindow/framerules.h"
#include "mainwindow/mainframe.h"
#include "settings/setupdialog.h"
#include "stream/pipeline.h"
#include "stream/playback_support.h"
#include "support/msgbox.h"
#include "support/resources.h"
#include "support/sim.h"
#include "setup_fixture.h"

namespace {

bool SourceItemEnabled(int index)
{
    wxMenuItem* item = MainFrame->GetMenuBar()->FindItem(XRCID(SourceMenuItemName(index)));
    return item && item->IsEnabled();
}

double Property(const char* element, const char* name)
{
    GstElement* e = gst_bin_get_by_name(GST_BIN(pipeline), element);
    if (!e)
        return -999;
    gdouble value = 0;
    g_object_get(e, name, &value, NULL);
    gst_object_unref(e);
    return value;
}

class RunningProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadResourcesOnce();
        CFG_PATH = wxGetHomeDir() + wxT("/.zappora/");
        MySplashFrame::stepDelayMs = 0;
        DontCheckStandby = false;
        override_sref.clear();
        runConfig = false;
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
        wxTheApp->ProcessIdle();
        MainFrame = nullptr;
        SplashFrame = nullptr;
        SplashIsActive = false;
        SplashHasError = false;
        runConfig = false;
        GStreamerDone();
        sim.reset();
    }

    bool Playing() const { return pipeline && GST_STATE(pipeline) == GST_STATE_PLAYING; }

    // The receiver's current service playing in the main window.
    void StartPlaying()
    {
        sim.reset(new SimReceiver());
        ASSERT_TRUE(sim->ok());
        SetupPlaybackConfig();
        sim->configureProfile();
        MainFrame = new MyMainFrame();
        SplashFrame = new MySplashFrame();
        wxTimer timer;
        wxTimerEvent ev(timer);
        SplashFrame->InitTimer(ev);
        ASSERT_TRUE(RunUntil([&] { return Playing(); }, 60000));
        ASSERT_TRUE(RunUntil([&] { return Property("Equalizer", "band0") > -999 &&
                                          Property("VideoBalance", "contrast") > -999; }, 30000));
    }

    std::unique_ptr<SimReceiver> sim;
};

}  // namespace

TEST_F(RunningProgramTest, EqualiserEndsReachThePlayingStream)
{
    StartPlaying();
    auto* dialog = new MySetupDialog(MainFrame, MySetupDialog::PAGE_AV);
    Slide(dialog->avBar[MySetupDialog::AV_LOW], 0);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("-24.0"));
    EXPECT_DOUBLE_EQ(Property("Equalizer", "band0"), -24.0);
    Slide(dialog->avBar[MySetupDialog::AV_LOW], 360);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("+12.0"));
    EXPECT_DOUBLE_EQ(Property("Equalizer", "band0"), 12.0);
    Slide(dialog->avBar[MySetupDialog::AV_MID], 235);
    EXPECT_DOUBLE_EQ(Property("Equalizer", "band1"), -0.5);
    Slide(dialog->avBar[MySetupDialog::AV_BRIGHTNESS], 125);
    EXPECT_DOUBLE_EQ(Property("VideoBalance", "brightness"), 0.25);
    // nothing is stored before the apply
    EXPECT_DOUBLE_EQ(config.lband, 0.0);
    dialog->Destroy();
}

TEST_F(RunningProgramTest, LeavingAfterMovingContrastRestoresThePicture)
{
    StartPlaying();
    config.contrast = 1.3;   // as the record holds it, not as the stream started
    auto* dialog = new MySetupDialog(MainFrame, MySetupDialog::PAGE_AV);
    Slide(dialog->avBar[MySetupDialog::AV_CONTRAST], 50);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_CONTRAST]->GetLabel(), wxT("+0.50"));
    EXPECT_DOUBLE_EQ(Property("VideoBalance", "contrast"), 0.5);
    {
        MessageBoxRecorder boxes(wxYES);
        Click(dialog->cancelButton);
        EXPECT_EQ(boxes.boxes().size(), 1u);
    }
    EXPECT_DOUBLE_EQ(Property("VideoBalance", "contrast"), 1.3);
    EXPECT_DOUBLE_EQ(config.contrast, 1.3);
    dialog->Destroy();
}

TEST_F(RunningProgramTest, FirstStartWithoutAnyFileOpensTheReceiverPage)
{
    ASSERT_FALSE(wxFileExists(CFG_PATH + wxT("zappora.cfg")));
    ASSERT_EQ(GetConfig(), 0);
    runConfig = true;
    MainFrame = new MyMainFrame();
    EXPECT_FALSE(SourceItemEnabled(0));

    bool seen = false;
    WhenModal<MySetupDialog>([&](MySetupDialog* dialog) {
        seen = true;
        EXPECT_EQ(dialog->book->GetSelection(), MySetupDialog::PAGE_NETWORK);
        EXPECT_EQ(dialog->profileChoice->GetCount(), 1u);
        EXPECT_EQ(dialog->profileChoice->GetString(0), wxT("Boxhaus"));
        EXPECT_EQ(dialog->host->GetValue(), wxT("127.0.0.1"));
        EXPECT_FALSE(dialog->defaultButton->IsEnabled());
        Click(dialog->cancelButton);
    });
    MessageBoxRecorder boxes;
    EXPECT_FALSE(BeginStart());
    EXPECT_TRUE(seen);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              wxT("Es wurde keine gültige Konfiguration gefunden!\n\nDas Programm wird nun beendet..."));
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(MainFrame));
    EXPECT_EQ(SplashFrame, nullptr);
    // nothing was written but the factory file
    int count = -1;
    ZPCONFIG read;
    count = ReadConfigFile(CFG_PATH + wxT("zappora.cfg"), read);
    EXPECT_EQ(count, 0);
}

TEST_F(RunningProgramTest, FirstStartWithTheReceiverEnteredComesUpPlaying)
{
    sim.reset(new SimReceiver());
    ASSERT_TRUE(sim->ok());
    ASSERT_EQ(GetConfig(), 0);
    runConfig = true;
    // no XVideo on this display, as the README tells users of such desktops
    config.videosink = wxT("ximagesink");
    compatibility = true;
    MainFrame = new MyMainFrame();

    WhenModal<MySetupDialog>([&](MySetupDialog* dialog) {
        AnswerName(wxT("Simulator"));
        Click(dialog->renameButton);
        Type(dialog->host, wxString::FromUTF8(sim->host().c_str()));
        Type(dialog->webPort, wxString::Format(wxT("%d"), sim->webPort()));
        Type(dialog->streamPort, wxString::Format(wxT("%d"), sim->streamPort()));
        Type(dialog->user, wxT("root"));
        Type(dialog->password, wxT("zaptower"));
        MessageBoxRecorder boxes;
        Click(dialog->applyButton);
        EXPECT_TRUE(boxes.boxes().empty());
    });
    {
        MessageBoxRecorder boxes;
        ASSERT_TRUE(BeginStart());
        EXPECT_TRUE(boxes.boxes().empty());
    }
    SetTextPrompt(nullptr);
    EXPECT_FALSE(runConfig);
    ASSERT_NE(SplashFrame, nullptr);
    EXPECT_TRUE(SourceItemEnabled(0));

    // the splash window's timer runs the start-up with the new profile
    ASSERT_TRUE(RunUntil([&] { return !SplashIsActive; }, 60000));
    EXPECT_TRUE(MainFrame->IsShown());
    ASSERT_TRUE(RunUntil([&] { return Playing(); }, 60000));
    ASSERT_TRUE(RunUntil([&] { return LooksLikePicture(LastSampleStats(videosink)); }, 30000))
        << "no picture";
    const auto web = sim->loggedPaths("web");
    ASSERT_FALSE(web.empty());
    EXPECT_EQ(web[0], "/web/deviceinfo");

    ZPCONFIG read;
    EXPECT_EQ(ReadConfigFile(CFG_PATH + wxT("zappora.cfg"), read), 1);
    EXPECT_EQ(read.profile[0].name, wxT("Simulator"));
    EXPECT_EQ(read.profile[0].host, wxString::FromUTF8(sim->host().c_str()));
}

TEST_F(RunningProgramTest, LeavingTheDialogOfOptionCStartsWithTheProfilesThereAre)
{
    sim.reset(new SimReceiver());
    ASSERT_TRUE(sim->ok());
    SetupPlaybackConfig();
    sim->configureProfile();
    runConfig = true;   // "-c"
    MainFrame = new MyMainFrame();
    WhenModal<MySetupDialog>([&](MySetupDialog* dialog) {
        EXPECT_EQ(dialog->book->GetSelection(), MySetupDialog::PAGE_NETWORK);
        EXPECT_EQ(dialog->host->GetValue(), wxString::FromUTF8(sim->host().c_str()));
        Key(dialog, WXK_ESCAPE);
    });
    MessageBoxRecorder boxes;
    ASSERT_TRUE(BeginStart());
    EXPECT_TRUE(boxes.boxes().empty()) << boxes.boxes()[0].text;
    EXPECT_FALSE(runConfig);
    ASSERT_NE(SplashFrame, nullptr);
    ASSERT_TRUE(RunUntil([&] { return !SplashIsActive; }, 60000));
    EXPECT_TRUE(RunUntil([&] { return Playing(); }, 60000));
}
