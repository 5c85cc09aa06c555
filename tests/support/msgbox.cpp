#include "support/msgbox.h"
#include "app/seams.h"
#include <gtest/gtest.h>

MessageBoxRecorder::MessageBoxRecorder(int answer) : answer_(answer)
{
    SetMessageBoxHandler([this](const wxString& caption, const wxString& text, long style) {
        boxes_.push_back({caption, text, style});
        if (style & wxYES_NO)
            return answer_;
        return int(wxOK);
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    InstallFailingMessageBoxHandler();
}

void InstallFailingMessageBoxHandler()
{
    SetMessageBoxHandler([](const wxString& caption, const wxString& text, long style) {
        ADD_FAILURE() << "unexpected message box: " << text.utf8_str().data();
        return (style & wxYES_NO) ? int(wxNO) : int(wxOK);
    });
}
