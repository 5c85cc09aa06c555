// The stand-alone and full-screen video windows as the main window creates them.
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/panel.h>

#include "frame_fixture.h"
#include "mainwindow/fullframe.h"
#include "mainwindow/videoframe.h"

TEST_F(FrameTest, VideoWindowTakesStoredGeometryAndCannotBeClosed)
{
    config.videowin_w = 320;
    config.videowin_h = 240;
    config.videowin_x = 50;
    config.videowin_y = 60;
    auto* frame = new MyVideoFrame();
    ASSERT_TRUE(frame->loaded);
    ASSERT_NE(frame->videoPanel, nullptr);
    ASSERT_NE(frame->popupMenu, nullptr);
    EXPECT_EQ(frame->GetClientSize(), wxSize(320, 240));
    EXPECT_EQ(frame->videoPanel->GetSize(), wxSize(320, 240));
    EXPECT_EQ(frame->GetPosition(), wxPoint(50, 60));
    EXPECT_TRUE(frame->favouritesPending);
    EXPECT_EQ(frame->videoPanel->GetBackgroundColour(), *wxBLACK);
    EXPECT_FALSE(frame->IsShown());

    EXPECT_FALSE(frame->Close());
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
    // Only the owner's forced close ends it.
    EXPECT_TRUE(frame->Close(true));
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
}

TEST_F(FrameTest, VideoWindowWithoutStoredSizeUsesTheLayout)
{
    auto* frame = new MyVideoFrame();
    ASSERT_TRUE(frame->loaded);
    EXPECT_EQ(frame->GetClientSize(), wxSize(512, 384));
    // It may be made smaller than its first size later on.
    frame->SetClientSize(256, 192);
    EXPECT_EQ(frame->GetClientSize(), wxSize(256, 192));
    frame->Destroy();
}

TEST_F(FrameTest, FullScreenWindowCoversTheDisplay)
{
    config.deinterlacer = 1;
    auto* frame = new MyFullscreenFrame();
    ASSERT_TRUE(frame->loaded);
    ASSERT_NE(frame->videoPanel, nullptr);
    const wxSize screen = wxDisplay(0u).GetGeometry().GetSize();
    EXPECT_EQ(frame->GetClientSize(), screen);
    EXPECT_EQ(frame->GetPosition(), wxPoint(0, 0));
    EXPECT_TRUE(frame->videoPanel->GetCursor().IsOk());
    ASSERT_NE(frame->popupMenu, nullptr);
    EXPECT_TRUE(frame->popupMenu->FindItem(XRCID("ID_MENUITEM_DEINTERLACE"))->IsChecked());
    EXPECT_FALSE(frame->Close());
    frame->Destroy();

    config.deinterlacer = 0;
    frame = new MyFullscreenFrame();
    EXPECT_FALSE(frame->popupMenu->FindItem(XRCID("ID_MENUITEM_DEINTERLACE"))->IsChecked());
    frame->Destroy();
}
