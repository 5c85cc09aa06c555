#include "mainwindow/framerules.h"

#include <wx/filename.h>

wxString ChooseHelpBook(const wxString& binPath, const wxString& language,
                        bool (*fileExists)(const wxString&))
{
    const wxString dir = binPath + wxT("hlp") + wxFileName::GetPathSeparator();
    const wxString own = dir + wxT("zappora-") + language.Lower() + wxT(".htb");
    if (fileExists(own))
        return own;
    const wxString german = dir + wxT("zappora-de.htb");
    if (fileExists(german))
        return german;
    return wxString();
}

wxString SourceMenuLabel(int index, const wxString& name)
{
    return wxString::Format(wxT("#%d: %s"), index + 1, name);
}

wxString SortModeItemName(int sortMode)
{
    switch (sortMode) {
    case 1: return wxT("ID_MENUITEM_HD_SORT_ZA");
    case 2: return wxT("ID_MENUITEM_HD_SORT_09");
    case 3: return wxT("ID_MENUITEM_HD_SORT_90");
    default: return wxT("ID_MENUITEM_HD_SORT_AZ");
    }
}

bool CloseNeedsQuestion(bool splashActive, bool forcedSettings, bool expertMode, bool canVeto)
{
    return !splashActive && !forcedSettings && !expertMode && canVeto;
}

wxString AboutImageName(const wxString& kind, bool hovered)
{
    return wxString::Format(wxT("IMG_ABOUT_%s_%d"), kind.Upper(), hovered ? 64 : 48);
}

wxString SourceMenuItemName(int index)
{
    return wxString::Format(wxT("ID_MENUITEM_BOX%d"), (index + 1) % 10);
}
