#include "platform/qt/qtmediaplayer.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Widgets are tested offscreen; one application object serves every test.
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    int failed = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        failed = RUN_ALL_TESTS();
    }
    // As the program does: the real-playback tests leave Qt's sound-server connection behind.
    lumora::platform::exitWithoutLibraryTeardown(failed);
}
