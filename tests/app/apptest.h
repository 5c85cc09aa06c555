// Helpers shared by the application-core tests.
#pragma once

#include <cstdlib>
#include <string>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/string.h>

// A fresh directory below /tmp, with a trailing separator.
inline wxString MakeTempDir()
{
    char tmpl[] = "/tmp/zpapp.XXXXXX";
    const char* dir = mkdtemp(tmpl);
    return wxString::FromUTF8(dir ? dir : "/tmp") + wxT("/");
}

inline std::string ReadBytes(const wxString& path)
{
    wxFFile f(path, wxT("rb"));
    std::string out;
    if (!f.IsOpened())
        return out;
    char buf[4096];
    size_t n;
    while ((n = f.Read(buf, sizeof buf)) > 0)
        out.append(buf, n);
    return out;
}

inline void WriteBytes(const wxString& path, const std::string& bytes)
{
    wxFFile f(path, wxT("wb"));
    f.Write(bytes.data(), bytes.size());
}

inline wxString ReadText(const wxString& path)
{
    const std::string b = ReadBytes(path);
    return wxString::FromUTF8(b.data(), b.size());
}

#include "support/resources.h"
