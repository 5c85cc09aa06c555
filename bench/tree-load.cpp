// How long a large provider list takes from the receiver into the tree:
// fetch, parse, and fill (including sort, renumbering and the first paint).
// Starts its own simulated receiver with --large-providers.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "webif/services.h"
#include "webif/webif.h"

extern void InitXmlResource();

namespace {

using Clock = std::chrono::steady_clock;

long Ms(Clock::time_point from)
{
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - from).count();
}

// The simulator as a child on a loopback address of its own.
pid_t StartSimulator(const std::string& host, const std::string& cacheDir)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        const std::string sim = std::string(ZP_SOURCE_DIR) + "/sim/e2sim";
        execl(sim.c_str(), sim.c_str(), "--host", host.c_str(), "--web-port", "8880", "--stream-port", "8001",
              "--no-ftp", "--no-stream", "--large-providers", "--cache-dir", cacheDir.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(out[1]);
    FILE* f = fdopen(out[0], "r");
    char line[256];
    bool ready = false;
    while (f && fgets(line, sizeof line, f))
        if (strncmp(line, "ready", 5) == 0) {
            ready = true;
            break;
        }
    if (f)
        fclose(f);
    if (!ready && pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

}  // namespace

int main(int argc, char** argv)
{
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "no display (run under xvfb-run)\n");
        return 1;
    }
    wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();

    char dir[] = "/tmp/zp-tree-load.XXXXXX";
    if (!mkdtemp(dir))
        return 1;
    CFG_PATH = wxString::FromUTF8(dir) + wxT("/");
    const unsigned p = (unsigned)getpid();
    char host[32];
    snprintf(host, sizeof host, "127.%u.%u.%u", 1 + (p / 62500) % 254, 1 + (p / 250) % 250, 2 + p % 250);
    pid_t sim = StartSimulator(host, std::string(dir) + "/sim-cache");
    if (sim <= 0) {
        fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    config.profile[0].name = wxT("Bench");
    config.profile[0].host = wxString::FromUTF8(host);
    config.profile[0].user = wxT("root");
    config.profile[0].pass = wxT("zaptower");
    config.profile[0].wport = 8880;
    config.profile[0].sport = 8001;
    config.profiles = 1;
    config.profile_active = 0;

    MyMainFrame* frame = new MyMainFrame();
    MainFrame = frame;
    frame->Show();
    wxTheApp->Yield();

    int rc = 0;
    auto t = Clock::now();
    if (!getWebIF(ServiceListPath(LIST_TV_PROVIDERS))) {
        fprintf(stderr, "request failed\n");
        rc = 1;
    }
    const long fetchMs = Ms(t);

    t = Clock::now();
    std::vector<ServiceBouquet> list;
    ParseServiceList(result, list);
    const long parseMs = Ms(t);
    size_t services = 0;
    for (const auto& b : list)
        services += b.services.size();

    t = Clock::now();
    frame->addServices(LIST_TV_PROVIDERS, list);
    frame->tree->Expand(frame->grpTVAll);
    frame->tree->Update();
    wxTheApp->Yield();
    const long fillMs = Ms(t);

    if (rc == 0)
        printf("services=%zu fetch_ms=%ld parse_ms=%ld fill_ms=%ld\n", services, fetchMs, parseMs, fillMs);

    MainFrame = nullptr;
    delete frame;
    kill(sim, SIGTERM);
    waitpid(sim, nullptr, 0);
    wxFileName::Rmdir(CFG_PATH, wxPATH_RMDIR_RECURSIVE);
    wxEntryCleanup();
    return rc;
}
