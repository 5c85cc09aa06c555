// The settings dialog driven through its controls under Xvfb.
#include "setup_fixture.h"

#include <gtk/gtk.h>
#include <wx/ffile.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/stattext.h>

#include "settings/preview.h"
#include "stream/pip.h"

namespace {

std::vector<wxString> Listed(wxBitmapComboBox* box)
{
    std::vector<wxString> names;
    for (unsigned i = 0; i < box->GetCount(); i++)
        names.push_back(box->GetString(i));
    return names;
}

std::vector<wxString> CopyNames(const ProfileList& list)
{
    std::vector<wxString> names;
    for (int i = 0; i < list.count(); i++)
        names.push_back(list.at(i).name);
    return names;
}

}  // namespace

TEST_F(SetupTest, ControlsShowTheRecord)
{
    config.tvproviders = config.raproviders = 1;
    config.lband = -3.5;
    config.contrast = 1.25;
    config.pipposition = 5;
    config.pipalpha = 0.3;
    config.sortmode = 3;
    Open(MySetupDialog::PAGE_NETWORK);

    EXPECT_FALSE(dialog->defaultButton->IsEnabled());   // profiles have no factory values
    EXPECT_EQ(dialog->channels->GetSelection(), 3);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("-3.5"));
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_CONTRAST]->GetLabel(), wxT("+1.25"));
    EXPECT_TRUE(dialog->pipRadio[4]->GetValue());
    EXPECT_EQ(dialog->pipAlphaLabel->GetLabel(), wxT("3"));
    EXPECT_EQ(dialog->sortMode->GetSelection(), 3);
    EXPECT_FALSE(dialog->proxyHost->IsEnabled());

    EXPECT_EQ(Listed(dialog->profileChoice), (std::vector<wxString>{ wxT("Wohnzimmer"), wxT("Keller") }));
    EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.20"));
    EXPECT_FALSE(dialog->upButton->IsEnabled());
    EXPECT_TRUE(dialog->downButton->IsEnabled());
    Choose(dialog->profileChoice, 1);
    EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.21"));
    EXPECT_TRUE(dialog->upButton->IsEnabled());
    EXPECT_FALSE(dialog->downButton->IsEnabled());
    EXPECT_FALSE(dialog->changed());   // looking is no change

    ShowPage(MySetupDialog::PAGE_PROXY);
    EXPECT_TRUE(dialog->defaultButton->IsEnabled());
}

TEST_F(SetupTest, FieldsAndHttpsWriteIntoTheChosenProfile)
{
    Open(MySetupDialog::PAGE_NETWORK);
    Choose(dialog->profileChoice, 1);
    Type(dialog->host, wxT(" 10.0.0.7 "));
    Type(dialog->streamPort, wxT("abc"));
    Type(dialog->password, wxT("p@ss word"));
    Toggle(dialog->https, true);
    const ZPPROFILE& p = dialog->profiles().at(1);
    EXPECT_EQ(p.host, wxT("10.0.0.7"));
    EXPECT_EQ(p.sport, 0);
    EXPECT_EQ(p.pass, wxT("p@ss word"));
    EXPECT_EQ(dialog->webPort->GetValue(), wxT("443"));
    EXPECT_EQ(p.wport, 443);
    EXPECT_EQ(p.https, 1);
    Toggle(dialog->https, false);
    EXPECT_EQ(dialog->webPort->GetValue(), wxT("80"));
    EXPECT_EQ(p.wport, 80);
    EXPECT_EQ(dialog->profiles().at(0).host, wxT("192.168.178.20"));
    // back and forth keeps what was typed
    Choose(dialog->profileChoice, 0);
    Choose(dialog->profileChoice, 1);
    EXPECT_EQ(dialog->password->GetValue(), wxT("p@ss word"));
    EXPECT_TRUE(dialog->changed());
}

