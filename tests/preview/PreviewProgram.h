#pragma once

// Builds programs of every machine the way the editor fills the columns, so
// that the walk reads them as it reads saved programs.

#include "model/MachineProfile.h"
#include "model/NumberFormat.h"
#include "model/Program.h"

#include <QString>
#include <optional>

namespace quillon::testing {

// Whole numbers as typed on the machine; i, j, k are the circle parameters
// and l a call or jump target, written with their letters.
struct Fields {
    std::optional<int> x = {};
    std::optional<int> y = {};
    std::optional<int> z = {};
    std::optional<int> f = {};
    std::optional<int> h = {};
    std::optional<int> i = {};
    std::optional<int> j = {};
    std::optional<int> k = {};
    std::optional<int> l = {};
    QString comment = {};
};

class PreviewProgram {
public:
    explicit PreviewProgram(MachineType machine, Units units = Units::Metric, QString description = {})
        : m_machine(machine)
    {
        program.units = units;
        program.description = std::move(description);
    }

    // `code` as in the code lists: "G01", "M99".
    PreviewProgram& row(const char* code, const Fields& v = {})
    {
        const ColumnNumbers& c = machineProfile(m_machine).columns;
        const bool mill = m_machine == MachineType::F1;
        const QString codeText = QString::fromLatin1(code);
        ProgramRow r;
        r.setColumn(c.mark, QStringLiteral(" "));
        r.setColumn(c.n, num(int(program.rows.size()), 3, false));
        r.setColumn(c.g, codeText.startsWith(QLatin1Char('M')) ? codeText : QLatin1Char(' ') + codeText.right(2));
        QString x(6, QLatin1Char(' '));
        if (v.x)
            x = mill ? num(*v.x, 6, true) : QLatin1Char(' ') + num(*v.x, 5, true);
        if (v.i)
            x = QLatin1Char('I') + num(*v.i, 5, false);
        r.setColumn(c.x, x);
        if (mill) {
            QString y(5, QLatin1Char(' '));
            if (v.y)
                y = num(*v.y, 5, true);
            if (v.j)
                y = QLatin1Char('J') + num(*v.j, 4, false);
            r.setColumn(c.y, y);
        }
        QString z(mill ? 6 : 7, QLatin1Char(' '));
        if (v.z)
            z = mill ? num(*v.z, 6, true) : QLatin1Char(' ') + num(*v.z, 6, true);
        if (v.k)
            z = QLatin1Char('K') + num(*v.k, mill ? 5 : 6, false);
        r.setColumn(c.z, z);
        QString f(4, QLatin1Char(' '));
        if (v.f)
            f = QLatin1Char(' ') + num(*v.f, 3, false);
        if (v.l)
            f = QLatin1Char('L') + num(*v.l, 3, false);
        r.setColumn(c.f, f);
        if (c.h != 0)
            r.setColumn(c.h, v.h ? QLatin1Char(' ') + num(*v.h, 3, false) : QString(4, QLatin1Char(' ')));
        r.setColumn(c.comment, v.comment);
        program.rows.push_back(r);
        return *this;
    }

    MachineType machine() const { return m_machine; }

    Program program;

private:
    static QString num(int value, int width, bool blnSigned)
    {
        return strFormatNumber(QString::number(value), width, blnSigned);
    }

    MachineType m_machine;
};

}  // namespace quillon::testing
