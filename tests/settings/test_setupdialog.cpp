// The settings dialog driven through its controls under Xvfb.
#include "setup_fixture.h"

#include <gtk/gtk.h>
#include <wx/ffile.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/stattext.h>

#include "mainwindow/framerules.h"
#include "settings/preview.h"
#include "stream/pip.h"
#include "support/sim.h"

namespace {

wxMenuItem* SourceItem(int index)
{
    return MainFrame->GetMenuBar()->FindItem(XRCID(SourceMenuItemName(index)));
}

std::vector<wxString> ListedNames(wxBitmapComboBox* box)
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
    config.tvproviders = 1;
    config.raproviders = 1;
    config.timerdir = wxT("/media/hdd/");
    config.expertmode = 1;
    config.lband = -3.5;
    config.contrast = 1.25;
    config.pipposition = 5;
    config.pipalpha = 0.3;
    config.sortmode = 3;
    config.skiptime = 30;
    config.proxy.host = wxT("proxy.lan");
    Open(MySetupDialog::PAGE_NETWORK);

    EXPECT_EQ(dialog->book->GetSelection(), MySetupDialog::PAGE_NETWORK);
    EXPECT_EQ(dialog->book->GetPageCount(), 6u);
    EXPECT_EQ(dialog->book->GetPageText(3), wxT("Audio & Video"));
    EXPECT_EQ(dialog->channels->GetSelection(), 3);
    EXPECT_EQ(dialog->channels->GetString(3), wxT("komplette Senderlisten"));
    EXPECT_EQ(dialog->timerDir->GetValue(), wxT("/media/hdd/"));
    EXPECT_TRUE(dialog->expertMode->GetValue());
    EXPECT_TRUE(dialog->epgSimilar->GetValue());
    EXPECT_EQ(dialog->avBar[MySetupDialog::AV_LOW]->GetThumbPosition(), 205);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("-3.5"));
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_CONTRAST]->GetLabel(), wxT("+1.25"));
    EXPECT_TRUE(dialog->pipRadio[4]->GetValue());
    EXPECT_FALSE(dialog->pipRadio[1]->GetValue());
    EXPECT_EQ(dialog->pipAlphaLabel->GetLabel(), wxT("3"));
    EXPECT_EQ(dialog->pipSizeLabel->GetLabel(), wxT("33"));
    EXPECT_EQ(dialog->sortMode->GetString(3), wxT("nach Datum (9...0)"));
    EXPECT_EQ(dialog->sortMode->GetSelection(), 3);
    EXPECT_EQ(dialog->skipTime->GetValue(), wxT("30"));
    EXPECT_EQ(dialog->proxyHost->GetValue(), wxT("proxy.lan"));
    EXPECT_FALSE(dialog->proxyHost->IsEnabled());

    EXPECT_EQ(ListedNames(dialog->profileChoice), (std::vector<wxString>{ wxT("Wohnzimmer"), wxT("Keller") }));
    EXPECT_EQ(dialog->profileChoice->GetSelection(), 0);
    EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.20"));
    EXPECT_EQ(dialog->webPort->GetValue(), wxT("80"));
    EXPECT_EQ(dialog->streamPort->GetValue(), wxT("8001"));
    EXPECT_EQ(dialog->user->GetValue(), wxT("root"));
    EXPECT_EQ(dialog->password->GetValue(), wxT("geheim"));
    EXPECT_FALSE(dialog->upButton->IsEnabled());
    EXPECT_TRUE(dialog->downButton->IsEnabled());
    EXPECT_TRUE(dialog->deleteButton->IsEnabled());
    EXPECT_FALSE(dialog->changed());

    Choose(dialog->profileChoice, 1);
    EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.21"));
    EXPECT_TRUE(dialog->upButton->IsEnabled());
    EXPECT_FALSE(dialog->downButton->IsEnabled());
    EXPECT_FALSE(dialog->changed());   // looking is no change
}

TEST_F(SetupTest, DefaultButtonIsOffOnTheReceiverPageOnly)
{
    Open(MySetupDialog::PAGE_NETWORK);
    EXPECT_FALSE(dialog->defaultButton->IsEnabled());
    ShowPage(MySetupDialog::PAGE_PROXY);
    EXPECT_TRUE(dialog->defaultButton->IsEnabled());
    ShowPage(MySetupDialog::PAGE_NETWORK);
    EXPECT_FALSE(dialog->defaultButton->IsEnabled());
    // even when reached by its event, it resets nothing there
    MessageBoxRecorder boxes;
    dialog->ResetPage();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_FALSE(dialog->changed());
}

