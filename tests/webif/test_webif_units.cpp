// The plain building blocks of the request layer: encoding, decoding, URL
// and proxy choice.
#include <clocale>
#include <cstring>
#include <string>
#include <gtest/gtest.h>

#include "app/config.h"
#include "webif/webif.h"

namespace {
wxString U8(const char* s)
{
    return wxString::FromUTF8(s);
}
}  // namespace

TEST(EncodeURL, EscapesEverythingButUnreservedCharacters)
{
    EXPECT_STREQ(EncodeURL(wxT("a b")), "a%20b");
    EXPECT_STREQ(EncodeURL(wxT("x&y=z")), "x%26y%3Dz");
    EXPECT_STREQ(EncodeURL(U8("Ä")), "%C3%84");
    EXPECT_STREQ(EncodeURL(wxT("Az09-._~")), "Az09-._~");
    EXPECT_STREQ(EncodeURL(wxT("1:0:1:6DCA:44D:1:C00000:0:0:0:")),
                 "1%3A0%3A1%3A6DCA%3A44D%3A1%3AC00000%3A0%3A0%3A0%3A");
    EXPECT_STREQ(EncodeURL(wxT("/hdd/movie/a+b%")), "%2Fhdd%2Fmovie%2Fa%2Bb%25");
    EXPECT_STREQ(EncodeURL(wxString()), "");
}

TEST(EncodeURL, CutsAt1023BytesWithoutBreakingAnEscapeOrACharacter)
{
    EXPECT_EQ(strlen(EncodeURL(wxString('a', 2000))), 1023u);

    // 1021 + "%20" would be 1024: the space is dropped whole, not cut to "%2".
    std::string enc = EncodeURL(wxString('a', 1021) + wxT(" "));
    EXPECT_EQ(enc, std::string(1021, 'a'));
    enc = EncodeURL(wxString('a', 1022) + wxT(" "));
    EXPECT_EQ(enc, std::string(1022, 'a'));
    enc = EncodeURL(wxString('a', 1020) + wxT(" "));
    EXPECT_EQ(enc, std::string(1020, 'a') + "%20");

    // "Ä" is six encoded bytes; half of it would be an invalid character.
    enc = EncodeURL(wxString('a', 1019) + U8("Ä"));
    EXPECT_EQ(enc, std::string(1019, 'a'));
    enc = EncodeURL(wxString('a', 1017) + U8("Ä"));
    EXPECT_EQ(enc, std::string(1017, 'a') + "%C3%84");
    // A cut right after a whole character keeps it.
    enc = EncodeURL(wxString('a', 1017) + U8("Äb"));
    EXPECT_EQ(enc, std::string(1017, 'a') + "%C3%84");
    enc = EncodeURL(wxString('a', 1014) + U8("€b"));
    EXPECT_EQ(enc, std::string(1014, 'a') + "%E2%82%AC");

    enc = EncodeURL(wxString(U8("Ä")[0], 400));
    EXPECT_EQ(enc.size(), 1020u);
    EXPECT_EQ(enc.substr(enc.size() - 6), "%C3%84");

    // Three-byte characters: 113 whole ones fit (1017 bytes).
    enc = EncodeURL(wxString(U8("€")[0], 200));
    EXPECT_EQ(enc.size(), 1017u);
    EXPECT_EQ(enc.substr(enc.size() - 9), "%E2%82%AC");

    // The locale form never leaves half an escape either.
    enc = EncodeURL(wxString('a', 1021) + wxT(" "), true);
    EXPECT_EQ(enc, std::string(1021, 'a'));
}

TEST(EncodeURL, LocaleFormFallsBackToUtf8WhenTheLocaleCannotExpressTheText)
{
    std::string saved = setlocale(LC_CTYPE, nullptr);
    setlocale(LC_CTYPE, "C");
    EXPECT_STREQ(EncodeURL(wxT("a b&c"), false), "a%20b%26c");
    EXPECT_STREQ(EncodeURL(U8("Käse"), true), "K%C3%A4se");
    if (setlocale(LC_CTYPE, "C.UTF-8")) {
        EXPECT_STREQ(EncodeURL(U8("Käse"), true), "K%C3%A4se");
    }
    setlocale(LC_CTYPE, saved.c_str());
}

TEST(DecodeReply, Utf8AndStrayBytes)
{
    auto dec = [](const std::string& s) { return DecodeReply(s.data(), s.size()); };
    EXPECT_EQ(dec("<e2>abc</e2>"), wxT("<e2>abc</e2>"));
    EXPECT_EQ(dec("\xC3\x84 \xE2\x82\xAC \xF0\x9F\x98\x80"), U8("Ä € 😀"));
    EXPECT_TRUE(dec("").empty());

    // Latin-1 text from a receiver is kept readable instead of emptying the reply.
    EXPECT_EQ(dec("K\xE4se"), U8("Käse"));
    // A sequence cut off at the end, an overlong form and a surrogate are not
    // characters: each byte stands for itself.
    EXPECT_EQ(dec("ab\xC3"), U8("abÃ"));
    EXPECT_EQ(dec("\xC0\x80"), wxString(wxUniChar(0xC0)) + wxUniChar(0x80));
    EXPECT_EQ(dec("\xED\xA0\x80").length(), 3u);
    EXPECT_EQ(dec("\xF4\x90\x80\x80").length(), 4u);  // beyond U+10FFFF
    EXPECT_EQ(dec("\xE2\x82" "x"), wxString(wxUniChar(0xE2)) + wxUniChar(0x82) + wxT("x"));
    // A lead byte followed by an ASCII byte does not swallow it.
    EXPECT_EQ(dec("\xC3<"), U8("Ã<"));

    std::string withNul("a\0b", 3);
    EXPECT_EQ(dec(withNul).length(), 3u);
}

TEST(WebIFURL, LongCommandsAreSentWhole)
{
    // A cut one could change a timer with half of its values.
    ZPPROFILE p;
    p.host = wxT("192.0.2.7");
    p.wport = 443;
    p.https = 1;
    std::string longPath = "timerchange?name=" + std::string(1500, 'x') + "&end=99";
    EXPECT_EQ(WebIFURL(p, longPath.c_str()), "https://192.0.2.7:443/web/" + longPath);
}

TEST(WebIFProxy, OnlyWhenCompleteAndSwitchedOn)
{
    ZPCONFIG c;
    c.proxy.host = wxT("proxy.local");
    c.proxy.port = 3128;
    c.proxy.user = wxT("u");
    c.proxy.pass = wxT("p");
    c.proxyvalid = true;
    c.proxymode = true;
    EXPECT_EQ(WebIFProxy(c), "proxy.local:3128");

    ZPCONFIG off = c;
    off.proxymode = false;
    EXPECT_EQ(WebIFProxy(off), "");

    ZPCONFIG noHost = c, noPort = c, noUser = c, noPass = c;
    noHost.proxy.host.clear();
    noPort.proxy.port = 0;
    noUser.proxy.user.clear();
    noPass.proxy.pass.clear();
    EXPECT_EQ(WebIFProxy(noHost), "");
    EXPECT_EQ(WebIFProxy(noPort), "");
    EXPECT_EQ(WebIFProxy(noUser), "");
    EXPECT_EQ(WebIFProxy(noPass), "");
}
