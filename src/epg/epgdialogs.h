// What the guide and timer dialogs share: their parent window, list
// sizing and stripes, box labels, the help page, and the actions on one
// event (details, timers, reminders).
#pragma once

#include <wx/listctrl.h>
#include <wx/string.h>

class wxTextCtrl;
class wxWindow;
class MyEPGListCtrlItemData;

// The stand-alone video window while the picture is there, else the main window.
wxWindow* EPGDialogParent();

// Sets the label of a static box sizer found by its resource name.
void SetBoxLabel(wxWindow* dialog, const char* name, const wxString& label);
// Odd rows get the button-face background, even rows the window colour.
void StripeRows(wxListCtrl* list);
// Grows the list's height until it shows at least `rows` rows; returns the height.
int GrowListToRows(wxListCtrl* list, int width, int rows);
// Width the last column gets: the list width less `margin` and the other
// columns, less the scroll bar when more rows than `visibleRows` are listed.
int RestColumnWidth(wxListCtrl* list, int listWidth, int margin, int visibleRows);
// Opens a page of the main window's help book.
void ShowHelpPage(const wxString& page);
// Auto width that never cuts the heading.
void FitColumn(wxListCtrl* list, int column);
// The row payload of a guide or timer list (null outside the list).
template <class T>
T* ListPayload(const wxListCtrl* list, long row);
// Appends an event row: date, begin, duration, [service,] title.
void AppendEventRow(wxListCtrl* list, const MyEPGListCtrlItemData* row, bool withService);
// Selects a row as the user would (the selection event follows).
void SelectRow(wxListCtrl* list, long row);
// Minimum height of the detail texts: ten lines.
void SetTenLineHeight(wxTextCtrl* text);

// The detail pane of the channel guide and the search results: label with
// the description, text with the extended description and, when wanted,
// the repeats of the event.
void ShowEventDetails(wxWindow* dialog, wxTextCtrl* text, const MyEPGListCtrlItemData& row);

// Record (zap = false) or zap timer for an event; reports the receiver's
// answer in a box.
void AddTimerForEvent(wxWindow* parent, const MyEPGListCtrlItemData& row, bool zap);

// A reminder that switches the player to sRef at start (seconds since the
// epoch as text); secondsBelow chooses the message (see ReminderMessage).
void SetEventReminder(wxWindow* parent, const wxString& sRef, const wxString& start,
                      const wxString& title, long long secondsBelow);

// Plays a service from a guide row.
void PlayService(const wxString& sRef);

template <class T>
T* ListPayload(const wxListCtrl* list, long row)
{
    if (!list || row < 0 || row >= list->GetItemCount())
        return nullptr;
    return reinterpret_cast<T*>(list->GetItemData(row));
}
