// The window's tests run offscreen in the language TENSIQ_TEST_LANGUAGE names (de, en, chn).

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
