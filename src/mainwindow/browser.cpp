#include "mainwindow/browser.h"

#include <wx/utils.h>

static BrowserHandler& Handler()
{
    static BrowserHandler handler;
    return handler;
}

bool OpenInBrowser(const wxString& url)
{
    if (Handler())
        return Handler()(url);
    return wxLaunchDefaultBrowser(url);
}

BrowserHandler SetBrowserHandler(BrowserHandler handler)
{
    BrowserHandler previous = Handler();
    Handler() = std::move(handler);
    return previous;
}
