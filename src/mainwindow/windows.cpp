#include "app/windows.h"

#include <wx/app.h>
#include <wx/panel.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/logframe.h"
#include "mainwindow/fullframe.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/taskbaricon.h"
#include "mainwindow/toplevel.h"
#include "mainwindow/videoframe.h"

bool CreateTopLevelWindows()
{
    MainFrame = new MyMainFrame();
    if (!MainFrame->loaded) {
        MainFrame->Destroy();
        MainFrame = nullptr;
        return false;
    }
    VideoFrame = new MyVideoFrame();
    FullscreenFrame = new MyFullscreenFrame();
    if (!TaskBarIcon)
        TaskBarIcon = new MyTaskBarIcon();
    wxTheApp->SetTopWindow(MainFrame);
    return VideoFrame->loaded && FullscreenFrame->loaded;
}

void DestroyOtherTopLevelWindows()
{
    if (FullscreenFrame) {
        FullscreenFrame->Destroy();
        FullscreenFrame = nullptr;
    }
    if (VideoFrame) {
        const wxPoint pos = VideoFrame->GetPosition();
        const wxSize size = VideoFrame->videoPanel ? VideoFrame->videoPanel->GetSize()
                                                   : VideoFrame->GetClientSize();
        config.videowin_x = pos.x;
        config.videowin_y = pos.y;
        config.videowin_w = size.x;
        config.videowin_h = size.y;
        VideoFrame->Destroy();
        VideoFrame = nullptr;
    }
    if (LogFrame) {
        LogFrame->Destroy();
        LogFrame = nullptr;
    }
}
