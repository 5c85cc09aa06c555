// Construction of the settings dialog, filling its controls, and the
// handlers of the controls that need no more than a line or two.
#include "settings/setupdialog.h"

#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/html/helpctrl.h>
#include <wx/image.h>
#include <wx/listbook.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/scrolbar.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"
#include "mainwindow/mainframe.h"
#include "settings/languages.h"
#include "settings/preview.h"

wxBEGIN_EVENT_TABLE(MySetupDialog, wxDialog)
    EVT_COMBOBOX(wxID_ANY, MySetupDialog::OnComboBox)
    EVT_TEXT(wxID_ANY, MySetupDialog::OnTextCtrl)
    EVT_TOGGLEBUTTON(wxID_ANY, MySetupDialog::OnToggleButton)
    EVT_RADIOBUTTON(wxID_ANY, MySetupDialog::OnRadioButton)
    EVT_COMMAND_SCROLL_THUMBRELEASE(wxID_ANY, MySetupDialog::OnSlide)
    EVT_COMMAND_SCROLL_CHANGED(wxID_ANY, MySetupDialog::OnSlide)
    EVT_COMMAND_SCROLL_THUMBTRACK(wxID_ANY, MySetupDialog::OnSlideTrack)
    EVT_BUTTON(wxID_ANY, MySetupDialog::OnButton)
    EVT_LISTBOOK_PAGE_CHANGED(wxID_ANY, MySetupDialog::OnPageChanged)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MySetupDialog::OnKey)
    EVT_CLOSE(MySetupDialog::OnClose)
wxEND_EVENT_TABLE()

namespace {

const char* const kAVBars[MySetupDialog::AV_COUNT] = {
    "ID_SCROLLBAR_LOW", "ID_SCROLLBAR_MID", "ID_SCROLLBAR_HIGH",
    "ID_SCROLLBAR_BRIGHTNESS", "ID_SCROLLBAR_CONTRAST", "ID_SCROLLBAR_COLOR",
};
const char* const kAVLabels[MySetupDialog::AV_COUNT] = {
    "ID_STATICTEXT_LOW", "ID_STATICTEXT_MID", "ID_STATICTEXT_HIGH",
    "ID_STATICTEXT_BRIGHTNESS", "ID_STATICTEXT_CONTRAST", "ID_STATICTEXT_COLOR",
};
const char* const kPiPRadios[5] = {
    "ID_RADIOBUTTON_PIPTL", "ID_RADIOBUTTON_PIPTR", "ID_RADIOBUTTON_PIPLR",
    "ID_RADIOBUTTON_PIPBL", "ID_RADIOBUTTON_PIPBR",
};

wxBitmap ResourceBitmap(const wxString& name)
{
    wxLogNull quiet;   // a missing image leaves the entry without one
    return wxXmlResource::Get()->LoadBitmap(name);
}

// Entries of one combo box share the size of the first image.
wxBitmap FitTo(const wxBitmap& bmp, const wxSize& size)
{
    if (!bmp.IsOk())
        return wxBitmap();
    if (size == wxDefaultSize || bmp.GetSize() == size)
        return bmp;
    return wxBitmap(bmp.ConvertToImage().Rescale(size.x, size.y, wxIMAGE_QUALITY_HIGH));
}

template <class T>
T* Find(wxWindow* parent, const char* name)
{
    return dynamic_cast<T*>(parent->FindWindow(XRCID(name)));
}

}  // namespace

MySetupDialog::MySetupDialog(wxWindow* parent, int page)
{
    loaded = wxXmlResource::Get()->LoadDialog(this, parent, wxT("ID_DIALOG_SETUP"));
    if (!loaded) {
        wxLogError(wxT("Der Konfigurationsdialog konnte nicht geladen werden!"));
        return;
    }
    // Escape leaves through OnKey, which may ask first.
    SetEscapeId(wxID_NONE);
    FindControls();

    m_profiles = ProfileList(config);
    m_pipPosition = config.pipposition;
    m_pipSize = config.pipsize;
    m_pipOffset = config.pipoffset;
    m_pipAlpha = config.pipalpha;

    m_filling = true;
    FillLanguages();
    FillChoices();
    FillFromConfig();
    FillProfileList(m_profiles.active() >= 0 ? m_profiles.active() : 0);
    m_filling = false;

    if (page < 0 || page >= PAGE_COUNT)
        page = PAGE_GENERAL;
    if (book)
        book->ChangeSelection(size_t(page));
    if (defaultButton)
        defaultButton->Enable(page != PAGE_NETWORK);
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    Fit();
    Centre();
    // the first thing to type on the receiver page is its address
    if (page == PAGE_NETWORK && host)
        host->SetFocus();
}

