// The receiver profiles of the settings dialog and its two directory choosers.
#include "settings/setupdialog.h"

#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/log.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"
#include "mainwindow/mainframe.h"
#include "settings/prompts.h"
#include "webif/locations.h"

void MySetupDialog::FillProfileList(int select)
{
    if (!profileChoice)
        return;
    const bool filling = m_filling;
    m_filling = true;
    profileChoice->Clear();
    for (int i = 0; i < m_profiles.count(); i++) {
        wxBitmap image;
        {
            wxLogNull quiet;
            image = wxXmlResource::Get()->LoadBitmap(wxString::Format(wxT("IMG_PROFILE_%d"), i + 1));
        }
        profileChoice->Append(m_profiles.at(i).name, image);
    }
    if (select < 0 || select >= m_profiles.count())
        select = 0;
    profileChoice->SetSelection(select);
    m_filling = filling;
    ShowProfile(select);
}

int MySetupDialog::SelectedProfile() const
{
    return m_shownProfile;
}

void MySetupDialog::ShowProfile(int index)
{
    if (index < 0 || index >= m_profiles.count())
        return;
    m_shownProfile = index;
    const ZPPROFILE& p = m_profiles.at(index);
    const bool filling = m_filling;
    m_filling = true;
    if (host)
        host->ChangeValue(p.host);
    if (webPort)
        webPort->ChangeValue(wxString::Format(wxT("%ld"), p.wport));
    if (https)
        https->SetValue(p.https != 0);
    if (streamPort)
        streamPort->ChangeValue(wxString::Format(wxT("%ld"), p.sport));
    if (user)
        user->ChangeValue(p.user);
    if (password)
        password->ChangeValue(p.pass);
    m_filling = filling;
    UpdateProfileButtons();
}

void MySetupDialog::UpdateProfileButtons()
{
    const int i = SelectedProfile();
    if (upButton)
        upButton->Enable(m_profiles.canMoveUp(i));
    if (downButton)
        downButton->Enable(m_profiles.canMoveDown(i));
    if (deleteButton)
        deleteButton->Enable(m_profiles.canDelete());
    if (addButton)
        addButton->Enable(m_profiles.canAdd());
    if (renameButton)
        renameButton->Enable(i >= 0);
}

void MySetupDialog::EnableProxyFields()
{
    const bool on = proxyMode && proxyMode->GetValue();
    for (wxTextCtrl* field : { proxyHost, proxyPort, proxyUser, proxyPass }) {
        if (field)
            field->Enable(on);
    }
}

void MySetupDialog::OnProfileAdd()
{
    if (!m_profiles.canAdd())
        return;
    wxString name;
    if (!ZPAskText(_(wxT("Name für das neue Profil:")), wxString(), &name, this))
        return;
    name.Trim(true).Trim(false);
    const int added = m_profiles.add(name);
    if (added < 0)
        return;
    m_changed = true;
    FillProfileList(added);
}

void MySetupDialog::OnProfileRename()
{
    const int i = SelectedProfile();
    if (i < 0)
        return;
    wxString name;
    if (!ZPAskText(_(wxT("neuer Name für dieses Profil:")), m_profiles.at(i).name, &name, this))
        return;
    name.Trim(true).Trim(false);
    if (!m_profiles.rename(i, name))
        return;
    m_changed = true;
    FillProfileList(i);
}

void MySetupDialog::OnProfileDelete()
{
    const int i = SelectedProfile();
    if (i < 0 || !m_profiles.canDelete())
        return;
    if (!config.expertmode &&
        ZPMessageBox(wxString::Format(_(wxT("Soll das Profil \"%s\" wirklich gelöscht werden?")),
                                      m_profiles.at(i).name),
                     wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, this) != wxYES)
        return;
    const int next = m_profiles.remove(i);
    if (next < 0)
        return;
    m_changed = true;
    FillProfileList(next);
}

void MySetupDialog::OnProfileMove(bool up)
{
    const int i = SelectedProfile();
    const int moved = up ? m_profiles.moveUp(i) : m_profiles.moveDown(i);
    if (moved < 0)
        return;
    m_changed = true;
    FillProfileList(moved);
}

void MySetupDialog::OnChooseRecDir()
{
    if (!recDir)
        return;
    wxString start = recDir->GetValue();
    if (start.empty())
        start = CFG_PATH;
    wxString chosen;
    if (!ZPAskDirectory(_(wxT("Bitte das Aufnahmeverzeichnis auswählen:")), start, &chosen, this))
        return;
    recDir->SetValue(WithTrailingSeparator(chosen));
}

void MySetupDialog::OnChooseIgnored()
{
    if (!excludeDir)
        return;
    // The receiver's list, or when it cannot be asked the one loaded earlier.
    std::vector<wxString> locations;
    if (!RequestLocations(locations) && MainFrame) {
        for (const wxString& dir : MainFrame->movieLocations)
            locations.push_back(dir);
    }
    if (locations.empty()) {
        ZPMessageBox(_(wxT("Es konnten keine Aufnahmepfade ermittelt werden.")), wxOK | wxICON_EXCLAMATION,
                     this);
        return;
    }
    wxArrayString choices;
    std::vector<int> selection;
    const std::vector<wxString> current = SplitDirList(excludeDir->GetValue());
    for (size_t i = 0; i < locations.size(); i++) {
        choices.Add(locations[i]);
        for (const wxString& dir : current) {
            if (dir == locations[i])
                selection.push_back(int(i));
        }
    }
    if (!ZPAskChoices(_(wxT("Bitte die zu ignorierenden Verzeichnisse auswählen:")), choices, &selection, this))
        return;

    if (!config.expertmode) {
        wxString question;
        if (selection.size() == locations.size())
            question = _(wxT("Mit dieser Auswahl können keine Aufnahmen wiedergegeben werden.\n\n"
                             "Wirklich alle Verzeichnisse ignorieren?"));
        else if (selection.empty())
            question = _(wxT("Mit dieser Auswahl können alle Aufnahmen wiedergegeben werden.\n\n"
                             "Wirklich keine Verzeichnisse ignorieren?"));
        if (!question.empty() &&
            ZPMessageBox(question, wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, this) != wxYES)
            return;
    }
    std::vector<wxString> chosen;
    for (int i : selection) {
        if (i >= 0 && size_t(i) < locations.size())
            chosen.push_back(locations[size_t(i)]);
    }
    excludeDir->SetValue(JoinDirList(chosen));
}
