// Choosing what plays: previous/next with markers and wrap-around, re-zap,
// the tuner question, TV control and the zap timer.
#include "mainwindow/switch_fixture.h"

#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/tglbtn.h>

using namespace sw;

TEST_F(SwitchTest, NextWrapsToTheFirstAndSkipsMarkers)
{
    Activate(c);   // the last of the group
    EXPECT_EQ(frame->currentSRef, Ref(HD_C));
    Click("ID_BUTTON_NEXT_SERVICE");
    EXPECT_EQ(frame->currentSRef, Ref(SD_A));
    EXPECT_EQ(frame->currentItem, a);
    EXPECT_EQ(frame->previousItem, c);

    // Next from A meets the marker: it is selected, then a posted click moves on.
    Click("ID_BUTTON_NEXT_SERVICE");
    EXPECT_EQ(frame->currentSRef, Ref(SD_A));
    EXPECT_EQ(tree->GetSelection(), marker);
    ASSERT_TRUE(Await([&] { return frame->currentSRef == Ref(SD_B); }));
    EXPECT_EQ(frame->currentItem, b);
    EXPECT_EQ(frame->previousSRef, Ref(SD_A));
    // The marker itself was never asked for.
    for (const auto& p : sim->loggedPaths("stream"))
        EXPECT_EQ(p.find("1%3A64%3A"), std::string::npos) << p;
}

TEST_F(SwitchTest, PreviousWrapsToTheLastAndSkipsMarkers)
{
    Activate(a);
    Click("ID_BUTTON_PREV_SERVICE");
    EXPECT_EQ(frame->currentSRef, Ref(HD_C));
    Click("ID_BUTTON_PREV_SERVICE");
    EXPECT_EQ(frame->currentSRef, Ref(SD_B));
    Click("ID_BUTTON_PREV_SERVICE");
    ASSERT_TRUE(Await([&] { return frame->currentSRef == Ref(SD_A); }));
    EXPECT_EQ(frame->currentItem, a);
}

TEST_F(SwitchTest, MarkersAreNeverPlayedFromTheTree)
{
    Activate(a);
    Activate(marker);
    EXPECT_EQ(frame->currentSRef, Ref(SD_A));
    EXPECT_EQ(frame->currentItem, a);
    // A group item only opens or closes.
    bool expanded = tree->IsExpanded(group);
    Activate(group);
    EXPECT_NE(tree->IsExpanded(group), expanded);
    EXPECT_EQ(frame->currentSRef, Ref(SD_A));
}

TEST_F(SwitchTest, MarkerButtonsWalkToTheNextMarkerWithoutSwitching)
{
    Activate(c);
    tree->SelectItem(c);
    Click("ID_BUTTON_NEXT_MARKER");
    EXPECT_EQ(tree->GetSelection(), marker);
    tree->SelectItem(a);
    Click("ID_BUTTON_PREV_MARKER");
    EXPECT_EQ(tree->GetSelection(), marker);   // wrapped round the start
    EXPECT_EQ(frame->currentSRef, Ref(HD_C));
}

TEST_F(SwitchTest, TwoRezapsReturnToTheFirstService)
{
    Activate(a);
    Activate(c);
    ASSERT_TRUE(WaitStarted()) << StatusText() << " state " << int(GST_STATE(pipeline)) << " sinks "
                               << streaminfo.sinks << "/" << streaminfo.playingsinks;
    Click("ID_BUTTON_REZAP");
    EXPECT_EQ(frame->currentSRef, Ref(SD_A));
    EXPECT_EQ(frame->currentItem, a);
    EXPECT_EQ(frame->currentMode, 1);
    Click("ID_BUTTON_REZAP");
    EXPECT_EQ(frame->currentSRef, Ref(HD_C));
    EXPECT_EQ(frame->currentItem, c);
    EXPECT_EQ(frame->previousSRef, Ref(SD_A));
    ASSERT_TRUE(WaitStarted());
    EXPECT_EQ(StreamInfoCopy().mpeg2, false);
}

