#include "IniFile.h"

#include "files/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStringDecoder>
#include <optional>

namespace quillon {

namespace {

// The platform trims blanks and tabs only; other white space (a no-break
// space in a path, for example) belongs to the value.
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct IniLine {
    enum class Kind { Other, Section, Entry };
    Kind kind = Kind::Other;
    QString name;   // section name or key
    QString value;  // trimmed, quotes kept
};

IniLine parseLine(const QString& text)
{
    IniLine line;
    const QString t = trimBlanks(text);
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        line.kind = IniLine::Kind::Section;
        line.name = trimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
        return line;
    }
    if (t.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return line;
    line.kind = IniLine::Kind::Entry;
    line.name = trimBlanks(t.left(eq));
    line.value = trimBlanks(t.mid(eq + 1));
    return line;
}

QString unquote(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// The file's bytes; nullopt when it does not exist or cannot be read.
std::optional<QByteArray> readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// A line is Windows-1252, as the Windows tools write it, unless it is valid
// UTF-8 beyond ASCII: that is how a value Windows-1252 cannot hold (a file
// name in another script) is kept.
QString decodeLine(const QByteArray& bytes)
{
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return decodeCp1252(bytes);
}

// The bytes of a line that decodeLine reads back as `text`.
QByteArray encodeLine(const QString& text)
{
    const Cp1252Encoding cp = encodeCp1252(text);
    if (cp.ok() && decodeLine(cp.bytes) == text)
        return cp.bytes;
    return text.toUtf8();
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

}  // namespace

IniFile::IniFile(QString path)
    : path_(std::move(path))
{
}

QString IniFile::strStdIniData(const QString& section, const QString& key, const QString& defaultValue) const
{
    const QString& fallback = defaultValue;
    const std::optional<QByteArray> bytes = readBytes(path_);
    if (!bytes)
        return fallback;

    bool inSection = false;
    bool sectionFound = false;
    QString keyList;
    for (const QByteArray& text : bytes->split('\n')) {
        const IniLine line = parseLine(decodeLine(text));
        if (line.kind == IniLine::Kind::Section) {
            // The first section of that name is the one that counts.
            if (sectionFound)
                break;
            inSection = sameName(line.name, section);
            sectionFound = inSection;
            continue;
        }
        if (!inSection || line.kind != IniLine::Kind::Entry)
            continue;
        if (key.isEmpty()) {
            keyList += line.name + QChar(0);
        } else if (sameName(line.name, key)) {
            return unquote(line.value);
        }
    }
    if (key.isEmpty() && sectionFound) {
        if (keyList.isEmpty())
            return QString();
        if (keyList.size() + 1 > kKeyListLimit)
            return keyList.left(kKeyListLimit) + QChar(0) + QChar(0);
        return keyList + QChar(0);
    }
    return fallback;
}

bool IniFile::blnStdIniFlag(const QString& section, const QString& key, const QString& defaultValue) const
{
    return blnIniFlagText(strStdIniData(section, key, defaultValue));
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) const
{
    const QString cleanSection = trimBlanks(section);
    const QString cleanKey = trimBlanks(key);
    if (cleanSection.isEmpty() || cleanKey.isEmpty() || hasLineBreak(section) || hasLineBreak(key)
        || hasLineBreak(value) || cleanKey.contains(QLatin1Char('=')) || cleanSection.contains(QLatin1Char(']')))
        return false;

    // The value is read back trimmed and without one pair of enclosing quotes.
    if (trimBlanks(value) != value || unquote(value) != value)
        return false;
    const Cp1252Encoding key1252 = encodeCp1252(cleanKey);
    const Cp1252Encoding header = encodeCp1252(QLatin1Char('[') + cleanSection + QStringLiteral("]\r"));
    if (!key1252.ok() || !header.ok())
        return false;
    const QByteArray entry = encodeLine(cleanKey + QLatin1Char('=') + value + QLatin1Char('\r'));

    QByteArray bytes;
    const bool existed = QFileInfo::exists(path_);
    if (existed) {
        // Writing without the old contents would throw every other setting away.
        const std::optional<QByteArray> old = readBytes(path_);
        if (!old)
            return false;
        bytes = *old;
    } else if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        return false;
    }

    // Each segment but the last was followed by "\n"; the last is whatever
    // follows the final line break (empty when the file ends with one).
    QList<QByteArray> segments = bytes.split('\n');
    const auto endLastLine = [&segments] {
        QByteArray& last = segments.last();
        if (last.isEmpty())
            return;
        if (!last.endsWith('\r'))
            last += '\r';
        segments.append(QByteArray());
    };

    qsizetype sectionLine = -1;  // header of the matching section
    qsizetype lastInSection = -1;  // header or last entry line of that section
    qsizetype keyLine = -1;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const IniLine line = parseLine(decodeLine(segments.at(i)));
        if (line.kind == IniLine::Kind::Section) {
            if (sectionLine >= 0)
                break;
            if (sameName(line.name, cleanSection))
                sectionLine = lastInSection = i;
            continue;
        }
        if (sectionLine < 0 || line.kind != IniLine::Kind::Entry)
            continue;
        lastInSection = i;
        if (sameName(line.name, cleanKey)) {
            keyLine = i;
            break;
        }
    }

    if (keyLine >= 0) {
        segments[keyLine] = entry;
        if (keyLine == segments.size() - 1)
            segments.append(QByteArray());
    } else if (sectionLine >= 0) {
        if (lastInSection == segments.size() - 1)
            endLastLine();
        segments.insert(lastInSection + 1, entry);
    } else {
        endLastLine();
        segments.insert(segments.size() - 1, header.bytes);
        segments.insert(segments.size() - 1, entry);
    }

    const QByteArray result = segments.join('\n');
    // A value the file already holds, as it would be written, is not written
    // again: the safe write waits for the disk, at every start for the units.
    if (existed && result == bytes)
        return true;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(result) != result.size())
        return false;
    return file.commit();
}

bool blnIniFlagText(const QString& value)
{
    const QString v = value.trimmed().toUpper();
    return v == QLatin1String("YES") || v == QLatin1String("ON") || v == QLatin1String("TRUE")
           || v == QLatin1String("1") || v == QLatin1String("-1");
}

}  // namespace quillon
