// The channel guide against the simulated receiver: the week's list, its
// order after clicks on the headings, details with repeats, timers and
// reminders made from an event.
#include "epg/epg_fixture.h"

#include <algorithm>
#include <wx/settings.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include "epg/epgdialog.h"
#include "epg/epgitemdata.h"

using namespace epgtest;

class ChannelGuide : public EPGTest {};

TEST_F(ChannelGuide, ListsTheWeekOfAServiceWithDetailsAndRepeats)
{
    MessageBoxRecorder boxes;
    MyEPGDialog dialog(W(KULTUR));
    ASSERT_TRUE(dialog.loaded);
    EXPECT_TRUE(boxes.boxes().empty());
    wxListCtrl* list = dialog.list;
    EXPECT_GT(list->GetItemCount(), 7 * 24 * 60 / 120);
    EXPECT_EQ(BoxLabel(&dialog, "ID_BOXSIZER1"), wxT(" Senderübersicht [ Kulturkanal ] "));
    // the first row is the event running at the receiver's clock
    const MyEPGListCtrlItemData* first = dialog.rowData(0);
    ASSERT_NE(first, nullptr);
    EXPECT_LE(first->sortKey().start, simNow());
    EXPECT_GT(first->sortKey().start + first->sortKey().duration, simNow());
    EXPECT_EQ(list->GetItemText(0, 1), wxT("07.12.2026"));
    EXPECT_EQ(list->GetItemText(0, 4), first->getEventTitle());
    // the last day of the week is there
    EXPECT_EQ(list->GetItemText(list->GetItemCount() - 1, 1), wxT("14.12.2026"));

    // the first titled event: details, and the repeats the receiver knows of
    long titled = 0;
    while (dialog.rowData(titled)->getEventTitle().empty())
        ++titled;
    Select(list, titled);
    const MyEPGListCtrlItemData* row = dialog.rowData(titled);
    EXPECT_EQ(BoxLabel(&dialog, "ID_BOXSIZER2"),
              wxT(" Sendungsdetail [ ") + row->getEventDescription() + wxT(" ] "));
    const wxString text = dialog.text->GetValue();
    EXPECT_TRUE(text.StartsWith(row->getEventDescriptionExtended())) << text;
    EXPECT_FALSE(text.Contains(wxString(wxUniChar(0x8A))));
    EXPECT_TRUE(text.Contains(wxT("\n\nÄhnliche Sendungen:\n"))) << text;
    EXPECT_TRUE(text.Contains(wxT(" - Kulturkanal"))) << text;

    // requests carry the reference percent-encoded
    ASSERT_FALSE(Sent("epgservice?").empty());
    EXPECT_EQ(Sent("epgservice?")[0], "/web/epgservice?sRef=1%3A0%3A1%3A2811%3A401%3A1%3AC00000%3A0%3A0%3A0%3A");
    EXPECT_FALSE(Sent("epgsimilar?sRef=1%3A0%3A1%3A2811").empty());
}

TEST_F(ChannelGuide, RelayWithItsNameInTheReferenceHasAGuideAnUnknownServiceNone)
{
    MessageBoxRecorder boxes;
    MyEPGDialog relay(W(RELAY));
    EXPECT_TRUE(relay.loaded);
    EXPECT_EQ(BoxLabel(&relay, "ID_BOXSIZER1"), wxT(" Senderübersicht [ Kanal Nord Relay ] "));
    ASSERT_FALSE(Sent("epgservice?").empty());
    EXPECT_NE(Sent("epgservice?")[0].find("%3A%3AKanal%20Nord%20Relay"), std::string::npos);
    EXPECT_TRUE(boxes.boxes().empty());

    MyEPGDialog unknown(wxT("1:0:1:FFFF:1:1:C00000:0:0:0:"));
    EXPECT_FALSE(unknown.loaded);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Es ist keine Programmvorschau für diesen Sender verfügbar."));
    EXPECT_TRUE(boxes.boxes()[0].style & wxICON_WARNING);
}

