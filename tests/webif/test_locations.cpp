// The receiver's recording directories: the reader on replies as receivers
// write them, and the request against the simulated receiver.
#include <gtest/gtest.h>

#include "app/config.h"
#include "app/globals.h"
#include "support/sim.h"
#include "webif/locations.h"
#include "webif/webif.h"

TEST(Locations, ReadsIndentedRepliesWithEntitiesAndStrayElements)
{
    const wxString xml = wxString::FromUTF8(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<e2locations>\n"
        "\t<e2location>\n\t\t/media/hdd/movie/\n\t</e2location>\n"
        "\t<e2note>not a location</e2note>\n"
        "\t<e2location>/media/usb/Filme &amp; Serien/</e2location>\n"
        "\t<e2location>   </e2location>\n"
        "\t<e2location>/media/hdd/Überspielt/</e2location>\n"
        "</e2locations>\n");
    std::vector<wxString> dirs;
    ASSERT_TRUE(ParseLocations(xml, dirs));
    ASSERT_EQ(dirs.size(), 3u);
    EXPECT_EQ(dirs[0], wxT("/media/hdd/movie/"));
    EXPECT_EQ(dirs[1], wxT("/media/usb/Filme & Serien/"));
    EXPECT_EQ(dirs[2], wxString::FromUTF8("/media/hdd/Überspielt/"));
}

TEST(Locations, OtherDocumentsLeaveTheListAlone)
{
    std::vector<wxString> dirs = { wxT("/alt/") };
    EXPECT_FALSE(ParseLocations(wxT("<e2simplexmlresult><e2state>False</e2state></e2simplexmlresult>"), dirs));
    EXPECT_FALSE(ParseLocations(wxT("<e2locations><e2location>/a/"), dirs));
    EXPECT_FALSE(ParseLocations(wxString(), dirs));
    ASSERT_EQ(dirs.size(), 1u);
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
    ASSERT_EQ(dirs.size(), 2u);
    EXPECT_EQ(dirs[0], wxT("/hdd/movie/"));
    EXPECT_EQ(dirs[1], wxT("/hdd/movie/archiv/"));
    const auto paths = sim.loggedPaths("web");
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.back(), "/web/getlocations");
}

TEST(Locations, FailedRequestOrWrongDocumentKeepsTheList)
{
    CFG_PATH = wxGetHomeDir() + wxT("/.zappora/");
    SimReceiver sim({ "--fault", "cmd=getlocations&status=500" });
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    std::vector<wxString> dirs = { wxT("/frueher/") };
    EXPECT_FALSE(RequestLocations(dirs));
    ASSERT_EQ(dirs.size(), 1u);

    sim.control("/control/fault?cmd=getlocations&wrongroot=1");
    EXPECT_FALSE(RequestLocations(dirs));
    ASSERT_EQ(dirs.size(), 1u);
    EXPECT_EQ(dirs[0], wxT("/frueher/"));
}
