// The settings dialog's decisions without a window.
#include <gtest/gtest.h>

#include <wx/ffile.h>
#include <wx/filename.h>

#include "app/config.h"
#include "app/configfile.h"
#include "settings/setuprules.h"

namespace {

ZPPROFILE Profile(const char* name, const char* host, long wport = 80, long sport = 8001)
{
    ZPPROFILE p;
    p.name = wxString::FromUTF8(name);
    p.host = wxString::FromUTF8(host);
    p.user = wxT("root");
    p.pass = wxT("geheim");
    p.wport = wport;
    p.sport = sport;
    return p;
}

ZPCONFIG WithProfiles(std::initializer_list<ZPPROFILE> profiles, long active = 0)
{
    ZPCONFIG cfg;
    int n = 0;
    for (const ZPPROFILE& p : profiles)
        cfg.profile[n++] = p;
    cfg.profiles = n;
    cfg.profile_active = active;
    return cfg;
}

bool AlwaysResolves(const wxString&) { return true; }

}  // namespace

TEST(ScrollMappings, EndsOfEveryBarAndTheirLabels)
{
    EXPECT_DOUBLE_EQ(BandValue(0), -24.0);
    EXPECT_DOUBLE_EQ(BandValue(360), 12.0);
    EXPECT_EQ(BandLabel(BandValue(0)), wxT("-24.0"));
    EXPECT_EQ(BandLabel(BandValue(360)), wxT("+12.0"));
    EXPECT_DOUBLE_EQ(BrightnessValue(0), -1.0);
    EXPECT_DOUBLE_EQ(BrightnessValue(200), 1.0);
    EXPECT_DOUBLE_EQ(GainValue(200), 2.0);
    EXPECT_EQ(BalanceLabel(GainValue(100)), wxT("+1.00"));
    EXPECT_EQ(BalanceLabel(BrightnessValue(0)), wxT("-1.00"));
    EXPECT_EQ(PiPSizeValue(0), 10);
    EXPECT_EQ(PiPSizeValue(40), 50);
    EXPECT_EQ(PiPAlphaLabel(8), wxT("9"));
}

TEST(ScrollMappings, StepsBetweenWholeNumbersAreKept)
{
    // whole-number division would give whole dB, -1/0/1 and an invisible alpha
    EXPECT_DOUBLE_EQ(BandValue(245), 0.5);
    EXPECT_EQ(BandLabel(BandValue(233)), wxT("-0.7"));
    EXPECT_DOUBLE_EQ(BrightnessValue(150), 0.5);
    EXPECT_DOUBLE_EQ(GainValue(75), 0.75);
    EXPECT_DOUBLE_EQ(PiPAlphaValue(0), 0.1);
    EXPECT_DOUBLE_EQ(PiPAlphaValue(7), 0.8);
}

TEST(ScrollMappings, StoredValuesFindTheirPositionAgain)
{
    for (int p = 0; p <= 360; p++)
        ASSERT_EQ(BandPosition(BandValue(p)), p);
    for (int p = 0; p <= 200; p++) {
        ASSERT_EQ(BrightnessPosition(BrightnessValue(p)), p);
        ASSERT_EQ(GainPosition(GainValue(p)), p);
    }
    for (int p = 0; p <= 8; p++)
        ASSERT_EQ(PiPAlphaPosition(PiPAlphaValue(p)), p);
    // values a hand-edited file may hold stay on the bar
    EXPECT_EQ(BandPosition(-99.0), 0);
    EXPECT_EQ(BandPosition(40.0), 360);
    EXPECT_EQ(GainPosition(-1.0), 0);
    EXPECT_EQ(PiPAlphaPosition(1.0), 8);
    EXPECT_EQ(PiPSizePosition(33), 23);
    EXPECT_EQ(PiPSizePosition(90), 40);
    EXPECT_EQ(PiPOffsetPosition(150), 99);
}

TEST(SetupValues, ChannelChoiceIsTheTwoProviderFlags)
{
    for (int index = 0; index < 4; index++) {
        int tv = -1, ra = -1;
        ChannelListFlags(index, &tv, &ra);
        EXPECT_EQ(ChannelListIndex(tv, ra), index);
    }
    int tv = 0, ra = 0;
    ChannelListFlags(2, &tv, &ra);
    EXPECT_EQ(tv, 0);
    EXPECT_EQ(ra, 1);
}

