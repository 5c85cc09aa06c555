// The real executable against the simulated receiver, on the test's X server.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <curl/curl.h>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <set>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <wx/image.h>

#include "stream/streamrules.h"
#include "support/program.h"
#include "support/sim.h"

namespace {

void WriteConfig(const SimReceiver& sim, const std::string& extra = "")
{
    mkdir((Home() + "/.zappora").c_str(), 0755);
    std::ofstream cfg(Home() + "/.zappora/zappora.cfg");
    cfg << "[GENERAL]\nVideoSink=ximagesink\nExpertMode=1\n" << extra
        << "[PROFILE1]\nName=Sim\nHost=" << sim.host() << "\nUser=root\nPass=zaptower\nWPort="
        << sim.webPort() << "\nSPort=" << sim.streamPort() << "\nHttps=0\n";
}

std::string CurrentRef(SimReceiver& sim)
{
    std::string state = sim.control("/control/state");
    size_t k = state.find("\"ref\"");
    if (k == std::string::npos)
        return "";
    size_t q = state.find('"', state.find(':', k) + 1);
    return state.substr(q + 1, state.find('"', q + 1) - q - 1);
}

size_t IndexOf(const std::vector<std::string>& paths, const std::string& prefix, size_t from = 0)
{
    for (size_t i = from; i < paths.size(); ++i)
        if (paths[i].rfind(prefix, 0) == 0)
            return i;
    return std::string::npos;
}

}  // namespace

TEST(EndToEnd, StartsPlaysAndClosesCleanly)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    WriteConfig(sim);
    std::string cfgPath = Home() + "/.zappora/zappora.cfg";

    // What the receiver shows now is what the program must play.
    std::string currentRef = CurrentRef(sim);
    ASSERT_FALSE(currentRef.empty());
    char* escaped = curl_easy_escape(nullptr, currentRef.c_str(), int(currentRef.size()));
    std::string expectedStream = std::string("/") + escaped;
    curl_free(escaped);

    pid_t app = StartProgram({});
    ASSERT_GT(app, 0);
    // Whatever fails below, the program does not outlive the test.
    ProgramReaper reaper{app};

    // The audio tracks are read once the stream plays.
    ASSERT_TRUE(WaitFor([&] {
        for (const auto& p : sim.loggedPaths("web"))
            if (p == "/web/getaudiotracks")
                return true;
        return false;
    }, 90)) << "the stream did not start";

    // The start sequence asked in this order.
    auto web = sim.loggedPaths("web");
    size_t dev = IndexOf(web, "/web/deviceinfo");
    size_t pwr = IndexOf(web, "/web/powerstate?newstate=-1");
    size_t cur = IndexOf(web, "/web/getcurrent");
    size_t tvb = IndexOf(web, "/web/getallservices?sRef=1:7:1:");
    size_t rab = IndexOf(web, "/web/getallservices?sRef=1:7:2:");
    ASSERT_NE(dev, std::string::npos);
    ASSERT_NE(pwr, std::string::npos);
    ASSERT_NE(cur, std::string::npos);
    ASSERT_NE(tvb, std::string::npos);
    ASSERT_NE(rab, std::string::npos);
    EXPECT_LT(dev, pwr);
    EXPECT_LT(pwr, cur);
    EXPECT_LT(cur, tvb);
    EXPECT_LT(tvb, rab);
    for (const auto& p : web)
        EXPECT_EQ(p.find("PROVIDERS"), std::string::npos) << "providers are not configured: " << p;

    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    Window main = 0;
    ASSERT_TRUE(WaitFor([&] { return (main = FindWindow(d, DefaultRootWindow(d), "Zappora E2")) != 0; }, 30));

    // A moving picture: two grabs a moment apart differ, and the picture has
    // more than a handful of colours.
    EXPECT_TRUE(ShowsMovingPicture(d, main, 40)) << "the main window shows no moving picture";
    EXPECT_GT(DistinctColours(d, main), 50u);

    std::string before = ReadFile(cfgPath);
    SendClose(d, main);
    int rc = WaitExit(app, 30);
    if (rc >= 0)
        app = -1;   // reaped
    XCloseDisplay(d);
    EXPECT_EQ(rc, 0) << "the program did not end cleanly after closing its main window";
    std::string err = ReadFile(Home() + "/stderr.txt");
    EXPECT_EQ(err.find("wxWidgets-Prüfung fehlgeschlagen"), std::string::npos) << err;

    // The stream request (logged when it ends) was for the receiver's current service.
    ASSERT_TRUE(WaitFor([&] { return !sim.loggedPaths("stream").empty(); }, 10));
    EXPECT_EQ(sim.loggedPaths("stream")[0], expectedStream);

    // Closing writes the whole record back.
    std::string after = ReadFile(cfgPath);
    EXPECT_NE(after, before);
    EXPECT_NE(after.find("Volume="), std::string::npos);
    EXPECT_NE(after.find("Host=" + sim.host()), std::string::npos);
}

// Installed into a prefix, the program finds its data in ../share/zappora
// beside its bin directory: a logo put there for the receiver's current
// service shows up in the main window.
TEST(EndToEnd, InstalledProgramFindsItsDataInItsPrefix)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    WriteConfig(sim);
    const std::string build = getenv("ZP_BINARY_DIR") ? getenv("ZP_BINARY_DIR") : ZP_BINARY_DIR;
    const std::string prefix = Home() + "/prefix";
    const std::string log = Home() + "/install.txt";
    ASSERT_EQ(system(("cmake --install '" + build + "' --prefix '" + prefix + "' > '" + log + "' 2>&1").c_str()), 0)
        << ReadFile(log);

    const std::string ref = CurrentRef(sim);
    ASSERT_FALSE(ref.empty());
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    wxImage logo(100, 75);
    logo.SetRGB(wxRect(0, 0, 100, 75), 0xff, 0x00, 0xff);
    const wxString picon = wxString::FromUTF8(prefix + "/share/zappora/pic/") + PiconName(wxString::FromUTF8(ref)) + wxT(".png");
    ASSERT_TRUE(logo.SaveFile(picon, wxBITMAP_TYPE_PNG)) << picon;

    pid_t app = StartProgram({}, prefix + "/bin/zappora");
    ASSERT_GT(app, 0);
    ProgramReaper reaper{app};
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    Window main = 0;
    ASSERT_TRUE(WaitFor([&] { return (main = FindWindow(d, DefaultRootWindow(d), "Zappora E2")) != 0; }, 60));
    EXPECT_TRUE(WaitFor([&] {
        int w = 0, h = 0;
        size_t magenta = 0;
        for (unsigned long p : Grab(d, main, w, h))
            magenta += p == 0xff00ff;
        return magenta > 1000;
    }, 60)) << "the logo from " << prefix << "/share/zappora/pic is not shown";
    SendClose(d, main);
    EXPECT_EQ(WaitExit(app, 30), 0);
    XCloseDisplay(d);
}
