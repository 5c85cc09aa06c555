// Pictures of the guide and timer dialogs with the simulated receiver's
// data, saved in $ZP_SCREENSHOT_DIR (default: "screenshots" in the build
// directory); docs/screenshots holds the copies shown in the documentation.
#include "epg/epg_fixture.h"

#include <wx/textctrl.h>

#include "app/guards.h"
#include "epg/epgdialog.h"
#include "epg/epgsearchdialog.h"
#include "epg/epgsearchresultdialog.h"
#include "epg/multiepgdialog.h"
#include "epg/timerdialog.h"
#include "support/layout.h"

using namespace epgtest;

class Screenshots : public EPGTest {};

// One dialog per case: every case has an X server and a program of its own.
TEST_F(Screenshots, ChannelGuide)
{
    MessageBoxRecorder boxes;
    MyEPGDialog dialog(W(ERSTES));
    ASSERT_TRUE(dialog.loaded);
    Select(dialog.list, 2);
    EXPECT_GT(Photograph(&dialog, wxT("epg-channel.png")), 40);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Screenshots, BouquetGuide)
{
    MessageBoxRecorder boxes;
    const wxTreeItemId item = LoadBouquet(wxT("Favoriten (TV)"));
    ASSERT_TRUE(item.IsOk());
    auto* payload = dynamic_cast<MyServicePayload*>(frame->tree->GetItemData(item));
    ASSERT_NE(payload, nullptr);
    MyMultiEPGDialog dialog(wxT("Favoriten (TV)"), payload->getRawSRef(), item);
    ASSERT_TRUE(dialog.loaded);
    Select(dialog.list, 0);
    EXPECT_GT(Photograph(&dialog, wxT("epg-bouquet.png")), 40);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Screenshots, Search)
{
    MyEPGSearchDialog dialog;
    dialog.term->SetValue(wxT("Tatort"));
    EXPECT_GT(Photograph(&dialog, wxT("epg-search.png")), 20);
}

TEST_F(Screenshots, SearchResults)
{
    MessageBoxRecorder boxes;
    MyEPGSearchResultDialog dialog(false, wxT("Tatort"));
    ASSERT_TRUE(dialog.loaded);
    Select(dialog.list, 1);
    EXPECT_GT(Photograph(&dialog, wxT("epg-search-results.png")), 40);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Screenshots, Timers)
{
    MessageBoxRecorder boxes;
    MyTimerDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    for (long r = 0; r < dialog.list->GetItemCount(); ++r)
        if (dialog.rowData(r)->getEventName() == wxT("Tatort: Spuren im Schnee"))
            Select(dialog.list, r);
    EXPECT_GT(Photograph(&dialog, wxT("timers.png")), 40);
    EXPECT_TRUE(boxes.boxes().empty());
}
