// Current service, now/next, audio and video tracks and similar events in
// the main window.
#include <arpa/inet.h>
#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <wx/bmpcbox.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "support/msgbox.h"
#include "support/sim.h"
#include "test_channeltree_fixture.h"
#include "webif/current.h"
#include "webif/webif.h"

namespace {

// A receiver whose replies the test writes literally, for event texts the
// simulator's real-time guide cannot be made to produce on demand.
class LiteralReceiver {
public:
    LiteralReceiver() : host_(SimReceiver::uniqueHost())
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        inet_pton(AF_INET, host_.c_str(), &a.sin_addr);
        int one = 1;
        setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (bind(fd_, (sockaddr*)&a, sizeof a) != 0 || listen(fd_, 8) != 0) {
            close(fd_);
            fd_ = -1;
            return;
        }
        socklen_t len = sizeof a;
        getsockname(fd_, (sockaddr*)&a, &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~LiteralReceiver()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (fd_ >= 0)
            close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    // Replies with body to every request whose path starts with "/web/" + command.
    void reply(const std::string& command, const std::string& body)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        replies_[command] = body;
    }
    void configureProfile() const
    {
        ZPPROFILE& p = config.profile[0];
        p.name = wxT("Literal");
        p.host = wxString::FromUTF8(host_.c_str());
        p.user = wxT("root");
        p.pass = wxT("zaptower");
        p.wport = port_;
        p.sport = port_;
        p.https = 0;
        config.profiles = 1;
        config.profile_active = 0;
    }

private:
    void run()
    {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            int c = accept(fd_, nullptr, nullptr);
            if (c < 0)
                continue;
            std::string head;
            char buf[2048];
            while (head.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = recv(c, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                head.append(buf, n);
            }
            const size_t start = head.find(' ') + 1;
            const std::string path = head.substr(start, head.find(' ', start) - start);
            std::string body;
            bool found = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                for (const auto& r : replies_)
                    if (path.compare(0, 5 + r.first.size(), "/web/" + r.first) == 0) {
                        body = r.second;
                        found = true;
                    }
            }
            std::string out = found ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n";
            out += "Content-Type: text/xml; charset=UTF-8\r\nContent-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body;
            send(c, out.data(), out.size(), MSG_NOSIGNAL);
            close(c);
        }
    }

    std::string host_;
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::map<std::string, std::string> replies_;
};

std::string EventReply(const std::string& start, const std::string& duration, const std::string& title,
                       const std::string& service = "Schwaben &amp; Franken TV")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2eventlist>\n<e2event>\n"
           "<e2eventid>7</e2eventid>\n<e2eventstart>" + start + "</e2eventstart>\n"
           "<e2eventduration>" + duration + "</e2eventduration>\n"
           "<e2eventcurrenttime>1700000000</e2eventcurrenttime>\n"
           "<e2eventtitle>" + title + "</e2eventtitle>\n"
           "<e2eventdescription>None</e2eventdescription>\n<e2eventdescriptionextended>None</e2eventdescriptionextended>\n"
           "<e2eventservicereference>1:0:1:28BB:3FB:1:C00000:0:0:0:</e2eventservicereference>\n"
           "<e2eventservicename>" + service + "</e2eventservicename>\n</e2event>\n</e2eventlist>\n";
}

struct UtcZone {
    UtcZone() { setenv("TZ", "UTC", 1); tzset(); }
};

// Collects the log lines, verbose ones included.
class LogLines : public wxLog {
public:
    LogLines() : previous_(wxLog::SetActiveTarget(this)) { wxLog::SetVerbose(true); }
    ~LogLines() override
    {
        wxLog::SetVerbose(false);
        wxLog::SetActiveTarget(previous_);
    }
    std::vector<wxString> lines;

protected:
    void DoLogRecord(wxLogLevel, const wxString& msg, const wxLogRecordInfo&) override { lines.push_back(msg); }

private:
    wxLog* previous_;
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
    LiteralReceiver rx;
    ASSERT_TRUE(rx.ok());
    rx.configureProfile();
    frame->currentSRef = wxT("1:0:1:28BB:3FB:1:C00000:0:0:0:");
    rx.reply("epgservicenow", EventReply("1700000000", "5400", "Tom &amp; Jerry"));
    rx.reply("epgservicenext", EventReply("1700005400", "None", "Kochen &amp; Genie\xC3\x9F" "en"));

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
    ASSERT_TRUE(frame->getNowNextAt(false, 1700000000));
    EXPECT_EQ(Label(frame->infoText[3]), wxString(wxT("23:43")));
    EXPECT_EQ(frame->infoText[4]->GetLabelText(), wxString::FromUTF8("Kochen & Genießen"));
    EXPECT_EQ(Label(frame->infoText[5]), wxString(wxT("000 min")));
    EXPECT_EQ(frame->nextText, wxString::FromUTF8("Kochen + Genießen (000 min)"));

