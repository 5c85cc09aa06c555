#include <gtest/gtest.h>

#include <vector>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "app/app.h"
#include "app/globals.h"

namespace {

// A frame whose OnKey-style handler records the key codes it gets.
struct KeyFrame {
    KeyFrame()
    {
        frame = new wxFrame(nullptr, wxID_ANY, wxT("Tasten"));
        panel = new wxPanel(frame);
        text = new wxTextCtrl(panel, wxID_ANY);
        frame->Bind(wxEVT_KEY, [this](wxCommandEvent& e) {
            keys.push_back(e.GetId());
            objects.push_back(e.GetEventObject());
        });
        text->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
            rawDown++;
            e.Skip();
        });
    }
    ~KeyFrame() { delete frame; }
    wxFrame* frame;
    wxPanel* panel;
    wxTextCtrl* text;
    std::vector<int> keys;
    std::vector<wxObject*> objects;
    int rawDown = 0;
};

wxKeyEvent KeyDown(wxWindow* target, int code)
{
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = code;
    key.SetEventObject(target);
    key.SetId(target->GetId());
    return key;
}

}  // namespace

TEST(KeyFilter, TheKeyDownItselfGoesNoFurther)
{
    KeyFrame f;
    // the path a real key press takes: the toolkit hands it to the control
    wxKeyEvent key = KeyDown(f.text, 'A');
    EXPECT_FALSE(f.text->GetEventHandler()->ProcessEvent(key));
    EXPECT_EQ(f.rawDown, 0);
    ASSERT_EQ(f.keys.size(), 1u);
    EXPECT_EQ(f.keys[0], int('A'));

    wxKeyEvent esc = KeyDown(f.frame, WXK_ESCAPE);
    f.frame->GetEventHandler()->ProcessEvent(esc);
    ASSERT_EQ(f.keys.size(), 2u);
    EXPECT_EQ(f.keys[1], WXK_ESCAPE);
}

TEST(KeyFilter, OtherEventsPassUntouched)
{
    KeyFrame f;
    wxKeyEvent up(wxEVT_KEY_UP);
    up.SetEventObject(f.text);
    EXPECT_EQ(wxTheApp->FilterEvent(up), -1);
    wxKeyEvent ch(wxEVT_CHAR);
    ch.SetEventObject(f.text);
    EXPECT_EQ(wxTheApp->FilterEvent(ch), -1);
    wxCommandEvent button(wxEVT_BUTTON);
    EXPECT_EQ(wxTheApp->FilterEvent(button), -1);
    EXPECT_TRUE(f.keys.empty());
}

TEST(KeyFilter, KeyEventStopsAtTheTopLevelWindow)
{
    // a dialog-like child frame must not pass the key on to its parent frame
    KeyFrame outer;
    wxFrame* inner = new wxFrame(outer.frame, wxID_ANY, wxT("innen"));
    wxTextCtrl* text = new wxTextCtrl(inner, wxID_ANY);
    int innerKeys = 0;
    inner->Bind(wxEVT_KEY, [&](wxCommandEvent&) { innerKeys++; });
    wxKeyEvent key = KeyDown(text, WXK_F1);
    wxTheApp->FilterEvent(key);
    EXPECT_EQ(innerKeys, 1);
    EXPECT_TRUE(outer.keys.empty());
}

TEST(KeyFilter, RealKeyPressGivesOneKeyEventAndStillTypes)
{
    KeyFrame f;
    f.frame->Show();
    f.frame->Raise();
    f.text->SetFocus();
    for (int i = 0; i < 200 && !f.text->HasFocus(); i++) {
        wxYield();
        wxMilliSleep(10);
    }
    if (!f.text->HasFocus())
        GTEST_SKIP() << "no keyboard focus on this display";
    wxUIActionSimulator sim;
    sim.Char('x');
    for (int i = 0; i < 200 && f.text->GetValue().empty(); i++) {
        wxYield();
        wxMilliSleep(10);
    }
    wxYield();
    ASSERT_EQ(f.keys.size(), 1u);
    EXPECT_EQ(f.keys[0], int('X'));
    EXPECT_EQ(f.objects[0], f.text);
    // the control's own typing is not disturbed
    EXPECT_EQ(f.text->GetValue(), wxT("x"));
    EXPECT_EQ(f.rawDown, 0);
}
