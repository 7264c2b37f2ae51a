// The yardstick for `quillon-cli --version`: a bare QCoreApplication that
// prints a version line and ends.
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("bare 1.0\n");
    return 0;
}
