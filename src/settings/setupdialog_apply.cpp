// Leaving the settings dialog: applying, discarding, and the factory values
// of one page.
#include "settings/setupdialog.h"

#include <wx/bmpcbox.h>
#include <wx/listbook.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/scrolbar.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include "app/config.h"
#include "app/configfile.h"
#include "app/globals.h"
#include "app/seams.h"
#include "mainwindow/mainframe.h"
#include "settings/preview.h"
#include "settings/tooltips.h"

namespace {

ZPCONFIG FactoryDefaults()
{
    ZPCONFIG factory;
    ResetConfig(factory);
    ClampConfig(factory);
    return factory;
}

}  // namespace

void MySetupDialog::Finish(int result)
{
    SetReturnCode(result);
    if (IsModal())
        EndModal(result);
    else
        Hide();
}

void MySetupDialog::StoreInto(ZPCONFIG& cfg) const
{
    if (language && language->GetSelection() != wxNOT_FOUND)
        cfg.language = language->GetString(language->GetSelection());
    if (channels)
        ChannelListFlags(channels->GetSelection(), &cfg.tvproviders, &cfg.raproviders);
    if (timerDir)
        cfg.timerdir = NormaliseTimerDir(timerDir->GetValue());
    if (timerTag)
        cfg.timertag = timerTag->GetValue();
    if (epgSimilar)
        cfg.epgsimilar = epgSimilar->GetValue() ? 1 : 0;
    if (expertMode)
        cfg.expertmode = expertMode->GetValue() ? 1 : 0;
    if (toolTips)
        cfg.tooltips = toolTips->GetValue() ? 1 : 0;
    if (onlineUpdate)
        cfg.onlineupdate = onlineUpdate->GetValue() ? 1 : 0;

    cfg.lband = AVValue(AV_LOW);
    cfg.mband = AVValue(AV_MID);
    cfg.hband = AVValue(AV_HIGH);
    cfg.brightness = AVValue(AV_BRIGHTNESS);
    cfg.contrast = AVValue(AV_CONTRAST);
    cfg.color = AVValue(AV_COLOR);

    // The running program stays with the receiver it talks to, however the
    // profiles were moved, edited or deleted; a profile switch leaves it.
    const ZPPROFILE talking = config.active();
    m_profiles.store(cfg);
    cfg.keepConnection = !runConfig && !SameConnection(cfg.profile[cfg.profile_active], talking);
    cfg.connection = cfg.keepConnection ? talking : ZPPROFILE();

    if (proxyMode)
        cfg.proxymode = proxyMode->GetValue();
    if (proxyHost)
        cfg.proxy.host = proxyHost->GetValue();
    if (proxyPort)
        cfg.proxy.port = FieldNumber(proxyPort->GetValue());
    if (proxyUser)
        cfg.proxy.user = proxyUser->GetValue();
    if (proxyPass)
        cfg.proxy.pass = proxyPass->GetValue();
    cfg.proxyvalid = !cfg.proxy.host.empty() && cfg.proxy.port >= 1 && cfg.proxy.port <= 65535 &&
                     !cfg.proxy.user.empty() && !cfg.proxy.pass.empty();
    if (!cfg.proxyvalid)
        cfg.proxymode = false;

    if (recDir)
        cfg.recdir = recDir->GetValue();
    if (excludeDir)
        cfg.excludedir = excludeDir->GetValue();
    if (sortMode)
        cfg.sortmode = sortMode->GetSelection() >= 0 ? sortMode->GetSelection() : 0;
    if (skipTime)
        cfg.skiptime = FieldNumber(skipTime->GetValue());
    if (rezap)
        cfg.rezap = rezap->GetValue() ? 1 : 0;
    cfg.pipposition = PiPPosition();
    if (pipSize)
        cfg.pipsize = PiPSizeValue(pipSize->GetThumbPosition());
    if (pipOffset)
        cfg.pipoffset = pipOffset->GetThumbPosition();
    if (pipAlpha)
        cfg.pipalpha = PiPAlphaValue(pipAlpha->GetThumbPosition());
}

