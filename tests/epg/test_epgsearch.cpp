// The guide search against the simulated receiver: title search with its
// minimum length, time search in the chosen bouquet, and the actions of the
// result list.
#include "epg/epg_fixture.h"

#include <wx/choice.h>
#include <wx/datectrl.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include "epg/epgdialog.h"
#include "epg/epgsearchdialog.h"
#include "epg/epgsearchresultdialog.h"

using namespace epgtest;

class GuideSearch : public EPGTest {};

TEST_F(GuideSearch, StartsAtQuarterPastEightAndRefusesShortTerms)
{
    MessageBoxRecorder boxes;
    MyEPGSearchDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    EXPECT_EQ(dialog.hour->GetStringSelection(), wxT("20"));
    EXPECT_EQ(dialog.minute->GetStringSelection(), wxT("15"));
    EXPECT_TRUE(dialog.day->GetValue().IsSameDate(wxDateTime::Today()));

    Click(&dialog, "ID_BITMAPBUTTON_STRING");
    dialog.term->SetValue(wxT("Ta"));
    Click(&dialog, "ID_BITMAPBUTTON_STRING");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Bitte einen Suchbegriff eingeben!"));
    EXPECT_EQ(boxes.boxes()[1].text, wxT("Bitte einen Suchbegriff mit mindestens 3 Zeichen eingeben!"));
    EXPECT_TRUE(boxes.boxes()[1].style & wxICON_WARNING);
    EXPECT_TRUE(Sent("epgsearch").empty());
}

TEST_F(GuideSearch, ThreeCharactersFindHitsThatBecomeTimers)
{
    MessageBoxRecorder boxes;
    MyEPGSearchDialog* search = new MyEPGSearchDialog();
    bool searchStillModal = true;
    int hits = 0;
    wxString label, firstTitle;
    TimerEntry none;
    WhenModal<MyEPGSearchDialog>([&](MyEPGSearchDialog* d) {
        d->term->SetValue(wxT("Tat"));
        WhenModal<MyEPGSearchResultDialog>([&](MyEPGSearchResultDialog* r) {
            hits = r->list->GetItemCount();
            label = BoxLabel(r, "ID_BOXSIZER1");
            // the first hit becomes a record timer
            Select(r->list, 1);
            firstTitle = r->rowData(1)->getEventTitle();
            Menu(r, "ID_MENUITEM_RECORD");
        });
        // Enter in the term field searches like the button
        wxCommandEvent enter(wxEVT_TEXT_ENTER, XRCID("ID_TEXTCTRL_STRING"));
        enter.SetEventObject(d->term);
        d->term->GetEventHandler()->ProcessEvent(enter);
        searchStillModal = d->IsModal();
    });
    search->ShowModal();
    search->Destroy();
    EXPECT_FALSE(searchStillModal);   // closed after the results
    EXPECT_GT(hits, 1);
    EXPECT_EQ(label, wxT(" Trefferübersicht [ Tat ] "));
    EXPECT_EQ(Sent("epgsearch?"), (std::vector<std::string>{"/web/epgsearch?search=Tat"}));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.EndsWith(wxT("wurde als Aufnahme-Timer hinzugefügt."))) << boxes.boxes()[0].text;
    bool found = false;
    for (const TimerEntry& t : ReceiverTimers())
        if (t.name == firstTitle && t.tags == wxT("Zappora"))
            found = true;
    EXPECT_TRUE(found);
}

TEST_F(GuideSearch, ResultActionsPlayOpenTheGuideAndRemind)
{
    MessageBoxRecorder boxes;
    MyEPGSearchResultDialog results(false, wxT("Spaß"));
    ASSERT_TRUE(results.loaded);
    EXPECT_EQ(Sent("epgsearch?"), (std::vector<std::string>{"/web/epgsearch?search=Spa%C3%9F"}));
    ASSERT_GT(results.list->GetItemCount(), 0);
    for (const wxString& title : Column(results.list, 5))
        EXPECT_TRUE(title.Lower().Contains(wxT("spaß"))) << title;
    // the service column names the service of each hit
    const MyEPGListCtrlItemData* row = results.rowData(0);
    EXPECT_EQ(results.list->GetItemText(0, 4), row->getServiceName());

    Select(results.list, 0);
    int guideRows = 0;
    WhenModal<MyEPGDialog>([&](MyEPGDialog* d) { guideRows = d->list->GetItemCount(); });
    Menu(&results, "ID_MENUITEM_EPG");
    EXPECT_GT(guideRows, 7 * 24 / 2);

    // a hit later this week: the reminder counts in minutes
    const long last = results.list->GetItemCount() - 1;
    Select(results.list, last);
    Menu(&results, "ID_MENUITEM_REMINDER");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.Contains(wxT(" Minuten wird die gewählte Sendung"))) << boxes.boxes()[0].text;
    auto* pending = dynamic_cast<MyServicePayload*>(frame->pendingZap);
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->getSRef(), results.rowData(last)->getServiceReference());

    // playing remembers the current tree item as the previous one
    frame->currentItem = frame->grpTVOwn;
    Menu(&results, "ID_MENUITEM_PLAY");
    EXPECT_EQ(frame->previousItem, frame->grpTVOwn);
}

