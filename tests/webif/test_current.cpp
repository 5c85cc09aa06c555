// Reading standby, current service, events, tracks and sub-services, and the
// texts made from them.
#include <gtest/gtest.h>
#include <cstdlib>

#include "padded.h"
#include "webif/current.h"

namespace {

struct UtcClock {
    UtcClock() { setenv("TZ", "UTC", 1); tzset(); }
};

wxString EventList(const wxString& events)
{
    return wxT("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2eventlist>") + events + wxT("</e2eventlist>");
}

wxString Event(const wxString& start, const wxString& duration, const wxString& title,
               const wxString& service = wxT("Das Erste"))
{
    return wxT("<e2event><e2eventid>42</e2eventid><e2eventstart>") + start + wxT("</e2eventstart>")
        + wxT("<e2eventduration>") + duration + wxT("</e2eventduration><e2eventcurrenttime>1</e2eventcurrenttime>")
        + wxT("<e2eventtitle>") + title + wxT("</e2eventtitle><e2eventdescription>None</e2eventdescription>")
        + wxT("<e2eventservicereference>1:0:1:1:2:3:4:0:0:0:</e2eventservicereference>")
        + wxT("<e2eventservicename>") + service + wxT("</e2eventservicename></e2event>");
}

}  // namespace

TEST(CurrentParse, StandbyAndPlayableFlags)
{
    const wxString standby = wxT("<e2powerstate><e2instandby>true</e2instandby></e2powerstate>");
    const wxString busy = wxT("<e2serviceplayable><e2servicereference>1:0:1:A:1:1:C00000:0:0:0:</e2servicereference>"
                              "<e2isplayable>False</e2isplayable></e2serviceplayable>");
    for (const wxString& xml : {standby, Padded(standby)})
        EXPECT_TRUE(ParseStandbyState(xml));
    for (const wxString& xml : {busy, Padded(busy)})
        EXPECT_TRUE(ServiceNotPlayable(xml));
    EXPECT_FALSE(ParseStandbyState(wxT("<e2powerstate><e2instandby>false</e2instandby></e2powerstate>")));
    EXPECT_FALSE(ParseStandbyState(wxT("<e2other><e2instandby>true</e2instandby></e2other>")));
    EXPECT_FALSE(ParseStandbyState(wxT("<e2powerstate><e2instandby>true")));
    EXPECT_FALSE(ServiceNotPlayable(wxT("<e2serviceplayable><e2isplayable>True</e2isplayable></e2serviceplayable>")));
    EXPECT_FALSE(ServiceNotPlayable(wxT("<html>500</html>")));
}

TEST(CurrentParse, CurrentServiceReferenceRules)
{
    wxString ref, name;
    const wxString reply =
        wxT("<e2currentserviceinformation><e2service><e2servicereference>1:0:1:2B:44D:1:C00000:0:0:0::Kanal Nord Relay"
            "</e2servicereference><e2servicename>Kanal Nord Relay</e2servicename></e2service>"
            "<e2eventlist/></e2currentserviceinformation>");
    for (const wxString& xml : {reply, Padded(reply)}) {
        ASSERT_TRUE(ParseCurrentService(xml, ref, name));
        EXPECT_EQ(name, wxString(wxT("Kanal Nord Relay")));
        EXPECT_EQ(CurrentRefFromReply(ref, wxT("old")), wxString(wxT("1:0:1:2B:44D:1:C00000:0:0:0:")));
    }
    EXPECT_EQ(CurrentRefFromReply(wxT("N/A"), wxT("1:0:2:1:2:3:4:0:0:0:")), wxString(wxT("1:0:2:1:2:3:4:0:0:0:")));
    EXPECT_EQ(CurrentRefFromReply(wxT("1:0:2:1:2:3:4:0:0:0:"), wxT("x")), wxString(wxT("1:0:2:1:2:3:4:0:0:0:")));
    EXPECT_EQ(ModeFromRef(wxT("1:0:0:0:0:0:0:0:0:0:/hdd/movie/a.ts"), 1), 3);
    EXPECT_EQ(ModeFromRef(wxT("1:0:19:1:2:3:4:0:0:0:"), 2), 1);
    EXPECT_EQ(ModeFromRef(wxT("1:0:2:1:2:3:4:0:0:0:"), 1), 2);
    EXPECT_EQ(ModeFromRef(wxT("N/A"), 2), 2);
    EXPECT_FALSE(ParseCurrentService(wxT("<e2currentserviceinformation/>"), ref, name));
    EXPECT_FALSE(ParseCurrentService(wxT("<e2servicelist><e2service/></e2servicelist>"), ref, name));
}

