#include "app/app.h"
#include "app/globals.h"

// placeholder until the start-up code lands
bool MyApp::OnInit() { return false; }
int MyApp::OnRun() { return wxApp::OnRun(); }
int MyApp::OnExit() { return 0; }
int MyApp::FilterEvent(wxEvent&) { return -1; }

wxIMPLEMENT_APP_NO_MAIN(MyApp);
