// The channel tree filled from the simulated receiver's service lists.
#include <algorithm>
#include <wx/file.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "app/splashframe.h"
#include "support/msgbox.h"
#include "support/sim.h"
#include "test_channeltree_fixture.h"
#include "webif/services.h"
#include "webif/webif.h"

namespace {

int CountPaths(const SimReceiver& sim, const wxString& path)
{
    const std::string wanted = std::string("/web/") + path.utf8_str().data();
    int n = 0;
    for (const auto& p : sim.loggedPaths("web"))
        if (p == wanted)
            ++n;
    return n;
}

wxString ModeLabel(MyMainFrame* f)
{
    return f->boxMode->GetStaticBox()->GetLabel();
}

}  // namespace

class ChannelTree : public MainFrameTest {};

TEST_F(ChannelTree, BouquetsWithMarkersPositionsAndMenus)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    frame->ownBouquetCount = -1;
    frame->getServices(LIST_TV_BOUQUETS, true);
    EXPECT_EQ(CountPaths(sim, ServiceListPath(LIST_TV_BOUQUETS)), 1);

    auto bouquets = children(frame->grpTVOwn);
    ASSERT_EQ(bouquets.size(), 5u);
    EXPECT_EQ(frame->ownBouquetCount, 4);

    // The payload of a bouquet: mode 0, its reference ready for a request path, its own name.
    MyChannelItemData* b = data(bouquets[1]);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->getMode(), 0);
    EXPECT_FALSE(b->getSRef().Contains(wxT(" ")));
    EXPECT_TRUE(b->getSRef().Contains(wxT("FROM%20BOUQUET%20\"userbouquet.news.tv\"")));
    EXPECT_EQ(b->getProv(), label(bouquets[1]));
    EXPECT_TRUE(b->getTreePos().empty());
    EXPECT_EQ(frame->tree->GetItemImage(bouquets[1]), 0);
    EXPECT_EQ(frame->tree->GetItemImage(bouquets[1], wxTreeItemIcon_Expanded), 3);
    // A query carries the reference as the receiver wrote it, blanks and all.
    ASSERT_TRUE(getWebIF(wxT("epgnow?bRef=") + QueryValue(b->getRawSRef())));
    wxString raw = b->getSRef();
    raw.Replace(wxT("%20"), wxT(" "));
    EXPECT_EQ(sim.loggedQuery("bRef").back(), std::string(raw.utf8_str()));
    EXPECT_TRUE(result.Contains(wxT("<e2event>")));

    // The second bouquet begins with two markers: no payload, marker image, still counted.
    auto entries = children(bouquets[1]);
    ASSERT_EQ(entries.size(), 6u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(frame->tree->GetItemData(entries[i]), nullptr);
        EXPECT_EQ(frame->tree->GetItemImage(entries[i]), 9);
    }
    MyChannelItemData* s = data(entries[2]);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(label(entries[2]), wxString(wxT("Tagesschau24")));
    EXPECT_EQ(s->getMode(), 1);
    EXPECT_EQ(s->getTreePos(), wxString(wxT("1.1.2.3")));
    EXPECT_EQ(s->getProv(), label(bouquets[1]));
    EXPECT_EQ(frame->tree->GetItemImage(entries[2]), 6);

    // Its menu: the placeholder is gone although the first entry is a marker;
    // help texts lead back to the tree entry.
    wxMenu* menu = frame->ownBouquetMenu[1];
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(frame->ownBouquetName[1], label(bouquets[1]));
    EXPECT_TRUE(frame->ownBouquetItem[1] == bouquets[1]);
    ASSERT_EQ(menu->GetMenuItemCount(), 6u);
    const wxMenuItemList& items = menu->GetMenuItems();
    for (size_t i = 0; i < items.size(); ++i) {
        wxMenuItem* item = items[i];
        EXPECT_EQ(item->GetHelp(), wxString::Format(wxT("1:%d"), (int)i));
        EXPECT_EQ(item->GetItemLabelText(), label(entries[i]));
        EXPECT_EQ(item->IsEnabled(), i >= 2) << i;
        EXPECT_TRUE(item->GetBitmap().IsOk()) << i;  // marker or video image
    }

    // The empty bouquet keeps its placeholder so its menu is not empty.
    EXPECT_EQ(children(bouquets[2]).size(), 0u);
    ASSERT_NE(frame->ownBouquetMenu[2], nullptr);
    ASSERT_EQ(frame->ownBouquetMenu[2]->GetMenuItemCount(), 1u);
    EXPECT_EQ(frame->ownBouquetMenu[2]->GetMenuItems()[0]->GetItemLabel(), wxString(wxT(" ")));

    // An ampersand in a service name shows as one in the menu.
    wxMenu* sport = frame->ownBouquetMenu[4];
    ASSERT_NE(sport, nullptr);
    bool found = false;
    for (wxMenuItem* item : sport->GetMenuItems())
        found = found || item->GetItemLabelText() == wxT("Schwaben & Franken TV");
    EXPECT_TRUE(found);

    // Radio bouquets: no menus, radio payloads and positions.
    frame->getServices(LIST_RA_BOUQUETS, false);
    EXPECT_EQ(frame->ownBouquetCount, 4);
    auto radio = children(frame->grpRAOwn);
    ASSERT_EQ(radio.size(), 2u);
    EXPECT_EQ(frame->tree->GetItemImage(radio[0]), 1);
    auto first = children(radio[0]);
    ASSERT_FALSE(first.empty());
    ASSERT_NE(data(first[0]), nullptr);
    EXPECT_EQ(data(first[0])->getMode(), 2);
    EXPECT_EQ(data(first[0])->getTreePos(), wxString(wxT("2.1.1.1")));
    EXPECT_EQ(frame->tree->GetItemImage(first[0]), 7);
    // Bouquet lists never feed "Sender".
    EXPECT_EQ(count(frame->grpTVAll), 0u);
    EXPECT_EQ(count(frame->grpRAAll), 0u);
}