void MySetupDialog::FindControls()
{
    book = Find<wxListbook>(this, "ID_BOOK");
    applyButton = Find<wxButton>(this, "ID_BUTTON_APPLY");
    defaultButton = Find<wxButton>(this, "ID_BUTTON_DEFAULT");
    cancelButton = Find<wxButton>(this, "ID_BUTTON_CANCEL");

    language = Find<wxBitmapComboBox>(this, "ID_BITMAPCOMBOBOX_LANGUAGE");
    channels = Find<wxBitmapComboBox>(this, "ID_BITMAPCOMBOBOX_CHANNEL");
    timerDir = Find<wxTextCtrl>(this, "ID_TEXTCTRL_DIR");
    timerTag = Find<wxTextCtrl>(this, "ID_TEXTCTRL_TAG");
    epgSimilar = Find<wxToggleButton>(this, "ID_TOGGLEBUTTON_EPG");
    expertMode = Find<wxToggleButton>(this, "ID_TOGGLEBUTTON_EM");
    toolTips = Find<wxToggleButton>(this, "ID_TOGGLEBUTTON_TT");
    onlineUpdate = Find<wxToggleButton>(this, "ID_TOGGLEBUTTON_OU");

    profileChoice = Find<wxBitmapComboBox>(this, "ID_BITMAPCOMBOBOX_PROFILES");
    upButton = Find<wxButton>(this, "ID_BITMAPBUTTON_UP");
    downButton = Find<wxButton>(this, "ID_BITMAPBUTTON_DOWN");
    renameButton = Find<wxButton>(this, "ID_BITMAPBUTTON_RENAME");
    addButton = Find<wxButton>(this, "ID_BITMAPBUTTON_ADD");
    deleteButton = Find<wxButton>(this, "ID_BITMAPBUTTON_DEL");
    https = Find<wxToggleButton>(this, "ID_TOGGLEBUTTON_SSL");
    host = Find<wxTextCtrl>(this, "ID_TEXTCTRL_ADDR");
    webPort = Find<wxTextCtrl>(this, "ID_TEXTCTRL_PORT");
    streamPort = Find<wxTextCtrl>(this, "ID_TEXTCTRL_STREAMPROXY");
    user = Find<wxTextCtrl>(this, "ID_TEXTCTRL_USER");
    password = Find<wxTextCtrl>(this, "ID_TEXTCTRL_PASS");

    proxyMode = Find<wxToggleButton>(this, "ID_TOGGLEBUTTON_PROXY_MODE");
    proxyHost = Find<wxTextCtrl>(this, "ID_TEXTCTRL_PROXY_HOST");
    proxyPort = Find<wxTextCtrl>(this, "ID_TEXTCTRL_PROXY_PORT");
    proxyUser = Find<wxTextCtrl>(this, "ID_TEXTCTRL_PROXY_USER");
    proxyPass = Find<wxTextCtrl>(this, "ID_TEXTCTRL_PROXY_PASS");

    for (int i = 0; i < AV_COUNT; i++) {
        avBar[i] = Find<wxScrollBar>(this, kAVBars[i]);
        avLabel[i] = Find<wxStaticText>(this, kAVLabels[i]);
    }
    for (int i = 0; i < 5; i++)
        pipRadio[i] = Find<wxRadioButton>(this, kPiPRadios[i]);
    pipSize = Find<wxScrollBar>(this, "ID_SCROLLBAR_PIPSIZE");
    pipOffset = Find<wxScrollBar>(this, "ID_SCROLLBAR_PIPOFFSET");
    pipAlpha = Find<wxScrollBar>(this, "ID_SCROLLBAR_PIPALPHA");
    pipSizeLabel = Find<wxStaticText>(this, "ID_STATICTEXT_PIPSIZE");
    pipOffsetLabel = Find<wxStaticText>(this, "ID_STATICTEXT_PIPOFFSET");
    pipAlphaLabel = Find<wxStaticText>(this, "ID_STATICTEXT_PIPALPHA");

    recDir = Find<wxTextCtrl>(this, "ID_TEXTCTRL_RECDIR");
    excludeDir = Find<wxTextCtrl>(this, "ID_TEXTCTRL_EXCLUDEDIR");
    recButton = Find<wxButton>(this, "ID_BITMAPBUTTON_REC");
    ignoreButton = Find<wxButton>(this, "ID_BITMAPBUTTON_IGNORE");
    sortMode = Find<wxBitmapComboBox>(this, "ID_BITMAPCOMBOBOX_SORT");
    skipTime = Find<wxTextCtrl>(this, "ID_TEXTCTRL_SKIPTIME");
    rezap = Find<wxToggleButton>(this, "ID_TOGGLEBUTTON_REZAP");
}

