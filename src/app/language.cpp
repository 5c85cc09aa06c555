#include "app/language.h"
#include "app/config.h"
#include "settings/languages.h"

#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/translation.h>

namespace {

const char kDomain[] = "zappora";

uint32_t Read32(const std::string& b, size_t at, bool bigEndian)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    if (bigEndian)
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// A 512-byte window may end inside a multi-byte character.
wxString DecodeUtf8Lenient(std::string bytes)
{
    for (int drop = 0; drop < 4 && !bytes.empty(); drop++) {
        wxString s = wxString::FromUTF8(bytes.data(), bytes.size());
        if (!s.empty())
            return s;
        bytes.pop_back();
    }
    return wxString();
}

// Serves the one catalogue file chosen by the user, whatever the system
// language is.
class LngFileLoader : public wxTranslationsLoader {
public:
    LngFileLoader(const wxString& file, const wxString& lang) : file_(file), lang_(lang) {}
    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString& lang) override
    {
        if (domain != kDomain || lang != lang_)
            return nullptr;
        return wxMsgCatalog::CreateFromFile(file_, domain);
    }
    wxArrayString GetAvailableTranslations(const wxString& domain) const override
    {
        wxArrayString langs;
        if (domain == kDomain)
            langs.Add(lang_);
        return langs;
    }
private:
    wxString file_;
    wxString lang_;
};

}  // namespace

bool ReadMoTranslatorCredit(const std::string& mo, wxString* credit)
{
    if (mo.size() < 20)
        return false;
    bool big = false;
    if (Read32(mo, 0, false) == 0x950412deu)
        big = false;
    else if (Read32(mo, 0, true) == 0x950412deu)
        big = true;
    else
        return false;
    const uint32_t table = Read32(mo, 16, big);
    if (size_t(table) + 8 > mo.size())
        return false;
    const uint32_t first = Read32(mo, table + 4, big);
    if (first >= mo.size())
        return false;
    std::string head = mo.substr(first, 512);
    const size_t nul = head.find('\0');
    if (nul != std::string::npos)
        head.resize(nul);
    const wxString text = DecodeUtf8Lenient(head);
    const int label = text.Find(wxT("Language-Team:"));
    if (label == wxNOT_FOUND)
        return false;
    wxString value = text.Mid(size_t(label) + 15);
    value = value.BeforeFirst(wxT('\n'));
    value = value.BeforeFirst(wxT('<'));
    *credit = value;
    return true;
}

void SetupLanguage(ZPCONFIG& cfg, const wxString& binPath)
{
    const wxString dir = binPath + wxT("lng");
    wxLocale::AddCatalogLookupPathPrefix(dir);
    cfg.translator = _(wxT("intern "));

    const wxString code = cfg.language.Lower();
    if (code == wxT("de"))
        return;
    // the settings offer catalogues from sub-directories as well
    const wxString file = FindCatalogue(dir, code);
    if (file.empty()) {
        cfg.language = wxT("DE");
        return;
    }

    wxTranslations* translations = wxTranslations::Get();
    if (!translations) {
        translations = new wxTranslations;
        wxTranslations::Set(translations);
    }
    translations->SetLanguage(code);
    translations->SetLoader(new LngFileLoader(file, code));
    translations->AddCatalog(kDomain, wxLANGUAGE_GERMAN);

    wxFFile in(file, wxT("rb"));
    if (!in.IsOpened())
        return;
    std::string bytes;
    char buffer[4096];
    size_t n;
    while ((n = in.Read(buffer, sizeof buffer)) > 0)
        bytes.append(buffer, n);
    wxString credit;
    if (ReadMoTranslatorCredit(bytes, &credit))
        cfg.translator = credit;
}
