// The embedded layouts and images: every top-level name and every bitmap
// name that the windows ask for must resolve at run time.
#include <gtest/gtest.h>
#include "support/resources.h"

#include <memory>
#include <set>
#include <wx/bmpbuttn.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/toolbar.h>
#include <wx/menu.h>
#include <wx/sound.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include "mainwindow/treectrl.h"
#include "resources/sounds.h"

extern void InitXmlResource();

namespace {

void LoadEmbedded()
{
    LoadResourcesOnce();
}

struct TopLevel {
    const char* name;
    const char* cls;   // wxFrame, wxDialog or wxMenu
};

// Later work appends its dialogs and popup menus here.
const TopLevel kTopLevel[] = {
    { "ID_SPLASHFRAME", "wxFrame" },
    { "ID_MAINFRAME", "wxFrame" },
    { "ID_VIDEOFRAME", "wxFrame" },
    { "ID_FULLFRAME", "wxFrame" },
    { "ID_LOGFRAME", "wxFrame" },
    { "ID_DIALOG_ABOUT", "wxDialog" },
    { "ID_DIALOG_DONATION", "wxDialog" },
    { "ID_MENU_TVRA", "wxMenu" },
    { "ID_MENU_HD", "wxMenu" },
    { "ID_MENU_STANDALONEVIDEO", "wxMenu" },
    { "ID_MENU_FULLSCREENVIDEO", "wxMenu" },
    { "ID_MENU_TASKBAR", "wxMenu" },
};

const char* const kIcons[] = {
    "IMG_ICON_TASKBAR", "IMG_LOG_INF", "IMG_LOG_WRN", "IMG_LOG_ERR", "IMG_LOG_VER",
};

const char* const kBitmaps[] = {
    "IMG_SPLASHSCREEN", "CUR_FULLSCREEN", "IMG_FLAG_DE",
    "IMG_RESYNC1", "IMG_RESYNC2", "IMG_TIMEOUT", "IMG_ABORT", "IMG_PLAY", "IMG_PAUSE",
    "IMG_TREE_TV_C", "IMG_TREE_RA_C", "IMG_TREE_HD_C", "IMG_TREE_TV_O", "IMG_TREE_RA_O",
    "IMG_TREE_HD_O", "IMG_TREE_TV", "IMG_TREE_RA", "IMG_TREE_HD", "IMG_TREE_MARKER", "IMG_VIDEO",
    "IMG_CHOICE_AUDIO", "IMG_CHOICE_VIDEO",
    "DEFAULT_PICON",
    "BMP_FONT_G0", "BMP_FONT_G1_C", "BMP_FONT_G1_S", "BMP_FONT_G0_NS",
    "BMP_FONT_G0_DH", "BMP_FONT_G1_C_DH", "BMP_FONT_G1_S_DH", "BMP_FONT_G0_NS_DH",
    "IMG_REMOTECONTROLTYPE1", "IMG_REMOTECONTROLTYPE2", "IMG_REMOTECONTROLTYPE3",
    "IMG_REMOTECONTROLTYPE4", "IMG_REMOTECONTROLMASK1", "IMG_REMOTECONTROLMASK2",
    "IMG_REMOTECONTROLMASK3", "IMG_REMOTECONTROLMASK4",
    "IMG_TIMER_0", "IMG_TIMER_1", "IMG_TIMER_2", "IMG_TIMER_3", "IMG_TIMER_4", "IMG_TIMER_5",
    "IMG_PROVIDER_1", "IMG_PROVIDER_2", "IMG_PROVIDER_3", "IMG_PROVIDER_4",
    "IMG_PROFILE_1", "IMG_PROFILE_2", "IMG_PROFILE_3", "IMG_PROFILE_4", "IMG_PROFILE_5",
    "IMG_PROFILE_6", "IMG_PROFILE_7", "IMG_PROFILE_8", "IMG_PROFILE_9", "IMG_PROFILE_10",
    "IMG_SORT_AZ", "IMG_SORT_ZA", "IMG_SORT_09", "IMG_SORT_90",
    "IMG_ABOUT_UPDATE_LIN_48", "IMG_ABOUT_UPDATE_LIN_64",
    "IMG_ABOUT_LANGUAGE_48", "IMG_ABOUT_LANGUAGE_64", "IMG_ABOUT_FORUM_48", "IMG_ABOUT_FORUM_64",
    "IMG_ABOUT_EMAIL_48", "IMG_ABOUT_EMAIL_64", "IMG_ABOUT_DONATE_48", "IMG_ABOUT_DONATE_64",
    "IMG_DONATION_PAYPAL", "IMG_DONATION_EBANKING",
};

// Loads a top-level object and releases it again; false when it is missing.
bool LoadsByName(const TopLevel& t)
{
    const wxString cls = wxString::FromUTF8(t.cls);
    const wxString name = wxString::FromUTF8(t.name);
    if (cls == wxT("wxMenu")) {
        std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(name));
        return menu && menu->GetMenuItemCount() > 0;
    }
    if (cls == wxT("wxDialog")) {
        auto* dialog = new wxDialog;
        const bool ok = wxXmlResource::Get()->LoadDialog(dialog, nullptr, name);
        dialog->Destroy();
        return ok;
    }
    auto* frame = new wxFrame;
    const bool ok = wxXmlResource::Get()->LoadFrame(frame, nullptr, name);
    frame->Destroy();
    return ok;
}