void MySetupDialog::FillLanguages()
{
    if (!language)
        return;
    const wxBitmap german = ResourceBitmap(wxT("IMG_FLAG_DE"));
    const wxSize size = german.IsOk() ? german.GetSize() : wxDefaultSize;
    language->Append(wxT("DE"), german);
    for (const LanguageFile& lang : FindLanguages(BIN_PATH + wxT("lng"))) {
        wxBitmap flag;
        if (!lang.flag.empty()) {
            wxLogNull quiet;   // a broken picture falls back to the built-in flag
            wxImage image;
            if (image.LoadFile(lang.flag, wxBITMAP_TYPE_PNG))
                flag = wxBitmap(image);
        }
        if (!flag.IsOk())
            flag = ResourceBitmap(wxT("IMG_FLAG_") + lang.code);
        if (!flag.IsOk() && size != wxDefaultSize) {
            // an empty picture keeps the names in one column
            wxImage blank(size.x, size.y);
            blank.SetAlpha();
            memset(blank.GetAlpha(), 0, size_t(size.x) * size.y);
            flag = wxBitmap(blank);
        }
        language->Append(lang.code, FitTo(flag, size));
    }
    int selected = language->FindString(config.language.Upper());
    language->SetSelection(selected == wxNOT_FOUND ? 0 : selected);
}

void MySetupDialog::FillChoices()
{
    if (channels) {
        const wxString names[4] = {
            _(wxT("nur eigene Bouquets")), _(wxT("eigene und TV-Anbieter")),
            _(wxT("eigene und RA-Anbieter")), _(wxT("komplette Senderlisten")),
        };
        for (int i = 0; i < 4; i++)
            channels->Append(names[i], ResourceBitmap(wxString::Format(wxT("IMG_PROVIDER_%d"), i + 1)));
    }
    if (sortMode) {
        const wxString names[4] = {
            _(wxT("nach Name (A...Z)")), _(wxT("nach Name (Z...A)")),
            _(wxT("nach Datum (0...9)")), _(wxT("nach Datum (9...0)")),
        };
        const char* const images[4] = { "IMG_SORT_AZ", "IMG_SORT_ZA", "IMG_SORT_09", "IMG_SORT_90" };
        for (int i = 0; i < 4; i++)
            sortMode->Append(names[i], ResourceBitmap(images[i]));
    }
}

void MySetupDialog::FillFromConfig()
{
    for (int page = 0; page < PAGE_COUNT; page++)
        ShowValues(page, config);
}