TEST(NowNextTexts, NextEventTextsAndMissingFields)
{
    UtcClock utc;
    const wxString given = EventList(Event(wxT("1700000000"), wxT("5400"), wxT("Tom &amp; Jerry")));
    const wxString none = EventList(Event(wxT("None"), wxT(""), wxT("None")));
    for (bool padded : {false, true}) {
        EventFields ev;
        ASSERT_TRUE(ParseEventFields(padded ? Padded(given) : given, ev));
        NowNextTexts t = NextEventTexts(ev);
        EXPECT_EQ(t.start, wxString(wxT("22:13")));
        EXPECT_EQ(t.title, wxString(wxT("Tom && Jerry")));  // a label shows a single "&"
        EXPECT_EQ(t.time, wxString(wxT("90 min")));
        EXPECT_EQ(t.combined, wxString(wxT("Tom + Jerry (90 min)")));
        EXPECT_TRUE(ev.description.empty());  // "None" counts as missing

        EventFields missing;
        ASSERT_TRUE(ParseEventFields(padded ? Padded(none) : none, missing));
        t = NextEventTexts(missing);
        EXPECT_EQ(t.start, wxString(wxT("00:00")));
        EXPECT_EQ(t.title, wxString(wxT("keine Beschreibung vorhanden")));
        EXPECT_EQ(t.time, wxString(wxT("000 min")));
        EXPECT_EQ(t.combined, wxString(wxT("keine Beschreibung vorhanden (000 min)")));
    }
}

TEST(NowNextTexts, LastEventWinsFieldByField)
{
    EventFields ev;
    ASSERT_TRUE(ParseEventFields(
        EventList(Event(wxT("100"), wxT("60"), wxT("Erste")) +
                  wxT("<e2event><e2eventtitle>Zweite</e2eventtitle></e2event>")),
        ev));
    EXPECT_EQ(ev.title, wxString(wxT("Zweite")));
    EXPECT_EQ(ev.start, wxString(wxT("100")));
    EXPECT_EQ(ev.id, wxString(wxT("42")));
    EXPECT_FALSE(ParseEventFields(wxT("<e2simplexmlresult/>"), ev));
}

TEST(CurrentParse, AudioTracks)
{
    const wxString reply =
        wxT("<e2audiotracklist>"
            "<e2audiotrack><e2audiotrackdescription>MPEG eng</e2audiotrackdescription><e2audiotrackid>0</e2audiotrackid>"
            "<e2audiotrackpid>256</e2audiotrackpid><e2audiotrackactive>False</e2audiotrackactive></e2audiotrack>"
            "<e2audiotrack><e2audiotrackdescription>AC3 deu</e2audiotrackdescription><e2audiotrackid>2</e2audiotrackid>"
            "<e2audiotrackpid>258</e2audiotrackpid><e2audiotrackactive>True</e2audiotrackactive></e2audiotrack>"
            "</e2audiotracklist>");
    std::vector<AudioTrack> tracks;
    bool wellFormed = false;
    for (const wxString& xml : {reply, Padded(reply)}) {
        tracks.clear();
        ASSERT_TRUE(ParseAudioTracks(xml, tracks, wellFormed));
        EXPECT_TRUE(wellFormed);
        ASSERT_EQ(tracks.size(), 2u);
        EXPECT_EQ(tracks[1].description, wxString(wxT("AC3 deu")));
        EXPECT_EQ(tracks[1].id, wxString(wxT("2")));
        EXPECT_EQ(tracks[1].active, wxString(wxT("True")));
        EXPECT_EQ(FindTrackByPid(tracks, wxT("258")), 1);
        EXPECT_EQ(FindTrackByPid(tracks, wxT("259")), -1);
    }

    tracks.clear();
    EXPECT_FALSE(ParseAudioTracks(wxT("<e2audiotracklist><e2audiotrack>"), tracks, wellFormed));
    EXPECT_FALSE(wellFormed);
    EXPECT_FALSE(ParseAudioTracks(wxT("<e2other/>"), tracks, wellFormed));
    EXPECT_TRUE(wellFormed);
}

TEST(CurrentParse, SubServicesLoseEmphasisCharacters)
{
    std::vector<SubService> subs;
    bool wellFormed = false;
    ASSERT_TRUE(ParseSubServices(
        wxString::FromUTF8("<e2servicelist><e2service><e2servicereference>1:0:1:A:B:C:D:0:0:0:</e2servicereference>"
                           "<e2servicename>\xC2\x86Nord\xC2\x87 Fernsehen</e2servicename></e2service>"
                           "<e2service><e2servicereference>1:0:1:B:B:C:D:0:0:0:</e2servicereference>"
                           "<e2servicename></e2servicename></e2service></e2servicelist>"),
        subs, wellFormed));
    ASSERT_EQ(subs.size(), 2u);
    EXPECT_EQ(subs[0].name, wxString(wxT("Nord Fernsehen")));
    EXPECT_TRUE(subs[1].name.empty());
    EXPECT_FALSE(ParseSubServices(wxT("<e2servicelistrecursive/>"), subs, wellFormed));
    EXPECT_TRUE(wellFormed);
    EXPECT_FALSE(ParseSubServices(wxT("<e2servicelist>"), subs, wellFormed));
    EXPECT_FALSE(wellFormed);
}
