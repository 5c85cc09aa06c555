// The about and donation dialogs, driven through their handlers.
#include <gst/gst.h>
#include <wx/bmpbuttn.h>
#include <wx/hyperlink.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include "app/version.h"
#include "frame_fixture.h"
#include "mainwindow/aboutdialog.h"
#include "mainwindow/browser.h"
#include "mainwindow/donationdialog.h"
#include "mainwindow/mainframe.h"
#include "support/msgbox.h"

namespace {

// Records the addresses that would have opened in the browser.
struct BrowserRecorder {
    std::vector<wxString> urls;
    bool answer = true;
    BrowserRecorder()
    {
        SetBrowserHandler([this](const wxString& url) {
            urls.push_back(url);
            return answer;
        });
    }
    ~BrowserRecorder() { SetBrowserHandler(nullptr); }
};

void Click(wxWindow* window)
{
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(up);
    wxTheApp->ProcessPendingEvents();
}

} // namespace

TEST_F(FrameTest, AboutShowsVersionsAndTranslator)
{
    config.translator = wxT("Erika Muster ");
    auto* dialog = new MyAboutDialog(nullptr);
    ASSERT_TRUE(dialog->loaded);
    EXPECT_EQ(dialog->GetTitle(), wxT("Über Zappora E2"));
    ASSERT_NE(dialog->versionText, nullptr);
    const wxString line = dialog->versionText->GetLabel();
    EXPECT_TRUE(line.StartsWith(wxT("Version " ZP_PROGRAM_VERSION " | "))) << line;
    EXPECT_NE(line.Find(wxVERSION_STRING), wxNOT_FOUND) << line;
    EXPECT_NE(line.Find(wxT("GStreamer 1.")), wxNOT_FOUND) << line;
    EXPECT_TRUE(line.EndsWith(wxT("( Erika Muster )"))) << line;
    dialog->Destroy();
}

TEST_F(FrameTest, AboutImageFollowsThePointer)
{
    auto* dialog = new MyAboutDialog(nullptr);
    ASSERT_TRUE(dialog->loaded);
    dialog->Move(100, 100);
    dialog->Show();
    for (int i = 0; i < 20; i++)
        wxYield(), wxMilliSleep(10);
    wxStaticBitmap* image = dialog->image[MyAboutDialog::LINK_FORUM];
    const wxRect r = image->GetScreenRect();
    wxUIActionSimulator sim;
    // Pointer events arrive through the X server; wait (bounded) for them.
    auto moveUntil = [&](int x, int y, int width) {
        sim.MouseMove(x, y);
        for (int i = 0; i < 300 && image->GetBitmap().GetWidth() != width; i++)
            wxYield(), wxMilliSleep(10);
        return image->GetBitmap().GetWidth();
    };
    moveUntil(5, 5, 48);
    EXPECT_EQ(moveUntil(r.x + r.width / 2, r.y + r.height / 2, 64), 64);
    EXPECT_EQ(dialog->image[MyAboutDialog::LINK_EMAIL]->GetBitmap().GetWidth(), 48);
    EXPECT_EQ(moveUntil(5, 5, 48), 48);
    dialog->Hide();
    dialog->Destroy();
    Settle();
}

