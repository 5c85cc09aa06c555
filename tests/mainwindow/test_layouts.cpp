// The windows as the user sees them: shown on the (virtual) screen, every
// control must lie inside its window, none may cover another, and the window
// must fit a 1280 x 1024 screen. Each window is also photographed into
// $ZP_SCREENSHOT_DIR (default: "screenshots" in the build directory).
#include <wx/bmpcbox.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/listctrl.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>

#include "app/logframe.h"
#include "support/layout.h"
#include "frame_fixture.h"
#include "mainwindow/aboutdialog.h"
#include "mainwindow/donationdialog.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"

namespace {

// A realistic channel tree and programme information for the picture.
void FillDemo(MyMainFrame* frame)
{
    MyTreeCtrl* tree = frame->tree;
    wxTreeItemId fav = tree->AppendItem(frame->grpTVOwn, wxT("Favoriten (TV)"), 0);
    tree->SetItemImage(fav, 3, wxTreeItemIcon_Expanded);
    const wxChar* channels[] = { wxT("Das Erste HD"), wxT("ZDF HD"), wxT("3sat HD"), wxT("arte HD"),
                                 wxT("phoenix HD"), wxT("tagesschau24 HD") };
    wxTreeItemId playing;
    for (const wxChar* name : channels) {
        wxTreeItemId id = tree->AppendItem(fav, name, 6);
        if (!playing.IsOk())
            playing = id;
    }
    tree->AppendItem(fav, wxT("--- Regional ---"), 9);
    tree->AppendItem(fav, wxT("BR Fernsehen Süd HD"), 6);
    tree->AppendItem(fav, wxT("WDR HD Köln"), 6);
    tree->AppendItem(frame->grpTVOwn, wxT("Sport"), 0);
    tree->AppendItem(frame->grpTVOwn, wxT("Nachrichten"), 0);
    tree->Expand(frame->grpTV);
    tree->Expand(frame->grpTVOwn);
    tree->Expand(fav);
    tree->SelectItem(playing);
    frame->boxMode->GetStaticBox()->SetLabel(wxT(" Wiedergabemodus [ TV ] "));
    frame->boxInfo->GetStaticBox()->SetLabel(wxT(" Programminfo [ Das Erste HD ] "));
    const wxChar* texts[] = { wxT("20:15"), wxT("Tatort: Die letzte Fahrt"), wxT("+42 min"),
                              wxT("21:45"), wxT("Tagesthemen"), wxT("30 min") };
    for (int i = 0; i < 6; i++)
        frame->infoText[i]->SetLabel(texts[i]);
    frame->progressGauge->SetValue(53);
    const wxBitmap audio = wxXmlResource::Get()->LoadBitmap(wxT("IMG_CHOICE_AUDIO"));
    const wxBitmap video = wxXmlResource::Get()->LoadBitmap(wxT("IMG_CHOICE_VIDEO"));
    frame->audioChoice->Append(wxT("Audiospur 1 (0x0100, MPEG)"), audio);
    frame->audioChoice->Append(wxT("Audiospur 2 (0x0102, AC-3)"), audio);
    frame->videoChoice->Append(wxT("Videospur 1 (0x0200, H264)"), video);
    frame->audioChoice->SetSelection(0);
    frame->videoChoice->SetSelection(0);
    frame->audioChoice->Enable();
    frame->videoChoice->Enable();
    frame->boxAV->GetStaticBox()->SetLabel(wxT(" AV-Optionen [ 2 Audio | 1 Video ] "));
    frame->SetStatusText(wxT("Streaming gestartet"));
    // As while a stream plays.
    frame->volumeGauge->Enable();
    for (const char* name : { "ID_TOOL_RECORD", "ID_TOOL_FULLSCREEN", "ID_TOOL_STANDALONE",
                              "ID_TOOL_STREAMINFO", "ID_TOOL_SCREENSHOT", "ID_TOOL_TELETEXT" })
        frame->GetToolBar()->EnableTool(XRCID(name), true);
}

} // namespace

