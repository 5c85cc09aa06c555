#include "app/config.h"
ZPCONFIG config;
int GetConfig() { return 0; }
bool SetConfig(bool) { return false; }
wxString SeparateValue(const wxString& d) { return d; }
