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

#include "support/sim.h"

namespace {

std::string Home() { return getenv("HOME"); }

void WriteConfig(const SimReceiver& sim, const std::string& extra = "")
{
    mkdir((Home() + "/.zappora").c_str(), 0755);
    std::ofstream cfg(Home() + "/.zappora/zappora.cfg");
    cfg << "[GENERAL]\nVideoSink=ximagesink\nExpertMode=1\n" << extra
        << "[PROFILE1]\nName=Sim\nHost=" << sim.host() << "\nUser=root\nPass=zaptower\nWPort="
        << sim.webPort() << "\nSPort=" << sim.streamPort() << "\nHttps=0\n";
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

pid_t StartProgram(std::vector<std::string> args)
{
    std::string exe = std::string(getenv("ZP_BINARY_DIR") ? getenv("ZP_BINARY_DIR") : ZP_BINARY_DIR) + "/zappora";
    args.insert(args.begin(), exe);
    pid_t pid = fork();
    if (pid == 0) {
        // kept for the test: a failed toolkit check is reported there
        freopen((Home() + "/stderr.txt").c_str(), "w", stderr);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
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

// Exit status of the child, or -1 while it still runs after `seconds`.
int WaitExit(pid_t pid, int seconds)
{
    int status = 0;
    for (int i = 0; i < seconds * 10; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return -1;
}

Window FindWindow(Display* d, Window w, const char* title)
{
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        bool match = std::string(name) == title;
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

// Pixels of a window as 0xRRGGBB values.
std::vector<unsigned long> Grab(Display* d, Window w, int& width, int& height)
{
    XWindowAttributes a;
    XGetWindowAttributes(d, w, &a);
    width = a.width;
    height = a.height;
    std::vector<unsigned long> px;
    XImage* img = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img)
        return px;
    px.reserve(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
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
    std::string state = sim.control("/control/state");
    size_t k = state.find("\"ref\"");
    ASSERT_NE(k, std::string::npos) << state;
    size_t q = state.find('"', state.find(':', k) + 1);
    std::string currentRef = state.substr(q + 1, state.find('"', q + 1) - q - 1);
    char* escaped = curl_easy_escape(nullptr, currentRef.c_str(), int(currentRef.size()));
    std::string expectedStream = std::string("/") + escaped;
    curl_free(escaped);

    pid_t app = StartProgram({});
    ASSERT_GT(app, 0);
    // Whatever fails below, the program does not outlive the test.
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
    int w = 0, h = 0;
    bool moving = WaitFor([&] {
        auto a = Grab(d, main, w, h);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        auto b = Grab(d, main, w, h);
        if (a.size() != b.size() || a.empty())
            return false;
        size_t changed = 0;
        for (size_t i = 0; i < a.size(); ++i)
            changed += a[i] != b[i];
        return changed > 500;
    }, 40);
    EXPECT_TRUE(moving) << "the main window shows no moving picture";
    auto px = Grab(d, main, w, h);
    std::set<unsigned long> colours(px.begin(), px.end());
    EXPECT_GT(colours.size(), 50u);

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
