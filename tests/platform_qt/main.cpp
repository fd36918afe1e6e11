// The desktop backend's tests need a QApplication; without a display they
// run on the offscreen platform (also when the test list is read at build
// time). Qt's own settings (the file dialog keeps its columns there) go to
// a fresh folder, so the dialogs open as on a first run and the user's
// settings stay as they are.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (config.isValid()) qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