TEST_F(SetupTest, TenProfilesDisableAdd)
{
    Open(MySetupDialog::PAGE_NETWORK);
    SetTextPrompt([](const wxString& message, const wxString& value, wxString* answer) {
        EXPECT_EQ(message, wxT("Name für das neue Profil:"));
        EXPECT_TRUE(value.empty());
        *answer = wxT("  ");
        return true;   // no name: no profile
    });
    Click(dialog->addButton);
    EXPECT_EQ(dialog->profiles().count(), 2);

    for (int n = 3; n <= 10; n++) {
        AnswerName(wxString::Format(wxT("Box %d"), n));
        Click(dialog->addButton);
        ASSERT_EQ(dialog->profiles().count(), n);
        EXPECT_EQ(dialog->profileChoice->GetSelection(), n - 1);
    }
    EXPECT_FALSE(dialog->addButton->IsEnabled());
    EXPECT_EQ(dialog->profileChoice->GetCount(), 10u);
    // the new profile as the add button makes it
    EXPECT_EQ(dialog->host->GetValue() + dialog->webPort->GetValue() + dialog->streamPort->GetValue() +
                  dialog->user->GetValue() + dialog->password->GetValue(),
              wxT("127.0.0.1808001rootzaptower"));
    MessageBoxRecorder boxes(wxYES);
    Click(dialog->deleteButton);
    EXPECT_TRUE(dialog->addButton->IsEnabled());
}

TEST_F(SetupTest, MovingRenamingAndDeletingKeepListAndCopyInStep)
{
    config.profile[2] = TestProfile("Garten", "192.168.178.22");
    config.profiles = 3;
    Open(MySetupDialog::PAGE_NETWORK);

    Choose(dialog->profileChoice, 2);
    Click(dialog->upButton);
    EXPECT_EQ(Listed(dialog->profileChoice), (std::vector<wxString>{ wxT("Wohnzimmer"), wxT("Garten"), wxT("Keller") }));
    EXPECT_EQ(CopyNames(dialog->profiles()), Listed(dialog->profileChoice));
    EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.22"));
    Click(dialog->upButton);
    EXPECT_FALSE(dialog->upButton->IsEnabled());
    Click(dialog->downButton);
    Click(dialog->downButton);
    EXPECT_EQ(Listed(dialog->profileChoice), (std::vector<wxString>{ wxT("Wohnzimmer"), wxT("Keller"), wxT("Garten") }));
    EXPECT_FALSE(dialog->downButton->IsEnabled());

    AnswerName(wxT("Terrasse"));
    Click(dialog->renameButton);
    EXPECT_EQ(dialog->profileChoice->GetString(2), wxT("Terrasse"));
    EXPECT_EQ(dialog->profiles().at(2).name, wxT("Terrasse"));

    const RecordedBox asked = OneBox([&] { Click(dialog->deleteButton); }, wxNO);
    EXPECT_EQ(asked.text, wxT("Soll das Profil \"Terrasse\" wirklich gelöscht werden?"));
    EXPECT_TRUE(asked.style & wxNO_DEFAULT);
    EXPECT_EQ(dialog->profiles().count(), 3);
    OneBox([&] { Click(dialog->deleteButton); });
    EXPECT_EQ(CopyNames(dialog->profiles()), Listed(dialog->profileChoice));
    EXPECT_EQ(dialog->profileChoice->GetSelection(), 1);
    EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.21"));

    config.expertmode = 1;   // nothing to confirm
    MessageBoxRecorder boxes(wxNO);
    Click(dialog->deleteButton);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(Listed(dialog->profileChoice), (std::vector<wxString>{ wxT("Wohnzimmer") }));
    for (wxButton* b : { dialog->deleteButton, dialog->upButton, dialog->downButton })
        EXPECT_FALSE(b->IsEnabled()) << b->GetName();
}

