#include <gtest/gtest.h>
#include "app/startup.h"

TEST(StartupSequence, WebIFVersionCheck)
{
    EXPECT_TRUE(ParseWebIFVersion(wxT("1.6.1")).tooOld());
    EXPECT_FALSE(ParseWebIFVersion(wxT("1.6.2")).tooOld());
    EXPECT_FALSE(ParseWebIFVersion(wxT("2.0")).tooOld());
    WebIFVersion v = ParseWebIFVersion(wxT("1.7"));
    EXPECT_EQ(v.major, 1);
    EXPECT_EQ(v.minor, 7);
    EXPECT_EQ(v.patch, 0);
    EXPECT_FALSE(v.tooOld());
    // Non-numeric parts count as 0: "1.x.9" is 1.0.9, too old.
    v = ParseWebIFVersion(wxT("1.x.9"));
    EXPECT_EQ(v.minor, 0);
    EXPECT_TRUE(v.tooOld());
    EXPECT_TRUE(ParseWebIFVersion(wxT("")).tooOld());
    // Parts beyond one byte keep their value and do not spill into the next one.
    EXPECT_EQ(ParseWebIFVersion(wxT("1.300.0")).minor, 300);
    EXPECT_FALSE(ParseWebIFVersion(wxT("1.300.0")).tooOld());
    EXPECT_TRUE(ParseWebIFVersion(wxT("1.5.300")).tooOld());
}

TEST(StartupSequence, DeviceInfoNeedsItsRoot)
{
    DeviceInfo d = ParseDeviceInfo(wxT(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2deviceinfo>\n"
        "\t<e2webifversion>1.6.8</e2webifversion>\n\t<e2devicename>dm800se</e2devicename>\n"
        "</e2deviceinfo>\n"));
    EXPECT_TRUE(d.valid);
    EXPECT_EQ(d.model, wxT("dm800se"));
    EXPECT_EQ(d.version, wxT("1.6.8"));

    EXPECT_FALSE(ParseDeviceInfo(wxT("<e2simplexmlresult><e2state>True</e2state></e2simplexmlresult>")).valid);
    EXPECT_FALSE(ParseDeviceInfo(wxT("<e2deviceinfo><broken")).valid);
    EXPECT_FALSE(ParseDeviceInfo(wxString()).valid);
}
