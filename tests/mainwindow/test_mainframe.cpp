// The main window's frame: construction from the layout, closing, keys, and
// the creation of the long-lived windows.
#include <wx/bmpcbox.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/textfile.h>
#include <wx/tglbtn.h>
#include <wx/toolbar.h>

#include "app/logframe.h"
#include "app/windows.h"
#include "frame_fixture.h"
#include "mainwindow/fullframe.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "mainwindow/videoframe.h"
#include "support/msgbox.h"

namespace {

std::vector<wxTreeItemId> Children(wxTreeCtrl* tree, const wxTreeItemId& parent)
{
    std::vector<wxTreeItemId> out;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(parent, cookie); c.IsOk();
         c = tree->GetNextChild(parent, cookie))
        out.push_back(c);
    return out;
}

wxString ConfigFileText()
{
    wxTextFile file(CFG_PATH + wxT("zappora.cfg"));
    if (!file.Open())
        return wxString();
    wxString text;
    for (wxString line = file.GetFirstLine(); !file.Eof(); line = file.GetNextLine())
        text += line + wxT("\n");
    return text;
}

} // namespace

TEST_F(FrameTest, ConstructionBuildsTheTreeGroupsAndLeavesStreamToolsOff)
{
    MyMainFrame* frame = new MyMainFrame();
    ASSERT_TRUE(frame->loaded);
    MyTreeCtrl* tree = frame->tree;
    EXPECT_TRUE(tree->HasFlag(wxTR_HIDE_ROOT));
    EXPECT_EQ(tree->GetImageList()->GetImageCount(), 10);
    // Each top item and group as "label image/expanded image", bold ones marked.
    wxString shape;
    for (const wxTreeItemId& top : Children(tree, tree->GetRootItem())) {
        std::vector<wxTreeItemId> items = Children(tree, top);
        items.insert(items.begin(), top);
        for (const wxTreeItemId& item : items)
            shape += wxString::Format(wxT("%s%s %d/%d; "), tree->IsBold(item) ? wxT("*") : wxT(""),
                                      tree->GetItemText(item), tree->GetItemImage(item),
                                      tree->GetItemImage(item, wxTreeItemIcon_Expanded));
    }
    EXPECT_EQ(shape, wxT("*TV 0/3; *Eigene Listen 0/3; *Anbieter 0/3; *Sender 0/3; "
                         "*RA 1/4; *Eigene Listen 1/4; *Anbieter 1/4; *Sender 1/4; "
                         "*HD 2/5; *Gesamt 2/5; *Genres 2/5; *Pfade 2/5; "));
    EXPECT_EQ(frame->grpRAProv, Children(tree, frame->grpRA)[1]);
    EXPECT_EQ(frame->grpHDPaths, Children(tree, frame->grpHD)[2]);

    // Stream tools wait for a stream.
    wxToolBar* tools = frame->GetToolBar();
    for (const char* name : { "ID_TOOL_REW", "ID_TOOL_FWD", "ID_TOOL_RECORD", "ID_TOOL_FULLSCREEN",
                              "ID_TOOL_STANDALONE", "ID_TOOL_WALLPAPER", "ID_TOOL_TELETEXT",
                              "ID_TOOL_STREAMINFO", "ID_TOOL_SCREENSHOT" })
        EXPECT_FALSE(tools->GetToolEnabled(XRCID(name))) << name;
    EXPECT_TRUE(tools->GetToolEnabled(XRCID("ID_TOOL_PLAY_PAUSE")));
    EXPECT_FALSE(frame->volumeGauge->IsEnabled());
    EXPECT_EQ(frame->volumeGauge->GetValue(), 40);
    EXPECT_EQ(frame->volumeGauge->GetToolTipText(), wxT("Lautstärke 40"));
    EXPECT_FALSE(frame->audioChoice->IsEnabled());
    EXPECT_EQ(frame->boxAV->GetStaticBox()->GetLabel(), wxT(" AV-Optionen [ 0 Audio | 0 Video ] "));
    for (wxTimer* t : { &frame->epgTimer, &frame->zapTimer, &frame->chkTimer, &frame->osdTimer,
                        &frame->mpbTimer, &frame->synTimer })
        EXPECT_FALSE(t->IsRunning());
    frame->Destroy();
}

