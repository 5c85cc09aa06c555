// The user-interface languages on offer: German is built in, every other
// one is a "<code>.mo" catalogue somewhere below the "lng" directory.
#pragma once

#include <vector>
#include <wx/string.h>

struct LanguageFile {
    wxString code;   // upper case, e.g. "EN"
    wxString mo;     // full path of the catalogue
    wxString flag;   // "<same path>.png" when that file exists, else empty
};

// Catalogues below lngDir (searched recursively), sorted by code; German and
// a code met twice are listed once (the first path in sorted order wins).
std::vector<LanguageFile> FindLanguages(const wxString& lngDir);

// The catalogue of one language code (any case) below lngDir, empty when there
// is none. "<lngDir>/<code>.mo" is preferred over one in a sub-directory.
wxString FindCatalogue(const wxString& lngDir, const wxString& code);