void MySetupDialog::ShowValues(int page, const ZPCONFIG& cfg)
{
    switch (page) {
    case PAGE_GENERAL:
        // the language is not among them: it has no factory value to go back to
        if (channels)
            channels->SetSelection(ChannelListIndex(cfg.tvproviders, cfg.raproviders));
        if (timerDir)
            timerDir->ChangeValue(cfg.timerdir);
        if (timerTag)
            timerTag->ChangeValue(cfg.timertag);
        if (epgSimilar)
            epgSimilar->SetValue(cfg.epgsimilar != 0);
        if (expertMode)
            expertMode->SetValue(cfg.expertmode != 0);
        if (toolTips)
            toolTips->SetValue(cfg.tooltips != 0);
        if (onlineUpdate)
            onlineUpdate->SetValue(cfg.onlineupdate != 0);
        break;
    case PAGE_PROXY:
        if (proxyMode)
            proxyMode->SetValue(cfg.proxymode);
        if (proxyHost)
            proxyHost->ChangeValue(cfg.proxy.host);
        if (proxyPort)
            proxyPort->ChangeValue(cfg.proxy.port ? wxString::Format(wxT("%ld"), cfg.proxy.port) : wxString());
        if (proxyUser)
            proxyUser->ChangeValue(cfg.proxy.user);
        if (proxyPass)
            proxyPass->ChangeValue(cfg.proxy.pass);
        EnableProxyFields();
        break;
    case PAGE_AV:
        SetAV(AV_LOW, BandPosition(cfg.lband));
        SetAV(AV_MID, BandPosition(cfg.mband));
        SetAV(AV_HIGH, BandPosition(cfg.hband));
        SetAV(AV_BRIGHTNESS, BrightnessPosition(cfg.brightness));
        SetAV(AV_CONTRAST, GainPosition(cfg.contrast));
        SetAV(AV_COLOR, GainPosition(cfg.color));
        break;
    case PAGE_PIP:
        SetPiPControls(cfg.pipposition, cfg.pipsize, cfg.pipoffset, cfg.pipalpha);
        break;
    case PAGE_REC:
        if (recDir)
            recDir->ChangeValue(cfg.recdir);
        if (excludeDir)
            excludeDir->ChangeValue(cfg.excludedir);
        if (sortMode)
            sortMode->SetSelection(cfg.sortmode >= 0 && cfg.sortmode < 4 ? cfg.sortmode : 0);
        if (skipTime)
            skipTime->ChangeValue(wxString::Format(wxT("%ld"), cfg.skiptime));
        if (rezap)
            rezap->SetValue(cfg.rezap != 0);
        break;
    }
}

// ---- audio & video, picture-in-picture ----

void MySetupDialog::SetAV(int which, int position)
{
    if (avBar[which])
        avBar[which]->SetThumbPosition(position);
    if (avLabel[which])
        avLabel[which]->SetLabel(which <= AV_HIGH ? BandLabel(AVValue(which)) : BalanceLabel(AVValue(which)));
}

double MySetupDialog::AVValue(int which) const
{
    const int pos = avBar[which] ? avBar[which]->GetThumbPosition() : 0;
    switch (which) {
    case AV_LOW:
    case AV_MID:
    case AV_HIGH:
        return BandValue(pos);
    case AV_BRIGHTNESS:
        return BrightnessValue(pos);
    default:
        return GainValue(pos);
    }
}

void MySetupDialog::PreviewAV()
{
    PreviewEqualizer(AVValue(AV_LOW), AVValue(AV_MID), AVValue(AV_HIGH));
    PreviewVideoBalance(AVValue(AV_BRIGHTNESS), AVValue(AV_CONTRAST), AVValue(AV_COLOR));
}

void MySetupDialog::SetPiPControls(int position, int size, int offset, double alpha)
{
    for (int i = 0; i < 5; i++) {
        if (pipRadio[i])
            pipRadio[i]->SetValue(i + 1 == position);
    }
    if (pipSize)
        pipSize->SetThumbPosition(PiPSizePosition(size));
    if (pipOffset)
        pipOffset->SetThumbPosition(PiPOffsetPosition(offset));
    if (pipAlpha)
        pipAlpha->SetThumbPosition(PiPAlphaPosition(alpha));
    UpdatePiPLabels();
}

int MySetupDialog::PiPPosition() const
{
    for (int i = 0; i < 5; i++) {
        if (pipRadio[i] && pipRadio[i]->GetValue())
            return i + 1;
    }
    return 2;
}

void MySetupDialog::UpdatePiPLabels()
{
    if (pipSize && pipSizeLabel)
        pipSizeLabel->SetLabel(wxString::Format(wxT("%d"), PiPSizeValue(pipSize->GetThumbPosition())));
    if (pipOffset && pipOffsetLabel)
        pipOffsetLabel->SetLabel(wxString::Format(wxT("%d"), pipOffset->GetThumbPosition()));
    if (pipAlpha && pipAlphaLabel)
        pipAlphaLabel->SetLabel(PiPAlphaLabel(pipAlpha->GetThumbPosition()));
}

// ---- handlers ----

void MySetupDialog::OnComboBox(wxCommandEvent& event)
{
    if (m_filling)
        return;
    if (event.GetEventObject() == profileChoice) {
        ShowProfile(profileChoice->GetSelection());
        return;
    }
    m_changed = true;
}