TEST_F(SetupTest, EveryRefusalNamesItsFaultAndLeavesTheRecordAlone)
{
    const ZPCONFIG before = config;
    Open(MySetupDialog::PAGE_GENERAL);
    // edits of the pages whose values an apply stores first
    Choose(dialog->channels, 3);
    Type(dialog->timerDir, wxT("media/usb"));
    Toggle(dialog->epgSimilar, false);
    Slide(dialog->avBar[MySetupDialog::AV_LOW], 100);
    Slide(dialog->avBar[MySetupDialog::AV_BRIGHTNESS], 150);
    Choose(dialog->profileChoice, 1);
    const struct {
        std::function<void()> edit;
        const wchar_t* message;
        int page;
    } cases[] = {
        { [&] { Type(dialog->host, wxT("127.0.0.1")); Type(dialog->password, wxString()); },
          L"Das Profil \"Keller\" ist unvollständig.\n\nBitte alle Felder ausfüllen!", MySetupDialog::PAGE_NETWORK },
        { [&] { Type(dialog->password, wxT("x")); Type(dialog->host, wxT("keller box")); },
          L"Ungültige Adresse für Profil \"Keller\":\n\nkeller box", MySetupDialog::PAGE_NETWORK },
        { [&] { Type(dialog->host, wxT("10.1.1.1")); Type(dialog->streamPort, wxT("70000")); },
          L"Ungültiger Port für Profil \"Keller\":\n\n70000", MySetupDialog::PAGE_NETWORK },
        { [&] { Type(dialog->streamPort, wxT("8001")); Toggle(dialog->proxyMode, true); Type(dialog->proxyHost, wxT("proxy")); },
          L"Die Proxy-Einstellungen sind unvollständig.\n\nBitte alle Felder ausfüllen!", MySetupDialog::PAGE_PROXY },
        { [&] { Type(dialog->proxyPort, wxT("99999")); Type(dialog->proxyUser, wxT("u")); Type(dialog->proxyPass, wxT("p")); },
          L"Ungültiger Proxy-Port!", MySetupDialog::PAGE_PROXY },
        { [&] { Type(dialog->proxyPort, wxT("3128")); Type(dialog->skipTime, wxT("0")); },
          L"Die Sprungweite muss eine ganze Zahl von Sekunden sein (mindestens 1).", MySetupDialog::PAGE_REC },
    };
    for (const auto& c : cases) {
        ShowPage(MySetupDialog::PAGE_GENERAL);
        c.edit();
        const RecordedBox box = OneBox([&] { EXPECT_FALSE(dialog->Apply()); });
        EXPECT_EQ(box.text, wxString(c.message));
        EXPECT_EQ(box.caption, wxT("Zappora E2"));
        EXPECT_TRUE(box.style & wxICON_EXCLAMATION);
        EXPECT_EQ(dialog->book->GetSelection(), c.page) << wxString(c.message);
        EXPECT_EQ(dialog->GetReturnCode(), 0);
    }
    // nothing half-applied survives leaving without applying
    EXPECT_EQ(OneBox([&] { Click(dialog->cancelButton); }).text, wxT("Alle Änderungen wirklich verwerfen?"));
    EXPECT_EQ(dialog->GetReturnCode(), MySetupDialog::RESULT_DISCARDED);
    EXPECT_EQ(config.tvproviders, before.tvproviders);
    EXPECT_EQ(config.timerdir, before.timerdir);
    EXPECT_EQ(config.epgsimilar, before.epgsimilar);
    EXPECT_DOUBLE_EQ(config.lband, before.lband);
    EXPECT_DOUBLE_EQ(config.brightness, before.brightness);
    EXPECT_EQ(config.profile[1].host, wxT("192.168.178.21"));
    EXPECT_FALSE(config.proxymode);
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("zappora.cfg")));
}