TEST_F(ChannelGuide, HeadingClicksSortAndEqualDurationsKeepTheirOrder)
{
    MessageBoxRecorder boxes;
    MyEPGDialog dialog(W(KULTUR));
    ASSERT_TRUE(dialog.loaded);
    wxListCtrl* list = dialog.list;
    const long n = list->GetItemCount();
    std::vector<int> receiver;
    for (long r = 0; r < n; ++r)
        receiver.push_back(dialog.rowData(r)->sortKey().order);

    // every event of a service lasts as long: the first click on "Dauer"
    // sorts hundreds of equal keys and leaves them in the receiver's order
    ClickColumn(list, 3);
    std::vector<int> after;
    for (long r = 0; r < n; ++r)
        after.push_back(dialog.rowData(r)->sortKey().order);
    EXPECT_EQ(after, receiver);

    // "Datum": latest first, then earliest first
    ClickColumn(list, 1);
    EXPECT_EQ(dialog.rowData(0)->sortKey().order, n - 1);
    ClickColumn(list, 1);
    EXPECT_EQ(dialog.rowData(0)->sortKey().order, 0);

    // "Beginn": earliest time of day first; the stripes follow the new order
    ClickColumn(list, 2);
    const std::vector<wxString> times = Column(list, 2);
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
    EXPECT_EQ(list->GetItemBackgroundColour(1), wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ChannelGuide, RecordAndZapTimersAppearInTheReceiversList)
{
    MessageBoxRecorder boxes;
    MyEPGDialog dialog(W(KULTUR));
    ASSERT_TRUE(dialog.loaded);
    const size_t before = ReceiverTimers().size();

    Select(dialog.list, 3);
    const MyEPGListCtrlItemData* rec = dialog.rowData(3);
    Menu(&dialog, "ID_MENUITEM_RECORD");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Die gewählte Sendung\n\n\"") + rec->getEventTitle() +
                                         wxT("\"\n\nwurde als Aufnahme-Timer hinzugefügt."));
    Select(dialog.list, 4);
    const MyEPGListCtrlItemData* zap = dialog.rowData(4);
    Menu(&dialog, "ID_MENUITEM_ZAP");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(boxes.boxes()[1].text.EndsWith(wxT("wurde als Umschalt-Timer hinzugefügt.")));

    const std::vector<TimerEntry> timers = ReceiverTimers();
    EXPECT_EQ(timers.size(), before + 2);
    int found = 0;
    for (const TimerEntry& t : timers) {
        if (t.sRef != W(KULTUR))
            continue;
        if (wxString::Format(wxT("%ld"), t.eit) == rec->getEventId()) {
            ++found;
            EXPECT_EQ(t.justplay, 0);
            EXPECT_EQ(t.location, wxT("/hdd/movie/"));
            EXPECT_EQ(t.tags, wxT("Zappora"));
            EXPECT_EQ(wxString::Format(wxT("%lld"), t.begin), rec->getEventStart());
        } else if (wxString::Format(wxT("%ld"), t.eit) == zap->getEventId()) {
            ++found;
            EXPECT_EQ(t.justplay, 1);
        }
    }
    EXPECT_EQ(found, 2);

    // the same event again: the receiver refuses and says why
    Select(dialog.list, 3);
    Menu(&dialog, "ID_MENUITEM_RECORD");
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_TRUE(boxes.boxes()[2].text.StartsWith(wxT("Die gewählte Sendung\n\n\"") + rec->getEventTitle() +
                                                 wxT("\"\n\nkonnte nicht hinzugefügt werden!\n\nConflicting Timer(s) detected!")))
        << boxes.boxes()[2].text;
    EXPECT_TRUE(boxes.boxes()[2].style & wxICON_ERROR);
    EXPECT_EQ(ReceiverTimers().size(), before + 2);
}

TEST_F(ChannelGuide, RemindersForRunningAndComingEvents)
{
    MessageBoxRecorder boxes;
    MyEPGDialog dialog(W(KULTUR));
    ASSERT_TRUE(dialog.loaded);
    Select(dialog.list, 0);
    Menu(&dialog, "ID_MENUITEM_REMINDER");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Diese Sendung läuft bereits."));
    EXPECT_FALSE(frame->zapTimer.IsRunning());

    Select(dialog.list, 2);
    const MyEPGListCtrlItemData* row = dialog.rowData(2);
    Menu(&dialog, "ID_MENUITEM_REMINDER");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    const long long d = row->sortKey().start - (long long)EPGNow();
    EXPECT_EQ(boxes.boxes()[1].text, ReminderMessage(d, row->getEventTitle(), 61));
    EXPECT_TRUE(boxes.boxes()[1].text.Contains(wxT(" Minuten ")));
    EXPECT_TRUE(frame->zapTimer.IsRunning());
    auto* pending = dynamic_cast<MyServicePayload*>(frame->pendingZap);
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->getSRef(), W(KULTUR));
    EXPECT_EQ(pending->getMode(), 1);
}