wxString SourcePath(const wxString& relative)
{
    return wxString::FromUTF8(ZP_SOURCE_DIR) + wxT("/") + relative;
}

} // namespace

TEST(Resources, EveryTopLevelObjectLoadsByName)
{
    LoadEmbedded();
    for (const TopLevel& t : kTopLevel)
        EXPECT_TRUE(LoadsByName(t)) << t.name;
}

TEST(Resources, MissingNameGivesNoWindow)
{
    LoadEmbedded();
    wxLogNull quiet;
    EXPECT_FALSE(LoadsByName({ "ID_NO_SUCH_FRAME", "wxFrame" }));
    EXPECT_FALSE(LoadsByName({ "ID_NO_SUCH_DIALOG", "wxDialog" }));
}

TEST(Resources, EveryBitmapAndIconResolves)
{
    LoadEmbedded();
    for (const char* name : kBitmaps) {
        wxBitmap bmp = wxXmlResource::Get()->LoadBitmap(name);
        EXPECT_TRUE(bmp.IsOk()) << name;
    }
    for (const char* name : kIcons) {
        wxIcon icon = wxXmlResource::Get()->LoadIcon(name);
        EXPECT_TRUE(icon.IsOk()) << name;
    }
    EXPECT_EQ(wxXmlResource::Get()->LoadBitmap(wxT("IMG_TREE_TV")).GetWidth(), 16);
    EXPECT_EQ(wxXmlResource::Get()->LoadBitmap(wxT("IMG_ABOUT_FORUM_48")).GetWidth(), 48);
    EXPECT_EQ(wxXmlResource::Get()->LoadBitmap(wxT("IMG_ABOUT_FORUM_64")).GetWidth(), 64);
}

TEST(Resources, FlagOfLanguageWithoutPictureIsEmpty)
{
    LoadEmbedded();
    wxLogNull quiet;
    EXPECT_FALSE(wxXmlResource::Get()->LoadBitmap(wxT("IMG_FLAG_XX")).IsOk());
}

TEST(Resources, FilesLiveUnderTheirMemoryNames)
{
    LoadEmbedded();
    wxFileSystem fs;
    for (const char* file : { "resource.xrc", "images.xrc", "gfx_icon.png", "gfx_splash_splash.png",
                              "gfx_tool_stop.png" }) {
        std::unique_ptr<wxFSFile> f(
            fs.OpenFile(wxT("memory:XRC_resource/resource$") + wxString::FromUTF8(file)));
        EXPECT_TRUE(f) << file;
    }
    // The probe file of the registration is gone again.
    wxLogNull quiet;
    std::unique_ptr<wxFSFile> probe(fs.OpenFile(wxT("memory:XRC_resource/dummy_file")));
    EXPECT_FALSE(probe);
}

TEST(Resources, ChannelTreeIsTheOwnTreeClass)
{
    LoadEmbedded();
    auto* frame = new wxFrame;
    ASSERT_TRUE(wxXmlResource::Get()->LoadFrame(frame, nullptr, wxT("ID_MAINFRAME")));
    wxWindow* tree = frame->FindWindow(XRCID("ID_TREECTRL1"));
    ASSERT_NE(tree, nullptr);
    EXPECT_NE(dynamic_cast<MyTreeCtrl*>(tree), nullptr);
    frame->Destroy();
}

