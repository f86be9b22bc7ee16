// The fixture the main-window tests share: fresh settings with their defaults, the scan globals at
// their initial values, and a way to run what the window queued on the GUI thread.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "platform/UserDefaults.h"

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
        ScanGlobals::resetToInitialValues();
    }
    void TearDown() override { ScanGlobals::resetToInitialValues(); }

    // Runs the reports, reloads and hand-overs queued on the GUI thread.
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    static QString text(const char *key) { return localizedString(QString::fromLatin1(key)); }
    static QString text(const QString &key) { return localizedString(key); }
};
