// Current service, now/next, audio and video tracks and similar events in
// the main window.
#include <cstdlib>
#include <wx/bmpcbox.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "support/msgbox.h"
#include "support/scripted.h"
#include "support/sim.h"
#include "test_channeltree_fixture.h"
#include "webif/current.h"
#include "webif/webif.h"

namespace {

std::vector<ReplyStep> Reply(const std::string& body)
{
    return ScriptedServer::Reply("HTTP/1.0 200 OK", body);
}

std::vector<ReplyStep> EventReply(const std::string& start, const std::string& duration, const std::string& title,
                       const std::string& service = "Schwaben &amp; Franken TV")
{
    return Reply("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2eventlist>\n<e2event>\n"
           "<e2eventid>7</e2eventid>\n<e2eventstart>" + start + "</e2eventstart>\n"
           "<e2eventduration>" + duration + "</e2eventduration>\n"
           "<e2eventcurrenttime>1700000000</e2eventcurrenttime>\n"
           "<e2eventtitle>" + title + "</e2eventtitle>\n"
           "<e2eventdescription>None</e2eventdescription>\n<e2eventdescriptionextended>None</e2eventdescriptionextended>\n"
           "<e2eventservicereference>1:0:1:28BB:3FB:1:C00000:0:0:0:</e2eventservicereference>\n"
           "<e2eventservicename>" + service + "</e2eventservicename>\n</e2event>\n</e2eventlist>\n");
}

struct UtcZone {
    UtcZone() { setenv("TZ", "UTC", 1); tzset(); }
};

wxString Label(wxStaticText* t) { return t->GetLabel(); }
wxString BoxLabel(wxStaticBoxSizer* box) { return box->GetStaticBox()->GetLabel(); }

}  // namespace

class NowNext : public MainFrameTest {};

