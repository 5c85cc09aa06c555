#pragma once
#include <wx/app.h>

class wxCommandEvent;
class wxTimer;

class MyApp : public wxApp {
public:
    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;
    int FilterEvent(wxEvent& event) override;

    // Log lines of the streaming threads that arrive while no main window
    // takes them.
    void OnGstLog(wxCommandEvent& event);

private:
    wxDECLARE_EVENT_TABLE();
};

wxDECLARE_APP(MyApp);

// The key-down filter of MyApp::FilterEvent as a plain function: sends one
// wxEVT_KEY command event (id = key code) to the window that got the key.
// Returns -1 for events that are not key-downs, 0 otherwise.
int FilterKeyEvent(wxEvent& event);

// OnRun before the main loop: when the settings are demanded (no usable
// profile, or "-c") the settings dialog on the receiver page first; without
// any usable profile the program ends unless it is applied. Then the splash
// window's start-up timer. False when the program must end.
bool BeginStart();

// The one-shot 250 ms timer (id 1) whose expiry runs the start-up sequence:
// owned by the splash window (the main window while there is none), kept in
// MainFrame->startTimer. Returns nullptr without a main window.
wxTimer* StartStartupTimer();
