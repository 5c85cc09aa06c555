// The settings dialog on a private configuration directory, with the main
// window it belongs to, and the control actions a user performs.
#pragma once

#include <gtest/gtest.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/filename.h>
#include <wx/listbook.h>
#include <wx/radiobut.h>
#include <wx/scrolbar.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/configfile.h"
#include "app/globals.h"
#include "mainwindow/mainframe.h"
#include "settings/prompts.h"
#include "settings/setupdialog.h"
#include "support/msgbox.h"
#include "mainwindow/frame_fixture.h"
#include "support/resources.h"

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

// ---- what a user does to a control (the control changes, then its event) ----

inline void Click(wxButton* button)
{
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->IsEnabled()) << button->GetName();
    wxCommandEvent ev(wxEVT_BUTTON, button->GetId());
    ev.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(ev);
}

inline void Toggle(wxToggleButton* toggle, bool on)
{
    ASSERT_NE(toggle, nullptr);
    toggle->SetValue(on);
    wxCommandEvent ev(wxEVT_TOGGLEBUTTON, toggle->GetId());
    ev.SetEventObject(toggle);
    ev.SetInt(on ? 1 : 0);
    toggle->GetEventHandler()->ProcessEvent(ev);
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
    wxCommandEvent ev(wxEVT_COMBOBOX, box->GetId());
    ev.SetEventObject(box);
    ev.SetInt(index);
    box->GetEventHandler()->ProcessEvent(ev);
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

inline void Pick(wxRadioButton* radio)
{
    ASSERT_NE(radio, nullptr);
    radio->SetValue(true);
    wxCommandEvent ev(wxEVT_RADIOBUTTON, radio->GetId());
    ev.SetEventObject(radio);
    ev.SetInt(1);
    radio->GetEventHandler()->ProcessEvent(ev);
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

// ---- fixture ----

class SetupTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        char tmpl[] = "/tmp/zp-bin.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        BIN_PATH = wxString::FromUTF8(tmpl) + wxT("/");
        ResetConfig(config);
        ClampConfig(config);
        config.profile[0] = TestProfile("Wohnzimmer", "192.168.178.20");
        config.profile[1] = TestProfile("Keller", "192.168.178.21");
        config.profiles = 2;
        MainFrame = new MyMainFrame();
    }

    void TearDown() override
    {
        if (dialog)
            dialog->Destroy();
        dialog = nullptr;
        delete MainFrame;
        MainFrame = nullptr;
        SetTextPrompt(nullptr);
        SetDirectoryPrompt(nullptr);
        SetChoicesPrompt(nullptr);
        wxTheApp->ProcessIdle();
        wxFileName::Rmdir(BIN_PATH, wxPATH_RMDIR_RECURSIVE);
    }

    MySetupDialog* Open(int page = MySetupDialog::PAGE_GENERAL)
    {
        dialog = new MySetupDialog(MainFrame, page);
        EXPECT_TRUE(dialog->loaded);
        return dialog;
    }

    void ShowPage(int page) { dialog->book->SetSelection(size_t(page)); }

    // The record as the configuration loader reads it back from the file.
    ZPCONFIG FileContent(int* count = nullptr) const
    {
        ZPCONFIG read;
        const int n = ReadConfigFile(CFG_PATH + wxT("zappora.cfg"), read);
        if (count)
            *count = n;
        return read;
    }

    MySetupDialog* dialog = nullptr;
};
