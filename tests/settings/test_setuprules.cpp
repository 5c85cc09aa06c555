// The settings dialog's decisions without a window.
#include "setup_fixture.h"

#include <wx/ffile.h>

#include "settings/setuprules.h"

namespace {

ZPCONFIG WithProfiles(std::initializer_list<ZPPROFILE> profiles, long active = 0)
{
    ZPCONFIG cfg;
    for (const ZPPROFILE& p : profiles)
        cfg.profile[cfg.profiles++] = p;
    cfg.profile_active = active;
    return cfg;
}

bool AlwaysResolves(const wxString&) { return true; }

}  // namespace

TEST(ScrollMappings, ValuesBetweenWholeNumbersLabelsAndWayBack)
{
    // whole-number division would give whole dB, -1/0/1 and an invisible alpha
    const struct {
        double (*value)(int);
        wxString (*label)(double);
        int pos;
        double expected;
        const wchar_t* text;
    } rows[] = {
        { BandValue, BandLabel, 0, -24.0, L"-24.0" },      { BandValue, BandLabel, 360, 12.0, L"+12.0" },
        { BandValue, BandLabel, 233, -0.7, L"-0.7" },      { BrightnessValue, BalanceLabel, 0, -1.0, L"-1.00" },
        { BrightnessValue, BalanceLabel, 150, 0.5, L"+0.50" }, { GainValue, BalanceLabel, 75, 0.75, L"+0.75" },
    };
    for (const auto& r : rows) {
        EXPECT_DOUBLE_EQ(r.value(r.pos), r.expected) << r.pos;
        EXPECT_EQ(r.label(r.value(r.pos)), wxString(r.text));
    }
    EXPECT_DOUBLE_EQ(PiPAlphaValue(0), 0.1);
    EXPECT_EQ(PiPAlphaLabel(8), wxT("9"));
    EXPECT_EQ(PiPSizeValue(40), 50);

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
    EXPECT_EQ(GainPosition(9.0), 200);
    EXPECT_EQ(PiPAlphaPosition(1.0), 8);
    EXPECT_EQ(PiPSizePosition(90), 40);
    EXPECT_EQ(PiPOffsetPosition(150), 99);
}

TEST(ProfileChecks, FirstFaultInListOrderNamesTheProfile)
{
    ZPPROFILE noPass = TestProfile("Boxhaus", "127.0.0.1");
    noPass.pass.clear();
    ZPPROFILE badPort = TestProfile("Port", "10.0.0.3");
    badPort.wport = 70000;
    ProfileList list(WithProfiles({ TestProfile("Gut", "10.0.0.1"), noPass, badPort }));
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves),
              wxT("Das Profil \"Boxhaus\" ist unvollständig.\n\nBitte alle Felder ausfüllen!"));
    list.at(1).pass = wxT("x");
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves), wxT("Ungültiger Port für Profil \"Port\":\n\n70000"));
    list.at(2).wport = 80;
    list.at(2).sport = -1;
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves), wxT("Ungültiger Port für Profil \"Port\":\n\n-1"));
    list.at(2).sport = 8001;
    EXPECT_EQ(CheckProfiles(list, AlwaysResolves), wxString());

    for (const char* good : { "192.168.178.20", "localhost" })
        EXPECT_TRUE(ResolvesIPv4(wxString::FromUTF8(good))) << good;
    for (const char* bad : { "192.168.1.300", "192.168.1", "box haus", "http://192.168.1.2", "fe80::1", "" })
        EXPECT_FALSE(ResolvesIPv4(wxString::FromUTF8(bad))) << bad;
}

TEST(ProviderCaches, StayWithTheirReceiver)
{
    const ZPCONFIG before = WithProfiles({ TestProfile("A", "10.0.0.1"), TestProfile("B", "10.0.0.2"),
                                           TestProfile("C", "10.0.0.3"), TestProfile("E", "10.0.0.5") });
    ProfileList list(before);
    list.moveUp(1);                      // B A C E
    list.remove(2);                      // B A E
    list.at(1).host = wxT("10.0.0.9");   // A now names another receiver
    list.at(2).pass = wxT("neu");        // E: same receiver, other password

    char tmpl[] = "/tmp/zp-caches.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const wxString dir = wxString::FromUTF8(tmpl) + wxT("/");
    auto read = [&](const char* name) {
        wxString text;
        wxFFile f(dir + name, wxT("r"));
        if (f.IsOpened())
            f.ReadAll(&text);
        return text;
    };
    for (const char* name : { "tv-provider-0.xml", "tv-provider-1.xml", "ra-provider-1.xml", "tv-provider-2.xml",
                              "tv-provider-3.xml" })
        wxFFile(dir + name, wxT("w")).Write(wxString::FromUTF8(name));

    MoveProviderCaches(dir, PlanCacheMoves(list, before));
    EXPECT_EQ(read("tv-provider-0.xml"), wxT("tv-provider-1.xml"));
    EXPECT_EQ(read("ra-provider-0.xml"), wxT("ra-provider-1.xml"));
    EXPECT_EQ(read("tv-provider-1.xml"), wxString());   // A's cache went with its address, C's with C
    EXPECT_EQ(read("tv-provider-2.xml"), wxT("tv-provider-3.xml"));
    EXPECT_FALSE(wxFileExists(dir + wxT("tv-provider-3.xml")));
    wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE);
}