TEST_F(SetupTest, ApplyWritesTheFileAndRelabelsTheMenus)
{
    runConfig = true;
    Open(MySetupDialog::PAGE_NETWORK);
    AnswerName(wxT("Ferien & Co"));
    Click(dialog->addButton);
    Type(dialog->host, wxT("10.0.0.5"));
    Choose(dialog->channels, 2);
    Type(dialog->timerDir, wxT("media/usb"));
    Choose(dialog->sortMode, 2);
    Slide(dialog->avBar[MySetupDialog::AV_HIGH], 245);
    Slide(dialog->avBar[MySetupDialog::AV_COLOR], 150);
    Pick(dialog->pipRadio[3]);
    Slide(dialog->pipAlpha, 4);
    Toggle(dialog->proxyMode, true);
    Type(dialog->proxyHost, wxT("proxy.lan"));
    Type(dialog->proxyPort, wxT("3128"));
    Type(dialog->proxyUser, wxT("pu"));
    Type(dialog->proxyPass, wxT("pp"));

    MessageBoxRecorder boxes;
    EXPECT_TRUE(dialog->Apply());
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(dialog->GetReturnCode(), MySetupDialog::RESULT_APPLIED);
    EXPECT_FALSE(runConfig);

    int count = 0;
    const ZPCONFIG file = FileContent(&count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(file.profile[2].name, wxT("Ferien & Co"));
    EXPECT_EQ(file.profile[2].host, wxT("10.0.0.5"));
    EXPECT_EQ(file.tvproviders, 0);
    EXPECT_EQ(file.raproviders, 1);
    EXPECT_EQ(file.timerdir, wxT("/media/usb/"));
    EXPECT_EQ(file.sortmode, 2);
    EXPECT_DOUBLE_EQ(file.hband, 0.5);
    EXPECT_DOUBLE_EQ(file.color, 1.5);
    EXPECT_EQ(file.pipposition, 4);
    EXPECT_DOUBLE_EQ(file.pipalpha, 0.5);
    EXPECT_TRUE(file.proxyvalid && file.proxymode);

    EXPECT_EQ(SourceItem(2)->GetItemLabelText(), wxT("#3: Ferien & Co"));
    EXPECT_EQ(SourceItem(3)->GetItemLabelText(), wxT("#4: unbenutzt"));
    EXPECT_TRUE(SourceItem(2)->IsEnabled() && !SourceItem(3)->IsEnabled());
    EXPECT_TRUE(SourceItem(0)->IsChecked());
    EXPECT_TRUE(MainFrame->menuHD->FindItem(XRCID("ID_MENUITEM_HD_SORT_09"))->IsChecked());
}

TEST_F(SetupTest, AFailedWriteIsReportedAndLosesNothing)
{
    // a directory where the file belongs: the rename cannot replace it
    ASSERT_TRUE(wxFileName::Mkdir(CFG_PATH + wxT("zappora.cfg"), 0700));
    Open(MySetupDialog::PAGE_GENERAL);
    Type(dialog->timerTag, wxT("Neu"));
    const RecordedBox box = OneBox([&] { EXPECT_FALSE(dialog->Apply()); });
    EXPECT_TRUE(box.text.StartsWith(wxT("Die Konfiguration konnte nicht gespeichert werden!"))) << box.text;
    EXPECT_TRUE(box.style & wxICON_ERROR);
    EXPECT_EQ(dialog->GetReturnCode(), 0);
    EXPECT_EQ(config.timertag, wxT("Zappora"));
    EXPECT_EQ(dialog->timerTag->GetValue(), wxT("Neu"));

    ASSERT_TRUE(wxFileName::Rmdir(CFG_PATH + wxT("zappora.cfg")));
    MessageBoxRecorder boxes;
    EXPECT_TRUE(dialog->Apply());
    EXPECT_EQ(FileContent().timertag, wxT("Neu"));
}

TEST_F(SetupTest, FactoryValuesOfEachPage)
{
    config.tvproviders = 1;
    config.timertag = wxT("X");
    config.tooltips = 0;
    config.proxymode = true;
    config.contrast = 1.8;
    config.pipposition = 5;
    config.pipsize = 45;
    config.skiptime = 60;
    Open(MySetupDialog::PAGE_GENERAL);

    EXPECT_EQ(OneBox([&] { Click(dialog->defaultButton); }, wxNO).text,
              wxT("Alle Einstellungen für diese Seite wirklich auf Standardwerte zurücksetzen?"));
    EXPECT_EQ(dialog->channels->GetSelection(), 1);
    MessageBoxRecorder boxes(wxYES);
    Click(dialog->defaultButton);
    EXPECT_EQ(dialog->channels->GetSelection(), 0);
    EXPECT_EQ(dialog->timerDir->GetValue(), wxT("/hdd/movie/"));
    EXPECT_EQ(dialog->timerTag->GetValue(), wxT("Zappora"));
    EXPECT_TRUE(dialog->toolTips->GetValue());

    ShowPage(MySetupDialog::PAGE_PROXY);
    Click(dialog->defaultButton);
    EXPECT_FALSE(dialog->proxyMode->GetValue());
    EXPECT_FALSE(dialog->proxyHost->IsEnabled());

    ShowPage(MySetupDialog::PAGE_AV);
    Click(dialog->defaultButton);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_CONTRAST]->GetLabel(), wxT("+1.00"));
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("+0.0"));

    ShowPage(MySetupDialog::PAGE_PIP);
    Click(dialog->defaultButton);
    EXPECT_TRUE(dialog->pipRadio[1]->GetValue());
    EXPECT_EQ(dialog->pipSizeLabel->GetLabel(), wxT("33"));
    EXPECT_EQ(config.pipposition, 2);   // the inset moves at once

    ShowPage(MySetupDialog::PAGE_REC);
    Click(dialog->defaultButton);
    EXPECT_EQ(dialog->skipTime->GetValue(), wxT("15"));
    EXPECT_EQ(boxes.boxes().size(), 5u);

    // nothing reached the record but the picture-in-picture values, and
    // leaving without applying takes those back as well
    EXPECT_EQ(config.tvproviders, 1);
    EXPECT_EQ(config.skiptime, 60);
    Click(dialog->cancelButton);
    EXPECT_EQ(config.pipposition, 5);
    EXPECT_EQ(config.pipsize, 45);
}