TEST_F(ChannelTree, ProvidersFillSenderInCodeOrderWithRunningNumbers)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    frame->getServices(LIST_TV_PROVIDERS, false);

    auto providers = children(frame->grpTVProv);
    ASSERT_FALSE(providers.empty());
    size_t listed = 0;
    for (size_t p = 0; p < providers.size(); ++p) {
        auto entries = children(providers[p]);
        listed += entries.size();
        for (size_t e = 0; e < entries.size(); ++e) {
            ASSERT_NE(data(entries[e]), nullptr);
            EXPECT_EQ(data(entries[e])->getTreePos(), wxString::Format(wxT("1.2.%d.%d"), (int)p + 1, (int)e + 1));
            EXPECT_EQ(data(entries[e])->getProv(), label(providers[p]));
        }
    }
    EXPECT_EQ(frame->ownBouquetCount, -1);  // providers make no menus

    auto all = children(frame->grpTVAll);
    ASSERT_EQ(all.size(), listed);
    std::vector<wxString> names;
    wxArrayString kulturProviders;
    for (size_t i = 0; i < all.size(); ++i) {
        names.push_back(label(all[i]));
        ASSERT_NE(data(all[i]), nullptr);
        EXPECT_EQ(data(all[i])->getMode(), 1);
        EXPECT_EQ(data(all[i])->getTreePos(), wxString::Format(wxT("1.3.%d"), (int)i + 1));
        if (label(all[i]) == wxT("Kulturkanal"))
            kulturProviders.Add(data(all[i])->getProv());
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [](const wxString& a, const wxString& b) { return a.compare(b) < 0; }));
    // Listed by two providers, so twice in "Sender".
    kulturProviders.Sort();
    ASSERT_EQ(kulturProviders.size(), 2u);
    EXPECT_EQ(kulturProviders[0], wxString(wxT("ARD")));
    EXPECT_EQ(kulturProviders[1], wxString(wxT("arte")));
    // Upper case sorts before lower case.
    auto at = [&](const wxChar* n) { return std::find(names.begin(), names.end(), wxString(n)) - names.begin(); };
    EXPECT_LT(at(wxT("Zweites Programm HD")), at(wxT("arte HD")));
    EXPECT_LT(at(wxT("Wetter & Reise")), at(wxT("sonnenkanal")));

    // A second load appends again; the merged list is sorted and renumbered.
    frame->getServices(LIST_TV_PROVIDERS, false);
    all = children(frame->grpTVAll);
    ASSERT_EQ(all.size(), 2 * listed);
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(label(all[i]), names[i / 2]);
        EXPECT_EQ(data(all[i])->getTreePos(), wxString::Format(wxT("1.3.%d"), (int)i + 1));
    }

    // Radio providers go to the radio groups with list number 2.
    frame->getServices(LIST_RA_PROVIDERS, false);
    auto ra = children(frame->grpRAAll);
    ASSERT_FALSE(ra.empty());
    int twice = 0;
    for (size_t i = 0; i < ra.size(); ++i) {
        EXPECT_EQ(data(ra[i])->getMode(), 2);
        EXPECT_EQ(data(ra[i])->getTreePos(), wxString::Format(wxT("2.3.%d"), (int)i + 1));
        twice += label(ra[i]) == wxString::FromUTF8("Radio Öko & Welt");
    }
    EXPECT_EQ(twice, 2);
    EXPECT_EQ(frame->tree->GetItemImage(ra[0]), 7);
}

