// Linked into test programs that need fonts: one QGuiApplication on the offscreen platform
// for the whole run.
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        App = std::make_unique<QGuiApplication>(Argc, Argv);
    }
    void TearDown() override { App.reset(); }

private:
    int Argc = 1;
    char Name[16] = "tests";
    char* Argv[2] = {Name, nullptr};
    std::unique_ptr<QGuiApplication> App;
};

[[maybe_unused]] ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new TGuiEnvironment);

} // namespace
