// The channel tree's service lists: bouquets and providers from the
// receiver, the alphabetical "Sender" lists, the favourites menus of the
// TV bouquets and the provider caches.
#include "mainwindow/mainframe.h"

#include <algorithm>
#include <wx/file.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/splashframe.h"
#include "mainwindow/treectrl.h"
#include "webif/itemdata.h"
#include "webif/services.h"
#include "webif/webif.h"

// Indices into the tree's image list.
enum {
    IMG_INDEX_TV = 0,
    IMG_INDEX_RA = 1,
    IMG_INDEX_TV_OPEN = 3,
    IMG_INDEX_RA_OPEN = 4,
    IMG_INDEX_TV_SERVICE = 6,
    IMG_INDEX_RA_SERVICE = 7,
    IMG_INDEX_MARKER = 9,
};

// Own-bouquet menus stop short of the 100th bouquet.
static const int kLastOwnBouquetIndex = 98;

int CompareTreeItems(const wxString& a, const wxString& b)
{
    return CompareServiceNames(a, b);
}

static wxBitmap ResourceBitmap(const char* name)
{
    // A missing image must not raise an error box in the middle of a load.
    if (!wxXmlResource::Get()->GetResourceNode(name))
        return wxNullBitmap;
    return wxXmlResource::Get()->LoadBitmap(name);
}

// A menu label shows "&" only when it is doubled.
static wxString MenuLabel(const wxString& name)
{
    wxString label(name);
    label.Replace(wxT("&"), wxT("&&"));
    return label;
}

static bool ReadProviderCache(const wxString& path, wxString& text)
{
    wxFile file;
    if (!wxFileExists(path) || !file.Open(path))
        return false;
    return file.ReadAll(&text);  // encoding detected (UTF-8 unless the file says otherwise)
}

static void WriteProviderCache(const wxString& path, const wxString& text)
{
    // Written to a temporary file first: a cache cut short would be used for ever.
    wxTempFile out(path);
    if (out.IsOpened() && out.Write(text, wxConvUTF8))
        out.Commit();
}

void MyMainFrame::getServices(int kind, bool resetSearch)
{
    if (resetSearch)
        serviceFound = false;
    const wxString path = ServiceListPath(kind);
    if (path.empty())
        return;

    if (IsProviderKind(kind)) {
        const wxString cache = CFG_PATH + ProviderCacheName(kind, config.profile_active);
        wxString cached;
        if (ReadProviderCache(cache, cached)) {
            result = cached;
        } else {
            if (!getWebIF(path))
                return;
            std::vector<ServiceBouquet> list;
            if (!ParseServiceList(result, list))
                return;  // not a service list: keeping it would hide the providers until deleted by hand
            WriteProviderCache(cache, result);
            addServices(kind, list);
            return;
        }
    } else if (!getWebIF(path)) {
        return;
    }

    std::vector<ServiceBouquet> list;
    if (ParseServiceList(result, list))
        addServices(kind, list);
}

namespace {

// A service waiting for its place in the "Sender" list.
struct PendingEntry {
    wxString name;
    MyChannelItemData* data;
};

}  // namespace

