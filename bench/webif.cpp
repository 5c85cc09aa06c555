// Cost of one getWebIF round trip against the simulated receiver, next to
// the floor: the same URL fetched by libcurl with one reused handle.
//
//   bench_webif [path-to-e2sim] [calls]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <curl/curl.h>
#include <wx/log.h>

#include "app/config.h"
#include "app/globals.h"
#include "webif/webif.h"

namespace {

const int kPort = 8880;

// A loopback address of this process's own, so that concurrent simulators
// never share a port.
std::string OwnHost()
{
    unsigned pid = unsigned(getpid());
    char buf[64];
    snprintf(buf, sizeof buf, "127.%u.%u.%u", 1 + (pid / 62500) % 254, 1 + (pid / 250) % 250,
             2 + pid % 250);
    return buf;
}

pid_t StartSim(const std::string& sim, const std::string& host, std::string& cacheDir)
{
    char tmpl[] = "/tmp/zpbench.XXXXXX";
    if (!mkdtemp(tmpl))
        return -1;
    cacheDir = tmpl;
    std::vector<std::string> args = {sim, "--host", host, "--web-port", std::to_string(kPort),
                                     "--stream-port", "8001", "--no-ftp", "--no-stream",
                                     "--cache-dir", cacheDir};
    int out[2];
    if (pipe(out) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
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
    bool ready = false;
    while (f && fgets(line, sizeof line, f))
        if (strncmp(line, "ready", 5) == 0) {
            ready = true;
            break;
        }
    if (f)
        fclose(f);
    if (!ready) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

void StopSim(pid_t pid, const std::string& cacheDir)
{
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::string cmd = "rm -rf '" + cacheDir + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", cacheDir.c_str());
}

size_t Sink(char*, size_t s, size_t n, void* ud)
{
    *static_cast<size_t*>(ud) += s * n;
    return s * n;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

}  // namespace

int main(int argc, char** argv)
{
    std::string sim = argc > 1 ? argv[1] : std::string(ZP_SOURCE_DIR) + "/sim/e2sim";
    int calls = argc > 2 ? std::max(1, atoi(argv[2])) : 200;
    const char* path = "powerstate?newstate=-1";

    delete wxLog::SetActiveTarget(new wxLogStderr);
    const std::string host = OwnHost();
    std::string cacheDir;
    pid_t pid = StartSim(sim, host, cacheDir);
    if (pid <= 0) {
        fprintf(stderr, "simulator %s did not start\n", sim.c_str());
        return 1;
    }

    ZPPROFILE& p = config.profile[0];
    p.name = wxT("Bench");
    p.host = wxString::FromUTF8(host.c_str());
    p.user = wxT("root");
    p.pass = wxT("zaptower");
    p.wport = kPort;
    config.profiles = 1;
    config.profile_active = 0;

    std::vector<double> web, floor;
    int failures = 0, webFailures = 0;
    getWebIF(path);  // warm-up (first connection, libcurl initialisation)
    for (int i = 0; i < calls; ++i) {
        auto a = std::chrono::steady_clock::now();
        webFailures += !getWebIF(path);
        web.push_back(Ms(a, std::chrono::steady_clock::now()));
    }

    std::string url = WebIFURL(p, path);
    size_t bytes = 0;
    CURL* h = curl_easy_init();
    // Same request as getWebIF sends; only the handle set-up is saved. The
    // simulator answers an HTTP/1.0 request with an HTTP/1.1 status line and
    // then closes, so a kept connection would be found dead now and then.
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERPWD, "root:zaptower");
    curl_easy_setopt(h, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Sink);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &bytes);
    curl_easy_perform(h);
    for (int i = 0; i < calls; ++i) {
        auto a = std::chrono::steady_clock::now();
        CURLcode rc = curl_easy_perform(h);
        if (rc != CURLE_OK) {
            ++failures;
            fprintf(stderr, "libcurl: %s\n", curl_easy_strerror(rc));
        }
        floor.push_back(Ms(a, std::chrono::steady_clock::now()));
    }
    curl_easy_cleanup(h);
    StopSim(pid, cacheDir);

    printf("getwebif_ms=%.3f curl_ms=%.3f calls=%d\n", Median(web), Median(floor), calls);
    wxLog::FlushActive();
    if (webFailures || failures)
        fprintf(stderr, "failed requests: getWebIF %d, libcurl %d\n", webFailures, failures);
    return webFailures || failures ? 1 : 0;
}
