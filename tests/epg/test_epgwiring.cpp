// The main window's ways into the guide and timer dialogs: tool bar,
// the service popup and the bouquet tool.
#include "epg/epg_fixture.h"

#include "epg/epgdialog.h"
#include "epg/epgsearchdialog.h"
#include "epg/multiepgdialog.h"
#include "epg/timerdialog.h"

using namespace epgtest;

class MainWindowGuides : public EPGTest {
protected:
    void Command(const char* id)
    {
        wxCommandEvent ev(wxEVT_MENU, XRCID(id));
        frame->ProcessWindowEvent(ev);
    }
    wxTreeItemId Child(const wxTreeItemId& parent, const wxString& label)
    {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = frame->tree->GetFirstChild(parent, cookie); c.IsOk();
             c = frame->tree->GetNextChild(parent, cookie))
            if (frame->tree->GetItemText(c) == label)
                return c;
        return wxTreeItemId();
    }
};

TEST_F(MainWindowGuides, ToolsOpenTheirDialogs)
{
    MessageBoxRecorder boxes;
    frame->currentSRef = W(KULTUR);
    wxString guideOf;
    WhenModal<MyEPGDialog>([&](MyEPGDialog* d) { guideOf = d->rowData(0)->getServiceName(); });
    Command("ID_TOOL_CHANNELEPG");
    EXPECT_EQ(guideOf, wxT("Kulturkanal"));

    int timers = 0;
    WhenModal<MyTimerDialog>([&](MyTimerDialog* d) { timers = d->list->GetItemCount(); });
    Command("ID_TOOL_TIMER");
    EXPECT_EQ(timers, 9);

    bool search = false;
    WhenModal<MyEPGSearchDialog>([&](MyEPGSearchDialog*) { search = true; });
    Command("ID_TOOL_EPGSEARCH");
    EXPECT_TRUE(search);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(MainWindowGuides, BouquetToolTakesTheBouquetOfTheSelectedService)
{
    MessageBoxRecorder boxes;
    // nothing chosen yet
    Command("ID_TOOL_BOUQUETEPG");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Bitte zuerst einen Kanal oder ein Bouquet auswählen."));

    const wxTreeItemId bouquet = LoadBouquet(wxT("Sport & Spaß"));
    ASSERT_TRUE(bouquet.IsOk());
    const wxTreeItemId service = Child(bouquet, wxT("Musik Clips"));
    ASSERT_TRUE(service.IsOk());
    frame->tree->SelectItem(service);
    std::vector<wxString> services;
    WhenModal<MyMultiEPGDialog>([&](MyMultiEPGDialog* d) {
        for (long r = 0; r < d->list->GetItemCount(); ++r)
            services.push_back(d->list->GetItemText(r, 3));
    });
    Command("ID_TOOL_BOUQUETEPG");
    EXPECT_EQ(services, (std::vector<wxString>{ wxT("Sport Portal HD"), wxT("Musik Clips"),
                                                wxT("Schwaben & Franken TV"), wxT("Heimat Kanal") }));

    // the service popup's guide entry opens the guide of the selected service
    wxString guideOf;
    WhenModal<MyEPGDialog>([&](MyEPGDialog* d) { guideOf = d->rowData(0)->getServiceName(); });
    Command("ID_MENUITEM_TVRA_EPG");
    EXPECT_EQ(guideOf, wxT("Musik Clips"));
    EXPECT_EQ(boxes.boxes().size(), 1u);
}
