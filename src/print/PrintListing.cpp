#include "PrintListing.h"

#include "files/ProgramText.h"
#include "model/ProgramLine.h"

#include <QRegularExpression>

namespace quillon {

namespace {

// The separator of a locale's short format: its first punctuation mark.
// Formats without one ("d MMM yyyy") get the fallback.
QString separatorOf(const QString& format, const QString& fallback)
{
    for (const QChar c : format)
        if (c.isPunct() && c != QLatin1Char('\''))
            return QString(c);
    return fallback;
}

// The description as the program text writes it: blanks trimmed at both
// ends, no trailing line breaks.
QStringList descriptionLines(const QString& description)
{
    qsizetype begin = 0;
    qsizetype end = description.size();
    while (begin < end && description[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && description[end - 1] == QLatin1Char(' '))
        --end;
    // Any trailing line break, not only CR LF pairs: a stray CR or LF would
    // otherwise print as an empty line or a control character.
    while (end > begin && (description[end - 1] == QLatin1Char('\r') || description[end - 1] == QLatin1Char('\n')))
        --end;
    if (begin == end)
        return {};
    return splitAtLineBreaks(description.mid(begin, end - begin));
}

// A painter draws a tab as nothing or a box; the listing counts columns.
QString expandTabs(const QString& text)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t'))
            out += QString(8 - out.size() % 8, QLatin1Char(' '));
        else
            out += c;
    }
    return out;
}

class PageWriter {
public:
    PageWriter(const QString& header, const PrintPageSize& size)
        : header_(header), lines_(qMax(1, size.lines)), width_(qMax(0, size.charsPerLine))
    {
        // Only the first page has a blank line above its header; later
        // pages start with the header itself.
        startPage(true);
    }

    // One line of the program text, cut into as many printed lines as it
    // needs; nothing is dropped at the right margin or at a line break inside.
    void put(const QString& line, const QString& continuation)
    {
        bool first = true;
        for (const QString& part : splitAtLineBreaks(line)) {
            QString rest = expandTabs(part);
            do {
                QString piece = first ? QString() : continuation;
                first = false;
                const qsizetype room = width_ > 0 ? qMax<qsizetype>(1, width_ - piece.size()) : rest.size();
                qsizetype take = qMin(room, rest.size());
                qsizetype skip = 0;
                // Break between words where a blank stands in the latter
                // half of the room; a single long word is cut where it must be.
                if (take < rest.size()) {
                    const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), take);
                    if (blank >= room / 2 && blank > 0) {
                        take = blank;
                        skip = 1;
                    }
                }
                piece += rest.left(take);
                rest = rest.mid(take + skip);
                putPrinted(piece);
            } while (!rest.isEmpty());
        }
    }

    // After a program line: a new page when fewer than two lines remain.
    void pageCheck()
    {
        if (page().lines.size() > lines_ - 2)
            startPage(false);
    }

    PrintListing take() { return std::move(listing_); }

private:
    PrintPage& page() { return listing_.pages.back(); }

    void startPage(bool first)
    {
        PrintPage next;
        next.number = int(listing_.pages.size()) + 1;
        if (first)
            next.lines << QString();
        next.lines << header_ + QString::number(next.number) << QString() << QString();
        bodyStart_ = next.lines.size();
        listing_.pages.push_back(std::move(next));
    }

    void putPrinted(const QString& text)
    {
        // The page check after program lines keeps one line free; only a
        // description longer than a page can reach the bottom edge, and it
        // goes on over the page instead of running off the paper.
        if (page().lines.size() >= lines_ && page().lines.size() > bodyStart_)
            startPage(false);
        page().lines << text;
    }

    QString header_;
    int lines_;
    int width_;
    qsizetype bodyStart_ = 0;
    PrintListing listing_;
};

}  // namespace

QStringList splitAtLineBreaks(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

PrintStamp printStamp(const QDateTime& when, const QLocale& locale)
{
    const QString ds = separatorOf(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
    const QString ts = separatorOf(locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
    const QDate d = when.date();
    const QTime t = when.time();
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return {two(d.day()) + ds + two(d.month()) + ds + QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')),
            two(t.hour()) + ts + two(t.minute())};
}

QString printHeaderText(const QString& fileName, const PrintStamp& stamp)
{
    return QStringLiteral("Quillon    ") + (fileName.isEmpty() ? QString::fromUtf8(kUnnamedFileText) : fileName)
           + QStringLiteral(" gedruckt am ") + stamp.date + QStringLiteral(" am ") + stamp.time
           + QStringLiteral("       Seite ");
}

QString elidedPrintPath(const QString& path, qsizetype room)
{
    if (path.size() <= room)
        return path;
    static const QRegularExpression separator(QStringLiteral("[/\\\\]"));
    const qsizetype last = path.lastIndexOf(separator);
    if (last < 0)
        return path;
    const QString folder = path.left(last);
    const QString name = path.mid(last);  // with its separator
    const qsizetype budget = room - name.size() - 3;
    // The folders at both ends say most: where the tree starts and the
    // folder the file is in. Each end is cut at a separator.
    QString head;
    for (qsizetype i = folder.indexOf(separator); i >= 0 && i + 1 <= budget / 2; i = folder.indexOf(separator, i + 1))
        head = folder.left(i + 1);
    QString tail;
    for (qsizetype i = folder.lastIndexOf(separator); i >= head.size() && folder.size() - i <= budget - head.size();
         i = i > 0 ? folder.lastIndexOf(separator, i - 1) : -1)
        tail = folder.mid(i);
    return head + QStringLiteral("...") + tail + name;
}

PrintListing buildPrintListing(const Program& program, MachineType machine, const QString& fileName,
                               const PrintStamp& stamp, const PrintPageSize& size)
{
    QString shownName = fileName;
    if (size.charsPerLine > 0 && !fileName.isEmpty()) {
        const qsizetype fixed = printHeaderText(QString(), stamp).size() - qsizetype(qstrlen(kUnnamedFileText));
        const qsizetype room = size.charsPerLine - fixed - 3;  // up to three digits of page number
        shownName = elidedPrintPath(fileName, room);
    }
    PageWriter out(printHeaderText(shownName, stamp), size);
    for (const QString& line : descriptionLines(program.description))
        out.put(line, QString());
    out.put(QStringLiteral("%"), QString());
    if (machine == MachineType::F1 || machine == MachineType::Mark4)
        out.put(columnHeaderLine(machine), QString());

    // A comment too long for the page goes on under the comment column.
    const QString commentIndent = size.charsPerLine > 51 ? QString(31, QLatin1Char(' ')) : QString();
    for (const ProgramRow& row : program.rows) {
        out.put(programLineText(row, machine), commentIndent);
        out.pageCheck();
    }
    out.put(program.units == Units::Metric ? QStringLiteral("   M") : QStringLiteral("   \""), QString());
    return out.take();
}

}  // namespace quillon
