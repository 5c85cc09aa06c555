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
        ExecOrExit(args);
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

void ExecOrExit(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

void UseReceiver(const std::string& host, int webPort, int streamPort, bool https)
{
    ZPPROFILE& p = config.profile[0];
    p.name = wxT("Sim");
    p.host = wxString::FromUTF8(host.c_str());
    p.user = wxT("root");
    p.pass = wxT("zaptower");
    p.wport = webPort;
    p.sport = streamPort;
    p.https = https ? 1 : 0;
    config.profiles = 1;
    config.profile_active = 0;
}

void SimReceiver::configureProfile(bool https) const
{
    UseReceiver(host_, webPort_, streamPort_, https);
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

// The JSON string after "key": in line, from position from; npos when absent.
static size_t JsonString(const std::string& line, const std::string& key, std::string& out, size_t from = 0)
{
    const size_t k = line.find("\"" + key + "\": \"", from);
    if (k == std::string::npos)
        return k;
    out.clear();
    size_t i = k + key.size() + 5;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\' || i + 1 >= line.size()) {
            out += line[i];
            continue;
        }
        const char e = line[++i];
        if (e == 'u' && i + 4 < line.size()) {  // the log escapes only control characters so
            out += char(std::stoul(line.substr(i + 1, 4), nullptr, 16));
            i += 4;
        } else {
            out += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
        }
    }
    return i;
}

static bool OfKind(const std::string& line, const std::string& kind)
{
    std::string k;
    return JsonString(line, "kind", k) != std::string::npos && k == kind;
}

std::vector<std::string> SimReceiver::loggedPaths(const std::string& kind) const
{
    std::vector<std::string> paths;
    std::string v;
    for (const auto& l : logLines())
        if (OfKind(l, kind) && JsonString(l, "path", v) != std::string::npos)
            paths.push_back(v);
    return paths;
}

std::vector<std::string> SimReceiver::loggedQuery(const std::string& name) const
{
    std::vector<std::string> values;
    std::string v;
    for (const auto& l : logLines()) {
        const size_t query = l.find("\"query\": {");
        if (OfKind(l, "web") && query != std::string::npos && JsonString(l, name, v, query) != std::string::npos)
            values.push_back(v);
    }
    return values;
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
