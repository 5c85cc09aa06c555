// The bouquet guide against the simulated receiver: a row per service with
// its running and following event, picons, progress, playing and reminders.
#include "epg/epg_fixture.h"

#include <wx/gauge.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "epg/multiepgdialog.h"
#include "webif/current.h"

using namespace epgtest;

namespace {

bool SameImage(const wxBitmap& a, const wxBitmap& b)
{
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize())
        return false;
    const wxImage ia = a.ConvertToImage(), ib = b.ConvertToImage();
    return memcmp(ia.GetData(), ib.GetData(), size_t(ia.GetWidth()) * ia.GetHeight() * 3) == 0;
}

long RowOf(wxListCtrl* list, const wxString& service)
{
    for (long r = 0; r < list->GetItemCount(); ++r)
        if (list->GetItemText(r, 3) == service)
            return r;
    return -1;
}

} // namespace

class BouquetGuide : public EPGTest {
protected:
    std::unique_ptr<MyMultiEPGDialog> Open(const wxString& bouquet)
    {
        item = LoadBouquet(bouquet);
        EXPECT_TRUE(item.IsOk());
        auto* payload = dynamic_cast<MyServicePayload*>(frame->tree->GetItemData(item));
        EXPECT_NE(payload, nullptr);
        if (!payload)
            return nullptr;
        return std::unique_ptr<MyMultiEPGDialog>(
            new MyMultiEPGDialog(bouquet, payload->getRawSRef(), item));
    }
    wxTreeItemId item;
};

