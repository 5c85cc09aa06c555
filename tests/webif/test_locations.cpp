// The receiver's recording directories: the reader on replies as receivers
// write them, and the request against the simulated receiver.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "support/sim.h"
#include "webif/locations.h"

TEST(Locations, ReadsIndentedRepliesAndLeavesTheListAloneOnOtherDocuments)
{
    const wxString xml = wxString::FromUTF8(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2locations>\n"
        "\t<e2location>\n\t\t/media/hdd/movie/\n\t</e2location>\n"
        "\t<e2note>not a location</e2note>\n"
        "\t<e2location>/media/usb/Filme &amp; Serien/</e2location>\n"
        "\t<e2location>   </e2location>\n"
        "\t<e2location>/media/hdd/Überspielt/</e2location>\n</e2locations>\n");
    std::vector<wxString> dirs = { wxT("/alt/") };
    for (const char* other : { "<e2simplexmlresult><e2state>False</e2state></e2simplexmlresult>",
                               "<e2locations><e2location>/a/", "" })
        EXPECT_FALSE(ParseLocations(wxString::FromUTF8(other), dirs)) << other;
    EXPECT_EQ(dirs, std::vector<wxString>{ wxT("/alt/") });
    ASSERT_TRUE(ParseLocations(xml, dirs));
    EXPECT_EQ(dirs, (std::vector<wxString>{ wxT("/media/hdd/movie/"), wxT("/media/usb/Filme & Serien/"),
                                            wxString::FromUTF8("/media/hdd/Überspielt/") }));
    // a receiver without recording directories answers with an empty list
    EXPECT_TRUE(ParseLocations(wxT("<e2locations/>"), dirs));
    EXPECT_TRUE(dirs.empty());
}

TEST(Locations, RequestedFromTheReceiver)
{
    CFG_PATH = wxGetHomeDir() + wxT("/.zappora/");
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    std::vector<wxString> dirs;
    ASSERT_TRUE(RequestLocations(dirs));
    EXPECT_EQ(dirs, (std::vector<wxString>{ wxT("/hdd/movie/"), wxT("/hdd/movie/archiv/") }));
    EXPECT_EQ(sim.loggedPaths("web").back(), "/web/getlocations");

    sim.control("/control/fault?cmd=getlocations&wrongroot=1");
    EXPECT_FALSE(RequestLocations(dirs));
    sim.control("/control/fault?cmd=getlocations&status=500");
    EXPECT_FALSE(RequestLocations(dirs));
    EXPECT_EQ(dirs.size(), 2u);
}