TEST_F(FrameTest, MainWindowLayoutIsTidy)
{
    auto* frame = new MyMainFrame();
    ASSERT_TRUE(frame->loaded);
    frame->Move(0, 0);
    FillDemo(frame);
    ShowAndSettle(frame);
    ExpectTidy(frame);
    // The picture keeps the larger share of the width.
    EXPECT_GT(frame->videoPanel->GetSize().x, frame->tree->GetSize().x);
    Photograph(frame, wxT("main-window.png"));
    frame->Hide();
    frame->Destroy();
    Settle();
}

TEST_F(FrameTest, LogWindowLayoutIsTidy)
{
    auto* frame = new MyLogFrame();
    wxLogMessage(wxT("Zappora E2 0.4.0-B14b [ wxWidgets 3.2 | GStreamer 1.22 ]"));
    wxLogMessage(wxT("Debian GNU/Linux 12 (bookworm)"));
    wxLogWarning(wxT("VideoSink: ximagesink"));
    wxLogMessage(wxT("DM7080 [ WebIF 1.6.8 ]"));
    wxLogMessage(wxT("starte TV-Stream [http://127.0.0.2:8001/1:0:19:283D:3FB:1:C00000:0:0:0:]"));
    wxLogError(wxT("GSTR ERR: source => Could not connect"));
    wxLogMessage(wxT("Streaming gestartet"));
    frame->Move(0, 0);
    ShowAndSettle(frame);
    ExpectTidy(frame);
    Photograph(frame, wxT("log-window.png"));
    frame->Hide();
    frame->Destroy();
    Settle();
}

TEST_F(FrameTest, AboutDialogLayoutIsTidy)
{
    config.translator = wxT("intern ");
    auto* dialog = new MyAboutDialog(nullptr);
    ASSERT_TRUE(dialog->loaded);
    dialog->Move(0, 0);
    ShowAndSettle(dialog);
    dialog->SetHovered(MyAboutDialog::LINK_FORUM, true);
    ShowAndSettle(dialog);
    ExpectTidy(dialog);
    Photograph(dialog, wxT("about.png"));
    dialog->Hide();
    dialog->Destroy();
    Settle();
}

TEST_F(FrameTest, DonationDialogLayoutIsTidy)
{
    auto* dialog = new MyDonationDialog(nullptr);
    ASSERT_TRUE(dialog->loaded);
    dialog->Move(0, 0);
    ShowAndSettle(dialog);
    ExpectTidy(dialog);
    Photograph(dialog, wxT("donation.png"));
    dialog->Hide();
    dialog->Destroy();
    Settle();
}

TEST_F(FrameTest, SplashLayoutIsTidy)
{
    auto* frame = new wxFrame;
    ASSERT_TRUE(wxXmlResource::Get()->LoadFrame(frame, nullptr, wxT("ID_SPLASHFRAME")));
    frame->GetSizer()->SetSizeHints(frame);
    frame->Move(0, 0);
    ShowAndSettle(frame);
    ExpectTidy(frame);
    auto* bitmap = frame->FindWindow(XRCID("ID_STATICBITMAP_SPLASHBITMAP"));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetSize(), wxSize(384, 288));
    auto* gauge = dynamic_cast<wxGauge*>(frame->FindWindow(XRCID("ID_GAUGE_SPLASHGAUGE")));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->GetRange(), 6);
    EXPECT_EQ(gauge->GetValue(), 1);
    auto* text = dynamic_cast<wxStaticText*>(frame->FindWindow(XRCID("ID_STATICTEXT_SPLASHTEXT")));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetLabel(), wxT("Bedienoberfläche vorbereiten..."));
    Photograph(frame, wxT("splash.png"));
    frame->Hide();
    frame->Destroy();
    Settle();
}
