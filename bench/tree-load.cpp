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
#include "headless.h"
#include "support/sim.h"

namespace {

using Clock = std::chrono::steady_clock;

long Ms(Clock::time_point from)
{
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - from).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (!StartHeadless(argc, argv, "tree-load"))
        return 1;
    SimReceiver sim({"--no-ftp", "--no-stream", "--large-providers"});
    if (!sim.ok()) {
        fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    sim.configureProfile();

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
    EndHeadless();
    return rc;
}
