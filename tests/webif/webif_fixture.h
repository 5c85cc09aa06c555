// The request-layer tests' common ground.
#pragma once

#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include "app/config.h"
#include "app/globals.h"
#include "support/scripted.h"
#include "webif/webif.h"

// Every request-layer test starts outside the start-up, without dump file or
// proxy, with the default limits and a configuration directory of its own.
class WebIFTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        SplashIsActive = false;
        SplashHasError = false;
        cmd_logfile = false;
        config.proxy = ZPPROXY();
        config.proxyvalid = false;
        config.proxymode = false;
        SetWebIFLimits(kWebIFStallSeconds, kWebIFMaxBytes);
        CFG_PATH = wxGetHomeDir() + wxT("/.zappora/");
        wxFileName::Mkdir(CFG_PATH, 0700, wxPATH_MKDIR_FULL);
    }
    void TearDown() override { SetWebIFLimits(kWebIFStallSeconds, kWebIFMaxBytes); }
};