TEST_F(SwitchTest, AReferenceWithDoubleColonStreamsWithoutItsName)
{
    const char* relay = "1:0:1:2921:44D:1:C00000:0:0:0::Kanal Nord Relay";
    TestPayload p(1, Ref(relay));
    frame->SwitchService(&p);
    EXPECT_EQ(frame->currentSRef, wxT("1:0:1:2921:44D:1:C00000:0:0:0:"));
    ASSERT_TRUE(WaitStarted());
    std::vector<std::string> web = sim->loggedPaths("web");
    // Choosing it again while it plays changes nothing.
    frame->SwitchService(&p);
    RunFor(500);
    EXPECT_EQ(sim->loggedPaths("web").size(), web.size());
    EXPECT_TRUE(sim->loggedPaths("stream").empty());
    EXPECT_EQ(GST_STATE(pipeline), GST_STATE_PLAYING);
    bool zapped = false;
    for (const auto& w : web)
        zapped = zapped || w == "/web/zap?sRef=" + EncodedRef("1:0:1:2921:44D:1:C00000:0:0:0:");
    EXPECT_TRUE(zapped);
    int program = 0;
    g_object_get(demuxer, "program-number", &program, NULL);
    EXPECT_EQ(program, 0x2921);
}

TEST_F(SwitchTest, NoFreeTunerAnsweredNoResumesThePreviousStream)
{
    config.tvcontrol = 0;
    // The receiver's own picture is on another transponder: with the
    // running recording both tuners are taken.
    const std::string elsewhere = "/control/current?sRef=" + EncodedRef("1:0:19:2844:437:1:C00000:0:0:0:");
    sim->control(elsewhere);
    wxTreeItemId far = Add(wxT("Bayern Fernsehen"), 1, "1:0:1:2888:3FB:1:C00000:0:0:0:", 6);
    MessageBoxRecorder rec(wxNO);
    // Before anything played there is nothing to resume: all stays stopped.
    Activate(far);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_FALSE(frame->chkTimer.IsRunning());
    RunFor(1500);
    EXPECT_EQ(GST_STATE(pipeline), GST_STATE_NULL) << State();
    EXPECT_FALSE(frame->synTimer.IsRunning());
    EXPECT_TRUE(frame->currentSRef.empty());

    rec.clear();
    sim->control("/control/current?sRef=" + EncodedRef(SD_A));
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    sim->control(elsewhere);
    size_t streams = sim->loggedPaths("stream").size();
    Activate(far);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_EQ(rec.boxes()[0].text,
              wxT("Es ist momentan kein freier Tuner für diesen Kanal verfügbar!\n\n"
                  "Soll für die Wiedergabe der Kanal am TV mit umgeschaltet werden?"));
    EXPECT_TRUE(rec.boxes()[0].style & wxYES_NO);
    EXPECT_EQ(frame->currentSRef, Ref(SD_A));
    EXPECT_EQ(frame->previousSRef, wxString());
    EXPECT_EQ(config.tvcontrol, 0);
    ASSERT_TRUE(WaitStarted());
    ASSERT_TRUE(Await([&] { return GST_STATE(pipeline) == GST_STATE_PLAYING; }));
    std::vector<std::string> s = sim->loggedPaths("stream");
    ASSERT_GT(s.size(), streams);
    EXPECT_EQ(s.back(), "/" + EncodedRef(SD_A));
    for (const auto& w : sim->loggedPaths("web"))
        EXPECT_EQ(w.find("/web/zap"), std::string::npos) << w;
}

TEST_F(SwitchTest, NoFreeTunerAnsweredYesZapsTheReceiverOnce)
{
    config.tvcontrol = 0;
    sim->control("/control/current?sRef=" + EncodedRef("1:0:19:2844:437:1:C00000:0:0:0:"));
    wxTreeItemId far = Add(wxT("Bayern Fernsehen"), 1, "1:0:1:2888:3FB:1:C00000:0:0:0:", 6);
    MessageBoxRecorder rec(wxYES);
    Activate(far);
    EXPECT_EQ(rec.boxes().size(), 1u);
    EXPECT_EQ(frame->currentSRef, wxT("1:0:1:2888:3FB:1:C00000:0:0:0:"));
    EXPECT_EQ(config.tvcontrol, 0);
    bool zapped = false;
    for (const auto& w : sim->loggedPaths("web"))
        zapped = zapped || w.find("/web/zap?sRef=") == 0;
    EXPECT_TRUE(zapped);
    ASSERT_TRUE(WaitStarted());
}

