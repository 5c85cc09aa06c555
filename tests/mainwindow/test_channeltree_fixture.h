// A real main window (from the embedded layout) for the channel-list and
// programme-information tests, with a private configuration directory.
#pragma once

#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/treectrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "support/resources.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "webif/itemdata.h"

extern void InitXmlResource();

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadResourcesOnce();
        // A directory of its own, so caches of one case never reach another.
        char dir[] = "/tmp/zp-lists.XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        CFG_PATH = wxString::FromUTF8(dir) + wxT("/");
        frame = new MyMainFrame();
        MainFrame = frame;
        ASSERT_NE(frame->tree, nullptr);
    }
    void TearDown() override
    {
        MainFrame = nullptr;
        delete frame;
        wxFileName::Rmdir(CFG_PATH, wxPATH_RMDIR_RECURSIVE);
    }

    std::vector<wxTreeItemId> children(const wxTreeItemId& parent) const
    {
        std::vector<wxTreeItemId> out;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = frame->tree->GetFirstChild(parent, cookie); c.IsOk();
             c = frame->tree->GetNextChild(parent, cookie))
            out.push_back(c);
        return out;
    }
    MyChannelItemData* data(const wxTreeItemId& item) const
    {
        return dynamic_cast<MyChannelItemData*>(frame->tree->GetItemData(item));
    }
    wxString label(const wxTreeItemId& item) const { return frame->tree->GetItemText(item); }
    size_t count(const wxTreeItemId& item) const { return frame->tree->GetChildrenCount(item, true); }

    MyMainFrame* frame = nullptr;
};
