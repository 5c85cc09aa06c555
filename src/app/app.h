#pragma once
#include <wx/app.h>

class MyApp : public wxApp {
public:
    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;
    int FilterEvent(wxEvent& event) override;
};

wxDECLARE_APP(MyApp);
