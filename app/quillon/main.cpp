#include "ui/QuillonApplication.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> code = quillon::answerInfoOption(argc, argv))
        return *code;
    quillon::QuillonApplication app(argc, argv);
    return quillon::Main(app);
}
