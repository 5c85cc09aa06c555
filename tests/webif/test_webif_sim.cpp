// getWebIF against the simulated receiver over real loopback HTTP and HTTPS.
#include <algorithm>
#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include "app/config.h"
#include "app/globals.h"
#include "support/msgbox.h"
#include "support/sim.h"
#include "webif_fixture.h"
#include "webif/webif.h"

namespace {

class WebIFSim : public WebIFTestBase {
protected:
};

bool Contains(const std::vector<std::string>& v, const std::string& s)
{
    return std::find(v.begin(), v.end(), s) != v.end();
}

}  // namespace

TEST_F(WebIFSim, CommandsSucceedAndReachTheReceiverUnchanged)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    EXPECT_TRUE(getWebIF("powerstate?newstate=-1"));
    EXPECT_NE(result.Find(wxT("<e2instandby>")), wxNOT_FOUND) << result;

    const char* ref = EncodeURL(wxT("1:0:1:6DCA:44D:1:C00000:0:0:0:"));
    std::string path = std::string("serviceplayable?sRef=") + ref;
    EXPECT_TRUE(getWebIF(path.c_str()));
    EXPECT_NE(result.Find(wxT("e2isplayable")), wxNOT_FOUND) << result;

    auto paths = sim.loggedPaths("web");
    EXPECT_TRUE(Contains(paths, "/web/powerstate?newstate=-1"));
    EXPECT_TRUE(Contains(paths, "/web/" + path));
}

TEST_F(WebIFSim, WrongPasswordAndUnknownCommandFail)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    config.profile[0].pass = wxT("falsch");
    EXPECT_FALSE(getWebIF("getcurrent"));
    EXPECT_NE(result.Find(wxT("401")), wxNOT_FOUND) << result;  // the error page stays

    sim.configureProfile();
    EXPECT_FALSE(getWebIF("gibtsnicht"));
    EXPECT_NE(result.Find(wxT("404")), wxNOT_FOUND) << result;

    // The same during start-up: one box each, and the flag follows.
    SplashIsActive = true;
    MessageBoxRecorder rec;
    config.profile[0].pass = wxT("falsch");
    EXPECT_FALSE(getWebIF("deviceinfo"));
    EXPECT_TRUE(SplashHasError);
    sim.configureProfile();
    EXPECT_FALSE(getWebIF("gibtsnicht"));
    EXPECT_TRUE(getWebIF("deviceinfo"));
    EXPECT_FALSE(SplashHasError);
    ASSERT_EQ(rec.boxes().size(), 2u);
    EXPECT_TRUE(rec.boxes()[0].text.StartsWith(wxT("Der Zugriff auf das WebInterface wurde verweigert!")));
    EXPECT_TRUE(rec.boxes()[1].text.StartsWith(wxT("Die angeforderte Seite\n\n") +
                                               wxString(sim.webBase()) + wxT("/web/gibtsnicht\n\n")))
        << rec.boxes()[1].text;
}

TEST_F(WebIFSim, FaultStatusesNoContentAndRedirect)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();

    sim.control("/control/fault?cmd=getcurrent&status=503&count=1");
    EXPECT_FALSE(getWebIF("getcurrent"));
    EXPECT_TRUE(getWebIF("getcurrent"));  // the fault was used up

    sim.control("/control/fault?cmd=zap&status=204&count=1");
    EXPECT_TRUE(getWebIF("zap?sRef=1%3A0%3A1%3A6DCA%3A44D%3A1%3AC00000%3A0%3A0%3A0%3A"));
    EXPECT_TRUE(result.empty()) << result;

    sim.control("/control/fault?cmd=deviceinfo&status=301&count=1");
    SplashIsActive = true;
    MessageBoxRecorder rec;
    EXPECT_FALSE(getWebIF("deviceinfo"));
    EXPECT_TRUE(SplashHasError);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_EQ(rec.boxes()[0].text, wxT("Der Zugriff wurde mit Fehlercode HTTP 301 abgewiesen!"));
    for (const auto& p : sim.loggedPaths("web"))
        EXPECT_EQ(p.find("/moved"), std::string::npos) << p;
}

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

TEST_F(WebIFSim, SlowReceiverWithinTheStallLimitIsWaitedFor)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    SetWebIFLimits(3, kWebIFMaxBytes);
    sim.control("/control/fault?cmd=getcurrent&delay=1&count=1");
    EXPECT_TRUE(getWebIF("getcurrent"));
    EXPECT_FALSE(result.empty());

    SetWebIFLimits(1, kWebIFMaxBytes);
    sim.control("/control/fault?cmd=getcurrent&delay=6&count=1");
    LogCapture log;
    EXPECT_FALSE(getWebIF("getcurrent"));
    EXPECT_TRUE(result.empty());
    EXPECT_FALSE(log.find(wxLOG_Error, wxT("NET ERR #28 (")).empty());
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