TEST_F(FrameTest, AboutPanelsOpenTheirPages)
{
    BrowserRecorder browser;
    MessageBoxRecorder rec(wxOK);
    auto* dialog = new MyAboutDialog(nullptr);
    ASSERT_TRUE(dialog->loaded);
    // A click on the picture counts for its panel.
    Click(dialog->image[MyAboutDialog::LINK_FORUM]);
    Click(dialog->panel[MyAboutDialog::LINK_UPDATE]);
    Click(dialog->image[MyAboutDialog::LINK_EMAIL]);
    Click(dialog->image[MyAboutDialog::LINK_LANGUAGE]);
    ASSERT_EQ(browser.urls.size(), 4u);
    EXPECT_EQ(browser.urls[0], wxT("https://zappora.example.org/forum"));
    EXPECT_EQ(browser.urls[1], wxT("https://zappora.example.org/update"));
    EXPECT_EQ(browser.urls[2], wxT("mailto:author@zappora.example.org"));
    EXPECT_EQ(browser.urls[3], wxT("https://zappora.example.org/languages"));
    EXPECT_TRUE(rec.boxes().empty());

    // The toolkit's and media framework's pages go through the same launcher.
    auto* link = XRCCTRL(*dialog, "ID_HYPERLINK_ABOUT_GSTREAMER", wxHyperlinkCtrl);
    ASSERT_NE(link, nullptr);
    wxHyperlinkEvent ev(link, link->GetId(), link->GetURL());
    link->GetEventHandler()->ProcessEvent(ev);
    ASSERT_EQ(browser.urls.size(), 5u);
    EXPECT_EQ(browser.urls[4], wxT("https://gstreamer.freedesktop.org/"));

    // A desktop without a browser is told about.
    browser.answer = false;
    dialog->Activate(MyAboutDialog::LINK_FORUM);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_TRUE(rec.boxes()[0].style & wxICON_WARNING);
    EXPECT_NE(rec.boxes()[0].text.Find(wxT("https://zappora.example.org/forum")), wxNOT_FOUND);
    dialog->Destroy();
}

TEST_F(FrameTest, DonationPanelWarnsThenShowsTheDonationDialog)
{
    BrowserRecorder browser;
    MessageBoxRecorder rec(wxOK);
    auto* dialog = new MyAboutDialog(nullptr);
    ASSERT_TRUE(dialog->loaded);
    wxString title;
    WhenModal<MyDonationDialog>([&](MyDonationDialog* d) {
        title = d->GetTitle();
        wxCommandEvent click(wxEVT_BUTTON, XRCID("ID_BUTTON_DONATION_PAYPAL"));
        d->GetEventHandler()->ProcessEvent(click);
        wxCommandEvent transfer(wxEVT_BUTTON, XRCID("ID_BUTTON_DONATION_EBANKING"));
        d->GetEventHandler()->ProcessEvent(transfer);
    });
    Click(dialog->image[MyAboutDialog::LINK_DONATE]);
    ASSERT_EQ(rec.boxes().size(), 1u);
    EXPECT_TRUE(rec.boxes()[0].text.StartsWith(wxT("Wichtiger Hinweis!")));
    EXPECT_EQ(rec.boxes()[0].caption, wxT("Zappora E2"));
    EXPECT_EQ(title, wxT("Spende"));
    ASSERT_EQ(browser.urls.size(), 2u);
    EXPECT_EQ(browser.urls[0], wxString(MyDonationDialog::kPayPalAddress));
    EXPECT_EQ(browser.urls[1], wxString(MyDonationDialog::kTransferAddress));
    for (const wxString& url : browser.urls)
        EXPECT_TRUE(url.StartsWith(wxT("https://zappora.example.org/")));
    dialog->Destroy();
}

TEST_F(FrameTest, InfoMenuOpensTheAboutDialogModallyAndEscapeClosesIt)
{
    MyMainFrame* frame = new MyMainFrame();
    ASSERT_TRUE(frame->loaded);
    wxString title;
    WhenModal<MyAboutDialog>([&](MyAboutDialog* d) {
        title = d->GetTitle();
        wxCommandEvent key(wxEVT_KEY, WXK_ESCAPE);
        d->GetEventHandler()->ProcessEvent(key);
        EXPECT_FALSE(d->IsModal());
    });
    wxCommandEvent info(wxEVT_MENU, XRCID("ID_MENUITEM3"));
    frame->GetEventHandler()->ProcessEvent(info);
    EXPECT_EQ(title, wxT("Über Zappora E2"));
    Settle();
    for (wxWindow* w : wxTopLevelWindows)
        EXPECT_EQ(dynamic_cast<MyAboutDialog*>(w), nullptr);
    frame->Destroy();
}