TEST(Resources, MainMenuCarriesEveryCommandAndTenSources)
{
    LoadEmbedded();
    auto* frame = new wxFrame;
    ASSERT_TRUE(wxXmlResource::Get()->LoadFrame(frame, nullptr, wxT("ID_MAINFRAME")));
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    const std::pair<const char*, const char*> items[] = {
        { "ID_MENUITEM_HOME", "Heimatverzeichnis" }, { "ID_MENUITEM1", "Beenden" },
        { "ID_MENUITEM2", "Konfiguration" }, { "ID_MENUITEM3", "Info" },
        { "ID_MENUITEM4", "Hilfe" }, { "ID_MENUITEM9", "Boxinformation" },
        { "ID_MENUITEM_REBOOT", "Box neustarten" }, { "ID_MENUITEM_STANDBY", "Box bereithalten" },
        { "ID_MENUITEM_SHUTDOWN", "Box ausschalten" }, { "ID_MENUITEM_RESTART", "GUI neustarten" },
        { "ID_MENUITEM_REMOTECONTROL", "Fernsteuerung" }, { "ID_MENUITEM_MESSAGE", "Nachricht" },
    };
    for (const auto& [name, label] : items) {
        wxMenuItem* item = bar->FindItem(XRCID(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->GetItemLabelText(), wxString::FromUTF8(label)) << name;
    }
    for (int i = 1; i <= 10; i++) {
        wxMenuItem* item = bar->FindItem(XRCID(wxString::Format(wxT("ID_MENUITEM_BOX%d"), i % 10)));
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(item->GetItemLabelText(), wxString::Format(wxT("#%d: unbenutzt"), i));
    }
    EXPECT_NE(bar->FindMenu(wxT("Einstellungen")), wxNOT_FOUND);

    wxToolBar* tools = frame->GetToolBar();
    ASSERT_NE(tools, nullptr);
    for (const char* name : { "ID_TOOL_LOGGER", "ID_TOOL_REW", "ID_TOOL_FWD", "ID_TOOL_PLAY_PAUSE",
                              "ID_TOOL_STOP", "ID_TOOL_RECORD", "ID_TOOL_FULLSCREEN",
                              "ID_TOOL_STANDALONE", "ID_TOOL_WALLPAPER", "ID_TOOL_CHANNELEPG",
                              "ID_TOOL_BOUQUETEPG", "ID_TOOL_EPGSEARCH", "ID_TOOL_TELETEXT",
                              "ID_TOOL_TIMER", "ID_TOOL_STREAMINFO", "ID_TOOL_SCREENSHOT",
                              "ID_GAUGE_VOLUME" })
        EXPECT_NE(tools->FindById(XRCID(name)), nullptr) << name;
    EXPECT_EQ(tools->FindById(XRCID("ID_TOOL_RECORD"))->GetKind(), wxITEM_CHECK);
    frame->Destroy();
}

TEST(Resources, PopupMenusHoldTheirEntries)
{
    LoadEmbedded();
    const std::pair<const char*, std::vector<const char*>> menus[] = {
        { "ID_MENU_TVRA", { "ID_MENUITEM_TVRA_PLAY", "ID_MENUITEM_TVRA_PIP", "ID_MENUITEM_TVRA_EPG",
                            "ID_MENUITEM_TVRA_INFO" } },
        { "ID_MENU_HD", { "ID_MENUITEM_HD_PLAY", "ID_MENUITEM_HD_DOWNLOAD", "ID_MENUITEM_HD_INFO",
                          "ID_MENUITEM_HD_EDIT", "ID_MENUITEM_HD_DELETE", "ID_MENUITEM_HD_SORT_AZ",
                          "ID_MENUITEM_HD_SORT_90" } },
        { "ID_MENU_STANDALONEVIDEO",
          { "ID_MENUITEM_ZAP_UP", "ID_MENUITEM_REZAP", "ID_MENUITEM_ZAP_DN", "ID_MENU_FAVS",
            "ID_MENU_AUDIOTRACK", "ID_MENU_VIDEOTRACK", "ID_MENUITEM_TELETEXT",
            "ID_MENUITEM_CHANNEL_EPG", "ID_MENUITEM_BOUQUET_EPG", "ID_MENUITEM_EPGSEARCH",
            "ID_MENUITEM_FULLSCREEN", "ID_MENUITEM_1:1", "ID_MENUITEM_1:2", "ID_MENUITEM_1:4",
            "ID_MENUITEM_ONTOP", "ID_MENUITEM_BACK" } },
        { "ID_MENU_FULLSCREENVIDEO",
          { "ID_MENUITEM_ZAP_UP", "ID_MENUITEM_REZAP", "ID_MENUITEM_ZAP_DN", "ID_MENU_FAVS",
            "ID_MENU_AUDIOTRACK", "ID_MENU_VIDEOTRACK", "ID_MENU_SUBTITLE",
            "ID_MENUITEM_SUBTITLE_OFF", "ID_MENU_PIP", "ID_MENUITEM_PIP_OFF", "ID_MENUITEM_PIP_SWAP",
            "ID_MENUITEM_PIP_TL", "ID_MENUITEM_PIP_TR", "ID_MENUITEM_PIP_LR", "ID_MENUITEM_PIP_BL",
            "ID_MENUITEM_PIP_BR", "ID_MENUITEM_DEINTERLACE", "ID_MENUITEM_CLOCK",
            "ID_MENUITEM_BACK" } },
        { "ID_MENU_TASKBAR", { "ID_MENUITEM_RESTORE" } },
    };
    for (const auto& [menuName, entries] : menus) {
        std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(menuName));
        ASSERT_TRUE(menu) << menuName;
        for (const char* entry : entries)
            EXPECT_NE(menu->FindItem(XRCID(entry)), nullptr) << menuName << " " << entry;
    }
    std::unique_ptr<wxMenu> video(wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_STANDALONEVIDEO")));
    EXPECT_TRUE(video->FindItem(XRCID("ID_MENUITEM_ONTOP"))->IsChecked());
    std::unique_ptr<wxMenu> full(wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_FULLSCREENVIDEO")));
    // The subtitle choice opens only when a subtitle stream is found.
    wxMenuItem* subtitles = full->FindItem(XRCID("ID_MENU_SUBTITLE"));
    ASSERT_NE(subtitles, nullptr);
    EXPECT_FALSE(subtitles->IsEnabled());
    EXPECT_EQ(subtitles->GetSubMenu()->GetMenuItemCount(), 2u);
}

// The layout document itself: format version, unique top-level names, and
// every file it names present beside it. (wxrc's own validation needs an
// online schema.)
TEST(Resources, LayoutDocumentIsConsistent)
{
    for (const char* doc : { "src/resources/resource.xrc", "src/resources/images.xrc" }) {
        wxXmlDocument xml;
        ASSERT_TRUE(xml.Load(SourcePath(wxString::FromUTF8(doc)))) << doc;
        wxXmlNode* root = xml.GetRoot();
        ASSERT_EQ(root->GetName(), wxT("resource"));
        EXPECT_EQ(root->GetAttribute(wxT("version")), wxT("2.3.0.1")) << doc;
        std::set<wxString> names;
        std::vector<wxXmlNode*> stack;
        for (wxXmlNode* n = root->GetChildren(); n; n = n->GetNext()) {
            if (n->GetType() != wxXML_ELEMENT_NODE)
                continue;
            EXPECT_EQ(n->GetName(), wxT("object")) << doc;
            EXPECT_TRUE(n->HasAttribute(wxT("class"))) << doc;
            const wxString name = n->GetAttribute(wxT("name"));
            EXPECT_FALSE(name.empty()) << doc;
            EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
            stack.push_back(n);
        }
        while (!stack.empty()) {
            wxXmlNode* n = stack.back();
            stack.pop_back();
            for (wxXmlNode* c = n->GetChildren(); c; c = c->GetNext()) {
                const bool file = c->GetContent().StartsWith(wxT("gfx/"))
                    || c->GetContent().StartsWith(wxT("toolgfx/"));
                if (c->GetType() == wxXML_TEXT_NODE && file)
                    EXPECT_TRUE(wxFileExists(SourcePath(wxT("src/resources/") + c->GetContent())))
                        << c->GetContent();
                if (c->GetType() == wxXML_ELEMENT_NODE)
                    stack.push_back(c);
            }
        }
    }
}

TEST(Resources, SoundsAreCompleteWaveFiles)
{
    const std::pair<const unsigned char*, size_t> sounds[] = {
        { wavdata_click, wavdata_click_size }, { wavdata_notify, wavdata_notify_size } };
    const char* const files[] = { "src/resources/gfx/gfx_click.wav", "src/resources/gfx/gfx_notify.wav" };
    for (int i = 0; i < 2; i++) {
        const auto& [data, size] = sounds[i];
        ASSERT_GT(size, 44u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), 4), "RIFF");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(data) + 8, 4), "WAVE");
        EXPECT_EQ(wxFileName::GetSize(SourcePath(wxString::FromUTF8(files[i]))), wxULongLong(size));
        wxSound sound(size, data);
        EXPECT_TRUE(sound.IsOk()) << files[i];
    }
}

