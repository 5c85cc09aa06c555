// The main window's way into the settings, and its menus that show them.
#include "mainwindow/mainframe.h"

#include <wx/control.h>
#include <wx/menu.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "mainwindow/framerules.h"
#include "settings/setupdialog.h"

void MyMainFrame::OnSettings(wxCommandEvent&)
{
    auto* dialog = new MySetupDialog(this, MySetupDialog::PAGE_GENERAL);
    if (dialog->loaded)
        dialog->ShowModal();
    dialog->Destroy();
}

void MyMainFrame::UpdateSettingsMenus()
{
    if (wxMenuBar* bar = GetMenuBar()) {
        for (int i = 0; i < 10; i++) {
            wxMenuItem* item = bar->FindItem(XRCID(SourceMenuItemName(i)));
            if (!item)
                continue;
            const bool used = i < config.profiles;
            // "&" in a name is no mnemonic
            const wxString name = used ? wxControl::EscapeMnemonics(config.profile[i].name) : _(wxT("unbenutzt"));
            item->SetItemLabel(SourceMenuLabel(i, name));
            item->Enable(used);
            if (used && i == config.profile_active)
                item->Check(true);
        }
    }
    if (menuHD) {
        if (wxMenuItem* sort = menuHD->FindItem(XRCID(SortModeItemName(config.sortmode))))
            sort->Check(true);
    }
}
