// How long the guide dialogs take from the receiver's reply to a filled
// list: the channel guide of a service with 2,000+ events and the bouquet
// guide of a 300-service bouquet (running and following events). Starts its
// own simulated receiver with --large-bouquet; median of five runs each.
// The same replies fetched by the curl program show the receiver's own
// reply time, the floor of fetch_ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <wx/listctrl.h>

#include "app/config.h"
#include "app/globals.h"
#include "epg/epgdialog.h"
#include "epg/epglistctrl.h"
#include "epg/epgrules.h"
#include "epg/multiepgdialog.h"
#include "mainwindow/mainframe.h"
#include "webif/webif.h"
#include "headless.h"
#include "support/sim.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

double Ms(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

long Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : (long)(v[v.size() / 2] + 0.5);
}

// Wall time of the curl program fetching the same path, in milliseconds.
double CurlMs(const SimReceiver& sim, const wxString& path)
{
    const std::string cmd = "curl -s -o /dev/null -w '%{time_total}' -u root:zaptower '" + sim.webBase() +
                            "/web/" + std::string(path.utf8_str()) + "'";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    double seconds = -1;
    if (fscanf(p, "%lf", &seconds) != 1)
        seconds = -1;
    pclose(p);
    return seconds * 1000;
}

void Paint(wxWindow* w)
{
    w->Update();
    wxTheApp->Yield(true);
}

} // namespace

int main(int argc, char** argv)
{
    if (!StartHeadless(argc, argv, "bench-epg"))
        return 1;
    const long long now = 1796666400;
    SimReceiver sim({"--no-ftp", "--no-stream", "--large-bouquet", "--now", std::to_string(now)});
    if (!sim.ok()) {
        fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    sim.configureProfile();
    SetEPGClockOffset(now - (long long)time(nullptr));
    config.epgsimilar = 0;   // details are not part of the lists

    MyMainFrame* frame = new MyMainFrame();
    MainFrame = frame;
    frame->Show();
    wxTheApp->Yield(true);
    int rc = 0;

    // channel guide
    {
        const wxString ticker = wxT("1:0:1:A000:2000:1:C00000:0:0:0:");
        MyEPGDialog dialog(ticker);
        if (!dialog.loaded) {
            fprintf(stderr, "no guide for the ticker\n");
            rc = 1;
        }
        dialog.Show();
        Paint(&dialog);
        std::vector<double> fetch, parse, fill, peer;
        for (int run = 0; run < kRuns && rc == 0; ++run) {
            auto t = Clock::now();
            if (!getWebIF(EPGServicePath(ticker)))
                rc = 1;
            fetch.push_back(Ms(t));
            t = Clock::now();
            dialog.readEvents(result);
            parse.push_back(Ms(t));
            t = Clock::now();
            dialog.fillList();
            Paint(&dialog);
            fill.push_back(Ms(t));
            peer.push_back(CurlMs(sim, EPGServicePath(ticker)));
        }
        if (rc == 0) {
            printf("epg=channel events=%d fetch_ms=%ld parse_ms=%ld fill_ms=%ld\n",
                   dialog.list->GetItemCount(), Median(fetch), Median(parse), Median(fill));
            printf("peer=curl epg=channel fetch_ms=%ld\n", Median(peer));
        }
    }

    // bouquet guide
    if (rc == 0) {
        const wxString bouquet =
            wxT("1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.large.tv\" ORDER BY bouquet");
        MyMultiEPGDialog dialog(wxT("Großes Bouquet"), bouquet, wxTreeItemId());
        if (!dialog.loaded) {
            fprintf(stderr, "no guide for the bouquet\n");
            rc = 1;
        }
        dialog.Show();
        Paint(&dialog);
        std::vector<double> fetch, parse, fill, peer;
        size_t events = 0;
        for (int run = 0; run < kRuns && rc == 0; ++run) {
            double f = 0, p = 0, l = 0, c = 0;
            events = 0;
            for (bool next : { false, true }) {
                auto t = Clock::now();
                if (!getWebIF(EPGBouquetNowNextPath(next, bouquet)))
                    rc = 1;
                f += Ms(t);
                t = Clock::now();
                const std::vector<EventFields> read = MyMultiEPGDialog::ReadBouquetEvents(result);
                p += Ms(t);
                events += read.size();
                t = Clock::now();
                dialog.fillRows(next, read);
                if (next)
                    Paint(&dialog);
                l += Ms(t);
                c += CurlMs(sim, EPGBouquetNowNextPath(next, bouquet));
            }
            fetch.push_back(f);
            parse.push_back(p);
            fill.push_back(l);
            peer.push_back(c);
        }
        if (rc == 0) {
            printf("epg=bouquet events=%zu fetch_ms=%ld parse_ms=%ld fill_ms=%ld\n", events, Median(fetch),
                   Median(parse), Median(fill));
            printf("peer=curl epg=bouquet fetch_ms=%ld\n", Median(peer));
        }
    }

    MainFrame = nullptr;
    delete frame;
    EndHeadless();
    return rc;
}
