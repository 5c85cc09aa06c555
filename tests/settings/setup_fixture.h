// The settings dialog on a private configuration directory with the main
// window it belongs to (or the whole program playing from the simulated
// receiver), and the control actions a user performs.
#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/filename.h>
#include <wx/listbook.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/scrolbar.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include "app/app.h"
#include "app/configfile.h"
#include "app/splashframe.h"
#include "mainwindow/frame_fixture.h"
#include "mainwindow/framerules.h"
#include "mainwindow/mainframe.h"
#include "settings/prompts.h"
#include "settings/setupdialog.h"
#include "stream/playback_support.h"
#include "support/msgbox.h"
#include "support/sim.h"

inline ZPPROFILE TestProfile(const char* name, const char* host)
{
    ZPPROFILE p;
    p.name = wxString::FromUTF8(name);
    p.host = wxString::FromUTF8(host);
    p.user = wxT("root");
    p.pass = wxT("geheim");
    p.wport = 80;
    p.sport = 8001;
    return p;
}

// ---- what a user does to a control: the control changes, then its event ----

inline void Send(wxWindow* control, wxEventType type, int value = 0)
{
    wxCommandEvent ev(type, control->GetId());
    ev.SetEventObject(control);
    ev.SetInt(value);
    control->GetEventHandler()->ProcessEvent(ev);
}

inline void Click(wxButton* button)
{
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->IsEnabled()) << button->GetName();
    Send(button, wxEVT_BUTTON);
}

inline void Toggle(wxToggleButton* toggle, bool on)
{
    ASSERT_NE(toggle, nullptr);
    toggle->SetValue(on);
    Send(toggle, wxEVT_TOGGLEBUTTON, on);
}

inline void Type(wxTextCtrl* field, const wxString& text)
{
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->IsEnabled()) << field->GetName();
    field->SetValue(text);   // sends wxEVT_TEXT like typing does
}

inline void Choose(wxBitmapComboBox* box, int index)
{
    ASSERT_NE(box, nullptr);
    box->SetSelection(index);
    Send(box, wxEVT_COMBOBOX, index);
}

inline void Pick(wxRadioButton* radio)
{
    ASSERT_NE(radio, nullptr);
    radio->SetValue(true);
    Send(radio, wxEVT_RADIOBUTTON, 1);
}

// Moving a scroll bar and letting go of it.
inline void Slide(wxScrollBar* bar, int position)
{
    ASSERT_NE(bar, nullptr);
    bar->SetThumbPosition(position);
    wxScrollEvent ev(wxEVT_SCROLL_THUMBRELEASE, bar->GetId(), position, wxHORIZONTAL);
    ev.SetEventObject(bar);
    bar->GetEventHandler()->ProcessEvent(ev);
}

inline void Key(wxWindow* target, int code)
{
    wxCommandEvent ev(wxEVT_KEY, code);
    ev.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(ev);
}

// Answers the name prompt of "add" and "rename" from now on.
inline void AnswerName(const wxString& name)
{
    SetTextPrompt([name](const wxString&, const wxString&, wxString* answer) {
        *answer = name;
        return true;
    });
}

// The one box shown while `action` ran, answered with `answer`.
inline RecordedBox OneBox(const std::function<void()>& action, int answer = wxYES)
{
    MessageBoxRecorder boxes(answer);
    action();
    EXPECT_EQ(boxes.boxes().size(), 1u);
    return boxes.boxes().empty() ? RecordedBox{} : boxes.boxes()[0];
}

class SetupTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        char tmpl[] = "/tmp/zp-bin.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        binDir = BIN_PATH = wxString::FromUTF8(tmpl) + wxT("/");
        ResetConfig(config);
        ClampConfig(config);
        config.profile[0] = TestProfile("Wohnzimmer", "192.168.178.20");
        config.profile[1] = TestProfile("Keller", "192.168.178.21");
        config.profiles = 2;
        MySplashFrame::stepDelayMs = 0;
    }

    void TearDown() override
    {
        if (dialog)
            dialog->Destroy();
        if (MainFrame && !wxTheApp->IsScheduledForDestruction(MainFrame)) {
            if (pipeline) {
                wxCommandEvent stop(wxEVT_MENU, XRCID("ID_TOOL_STOP"));
                MainFrame->ProcessWindowEvent(stop);
                MainFrame->epgTimer.Stop();
                RunFor(100);
            }
            delete MainFrame;
        }
        wxTheApp->ProcessIdle();
        MainFrame = nullptr;
        SplashFrame = nullptr;
        SplashIsActive = SplashHasError = false;
        runConfig = false;
        GStreamerDone();
        sim.reset();
        SetTextPrompt(nullptr);
        SetDirectoryPrompt(nullptr);
        SetChoicesPrompt(nullptr);
        wxFileName::Rmdir(binDir, wxPATH_RMDIR_RECURSIVE);
    }

    MySetupDialog* Open(int page)
    {
        if (!MainFrame)
            MainFrame = new MyMainFrame();
        if (dialog)
            dialog->Destroy();
        dialog = new MySetupDialog(MainFrame, page);
        EXPECT_TRUE(dialog->loaded);
        return dialog;
    }

    void ShowPage(int page) { dialog->book->SetSelection(size_t(page)); }

    wxMenuItem* SourceItem(int index) const
    {
        return MainFrame->GetMenuBar()->FindItem(XRCID(SourceMenuItemName(index)));
    }

    // The simulated receiver as the only profile.
    void StartSim(std::vector<std::string> args = {})
    {
        sim.reset(new SimReceiver(args));
        ASSERT_TRUE(sim->ok());
        SetupPlaybackConfig();
        BIN_PATH = binDir;   // loading the record sets the program's directory
        sim->configureProfile();
    }

    // The start-up sequence from the splash window's timer, as OnRun starts it.
    void RunStartUp()
    {
        ASSERT_NE(SplashFrame, nullptr);
        ASSERT_TRUE(RunUntil([] { return !SplashIsActive; }, 60000));
        ASSERT_TRUE(RunUntil([] { return pipeline && GST_STATE(pipeline) == GST_STATE_PLAYING; }, 60000));
    }

    // The record as the configuration loader reads it back from the file.
    ZPCONFIG FileContent(int* count = nullptr) const
    {
        ZPCONFIG read;
        const int n = ReadConfigFile(CFG_PATH + wxT("zappora.cfg"), read);
        if (count)
            *count = n;
        return read;
    }

    wxString binDir;   // the program directory with its "lng" catalogues
    MySetupDialog* dialog = nullptr;
    std::unique_ptr<SimReceiver> sim;
};