TEST_F(SetupTest, HttpsSwitchesTheWebPort)
{
    Open(MySetupDialog::PAGE_NETWORK);
    Toggle(dialog->https, true);
    EXPECT_EQ(dialog->webPort->GetValue(), wxT("443"));
    EXPECT_EQ(dialog->profiles().at(0).wport, 443);
    EXPECT_EQ(dialog->profiles().at(0).https, 1);
    Toggle(dialog->https, false);
    EXPECT_EQ(dialog->webPort->GetValue(), wxT("80"));
    EXPECT_EQ(dialog->profiles().at(0).wport, 80);
    EXPECT_EQ(dialog->profiles().at(0).https, 0);
    EXPECT_EQ(dialog->profiles().at(1).wport, 80);
    EXPECT_TRUE(dialog->changed());
}

TEST_F(SetupTest, FieldsWriteIntoTheChosenProfile)
{
    Open(MySetupDialog::PAGE_NETWORK);
    Choose(dialog->profileChoice, 1);
    Type(dialog->host, wxT(" 10.0.0.7 "));
    Type(dialog->webPort, wxT("8080"));
    Type(dialog->streamPort, wxT("abc"));
    Type(dialog->user, wxT("admin"));
    Type(dialog->password, wxT("p@ss word"));
    const ZPPROFILE& p = dialog->profiles().at(1);
    EXPECT_EQ(p.host, wxT("10.0.0.7"));
    EXPECT_EQ(p.wport, 8080);
    EXPECT_EQ(p.sport, 0);
    EXPECT_EQ(p.user, wxT("admin"));
    EXPECT_EQ(p.pass, wxT("p@ss word"));
    EXPECT_EQ(dialog->profiles().at(0).host, wxT("192.168.178.20"));
    // back and forth keeps what was typed
    Choose(dialog->profileChoice, 0);
    Choose(dialog->profileChoice, 1);
    EXPECT_EQ(dialog->user->GetValue(), wxT("admin"));
}

TEST_F(SetupTest, TenProfilesDisableAdd)
{
    Open(MySetupDialog::PAGE_NETWORK);
    SetTextPrompt([](const wxString& message, const wxString& value, wxString*) {
        EXPECT_EQ(message, wxT("Name für das neue Profil:"));
        EXPECT_TRUE(value.empty());
        return false;   // cancelled
    });
    Click(dialog->addButton);
    EXPECT_EQ(dialog->profiles().count(), 2);
    AnswerName(wxString());
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
    EXPECT_EQ(dialog->host->GetValue(), wxT("127.0.0.1"));
    EXPECT_EQ(dialog->webPort->GetValue(), wxT("80"));
    EXPECT_EQ(dialog->streamPort->GetValue(), wxT("8001"));
    EXPECT_EQ(dialog->user->GetValue(), wxT("root"));
    EXPECT_EQ(dialog->password->GetValue(), wxT("zaptower"));
    EXPECT_FALSE(dialog->downButton->IsEnabled());

    MessageBoxRecorder boxes(wxYES);
    Click(dialog->deleteButton);
    EXPECT_TRUE(dialog->addButton->IsEnabled());
}

