// Every test program runs inside a headless application with the guard and
// the scripted modal seam, so no test ever blocks on a window.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Application.h"
#include "support/ScriptedModal.h"

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Quadrelix"));
    InstallScriptedModal();
    return RUN_ALL_TESTS();
}
