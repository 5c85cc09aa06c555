// The user-interface language: German is built in, other languages come from
// "<code>.mo" catalogues in the "lng" directory next to the executable.
#pragma once

#include <string>
#include <wx/string.h>

struct ZPCONFIG;

// The translator credit from the header of a compiled catalogue: the
// "Language-Team:" value up to the line end and without an e-mail address.
// Returns false when the bytes carry no such header.
bool ReadMoTranslatorCredit(const std::string& mo, wxString* credit);

// Installs the catalogue of cfg.language (resetting it to "DE" when there is
// none) and sets cfg.translator. binPath ends with a separator.
void SetupLanguage(ZPCONFIG& cfg, const wxString& binPath);
