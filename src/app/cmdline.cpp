#include "app/cmdline.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"

#include <wx/cmdline.h>
#include <wx/dir.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/msgout.h>
#include <wx/defs.h>

wxString CommandLineHelp()
{
    return _(wxT("unterstützte Kommandozeilen-Parameter:\n\n"
                 "-c, --config\n\tKonfigurationsdialog anzeigen\n\n"
                 "-d, --debug=Level\n\tGStreamer Debuglevel\n\n"
                 "-f, --fallback\n\tlangsame/kompatible Videoausgabe verwenden\n\n"
                 "-h, --help\n\tHilfe anzeigen\n\n"
                 "-l, --logfile\n\tLogdatei schreiben\n\n"
                 "-m, --mode=n\n\tStartmodus (1=Fenster, 2=Vollbild, 3=Desktop)\n\n"
                 "-o, --override=sRef\n\tStartkanal-ServiceReferenz angeben\n\n"
                 "-r, --rebuild\n\tGStreamer-Registry neu erstellen\n\n"
                 "-s, --source=n\n\tBox #n verwenden\n\n"
                 "-v, --verbose\n\tHinweise aktivieren\n\n"));
}

CmdLineResult EvaluateCommandLine(const wxArrayString& args, int profileCount)
{
    static const wxCmdLineEntryDesc options[] = {
        {wxCMD_LINE_SWITCH, "h", "help", nullptr, wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_SWITCH, "v", "verbose", nullptr, wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_SWITCH, "l", "logfile", nullptr, wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_SWITCH, "c", "config", nullptr, wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_SWITCH, "f", "fallback", nullptr, wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_SWITCH, "n", "nostream", nullptr, wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_SWITCH, "r", "rebuild", nullptr, wxCMD_LINE_VAL_NONE, 0},
        {wxCMD_LINE_OPTION, "s", "source", nullptr, wxCMD_LINE_VAL_NUMBER, 0},
        {wxCMD_LINE_OPTION, "m", "mode", nullptr, wxCMD_LINE_VAL_NUMBER, 0},
        {wxCMD_LINE_OPTION, "d", "debug", nullptr, wxCMD_LINE_VAL_STRING, 0},
        {wxCMD_LINE_OPTION, "o", "override", nullptr, wxCMD_LINE_VAL_STRING, 0},
        {wxCMD_LINE_NONE, nullptr, nullptr, nullptr, wxCMD_LINE_VAL_NONE, 0},
    };

    CmdLineResult r;
    wxCmdLineParser parser(options);
    std::vector<wxWCharBuffer> storage;
    std::vector<wchar_t*> argv;
    for (const wxString& arg : args)
        storage.push_back(arg.wc_str());
    for (wxWCharBuffer& arg : storage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    parser.SetCmdLine(int(args.size()), argv.data());
    parser.SetSwitchChars(wxT("-"));

    // the parser's complaints belong in the log, not on a console or in a box
    wxMessageOutput* previous = wxMessageOutput::Set(new wxMessageOutputLog);
    const int rc = parser.Parse(false);
    delete wxMessageOutput::Set(previous);

    if (rc != 0) {
        r.end = true;
        r.boxes.push_back({_(wxT("Ein Kommandozeilen-Parameter ist fehlerhaft!\n\n"
                                 "Die möglichen Parameter können mit -h oder --help angezeigt werden...")),
                           wxOK | wxICON_ERROR});
        return r;
    }
    if (parser.Found(wxT("h"))) {
        r.end = true;
        r.boxes.push_back({CommandLineHelp(), wxOK | wxICON_INFORMATION});
        return r;
    }

    r.verbose = parser.Found(wxT("v"));
    r.logfile = parser.Found(wxT("l"));
    r.runConfig = parser.Found(wxT("c"));
    r.fallback = parser.Found(wxT("f"));
    r.dontCheckStandby = parser.Found(wxT("n"));
    r.rebuild = parser.Found(wxT("r"));

    long number = 0;
    if (parser.Found(wxT("s"), &number)) {
        if (number - 1 < 0 || number - 1 >= profileCount) {
            r.boxes.push_back({wxString::Format(_(wxT("Die angegebene Stream-Quelle #%ld ist ungültig!")), number),
                               wxOK | wxICON_WARNING});
            r.activeProfile = 0;
        } else {
            r.activeProfile = number - 1;
        }
    }
    if (parser.Found(wxT("m"), &number))
        r.startMode = (number < 0 || number > 3) ? 0 : number;

    wxString text;
    if (parser.Found(wxT("d"), &text))
        r.gstdebug = text.empty() ? wxString(wxT("0")) : text;
    if (parser.Found(wxT("o"), &text)) {
        r.overrideSRef = text;
        if (!text.empty())
            r.dontCheckStandby = true;
    }
    return r;
}

bool RemoveGstRegistry(const wxString& dir)
{
    wxArrayString files;
    if (wxDir::Exists(dir))
        wxDir::GetAllFiles(dir, &files, wxT("registry.*"), wxDIR_FILES | wxDIR_HIDDEN);
    bool ok = false;
    for (const wxString& file : files)
        ok = wxRemoveFile(file);
    return ok;
}

bool ApplyCommandLine(const CmdLineResult& r)
{
    if (r.end) {
        for (const StartBox& box : r.boxes)
            ZPMessageBox(box.text, box.style);
        return false;
    }
    if (r.verbose)
        cmd_verbose = true;
    if (r.logfile) {
        cmd_logfile = true;
        wxFile dump;
        dump.Create(CFG_PATH + wxT("zappora.dbg"), true);
    }
    if (r.runConfig)
        runConfig = true;
    if (r.fallback)
        compatibility = true;
    DontCheckStandby = r.dontCheckStandby;
    if (r.rebuild) {
        if (RemoveGstRegistry(GstRegistryDir()))
            ZPMessageBox(_(wxT("Die GStreamer-Registry wurde gelöscht und wird nun neu erstellt.")),
                         wxOK | wxICON_INFORMATION);
        else
            ZPMessageBox(_(wxT("Die GStreamer-Registry konnte nicht gelöscht werden!")),
                         wxOK | wxICON_WARNING);
    }
    config.profile_active = r.activeProfile;
    for (const StartBox& box : r.boxes)
        ZPMessageBox(box.text, box.style);
    startMode = r.startMode;
    gstdebug = r.gstdebug;
    override_sref = r.overrideSRef;
    return true;
}
