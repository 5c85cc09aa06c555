// The settings dialog "Konfiguration": receiver profiles, proxy, general
// options, audio and picture, picture-in-picture and recordings.
#pragma once

#include <wx/dialog.h>

#include "settings/setuprules.h"

class wxBitmapComboBox;
class wxBookCtrlEvent;
class wxButton;
class wxListbook;
class wxRadioButton;
class wxScrollBar;
class wxScrollEvent;
class wxStaticText;
class wxTextCtrl;
class wxToggleButton;

class MySetupDialog : public wxDialog {
public:
    // Pages in book order.
    enum Page { PAGE_GENERAL, PAGE_NETWORK, PAGE_PROXY, PAGE_AV, PAGE_PIP, PAGE_REC, PAGE_COUNT };
    // Modal results.
    enum { RESULT_APPLIED = 1, RESULT_DISCARDED = 2 };

    MySetupDialog(wxWindow* parent, int page);

    bool loaded = false;   // the layout was found in the resources

    // Handlers (the controls of the layout send these).
    void OnComboBox(wxCommandEvent& event);
    void OnTextCtrl(wxCommandEvent& event);
    void OnToggleButton(wxCommandEvent& event);
    void OnRadioButton(wxCommandEvent& event);
    void OnSlide(wxScrollEvent& event);
    void OnSlideTrack(wxScrollEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnPageChanged(wxBookCtrlEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);

    // What the buttons do, also for the keys and the close box.
    bool Apply();        // true when the settings were stored and the dialog ended
    bool Discard();      // true when the dialog ended without applying
    void ResetPage();    // "Standardwerte" for the page shown

    const ProfileList& profiles() const { return m_profiles; }
    bool changed() const { return m_changed; }

    // ---- controls ----
    wxListbook* book = nullptr;
    wxButton* applyButton = nullptr;
    wxButton* defaultButton = nullptr;
    wxButton* cancelButton = nullptr;
    // "Allgemein"
    wxBitmapComboBox* language = nullptr;
    wxBitmapComboBox* channels = nullptr;
    wxTextCtrl* timerDir = nullptr;
    wxTextCtrl* timerTag = nullptr;
    wxToggleButton* epgSimilar = nullptr;
    wxToggleButton* expertMode = nullptr;
    wxToggleButton* toolTips = nullptr;
    wxToggleButton* onlineUpdate = nullptr;
    // "Netzwerk"
    wxBitmapComboBox* profileChoice = nullptr;
    wxButton* upButton = nullptr;
    wxButton* downButton = nullptr;
    wxButton* renameButton = nullptr;
    wxButton* addButton = nullptr;
    wxButton* deleteButton = nullptr;
    wxToggleButton* https = nullptr;
    wxTextCtrl* host = nullptr;
    wxTextCtrl* webPort = nullptr;
    wxTextCtrl* streamPort = nullptr;
    wxTextCtrl* user = nullptr;
    wxTextCtrl* password = nullptr;
    // "Proxy"
    wxToggleButton* proxyMode = nullptr;
    wxTextCtrl* proxyHost = nullptr;
    wxTextCtrl* proxyPort = nullptr;
    wxTextCtrl* proxyUser = nullptr;
    wxTextCtrl* proxyPass = nullptr;
    // "Audio & Video": low, mid, high, brightness, contrast, colour
    enum { AV_LOW, AV_MID, AV_HIGH, AV_BRIGHTNESS, AV_CONTRAST, AV_COLOR, AV_COUNT };
    wxScrollBar* avBar[AV_COUNT] = {};
    wxStaticText* avLabel[AV_COUNT] = {};
    // "Bild in Bild": positions 1..5 at index 0..4
    wxRadioButton* pipRadio[5] = {};
    wxScrollBar* pipSize = nullptr;
    wxScrollBar* pipOffset = nullptr;
    wxScrollBar* pipAlpha = nullptr;
    wxStaticText* pipSizeLabel = nullptr;
    wxStaticText* pipOffsetLabel = nullptr;
    wxStaticText* pipAlphaLabel = nullptr;
    // "Aufnahmen"
    wxTextCtrl* recDir = nullptr;
    wxTextCtrl* excludeDir = nullptr;
    wxButton* recButton = nullptr;
    wxButton* ignoreButton = nullptr;
    wxBitmapComboBox* sortMode = nullptr;
    wxTextCtrl* skipTime = nullptr;
    wxToggleButton* rezap = nullptr;

private:
    void FindControls();
    void FillLanguages();
    void FillChoices();
    void FillFromConfig();
    // The controls of one page (not "Netzwerk") from a record.
    void ShowValues(int page, const ZPCONFIG& cfg);
    void FillProfileList(int select);
    void ShowProfile(int index);
    void UpdateProfileButtons();
    void EnableProxyFields();
    int SelectedProfile() const;

    void SetAV(int which, int position);
    double AVValue(int which) const;
    void PreviewAV();
    void SetPiPControls(int position, int size, int offset, double alpha);
    int PiPPosition() const;
    void UpdatePiPLabels();

    void OnProfileAdd();
    void OnProfileRename();
    void OnProfileDelete();
    void OnProfileMove(bool up);
    void OnChooseRecDir();
    void OnChooseIgnored();

    void StoreInto(ZPCONFIG& cfg) const;
    void AfterApply(const ZPCONFIG& before);
    void UndoPreview();
    void Finish(int result);
    void Help();

    ProfileList m_profiles;
    int m_shownProfile = -1;
    bool m_changed = false;
    bool m_filling = false;   // controls are being set by the dialog itself
    // picture-in-picture values when the dialog opened (the preview writes them)
    int m_pipPosition = 2, m_pipSize = 33, m_pipOffset = 25;
    double m_pipAlpha = 0.8;

    wxDECLARE_EVENT_TABLE();
};
