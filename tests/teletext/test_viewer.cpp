// The teletext viewer opened from the main window's tool bar while the
// simulated receiver's service plays: keys, buttons, clicks on page
// numbers, sub-pages, the saved page, and collection across a switch.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <wx/file.h>
#include <wx/menu.h>

#include "app/app.h"
#include "mainwindow/frame_fixture.h"
#include "mainwindow/switch_fixture.h"
#include "support/layout.h"
#include "teletext/pagestore.h"
#include "teletext/teletextdialog.h"

namespace {

class Viewer : public sw::SwitchTest {
protected:
    void PressKey(MyTeletextDialog* d, int code)
    {
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = code;
        key.SetEventObject(d->window);
        FilterKeyEvent(key);
        wxTheApp->ProcessPendingEvents();
    }
    void Press(MyTeletextDialog* d, const char* id)
    {
        wxCommandEvent click(wxEVT_BUTTON, XRCID(id));
        d->ProcessWindowEvent(click);
    }
    void ClickAt(MyTeletextDialog* d, int x, int y)
    {
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.m_x = x;
        up.m_y = y;
        up.SetEventObject(d->window);
        d->window->GetEventHandler()->ProcessEvent(up);
    }
    static std::string Row(int row) { return std::string(reinterpret_cast<char*>(string) + row * 40, 40); }
    // Waits for the once-a-second redraw to show page `page`.
    static bool Shows(int page, int timeoutMs = 20000)
    {
        const std::string number = wxString::Format(" %.3X-", page).ToStdString();
        return RunUntil([&] { return Row(0).compare(0, 5, number) == 0 && Row(0).find("ZAPPORA") != std::string::npos; },
                        timeoutMs);
    }
    // Where the text `what` stands in the page as drawn; false if nowhere.
    static bool Find(const std::string& what, int& col, int& row)
    {
        for (row = 0; row < TTX_ROWS; ++row) {
            const size_t at = Row(row).find(what);
            if (at != std::string::npos) {
                col = int(at);
                return true;
            }
        }
        return false;
    }
    static int SubPagesOf(int page)
    {
        int n = 0;
        unsigned char p[TTX_PAGE_BYTES];
        for (int s = 1; s <= TTX_LAST_SUBPAGE; ++s)
            n += CopyPage(page, s, p);
        return n;
    }
    void OpenViewer(std::function<void(MyTeletextDialog*)> body)
    {
        bool ran = false;
        WhenModal<MyTeletextDialog>([&](MyTeletextDialog* d) {
            ran = true;
            body(d);
            d->Close();
        });
        wxCommandEvent tool(wxEVT_MENU, XRCID("ID_TOOL_TELETEXT"));
        frame->ProcessWindowEvent(tool);
        EXPECT_TRUE(ran) << "the viewer did not open";
    }
};

} // namespace