TEST(SetupValues, TimerDirectoryAndDirectoryLists)
{
    EXPECT_EQ(NormaliseTimerDir(wxT("hdd/movie")), wxT("/hdd/movie/"));
    EXPECT_EQ(NormaliseTimerDir(wxT("/media/usb/")), wxT("/media/usb/"));
    EXPECT_EQ(NormaliseTimerDir(wxString()), wxT("/"));

    const auto dirs = SplitDirList(wxT("/hdd/movie/; /hdd/movie/archiv/;;"));
    ASSERT_EQ(dirs.size(), 2u);
    EXPECT_EQ(dirs[1], wxT("/hdd/movie/archiv/"));
    EXPECT_EQ(JoinDirList(dirs), wxT("/hdd/movie/;/hdd/movie/archiv/;"));
    EXPECT_TRUE(SplitDirList(wxString()).empty());

    EXPECT_EQ(WithTrailingSeparator(wxT("/home/a")), wxT("/home/a/"));
    EXPECT_EQ(WithTrailingSeparator(wxT("/home/a/")), wxT("/home/a/"));
    EXPECT_EQ(FieldNumber(wxT(" 8001 ")), 8001);
    EXPECT_EQ(FieldNumber(wxT("80a")), 0);
}

TEST(ProfileListTest, ListsWhatTheRecordHoldsAndNeverNothing)
{
    ZPCONFIG empty;
    ProfileList none(empty);
    ASSERT_EQ(none.count(), 1);
    EXPECT_EQ(none.at(0).host, wxT("127.0.0.1"));
    EXPECT_EQ(none.origin(0), -1);

    // Profile 1 is the factory placeholder: the count is 0, but the valid
    // profiles behind it must survive an apply.
    ZPCONFIG placeholder = WithProfiles({ Profile("Boxhaus", "127.0.0.1"), Profile("Keller", "10.0.0.9") });
    placeholder.profiles = 0;
    ProfileList kept(placeholder);
    ASSERT_EQ(kept.count(), 2);
    EXPECT_EQ(kept.at(1).name, wxT("Keller"));
}

TEST(ProfileListTest, ActiveProfileFollowsMovesAndDeletes)
{
    ProfileList list(WithProfiles({ Profile("A", "10.0.0.1"), Profile("B", "10.0.0.2"),
                                    Profile("C", "10.0.0.3") }, 1));
    EXPECT_EQ(list.active(), 1);
    EXPECT_EQ(list.moveUp(1), 0);
    EXPECT_EQ(list.active(), 0);
    EXPECT_EQ(list.at(0).name, wxT("B"));
    EXPECT_EQ(list.origin(0), 1);
    EXPECT_EQ(list.moveDown(1), 2);   // A goes last; B stays first
    EXPECT_EQ(list.active(), 0);
    EXPECT_EQ(list.moveUp(0), -1);
    EXPECT_EQ(list.moveDown(2), -1);

    EXPECT_EQ(list.remove(1), 1);     // C removed, A selected
    EXPECT_EQ(list.active(), 0);
    EXPECT_EQ(list.remove(0), 0);     // the active one goes
    EXPECT_EQ(list.active(), -1);
    EXPECT_FALSE(list.canDelete());
    EXPECT_EQ(list.remove(0), -1);

    ZPCONFIG out;
    list.store(out);
    EXPECT_EQ(out.profiles, 1);
    EXPECT_EQ(out.profile_active, 0);
    EXPECT_EQ(out.profile[0].name, wxT("A"));
    EXPECT_TRUE(out.profile[1].name.empty());
}

TEST(ProfileListTest, AtMostTenAndNamesAreNeverEmpty)
{
    ProfileList list(WithProfiles({ Profile("A", "10.0.0.1") }));
    EXPECT_EQ(list.add(wxString()), -1);
    for (int i = 1; i < 10; i++)
        EXPECT_EQ(list.add(wxString::Format(wxT("P%d"), i)), i);
    EXPECT_FALSE(list.canAdd());
    EXPECT_EQ(list.add(wxT("elf")), -1);
    EXPECT_EQ(list.at(9).user, wxT("root"));
    EXPECT_EQ(list.at(9).pass, wxT("zaptower"));
    EXPECT_EQ(list.at(9).wport, 80);
    EXPECT_EQ(list.at(9).sport, 8001);
    EXPECT_FALSE(list.rename(3, wxString()));
    EXPECT_TRUE(list.rename(3, wxT("Wohnzimmer")));
    EXPECT_EQ(list.at(3).name, wxT("Wohnzimmer"));
}

TEST(ProfileChecks, FirstFaultInListOrderNamesTheProfile)
{
    ZPPROFILE noPass = Profile("Boxhaus", "127.0.0.1");
    noPass.pass.clear();
    ProfileList list(WithProfiles({ Profile("Gut", "10.0.0.1"), noPass, Profile("Port", "10.0.0.3", 70000) }));
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves),
              wxT("Das Profil \"Boxhaus\" ist unvollständig.\n\nBitte alle Felder ausfüllen!"));
    list.at(1).pass = wxT("x");
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves), wxT("Ungültiger Port für Profil \"Port\":\n\n70000"));
    list.at(2).wport = 80;
    list.at(2).sport = -1;
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves), wxT("Ungültiger Port für Profil \"Port\":\n\n-1"));
    list.at(2).sport = 8001;
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves), wxString());
    EXPECT_EQ(CheckProfiles(list, [](const wxString& h) { return h != wxT("10.0.0.3"); }),
              wxT("Ungültige Adresse für Profil \"Port\":\n\n10.0.0.3"));
}

