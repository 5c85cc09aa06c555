#include "app/splashframe.h"

#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/guards.h"
#include "app/startup.h"

int MySplashFrame::stepDelayMs = 250;

wxBEGIN_EVENT_TABLE(MySplashFrame, wxFrame)
    EVT_TIMER(1, MySplashFrame::InitTimer)
    EVT_CLOSE(MySplashFrame::OnClose)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MySplashFrame::OnKey)
wxEND_EVENT_TABLE()

MySplashFrame::MySplashFrame()
{
    wxXmlResource::Get()->LoadFrame(this, nullptr, wxT("ID_SPLASHFRAME"));
    m_bitmap = XRCCTRL(*this, "ID_STATICBITMAP_SPLASHBITMAP", wxStaticBitmap);
    m_gauge = XRCCTRL(*this, "ID_GAUGE_SPLASHGAUGE", wxGauge);
    m_text = XRCCTRL(*this, "ID_STATICTEXT_SPLASHTEXT", wxStaticText);

    // No caption: the window is dragged by its contents.
    wxWindow* parts[] = {m_bitmap, m_gauge, m_text};
    for (wxWindow* w : parts) {
        if (!w)
            continue;
        w->Bind(wxEVT_LEFT_DOWN, &MySplashFrame::OnMouseLeftDown, this);
        w->Bind(wxEVT_MOTION, &MySplashFrame::OnMouseMove, this);
        w->Bind(wxEVT_LEFT_UP, &MySplashFrame::OnMouseLeftUp, this);
        w->Bind(wxEVT_MOUSE_CAPTURE_LOST, &MySplashFrame::OnCaptureLost, this);
    }

    SetGaugeRange(m_gauge, SplashGaugeRange(DontCheckStandby, config.tvproviders != 0,
                                            config.raproviders != 0));

    SetTransparent(224);
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    Centre();
    Show();
    ZPYield();
    SplashIsActive = true;
}

MySplashFrame::~MySplashFrame()
{
    ReleaseDrag();
    if (SplashFrame == this)
        SplashFrame = nullptr;
}

void MySplashFrame::UpdateStatus(const wxString& text)
{
    if (m_gauge)
        SetGaugeValue(m_gauge, m_gauge->GetValue() + 1);
    if (m_text) {
        m_text->SetLabel(text);
        if (wxSizer* s = m_text->GetContainingSizer())
            s->Layout();
    }
    ZPYield();
    wxMilliSleep(stepDelayMs);
}

void MySplashFrame::OnMouseLeftDown(wxMouseEvent& event)
{
    wxWindow* w = static_cast<wxWindow*>(event.GetEventObject());
    if (!w->HasCapture())
        w->CaptureMouse();
    m_dragOffset = w->ClientToScreen(event.GetPosition()) - GetPosition();
}

void MySplashFrame::OnMouseMove(wxMouseEvent& event)
{
    wxWindow* w = static_cast<wxWindow*>(event.GetEventObject());
    if (event.Dragging() && event.LeftIsDown() && w->HasCapture())
        Move(w->ClientToScreen(event.GetPosition()) - m_dragOffset);
}

void MySplashFrame::OnMouseLeftUp(wxMouseEvent& event)
{
    wxWindow* w = static_cast<wxWindow*>(event.GetEventObject());
    if (w->HasCapture())
        w->ReleaseMouse();
}

void MySplashFrame::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    // The drag simply ends; nothing to release any more.
}

void MySplashFrame::ReleaseDrag()
{
    // The sequence may end while the user still holds the mouse on the
    // window: a window destroyed with the capture takes the toolkit down later.
    for (wxWindow* w : {static_cast<wxWindow*>(m_bitmap), static_cast<wxWindow*>(m_gauge),
                        static_cast<wxWindow*>(m_text)})
        if (w && w->HasCapture())
            w->ReleaseMouse();
}

void MySplashFrame::OnKey(wxCommandEvent& event)
{
    event.Skip();
}

void MySplashFrame::OnClose(wxCloseEvent& event)
{
    // The sequence decides when the splash goes; the user cannot close it.
    if (event.CanVeto())
        event.Veto();
}
