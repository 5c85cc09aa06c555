// The toolkit set-up around the program's own main.
#include <gtest/gtest.h>

#include <cstdlib>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/log.h>

#include "app/guards.h"
#include "app/toolkit.h"

namespace {
class Lines : public wxLog {
public:
    wxString all;
protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& msg) override { all += msg + wxT("\n"); }
};
}  // namespace

TEST(Toolkit, ReleaseBuildsLogAFailedCheckInsteadOfAsking)
{
    // (the test main's own handler fails the test on any box; a dialog would hang)
    wxAssertHandler_t tests = wxSetAssertHandler(nullptr);
    LogToolkitAsserts();
    Lines* lines = new Lines;
    wxLog* previous = wxLog::SetActiveTarget(lines);
    wxLog::SetVerbose(true);
    wxFAIL_MSG("Probe");
    wxLog::SetVerbose(false);
    wxLog::SetActiveTarget(previous);
    wxSetAssertHandler(tests);
    EXPECT_TRUE(lines->all.Contains(wxT(": Verbose: wxWidgets-Prüfung fehlgeschlagen"))) << lines->all;
    EXPECT_TRUE(lines->all.Contains(wxT("Probe"))) << lines->all;
    delete lines;
}

TEST(Toolkit, X11UnlessTheUserChoseABackend)
{
    // The test main chose like the program's main; GTK runs on it.
    EXPECT_TRUE(GdkBackendDescription().StartsWith(wxT("x11"))) << GdkBackendDescription();
    setenv("GDK_BACKEND", "wayland", 1);
    ForceX11Backend();
    EXPECT_STREQ(getenv("GDK_BACKEND"), "wayland");
    EXPECT_TRUE(GdkBackendDescription().EndsWith(wxT("(GDK_BACKEND=wayland)"))) << GdkBackendDescription();
}

TEST(Toolkit, GaugesStayWithinTheirRange)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, wxT("Pegel"));
    wxGauge* gauge = new wxGauge(frame, wxID_ANY, 100);
    SetGaugeValue(gauge, 150);
    EXPECT_EQ(gauge->GetValue(), 100);
    SetGaugeValue(gauge, -3);
    EXPECT_EQ(gauge->GetValue(), 0);
    SetGaugeValue(gauge, 80);
    SetGaugeRange(gauge, 50);
    EXPECT_EQ(gauge->GetValue(), 50);
    SetGaugeRange(gauge, 0);
    EXPECT_EQ(gauge->GetRange(), 1);
    SetGaugeValue(nullptr, 5);
    frame->Destroy();
}
