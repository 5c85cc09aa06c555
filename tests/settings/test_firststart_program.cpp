// A newcomer's first start of the real program: no receiver configured, the
// settings dialog comes up, the receiver is typed in on the keyboard, and
// the program comes up playing without a restart.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
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
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "support/sim.h"

namespace {

std::string Home() { return getenv("HOME"); }

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class Pred>
bool WaitFor(Pred pred, int seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (pred())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return pred();
}

Window FindWindow(Display* d, Window w, const char* title)
{
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        const bool match = std::string(name) == title;
        XFree(name);
        XWindowAttributes a;
        if (match && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable)
            return w;
    }
    Window root, parent, *kids = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, w, &root, &parent, &kids, &n))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < n && !found; ++i)
        found = FindWindow(d, kids[i], title);
    if (kids)
        XFree(kids);
    return found;
}

std::vector<unsigned long> Grab(Display* d, Window w)
{
    XWindowAttributes a;
    XGetWindowAttributes(d, w, &a);
    std::vector<unsigned long> px;
    XImage* img = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img)
        return px;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            px.push_back(XGetPixel(img, x, y) & 0xFFFFFF);
    XDestroyImage(img);
    return px;
}

void SendClose(Display* d, Window w)
{
    XEvent ev = {};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &ev);
    XFlush(d);
}

// Keys as a user presses them, into whatever window has the keyboard.
void Press(wxUIActionSimulator& keys, int key)
{
    keys.Char(key);
    wxMilliSleep(60);
}

void TypeText(wxUIActionSimulator& keys, const std::string& text)
{
    for (char c : text)
        Press(keys, c);
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

    const std::string exe =
        std::string(getenv("ZP_BINARY_DIR") ? getenv("ZP_BINARY_DIR") : ZP_BINARY_DIR) + "/zappora";
    pid_t app = fork();
    if (app == 0) {
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(app, 0);
    struct Reaper {
        pid_t& pid;
        ~Reaper()
        {
            if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
    } reaper{app};

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
    TypeText(keys, sim.host());
    Press(keys, WXK_TAB);
    TypeText(keys, std::to_string(sim.webPort()));
    Press(keys, WXK_TAB);   // the HTTPS switch
    Press(keys, WXK_TAB);
    TypeText(keys, std::to_string(sim.streamPort()));
    Press(keys, WXK_TAB);
    TypeText(keys, "root");
    Press(keys, WXK_TAB);
    TypeText(keys, "zaptower");
    Press(keys, WXK_RETURN);   // "Einstellungen übernehmen"

    ASSERT_TRUE(WaitFor([&] {
        for (const auto& p : sim.loggedPaths("web"))
            if (p == "/web/getaudiotracks")
                return true;
        return false;
    }, 90)) << "the stream did not start; requests: " << sim.loggedPaths("web").size();

    Window main = 0;
    ASSERT_TRUE(WaitFor([&] { return (main = FindWindow(d, DefaultRootWindow(d), "Zappora E2")) != 0; }, 30));
    const bool moving = WaitFor([&] {
        auto a = Grab(d, main);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        auto b = Grab(d, main);
        if (a.size() != b.size() || a.empty())
            return false;
        size_t changed = 0;
        for (size_t i = 0; i < a.size(); ++i)
            changed += a[i] != b[i];
        return changed > 500;
    }, 40);
    EXPECT_TRUE(moving) << "the main window shows no moving picture";
    const auto px = Grab(d, main);
    EXPECT_GT(std::set<unsigned long>(px.begin(), px.end()).size(), 50u);

    // What was typed is in the file, as profile 1.
    const std::string cfg = ReadFile(cfgPath);
    EXPECT_NE(cfg.find("Host=" + sim.host()), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("WPort=" + std::to_string(sim.webPort())), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("Pass=zaptower"), std::string::npos) << cfg;

    SendClose(d, main);
    int status = 0;
    const bool ended = WaitFor([&] { return waitpid(app, &status, WNOHANG) == app; }, 30);
    if (ended)
        app = -1;
    XCloseDisplay(d);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