TEST_F(SetupTest, MovingAndDeletingKeepListAndCopyInStep)
{
    config.profile[2] = TestProfile("Garten", "192.168.178.22");
    config.profiles = 3;
    Open(MySetupDialog::PAGE_NETWORK);

    Choose(dialog->profileChoice, 2);
    Click(dialog->upButton);
    EXPECT_EQ(CopyNames(dialog->profiles()), ListedNames(dialog->profileChoice));
    EXPECT_EQ(ListedNames(dialog->profileChoice),
              (std::vector<wxString>{ wxT("Wohnzimmer"), wxT("Garten"), wxT("Keller") }));
    EXPECT_EQ(dialog->profileChoice->GetSelection(), 1);
    EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.22"));
    Click(dialog->upButton);
    EXPECT_EQ(dialog->profileChoice->GetSelection(), 0);
    EXPECT_FALSE(dialog->upButton->IsEnabled());
    Click(dialog->downButton);
    Click(dialog->downButton);
    EXPECT_EQ(ListedNames(dialog->profileChoice),
              (std::vector<wxString>{ wxT("Wohnzimmer"), wxT("Keller"), wxT("Garten") }));
    EXPECT_FALSE(dialog->downButton->IsEnabled());

    AnswerName(wxT("Terrasse"));
    Click(dialog->renameButton);
    EXPECT_EQ(dialog->profileChoice->GetString(2), wxT("Terrasse"));
    EXPECT_EQ(dialog->profiles().at(2).name, wxT("Terrasse"));

    {
        MessageBoxRecorder boxes(wxNO);
        Click(dialog->deleteButton);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, wxT("Soll das Profil \"Terrasse\" wirklich gelöscht werden?"));
        EXPECT_TRUE(boxes.boxes()[0].style & wxNO_DEFAULT);
        EXPECT_TRUE(boxes.boxes()[0].style & wxICON_QUESTION);
        EXPECT_EQ(dialog->profiles().count(), 3);
    }
    {
        MessageBoxRecorder boxes(wxYES);
        Click(dialog->deleteButton);
        EXPECT_EQ(CopyNames(dialog->profiles()), ListedNames(dialog->profileChoice));
        EXPECT_EQ(dialog->profiles().count(), 2);
        EXPECT_EQ(dialog->profileChoice->GetSelection(), 1);
        EXPECT_EQ(dialog->host->GetValue(), wxT("192.168.178.21"));
    }
    // in expert mode there is nothing to confirm
    config.expertmode = 1;
    {
        MessageBoxRecorder boxes(wxNO);
        Click(dialog->deleteButton);
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_EQ(ListedNames(dialog->profileChoice), (std::vector<wxString>{ wxT("Wohnzimmer") }));
        EXPECT_FALSE(dialog->deleteButton->IsEnabled());
        EXPECT_FALSE(dialog->upButton->IsEnabled());
        EXPECT_FALSE(dialog->downButton->IsEnabled());
    }
}

TEST_F(SetupTest, EveryRefusalNamesItsProfileAndKeepsTheDialogOpen)
{
    Open(MySetupDialog::PAGE_NETWORK);
    const wxString fileBefore = wxFileExists(CFG_PATH + wxT("zappora.cfg")) ? wxT("x") : wxString();
    struct Case {
        std::function<void()> edit;
        const wchar_t* message;
    };
    const Case cases[] = {
        { [&] { Choose(dialog->profileChoice, 1); Type(dialog->host, wxT("127.0.0.1")); Type(dialog->password, wxString()); },
          L"Das Profil \"Keller\" ist unvollständig.\n\nBitte alle Felder ausfüllen!" },
        { [&] { Type(dialog->password, wxT("x")); Type(dialog->host, wxT("keller box")); },
          L"Ungültige Adresse für Profil \"Keller\":\n\nkeller box" },
        { [&] { Type(dialog->host, wxT("192.168.1.300")); },
          L"Ungültige Adresse für Profil \"Keller\":\n\n192.168.1.300" },
        { [&] { Type(dialog->host, wxT("10.1.1.1")); Type(dialog->streamPort, wxT("70000")); },
          L"Ungültiger Port für Profil \"Keller\":\n\n70000" },
        { [&] { Type(dialog->streamPort, wxT("8001")); Toggle(dialog->proxyMode, true); Type(dialog->proxyHost, wxT("proxy")); },
          L"Die Proxy-Einstellungen sind unvollständig.\n\nBitte alle Felder ausfüllen!" },
        { [&] { Type(dialog->proxyPort, wxT("99999")); Type(dialog->proxyUser, wxT("u")); Type(dialog->proxyPass, wxT("p")); },
          L"Ungültiger Proxy-Port!" },
    };
    for (const Case& c : cases) {
        c.edit();
        MessageBoxRecorder boxes;
        EXPECT_FALSE(dialog->Apply());
        ASSERT_EQ(boxes.boxes().size(), 1u) << wxString(c.message);
        EXPECT_EQ(boxes.boxes()[0].text, wxString(c.message));
        EXPECT_EQ(boxes.boxes()[0].caption, wxT("Zappora E2"));
        EXPECT_TRUE(boxes.boxes()[0].style & wxICON_EXCLAMATION);
        EXPECT_EQ(dialog->GetReturnCode(), 0);
    }
    // the proxy fault shows its page
    EXPECT_EQ(dialog->book->GetSelection(), MySetupDialog::PAGE_PROXY);
    EXPECT_EQ(config.profile[1].host, wxT("192.168.178.21"));
    EXPECT_FALSE(config.proxymode);
    EXPECT_EQ(fileBefore.empty(), !wxFileExists(CFG_PATH + wxT("zappora.cfg")));
}

