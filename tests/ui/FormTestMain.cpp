// The form's window tests: offscreen, in the language TENSIQ_TEST_LANGUAGE names (German unless).

#include "UiTestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    tensiq::test::PrepareUiEnvironment();
    QApplication app(argc, argv);
    tensiq::test::ChooseTestLanguage();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