TEST_F(BouquetGuide, EveryServiceGetsItsOwnRunningAndFollowingEvent)
{
    MessageBoxRecorder boxes;
    auto dialog = Open(wxT("Favoriten (TV)"));
    ASSERT_TRUE(dialog && dialog->loaded);
    wxListCtrl* list = dialog->list;
    // the two markers take no row
    EXPECT_EQ(Column(list, 3),
              (std::vector<wxString>{ wxT("Erstes Programm HD"), wxT("Zweites Programm HD"),
                                      wxT("Bayern Fernsehen"), wxT("Nord Fernsehen"),
                                      wxT("Kanal Nord Relay"), wxT("Sport Portal HD"), wxT("Canal Süd"),
                                      wxT("arte HD"), wxT("ÜberTV"), wxT("sonnenkanal") }));
    // each row holds what the receiver says about that very service
    for (long r = 0; r < list->GetItemCount(); ++r) {
        const MyMultiEPGListCtrlItemData* row = dialog->rowData(r);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->getSRef(), row->getEventServiceReference());
        ASSERT_TRUE(getWebIF(EPGServicePath(row->getEventServiceReference())));
        std::vector<EventFields> guide;
        ASSERT_TRUE(ParseEventList(result, guide));
        ASSERT_GE(guide.size(), 2u);
        EXPECT_EQ(list->GetItemText(r, 1), BouquetTimeText(guide[0])) << r;
        EXPECT_EQ(list->GetItemText(r, 2), BouquetTitleText(guide[0])) << r;
        EXPECT_EQ(list->GetItemText(r, 4), BouquetTitleText(guide[1])) << r;
        EXPECT_EQ(list->GetItemText(r, 5), BouquetTimeText(guide[1])) << r;
        EXPECT_EQ(row->getEventStart(), guide[1].start);
        EXPECT_EQ(row->getEventIdNext(), guide[1].id);
        EXPECT_EQ(row->getEventIdNow(), guide[0].id);
    }
    auto* box = dynamic_cast<wxStaticBox*>(dialog->FindWindow(XRCID("ID_BOXSIZER_OVERVIEW")));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetLabel(), wxT(" Bouquetübersicht [ Favoriten (TV) ] "));
    // the bouquet reference leaves with its blanks and quotes encoded once
    const std::vector<std::string> now = Sent("epgnow?");
    ASSERT_EQ(now.size(), 1u);
    EXPECT_NE(now[0].find("FROM%20BOUQUET%20%22userbouquet.favourites.tv%22%20ORDER%20BY%20bouquet"),
              std::string::npos) << now[0];
    EXPECT_EQ(Sent("epgnext?").size(), 1u);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(BouquetGuide, DetailsShowPiconProgressAndTheClock)
{
    MessageBoxRecorder boxes;
    auto dialog = Open(wxT("Favoriten (TV)"));
    ASSERT_TRUE(dialog && dialog->loaded);
    wxListCtrl* list = dialog->list;

    const long erstes = RowOf(list, wxT("Erstes Programm HD"));
    Select(list, erstes);
    // the build draws it into the program's "pic" directory
    const wxString file = BIN_PATH + wxT("pic/1_0_19_2800_401_1_C00000_0_0_0.png");
    const wxBitmap drawn(file, wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(drawn.IsOk()) << "picon missing: " << file;
    EXPECT_TRUE(SameImage(dialog->picon->GetBitmap(), drawn));
    auto* details = dynamic_cast<wxStaticBox*>(dialog->FindWindow(XRCID("ID_BOXSIZER_DETAILS")));
    EXPECT_EQ(details->GetLabel(), wxT(" Sendungsdetails [ Erstes Programm HD ] "));
    EXPECT_TRUE(dialog->nowText->GetValue().StartsWith(list->GetItemText(erstes, 2) + wxT("\n\n")));
    EXPECT_TRUE(dialog->nextText->GetValue().StartsWith(list->GetItemText(erstes, 4) + wxT("\n\n")));
    EXPECT_EQ(dialog->endText->GetLabel(), list->GetItemText(erstes, 5));
    EXPECT_EQ(dialog->dateText->GetLabel(), wxT("07.12.2026"));
    EXPECT_TRUE(dialog->timeText->GetLabel().StartsWith(wxT("19:0"))) << dialog->timeText->GetLabel();

    const MyMultiEPGListCtrlItemData* row = dialog->rowData(erstes);
    long long begin = 0, next = 0;
    ASSERT_TRUE(ParseSeconds(row->getEventStartNow(), begin));
    ASSERT_TRUE(ParseSeconds(row->getEventStart(), next));
    EXPECT_EQ(dialog->gauge->GetRange(), (next - begin) / 60);
    EXPECT_EQ(dialog->gauge->GetValue(), (next - begin) / 60 - (next - (long long)EPGNow()) / 60);
    EXPECT_EQ(dialog->durationText->GetLabel(),
              wxString::Format(wxT("+ %d min"), int((next - (long long)EPGNow()) / 60 + 1)));

    // a service without a picon shows the default picture
    const long relay = RowOf(list, wxT("Kanal Nord Relay"));
    Select(list, relay);
    EXPECT_TRUE(SameImage(dialog->picon->GetBitmap(), wxXmlResource::Get()->LoadBitmap(wxT("DEFAULT_PICON"))));
    // a picon of a common set (220 x 132) is fitted into the slot
    BIN_PATH = CFG_PATH;
    ASSERT_TRUE(wxFileName::Mkdir(CFG_PATH + wxT("pic")));
    ASSERT_TRUE(wxImage(220, 132).SaveFile(CFG_PATH + wxT("pic/1_0_1_2921_44D_1_C00000_0_0_0_.png"),
                                           wxBITMAP_TYPE_PNG));
    Select(list, erstes);
    EXPECT_TRUE(SameImage(dialog->picon->GetBitmap(), wxXmlResource::Get()->LoadBitmap(wxT("DEFAULT_PICON"))));
    Select(list, relay);
    EXPECT_EQ(dialog->picon->GetBitmap().GetSize(), wxSize(70, 42));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(BouquetGuide, RowsPlayWithTheirTreeItemAndRemindOfTheFollowingEvent)
{
    MessageBoxRecorder boxes;
    auto dialog = Open(wxT("Favoriten (TV)"));
    ASSERT_TRUE(dialog && dialog->loaded);
    Select(dialog->list, RowOf(dialog->list, wxT("arte HD")));
    const wxTreeItemId before = frame->currentItem;
    Menu(dialog.get(), "ID_MENUITEM_MULTIEPG_PLAY");
    ASSERT_TRUE(frame->currentItem.IsOk());
    auto* channel = dynamic_cast<MyChannelItemData*>(frame->tree->GetItemData(frame->currentItem));
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->getSRef(), W(ARTE));
    EXPECT_EQ(frame->tree->GetItemParent(frame->currentItem), item);
    EXPECT_EQ(frame->tree->GetSelection(), frame->currentItem);
    EXPECT_EQ(frame->previousItem, before);

    const long row = RowOf(dialog->list, wxT("Bayern Fernsehen"));
    Select(dialog->list, row);
    Menu(dialog.get(), "ID_MENUITEM_MULTIEPG_REMINDER");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    long long next = 0;
    ASSERT_TRUE(ParseSeconds(dialog->rowData(row)->getEventStart(), next));
    EXPECT_EQ(boxes.boxes()[0].text,
              ReminderMessage(next - (long long)EPGNow(), dialog->list->GetItemText(row, 4), 60));
    auto* pending = dynamic_cast<MyServicePayload*>(frame->pendingZap);
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->getSRef(), dialog->rowData(row)->getEventServiceReference());
}