TEST_F(NowNext, StandbyAndCurrentService)
{
    SimReceiver sim({"--no-ftp", "--no-stream", "--standby"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    EXPECT_TRUE(frame->getStandbyState());
    sim.control("/control/standby?on=0");
    EXPECT_FALSE(frame->getStandbyState());

    ASSERT_TRUE(frame->getCurrent());
    EXPECT_EQ(frame->currentSRef, wxString(wxT("1:0:19:2800:401:1:C00000:0:0:0:")));
    EXPECT_EQ(frame->currentMode, 1);
    EXPECT_EQ(frame->nowTitle, wxString(wxT("Erstes Programm HD")));

    // "N/A": the reference and mode stay.
    sim.control("/control/current?sRef=N/A");
    ASSERT_TRUE(frame->getCurrent());
    EXPECT_EQ(frame->currentSRef, wxString(wxT("1:0:19:2800:401:1:C00000:0:0:0:")));
    EXPECT_EQ(frame->currentMode, 1);

    // A relay's reference loses its "::name" tail; radio sets mode 2.
    sim.control("/control/current?sRef=1:0:1:2921:44D:1:C00000:0:0:0::Kanal%20Nord%20Relay");
    ASSERT_TRUE(frame->getCurrent());
    EXPECT_EQ(frame->currentSRef, wxString(wxT("1:0:1:2921:44D:1:C00000:0:0:0:")));
    sim.control("/control/current?sRef=1:0:2:3400:3F9:1:C00000:0:0:0:");
    ASSERT_TRUE(frame->getCurrent());
    EXPECT_EQ(frame->currentMode, 2);
    EXPECT_EQ(frame->nowTitle, wxString(wxT("Bayern Klassik")));

    // A failed request changes nothing.
    sim.control("/control/fault?cmd=getcurrent&status=500");
    sim.control("/control/current?sRef=1:0:19:2800:401:1:C00000:0:0:0:");
    EXPECT_FALSE(frame->getCurrent());
    EXPECT_EQ(frame->currentMode, 2);
    EXPECT_EQ(frame->currentSRef, wxString(wxT("1:0:2:3400:3F9:1:C00000:0:0:0:")));
    sim.control("/control/fault?cmd=powerstate&status=500");
    EXPECT_FALSE(frame->getStandbyState());
}

TEST_F(NowNext, TextsGaugeAndAmpersandsAtAFixedClock)
{
    UtcZone utc;
    ScriptedServer rx(EventReply("1700000000", "5400", "Tom &amp; Jerry"));
    ASSERT_TRUE(rx.ok());
    rx.configureProfile();
    frame->currentSRef = wxT("1:0:1:28BB:3FB:1:C00000:0:0:0:");

    // 20.5 minutes into a 90-minute event.
    ASSERT_TRUE(frame->getNowNextAt(true, 1700000000 + 20 * 60 + 30));
    EXPECT_EQ(BoxLabel(frame->boxInfo).Find(wxT("Programminfo [ Schwaben")), 1);
    EXPECT_EQ(frame->boxInfo->GetStaticBox()->GetLabelText(), wxString(wxT(" Programminfo [ Schwaben & Franken TV ] ")));
    EXPECT_EQ(frame->nowTitle, wxString(wxT("Schwaben & Franken TV")));
    EXPECT_EQ(Label(frame->infoText[0]), wxString(wxT("22:13")));
    EXPECT_EQ(frame->infoText[1]->GetLabelText(), wxString(wxT("Tom & Jerry")));
    EXPECT_EQ(Label(frame->infoText[2]), wxString(wxT("+69 min")));
    EXPECT_EQ(frame->nowText, wxString(wxT("Tom + Jerry (+69 min)")));
    EXPECT_EQ(frame->progressGauge->GetRange(), 90);
    EXPECT_EQ(frame->progressGauge->GetValue(), 21);

    // Next event without duration.
    rx.setScript(EventReply("1700005400", "None", "Kochen &amp; Genie\xC3\x9F" "en"));
    ASSERT_TRUE(frame->getNowNextAt(false, 1700000000));
    EXPECT_EQ(Label(frame->infoText[3]), wxString(wxT("23:43")));
    EXPECT_EQ(frame->infoText[4]->GetLabelText(), wxString::FromUTF8("Kochen & Genießen"));
    EXPECT_EQ(Label(frame->infoText[5]), wxString(wxT("000 min")));
    EXPECT_EQ(frame->nextText, wxString::FromUTF8("Kochen + Genießen (000 min)"));

    // An event that is long over: negative remainder, full gauge.
    rx.setScript(EventReply("1700000000", "5400", "Tom &amp; Jerry"));
    ASSERT_TRUE(frame->getNowNextAt(true, 1700000000 + 100 * 60));
    EXPECT_EQ(Label(frame->infoText[2]), wxString(wxT("+-10 min")));
    EXPECT_EQ(frame->progressGauge->GetValue(), 90);
    // One that has not begun: an empty gauge.
    ASSERT_TRUE(frame->getNowNextAt(true, 1700000000 - 600));
    EXPECT_EQ(frame->progressGauge->GetValue(), 0);

    // No guide data: fallback texts, empty gauge.
    rx.setScript(EventReply("None", "", "None"));
    ASSERT_TRUE(frame->getNowNextAt(true, 1700000000));
    EXPECT_EQ(Label(frame->infoText[0]), wxString(wxT("00:00")));
    EXPECT_EQ(Label(frame->infoText[1]), wxString(wxT("keine Beschreibung vorhanden")));
    EXPECT_EQ(Label(frame->infoText[2]), wxString(wxT("000 min")));
    EXPECT_EQ(frame->progressGauge->GetValue(), 0);

    // Not an event list: nothing changes.
    rx.setScript(Reply("<e2simplexmlresult><e2state>False</e2state></e2simplexmlresult>"));
    ASSERT_TRUE(frame->getNowNextAt(false, 1700000000));
    EXPECT_EQ(Label(frame->infoText[5]), wxString(wxT("000 min")));
    EXPECT_EQ(frame->nextText, wxString::FromUTF8("Kochen + Genießen (000 min)"));
}

// The receiver's clock at every hour of the last day of a year (a different
// minute each) and at the turn of the year.
std::vector<long> SweepMoments()
{
    const long newYearsEve = 1798675200;  // 2026-12-31 00:00 UTC
    std::vector<long> moments;
    for (int h = 0; h < 24; ++h)
        moments.push_back(newYearsEve + h * 3600 + (h * 7 % 60) * 60);
    moments.push_back(newYearsEve + 86400);
    return moments;
}

int Minutes(const wxString& hhmm)
{
    long h = 0, m = 0;
    hhmm.BeforeFirst(':').ToLong(&h);
    hhmm.AfterFirst(':').ToLong(&m);
    return int(h * 60 + m);
}

TEST_F(NowNext, NowNextFromTheReceiverAtEveryHour)
{
    UtcZone utc;
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    frame->currentSRef = wxT("1:0:1:2811:401:1:C00000:0:0:0:");
    for (long moment : SweepMoments()) {
        SCOPED_TRACE(moment);
        sim.control("/control/clock?now=" + std::to_string(moment));
        ASSERT_TRUE(frame->getNowNextAt(true, moment));
        ASSERT_TRUE(frame->getNowNextAt(false, moment));
        EXPECT_EQ(BoxLabel(frame->boxInfo), wxString(wxT(" Programminfo [ Kulturkanal ] ")));
        // The running event: begun, not over, the gauge showing the elapsed part;
        // the next one begins where it ends, also across midnight.
        const int length = frame->progressGauge->GetRange();
        long remaining = -1;
        ASSERT_TRUE(Label(frame->infoText[2]).Mid(1).BeforeFirst(' ').ToLong(&remaining)) << Label(frame->infoText[2]);
        EXPECT_GT(length, 0);
        EXPECT_TRUE(remaining >= 0 && remaining <= length) << remaining;
        EXPECT_EQ(frame->progressGauge->GetValue(), length - remaining);
        EXPECT_EQ((Minutes(Label(frame->infoText[0])) + length) % 1440, Minutes(Label(frame->infoText[3])));
        EXPECT_FALSE(Label(frame->infoText[4]).empty());
    }
    EXPECT_EQ(sim.loggedPaths("web").back(), "/web/epgservicenext?sRef=1%3A0%3A1%3A2811%3A401%3A1%3AC00000%3A0%3A0%3A0%3A");

    sim.control("/control/fault?cmd=epgservicenow&status=404");
    const wxString before = frame->nowText;
    frame->nowTitle = wxT("unverändert");
    EXPECT_FALSE(frame->getNowNext(true));
    EXPECT_EQ(frame->nowTitle, wxString(wxT("unverändert")));
    EXPECT_EQ(frame->nowText, before);
}

TEST_F(NowNext, ReferencesReachTheReceiverExactlyAsTheyAre)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    // Blanks, "&", "?", an umlaut and a literal "%3a" of an IPTV reference.
    const char* iptv = "4097:0:1:28BB:3FB:1:C00000:0:0:0:http%3a//127.0.0.9/live?a=1&b=2:S\xC3\xBC" "d & Nord";
    const char* relay = "1:0:1:2921:44D:1:C00000:0:0:0::Kanal Nord Relay";
    frame->currentSRef = wxString::FromUTF8(iptv);
    EXPECT_TRUE(frame->getNowNext(true));
    EXPECT_TRUE(frame->getNowNext(false));
    frame->getVideoTracks();
    frame->getEPGSimilar(wxString::FromUTF8(relay), wxT("7"));
    EXPECT_EQ(sim.loggedQuery("sRef"), std::vector<std::string>({iptv, iptv, iptv, relay}));
    EXPECT_EQ(sim.loggedQuery("eventid"), std::vector<std::string>({"7"}));
}

TEST_F(NowNext, AudioTracksMatchedByPid)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    SetAudioTrackRetryDelay(10);
    // SD service: three tracks; make the AC-3 one active.
    sim.control("/control/current?sRef=1:0:1:2811:401:1:C00000:0:0:0:");
    ASSERT_TRUE(getWebIF("selectaudiotrack?id=2"));

    std::vector<MyChoiceItemData*> selected;
    frame->Bind(wxEVT_COMBOBOX, [&](wxCommandEvent& e) {
        selected.push_back(dynamic_cast<MyChoiceItemData*>(e.GetClientObject()));
    }, XRCID("ID_CHOICE_AUDIO"));

    // One item fewer than tracks: the labels stay.
    wxBitmapComboBox* audio = frame->audioChoice;
    audio->Append(wxT("Spur A"), wxNullBitmap, new MyChoiceItemData(wxT("256")));
    audio->Append(wxT("Spur B"), wxNullBitmap, new MyChoiceItemData(wxT("258")));
    EXPECT_EQ(frame->getAudioTracks(), 3);
    EXPECT_EQ(audio->GetString(0), wxString(wxT("Spur A")));
    EXPECT_EQ(audio->GetString(1), wxString(wxT("Spur B")));
    EXPECT_TRUE(selected.empty());
    EXPECT_EQ(BoxLabel(frame->boxAV), wxString(wxT(" AV-Optionen [ 2 Audio | 0 Video ] ")));

    // As many items as tracks (in another order, one without payload).
    audio->Append(wxT("ohne"), wxNullBitmap, (wxClientData*)nullptr);
    audio->SetString(0, wxT("x"));
    EXPECT_EQ(frame->getAudioTracks(), 3);
    EXPECT_EQ(audio->GetString(2), wxString(wxT("ohne")));
    auto* first = dynamic_cast<MyChoiceItemData*>(audio->GetClientObject(0));
    auto* second = dynamic_cast<MyChoiceItemData*>(audio->GetClientObject(1));
    EXPECT_NE(audio->GetString(0), wxString(wxT("x")));
    EXPECT_FALSE(first->getAudioTrackID().empty());
    EXPECT_FALSE(second->getAudioTrackID().empty());
    EXPECT_EQ(second->getAudioTrackID(), wxString(wxT("2")));
    EXPECT_EQ(audio->GetSelection(), 1);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0], second);
    EXPECT_EQ(BoxLabel(frame->boxAV), wxString(wxT(" AV-Optionen [ 3 Audio | 0 Video ] ")));

    // Unreadable replies are asked for again, five times in all.
    auto requests = [&] {
        int n = 0;
        for (const auto& p : sim.loggedPaths("web"))
            n += p == "/web/getaudiotracks";
        return n;
    };
    const int asked = requests();
    sim.control("/control/fault?cmd=getaudiotracks&malformed=1");
    frame->boxAV->GetStaticBox()->SetLabel(wxT("-"));
    EXPECT_EQ(frame->getAudioTracks(), 0);
    EXPECT_EQ(requests() - asked, 5);
    EXPECT_EQ(BoxLabel(frame->boxAV), wxString(wxT("-")));

    // A foreign document: no retry, no tracks, but the label is refreshed.
    sim.control("/control/fault?cmd=getaudiotracks&clear=1");
    sim.control("/control/fault?cmd=getaudiotracks&wrongroot=1");
    EXPECT_EQ(frame->getAudioTracks(), 0);
    EXPECT_EQ(requests() - asked, 6);
    EXPECT_EQ(BoxLabel(frame->boxAV), wxString(wxT(" AV-Optionen [ 3 Audio | 0 Video ] ")));
}

