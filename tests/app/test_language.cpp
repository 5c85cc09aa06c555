#include <gtest/gtest.h>

#include <map>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/translation.h>

#include "app/config.h"
#include "app/language.h"
#include "apptest.h"

namespace {

void Put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back(char((v >> (8 * i)) & 0xff));
}

// A little-endian GNU catalogue; the header is the translation of "".
std::string BuildMo(const std::string& header, const std::map<std::string, std::string>& more = {})
{
    std::map<std::string, std::string> entries(more);
    entries[""] = header;
    const uint32_t n = uint32_t(entries.size());
    const uint32_t origTable = 28, transTable = origTable + 8 * n;
    uint32_t data = transTable + 8 * n;
    std::string tables, strings;
    std::string orig, trans;
    for (const auto& e : entries) {
        Put32(orig, uint32_t(e.first.size()));
        Put32(orig, data + uint32_t(strings.size()));
        strings += e.first;
        strings.push_back('\0');
    }
    for (const auto& e : entries) {
        Put32(trans, uint32_t(e.second.size()));
        Put32(trans, data + uint32_t(strings.size()));
        strings += e.second;
        strings.push_back('\0');
    }
    std::string mo;
    Put32(mo, 0x950412de);
    Put32(mo, 0);
    Put32(mo, n);
    Put32(mo, origTable);
    Put32(mo, transTable);
    Put32(mo, 0);
    Put32(mo, 0);
    return mo + orig + trans + strings;
}

const char kHeader[] =
    "Project-Id-Version: Zappora E2\n"
    "Language-Team: Jörg Übersetzer <joerg@example.org>\n"
    "MIME-Version: 1.0\n"
    "Content-Type: text/plain; charset=UTF-8\n"
    "Content-Transfer-Encoding: 8bit\n";

}  // namespace

TEST(TranslatorCredit, FromTheCatalogueHeader)
{
    wxString credit;
    ASSERT_TRUE(ReadMoTranslatorCredit(BuildMo(kHeader), &credit));
    EXPECT_EQ(credit, wxT("Jörg Übersetzer "));

    ASSERT_TRUE(ReadMoTranslatorCredit(BuildMo("Language-Team: Team ohne Adresse\nX: y\n"), &credit));
    EXPECT_EQ(credit, wxT("Team ohne Adresse"));

    credit = wxT("intern ");
    EXPECT_FALSE(ReadMoTranslatorCredit(BuildMo("Project-Id-Version: x\nContent-Type: text/plain; charset=UTF-8\n"),
                                        &credit));
    EXPECT_EQ(credit, wxT("intern "));
}

TEST(TranslatorCredit, OnlyTheFirst512BytesOfTheHeaderCount)
{
    wxString credit;
    std::string late = std::string(600, 'x') + "\nLanguage-Team: Spät\n";
    EXPECT_FALSE(ReadMoTranslatorCredit(BuildMo(late), &credit));
    // a window ending inside a multi-byte character still decodes
    std::string cut = "Language-Team: Ä\n" + std::string(493, 'a') + "ü";
    ASSERT_TRUE(ReadMoTranslatorCredit(BuildMo(cut), &credit));
    EXPECT_EQ(credit, wxT("Ä"));
}

TEST(TranslatorCredit, DamagedFilesAreRejected)
{
    wxString credit;
    EXPECT_FALSE(ReadMoTranslatorCredit(std::string(), &credit));
    EXPECT_FALSE(ReadMoTranslatorCredit(std::string(40, '\0'), &credit));
    std::string mo = BuildMo(kHeader);
    std::string badTable = mo;
    badTable[16] = '\xff';
    badTable[17] = '\xff';
    EXPECT_FALSE(ReadMoTranslatorCredit(badTable, &credit));
    EXPECT_FALSE(ReadMoTranslatorCredit(mo.substr(0, 40), &credit));
}

class Language : public ::testing::Test {
protected:
    void SetUp() override
    {
        bin = MakeTempDir();
        wxFileName::Mkdir(bin + wxT("lng"));
    }
    void TearDown() override { wxFileName::Rmdir(bin, wxPATH_RMDIR_RECURSIVE); }
    wxString bin;
};

TEST_F(Language, GermanIsBuiltInAndTheFallback)
{
    ZPCONFIG c;
    c.language = wxT("de");
    WriteBytes(bin + wxT("lng/de.mo"), BuildMo(kHeader));
    SetupLanguage(c, bin);
    EXPECT_EQ(c.language, wxT("de"));
    EXPECT_EQ(c.translator, wxT("intern "));
    c.language = wxT("EN");   // no catalogue for it
    SetupLanguage(c, bin);
    EXPECT_EQ(c.language, wxT("DE"));
    EXPECT_EQ(c.translator, wxT("intern "));
}

TEST_F(Language, CatalogueIsLoadedWithItsCredit)
{
    wxLocale locale(wxLANGUAGE_DEFAULT, wxLOCALE_LOAD_DEFAULT);
    WriteBytes(bin + wxT("lng/en.mo"),
               BuildMo(kHeader, {{"Fehler", "Error"}, {"Die Logdatei konnte nicht erstellt werden!",
                                                       "The log file could not be created!"}}));
    ZPCONFIG c;
    c.language = wxT("EN");
    SetupLanguage(c, bin);
    EXPECT_EQ(c.language, wxT("EN"));
    EXPECT_EQ(c.translator, wxT("Jörg Übersetzer "));
    EXPECT_EQ(wxGetTranslation(wxT("Die Logdatei konnte nicht erstellt werden!")),
              wxT("The log file could not be created!"));
}