TEST_F(SetupTest, RefusedApplyThenDiscardLeavesTheRecordAsItWas)
{
    const ZPCONFIG before = config;
    Open(MySetupDialog::PAGE_GENERAL);
    Choose(dialog->channels, 3);
    Type(dialog->timerDir, wxT("media/usb"));
    Toggle(dialog->onlineUpdate, true);
    Toggle(dialog->epgSimilar, false);
    Slide(dialog->avBar[MySetupDialog::AV_LOW], 100);
    Slide(dialog->avBar[MySetupDialog::AV_BRIGHTNESS], 150);
    ShowPage(MySetupDialog::PAGE_NETWORK);
    Type(dialog->user, wxString());
    {
        MessageBoxRecorder boxes;
        EXPECT_FALSE(dialog->Apply());
        ASSERT_EQ(boxes.boxes().size(), 1u);
    }
    EXPECT_EQ(config.tvproviders, before.tvproviders);
    EXPECT_EQ(config.raproviders, before.raproviders);
    EXPECT_EQ(config.timerdir, before.timerdir);
    EXPECT_EQ(config.onlineupdate, before.onlineupdate);
    EXPECT_EQ(config.epgsimilar, before.epgsimilar);
    EXPECT_DOUBLE_EQ(config.lband, before.lband);
    EXPECT_DOUBLE_EQ(config.brightness, before.brightness);

    MessageBoxRecorder boxes(wxYES);
    Click(dialog->cancelButton);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Alle Änderungen wirklich verwerfen?"));
    EXPECT_EQ(dialog->GetReturnCode(), MySetupDialog::RESULT_DISCARDED);
    EXPECT_EQ(config.tvproviders, before.tvproviders);
    EXPECT_EQ(config.timerdir, before.timerdir);
    EXPECT_EQ(config.profile[0].user, wxT("root"));
    EXPECT_FALSE(wxFileExists(CFG_PATH + wxT("zappora.cfg")));
}

TEST_F(SetupTest, ApplyWritesTheFileAndRelabelsTheSourceMenu)
{
    runConfig = true;
    config.sortmode = 0;
    Open(MySetupDialog::PAGE_NETWORK);
    AnswerName(wxT("Ferien & Co"));
    Click(dialog->addButton);
    Type(dialog->host, wxT("10.0.0.5"));
    Type(dialog->password, wxT("sommer"));
    ShowPage(MySetupDialog::PAGE_GENERAL);
    Choose(dialog->channels, 2);
    Type(dialog->timerDir, wxT("media/usb"));
    Type(dialog->timerTag, wxT("Serie"));
    ShowPage(MySetupDialog::PAGE_REC);
    Choose(dialog->sortMode, 2);
    Type(dialog->skipTime, wxT("45"));
    Toggle(dialog->rezap, true);
    ShowPage(MySetupDialog::PAGE_AV);
    Slide(dialog->avBar[MySetupDialog::AV_HIGH], 245);
    Slide(dialog->avBar[MySetupDialog::AV_COLOR], 150);
    ShowPage(MySetupDialog::PAGE_PIP);
    Pick(dialog->pipRadio[3]);
    Slide(dialog->pipAlpha, 4);
    ShowPage(MySetupDialog::PAGE_PROXY);
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
    EXPECT_EQ(file.profile[2].pass, wxT("sommer"));
    EXPECT_EQ(file.profile[2].sport, 8001);
    EXPECT_EQ(file.tvproviders, 0);
    EXPECT_EQ(file.raproviders, 1);
    EXPECT_EQ(file.timerdir, wxT("/media/usb/"));
    EXPECT_EQ(file.timertag, wxT("Serie"));
    EXPECT_EQ(file.sortmode, 2);
    EXPECT_EQ(file.skiptime, 45);
    EXPECT_EQ(file.rezap, 1);
    EXPECT_DOUBLE_EQ(file.hband, 0.5);
    EXPECT_DOUBLE_EQ(file.color, 1.5);
    EXPECT_EQ(file.pipposition, 4);
    EXPECT_DOUBLE_EQ(file.pipalpha, 0.5);
    EXPECT_TRUE(file.proxyvalid);
    EXPECT_TRUE(file.proxymode);
    EXPECT_EQ(file.proxy.port, 3128);
    EXPECT_EQ(config.profiles, 3);

    EXPECT_EQ(SourceItem(0)->GetItemLabelText(), wxT("#1: Wohnzimmer"));
    EXPECT_EQ(SourceItem(2)->GetItemLabelText(), wxT("#3: Ferien & Co"));
    EXPECT_TRUE(SourceItem(2)->IsEnabled());
    EXPECT_EQ(SourceItem(3)->GetItemLabelText(), wxT("#4: unbenutzt"));
    EXPECT_FALSE(SourceItem(3)->IsEnabled());
    EXPECT_TRUE(SourceItem(0)->IsChecked());
    wxMenuItem* sort = MainFrame->menuHD->FindItem(XRCID("ID_MENUITEM_HD_SORT_09"));
    ASSERT_NE(sort, nullptr);
    EXPECT_TRUE(sort->IsChecked());
}

