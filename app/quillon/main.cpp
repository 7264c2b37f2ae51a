#include "ui/QuillonApplication.h"

int main(int argc, char** argv)
{
    quillon::QuillonApplication app(argc, argv);
    return quillon::Main(app);
}