// Every control that the window classes look up by name, with its class.
TEST(Resources, FramesHoldTheNamedControls)
{
    LoadEmbedded();
    struct Control {
        const char* name;
        wxClassInfo* cls;
    };
    const std::pair<const char*, std::vector<Control>> frames[] = {
        { "ID_MAINFRAME",
          { { "ID_PANEL", CLASSINFO(wxPanel) }, { "ID_VIDEOWINDOW", CLASSINFO(wxPanel) },
            { "ID_BOXSIZER1", CLASSINFO(wxStaticBox) }, { "ID_BOXSIZER2", CLASSINFO(wxStaticBox) },
            { "ID_BOXSIZER3", CLASSINFO(wxStaticBox) },
            { "ID_TOGGLEBUTTON_TV", CLASSINFO(wxToggleButton) },
            { "ID_TREECTRL1", CLASSINFO(MyTreeCtrl) },
            { "ID_BUTTON_PREV_MARKER", CLASSINFO(wxBitmapButton) },
            { "ID_BUTTON_PREV_SERVICE", CLASSINFO(wxBitmapButton) },
            { "ID_BUTTON_REZAP", CLASSINFO(wxBitmapButton) },
            { "ID_BUTTON_NEXT_SERVICE", CLASSINFO(wxBitmapButton) },
            { "ID_BUTTON_NEXT_MARKER", CLASSINFO(wxBitmapButton) },
            { "ID_STATIC_PICON", CLASSINFO(wxStaticBitmap) },
            { "ID_STATICTEXT1", CLASSINFO(wxStaticText) }, { "ID_STATICTEXT2", CLASSINFO(wxStaticText) },
            { "ID_STATICTEXT3", CLASSINFO(wxStaticText) }, { "ID_STATICTEXT4", CLASSINFO(wxStaticText) },
            { "ID_STATICTEXT5", CLASSINFO(wxStaticText) }, { "ID_STATICTEXT6", CLASSINFO(wxStaticText) },
            { "ID_GAUGE_PROGRESS", CLASSINFO(wxGauge) }, { "ID_GAUGE_VOLUME", CLASSINFO(wxGauge) },
            { "ID_CHOICE_AUDIO", CLASSINFO(wxBitmapComboBox) },
            { "ID_CHOICE_VIDEO", CLASSINFO(wxBitmapComboBox) } } },
        { "ID_SPLASHFRAME",
          { { "ID_STATICBITMAP_SPLASHBITMAP", CLASSINFO(wxStaticBitmap) },
            { "ID_GAUGE_SPLASHGAUGE", CLASSINFO(wxGauge) },
            { "ID_STATICTEXT_SPLASHTEXT", CLASSINFO(wxStaticText) } } },
        { "ID_LOGFRAME",
          { { "ID_TEXTCTRL_LOG", CLASSINFO(wxTextCtrl) }, { "ID_LISTCTRL_LOG", CLASSINFO(wxListCtrl) },
            { "ID_LISTCTRL_SEL", CLASSINFO(wxListCtrl) }, { "ID_CHECKBOX_INF", CLASSINFO(wxCheckBox) },
            { "ID_CHECKBOX_WRN", CLASSINFO(wxCheckBox) }, { "ID_CHECKBOX_ERR", CLASSINFO(wxCheckBox) },
            { "ID_CHECKBOX_VER", CLASSINFO(wxCheckBox) }, { "wxID_STATIC_INF", CLASSINFO(wxStaticText) },
            { "wxID_STATIC_WRN", CLASSINFO(wxStaticText) }, { "wxID_STATIC_ERR", CLASSINFO(wxStaticText) },
            { "wxID_STATIC_VER", CLASSINFO(wxStaticText) }, { "wxID_STATIC_VCN", CLASSINFO(wxStaticText) },
            { "ID_BUTTON_COPY", CLASSINFO(wxButton) }, { "ID_BUTTON_SAVE", CLASSINFO(wxButton) } } },
        { "ID_VIDEOFRAME", { { "ID_STANDALONE_VIDEOWINDOW", CLASSINFO(wxPanel) } } },
        { "ID_FULLFRAME", { { "ID_FULLSCREEN_VIDEOWINDOW", CLASSINFO(wxPanel) } } },
    };
    for (const auto& [frameName, controls] : frames) {
        auto* frame = new wxFrame;
        ASSERT_TRUE(wxXmlResource::Get()->LoadFrame(frame, nullptr, frameName)) << frameName;
        for (const Control& c : controls) {
            wxWindow* w = frame->FindWindow(XRCID(c.name));
            ASSERT_NE(w, nullptr) << frameName << " " << c.name;
            EXPECT_TRUE(w->IsKindOf(c.cls)) << c.name << " is " << w->GetClassInfo()->GetClassName();
        }
        frame->Destroy();
    }
}