TEST_F(SetupTest, AFailedWriteIsReportedAndLosesNothing)
{
    // a directory where the file belongs: the rename cannot replace it
    ASSERT_TRUE(wxFileName::Mkdir(CFG_PATH + wxT("zappora.cfg"), 0700));
    Open(MySetupDialog::PAGE_GENERAL);
    Type(dialog->timerTag, wxT("Neu"));
    {
        MessageBoxRecorder boxes;
        EXPECT_FALSE(dialog->Apply());
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_TRUE(boxes.boxes()[0].text.StartsWith(wxT("Die Konfiguration konnte nicht gespeichert werden!")));
        EXPECT_TRUE(boxes.boxes()[0].style & wxICON_ERROR);
    }
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
    config.expertmode = 0;
    config.tooltips = 0;
    config.language = wxT("DE");
    config.proxymode = true;
    config.proxy.host = wxT("p");
    config.brightness = 0.4;
    config.contrast = 1.8;
    config.pipposition = 5;
    config.pipsize = 45;
    config.recdir = wxT("/tmp/x/");
    config.skiptime = 60;
    config.rezap = 1;
    config.sortmode = 3;
    Open(MySetupDialog::PAGE_GENERAL);

    {
        MessageBoxRecorder boxes(wxNO);
        Click(dialog->defaultButton);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, wxT("Alle Einstellungen für diese Seite wirklich auf Standardwerte zurücksetzen?"));
        EXPECT_EQ(dialog->channels->GetSelection(), 1);
    }
    MessageBoxRecorder boxes(wxYES);
    Click(dialog->defaultButton);
    EXPECT_EQ(dialog->channels->GetSelection(), 0);
    EXPECT_EQ(dialog->timerDir->GetValue(), wxT("/hdd/movie/"));
    EXPECT_EQ(dialog->timerTag->GetValue(), wxT("Zappora"));
    EXPECT_TRUE(dialog->epgSimilar->GetValue());
    EXPECT_FALSE(dialog->expertMode->GetValue());
    EXPECT_TRUE(dialog->toolTips->GetValue());
    EXPECT_FALSE(dialog->onlineUpdate->GetValue());
    EXPECT_EQ(dialog->language->GetSelection(), 0);

    ShowPage(MySetupDialog::PAGE_PROXY);
    Click(dialog->defaultButton);
    EXPECT_FALSE(dialog->proxyMode->GetValue());
    EXPECT_TRUE(dialog->proxyHost->GetValue().empty());
    EXPECT_FALSE(dialog->proxyHost->IsEnabled());

    ShowPage(MySetupDialog::PAGE_AV);
    Click(dialog->defaultButton);
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_BRIGHTNESS]->GetLabel(), wxT("+0.00"));
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_CONTRAST]->GetLabel(), wxT("+1.00"));
    EXPECT_EQ(dialog->avLabel[MySetupDialog::AV_LOW]->GetLabel(), wxT("+0.0"));

    ShowPage(MySetupDialog::PAGE_PIP);
    Click(dialog->defaultButton);
    EXPECT_TRUE(dialog->pipRadio[1]->GetValue());
    EXPECT_EQ(dialog->pipSizeLabel->GetLabel(), wxT("33"));
    EXPECT_EQ(dialog->pipOffsetLabel->GetLabel(), wxT("25"));
    EXPECT_EQ(dialog->pipAlphaLabel->GetLabel(), wxT("8"));
    EXPECT_EQ(config.pipposition, 2);   // the inset moves at once
    EXPECT_EQ(config.pipsize, 33);

    ShowPage(MySetupDialog::PAGE_REC);
    Click(dialog->defaultButton);
    EXPECT_TRUE(dialog->recDir->GetValue().empty());
    EXPECT_EQ(dialog->sortMode->GetSelection(), 0);
    EXPECT_EQ(dialog->skipTime->GetValue(), wxT("15"));
    EXPECT_FALSE(dialog->rezap->GetValue());
    EXPECT_EQ(boxes.boxes().size(), 5u);

    // nothing reached the record but the picture-in-picture values
    EXPECT_EQ(config.tvproviders, 1);
    EXPECT_EQ(config.skiptime, 60);
    // leaving without applying takes those back as well
    Click(dialog->cancelButton);
    EXPECT_EQ(config.pipposition, 5);
    EXPECT_EQ(config.pipsize, 45);
}

