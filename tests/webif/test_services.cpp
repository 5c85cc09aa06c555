// Reading service-list replies into values, and the position/path rules.
#include <gtest/gtest.h>

#include "padded.h"
#include "webif/services.h"

namespace {

const char* kReply =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<e2servicelistrecursive>\n"
    "\t<e2bouquet>\n"
    "\t\t<e2servicereference>1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.fav.tv\" ORDER BY bouquet</e2servicereference>\n"
    "\t\t<e2servicename>\xc2\x86" "Fav\xc2\x87oriten &amp; Co</e2servicename>\n"
    "\t\t<e2servicelist>\n"
    "\t\t\t<e2service>\n"
    "\t\t\t\t<e2servicereference>1:64:1:0:0:0:0:0:0:0::Nachrichten</e2servicereference>\n"
    "\t\t\t\t<e2servicename>Nachrichten</e2servicename>\n"
    "\t\t\t</e2service>\n"
    "\t\t\t<e2service>\n"
    "\t\t\t\t<e2servicereference>1:0:1:6D66:437:1:C00000:0:0:0:</e2servicereference>\n"
    "\t\t\t\t<e2servicename>\xc2\x86Zweites\xc2\x87 Programm HD</e2servicename>\n"
    "\t\t\t</e2service>\n"
    "\t\t\t<e2service><e2servicereference>1:0:1:1:2:1:C00000:0:0:0:</e2servicereference></e2service>\n"
    "\t\t\t<e2service><e2servicereference>1:0:1:2:2:1:C00000:0:0:0:</e2servicereference>"
    "<e2servicename>Ümlaut</e2servicename><e2other>x</e2other></e2service>\n"
    "\t\t</e2servicelist>\n"
    "\t</e2bouquet>\n"
    "\t<e2other/>\n"
    "\t<e2bouquet>\n"
    "\t\t<e2servicereference>1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.empty.tv\" ORDER BY bouquet</e2servicereference>\n"
    "\t\t<e2servicename>Leer</e2servicename>\n"
    "\t\t<e2servicelist>\n"
    "\t\t</e2servicelist>\n"
    "\t</e2bouquet>\n"
    "</e2servicelistrecursive>\n";

}  // namespace

TEST(ServiceListParse, BouquetsServicesAndMarkersInReplyOrder)
{
    for (const wxString& reply : {wxString::FromUTF8(kReply), Padded(wxString::FromUTF8(kReply))}) {
        SCOPED_TRACE(reply.Left(300));
        std::vector<ServiceBouquet> list;
        ASSERT_TRUE(ParseServiceList(reply, list));
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].ref, wxString(wxT("1:7:1:0:0:0:0:0:0:0:FROM%20BOUQUET%20\"userbouquet.fav.tv\"%20ORDER%20BY%20bouquet")));
        // DVB emphasis marks (U+0086/U+0087) would show as boxes.
        EXPECT_EQ(list[0].name, wxString(wxT("Favoriten & Co")));
        // The entry without a name is not an entry; markers are.
        ASSERT_EQ(list[0].services.size(), 3u);
        EXPECT_TRUE(IsMarkerSRef(list[0].services[0].ref));
        EXPECT_EQ(list[0].services[0].name, wxString(wxT("Nachrichten")));
        EXPECT_EQ(list[0].services[1].ref, wxString(wxT("1:0:1:6D66:437:1:C00000:0:0:0:")));
        EXPECT_EQ(list[0].services[1].name, wxString(wxT("Zweites Programm HD")));
        EXPECT_FALSE(IsMarkerSRef(list[0].services[1].ref));
        EXPECT_EQ(list[0].services[2].name, wxString::FromUTF8("Ümlaut"));
        EXPECT_EQ(list[1].name, wxString(wxT("Leer")));
        EXPECT_TRUE(list[1].services.empty());
    }
}

TEST(ServiceListParse, OtherDocumentsAddNothing)
{
    std::vector<ServiceBouquet> list;
    EXPECT_FALSE(ParseServiceList(wxT(""), list));
    EXPECT_FALSE(ParseServiceList(wxT("<e2servicelist><e2bouquet/></e2servicelist>"), list));
    EXPECT_FALSE(ParseServiceList(wxT("<e2servicelistrecursive><e2bouquet>"), list));  // cut short
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(ParseServiceList(wxT("<e2servicelistrecursive/>"), list));
    EXPECT_TRUE(list.empty());
}

TEST(ServiceListRules, RequestPathsOfTheFourKinds)
{
    EXPECT_EQ(ServiceListPath(LIST_TV_BOUQUETS),
              wxString(wxT("getallservices?sRef=1:7:1:0:0:0:0:0:0:0:(type%20==%201)%20||%20(type%20==%2017)%20||%20"
                           "(type%20==%20195)%20||%20(type%20==%2025)FROM%20BOUQUET%20\"bouquets.tv\"%20ORDER%20BY%20bouquet")));
    EXPECT_EQ(ServiceListPath(LIST_TV_PROVIDERS),
              wxString(wxT("getallservices?sRef=1:7:1:0:0:0:0:0:0:0:(type%20==%201)%20||%20(type%20==%2017)%20||%20"
                           "(type%20==%20195)%20||%20(type%20==%2025)%20FROM%20PROVIDERS%20ORDER%20BY%20name")));
    EXPECT_EQ(ServiceListPath(LIST_RA_PROVIDERS),
              wxString(wxT("getallservices?sRef=1:7:2:0:0:0:0:0:0:0:(type%20==%202)%20FROM%20PROVIDERS%20ORDER%20BY%20name")));
    EXPECT_EQ(ServiceListPath(LIST_RA_BOUQUETS),
              wxString(wxT("getallservices?sRef=1:7:2:0:0:0:0:0:0:0:(type%20==%202)FROM%20BOUQUET%20\"bouquets.radio\"%20ORDER%20BY%20bouquet")));
    EXPECT_TRUE(ServiceListPath(4).empty());
}

TEST(ServiceListRules, RecordingOrderBySortMode)
{
    const wxString older = wxT("1600000000"), newer = wxT("1700000000");
    EXPECT_LT(CompareRecordingItems(wxT("Anfang"), newer, wxT("Ende"), older, 0), 0);
    EXPECT_GT(CompareRecordingItems(wxT("Anfang"), newer, wxT("Ende"), older, 1), 0);
    EXPECT_GT(CompareRecordingItems(wxT("Anfang"), newer, wxT("Ende"), older, 2), 0);
    EXPECT_LT(CompareRecordingItems(wxT("Anfang"), newer, wxT("Ende"), older, 3), 0);
    EXPECT_EQ(CompareRecordingItems(wxT("Anfang"), newer, wxT("Ende"), newer, 2), 0);
    EXPECT_EQ(CompareRecordingItems(wxT("Anfang"), newer, wxT("Ende"), newer, 3), 0);
    EXPECT_LT(CompareRecordingItems(wxT("Anfang"), newer, wxT("Ende"), older, 7), 0);
    EXPECT_LT(CompareRecordingItems(wxT("Zebra"), newer, wxT("anfang"), older, 0), 0);
}
