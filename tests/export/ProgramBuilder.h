#pragma once

// The one program builder of the tests: rows of every machine filled the way
// the editor fills the columns, the text from the program text writer.

#include "files/Cp1252.h"
#include "files/ProgramText.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include <QString>
#include <optional>

namespace quillon::testing {

inline QString num(int value, int width, bool blnSigned) { return strFormatNumber(QString::number(value), width, blnSigned); }

// Lathe column texts: a blank (or address letter) and the number.
inline QString X(int v) { return QStringLiteral(" ") + num(v, 5, true); }
inline QString Z(int v) { return QStringLiteral(" ") + num(v, 6, true); }
inline QString F(int v) { return QStringLiteral(" ") + num(v, 3, false); }
inline QString H(int v) { return QStringLiteral(" ") + num(v, 3, false); }
inline QString letterX(char letter, int v) { return QLatin1Char(letter) + num(v, 5, false); }
inline QString letterZ(char letter, int v) { return QLatin1Char(letter) + num(v, 6, false); }
inline QString letterF(char letter, int v) { return QLatin1Char(letter) + num(v, 3, false); }

// Whole numbers as typed on the machine; i, j, k are the circle parameters,
// l a call or jump target and t a tool, written with their letters.
struct Fields {
    std::optional<int> x = {}, y = {}, z = {}, f = {}, h = {}, i = {}, j = {}, k = {}, l = {}, t = {};
    QString comment = {};
};

class ProgramBuilder {
public:
    explicit ProgramBuilder(MachineType machine, Units units = Units::Metric, QString description = {})
        : m_machine(machine)
    {
        program.units = units;
        program.description = std::move(description);
    }

    // `code` as in the code lists ("G01", "M06"); the columns as the file holds them.
    ProgramBuilder& row(const char* code, QString x = {}, QString z = {}, QString f = {}, QString h = {},
                        QString comment = {}, QString y = {})
    {
        const ColumnNumbers& c = machineProfile(m_machine).columns;
        const bool mill = m_machine == MachineType::F1;
        const QString codeText = QString::fromLatin1(code);
        const auto column = [](const QString& text, int width) { return text.isEmpty() ? QString(width, QLatin1Char(' ')) : text; };
        ProgramRow r;
        r.setColumn(c.mark, QStringLiteral(" "));
        r.setColumn(c.n, num(int(program.rows.size()), 3, false));
        r.setColumn(c.g, codeText.startsWith(QLatin1Char('M')) ? codeText : QLatin1Char(' ') + codeText.right(2));
        r.setColumn(c.x, column(x, 6));
        if (c.y)
            r.setColumn(c.y, column(y, 5));
        r.setColumn(c.z, column(z, mill ? 6 : 7));
        r.setColumn(c.f, column(f, 4));
        if (c.h)
            r.setColumn(c.h, column(h, 4));
        r.setColumn(c.comment, comment);
        program.rows.push_back(r);
        return *this;
    }

    ProgramBuilder& row(const char* code, const Fields& v)
    {
        const bool mill = m_machine == MachineType::F1;
        const auto text = [](const std::optional<int>& value, auto format) { return value ? format(*value) : QString(); };
        QString x = text(v.x, [&](int n) { return mill ? num(n, 6, true) : X(n); });
        QString z = text(v.z, [&](int n) { return mill ? num(n, 6, true) : Z(n); });
        QString y = text(v.y, [](int n) { return num(n, 5, true); });
        QString f = text(v.f, F);
        if (v.i) x = letterX('I', *v.i);
        if (v.j) y = QLatin1Char('J') + num(*v.j, 4, false);
        if (v.k) z = QLatin1Char('K') + num(*v.k, mill ? 5 : 6, false);
        if (v.l) f = letterF('L', *v.l);
        if (v.t) f = letterF('T', *v.t);
        return row(code, x, z, f, text(v.h, H), v.comment, y);
    }

    ProgramBuilder& comment(const char* code, const QString& text) { return row(code, {}, {}, {}, {}, text); }

    QString text() const { return strFileOutBuff(program, m_machine); }
    MachineType machine() const { return m_machine; }

    Program program;

private:
    MachineType m_machine;
};

// The expected file: lines joined and ended by CR LF, as Windows-1252 bytes.
inline QByteArray fileBytes(std::initializer_list<const char*> lines)
{
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return encodeCp1252(text).bytes;
}

}  // namespace quillon::testing