TEST_F(SetupTest, LeavingAsksAfterAChangeUnlessInExpertMode)
{
    Open(MySetupDialog::PAGE_GENERAL);
    {
        MessageBoxRecorder boxes;
        Key(dialog->timerTag, WXK_ESCAPE);
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_EQ(dialog->GetReturnCode(), MySetupDialog::RESULT_DISCARDED);
    }
    dialog->SetReturnCode(0);
    Type(dialog->timerTag, wxT("anders"));
    {
        MessageBoxRecorder boxes(wxNO);
        Key(dialog->timerTag, WXK_ESCAPE);
        EXPECT_FALSE(dialog->Close());   // the close box asks the same
        EXPECT_EQ(boxes.boxes().size(), 2u);
        EXPECT_EQ(dialog->GetReturnCode(), 0);
    }
    EXPECT_EQ(OneBox([&] { Toggle(dialog->expertMode, true); }).text,
              wxT("Das Aktivieren dieser Option wird alle Sicherheitsrückfragen des Programmes abschalten!"));
    config.expertmode = 1;
    MessageBoxRecorder boxes(wxNO);
    Click(dialog->defaultButton);
    EXPECT_TRUE(dialog->Close());
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(dialog->GetReturnCode(), MySetupDialog::RESULT_DISCARDED);
    EXPECT_EQ(config.timertag, wxT("Zappora"));
}

TEST_F(SetupTest, ActiveReceiverStaysTheSameWhateverIsMoved)
{
    config.profile[2] = TestProfile("Garten", "192.168.178.22");
    config.profiles = 3;
    config.SelectProfile(1);   // "Keller" plays
    MessageBoxRecorder boxes(wxYES);
    Open(MySetupDialog::PAGE_NETWORK);
    EXPECT_EQ(dialog->profileChoice->GetSelection(), 1);
    Choose(dialog->profileChoice, 0);
    Click(dialog->deleteButton);   // "Wohnzimmer", before it
    Choose(dialog->profileChoice, 1);
    Click(dialog->upButton);       // "Garten" before it
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.profile_active, 1);
    EXPECT_EQ(config.active().host, wxT("192.168.178.21"));
    EXPECT_FALSE(config.keepConnection);
    EXPECT_TRUE(SourceItem(1)->IsChecked());
    EXPECT_EQ(SourceItem(1)->GetItemLabelText(), wxT("#2: Keller"));

    // The active one deleted: profile 1 is chosen, but the program keeps
    // talking to the receiver it plays from until the next switch.
    Open(MySetupDialog::PAGE_NETWORK);
    Click(dialog->deleteButton);
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.profile_active, 0);
    EXPECT_EQ(config.profile[0].name, wxT("Garten"));
    EXPECT_EQ(config.active().host, wxT("192.168.178.21"));
    config.SelectProfile(0);
    EXPECT_EQ(config.active().host, wxT("192.168.178.22"));

    // An edited address, too, waits for the next switch; the file holds the profiles.
    Open(MySetupDialog::PAGE_NETWORK);
    Type(dialog->host, wxT("192.168.178.99"));
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.active().host, wxT("192.168.178.22"));
    EXPECT_EQ(FileContent().profile[0].host, wxT("192.168.178.99"));

    // Except on the first start, where profile 1 is a placeholder (and the
    // valid ones behind it are kept).
    config.profile[1] = TestProfile("Dachboden", "192.168.178.23");
    config.profiles = 0;
    runConfig = true;
    Open(MySetupDialog::PAGE_NETWORK);
    EXPECT_EQ(Listed(dialog->profileChoice), (std::vector<wxString>{ wxT("Garten"), wxT("Dachboden") }));
    Type(dialog->host, wxT("10.9.8.7"));
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.active().host, wxT("10.9.8.7"));
    EXPECT_EQ(config.profiles, 2);
}

