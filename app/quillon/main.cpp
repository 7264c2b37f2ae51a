#include "ui/FontWarmup.h"
#include "ui/QuillonApplication.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> code = quillon::answerInfoOption(argc, argv))
        return *code;
    quillon::FontWarmup fonts;
    quillon::QuillonApplication app(argc, argv);
    fonts.wait();
    return quillon::Main(app);
}
