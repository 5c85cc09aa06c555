// Every page of the settings dialog as the user sees it: tidy, and
// photographed with a receiver of the simulator and a few languages.
#include "setup_fixture.h"

#include <wx/ffile.h>
#include <wx/listctrl.h>

#include "support/layout.h"
#include "support/sim.h"

namespace {

struct PageShot {
    int page;
    const char* file;
};

const PageShot kPages[] = {
    { MySetupDialog::PAGE_GENERAL, "settings-general.png" },
    { MySetupDialog::PAGE_NETWORK, "settings-network.png" },
    { MySetupDialog::PAGE_PROXY, "settings-proxy.png" },
    { MySetupDialog::PAGE_AV, "settings-audio-video.png" },
    { MySetupDialog::PAGE_PIP, "settings-pip.png" },
    { MySetupDialog::PAGE_REC, "settings-recordings.png" },
};

void PrintTo(const PageShot& shot, std::ostream* out)
{
    *out << shot.file;
}

}  // namespace

class SetupLayoutTest : public SetupTest, public ::testing::WithParamInterface<PageShot> {};

TEST_P(SetupLayoutTest, PageIsTidy)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    config.profile[0].name = wxT("Wohnzimmer");
    config.profile[1] = TestProfile("Ferienhaus", "192.168.2.30");
    config.profiles = 2;
    config.tvproviders = 1;
    config.lband = 3.5;
    config.hband = -2.0;
    config.contrast = 1.15;
    config.recdir = wxT("/home/anna/Videos/");
    config.excludedir = wxT("/hdd/movie/archiv/;");
    config.proxy.host = wxT("proxy.heimnetz.lan");
    config.proxy.port = 3128;
    config.proxy.user = wxT("gast");
    config.proxy.pass = wxT("gast");
    config.proxymode = true;
    const wxString lng = BIN_PATH + wxT("lng");
    wxFileName::Mkdir(lng, 0755, wxPATH_MKDIR_FULL);
    wxFFile(lng + wxT("/en.mo"), wxT("w")).Write(wxT("catalogue"));

    Open(GetParam().page);
    if (GetParam().page == MySetupDialog::PAGE_NETWORK)
        Choose(dialog->profileChoice, 0);
    dialog->Move(0, 0);
    ShowAndSettle(dialog);
    ExpectTidy(dialog);
    // all six page names can be read in the list
    auto* list = dynamic_cast<wxListView*>(dialog->book->GetListView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetItemCount(), 6);
    for (int i = 0; i < list->GetItemCount(); i++) {
        wxRect r;
        ASSERT_TRUE(list->GetItemRect(i, r));
        EXPECT_LE(r.GetBottom(), list->GetClientSize().y) << i;
    }
    Photograph(dialog, wxString::FromUTF8(GetParam().file));
    dialog->Hide();
}

INSTANTIATE_TEST_SUITE_P(Pages, SetupLayoutTest, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<PageShot>& info) {
                             std::string name = info.param.file;
                             name = name.substr(9, name.size() - 13);   // "settings-" ... ".png"
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });
