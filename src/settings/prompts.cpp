#include "settings/prompts.h"

#include <wx/choicdlg.h>
#include <wx/dirdlg.h>
#include <wx/textdlg.h>

namespace {
const wxString kCaption = wxT("Zappora E2");
TextPrompt g_text;
DirectoryPrompt g_directory;
ChoicesPrompt g_choices;

template <class T>
T Replace(T& slot, T prompt)
{
    T old = slot;
    slot = std::move(prompt);
    return old;
}
}  // namespace

bool ZPAskText(const wxString& message, const wxString& value, wxString* answer, wxWindow* parent)
{
    if (g_text)
        return g_text(message, value, answer);
    wxTextEntryDialog dialog(parent, message, kCaption, value);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    *answer = dialog.GetValue();
    return true;
}

bool ZPAskDirectory(const wxString& message, const wxString& start, wxString* chosen, wxWindow* parent)
{
    if (g_directory)
        return g_directory(message, start, chosen);
    wxDirDialog dialog(parent, message, start, wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    *chosen = dialog.GetPath();
    return true;
}

bool ZPAskChoices(const wxString& message, const wxArrayString& choices, std::vector<int>* selection,
                  wxWindow* parent)
{
    if (g_choices)
        return g_choices(message, choices, selection);
    wxMultiChoiceDialog dialog(parent, message, kCaption, choices);
    wxArrayInt pre;
    for (int i : *selection)
        pre.Add(i);
    dialog.SetSelections(pre);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    selection->clear();
    for (int i : dialog.GetSelections())
        selection->push_back(i);
    return true;
}

TextPrompt SetTextPrompt(TextPrompt prompt) { return Replace(g_text, std::move(prompt)); }
DirectoryPrompt SetDirectoryPrompt(DirectoryPrompt prompt) { return Replace(g_directory, std::move(prompt)); }
ChoicesPrompt SetChoicesPrompt(ChoicesPrompt prompt) { return Replace(g_choices, std::move(prompt)); }