TEST_F(SetupTest, LanguagesFromCataloguesBelowLng)
{
    const wxString lng = BIN_PATH + wxT("lng");
    ASSERT_TRUE(wxFileName::Mkdir(lng + wxT("/fr"), 0755, wxPATH_MKDIR_FULL));
    for (const char* f : { "/en.mo", "/fr/fr.mo", "/de.mo", "/xx.mo" })
        wxFFile(lng + f, wxT("w")).Write(wxT("catalogue"));
    wxImage flag(20, 14);
    flag.SetRGB(wxRect(0, 0, 20, 14), 0, 0, 200);
    ASSERT_TRUE(flag.SaveFile(lng + wxT("/fr/fr.png"), wxBITMAP_TYPE_PNG));
    config.language = wxT("en");
    Open(MySetupDialog::PAGE_GENERAL);

    EXPECT_EQ(Listed(dialog->language), (std::vector<wxString>{ wxT("DE"), wxT("EN"), wxT("FR"), wxT("XX") }));
    EXPECT_EQ(dialog->language->GetSelection(), 1);
    for (unsigned i = 1; i < 4; i++)
        EXPECT_EQ(dialog->language->GetItemBitmap(i).GetSize(), dialog->language->GetItemBitmap(0).GetSize()) << i;
    // the picture next to the catalogue wins over the built-in flag
    const wxImage fr = dialog->language->GetItemBitmap(2).ConvertToImage();
    EXPECT_EQ(fr.GetBlue(fr.GetWidth() / 2, fr.GetHeight() / 2), 200);

    Choose(dialog->language, 2);
    const RecordedBox box = OneBox([&] { ASSERT_TRUE(dialog->Apply()); });
    EXPECT_EQ(box.text, wxT("Die gewählte Sprache wird erst beim nächsten Programmstart aktiv."));
    EXPECT_TRUE(box.style & wxICON_INFORMATION);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(config.language, wxT("FR"));
}

TEST_F(SetupTest, DirectoryChoosers)
{
    StartSim();
    Open(MySetupDialog::PAGE_REC);
    wxString asked;
    SetDirectoryPrompt([&](const wxString& message, const wxString& start, wxString* chosen) {
        EXPECT_EQ(message, wxT("Bitte das Aufnahmeverzeichnis auswählen:"));
        asked = start;
        *chosen = wxT("/srv/aufnahmen");
        return true;
    });
    Click(dialog->recButton);
    EXPECT_EQ(asked, CFG_PATH);
    EXPECT_EQ(dialog->recDir->GetValue(), wxT("/srv/aufnahmen/"));
    Click(dialog->recButton);
    EXPECT_EQ(asked, wxT("/srv/aufnahmen/"));

    // ignored receiver directories: offered as the receiver lists them
    Type(dialog->excludeDir, wxT("/hdd/movie/archiv/;/gibt/es/nicht/;"));
    wxArrayString offered;
    std::vector<int> preselected, answer = { 0 };
    SetChoicesPrompt([&](const wxString& message, const wxArrayString& choices, std::vector<int>* selection) {
        EXPECT_EQ(message, wxT("Bitte die zu ignorierenden Verzeichnisse auswählen:"));
        offered = choices;
        preselected = *selection;
        *selection = answer;
        return true;
    });
    {
        MessageBoxRecorder boxes(wxNO);
        Click(dialog->ignoreButton);
        EXPECT_EQ(wxJoin(offered, ';'), wxT("/hdd/movie/;/hdd/movie/archiv/"));
        EXPECT_EQ(preselected, (std::vector<int>{ 1 }));
        EXPECT_EQ(dialog->excludeDir->GetValue(), wxT("/hdd/movie/;"));
        EXPECT_EQ(sim->loggedPaths("web").back(), "/web/getlocations");

        // all or none chosen: asked first, and "no" changes nothing
        answer = { 0, 1 };
        Click(dialog->ignoreButton);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, wxT("Mit dieser Auswahl können keine Aufnahmen wiedergegeben werden.\n\n"
                                             "Wirklich alle Verzeichnisse ignorieren?"));
        EXPECT_TRUE(boxes.boxes()[0].style & wxNO_DEFAULT);
        EXPECT_EQ(dialog->excludeDir->GetValue(), wxT("/hdd/movie/;"));
        answer = {};
        boxes.setAnswer(wxYES);
        Click(dialog->ignoreButton);
        ASSERT_EQ(boxes.boxes().size(), 2u);
        EXPECT_EQ(boxes.boxes()[1].text, wxT("Mit dieser Auswahl können alle Aufnahmen wiedergegeben werden.\n\n"
                                             "Wirklich keine Verzeichnisse ignorieren?"));
        EXPECT_TRUE(dialog->excludeDir->GetValue().empty());
    }

    // a receiver that cannot answer: what the main window loaded earlier, or nothing
    sim->control("/control/fault?cmd=getlocations&status=500");
    offered.Clear();
    answer = { 0 };
    const RecordedBox none = OneBox([&] { Click(dialog->ignoreButton); });
    EXPECT_EQ(none.text, wxT("Es konnten keine Aufnahmepfade ermittelt werden."));
    EXPECT_TRUE(none.style & wxICON_EXCLAMATION);
    EXPECT_TRUE(offered.empty());
    MainFrame->movieLocations.Add(wxT("/media/hdd/movie/"));
    OneBox([&] { Click(dialog->ignoreButton); }, wxNO);   // the only one chosen: all of them
    EXPECT_EQ(wxJoin(offered, ';'), wxT("/media/hdd/movie/"));
}

