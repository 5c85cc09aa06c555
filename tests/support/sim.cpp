#include "support/sim.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <curl/curl.h>

#include "app/config.h"

std::string SimReceiver::uniqueHost()
{
    unsigned pid = unsigned(getpid());
    char buf[64];
    snprintf(buf, sizeof buf, "127.%u.%u.%u", 1 + (pid / 62500) % 254, 1 + (pid / 250) % 250,
             2 + pid % 250);
    return buf;
}

SimReceiver::SimReceiver(std::vector<std::string> extraArgs)
{
    host_ = uniqueHost();
    char tmpl[] = "/tmp/e2simlog.XXXXXX";
    int fd = mkstemp(tmpl);
    if (fd >= 0)
        close(fd);
    logFile_ = tmpl;

    std::vector<std::string> args = {ZP_SIM, "--host", host_, "--web-port", std::to_string(webPort_),
                                     "--stream-port", std::to_string(streamPort_), "--log", logFile_};
    const char* cache = getenv("ZP_BINARY_DIR");
    args.push_back("--cache-dir");
    args.push_back(std::string(cache ? cache : ZP_BINARY_DIR) + "/sim-cache");
    for (auto& a : extraArgs)
        args.push_back(a);

    int out[2];
    if (pipe(out) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    FILE* f = fdopen(out[0], "r");
    char line[512];
    while (f && fgets(line, sizeof line, f)) {
        if (strncmp(line, "ready", 5) == 0) {
            ready_ = true;
            break;
        }
    }
    // Keep the pipe open no longer than needed; the simulator may print more.
    if (f)
        fclose(f);
}

SimReceiver::~SimReceiver()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        for (int i = 0; i < 50; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            usleep(100000);
        }
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    unlink(logFile_.c_str());
}

std::string SimReceiver::webBase() const
{
    return "http://" + host_ + ":" + std::to_string(webPort_);
}

void SimReceiver::configureProfile(bool https) const
{
    ZPPROFILE& p = config.profile[0];
    p.name = wxT("Sim");
    p.host = wxString::FromUTF8(host_.c_str());
    p.user = wxT("root");
    p.pass = wxT("zaptower");
    p.wport = webPort_;
    p.sport = streamPort_;
    p.https = https ? 1 : 0;
    config.profiles = 1;
    config.profile_active = 0;
}

std::vector<std::string> SimReceiver::logLines() const
{
    std::vector<std::string> lines;
    std::ifstream in(logFile_);
    std::string l;
    while (std::getline(in, l))
        if (!l.empty())
            lines.push_back(l);
    return lines;
}

std::vector<std::string> SimReceiver::loggedPaths(const std::string& kind) const
{
    std::vector<std::string> paths;
    for (const auto& l : logLines()) {
        if (l.find("\"kind\": \"" + kind + "\"") == std::string::npos &&
            l.find("\"kind\":\"" + kind + "\"") == std::string::npos)
            continue;
        auto k = l.find("\"path\"");
        if (k == std::string::npos)
            continue;
        auto q1 = l.find('"', l.find(':', k) + 1);
        std::string v;
        for (size_t i = q1 + 1; i < l.size() && l[i] != '"'; ++i) {
            if (l[i] == '\\' && i + 1 < l.size())
                ++i;
            v += l[i];
        }
        paths.push_back(v);
    }
    return paths;
}

static size_t collect(char* p, size_t s, size_t n, void* ud)
{
    static_cast<std::string*>(ud)->append(p, s * n);
    return s * n;
}

std::string SimReceiver::control(const std::string& pathAndQuery) const
{
    std::string body;
    CURL* c = curl_easy_init();
    std::string url = webBase() + pathAndQuery;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
    curl_easy_perform(c);
    curl_easy_cleanup(c);
    return body;
}