    // An event that is long over: negative remainder, full gauge.
    ASSERT_TRUE(frame->getNowNextAt(true, 1700000000 + 100 * 60));
    EXPECT_EQ(Label(frame->infoText[2]), wxString(wxT("+-10 min")));
    EXPECT_EQ(frame->progressGauge->GetValue(), 90);

    // No guide data: fallback texts, empty gauge.
    rx.reply("epgservicenow", EventReply("None", "", "None"));
    ASSERT_TRUE(frame->getNowNextAt(true, 1700000000));
    EXPECT_EQ(Label(frame->infoText[0]), wxString(wxT("00:00")));
    EXPECT_EQ(Label(frame->infoText[1]), wxString(wxT("keine Beschreibung vorhanden")));
    EXPECT_EQ(Label(frame->infoText[2]), wxString(wxT("000 min")));
    EXPECT_EQ(frame->progressGauge->GetValue(), 0);

    // Not an event list: nothing changes.
    rx.reply("epgservicenext", "<e2simplexmlresult><e2state>False</e2state></e2simplexmlresult>");
    ASSERT_TRUE(frame->getNowNextAt(false, 1700000000));
    EXPECT_EQ(Label(frame->infoText[5]), wxString(wxT("000 min")));
    EXPECT_EQ(frame->nextText, wxString::FromUTF8("Kochen + Genießen (000 min)"));
}

TEST_F(NowNext, NowNextFromTheReceiver)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    frame->currentSRef = wxT("1:0:1:2811:401:1:C00000:0:0:0:");
    ASSERT_TRUE(frame->getNowNext(true));
    ASSERT_TRUE(frame->getNowNext(false));
    const auto paths = sim.loggedPaths("web");
    ASSERT_GE(paths.size(), 2u);
    EXPECT_EQ(paths[paths.size() - 2], "/web/epgservicenow?sRef=1:0:1:2811:401:1:C00000:0:0:0:");
    EXPECT_EQ(paths.back(), "/web/epgservicenext?sRef=1:0:1:2811:401:1:C00000:0:0:0:");
    EXPECT_EQ(frame->nowTitle, wxString(wxT("Kulturkanal")));
    EXPECT_EQ(BoxLabel(frame->boxInfo), wxString(wxT(" Programminfo [ Kulturkanal ] ")));
    EXPECT_TRUE(Label(frame->infoText[2]).StartsWith(wxT("+")));
    EXPECT_TRUE(Label(frame->infoText[5]).EndsWith(wxT(" min")));
    EXPECT_LE(frame->progressGauge->GetValue(), frame->progressGauge->GetRange());

    sim.control("/control/fault?cmd=epgservicenow&status=404");
    const wxString before = frame->nowText;
    frame->nowTitle = wxT("unverändert");
    EXPECT_FALSE(frame->getNowNext(true));
    EXPECT_EQ(frame->nowTitle, wxString(wxT("unverändert")));
    EXPECT_EQ(frame->nowText, before);
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
    LogLines log;
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
    for (const auto& l : log.lines)
        logged = logged || (l.StartsWith(wxT("Verbose: doppelter Unterkanal \"Sport Portal Feed 2\" [ 1:0:19:2F02:"))
                            && l.EndsWith(wxT(" ] gelöscht")));
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
    LiteralReceiver rx;
    ASSERT_TRUE(rx.ok());
    rx.configureProfile();
    rx.reply("epgsimilar",
             "<e2eventlist><e2event><e2eventstart>1700000000</e2eventstart><e2eventservicename>Kanal 1"
             "</e2eventservicename></e2event><e2event><e2eventservicename>Kanal &amp; 2</e2eventservicename>"
             "<e2eventstart>1700090000</e2eventstart></e2event></e2eventlist>");
    EXPECT_EQ(frame->getEPGSimilar(wxT("1:0:1:28BB:3FB:1:C00000:0:0:0:"), wxT("7")),
              wxString(wxT("\n14.11.2023 - 22:13 - Kanal 1Kanal & 2\n15.11.2023 - 23:13 - ")));
    EXPECT_TRUE(frame->getEPGSimilar(wxT("1:0:1:0:0:0:0:0:0:0:"), wxT("0")).StartsWith(wxT("\n")));

    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    sim.control("/control/fault?cmd=epgsimilar&status=500");
    EXPECT_TRUE(frame->getEPGSimilar(wxT("1:0:1:2811:401:1:C00000:0:0:0:"), wxT("1")).empty());
    const auto paths = sim.loggedPaths("web");
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.back(), "/web/epgsimilar?sRef=1%3A0%3A1%3A2811%3A401%3A1%3AC00000%3A0%3A0%3A0%3A&eventid=1");
}