TEST_F(FrameTest, StoredPositionIsAppliedButNotTheSize)
{
    config.mainwin_x = 123;
    config.mainwin_y = 77;
    config.mainwin_w = 300;
    config.mainwin_h = 200;
    MyMainFrame* frame = new MyMainFrame();
    ASSERT_TRUE(frame->loaded);
    EXPECT_EQ(frame->GetPosition(), wxPoint(123, 77));
    // The layout decides the size: the video panel alone is wider than 300.
    EXPECT_GT(frame->GetSize().x, 300);
    EXPECT_GT(frame->GetSize().y, 200);
    frame->Destroy();

    config.mainwin_x = -1;
    config.mainwin_y = 500;
    frame = new MyMainFrame();
    EXPECT_NE(frame->GetPosition().y, 500);
    frame->Destroy();
}

TEST_F(FrameTest, ProfilesLabelTheStreamSourcesAndSettingsShowInControls)
{
    config.profiles = 2;
    config.profile[0].name = wxT("Wohnzimmer");
    config.profile[1].name = wxT("Keller");
    config.profile_active = 1;
    config.tvcontrol = 1;
    config.sortmode = 2;
    MyMainFrame* frame = new MyMainFrame();
    ASSERT_TRUE(frame->loaded);
    wxMenuBar* bar = frame->GetMenuBar();
    wxMenuItem* first = bar->FindItem(XRCID("ID_MENUITEM_BOX1"));
    wxMenuItem* second = bar->FindItem(XRCID("ID_MENUITEM_BOX2"));
    wxMenuItem* third = bar->FindItem(XRCID("ID_MENUITEM_BOX3"));
    wxMenuItem* tenth = bar->FindItem(XRCID("ID_MENUITEM_BOX0"));
    EXPECT_EQ(first->GetItemLabelText(), wxT("#1: Wohnzimmer"));
    EXPECT_EQ(second->GetItemLabelText(), wxT("#2: Keller"));
    EXPECT_EQ(third->GetItemLabelText(), wxT("#3: unbenutzt"));
    EXPECT_EQ(tenth->GetItemLabelText(), wxT("#10: unbenutzt"));
    EXPECT_TRUE(first->IsEnabled());
    EXPECT_TRUE(second->IsEnabled());
    EXPECT_FALSE(third->IsEnabled());
    EXPECT_TRUE(second->IsChecked());
    EXPECT_FALSE(first->IsChecked());

    EXPECT_TRUE(frame->tvControlButton->GetValue());
    EXPECT_TRUE(frame->menuHD->FindItem(XRCID("ID_MENUITEM_HD_SORT_09"))->IsChecked());
    EXPECT_FALSE(frame->menuHD->FindItem(XRCID("ID_MENUITEM_HD_SORT_AZ"))->IsChecked());
    frame->Destroy();
}

TEST_F(FrameTest, CloseOrEscapeAnsweredNoKeepsTheWindow)
{
    MyMainFrame* frame = new MyMainFrame();
    MainFrame = frame;
    MessageBoxRecorder rec(wxNO);
    EXPECT_FALSE(frame->Close());
    wxCommandEvent escape(wxEVT_KEY, WXK_ESCAPE), other(wxEVT_KEY, 'A');
    frame->GetEventHandler()->ProcessEvent(escape);
    frame->GetEventHandler()->ProcessEvent(other);   // passes by
    ASSERT_EQ(rec.boxes().size(), 2u);
    EXPECT_EQ(rec.boxes()[1].text, wxT("Das Programm wirklich beenden?"));
    EXPECT_EQ(rec.boxes()[1].caption, wxT("Zappora E2"));
    EXPECT_TRUE(rec.boxes()[1].style & wxYES_NO);
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("zappora.cfg")));
    frame->Destroy();
}

