#include <QApplication>

#include <gtest/gtest.h>

// Widgets need an application object for the whole run.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
