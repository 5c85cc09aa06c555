#pragma once
#include <string>
#include <vector>

// Fills profile slot 0 of the configuration (user root, password zaptower)
// and makes it active.
// In a forked child: runs args[0] with args, or ends the child with 127.
[[noreturn]] void ExecOrExit(const std::vector<std::string>& args);
void UseReceiver(const std::string& host, int webPort, int streamPort, bool https = false);

// The simulated receiver (sim/e2sim) as a child process on a loopback
// address of its own, so that tests running in parallel never share ports.
class SimReceiver {
public:
    // extraArgs are passed through, e.g. {"--standby"} or {"--fault", "..."}.
    explicit SimReceiver(std::vector<std::string> extraArgs = {});
    ~SimReceiver();
    SimReceiver(const SimReceiver&) = delete;
    SimReceiver& operator=(const SimReceiver&) = delete;

    bool ok() const { return pid_ > 0 && ready_; }
    const std::string& host() const { return host_; }
    int webPort() const { return webPort_; }
    int streamPort() const { return streamPort_; }
    std::string webBase() const;               // "http://host:port"
    // Fills profile slot 0 of the configuration and makes it active.
    void configureProfile(bool https = false) const;

    // Request log: one JSON object per line.
    std::vector<std::string> logLines() const;
    // Paths (with query) of the logged requests of one kind ("web", "stream", ...).
    std::vector<std::string> loggedPaths(const std::string& kind) const;
    // Values of one query parameter of the logged web requests, as the
    // simulator decoded them (UTF-8), in request order.
    std::vector<std::string> loggedQuery(const std::string& name) const;

    // Control path outside /web/, e.g. control("/control/fault?cmd=getcurrent&status=401").
    std::string control(const std::string& pathAndQuery) const;

    static std::string uniqueHost();
private:
    int pid_ = -1;
    bool ready_ = false;
    std::string host_;
    int webPort_ = 8880;
    int streamPort_ = 8001;
    std::string logFile_;
};
