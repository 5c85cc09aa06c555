#include "support/layout.h"

#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <set>

#include "app/guards.h"

void ShowAndSettle(wxTopLevelWindow* window)
{
    window->Show();
    window->Raise();
    for (int i = 0; i < 30; i++) {
        ZPYield();
        wxMilliSleep(10);
    }
    window->Update();
    ZPYield();
}

// Visible controls that draw something themselves (containers are skipped).
void CollectLeaves(wxWindow* window, std::vector<wxWindow*>& out)
{
    for (wxWindow* child : window->GetChildren()) {
        if (!child->IsShown() || child->IsTopLevel())
            continue;
        const bool container = (dynamic_cast<wxPanel*>(child) || dynamic_cast<wxBookCtrlBase*>(child)) &&
                               !child->GetChildren().empty();
        if (dynamic_cast<wxStaticBox*>(child) || container || dynamic_cast<wxToolBar*>(child)) {
            CollectLeaves(child, out);
            continue;
        }
        out.push_back(child);
    }
}

std::string Describe(wxWindow* w)
{
    const wxRect r = w->GetScreenRect();
    return (w->GetName() + wxString::Format(wxT(" [%d,%d %dx%d]"), r.x, r.y, r.width, r.height))
        .ToStdString();
}

void ExpectTidy(wxTopLevelWindow* window)
{
    const wxRect outer = window->GetScreenRect();
    EXPECT_LE(outer.width, 1280) << window->GetName();
    EXPECT_LE(outer.height, 1024) << window->GetName();
    std::vector<wxWindow*> leaves;
    CollectLeaves(window, leaves);
    ASSERT_FALSE(leaves.empty());
    for (size_t i = 0; i < leaves.size(); i++) {
        const wxRect a = leaves[i]->GetScreenRect();
        EXPECT_TRUE(outer.Contains(a)) << "outside: " << Describe(leaves[i]);
        EXPECT_GT(a.width, 0) << Describe(leaves[i]);
        EXPECT_GT(a.height, 0) << Describe(leaves[i]);
        for (size_t j = i + 1; j < leaves.size(); j++) {
            const wxRect b = leaves[j]->GetScreenRect();
            EXPECT_FALSE(a.Intersects(b)) << Describe(leaves[i]) << " covers " << Describe(leaves[j]);
        }
    }
    // Every text label is wide enough for its text.
    for (wxWindow* w : leaves) {
        auto* text = dynamic_cast<wxStaticText*>(w);
        if (!text || text->HasFlag(wxST_NO_AUTORESIZE) || text->HasFlag(wxST_ELLIPSIZE_END))
            continue;
        EXPECT_GE(text->GetSize().x, text->GetTextExtent(text->GetLabelText()).x - 2)
            << Describe(text) << " '" << text->GetLabelText() << "'";
    }
}

int Photograph(wxTopLevelWindow* window, const wxString& file)
{
    ShowAndSettle(window);
    wxString dir = wxGetenv(wxT("ZP_SCREENSHOT_DIR"));
    if (dir.empty())
        dir = wxString::FromUTF8(ZP_BINARY_DIR) + wxT("/screenshots");
    wxFileName::Mkdir(dir, 0755, wxPATH_MKDIR_FULL);
    const wxRect r = window->GetScreenRect();
    wxBitmap shot(r.width, r.height);
    {
        wxScreenDC screen;
        wxMemoryDC mem(shot);
        mem.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    }
    EXPECT_TRUE(shot.SaveFile(dir + wxT("/") + file, wxBITMAP_TYPE_PNG)) << file;
    const wxImage image = shot.ConvertToImage();
    std::set<unsigned> colours;
    const unsigned char* p = image.GetData();
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); i += 7)
        colours.insert(p[3 * i] << 16 | p[3 * i + 1] << 8 | p[3 * i + 2]);
    return (int)colours.size();
}