TEST(ProfileChecks, HostsThatCannotBeAnIPv4Receiver)
{
    EXPECT_TRUE(ResolvesIPv4(wxT("192.168.178.20")));
    EXPECT_TRUE(ResolvesIPv4(wxT("localhost")));
    EXPECT_FALSE(ResolvesIPv4(wxT("192.168.1.300")));
    EXPECT_FALSE(ResolvesIPv4(wxT("192.168.1")));
    EXPECT_FALSE(ResolvesIPv4(wxT("box haus")));
    EXPECT_FALSE(ResolvesIPv4(wxT("http://192.168.1.2")));
    EXPECT_FALSE(ResolvesIPv4(wxT("fe80::1")));
    EXPECT_FALSE(ResolvesIPv4(wxString()));
}

TEST(ProxyChecks, OnlyASwitchedOnProxyMustBeComplete)
{
    EXPECT_EQ(CheckProxy(false, wxString(), wxT("x"), wxString(), wxString()), wxString());
    EXPECT_EQ(CheckProxy(true, wxT("proxy"), wxT("3128"), wxT("u"), wxString()),
              wxT("Die Proxy-Einstellungen sind unvollständig.\n\nBitte alle Felder ausfüllen!"));
    EXPECT_EQ(CheckProxy(true, wxT("proxy"), wxT("port"), wxT("u"), wxT("p")), wxT("Ungültiger Proxy-Port!"));
    EXPECT_EQ(CheckProxy(true, wxT("proxy"), wxT("65536"), wxT("u"), wxT("p")), wxT("Ungültiger Proxy-Port!"));
    EXPECT_EQ(CheckProxy(true, wxT("proxy"), wxT("3128"), wxT("u"), wxT("p")), wxString());
    EXPECT_FALSE(CheckSkipTime(wxT("0")).empty());
    EXPECT_FALSE(CheckSkipTime(wxT("zehn")).empty());
    EXPECT_TRUE(CheckSkipTime(wxT("30")).empty());
}

TEST(ProviderCaches, StayWithTheirReceiver)
{
    const ZPCONFIG before = WithProfiles({ Profile("A", "10.0.0.1"), Profile("B", "10.0.0.2"),
                                           Profile("C", "10.0.0.3") });
    ProfileList list(before);
    list.moveUp(1);              // B A C
    list.remove(2);              // B A
    list.at(1).host = wxT("10.0.0.9");   // A now names another receiver
    list.add(wxT("D"));          // B A D

    char tmpl[] = "/tmp/zp-caches.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const wxString dir = wxString::FromUTF8(tmpl) + wxT("/");
    auto write = [&](const wxString& name, const char* text) {
        wxFFile f(dir + name, wxT("w"));
        f.Write(wxString::FromUTF8(text));
    };
    auto read = [&](const wxString& name) {
        wxString text;
        wxFFile f(dir + name, wxT("r"));
        if (f.IsOpened())
            f.ReadAll(&text);
        return text;
    };
    write(wxT("tv-provider-0.xml"), "A");
    write(wxT("tv-provider-1.xml"), "B");
    write(wxT("ra-provider-1.xml"), "b");
    write(wxT("tv-provider-2.xml"), "C");

    MoveProviderCaches(dir, PlanCacheMoves(list, before));
    EXPECT_EQ(read(wxT("tv-provider-0.xml")), wxT("B"));
    EXPECT_EQ(read(wxT("ra-provider-0.xml")), wxT("b"));
    EXPECT_FALSE(wxFileExists(dir + wxT("tv-provider-1.xml")));   // A's cache went with its address
    EXPECT_FALSE(wxFileExists(dir + wxT("tv-provider-2.xml")));   // D is new
    EXPECT_FALSE(wxFileExists(dir + wxT("ra-provider-1.xml")));
    wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE);
}

TEST(ProviderCaches, UnchangedProfilesMoveNothing)
{
    const ZPCONFIG before = WithProfiles({ Profile("A", "10.0.0.1"), Profile("B", "10.0.0.2") });
    ProfileList list(before);
    list.at(0).pass = wxT("neu");   // same receiver, other password
    for (const CacheMove& m : PlanCacheMoves(list, before))
        EXPECT_GE(m.from, 2) << m.from << " -> " << m.to;
}

TEST(Connection, SameConnectionComparesHowTheReceiverIsReached)
{
    ZPPROFILE a = Profile("A", "10.0.0.1");
    ZPPROFILE b = a;
    b.name = wxT("anders");
    EXPECT_TRUE(SameConnection(a, b));
    b.https = 1;
    EXPECT_FALSE(SameConnection(a, b));
    b = a;
    b.sport = 8002;
    EXPECT_FALSE(SameConnection(a, b));
}