TEST_F(FrameTest, CloseAnsweredYesStoresGeometryAndDestroysEveryWindow)
{
    config.videowin_w = 400;
    config.videowin_h = 300;
    config.profiles = 1;
    config.profile[0].name = wxT("Box");
    config.profile[0].host = wxT("127.0.0.2");
    runConfig = true;   // no splash window in this test
    ASSERT_TRUE(CreateTopLevelWindows());
    runConfig = false;
    LogFrame = new MyLogFrame();
    MyMainFrame* frame = MainFrame;
    frame->Move(210, 120);
    VideoFrame->Move(30, 40);
    wxWindow* video = VideoFrame;
    wxWindow* full = FullscreenFrame;
    wxWindow* log = LogFrame;

    MessageBoxRecorder rec(wxYES);
    EXPECT_TRUE(frame->Close());
    EXPECT_EQ(rec.boxes().size(), 1u);
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(video));
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(full));
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(log));
    EXPECT_EQ(VideoFrame, nullptr);
    EXPECT_EQ(FullscreenFrame, nullptr);
    EXPECT_EQ(LogFrame, nullptr);
    EXPECT_EQ(TaskBarIcon, nullptr);

    EXPECT_EQ(config.mainwin_x, 210);
    EXPECT_EQ(config.mainwin_y, 120);
    EXPECT_EQ(config.videowin_x, 30);
    EXPECT_EQ(config.videowin_y, 40);
    EXPECT_EQ(config.videowin_w, 400);
    EXPECT_EQ(config.videowin_h, 300);
    const wxString written = ConfigFileText();
    EXPECT_NE(written.Find(wxT("210")), wxNOT_FOUND) << written;
    EXPECT_NE(written.Find(wxT("400")), wxNOT_FOUND) << written;

    Settle();
    EXPECT_EQ(MainFrame, nullptr);
}

TEST_F(FrameTest, ExpertModeAndStartUpCloseWithoutQuestion)
{
    MessageBoxRecorder rec(wxNO);
    config.expertmode = 1;
    MyMainFrame* frame = new MyMainFrame();
    EXPECT_TRUE(frame->Close());
    EXPECT_TRUE(rec.boxes().empty());
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));

    // A failed start-up step closes the main window without asking.
    config.expertmode = 0;
    SplashIsActive = true;
    frame = new MyMainFrame();
    EXPECT_TRUE(frame->Close());
    EXPECT_TRUE(rec.boxes().empty());
    SplashIsActive = false;
}

TEST_F(FrameTest, CloseIsRefusedWhileADownloadRuns)
{
    MyMainFrame* frame = new MyMainFrame();
    frame->menuHD->Enable(XRCID("ID_MENUITEM_HD_DOWNLOAD"), false);
    MessageBoxRecorder rec(wxYES);
    EXPECT_FALSE(frame->Close());
    ASSERT_EQ(rec.boxes().size(), 2u);
    EXPECT_EQ(rec.boxes()[1].text,
              wxT("Das Programm kann nicht beendet werden solange noch ein Download aktiv ist!"));
    EXPECT_TRUE(rec.boxes()[1].style & wxICON_WARNING);
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("zappora.cfg")));

    // Once the download has ended the same close goes through.
    frame->menuHD->Enable(XRCID("ID_MENUITEM_HD_DOWNLOAD"), true);
    rec.clear();
    EXPECT_TRUE(frame->Close());
    EXPECT_TRUE(wxFileExists(CFG_PATH + wxT("zappora.cfg")));
}

TEST_F(FrameTest, TopLevelWindowsAreCreatedHiddenWithTheMainWindowOnTop)
{
    runConfig = true;
    ASSERT_TRUE(CreateTopLevelWindows());
    ASSERT_NE(MainFrame, nullptr);
    ASSERT_NE(VideoFrame, nullptr);
    ASSERT_NE(FullscreenFrame, nullptr);
    EXPECT_NE(TaskBarIcon, nullptr);
    EXPECT_EQ(SplashFrame, nullptr);
    EXPECT_EQ(wxTheApp->GetTopWindow(), MainFrame);
    EXPECT_FALSE(MainFrame->IsShown());
    EXPECT_FALSE(VideoFrame->IsShown());
    EXPECT_FALSE(FullscreenFrame->IsShown());
    EXPECT_EQ(VideoFrame->GetTitle(), wxT("VideoFrame"));
    EXPECT_EQ(FullscreenFrame->GetTitle(), wxT("FullFrame"));

    config.expertmode = 1;
    MainFrame->Close();
    Settle();
    EXPECT_EQ(MainFrame, nullptr);
    EXPECT_EQ(VideoFrame, nullptr);
    EXPECT_EQ(FullscreenFrame, nullptr);
}