bool MySetupDialog::Apply()
{
    // Everything is checked before anything is stored: a refused apply
    // leaves the record as it was.
    wxString fault = CheckProfiles(m_profiles);
    int page = PAGE_NETWORK;
    if (fault.empty()) {
        fault = CheckProxy(proxyMode && proxyMode->GetValue(), proxyHost ? proxyHost->GetValue() : wxString(),
                           proxyPort ? proxyPort->GetValue() : wxString(),
                           proxyUser ? proxyUser->GetValue() : wxString(),
                           proxyPass ? proxyPass->GetValue() : wxString());
        page = PAGE_PROXY;
    }
    if (fault.empty() && skipTime) {
        fault = CheckSkipTime(skipTime->GetValue());
        page = PAGE_REC;
    }
    if (!fault.empty()) {
        ZPMessageBox(fault, wxOK | wxICON_EXCLAMATION, this);
        if (book && book->GetSelection() != page)
            book->SetSelection(size_t(page));
        return false;
    }

    const ZPCONFIG before = config;
    StoreInto(config);
    if (!SetConfig(false)) {
        config = before;
        ZPMessageBox(wxString::Format(_(wxT("Die Konfiguration konnte nicht gespeichert werden!\n\n%s")),
                                      CFG_PATH + wxT("zappora.cfg")),
                     wxOK | wxICON_ERROR, this);
        return false;
    }
    runConfig = false;
    AfterApply(before);
    Finish(RESULT_APPLIED);
    return true;
}

void MySetupDialog::AfterApply(const ZPCONFIG& before)
{
    MoveProviderCaches(CFG_PATH, PlanCacheMoves(m_profiles, before));
    SetToolTipsEnabled(config.tooltips != 0);
    if (MainFrame)
        MainFrame->UpdateSettingsMenus();
    if (config.keepConnection && !before.keepConnection)
        wxLogMessage(_(wxT("Die geänderte Streamquelle wird erst beim nächsten Wechsel der Streamquelle benutzt.")));
    if (!config.language.IsSameAs(before.language, false)) {
        Hide();
        ZPMessageBox(_(wxT("Die gewählte Sprache wird erst beim nächsten Programmstart aktiv.")),
                     wxOK | wxICON_INFORMATION, GetParent());
    }
}

bool MySetupDialog::Discard()
{
    if (m_changed && !config.expertmode &&
        ZPMessageBox(_(wxT("Alle Änderungen wirklich verwerfen?")), wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return false;
    UndoPreview();
    Finish(RESULT_DISCARDED);
    return true;
}

void MySetupDialog::UndoPreview()
{
    PreviewEqualizer(config.lband, config.mband, config.hband);
    PreviewVideoBalance(config.brightness, config.contrast, config.color);
    config.pipposition = m_pipPosition;
    config.pipsize = m_pipSize;
    config.pipoffset = m_pipOffset;
    config.pipalpha = m_pipAlpha;
    PreviewPiP(m_pipPosition);
}

void MySetupDialog::ResetPage()
{
    const int page = book ? book->GetSelection() : wxNOT_FOUND;
    if (page == PAGE_NETWORK || page == wxNOT_FOUND)
        return;
    if (!config.expertmode &&
        ZPMessageBox(_(wxT("Alle Einstellungen für diese Seite wirklich auf Standardwerte zurücksetzen?")),
                     wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;

    const ZPCONFIG factory = FactoryDefaults();
    m_changed = true;
    m_filling = true;
    if (page == PAGE_PIP) {
        // the inset moves at once; leaving without applying takes it back
        config.pipposition = factory.pipposition;
        config.pipsize = factory.pipsize;
        config.pipoffset = factory.pipoffset;
        config.pipalpha = factory.pipalpha;
    }
    ShowValues(page, factory);
    if (page == PAGE_AV)
        PreviewAV();
    else if (page == PAGE_PIP)
        PreviewPiP(config.pipposition);
    m_filling = false;
}