TEST_F(NowNext, SubServicesWithoutDuplicates)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    LogCapture log;
    frame->videoChoice->Append(wxT("alt"), wxNullBitmap, new MyChoiceItemData(wxT("1:0:1:1:1:1:0:0:0:0:")));
    frame->currentSRef = wxT("1:0:19:28CC:41B:1:C00000:0:0:0:");  // a service with feeds
    frame->getVideoTracks();

    wxBitmapComboBox* video = frame->videoChoice;
    ASSERT_EQ(video->GetCount(), 4u);
    EXPECT_EQ(video->GetString(0), wxString(wxT("Sport Portal HD")));
    EXPECT_EQ(video->GetString(1), wxString(wxT("Sport Portal Feed 1")));
    // The second feed's reference is part of the "Konferenz" one: only that stays.
    EXPECT_EQ(video->GetString(2), wxString(wxT("Sport Portal Konferenz")));
    EXPECT_EQ(video->GetString(3), wxString(wxT("?")));
    EXPECT_EQ(dynamic_cast<MyChoiceItemData*>(video->GetClientObject(0))->getData(), frame->currentSRef);
    EXPECT_TRUE(dynamic_cast<MyChoiceItemData*>(video->GetClientObject(2))->getData().EndsWith(wxT("::Konferenz")));
    EXPECT_EQ(video->GetSelection(), 0);
    EXPECT_TRUE(video->IsEnabled());
    EXPECT_EQ(BoxLabel(frame->boxAV), wxString(wxT(" AV-Optionen [ 0 Audio | 4 Video ] ")));
    bool logged = false;
    for (const auto& l : log.lines())
        logged = logged || (l.text.StartsWith(wxT("Verbose: doppelter Unterkanal \"Sport Portal Feed 2\" [ 1:0:19:2F02:"))
                            && l.text.EndsWith(wxT(" ] gelöscht")));
    EXPECT_TRUE(logged);

    // A service the receiver knows no variants of: empty and disabled.
    frame->currentSRef = wxT("1:0:1:9999:1:1:C00000:0:0:0:");
    frame->getVideoTracks();
    EXPECT_EQ(video->GetCount(), 0u);
    EXPECT_FALSE(video->IsEnabled());
    EXPECT_EQ(BoxLabel(frame->boxAV), wxString(wxT(" AV-Optionen [ 0 Audio | 0 Video ] ")));

    // Failure keeps the choice as it is.
    frame->currentSRef = wxT("1:0:19:28CC:41B:1:C00000:0:0:0:");
    frame->getVideoTracks();
    sim.control("/control/fault?cmd=streamsubservices&status=500");
    frame->currentSRef = wxT("1:0:1:9999:1:1:C00000:0:0:0:");
    frame->getVideoTracks();
    EXPECT_EQ(video->GetCount(), 4u);
}

TEST_F(NowNext, SimilarEventsOneLineEach)
{
    UtcZone utc;
    ScriptedServer rx(Reply(
        "<e2eventlist><e2event><e2eventstart>1700000000</e2eventstart><e2eventservicename>Kanal 1"
        "</e2eventservicename></e2event><e2event><e2eventservicename>Kanal &amp; 2</e2eventservicename>"
        "<e2eventstart>1700090000</e2eventstart></e2event></e2eventlist>"));
    ASSERT_TRUE(rx.ok());
    rx.configureProfile();
    EXPECT_EQ(frame->getEPGSimilar(wxT("1:0:1:28BB:3FB:1:C00000:0:0:0:"), wxT("7")),
              wxString(wxT("\n14.11.2023 - 22:13 - Kanal 1Kanal & 2\n15.11.2023 - 23:13 - ")));
    rx.setScript(ScriptedServer::Reply("HTTP/1.0 500 Internal Server Error", "<e2eventlist/>"));
    EXPECT_TRUE(frame->getEPGSimilar(wxT("1:0:1:2811:401:1:C00000:0:0:0:"), wxT("1")).empty());
}