void MySetupDialog::OnTextCtrl(wxCommandEvent& event)
{
    if (m_filling)
        return;
    wxObject* from = event.GetEventObject();
    // a read-only combo box reports its text as well; that is no edit
    if (dynamic_cast<wxBitmapComboBox*>(from))
        return;
    m_changed = true;
    if (m_shownProfile < 0 || m_shownProfile >= m_profiles.count())
        return;
    ZPPROFILE& p = m_profiles.at(m_shownProfile);
    if (from == host)
        p.host = wxString(host->GetValue()).Trim(true).Trim(false);
    else if (from == webPort)
        p.wport = FieldNumber(webPort->GetValue());
    else if (from == streamPort)
        p.sport = FieldNumber(streamPort->GetValue());
    else if (from == user)
        p.user = user->GetValue();
    else if (from == password)
        p.pass = password->GetValue();
}

void MySetupDialog::OnToggleButton(wxCommandEvent& event)
{
    if (m_filling)
        return;
    m_changed = true;
    wxObject* from = event.GetEventObject();
    if (from == https) {
        const bool on = https->GetValue();
        const long port = on ? 443 : 80;
        if (m_shownProfile >= 0 && m_shownProfile < m_profiles.count()) {
            m_profiles.at(m_shownProfile).https = on ? 1 : 0;
            m_profiles.at(m_shownProfile).wport = port;
        }
        if (webPort)
            webPort->ChangeValue(wxString::Format(wxT("%ld"), port));
    } else if (from == expertMode) {
        if (expertMode->GetValue())
            ZPMessageBox(_(wxT("Das Aktivieren dieser Option wird alle Sicherheitsrückfragen des "
                               "Programmes abschalten!")),
                         wxOK | wxICON_WARNING, this);
    } else if (from == proxyMode) {
        EnableProxyFields();
    }
}

void MySetupDialog::OnRadioButton(wxCommandEvent&)
{
    if (m_filling)
        return;
    m_changed = true;
    PreviewPiP(PiPPosition());
}

void MySetupDialog::OnSlideTrack(wxScrollEvent& event)
{
    // while the thumb is dragged only the number follows it
    for (int i = 0; i < AV_COUNT; i++) {
        if (event.GetEventObject() == avBar[i]) {
            SetAV(i, event.GetPosition());
            return;
        }
    }
    UpdatePiPLabels();
}

void MySetupDialog::OnSlide(wxScrollEvent& event)
{
    if (m_filling)
        return;
    m_changed = true;
    wxObject* from = event.GetEventObject();
    for (int i = 0; i < AV_COUNT; i++) {
        if (from == avBar[i]) {
            SetAV(i, avBar[i]->GetThumbPosition());
            PreviewAV();
            return;
        }
    }
    UpdatePiPLabels();
    if (!PiPActive())
        return;
    if (from == pipSize) {
        config.pipsize = PiPSizeValue(pipSize->GetThumbPosition());
        wxMilliSleep(50);   // the mixer takes a moment to accept the new size
    } else if (from == pipOffset) {
        config.pipoffset = pipOffset->GetThumbPosition();
    } else if (from == pipAlpha) {
        config.pipalpha = PiPAlphaValue(pipAlpha->GetThumbPosition());
    }
    PreviewPiP(config.pipposition);
}

void MySetupDialog::OnButton(wxCommandEvent& event)
{
    wxObject* from = event.GetEventObject();
    if (from == applyButton)
        Apply();
    else if (from == defaultButton)
        ResetPage();
    else if (from == cancelButton)
        Discard();
    else if (from == upButton || from == downButton)
        OnProfileMove(from == upButton);
    else if (from == renameButton)
        OnProfileRename();
    else if (from == addButton)
        OnProfileAdd();
    else if (from == deleteButton)
        OnProfileDelete();
    else if (from == recButton)
        OnChooseRecDir();
    else if (from == ignoreButton)
        OnChooseIgnored();
}

void MySetupDialog::OnPageChanged(wxBookCtrlEvent& event)
{
    // profiles have no factory values
    if (defaultButton && book)
        defaultButton->Enable(book->GetSelection() != PAGE_NETWORK);
    event.Skip();
}

void MySetupDialog::OnKey(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case WXK_ESCAPE:
        Discard();
        return;
    case WXK_F1:
        Help();
        return;
    }
    event.Skip();
}

void MySetupDialog::OnClose(wxCloseEvent& event)
{
    if (!event.CanVeto()) {
        UndoPreview();
        Finish(RESULT_DISCARDED);
        return;
    }
    if (!Discard())
        event.Veto();
}

void MySetupDialog::Help()
{
    if (MainFrame && MainFrame->help)
        MainFrame->help->Display(wxT("Konfiguration.htm"));
}
