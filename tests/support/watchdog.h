// Ends the test process with a message when a call into the program does not
// come back in time: a handler caught in a loop would otherwise hold the test
// until CTest's time-out, without a word about where it hung.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

class Watchdog {
public:
    // what: the call and the state it started from, printed if it hangs.
    Watchdog(std::string what, int seconds = 15) : what_(std::move(what))
    {
        thread_ = std::thread([this, seconds] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!cv_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
                fprintf(stderr, "\nwatchdog: %s did not return within %d s\n", what_.c_str(), seconds);
                fflush(stderr);
                _exit(3);
            }
        });
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string what_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};
