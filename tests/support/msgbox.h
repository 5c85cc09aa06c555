#pragma once
#include <vector>
#include <wx/string.h>
#include <wx/defs.h>

struct RecordedBox {
    wxString caption;
    wxString text;
    long style;
};

// Records every box shown while alive and answers questions with `answer`.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = wxYES);
    ~MessageBoxRecorder();
    const std::vector<RecordedBox>& boxes() const { return boxes_; }
    void setAnswer(int answer) { answer_ = answer; }
    void clear() { boxes_.clear(); }
private:
    std::vector<RecordedBox> boxes_;
    int answer_;
};

void InstallFailingMessageBoxHandler();
