#include "SendText.h"

#include "files/Cp1252.h"
#include "files/ProgramText.h"
#include "model/ProgramLine.h"

#include <QStringList>
#include <cmath>

namespace quillon {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Numeric value of a settings item rounded as the classic Integer
// conversion does (halves to even); text that is no number counts as 0.
int roundedItem(const QString& item)
{
    bool ok = false;
    const double value = item.trimmed().toDouble(&ok);
    return ok ? int(std::nearbyint(value)) : 0;
}

}  // namespace

QByteArray sendText(const Program& program, MachineType machine)
{
    const bool metric = program.units == Units::Metric;

    QString text;
    text.reserve(160 + qsizetype(program.rows.size()) * 32);
    text += QString(100, QChar(0));
    text += QLatin1String("%") + kCrLf;
    if (machine == MachineType::F1 || machine == MachineType::Mark4)
        text += columnHeaderLine(machine) + kCrLf;

    for (const ProgramRow& row : program.rows) {
        text += programLineFields(row, machine);
        text += kCrLf;
    }

    // The Mark 2 control takes its unit line without the leading blanks.
    if (machine != MachineType::Mark2)
        text += QLatin1String("   ");
    text += metric ? QLatin1String("M") : QLatin1String("\"");
    text += kCrLf;
    text += QString(10, QChar(0));
    return encodeCp1252(text).bytes;
}

int sendEstimateSeconds(int rowCount, const QString& settings)
{
    const QStringList items = settings.split(QLatin1Char(','));
    auto item = [&items](int i) { return i < items.size() ? items[i] : QString(); };

    const int baud = roundedItem(item(0));
    int bits = 1;
    if (item(1).trimmed().toUpper() != QLatin1String("N"))
        bits += 1;
    bits += roundedItem(item(2));
    bits += roundedItem(item(3));
    // The leader, "%", header, unit line and trailer come to 151 characters.
    const int characters = rowCount * 32 + 135 + 6 + 10;
    if (baud <= 0)
        return 0;
    return int(std::floor(double(bits) * double(characters) / double(baud)));
}

QString strSendEstimate(int rowCount, const QString& settings)
{
    const int seconds = sendEstimateSeconds(rowCount, settings);
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    QString text = QStringLiteral("Fortschritt: (vorrausichtliche Zeit für das senden ist ");
    if (minutes > 0)
        text += QString::number(minutes) + QStringLiteral(" min ");
    if (rest == 1)
        text += QStringLiteral("1 Sekunde)");
    else
        text += QString::number(rest) + QStringLiteral(" sekunde");
    return text;
}

}  // namespace quillon