TEST_F(SetupTest, PictureInPictureIsTriedOnlyWhileItRuns)
{
    static std::vector<int> placed;
    placed.clear();
    PiPPlacement = [](int position) { placed.push_back(position); };
    Open(MySetupDialog::PAGE_PIP);
    Slide(dialog->pipSize, 20);
    Pick(dialog->pipRadio[0]);
    EXPECT_TRUE(placed.empty());
    EXPECT_EQ(config.pipsize, 33);

    static char mixer;   // only its existence counts here
    videomixer = reinterpret_cast<GstElement*>(&mixer);
    Slide(dialog->pipSize, 30);
    EXPECT_EQ(config.pipsize, 40);
    Slide(dialog->pipOffset, 10);
    EXPECT_EQ(config.pipoffset, 10);
    Slide(dialog->pipAlpha, 2);
    EXPECT_DOUBLE_EQ(config.pipalpha, 0.3);
    Pick(dialog->pipRadio[2]);
    EXPECT_EQ(placed, (std::vector<int>{ 2, 2, 2, 3 }));

    OneBox([&] { Click(dialog->cancelButton); });
    EXPECT_EQ(config.pipsize, 33);
    EXPECT_EQ(config.pipoffset, 25);
    EXPECT_DOUBLE_EQ(config.pipalpha, 0.8);
    EXPECT_EQ(placed.back(), 2);
    videomixer = nullptr;
    PiPPlacement = nullptr;
}

namespace {

// Widgets below `widget` that would show a tool tip.
int WidgetsWithToolTips(GtkWidget* widget)
{
    int n = gtk_widget_get_has_tooltip(widget) ? 1 : 0;
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* c = children; c; c = c->next)
            n += WidgetsWithToolTips(GTK_WIDGET(c->data));
        g_list_free(children);
    }
    return n;
}

int WindowToolTips(wxWindow* window)
{
    return WidgetsWithToolTips(static_cast<GtkWidget*>(window->GetHandle()));
}

}  // namespace

TEST_F(SetupTest, ToolTipsAreSwitchedInEveryWindow)
{
    Open(MySetupDialog::PAGE_GENERAL);
    const int mainTips = WindowToolTips(MainFrame);
    const int dialogTips = WindowToolTips(dialog);
    ASSERT_GT(mainTips, 3);   // tool bar, TV control, volume
    ASSERT_GT(dialogTips, 3);
    Toggle(dialog->toolTips, false);
    MessageBoxRecorder boxes;
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(WindowToolTips(MainFrame), 0);
    EXPECT_EQ(WindowToolTips(dialog), 0);
    // texts set later stay hidden, windows opened later have none
    MainFrame->volumeGauge->SetToolTip(wxT("Lautstärke 7"));
    EXPECT_EQ(WindowToolTips(MainFrame), 0);
    Open(MySetupDialog::PAGE_GENERAL)->Show();
    EXPECT_EQ(WindowToolTips(dialog), 0);
    dialog->Hide();

    // and all come back
    Toggle(dialog->toolTips, true);
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(WindowToolTips(MainFrame), mainTips);
    EXPECT_EQ(WindowToolTips(dialog), dialogTips);
    EXPECT_EQ(MainFrame->volumeGauge->GetToolTipText(), wxT("Lautstärke 7"));
}