TEST_F(GuideSearch, NoHitsKeepTheSearchOpen)
{
    MessageBoxRecorder boxes;
    MyEPGSearchDialog* search = new MyEPGSearchDialog();
    bool stillModal = false;
    WhenModal<MyEPGSearchDialog>([&](MyEPGSearchDialog* d) {
        d->term->SetValue(wxT("Kein Treffer xyz"));
        Click(d, "ID_BITMAPBUTTON_STRING");
        stillModal = d->IsModal();
    });
    search->ShowModal();
    search->Destroy();
    EXPECT_TRUE(stillModal);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Die Suche nach \"Kein Treffer xyz\" war leider ergebnislos..."));
}

TEST_F(GuideSearch, TimeSearchUsesTheBouquetOfTheSelectedChannel)
{
    MessageBoxRecorder boxes;
    MyEPGSearchDialog dialog;
    // nothing chosen in the tree (the hidden root is no choice)
    frame->tree->UnselectAll();
    Click(&dialog, "ID_BITMAPBUTTON_TIME");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Bitte zuerst einen Kanal oder ein Bouquet auswählen."));
    EXPECT_TRUE(Sent("epgbouquet").empty());

    const wxTreeItemId bouquet = LoadBouquet(wxT("Nachrichten & Info"));
    ASSERT_TRUE(bouquet.IsOk());
    wxTreeItemIdValue cookie;
    wxTreeItemId channel = frame->tree->GetFirstChild(bouquet, cookie);
    while (channel.IsOk() && frame->tree->GetItemText(channel) != wxT("Tagesschau24"))
        channel = frame->tree->GetNextChild(bouquet, cookie);
    ASSERT_TRUE(channel.IsOk());
    frame->tree->SelectItem(channel);
    dialog.day->SetValue(wxDateTime(8, wxDateTime::Dec, 2026));
    dialog.hour->SetSelection(6);
    dialog.minute->SetSelection(30);

    wxString label;
    std::vector<wxString> services;
    WhenModal<MyEPGSearchResultDialog>([&](MyEPGSearchResultDialog* r) {
        label = BoxLabel(r, "ID_BOXSIZER1");
        services = Column(r->list, 4);
    });
    Click(&dialog, "ID_BITMAPBUTTON_TIME");
    EXPECT_EQ(label, wxT(" Trefferübersicht [ 08.12.2026 - 06:30 ] "));
    EXPECT_EQ(services, (std::vector<wxString>{ wxT("Tagesschau24"), wxT("Nachrichten Welt"),
                                                wxT("zdf_info"), wxT("Wetter & Reise") }));
    const std::vector<std::string> sent = Sent("epgbouquet?");
    ASSERT_EQ(sent.size(), 1u);
    const long moment = (long)LocalMoment(2026, 12, 8, 6, 30);
    EXPECT_EQ(sent[0], "/web/epgbouquet?bRef=1%3A7%3A1%3A0%3A0%3A0%3A0%3A0%3A0%3A0%3AFROM%20BOUQUET%20%22"
                       "userbouquet.news.tv%22%20ORDER%20BY%20bouquet&time=" + std::to_string(moment));

    // the bouquet itself chosen: the same request
    frame->tree->SelectItem(bouquet);
    WhenModal<MyEPGSearchResultDialog>([&](MyEPGSearchResultDialog*) {});
    Click(&dialog, "ID_BITMAPBUTTON_TIME");
    EXPECT_EQ(Sent("epgbouquet?").size(), 2u);
    EXPECT_EQ(Sent("epgbouquet?").back(), sent[0]);
}
