// A newcomer's first start of the real program: no receiver configured, the
// settings dialog comes up, the receiver is typed in on the keyboard, and
// the program comes up playing without a restart.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "support/program.h"
#include "support/sim.h"

namespace {

// Keys as a user presses them, into whatever window has the keyboard
// ("\t" and "\r" are Tab and Return).
void Press(wxUIActionSimulator& keys, std::initializer_list<std::string> texts)
{
    for (const std::string& text : texts)
        for (char c : text) {
            keys.Char(c);
            wxMilliSleep(60);
        }
}

}  // namespace

TEST(FirstStartProgram, NewcomerTypesTheReceiverAndWatches)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    // No profile at all; only what the README tells users of a display
    // without XVideo (Xvfb has none).
    mkdir((Home() + "/.zappora").c_str(), 0755);
    const std::string cfgPath = Home() + "/.zappora/zappora.cfg";
    {
        std::ofstream cfg(cfgPath);
        cfg << "[GENERAL]\nVideoSink=ximagesink\nExpertMode=1\n";
    }

    pid_t app = StartProgram({});
    ASSERT_GT(app, 0);
    ProgramReaper reaper{app};

    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    Window setup = 0;
    ASSERT_TRUE(WaitFor([&] { return (setup = FindWindow(d, DefaultRootWindow(d), "Konfiguration")) != 0; }, 60))
        << "the settings dialog did not open";
    EXPECT_EQ(FindWindow(d, DefaultRootWindow(d), "Zappora E2"), 0u) << "the main window came first";
    // what a window manager does for a new dialog
    XSetInputFocus(d, setup, RevertToParent, CurrentTime);
    XFlush(d);
    wxMilliSleep(500);

    // The address field has the keyboard and its text is selected: typing
    // replaces the factory address; Tab goes on field by field.
    wxUIActionSimulator keys;
    Press(keys, { sim.host(), "\t", std::to_string(sim.webPort()), "\t\t" /* past HTTPS */,
                  std::to_string(sim.streamPort()), "\t", "root", "\t", "zaptower", "\r" });

    ASSERT_TRUE(WaitFor([&] {
        for (const auto& p : sim.loggedPaths("web"))
            if (p == "/web/getaudiotracks")
                return true;
        return false;
    }, 90)) << "the stream did not start; requests: " << sim.loggedPaths("web").size();

    Window main = 0;
    ASSERT_TRUE(WaitFor([&] { return (main = FindWindow(d, DefaultRootWindow(d), "Zappora E2")) != 0; }, 30));
    EXPECT_TRUE(ShowsMovingPicture(d, main, 40)) << "the main window shows no moving picture";
    EXPECT_GT(DistinctColours(d, main), 50u);

    // What was typed is in the file, as profile 1.
    const std::string cfg = ReadFile(cfgPath);
    EXPECT_NE(cfg.find("Host=" + sim.host()), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("WPort=" + std::to_string(sim.webPort())), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("Pass=zaptower"), std::string::npos) << cfg;

    SendClose(d, main);
    const int rc = WaitExit(app, 30);
    if (rc >= 0)
        app = -1;
    XCloseDisplay(d);
    EXPECT_EQ(rc, 0) << "the program did not end cleanly";
    const std::string err = ReadFile(Home() + "/stderr.txt");
    EXPECT_EQ(err.find("wxWidgets-Prüfung fehlgeschlagen"), std::string::npos) << err;
}
