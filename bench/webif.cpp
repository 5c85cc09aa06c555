// Cost of one getWebIF round trip against the simulated receiver, next to
// the floor: the same URL fetched by libcurl with one reused handle.
//
//   bench_webif [calls]
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
#include "support/sim.h"

namespace {

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
    int calls = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const char* path = "powerstate?newstate=-1";

    delete wxLog::SetActiveTarget(new wxLogStderr);
    SimReceiver sim({"--no-ftp", "--no-stream"});
    if (!sim.ok()) {
        fprintf(stderr, "the simulated receiver did not start\n");
        return 1;
    }
    sim.configureProfile();
    const ZPPROFILE& p = config.profile[0];

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

    printf("getwebif_ms=%.3f curl_ms=%.3f calls=%d\n", Median(web), Median(floor), calls);
    wxLog::FlushActive();
    if (webFailures || failures)
        fprintf(stderr, "failed requests: getWebIF %d, libcurl %d\n", webFailures, failures);
    return webFailures || failures ? 1 : 0;
}
