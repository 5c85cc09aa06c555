// A loopback HTTP listener whose replies are scripted byte by byte, for the
// cases a real receiver cannot be made to produce on demand (characters split
// across packets, stalls, oversized bodies, a proxy, exact event texts).
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <wx/log.h>

#include "support/sim.h"

struct ReplyStep {
    std::string bytes;
    int pauseMs = 0;  // wait after sending the bytes
};

class ScriptedServer {
public:
    // Every connection gets the same script; afterwards the connection closes.
    explicit ScriptedServer(std::vector<ReplyStep> script);
    // The script for the connections from now on.
    void setScript(std::vector<ReplyStep> script);
    // Fills profile slot 0 of the configuration with this server and makes it active.
    void configureProfile() const { UseReceiver(host(), port_, port_); }
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    bool ok() const { return listenFd_ >= 0; }
    int port() const { return port_; }
    static const char* host() { return "127.0.0.1"; }
    // Request heads (request line and headers) received so far.
    std::vector<std::string> requests() const;

    // Convenience: a complete reply with the given status line and body.
    static std::vector<ReplyStep> Reply(const std::string& statusLine, const std::string& body,
                                        const std::string& extraHeaders = "");

private:
    void run();
    void serve(int fd);
    bool pause(int ms);

    int listenFd_ = -1;
    int port_ = 0;
    std::vector<ReplyStep> script_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::string> requests_;
};

// A port on the loopback address where nobody listens.
int UnusedLoopbackPort();

// Collects log lines (verbose included) while alive.
class LogCapture : public wxLog {
public:
    struct Line {
        wxLogLevel level;
        wxString text;
    };
    LogCapture()
    {
        previous_ = wxLog::SetActiveTarget(this);
        wxLog::SetVerbose(true);
    }
    ~LogCapture() override
    {
        wxLog::SetVerbose(false);
        wxLog::SetActiveTarget(previous_);
    }
    const std::vector<Line>& lines() const { return lines_; }
    // The first line at the given level that starts with prefix, or empty.
    wxString find(wxLogLevel level, const wxString& prefix) const
    {
        for (const auto& l : lines_)
            if (l.level == level && l.text.StartsWith(prefix))
                return l.text;
        return wxString();
    }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&) override
    {
        lines_.push_back({level, msg});
    }

private:
    wxLog* previous_ = nullptr;
    std::vector<Line> lines_;
};