TEST_F(ChannelTree, MoreThanHundredBouquetsMenusStopBeforeTheHundredth)
{
    SimReceiver sim({"--no-ftp", "--no-stream", "--many-bouquets"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    frame->ownBouquetCount = -1;
    frame->getServices(LIST_TV_BOUQUETS, true);

    auto bouquets = children(frame->grpTVOwn);
    ASSERT_GT(bouquets.size(), 100u);
    EXPECT_EQ(frame->ownBouquetCount, 98);
    for (int i = 0; i <= 98; ++i) {
        ASSERT_NE(frame->ownBouquetMenu[i], nullptr) << i;
        EXPECT_TRUE(frame->ownBouquetItem[i] == bouquets[i]);
    }
    EXPECT_EQ(frame->ownBouquetMenu[99], nullptr);
    // The bouquets without a menu are still complete in the tree.
    const int last = (int)bouquets.size();
    auto entries = children(bouquets[last - 1]);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(data(entries[0])->getTreePos(), wxString::Format(wxT("1.1.%d.1"), last));
    EXPECT_EQ(data(bouquets[99])->getMode(), 0);
}

TEST_F(ChannelTree, CurrentServiceFoundOnceAndHandedOver)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    SplashFrame = new MySplashFrame();  // the start-up sequence selects what it is handed
    frame->currentSRef = wxT("1:0:19:2800:401:1:C00000:0:0:0:");  // first in two bouquets and one provider
    frame->boxMode->GetStaticBox()->SetLabel(wxT("-"));
    frame->getServices(LIST_TV_BOUQUETS, true);
    ASSERT_TRUE(frame->serviceFound);
    auto bouquets = children(frame->grpTVOwn);
    const wxTreeItemId first = children(bouquets[0])[0];
    EXPECT_TRUE(frame->startItem == first);
    EXPECT_TRUE(SplashFrame->startItem == first);
    EXPECT_EQ(ModeLabel(frame), wxString(wxT(" Wiedergabemodus [ TV ] ")));

    frame->getServices(LIST_RA_BOUQUETS, false);
    frame->getServices(LIST_TV_PROVIDERS, false);
    EXPECT_TRUE(frame->startItem == first);
    EXPECT_TRUE(SplashFrame->startItem == first);
    delete SplashFrame;
    SplashIsActive = false;
    ASSERT_EQ(SplashFrame, nullptr);

    // A new search finds the radio service and labels the box accordingly.
    frame->currentSRef = data(children(children(frame->grpRAOwn)[0])[0])->getSRef();
    frame->getServices(LIST_RA_BOUQUETS, true);
    EXPECT_TRUE(frame->serviceFound);
    EXPECT_EQ(frame->tree->GetItemParent(frame->tree->GetItemParent(frame->startItem)), frame->grpRAOwn);
    EXPECT_EQ(ModeLabel(frame), wxString(wxT(" Wiedergabemodus [ RA ] ")));

    // The receiver reports a relay without its "::name" tail; the tree entry has it.
    frame->currentSRef = wxT("1:0:1:2921:44D:1:C00000:0:0:0:");
    frame->getServices(LIST_TV_BOUQUETS, true);
    ASSERT_TRUE(frame->serviceFound);
    EXPECT_EQ(label(frame->startItem), wxString(wxT("Kanal Nord Relay")));

    // Nothing playing: nothing found.
    frame->currentSRef.clear();
    frame->startItem = wxTreeItemId();
    frame->getServices(LIST_TV_BOUQUETS, true);
    EXPECT_FALSE(frame->serviceFound);
    EXPECT_FALSE(frame->startItem.IsOk());
}

TEST_F(ChannelTree, ProviderCachesPerProfileAreWrittenAndReadBack)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    const wxString tvPath = ServiceListPath(LIST_TV_PROVIDERS);
    const wxString cache0 = CFG_PATH + wxT("tv-provider-0.xml");
    const wxString cache1 = CFG_PATH + wxT("tv-provider-1.xml");

    frame->getServices(LIST_TV_PROVIDERS, false);
    ASSERT_TRUE(wxFileExists(cache0));
    EXPECT_FALSE(wxFileExists(cache1));
    const size_t loaded = count(frame->grpTVProv);
    const size_t listed = count(frame->grpTVAll);

    // Second profile: its own file.
    config.profile[1] = config.profile[0];
    config.profiles = 2;
    config.profile_active = 1;
    frame->tree->DeleteChildren(frame->grpTVProv);
    frame->tree->DeleteChildren(frame->grpTVAll);
    frame->getServices(LIST_TV_PROVIDERS, false);
    EXPECT_TRUE(wxFileExists(cache1));
    EXPECT_EQ(CountPaths(sim, tvPath), 2);

    // Later loads come from the cache: no request, same tree.
    frame->tree->DeleteChildren(frame->grpTVProv);
    frame->tree->DeleteChildren(frame->grpTVAll);
    frame->getServices(LIST_TV_PROVIDERS, false);
    EXPECT_EQ(CountPaths(sim, tvPath), 2);
    EXPECT_EQ(count(frame->grpTVProv), loaded);
    EXPECT_EQ(count(frame->grpTVAll), listed);

    frame->getServices(LIST_RA_PROVIDERS, false);
    EXPECT_TRUE(wxFileExists(CFG_PATH + wxT("ra-provider-1.xml")));
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("ra-provider-0.xml")));

    // A cache is used as it stands, even when the receiver has changed since.
    {
        wxFile f(cache1, wxFile::write);
        ASSERT_TRUE(f.IsOpened());
        f.Write(wxString::FromUTF8(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2servicelistrecursive>\n<e2bouquet>\n"
                    "<e2servicereference>1:7:1:0:0:0:0:0:0:0:(provider == \"Alt\")</e2servicereference>\n"
                    "<e2servicename>Alt</e2servicename>\n<e2servicelist>\n<e2service>\n"
                    "<e2servicereference>1:0:1:1:2:3:4:0:0:0:</e2servicereference>\n"
                    "<e2servicename>Zeile\n zwei Ä</e2servicename>\n</e2service>\n</e2servicelist>\n"
                    "</e2bouquet>\n</e2servicelistrecursive>\n"),
                wxConvUTF8);
    }
    frame->tree->DeleteChildren(frame->grpTVProv);
    frame->tree->DeleteChildren(frame->grpTVAll);
    frame->getServices(LIST_TV_PROVIDERS, false);
    EXPECT_EQ(CountPaths(sim, tvPath), 2);
    auto providers = children(frame->grpTVProv);
    ASSERT_EQ(providers.size(), 1u);
    EXPECT_EQ(label(providers[0]), wxString(wxT("Alt")));
    EXPECT_EQ(data(providers[0])->getSRef(), wxString(wxT("1:7:1:0:0:0:0:0:0:0:(provider%20==%20\"Alt\")")));
    ASSERT_EQ(children(frame->grpTVAll).size(), 1u);
    EXPECT_EQ(label(children(frame->grpTVAll)[0]), wxString::FromUTF8("Zeile\n zwei Ä"));
}

