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

TEST(FrameRules, StreamSourceEntries)
{
    EXPECT_EQ(SourceMenuLabel(0, wxT("Wohnzimmer")), wxT("#1: Wohnzimmer"));
    EXPECT_EQ(SourceMenuLabel(9, wxT("Zehn")), wxT("#10: Zehn"));
    EXPECT_EQ(SourceMenuItemName(0), wxT("ID_MENUITEM_BOX1"));
    EXPECT_EQ(SourceMenuItemName(8), wxT("ID_MENUITEM_BOX9"));
    EXPECT_EQ(SourceMenuItemName(9), wxT("ID_MENUITEM_BOX0"));
}

TEST(FrameRules, SortModeEntries)
{
    EXPECT_EQ(SortModeItemName(0), wxT("ID_MENUITEM_HD_SORT_AZ"));
    EXPECT_EQ(SortModeItemName(1), wxT("ID_MENUITEM_HD_SORT_ZA"));
    EXPECT_EQ(SortModeItemName(2), wxT("ID_MENUITEM_HD_SORT_09"));
    EXPECT_EQ(SortModeItemName(3), wxT("ID_MENUITEM_HD_SORT_90"));
    EXPECT_EQ(SortModeItemName(7), wxT("ID_MENUITEM_HD_SORT_AZ"));
}

TEST(FrameRules, CloseQuestionOnlyInNormalOperation)
{
    EXPECT_TRUE(CloseNeedsQuestion(false, false, false, true));
    EXPECT_FALSE(CloseNeedsQuestion(true, false, false, true));
    EXPECT_FALSE(CloseNeedsQuestion(false, true, false, true));
    EXPECT_FALSE(CloseNeedsQuestion(false, false, true, true));
    EXPECT_FALSE(CloseNeedsQuestion(false, false, false, false));
}

TEST(FrameRules, AboutImagesGrowUnderTheMouse)
{
    EXPECT_EQ(AboutImageName(wxT("forum"), false), wxT("IMG_ABOUT_FORUM_48"));
    EXPECT_EQ(AboutImageName(wxT("UPDATE_LIN"), true), wxT("IMG_ABOUT_UPDATE_LIN_64"));
}
