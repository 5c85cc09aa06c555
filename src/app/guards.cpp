#include "app/guards.h"

#include <climits>
#include <wx/app.h>
#include <wx/gauge.h>

namespace {
int g_yieldDepth = 0;
}

bool ZPYield()
{
    if (g_yieldDepth > 0 || !wxTheApp)
        return false;
    ++g_yieldDepth;
    wxTheApp->Yield(true);
    --g_yieldDepth;
    return true;
}

bool ZPYieldActive()
{
    return g_yieldDepth > 0;
}

void SetGaugeValue(wxGauge* gauge, long value)
{
    if (!gauge)
        return;
    const long range = gauge->GetRange();
    if (value < 0)
        value = 0;
    if (value > range)
        value = range;
    gauge->SetValue(int(value));
}

void SetGaugeRange(wxGauge* gauge, long range)
{
    if (!gauge)
        return;
    if (range < 1)
        range = 1;
    if (range > INT_MAX)
        range = INT_MAX;
    if (gauge->GetValue() > range)
        gauge->SetValue(int(range));
    gauge->SetRange(int(range));
}
