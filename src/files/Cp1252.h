#pragma once

#include <QByteArray>
#include <QString>

namespace quillon {

// Program files, the serial line and the export all carry Windows-1252
// bytes. Decoding is total (the five unassigned bytes map to the C1 control
// characters of the same value, as Windows does), so every file reads.
QString decodeCp1252(const QByteArray& bytes);

struct Cp1252Encoding {
    QByteArray bytes;     // "?" stands in for each character that cannot be held
    QString unencodable;  // those characters, each once, in order of appearance
    bool ok() const { return unencodable.isEmpty(); }
};

Cp1252Encoding encodeCp1252(const QString& text);

// True when every character of `text` has a Windows-1252 byte.
bool isCp1252Encodable(const QString& text);
bool isCp1252Encodable(QChar c);

}  // namespace quillon