TEST_F(ChannelTree, FailedOrForeignRepliesLeaveTheTreeUnchanged)
{
    SimReceiver sim({"--no-ftp", "--no-stream"});
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    MessageBoxRecorder boxes;  // outside the start-up no box may appear
    frame->ownBouquetCount = -1;
    frame->getServices(LIST_TV_BOUQUETS, true);
    const size_t before = count(frame->grpTVOwn);
    ASSERT_GT(before, 0u);

    sim.control("/control/fault?cmd=getallservices&status=500");
    frame->getServices(LIST_TV_BOUQUETS, false);
    frame->getServices(LIST_TV_PROVIDERS, false);
    EXPECT_EQ(count(frame->grpTVOwn), before);
    EXPECT_EQ(frame->ownBouquetCount, 4);
    EXPECT_EQ(count(frame->grpTVProv), 0u);
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("tv-provider-0.xml")));

    // A reply that is no service list adds nothing and is not cached.
    sim.control("/control/fault?cmd=getallservices&clear=1");
    sim.control("/control/fault?cmd=getallservices&wrongroot=1");
    frame->getServices(LIST_TV_PROVIDERS, false);
    EXPECT_EQ(count(frame->grpTVProv), 0u);
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("tv-provider-0.xml")));
    sim.control("/control/fault?cmd=getallservices&clear=1");
    sim.control("/control/fault?cmd=getallservices&malformed=1");
    frame->getServices(LIST_TV_PROVIDERS, false);
    frame->getServices(LIST_TV_BOUQUETS, false);
    EXPECT_EQ(count(frame->grpTVProv), 0u);
    EXPECT_EQ(count(frame->grpTVOwn), before);
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("tv-provider-0.xml")));

    // Once the receiver answers again, the list loads and is cached.
    sim.control("/control/fault?cmd=getallservices&clear=1");
    frame->getServices(LIST_TV_PROVIDERS, false);
    EXPECT_GT(count(frame->grpTVProv), 0u);
    EXPECT_TRUE(wxFileExists(CFG_PATH + wxT("tv-provider-0.xml")));
    EXPECT_TRUE(boxes.boxes().empty());
}
