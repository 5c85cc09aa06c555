// Test entry: brings up the real application object (without running its
// OnInit) so that windows, timers and the key filter behave as in the program.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "app/app.h"
#include "app/toolkit.h"
#include "support/msgbox.h"

// A failed assertion would open a dialog nobody can click: fail the test instead.
static void FailOnAssert(const wxString& file, int line, const wxString& func,
                         const wxString& cond, const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "wx assertion failed in " << func.utf8_str().data() << ": " << cond.utf8_str().data()
        << " " << msg.utf8_str().data();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ForceX11Backend();
    // No test may ever wait for a click: an unexpected box fails the test.
    InstallFailingMessageBoxHandler();
    wxSetAssertHandler(FailOnAssert);
    wxApp::SetInstance(new MyApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot initialise wxWidgets (no display?)\n");
        return 1;
    }
    wxLog::SetActiveTarget(new wxLogStderr);
    int rc = RUN_ALL_TESTS();
    wxEntryCleanup();
    return rc;
}