void MyMainFrame::addServices(int kind, const std::vector<ServiceBouquet>& list)
{
    const int listNo = ServiceListNumber(kind);
    const bool tv = listNo == 1;
    const bool providers = IsProviderKind(kind);
    const wxTreeItemId parent = tv ? (providers ? grpTVProv : grpTVOwn) : (providers ? grpRAProv : grpRAOwn);
    const wxTreeItemId all = tv ? grpTVAll : grpRAAll;
    const int groupNo = providers ? 2 : 1;
    const int serviceImage = tv ? IMG_INDEX_TV_SERVICE : IMG_INDEX_RA_SERVICE;
    if (!tree || !parent.IsOk())
        return;

    const bool withMenus = kind == LIST_TV_BOUQUETS;
    wxBitmap videoBitmap, markerBitmap;
    if (withMenus) {
        videoBitmap = ResourceBitmap("IMG_VIDEO");
        markerBitmap = ResourceBitmap("IMG_TREE_MARKER");
    }

    // Into an empty "Sender" list the entries go already sorted, which spares
    // sorting a huge node afterwards; otherwise they are merged by sorting.
    const bool allWasEmpty = providers && all.IsOk() && tree->GetChildrenCount(all, false) == 0;
    std::vector<PendingEntry> pending;
    int allCount = providers && all.IsOk() ? (int)tree->GetChildrenCount(all, false) : 0;

    tree->Freeze();
    int bouquetNo = 0;
    for (const ServiceBouquet& bouquet : list) {
        ++bouquetNo;
        wxTreeItemId bouquetItem = tree->AppendItem(parent, bouquet.name, tv ? IMG_INDEX_TV : IMG_INDEX_RA, -1,
                                                    new MyChannelItemData(0, bouquet.ref, bouquet.name, bouquet.rawRef));
        tree->SetItemImage(bouquetItem, tv ? IMG_INDEX_TV_OPEN : IMG_INDEX_RA_OPEN, wxTreeItemIcon_Expanded);

        wxMenu* menu = nullptr;
        wxMenuItem* placeholder = nullptr;
        if (withMenus && ownBouquetCount < kLastOwnBouquetIndex) {
            ++ownBouquetCount;
            menu = new wxMenu;
            ownBouquetMenu[ownBouquetCount] = menu;
            ownBouquetName[ownBouquetCount] = bouquet.name;
            ownBouquetItem[ownBouquetCount] = bouquetItem;
            // Keeps an empty bouquet's menu from being empty.
            placeholder = new wxMenuItem(menu, wxID_ANY, wxT(" "));
            if (markerBitmap.IsOk())
                placeholder->SetBitmap(markerBitmap);
            menu->Append(placeholder);
        }

        int entryNo = 0;
        for (const ServiceEntry& service : bouquet.services) {
            ++entryNo;
            const bool marker = IsMarkerSRef(service.ref);
            if (menu) {
                wxMenuItem* item = new wxMenuItem(menu, wxID_ANY, MenuLabel(service.name),
                                                  wxString::Format(wxT("%d:%d"), ownBouquetCount, entryNo - 1));
                const wxBitmap& bmp = marker ? markerBitmap : videoBitmap;
                if (bmp.IsOk())
                    item->SetBitmap(bmp);
                menu->Append(item);
                if (marker)
                    item->Enable(false);
                if (placeholder) {
                    menu->Destroy(placeholder);
                    placeholder = nullptr;
                }
            }
            if (marker) {
                tree->AppendItem(bouquetItem, service.name, IMG_INDEX_MARKER);
                continue;
            }

            MyChannelItemData* data = new MyChannelItemData(listNo, service.ref, bouquet.name);
            data->setTreePos(BouquetEntryPosition(listNo, groupNo, bouquetNo, entryNo));
            wxTreeItemId item = tree->AppendItem(bouquetItem, service.name, serviceImage, -1, data);
            // References of relays end in "::name"; the receiver reports them without it.
            if (!serviceFound && !currentSRef.empty() &&
                (service.ref == currentSRef || (service.ref.Contains(wxT("::")) &&
                                                service.ref.BeforeLast(':') == currentSRef))) {
                serviceFound = true;
                startItem = item;
                if (SplashFrame)
                    SplashFrame->startItem = item;
                if (boxMode && boxMode->GetStaticBox())
                    boxMode->GetStaticBox()->SetLabel(tv ? wxT(" Wiedergabemodus [ TV ] ")
                                                         : wxT(" Wiedergabemodus [ RA ] "));
            }

            if (providers && all.IsOk()) {
                MyChannelItemData* copy = new MyChannelItemData(listNo, service.ref, bouquet.name);
                copy->setTreePos(AllServicesPosition(listNo, ++allCount));
                if (allWasEmpty)
                    pending.push_back(PendingEntry{service.name, copy});
                else
                    tree->AppendItem(all, service.name, serviceImage, -1, copy);
            }
        }
    }

    if (providers && all.IsOk()) {
        if (allWasEmpty) {
            std::stable_sort(pending.begin(), pending.end(), [](const PendingEntry& a, const PendingEntry& b) {
                return CompareTreeItems(a.name, b.name) < 0;
            });
            int number = 0;
            for (PendingEntry& e : pending) {
                e.data->setTreePos(RenumberedPosition(e.data->getTreePos(), ++number));
                tree->AppendItem(all, e.name, serviceImage, -1, e.data);
            }
        } else if (tree->GetChildrenCount(all, false) > 0) {
            tree->SortChildren(all);
            wxTreeItemIdValue cookie;
            int number = 0;
            for (wxTreeItemId c = tree->GetFirstChild(all, cookie); c.IsOk(); c = tree->GetNextChild(all, cookie)) {
                MyChannelItemData* data = dynamic_cast<MyChannelItemData*>(tree->GetItemData(c));
                ++number;
                if (data)
                    data->setTreePos(RenumberedPosition(data->getTreePos(), number));
            }
        }
    }
    tree->Thaw();
}
