#include "settings/tooltips.h"

#include <gtk/gtk.h>
#include <wx/event.h>
#include <wx/eventfilter.h>
#include <wx/toplevel.h>
#include <wx/window.h>

namespace {

bool g_enabled = true;
const char kGuarded[] = "zp-tooltip-guarded";
const char kHadTip[] = "zp-tooltip-had";

// A tool tip set while they are off (e.g. a volume text) stays hidden, and
// comes back when they are switched on again.
void OnHasTooltip(GObject* object, GParamSpec*, gpointer)
{
    GtkWidget* widget = GTK_WIDGET(object);
    if (g_enabled || !gtk_widget_get_has_tooltip(widget))
        return;
    g_object_set_data(object, kHadTip, GINT_TO_POINTER(1));
    gtk_widget_set_has_tooltip(widget, FALSE);
}

void ApplyToWidget(GtkWidget* widget, gpointer)
{
    GObject* object = G_OBJECT(widget);
    if (!g_object_get_data(object, kGuarded)) {
        g_object_set_data(object, kGuarded, GINT_TO_POINTER(1));
        g_signal_connect(object, "notify::has-tooltip", G_CALLBACK(OnHasTooltip), nullptr);
    }
    if (!g_enabled) {
        if (gtk_widget_get_has_tooltip(widget)) {
            g_object_set_data(object, kHadTip, GINT_TO_POINTER(1));
            gtk_widget_set_has_tooltip(widget, FALSE);
        }
    } else if (g_object_get_data(object, kHadTip)) {
        g_object_set_data(object, kHadTip, nullptr);
        gtk_widget_set_has_tooltip(widget, TRUE);
    }
    if (GTK_IS_CONTAINER(widget))
        gtk_container_forall(GTK_CONTAINER(widget), ApplyToWidget, nullptr);
}

// Windows shown after the switch (dialogs are created on demand).
class ShowFilter : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_SHOW && static_cast<wxShowEvent&>(event).IsShown()) {
            wxWindow* window = dynamic_cast<wxWindow*>(event.GetEventObject());
            if (window && window->IsTopLevel())
                ApplyToolTips(window);
        }
        return Event_Skip;
    }
};

ShowFilter* g_filter = nullptr;

}  // namespace

void ApplyToolTips(wxWindow* window)
{
    if (!window)
        return;
    if (GtkWidget* widget = static_cast<GtkWidget*>(window->GetHandle()))
        ApplyToWidget(widget, nullptr);
}

void SetToolTipsEnabled(bool on)
{
    g_enabled = on;
    if (!on && !g_filter) {
        g_filter = new ShowFilter;
        wxEvtHandler::AddFilter(g_filter);
    }
    for (wxWindow* window : wxTopLevelWindows)
        ApplyToolTips(window);
}

bool ToolTipsEnabled()
{
    return g_enabled;
}