TEST_F(SetupTest, ExpertModeWarnsWhenSwitchedOnAndThenAsksNothing)
{
    Open(MySetupDialog::PAGE_GENERAL);
    MessageBoxRecorder boxes;
    Toggle(dialog->expertMode, true);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              wxT("Das Aktivieren dieser Option wird alle Sicherheitsrückfragen des Programmes abschalten!"));
    Toggle(dialog->expertMode, false);
    EXPECT_EQ(boxes.boxes().size(), 1u);

    config.expertmode = 1;
    Click(dialog->defaultButton);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    Click(dialog->cancelButton);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(dialog->GetReturnCode(), MySetupDialog::RESULT_DISCARDED);
}

TEST_F(SetupTest, ProxyFieldsFollowTheMode)
{
    Open(MySetupDialog::PAGE_PROXY);
    for (wxTextCtrl* f : { dialog->proxyHost, dialog->proxyPort, dialog->proxyUser, dialog->proxyPass })
        EXPECT_FALSE(f->IsEnabled());
    Toggle(dialog->proxyMode, true);
    for (wxTextCtrl* f : { dialog->proxyHost, dialog->proxyPort, dialog->proxyUser, dialog->proxyPass })
        EXPECT_TRUE(f->IsEnabled());
    Toggle(dialog->proxyMode, false);
    EXPECT_FALSE(dialog->proxyPass->IsEnabled());
}

TEST_F(SetupTest, LeavingAsksOnlyAfterAChange)
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
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(dialog->GetReturnCode(), 0);
        EXPECT_FALSE(dialog->Close());   // the close box asks the same
        EXPECT_EQ(boxes.boxes().size(), 2u);
    }
    MessageBoxRecorder boxes(wxYES);
    EXPECT_TRUE(dialog->Close());
    EXPECT_EQ(dialog->GetReturnCode(), MySetupDialog::RESULT_DISCARDED);
    EXPECT_EQ(config.timertag, wxT("Zappora"));
}

TEST_F(SetupTest, ActiveReceiverStaysTheSameWhateverIsMoved)
{
    config.profile[2] = TestProfile("Garten", "192.168.178.22");
    config.profiles = 3;
    config.SelectProfile(1);   // "Keller" plays
    Open(MySetupDialog::PAGE_NETWORK);
    Choose(dialog->profileChoice, 1);
    Click(dialog->upButton);
    MessageBoxRecorder boxes(wxYES);
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.profile_active, 0);
    EXPECT_EQ(config.active().host, wxT("192.168.178.21"));
    EXPECT_FALSE(config.keepConnection);
    EXPECT_TRUE(SourceItem(0)->IsChecked());
    EXPECT_EQ(SourceItem(0)->GetItemLabelText(), wxT("#1: Keller"));
    dialog->Destroy();

    // The active one deleted: profile 1 is chosen, but the program keeps
    // talking to the receiver it plays from until the next switch.
    Open(MySetupDialog::PAGE_NETWORK);
    Click(dialog->deleteButton);
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.profiles, 2);
    EXPECT_EQ(config.profile_active, 0);
    EXPECT_EQ(config.profile[0].name, wxT("Wohnzimmer"));
    EXPECT_EQ(config.active().host, wxT("192.168.178.21"));
    config.SelectProfile(0);
    EXPECT_EQ(config.active().host, wxT("192.168.178.20"));
    dialog->Destroy();

    // An edited address, too, waits for the next switch.
    Open(MySetupDialog::PAGE_NETWORK);
    Type(dialog->host, wxT("192.168.178.99"));
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.profile[0].host, wxT("192.168.178.99"));
    EXPECT_EQ(config.active().host, wxT("192.168.178.20"));
    // the file holds the profiles, not the connection
    EXPECT_EQ(FileContent().profile[0].host, wxT("192.168.178.99"));
}

