// The form's window tests: offscreen, in German unless TENSIQ_TEST_LANGUAGE_DIR names a folder
// whose language library is to be chosen.

#include "LanguageChoice.h"
#include "PlatformResources.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (const char* folder = std::getenv("TENSIQ_TEST_LANGUAGE_DIR"))
        tensiq::ChooseLanguage(folder);
    else
        tensiq::ChooseLanguage("/nonexistent");
    tensiq::SetResourceModule(tensiq::CurrentResourceModule());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
