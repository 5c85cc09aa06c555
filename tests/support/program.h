// The real executable on the test's X server: starting and ending it, and
// looking at its windows from outside as a user would.
#pragma once

#include <X11/Xlib.h>
#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

std::string Home();
std::string ReadFile(const std::string& path);

// Starts build/zappora (or the executable `exe`) with args; the pid, or -1.
pid_t StartProgram(std::vector<std::string> args, std::string exe = "");
// Exit status of the child, or -1 while it still runs after `seconds`.
int WaitExit(pid_t pid, int seconds);
// Kills a program that is still running when the test ends, whatever failed.
struct ProgramReaper {
    pid_t& pid;
    ~ProgramReaper();
};

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

// The viewable window with this title below w, or 0.
Window FindWindow(Display* d, Window w, const char* title);
// Pixels of a window as 0xRRGGBB values.
std::vector<unsigned long> Grab(Display* d, Window w, int& width, int& height);
// Two grabs a moment apart differ, within `seconds`.
bool ShowsMovingPicture(Display* d, Window w, int seconds);
size_t DistinctColours(Display* d, Window w);
// What the window manager sends when the close box is clicked.
void SendClose(Display* d, Window w);