TEST_F(SetupTest, FirstRunProfileIsUsedAtOnce)
{
    config.profile[0] = TestProfile("Boxhaus", "127.0.0.1");
    config.profiles = 0;
    runConfig = true;
    Open(MySetupDialog::PAGE_NETWORK);
    EXPECT_EQ(ListedNames(dialog->profileChoice), (std::vector<wxString>{ wxT("Boxhaus"), wxT("Keller") }));
    Type(dialog->host, wxT("10.9.8.7"));
    MessageBoxRecorder boxes;
    ASSERT_TRUE(dialog->Apply());
    EXPECT_FALSE(config.keepConnection);
    EXPECT_EQ(config.active().host, wxT("10.9.8.7"));
    EXPECT_EQ(config.profiles, 2);
}

TEST_F(SetupTest, LanguagesFromCataloguesBelowLng)
{
    const wxString lng = BIN_PATH + wxT("lng");
    ASSERT_TRUE(wxFileName::Mkdir(lng + wxT("/fr"), 0755, wxPATH_MKDIR_FULL));
    for (const wxString& f : { lng + wxT("/en.mo"), lng + wxT("/fr/fr.mo"), lng + wxT("/de.mo"),
                               lng + wxT("/xx.mo") })
        wxFFile(f, wxT("w")).Write(wxT("catalogue"));
    wxImage flag(20, 14);
    flag.SetRGB(wxRect(0, 0, 20, 14), 0, 0, 200);
    ASSERT_TRUE(flag.SaveFile(lng + wxT("/fr/fr.png"), wxBITMAP_TYPE_PNG));
    config.language = wxT("en");
    Open(MySetupDialog::PAGE_GENERAL);

    EXPECT_EQ(ListedNames(dialog->language),
              (std::vector<wxString>{ wxT("DE"), wxT("EN"), wxT("FR"), wxT("XX") }));
    EXPECT_EQ(dialog->language->GetSelection(), 1);
    const wxBitmap de = dialog->language->GetItemBitmap(0);
    for (unsigned i = 1; i < 4; i++)
        EXPECT_EQ(dialog->language->GetItemBitmap(i).GetSize(), de.GetSize()) << i;
    // the picture next to the catalogue wins over the built-in flag
    const wxImage fr = dialog->language->GetItemBitmap(2).ConvertToImage();
    EXPECT_EQ(fr.GetBlue(fr.GetWidth() / 2, fr.GetHeight() / 2), 200);

    Choose(dialog->language, 2);
    MessageBoxRecorder boxes;
    ASSERT_TRUE(dialog->Apply());
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Die gewählte Sprache wird erst beim nächsten Programmstart aktiv."));
    EXPECT_TRUE(boxes.boxes()[0].style & wxICON_INFORMATION);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(config.language, wxT("FR"));
}

TEST_F(SetupTest, RecordingDirectoryChooser)
{
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
    EXPECT_TRUE(dialog->changed());
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

    // only its existence counts here
    static char mixer;
    videomixer = reinterpret_cast<GstElement*>(&mixer);
    Slide(dialog->pipSize, 30);
    EXPECT_EQ(config.pipsize, 40);
    Slide(dialog->pipOffset, 10);
    EXPECT_EQ(config.pipoffset, 10);
    Slide(dialog->pipAlpha, 2);
    EXPECT_DOUBLE_EQ(config.pipalpha, 0.3);
    Pick(dialog->pipRadio[2]);
    EXPECT_EQ(placed, (std::vector<int>{ 2, 2, 2, 3 }));

    MessageBoxRecorder boxes(wxYES);
    Click(dialog->cancelButton);
    EXPECT_EQ(config.pipsize, 33);
    EXPECT_EQ(config.pipoffset, 25);
    EXPECT_DOUBLE_EQ(config.pipalpha, 0.8);
    EXPECT_EQ(placed.back(), 2);
    videomixer = nullptr;
    PiPPlacement = nullptr;
}

