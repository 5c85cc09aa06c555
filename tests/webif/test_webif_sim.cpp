// getWebIF against the simulated receiver: failures below HTTP and HTTPS with
// the receiver's own certificate (the statuses are the scripted tests' part).
#include "support/sim.h"
#include "webif_fixture.h"

class WebIFSim : public WebIFTestBase {};

TEST_F(WebIFSim, DroppedAndRefusedRepliesAreTransportFailures)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    LogCapture log;

    sim.control("/control/fault?cmd=getcurrent&drop=1&count=1");
    EXPECT_FALSE(getWebIF("getcurrent"));
    EXPECT_TRUE(result.empty()) << result;
    EXPECT_FALSE(log.find(wxLOG_Error, wxT("NET ERR #18 (")).empty());  // partial file

    sim.control("/control/refuse?web=1&mode=reset");
    EXPECT_FALSE(getWebIF("getcurrent"));
    EXPECT_TRUE(result.empty());
    int errors = 0;
    for (const auto& l : log.lines())
        errors += l.level == wxLOG_Error && l.text.StartsWith(wxT("NET ERR #"));
    EXPECT_EQ(errors, 2);

    sim.control("/control/refuse?web=0");
    EXPECT_TRUE(getWebIF("getcurrent"));
}

TEST_F(WebIFSim, HttpsWithTheReceiversOwnCertificate)
{
    SimReceiver sim({"--https"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile(true);
    LogCapture log;
    EXPECT_TRUE(getWebIF("deviceinfo"));
    EXPECT_NE(result.Find(wxT("<e2deviceinfo>")), wxNOT_FOUND) << result;
    EXPECT_TRUE(log.find(wxLOG_Info, wxT("Verbose: HTTP GET (https://")).Length() > 0);

    config.profile[0].pass = wxT("falsch");
    EXPECT_FALSE(getWebIF("deviceinfo"));
    EXPECT_NE(result.Find(wxT("401")), wxNOT_FOUND) << result;
}
