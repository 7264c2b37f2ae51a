#pragma once

// Builds lathe program texts the way the editor stores and saves them: the
// columns formatted as the line update writes them, the text from the
// program text writer.

#include "files/ProgramText.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include <QString>

namespace quillon::testing {

inline QString num(int value, int width, bool blnSigned)
{
    return strFormatNumber(QString::number(value), width, blnSigned);
}

// Value columns of both lathes: a blank (or address letter) and the number.
inline QString X(int v) { return QStringLiteral(" ") + num(v, 5, true); }
inline QString Z(int v) { return QStringLiteral(" ") + num(v, 6, true); }
inline QString F(int v) { return QStringLiteral(" ") + num(v, 3, false); }
inline QString H(int v) { return QStringLiteral(" ") + num(v, 3, false); }
inline QString letterX(char letter, int v) { return QLatin1Char(letter) + num(v, 5, false); }
inline QString letterZ(char letter, int v) { return QLatin1Char(letter) + num(v, 6, false); }
inline QString letterF(char letter, int v) { return QLatin1Char(letter) + num(v, 3, false); }

class LatheProgram {
public:
    explicit LatheProgram(MachineType machine, Units units = Units::Metric, QString description = {})
        : m_machine(machine)
    {
        m_program.units = units;
        m_program.description = std::move(description);
    }

    // `code` as in the code lists: "G01", "M06".
    LatheProgram& row(const char* code, QString x = {}, QString z = {}, QString f = {}, QString h = {},
                      QString comment = {})
    {
        const ColumnNumbers& c = machineProfile(m_machine).columns;
        const QString codeText = QString::fromLatin1(code);
        ProgramRow r;
        r.setColumn(c.mark, QStringLiteral(" "));
        r.setColumn(c.n, num(int(m_program.rows.size()), 3, false));
        r.setColumn(c.g, codeText.startsWith(QLatin1Char('M')) ? codeText : QLatin1Char(' ') + codeText.right(2));
        r.setColumn(c.x, x.isEmpty() ? QString(6, QLatin1Char(' ')) : x);
        r.setColumn(c.z, z.isEmpty() ? QString(7, QLatin1Char(' ')) : z);
        r.setColumn(c.f, f.isEmpty() ? QString(4, QLatin1Char(' ')) : f);
        if (c.h != 0)
            r.setColumn(c.h, h.isEmpty() ? QString(4, QLatin1Char(' ')) : h);
        r.setColumn(c.comment, comment);
        m_program.rows.push_back(r);
        return *this;
    }

    LatheProgram& comment(const char* code, const QString& text) { return row(code, {}, {}, {}, {}, text); }

    QString text() const { return strFileOutBuff(m_program, m_machine); }
    MachineType machine() const { return m_machine; }

private:
    MachineType m_machine;
    Program m_program;
};

// The expected file: lines joined and ended by CR LF, as Windows-1252 bytes.
QByteArray fileBytes(std::initializer_list<const char*> lines);

}  // namespace quillon::testing

#include "files/Cp1252.h"

namespace quillon::testing {

inline QByteArray fileBytes(std::initializer_list<const char*> lines)
{
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return encodeCp1252(text).bytes;
}

}  // namespace quillon::testing