TEST_F(Viewer, OpensOnTheInitialPageAndFollowsKeysClicksAndSubPages)
{
    // Without a stream the tool does nothing.
    bool opened = false;
    WhenModal<MyTeletextDialog>([&](MyTeletextDialog*) { opened = true; }, 20);
    wxCommandEvent early(wxEVT_MENU, XRCID("ID_TOOL_TELETEXT"));
    frame->ProcessWindowEvent(early);
    RunFor(300);
    EXPECT_FALSE(opened);

    Activate(a);
    ASSERT_TRUE(WaitStarted());
    EXPECT_TRUE(ToolEnabled("ID_TOOL_TELETEXT"));
    ASSERT_EQ(StreamInfoCopy().ttxpage, 0x100);

    const wxString recdir = CFG_PATH + wxT("aufnahmen");
    wxFileName::Mkdir(recdir, 0700);
    config.recdir = recdir;

    OpenViewer([&](MyTeletextDialog* d) {
        ASSERT_TRUE(d->loaded);
        EXPECT_EQ(d->GetTitle(), wxT("Teletext"));
        EXPECT_EQ(d->GetParent(), frame);
        EXPECT_TRUE(PageStoreOpen());
        EXPECT_EQ(show_page, 0x100);
        EXPECT_EQ(ns, 4);
        EXPECT_TRUE(d->menu->IsChecked(XRCID("ID_MENUITEM_04")));
        EXPECT_FALSE(d->menu->IsEnabled(XRCID("ID_MENUITEM_00")));
        // The whole page fits the drawing window; no control covers another.
        EXPECT_GE(d->window->GetClientSize().x, 400);
        EXPECT_GE(d->window->GetClientSize().y, 288);
        std::vector<wxRect> rects;
        for (wxWindow* w : d->GetChildren())
            if (w->IsShown())
                rects.push_back(w->GetRect());
        ASSERT_GE(rects.size(), 24u);
        for (size_t i = 0; i < rects.size(); ++i) {
            EXPECT_TRUE(wxRect(d->GetClientSize()).Contains(rects[i]));
            for (size_t j = i + 1; j < rects.size(); ++j)
                EXPECT_FALSE(rects[i].Intersects(rects[j])) << i << " " << j;
        }
        ASSERT_TRUE(Shows(0x100));
        EXPECT_NE(Row(1).find("ZAPPORA TEXT"), std::string::npos);
        Photograph(d, wxT("teletext.png"));

        // "1", "2": the header shows the digits typed and holds still.
        PressKey(d, '1');
        PressKey(d, '2');
        EXPECT_TRUE(d->pageEntry);
        RunFor(1500);
        EXPECT_EQ(show_page, 0x100);
        // "3" completes the number.
        PressKey(d, '3');
        EXPECT_FALSE(d->pageEntry);
        EXPECT_EQ(show_page, 0x123);
        ASSERT_TRUE(Shows(0x123));
        EXPECT_NE(Row(3).find("Seitennummer eintippen"), std::string::npos);
        // "0" goes back; "9" as first digit does nothing.
        PressKey(d, '0');
        EXPECT_EQ(show_page, 0x100);
        PressKey(d, '9');
        EXPECT_FALSE(d->pageEntry);
        EXPECT_EQ(show_page, 0x100);

        // A click on a page number in the text goes there.
        int col = 0, row = 0;
        ASSERT_TRUE(Find("Seite 101", col, row));
        col += 7;
        ClickAt(d, col * 10 + 5, row * 12 + 6);
        EXPECT_EQ(show_page, 0x101);
        // Points beyond the page (the window's border) are no cells.
        ClickAt(d, 402, 291);
        EXPECT_EQ(show_page, 0x101);

        // The rotating page: step to the other sub-page present.
        Press(d, "ID_BUTTON_100");
        EXPECT_EQ(show_page, 0x100);
        for (int k : {'1', '5', '0'})
            PressKey(d, k);
        EXPECT_EQ(show_page, 0x150);
        ASSERT_TRUE(RunUntil([] { return SubPagesOf(0x150) >= 2; }, 30000));
        ASSERT_TRUE(Shows(0x150));
        for (int step = 0; step < 2; ++step) {
            const int current = CurrentSubPage(0x150);
            PressKey(d, WXK_RIGHT);
            const int shown = std::stoi(Row(0).substr(5, 2), nullptr, 16);
            EXPECT_NE(shown, current);
            EXPECT_EQ(CurrentSubPage(0x150), shown);
            // The text is that sub-page's (its rows may still be arriving).
            const std::string text = "Unterseite " + std::to_string(shown) + " von 4";
            if (Row(3).find("Unterseite") != std::string::npos) {
                EXPECT_NE(Row(3).find(text), std::string::npos) << Row(3);
            }
            unsigned char p[TTX_PAGE_BYTES];
            EXPECT_TRUE(RunUntil([&] {
                return CopyPage(0x150, shown, p) &&
                       std::string(reinterpret_cast<char*>(p) + 120, 40).find(text) != std::string::npos;
            }, 3000));
        }
        PressKey(d, WXK_LEFT);
        EXPECT_EQ(CurrentSubPage(0x150), std::stoi(Row(0).substr(5, 2), nullptr, 16));

        // The page saved as picture and as characters.
        ASSERT_TRUE(Shows(0x150));
        const int sub = CurrentSubPage(0x150);
        const wxString name = recdir + wxString::Format(wxT("/150-%.2X"), sub);
        Press(d, "ID_BUTTON_SCREENSHOT");
        wxImage png(name + wxT(".png"), wxBITMAP_TYPE_PNG);
        ASSERT_TRUE(png.IsOk());
        EXPECT_EQ(png.GetWidth(), 800);
        EXPECT_EQ(png.GetHeight(), 576);
        for (int y = 0; y < 288; y += 23)
            for (int x = 0; x < 400; x += 17)
                ASSERT_EQ(png.GetRed(2 * x + 1, 2 * y + 1), d->picture.GetRed(x, y));
        wxFile raw(name + wxT(".raw"));
        ASSERT_TRUE(raw.IsOpened());
        ASSERT_EQ(raw.Length(), 960);
        char bytes[960];
        raw.Read(bytes, sizeof bytes);
        EXPECT_EQ(memcmp(bytes, string, 960), 0);
    });
    EXPECT_FALSE(PageStoreOpen());
    gboolean emits = TRUE;
    ASSERT_NE(teletextsink, nullptr);
    g_object_get(teletextsink, "emit-signals", &emits, NULL);
    EXPECT_FALSE(emits);
}

