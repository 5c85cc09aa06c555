// The log window: every log line of the program, counted by level and
// listed through four level filters.
#pragma once

#include <wx/frame.h>
#include <wx/string.h>

class wxTextCtrl;
class wxListCtrl;
class wxCheckBox;
class wxStaticText;
class wxImageList;
class wxLog;

enum { LOG_INF = 0, LOG_WRN = 1, LOG_ERR = 2, LOG_VER = 3, LOG_LEVELS = 4 };

// Level of one raw log line ("HH:MM:SS: Error: text") and the length of its
// level prefix.
int ClassifyLogLine(const wxString& line, size_t* prefixLength);
// " [HH:MM:SS] text" for the lists.
wxString LogEntryText(const wxString& line, size_t prefixLength);

class MyLogFrame : public wxFrame {
public:
    explicit MyLogFrame(wxWindow* parent = nullptr);
    ~MyLogFrame() override;

    void OnTextUpdate(wxCommandEvent& event);
    void OnCheckBox(wxCommandEvent& event);
    void OnButtonCopy(wxCommandEvent& event);
    void OnButtonSave(wxCommandEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);

    // Picks up complete lines written since the last call.
    void TakeNewLines();
    // The log target writing into this window was deleted.
    void TargetGone() { target_ = nullptr; }

    int count(int level) const { return counters_[level]; }
    int total() const { return total_; }
    bool loaded() const { return text_ != nullptr; }

    wxTextCtrl* text_ = nullptr;       // ID_TEXTCTRL_LOG, the log target
    wxListCtrl* all_ = nullptr;        // ID_LISTCTRL_LOG
    wxListCtrl* shown_ = nullptr;      // ID_LISTCTRL_SEL
    wxCheckBox* check_[LOG_LEVELS] = {};
    wxStaticText* counter_[LOG_LEVELS] = {};

private:
    void AddEntry(int level, const wxString& text);
    void SizeList();

    wxImageList* images_ = nullptr;
    wxLog* target_ = nullptr;
    int counters_[LOG_LEVELS] = {};
    int total_ = 0;
    long readPos_ = 0;

    wxDECLARE_EVENT_TABLE();
};
