#include "support/program.h"
#include "support/sim.h"

#include <X11/Xutil.h>
#include <cstdlib>
#include <fstream>
#include <set>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

std::string Home()
{
    return getenv("HOME");
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

pid_t StartProgram(std::vector<std::string> args, std::string exe)
{
    if (exe.empty())
        exe = std::string(getenv("ZP_BINARY_DIR") ? getenv("ZP_BINARY_DIR") : ZP_BINARY_DIR) + "/zappora";
    args.insert(args.begin(), exe);
    pid_t pid = fork();
    if (pid == 0) {
        // kept for the test: a failed toolkit check is reported there
        if (!freopen((Home() + "/stderr.txt").c_str(), "w", stderr))
            _exit(126);
        ExecOrExit(args);
    }
    return pid;
}

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

ProgramReaper::~ProgramReaper()
{
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
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

bool ShowsMovingPicture(Display* d, Window w, int seconds)
{
    int width = 0, height = 0;
    return WaitFor([&] {
        auto a = Grab(d, w, width, height);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        auto b = Grab(d, w, width, height);
        if (a.size() != b.size() || a.empty())
            return false;
        size_t changed = 0;
        for (size_t i = 0; i < a.size(); ++i)
            changed += a[i] != b[i];
        return changed > 500;
    }, seconds);
}

size_t DistinctColours(Display* d, Window w)
{
    int width = 0, height = 0;
    auto px = Grab(d, w, width, height);
    return std::set<unsigned long>(px.begin(), px.end()).size();
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