TEST_F(Viewer, MenuSwitchesSubsetAndReveal)
{
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    OpenViewer([&](MyTeletextDialog* d) {
        Press(d, "ID_BUTTON_500");
        ASSERT_TRUE(Shows(0x500));
        int col = 0, row = 0;
        ASSERT_TRUE(Find("M}nchen", col, row));
        // Concealed: painted in the background colour until revealed.
        const int x = col * 10, y = row * 12;
        auto inked = [&] {
            int n = 0;
            for (int yy = y; yy < y + 12; ++yy)
                for (int xx = x; xx < x + 70; ++xx)
                    n += d->picture.GetRed(xx, yy) || d->picture.GetGreen(xx, yy) || d->picture.GetBlue(xx, yy);
            return n;
        };
        EXPECT_EQ(inked(), 0);
        d->menu->Check(XRCID("ID_MENUITEM_HINT"), true);
        wxCommandEvent hint(wxEVT_MENU, XRCID("ID_MENUITEM_HINT"));
        d->ProcessWindowEvent(hint);
        EXPECT_TRUE(d->reveal);
        EXPECT_GT(inked(), 20);

        // Leaving automatic mode frees the subset choice; choosing one draws with it.
        d->menu->Check(XRCID("ID_MENUITEM_AU"), false);
        wxCommandEvent au(wxEVT_MENU, XRCID("ID_MENUITEM_AU"));
        d->ProcessWindowEvent(au);
        EXPECT_TRUE(d->menu->IsEnabled(XRCID("ID_MENUITEM_01")));
        EXPECT_EQ(ns, 4);
        d->menu->Check(XRCID("ID_MENUITEM_01"), true);
        wxCommandEvent eng(wxEVT_MENU, XRCID("ID_MENUITEM_01"));
        d->ProcessWindowEvent(eng);
        EXPECT_EQ(ns, 1);
        const TtxCell& u = d->layout.cell[row * 40 + col + 1];   // '}' of "M}nchen"
        EXPECT_EQ(GlyphUnicode(u.mode, u.glyph), U'¾');
        d->menu->Check(XRCID("ID_MENUITEM_AU"), true);
        d->ProcessWindowEvent(au);
        EXPECT_EQ(ns, 4);
        EXPECT_FALSE(d->menu->IsEnabled(XRCID("ID_MENUITEM_01")));
    });
}

TEST_F(Viewer, KeepsCollectingAcrossAChannelSwitch)
{
    Activate(a);
    ASSERT_TRUE(WaitStarted());
    OpenViewer([&](MyTeletextDialog*) {
        ASSERT_TRUE(Shows(0x100));
        const unsigned generation = streamGeneration;
        Activate(b);
        ASSERT_TRUE(RunUntil([&] {
            return streamGeneration != generation && teletextsink &&
                   StatusText() == wxT("Streaming gestartet");
        }));
        gboolean emits = FALSE;
        g_object_get(teletextsink, "emit-signals", &emits, NULL);
        EXPECT_TRUE(emits);
        // The broadcast clock in the store keeps moving: pages still arrive.
        char first[8], later[8];
        CopyClock(first);
        EXPECT_TRUE(RunUntil([&] {
            CopyClock(later);
            return memcmp(first, later, 8) != 0;
        }, 20000));
    });
}