namespace {

// Widgets below `window` that would show a tool tip.
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
    const int mainTips = WindowToolTips(MainFrame);
    ASSERT_GT(mainTips, 3);   // tool bar, TV control, volume
    Open(MySetupDialog::PAGE_GENERAL);
    const int dialogTips = WindowToolTips(dialog);
    ASSERT_GT(dialogTips, 3);
    Toggle(dialog->toolTips, false);
    MessageBoxRecorder boxes;
    ASSERT_TRUE(dialog->Apply());
    EXPECT_EQ(config.tooltips, 0);
    EXPECT_EQ(WindowToolTips(MainFrame), 0);
    EXPECT_EQ(WindowToolTips(dialog), 0);
    // texts set later stay hidden, windows opened later have none
    MainFrame->volumeGauge->SetToolTip(wxT("Lautstärke 7"));
    EXPECT_EQ(WindowToolTips(MainFrame), 0);
    auto* later = new MySetupDialog(MainFrame, MySetupDialog::PAGE_GENERAL);
    later->Show();
    EXPECT_EQ(WindowToolTips(later), 0);
    later->Hide();

    // and all come back
    Toggle(later->toolTips, true);
    ASSERT_TRUE(later->Apply());
    EXPECT_EQ(WindowToolTips(MainFrame), mainTips);
    EXPECT_EQ(WindowToolTips(later), dialogTips);
    EXPECT_EQ(MainFrame->volumeGauge->GetToolTipText(), wxT("Lautstärke 7"));
    later->Destroy();
}

TEST_F(SetupTest, IgnoredDirectoriesComeFromTheReceiver)
{
    SimReceiver sim;
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    Open(MySetupDialog::PAGE_REC);
    Type(dialog->excludeDir, wxT("/hdd/movie/archiv/;/gibt/es/nicht/;"));

    wxArrayString offered;
    std::vector<int> preselected;
    std::vector<int> answer = { 0 };
    SetChoicesPrompt([&](const wxString& message, const wxArrayString& choices, std::vector<int>* selection) {
        EXPECT_EQ(message, wxT("Bitte die zu ignorierenden Verzeichnisse auswählen:"));
        offered = choices;
        preselected = *selection;
        *selection = answer;
        return true;
    });
    MessageBoxRecorder boxes(wxYES);
    Click(dialog->ignoreButton);
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], wxT("/hdd/movie/"));
    EXPECT_EQ(offered[1], wxT("/hdd/movie/archiv/"));
    EXPECT_EQ(preselected, (std::vector<int>{ 1 }));
    EXPECT_EQ(dialog->excludeDir->GetValue(), wxT("/hdd/movie/;"));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(sim.loggedPaths("web").back(), "/web/getlocations");

    // all or none chosen: asked first, and "no" changes nothing
    answer = { 0, 1 };
    boxes.setAnswer(wxNO);
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

TEST_F(SetupTest, IgnoredDirectoriesWithoutAReceiver)
{
    SimReceiver sim({ "--fault", "cmd=getlocations&status=500" });
    ASSERT_TRUE(sim.ok());
    sim.configureProfile();
    Open(MySetupDialog::PAGE_REC);
    bool asked = false;
    SetChoicesPrompt([&](const wxString&, const wxArrayString& choices, std::vector<int>*) {
        asked = true;
        EXPECT_EQ(choices.size(), 1u);   // what the main window loaded earlier
        return false;
    });
    MessageBoxRecorder boxes;
    Click(dialog->ignoreButton);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Es konnten keine Aufnahmepfade ermittelt werden."));
    EXPECT_TRUE(boxes.boxes()[0].style & wxICON_EXCLAMATION);
    EXPECT_FALSE(asked);

    MainFrame->movieLocations.Add(wxT("/media/hdd/movie/"));
    Click(dialog->ignoreButton);
    EXPECT_TRUE(asked);
    EXPECT_EQ(boxes.boxes().size(), 1u);
}
