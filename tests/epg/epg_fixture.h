// The guide and timer dialogs against the simulated receiver at a fixed
// moment of its clock, with a real main window behind them.
#pragma once

#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/statbox.h>
#include <wx/timer.h>
#include <wx/treectrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "epg/epglistctrl.h"
#include "epg/epgrules.h"
#include "epg/timerrules.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "support/msgbox.h"
#include "support/resources.h"
#include "support/sim.h"
#include "webif/itemdata.h"
#include "webif/services.h"
#include "webif/webif.h"

namespace epgtest {

// Monday, 7 December 2026, 19:00 in Berlin.
constexpr long long kSimNow = 1796666400;

const char* const KULTUR = "1:0:1:2811:401:1:C00000:0:0:0:";
const char* const ERSTES = "1:0:19:2800:401:1:C00000:0:0:0:";
const char* const ARTE = "1:0:19:2877:3FB:1:C00000:0:0:0:";
const char* const RELAY = "1:0:1:2921:44D:1:C00000:0:0:0::Kanal Nord Relay";

inline wxString W(const char* utf8) { return wxString::FromUTF8(utf8); }

// Lets queued events and pending deletions run for a while.
inline void Pump(int ms)
{
    const wxLongLong end = wxGetLocalTimeMillis() + ms;
    do {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxMilliSleep(5);
    } while (wxGetLocalTimeMillis() < end);
}

// Runs body on the modal dialog of type T once its modal loop runs, then
// ends that loop unless body did. A timer looks for it, so yields inside
// the dialog's construction do not use the waiting up.
template <class T>
class ModalWatcher : public wxTimer {
public:
    ModalWatcher(std::function<void(T*)> body, int timeoutMs)
        : body_(body), deadline_(wxGetLocalTimeMillis() + timeoutMs) {}
    void Notify() override
    {
        for (wxWindow* w : wxTopLevelWindows) {
            T* dialog = dynamic_cast<T*>(w);
            if (dialog && dialog->IsModal()) {
                // body may run modal loops of its own: the watcher goes after it
                Stop();
                body_(dialog);
                if (dialog->IsModal())
                    dialog->EndModal(wxID_OK);
                Finish();
                return;
            }
        }
        if (wxGetLocalTimeMillis() > deadline_)
            Finish();
    }

private:
    void Finish()
    {
        Stop();
        wxTheApp->CallAfter([this] { delete this; });
    }
    std::function<void(T*)> body_;
    wxLongLong deadline_;
};

template <class T>
void WhenModal(std::function<void(T*)> body, int timeoutMs = 20000)
{
    (new ModalWatcher<T>(body, timeoutMs))->Start(20);
}

class EPGTest : public ::testing::Test {
protected:
    virtual std::vector<std::string> simArgs() const { return {"--no-ftp", "--no-stream"}; }
    // 20 s into the minute: whole minutes counted from the clock stay put
    // while a case runs
    virtual long long simNow() const { return kSimNow + 20; }

    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        LoadResourcesOnce();
        char dir[] = "/tmp/zp-epg.XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        CFG_PATH = wxString::FromUTF8(dir) + wxT("/");
        config = ZPCONFIG();
        config.language = wxT("DE");
        config.timerdir = wxT("/hdd/movie/");
        config.timertag = wxT("Zappora");
        config.epgsimilar = 1;
        config.tvcontrol = 1;
        config.mainwin_x = config.mainwin_y = -1;
        std::vector<std::string> args = {"--now", std::to_string(simNow())};
        for (const auto& a : simArgs())
            args.push_back(a);
        sim.reset(new SimReceiver(args));
        ASSERT_TRUE(sim->ok());
        sim->configureProfile();
        // The dialogs compare event times with the receiver's clock.
        SetEPGClockOffset(simNow() - (long long)time(nullptr));
        // the program's "pic" directory with the picons the build drew
        const char* bin = getenv("ZP_BINARY_DIR");
        BIN_PATH = wxString::FromUTF8(bin ? bin : ZP_BINARY_DIR) + wxT("/");
        frame = new MyMainFrame();
        MainFrame = frame;
        ASSERT_TRUE(frame->loaded);
    }

    void TearDown() override
    {
        for (wxWindow* w : wxTopLevelWindows)
            if (w != frame && dynamic_cast<wxDialog*>(w))
                w->Destroy();
        Pump(20);
        MainFrame = nullptr;
        delete frame;
        frame = nullptr;
        sim.reset();
        SetEPGClockOffset(0);
        wxFileName::Rmdir(CFG_PATH, wxPATH_RMDIR_RECURSIVE);
    }

    // The receiver's timers as it reports them now.
    std::vector<TimerEntry> ReceiverTimers() const
    {
        std::vector<TimerEntry> timers;
        bool wellFormed = false;
        if (getWebIF("timerlist"))
            ParseTimerList(result, timers, wellFormed);
        return timers;
    }

    // Web paths the client sent that begin with prefix.
    std::vector<std::string> Sent(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const auto& p : sim->loggedPaths("web"))
            if (p.compare(0, 5 + prefix.size(), "/web/" + prefix) == 0)
                out.push_back(p);
        return out;
    }

    // Loads the TV bouquets into the tree and returns the bouquet named name.
    wxTreeItemId LoadBouquet(const wxString& name)
    {
        frame->getServices(LIST_TV_BOUQUETS, true);
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = frame->tree->GetFirstChild(frame->grpTVOwn, cookie); c.IsOk();
             c = frame->tree->GetNextChild(frame->grpTVOwn, cookie))
            if (frame->tree->GetItemText(c) == name)
                return c;
        return wxTreeItemId();
    }

    static void ClickColumn(wxListCtrl* list, int column)
    {
        wxListEvent ev(wxEVT_LIST_COL_CLICK, list->GetId());
        ev.SetEventObject(list);
        ev.m_col = column;
        list->GetEventHandler()->ProcessEvent(ev);
    }

    static void Select(wxListCtrl* list, long row)
    {
        list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }

    static void Menu(wxWindow* dialog, const char* id)
    {
        wxCommandEvent ev(wxEVT_MENU, XRCID(id));
        ev.SetEventObject(dialog);
        dialog->GetEventHandler()->ProcessEvent(ev);
    }

    static void Click(wxWindow* dialog, const char* id)
    {
        wxCommandEvent ev(wxEVT_BUTTON, XRCID(id));
        ev.SetEventObject(dialog);
        dialog->GetEventHandler()->ProcessEvent(ev);
    }

    static wxString BoxLabel(wxWindow* dialog, const char* name)
    {
        auto* box = dynamic_cast<wxStaticBox*>(dialog->FindWindow(XRCID(name)));
        return box ? box->GetLabel() : wxString();
    }

    static std::vector<wxString> Column(wxListCtrl* list, int column)
    {
        std::vector<wxString> out;
        for (long r = 0; r < list->GetItemCount(); ++r)
            out.push_back(list->GetItemText(r, column));
        return out;
    }

    std::unique_ptr<SimReceiver> sim;
    MyMainFrame* frame = nullptr;
};

} // namespace epgtest
