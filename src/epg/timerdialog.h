// "Timerverwaltung": the receiver's timer list with the selected timer's
// details; changes, (de)activates and deletes single timers and removes
// finished ("Säubern") or all idle ("Leeren") ones.
#pragma once

#include <memory>
#include <vector>
#include <wx/dialog.h>
#include <wx/listbase.h>

#include "epg/epgitemdata.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxDatePickerCtrl;
class wxListCtrl;
class wxPanel;
class wxStaticText;

class MyTimerDialog : public wxDialog {
public:
    MyTimerDialog();
    ~MyTimerDialog() override;

    bool loaded = false;
    int selected = 0;
    wxPanel* panel = nullptr;
    wxListCtrl* list = nullptr;                 // ID_LISTCTRL_TIMER
    wxStaticText* nameText = nullptr;           // ID_STATICTEXT_NAME
    wxStaticText* descriptionText = nullptr;    // ID_STATICTEXT_DESCRIPTION
    wxStaticText* stateText = nullptr;          // ID_STATICTEXT_STATE
    wxCheckBox* day[7] = {};                    // ID_CHECKBOX_MON .. _SUN
    wxDatePickerCtrl* startDate = nullptr;      // ID_DATEPICKERCTRL_STARTDATE
    wxDatePickerCtrl* endDate = nullptr;        // ID_DATEPICKERCTRL_ENDDATE
    wxChoice* startHour = nullptr;
    wxChoice* startMinute = nullptr;
    wxChoice* endHour = nullptr;
    wxChoice* endMinute = nullptr;
    wxChoice* eventChoice = nullptr;            // ID_CHOICE_EVENT
    wxChoice* afterEventChoice = nullptr;       // ID_CHOICE_AFTEREVENT
    wxChoice* locationChoice = nullptr;         // ID_CHOICE_LOCATION
    wxChoice* tagChoice = nullptr;              // ID_CHOICE_TAG
    wxButton* changeButton = nullptr;           // ID_BUTTON_CHANGE
    wxButton* enableButton = nullptr;           // ID_BUTTON_ENABLE

    int getTimerList();
    bool getLocations();
    bool getTags();
    MyTimerListCtrlItemData* rowData(long row) const;

    void OnItemSelected(wxListEvent& event);
    void OnColBeginDrag(wxListEvent& event);
    void OnCheckBox(wxCommandEvent& event);
    void OnButtonDelete(wxCommandEvent& event);
    void OnButtonChange(wxCommandEvent& event);
    void OnButtonEnable(wxCommandEvent& event);
    void OnButtonClean(wxCommandEvent& event);
    void OnButtonEmpty(wxCommandEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnResize(wxSizeEvent& event);

private:
    // Puts a row's timer into the detail controls.
    void ShowTimer(long row);
    // Deletes every listed timer the rule picks; false when one stayed.
    bool RemoveTimers(bool (*removes)(long state));
    // Reads the list again after a change; closes the dialog when it is empty.
    void Reload();
    void SetColumnWidths(int listWidth);

    std::vector<std::unique_ptr<MyTimerListCtrlItemData>> payloads_;
    wxDECLARE_EVENT_TABLE();
};
