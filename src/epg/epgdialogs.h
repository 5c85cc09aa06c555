// What the guide and timer dialogs share: their parent window, list
// sizing and stripes, box labels, the help page, and the actions on one
// event (details, timers, reminders).
#pragma once

#include <wx/listctrl.h>
#include <vector>
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
// The keys of every guide dialog: Escape closes it, F1 opens its help page.
void HandleDialogKey(class wxDialog* dialog, class wxCommandEvent& event, const wxString& helpPage);
// Ends the dialog's modal loop (result 0), or hides a dialog shown without one.
void CloseGuideDialog(class wxDialog* dialog);
// Auto width that never cuts the heading.
void FitColumn(wxListCtrl* list, int column);
// The cells of an event row: date, begin, duration, [service,] title.
wxString EventCell(const MyEPGListCtrlItemData& row, long column, bool withService);
// Sets the widths of the date, begin, duration [and service] columns of an event list.
void FitEventColumns(class MyEPGListCtrl* list, const std::vector<MyEPGListCtrlItemData*>& rows,
                     bool withService);
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
