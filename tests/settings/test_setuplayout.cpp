// Every page of the settings dialog as the user sees it: tidy, and
// photographed with the simulated receiver and a second language (one page
// per process: a fresh screen for each picture).
#include "setup_fixture.h"

#include <wx/ffile.h>
#include <wx/listctrl.h>

#include "support/layout.h"

class SetupPageTest : public SetupTest, public ::testing::WithParamInterface<int> {};

TEST_P(SetupPageTest, IsTidyAndPhotographed)
{
    const char* const files[MySetupDialog::PAGE_COUNT] = {
        "settings-general.png", "settings-network.png", "settings-proxy.png",
        "settings-audio-video.png", "settings-pip.png", "settings-recordings.png",
    };
    StartSim();
    config.profile[0].name = wxT("Wohnzimmer");
    config.profile[1] = TestProfile("Ferienhaus", "192.168.2.30");
    config.profiles = 2;
    config.tvproviders = 1;
    config.lband = 3.5;
    config.contrast = 1.15;
    config.recdir = wxT("/home/anna/Videos/");
    config.excludedir = wxT("/hdd/movie/archiv/;");
    config.proxy = { wxT("proxy.heimnetz.lan"), wxT("gast"), wxT("gast"), 3128 };
    config.proxymode = true;
    wxFileName::Mkdir(BIN_PATH + wxT("lng"), 0755, wxPATH_MKDIR_FULL);
    wxFFile(BIN_PATH + wxT("lng/en.mo"), wxT("w")).Write(wxT("catalogue"));

    Open(GetParam())->Move(0, 0);
    ShowAndSettle(dialog);
    ExpectTidy(dialog);
    // all six page names can be read in the list
    auto* list = dynamic_cast<wxListView*>(dialog->book->GetListView());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetItemCount(), 6);
    wxRect last;
    ASSERT_TRUE(list->GetItemRect(5, last));
    EXPECT_LE(last.GetBottom(), list->GetClientSize().y);
    Photograph(dialog, wxString::FromUTF8(files[GetParam()]));
}

INSTANTIATE_TEST_SUITE_P(Pages, SetupPageTest, ::testing::Range(0, int(MySetupDialog::PAGE_COUNT)));
