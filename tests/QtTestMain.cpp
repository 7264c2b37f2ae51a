// One application object for the whole test program: the jobs run from the
// event loop, and the drawing and window tests need fonts and widgets. It
// ends before the process does, so they are released before the leak check.
#include <gtest/gtest.h>
#if defined(QUILLON_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(QUILLON_DRAWING)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
