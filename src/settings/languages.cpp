#include "settings/languages.h"

#include <algorithm>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/log.h>

std::vector<LanguageFile> FindLanguages(const wxString& lngDir)
{
    std::vector<LanguageFile> found;
    if (!wxDirExists(lngDir))
        return found;
    wxArrayString files;
    {
        wxLogNull quiet;   // an unreadable sub-directory is no reason for a box
        wxDir::GetAllFiles(lngDir, &files, wxT("*.mo"), wxDIR_FILES | wxDIR_DIRS);
    }
    files.Sort();
    for (const wxString& path : files) {
        const wxFileName name(path);
        if (!name.GetExt().IsSameAs(wxT("mo"), false))
            continue;
        LanguageFile lang;
        lang.code = name.GetName().Upper();
        if (lang.code.empty() || lang.code == wxT("DE"))
            continue;
        lang.mo = path;
        wxFileName png(name);
        png.SetExt(wxT("png"));
        if (png.FileExists())
            lang.flag = png.GetFullPath();
        found.push_back(lang);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const LanguageFile& a, const LanguageFile& b) { return a.code < b.code; });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const LanguageFile& a, const LanguageFile& b) { return a.code == b.code; }),
                found.end());
    return found;
}

wxString FindCatalogue(const wxString& lngDir, const wxString& code)
{
    const wxString direct = lngDir + wxFILE_SEP_PATH + code.Lower() + wxT(".mo");
    if (wxFileName::FileExists(direct))
        return direct;
    for (const LanguageFile& lang : FindLanguages(lngDir)) {
        if (lang.code.IsSameAs(code, false))
            return lang.mo;
    }
    return wxString();
}
