// The window that runs the start-up sequence.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/treebase.h>


class wxGauge;
class wxStaticText;
class wxStaticBitmap;

class MySplashFrame : public wxFrame {
public:
    MySplashFrame();
    ~MySplashFrame() override;

    void UpdateStatus(const wxString& text);
    void InitTimer(wxTimerEvent& event);

    wxTreeItemId startItem;   // first tree entry of the current service (filled while loading)


    wxGauge* gauge() const { return m_gauge; }
    wxStaticText* statusText() const { return m_text; }
    // Pause after each status step; tests shorten it.
    static int stepDelayMs;

private:
    void OnMouseLeftDown(wxMouseEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnMouseLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void ReleaseDrag();
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void Fail();

    wxStaticBitmap* m_bitmap = nullptr;
    wxGauge* m_gauge = nullptr;
    wxStaticText* m_text = nullptr;
    wxPoint m_dragOffset;

    wxDECLARE_EVENT_TABLE();
};