TEST_F(BouquetGuide, EmptyBouquetWarnsAndIsNotShown)
{
    MessageBoxRecorder boxes;
    auto dialog = Open(wxT("Leeres Bouquet"));
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->loaded);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Es ist keine Programmvorschau für dieses Bouquet verfügbar."));
}

TEST_F(BouquetGuide, RightClickOnABouquetOpensItsGuide)
{
    MessageBoxRecorder boxes;
    item = LoadBouquet(wxT("Nachrichten & Info"));
    ASSERT_TRUE(item.IsOk());
    int rows = -1;
    WhenModal<MyMultiEPGDialog>([&](MyMultiEPGDialog* d) { rows = d->list->GetItemCount(); });
    wxTreeEvent ev(wxEVT_TREE_ITEM_RIGHT_CLICK, frame->tree, item);
    frame->ProcessWindowEvent(ev);
    // two markers at the top take no rows
    EXPECT_EQ(rows, 4);
    EXPECT_TRUE(boxes.boxes().empty());
}

class BouquetGuideAfterMidnight : public BouquetGuide {
protected:
    // 00:10, while events that began before midnight are running
    long long simNow() const override { return kSimNow + 5 * 3600 + 620; }
};

TEST_F(BouquetGuideAfterMidnight, ProgressOfEventsFromYesterdayStaysInRange)
{
    MessageBoxRecorder boxes;
    auto dialog = Open(wxT("Favoriten (TV)"));
    ASSERT_TRUE(dialog && dialog->loaded);
    int fromYesterday = 0;
    for (long r = 0; r < dialog->list->GetItemCount(); ++r) {
        Select(dialog->list, r);
        wxTimerEvent tick(dialog->timer);
        dialog->Timer(tick);
        long long begin = 0;
        if (ParseSeconds(dialog->rowData(r)->getEventStartNow(), begin) && begin < (long long)EPGNow() - 600)
            ++fromYesterday;
        EXPECT_GE(dialog->gauge->GetValue(), 0);
        EXPECT_LE(dialog->gauge->GetValue(), dialog->gauge->GetRange());
        EXPECT_TRUE(dialog->durationText->GetLabel().StartsWith(wxT("+ "))) << r;
        EXPECT_FALSE(dialog->durationText->GetLabel().StartsWith(wxT("+ -"))) << r;
    }
    EXPECT_GT(fromYesterday, 0);
    EXPECT_EQ(dialog->dateText->GetLabel(), wxT("08.12.2026"));
}

class LargeBouquetGuide : public BouquetGuide {
protected:
    std::vector<std::string> simArgs() const override { return {"--no-ftp", "--no-stream", "--large-bouquet"}; }
};

TEST_F(LargeBouquetGuide, ThreeHundredServicesAndNoMarkerRows)
{
    MessageBoxRecorder boxes;
    auto dialog = Open(wxT("Großes Bouquet"));
    ASSERT_TRUE(dialog && dialog->loaded);
    EXPECT_EQ(dialog->list->GetItemCount(), 300);
    for (const wxString& name : Column(dialog->list, 3))
        EXPECT_FALSE(name.StartsWith(wxT("---")));
}
