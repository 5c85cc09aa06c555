// Embedded resources and a private configuration directory for the tests of
// the main window's frame, the video windows and the information dialogs.
#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "support/resources.h"

extern void InitXmlResource();

inline void FrameTestResources()
{
    LoadResourcesOnce();
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FrameTestResources();
        CFG_PATH = wxGetHomeDir() + wxT("/.zappora/");
        wxFileName::Mkdir(CFG_PATH, 0700, wxPATH_MKDIR_FULL);
        if (wxFileExists(CFG_PATH + wxT("zappora.cfg")))
            wxRemoveFile(CFG_PATH + wxT("zappora.cfg"));
        config = ZPCONFIG();
        config.mainwin_x = config.mainwin_y = -1;
        config.videowin_x = config.videowin_y = -1;
        config.language = wxT("DE");
        config.volume = 40;
        SplashIsActive = false;
        runConfig = false;
    }

    // Lets queued events and pending deletions run.
    static void Settle()
    {
        for (int i = 0; i < 5; i++) {
            wxTheApp->ProcessPendingEvents();
            wxTheApp->ProcessIdle();
        }
    }
};

// Runs `body` on the modal dialog of type T as soon as its modal loop has
// started, then ends it; a dialog that never appears does not block.
template <class T>
void WhenModal(std::function<void(T*)> body, int attempts = 200)
{
    wxTheApp->CallAfter([body, attempts] {
        for (wxWindow* w : wxTopLevelWindows) {
            T* dialog = dynamic_cast<T*>(w);
            if (dialog && dialog->IsModal()) {
                body(dialog);
                if (dialog->IsModal())
                    dialog->EndModal(wxID_OK);
                return;
            }
        }
        if (attempts > 0) {
            wxMilliSleep(5);
            WhenModal<T>(body, attempts - 1);
        }
    });
}
