// The controls' tests need an application object; they draw on the offscreen platform.

#include "ControlsTestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    tensiq::test::PrepareQtEnvironment();
    QApplication app(argc, argv);
    tensiq::test::UseDialogFont();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