TEST_F(SwitchTest, ExpertModeSkipsTheTunerQuestion)
{
    config.tvcontrol = 0;
    config.expertmode = 1;
    sim->control("/control/current?sRef=" + EncodedRef("1:0:19:2844:437:1:C00000:0:0:0:"));
    wxTreeItemId far = Add(wxT("Bayern Fernsehen"), 1, "1:0:1:2888:3FB:1:C00000:0:0:0:", 6);
    MessageBoxRecorder rec(wxNO);
    Activate(far);
    EXPECT_TRUE(rec.boxes().empty());
    EXPECT_EQ(frame->currentSRef, wxT("1:0:1:2888:3FB:1:C00000:0:0:0:"));
}

TEST_F(SwitchTest, SwitchingTVControlOffWarns)
{
    config.tvcontrol = 1;
    MessageBoxRecorder rec;
    wxCommandEvent off(wxEVT_TOGGLEBUTTON, XRCID("ID_TOGGLEBUTTON_TV"));
    off.SetInt(0);
    frame->ProcessWindowEvent(off);
    EXPECT_EQ(config.tvcontrol, 0);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_TRUE(rec.boxes()[0].text.StartsWith(wxT("Das Deaktivieren dieser Option")));
    EXPECT_TRUE(rec.boxes()[0].style & wxICON_WARNING);
    wxCommandEvent on(wxEVT_TOGGLEBUTTON, XRCID("ID_TOGGLEBUTTON_TV"));
    on.SetInt(1);
    frame->ProcessWindowEvent(on);
    EXPECT_EQ(config.tvcontrol, 1);
    EXPECT_EQ(rec.boxes().size(), 1u);
}

TEST_F(SwitchTest, TheZapTimerSwitchesToThePendingService)
{
    Activate(a);
    frame->pendingZap = tree->GetItemData(b);
    frame->zapTimer.StartOnce(50);
    ASSERT_TRUE(Await([&] { return frame->currentSRef == Ref(SD_B); }));
    EXPECT_EQ(frame->previousItem, a);
}

TEST_F(SwitchTest, RecordingsUseTheWebPortWithCredentials)
{
    TestPayload rec(3, wxT("1:0:0:0:0:0:0:0:0:0:/hdd/movie/nicht da.ts"));
    frame->SwitchService(&rec);
    gchar* loc = nullptr;
    g_object_get(source, "location", &loc, NULL);
    std::string expect = "http://root:zaptower@" + sim->host() + ":" + std::to_string(sim->webPort()) +
                         "/file?file=/" + EncodedRef("hdd/movie/nicht da.ts");
    EXPECT_EQ(std::string(loc ? loc : ""), expect);
    g_free(loc);
    EXPECT_EQ(frame->recTitle, wxT("Testaufnahme"));
    EXPECT_FALSE(frame->epgTimer.IsRunning());
    EXPECT_TRUE(frame->mpbTimer.IsRunning());
    int program = 0;
    g_object_get(demuxer, "program-number", &program, NULL);
    EXPECT_EQ(program, -1);
}

TEST_F(SwitchTest, ProgrammeInfoNamesTheServiceWithoutEmphasisMarks)
{
    Activate(c);
    Add(wxT("Nord Fernsehen"), 1, "1:0:1:28AA:3FB:1:C00000:0:0:0:", 6);
    Click("ID_BUTTON_NEXT_SERVICE");
    ASSERT_EQ(frame->currentSRef, wxT("1:0:1:28AA:3FB:1:C00000:0:0:0:"));
    EXPECT_EQ(frame->boxInfo->GetStaticBox()->GetLabel(), wxT(" Programminfo [ Nord Fernsehen ] "));
    EXPECT_EQ(frame->nowTitle, wxT("Nord Fernsehen"));
}
