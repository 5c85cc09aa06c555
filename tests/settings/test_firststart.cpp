// The settings against the running program: the audio and picture preview
// on the stream that plays, and the start-up that demands the settings.
#include "setup_fixture.h"

#include <wx/stattext.h>

namespace {

double Property(const char* element, const char* name)
{
    GstElement* e = pipeline ? gst_bin_get_by_name(GST_BIN(pipeline), element) : nullptr;
    if (!e)
        return -999;
    gdouble value = 0;
    g_object_get(e, name, &value, NULL);
    gst_object_unref(e);
    return value;
}

}  // namespace

TEST_F(SetupTest, PreviewReachesThePlayingStreamAndLeavingTakesItBack)
{
    StartSim();
    MainFrame = new MyMainFrame();
    SplashFrame = new MySplashFrame();
    ASSERT_TRUE(BeginStart());
    RunStartUp();
    ASSERT_TRUE(RunUntil([] { return Property("VideoBalance", "contrast") > -999; }));
    config.contrast = 1.3;   // as the record holds it, not as the stream started
    Open(MySetupDialog::PAGE_AV);

    Slide(dialog->avBar[MySetupDialog::AV_LOW], 0);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("-24.0"));
    EXPECT_DOUBLE_EQ(Property("Equalizer", "band0"), -24.0);
    Slide(dialog->avBar[MySetupDialog::AV_LOW], 360);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("+12.0"));
    EXPECT_DOUBLE_EQ(Property("Equalizer", "band0"), 12.0);
    Slide(dialog->avBar[MySetupDialog::AV_MID], 235);
    EXPECT_DOUBLE_EQ(Property("Equalizer", "band1"), -0.5);
    Slide(dialog->avBar[MySetupDialog::AV_CONTRAST], 50);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_CONTRAST]->GetLabel(), wxT("+0.50"));
    EXPECT_DOUBLE_EQ(Property("VideoBalance", "contrast"), 0.5);
    EXPECT_DOUBLE_EQ(config.lband, 0.0);   // nothing is stored before the apply

    OneBox([&] { Click(dialog->cancelButton); });
    EXPECT_DOUBLE_EQ(Property("VideoBalance", "contrast"), 1.3);
    EXPECT_DOUBLE_EQ(Property("Equalizer", "band0"), 0.0);
    EXPECT_DOUBLE_EQ(config.contrast, 1.3);
}

TEST_F(SetupTest, LeavingTheDialogOfOptionCStartsWithTheProfilesThereAre)
{
    StartSim();
    runConfig = true;   // "-c"
    MainFrame = new MyMainFrame();
    WhenModal<MySetupDialog>([&](MySetupDialog* shown) {
        EXPECT_EQ(shown->book->GetSelection(), MySetupDialog::PAGE_NETWORK);
        EXPECT_EQ(shown->host->GetValue(), wxString::FromUTF8(sim->host().c_str()));
        Key(shown, WXK_ESCAPE);
    });
    MessageBoxRecorder boxes;
    ASSERT_TRUE(BeginStart());
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_FALSE(runConfig);
    RunStartUp();
}
