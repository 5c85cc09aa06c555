// Plain decisions of the main window's frame.
#include <gtest/gtest.h>
#include <set>

#include "mainwindow/framerules.h"
#include "mainwindow/treectrl.h"

namespace {
std::set<wxString> g_existing;
bool Exists(const wxString& path) { return g_existing.count(path) > 0; }
}

TEST(FrameRules, HelpBookFallsBackToGerman)
{
    g_existing = { wxT("/opt/zp/hlp/zappora-en.htb"), wxT("/opt/zp/hlp/zappora-de.htb") };
    EXPECT_EQ(ChooseHelpBook(wxT("/opt/zp/"), wxT("EN"), Exists), wxT("/opt/zp/hlp/zappora-en.htb"));
    EXPECT_EQ(ChooseHelpBook(wxT("/opt/zp/"), wxT("FR"), Exists), wxT("/opt/zp/hlp/zappora-de.htb"));
    EXPECT_EQ(ChooseHelpBook(wxT("/opt/zp/"), wxT("de"), Exists), wxT("/opt/zp/hlp/zappora-de.htb"));
    g_existing.clear();
    EXPECT_EQ(ChooseHelpBook(wxT("/opt/zp/"), wxT("DE"), Exists), wxString());
}
