#include "ProgramRow.h"

namespace quillon {

const QString& ProgramRow::column(int number) const
{
    static const QString empty;
    if (number < 1 || number > kColumns)
        return empty;
    return columns[static_cast<std::size_t>(number - 1)];
}

void ProgramRow::setColumn(int number, const QString& text)
{
    if (number >= 1 && number <= kColumns)
        columns[static_cast<std::size_t>(number - 1)] = text;
}

}  // namespace quillon
