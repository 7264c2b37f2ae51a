#include "ProgramCheck.h"

#include "editing/ParameterRules.h"
#include "model/MachineProfile.h"
#include "model/NumberFormat.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace quillon {

QString Finding::text() const
{
    return rowName.isEmpty() ? message : rowName + QStringLiteral(": ") + message;
}

namespace {

const char* const kSlotColumnNames[] = {"X", "Y", "Z", "F", "H"};

// A line number as the editor writes it: digits only, right-aligned.
std::optional<int> lineNumberOf(const QString& nColumn)
{
    const QString t = nColumn.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (const QChar ch : t)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// Numbers as the N column shows them: two digits up to 99.
QString numberText(long long n)
{
    return n >= 0 && n <= 32767 ? strFormatNumber(QString::number(n), 5, false).trimmed() : QString::number(n);
}

// What the checks need of one row, read once.
struct RowFacts {
    QString name;
    QString code;                     // "G00", "M30"; "" when the code column is empty
    const CodeEntry* entry = nullptr;  // nullptr for an empty or unknown code
    std::optional<int> number;
    long long target = 0;             // the L of a call or jump
};

class Checker {
public:
    Checker(const Program& program, MachineType machine, const CodeTables& tables)
        : m_program(program), m_machine(machine), m_tables(tables),
          m_columns(machineProfile(machine).columns)
    {
        m_rows.reserve(program.rows.size());
        for (std::size_t i = 0; i < program.rows.size(); ++i)
            m_rows.push_back(facts(int(i), program.rows[i]));
    }

    std::vector<Finding> run()
    {
        for (int i = 0; i < int(m_rows.size()); ++i)
            checkRow(i);
        checkMainFlow();
        checkEnd();
        std::stable_sort(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
            return (a.row < 0 ? INT_MAX : a.row) < (b.row < 0 ? INT_MAX : b.row);
        });
        return std::move(m_findings);
    }

private:
    RowFacts facts(int index, const ProgramRow& row) const
    {
        RowFacts f;
        const QString n = row.column(m_columns.n).trimmed();
        f.name = findingRowName(m_program, m_machine, index);
        f.number = lineNumberOf(n);
        // The editor's own reading of the code column: a bare number is a G code.
        const QString code = strClean(row.column(m_columns.g));
        if (!code.isEmpty()) {
            f.code = code.startsWith(QLatin1Char('M')) ? code : QStringLiteral("G") + code;
            f.entry = m_tables.findCode(f.code);
        }
        f.target = paramFieldValue(strClean(row.column(m_columns.f)));
        return f;
    }

    void add(int row, const QString& message)
    {
        m_findings.push_back({row, row >= 0 ? m_rows[std::size_t(row)].name : QString(), message});
    }

    bool hasCode(int row, const char* code) const
    {
        const RowFacts& f = m_rows[std::size_t(row)];
        return f.entry && f.code == QLatin1String(code);
    }

    // The first row carrying `number`, as a call or jump looks for it.
    std::optional<int> rowNumbered(long long number) const
    {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].number && *m_rows[i].number == number)
                return int(i);
        return std::nullopt;
    }

    void checkRow(int i)
    {
        const RowFacts& f = m_rows[std::size_t(i)];
        const ProgramRow& row = m_program.rows[std::size_t(i)];
        if (f.code.isEmpty())
            add(i, QStringLiteral("Zeile ohne G- oder M-Code"));
        else if (!f.entry)
            add(i, QStringLiteral("Unbekannter Code %1 für die %2").arg(f.code, machineProfile(m_machine).machineName));

        if (f.entry) {
            checkColumns(i, *f.entry, row);
            if (const std::optional<QString> alarm = hAlarmMessage(m_machine, row))
                add(i, *alarm);
            if (hasCode(i, "G25") || hasCode(i, "G27")) {
                if (!rowNumbered(f.target)) {
                    add(i, QStringLiteral("Die Ziel Zeile %1 für den %2 ist nicht vorhanden")
                               .arg(numberText(f.target),
                                    hasCode(i, "G25") ? QStringLiteral("Unterprogrammaufruf")
                                                      : QStringLiteral("Sprungbefehl")));
                }
            }
        }

        checkNumber(i);
        const int limit = machineProfile(m_machine).lineLimit;
        if (i == limit) {
            add(i, QStringLiteral("Zeilen Limit: das Programm hat %1 Zeilen, die %2 erlaubt höchstens %3")
                       .arg(m_rows.size())
                       .arg(machineProfile(m_machine).machineName)
                       .arg(limit));
        }
    }

    void checkColumns(int i, const CodeEntry& entry, const ProgramRow& row)
    {
        for (int slot = 1; slot <= 5; ++slot) {
            const int column = m_columns.forSlot(slot);
            if (column == 0)
                continue;
            const QString& text = row.column(column);
            const QString& letter = entry.slotLetters[std::size_t(slot - 1)];
            if (letter.isEmpty()) {
                if (!text.trimmed().isEmpty()) {
                    add(i, QStringLiteral("Spalte %1 ist gefüllt, %2 benutzt sie nicht")
                               .arg(QLatin1String(kSlotColumnNames[slot - 1]), entry.code));
                }
                continue;
            }
            // The value the parameter field would show and the range check read.
            const long long value = paramFieldValue(strClean(text));
            const RangeVerdict verdict = checkParamRange(m_tables, letter, m_program.units, value);
            if (!verdict.accepted) {
                QString caption = strParamCaption(letter);
                if (caption.isEmpty())
                    caption = letter;
                add(i, QStringLiteral("%1 = %2: %3").arg(caption).arg(value).arg(verdict.message));
            }
        }
    }

    // Each number follows the last readable one before it, so a gap is
    // reported once and not on every row behind it.
    void checkNumber(int i)
    {
        const RowFacts& f = m_rows[std::size_t(i)];
        const int expected = m_lastNumber + (i - m_lastNumberedRow);
        if (f.number) {
            m_lastNumber = *f.number;
            m_lastNumberedRow = i;
        }
        // A Mark 2 file holds the last two digits only, so line 100 reads back as 00.
        const bool fits = f.number
                          && (*f.number == expected
                              || (m_machine == MachineType::Mark2 && *f.number % 100 == expected % 100));
        if (!fits)
            add(i, QStringLiteral("Zeilennummer nicht fortlaufend, erwartet N%1").arg(numberText(expected)));
    }

    // The main flow runs from the first row, follows jumps and steps over calls
    // (a called subroutine comes back behind its call). No call is pending on
    // this path, so a return met on it has nothing to return to: typically a
    // missing M30 in front of the subroutines, or a jump into one. It ends at
    // the program end, a missing jump target, or a row met before (a loop).
    void checkMainFlow()
    {
        if (m_machine == MachineType::Mark2)
            return;  // no calls and no returns
        std::vector<bool> visited(m_rows.size(), false);
        int i = 0;
        while (i >= 0 && i < int(m_rows.size()) && !visited[std::size_t(i)]) {
            visited[std::size_t(i)] = true;
            if (hasCode(i, "M30"))
                return;
            if (hasCode(i, "M17")) {
                add(i, QStringLiteral("Der Rücksprungbefehl hat keinen Unterprogrammaufruf, zu dem er zurückkehren kann"));
                return;
            }
            if (hasCode(i, "G27")) {
                const std::optional<int> target = rowNumbered(m_rows[std::size_t(i)].target);
                if (!target)
                    return;
                i = *target;
                continue;
            }
            ++i;
        }
    }

    void checkEnd()
    {
        const char* end = m_machine == MachineType::Mark2 ? "G22" : "M30";
        for (int i = 0; i < int(m_rows.size()); ++i)
            if (hasCode(i, end))
                return;
        add(-1, QStringLiteral("Das Programm hat kein Programmende (%1)").arg(QLatin1String(end)));
    }

    const Program& m_program;
    MachineType m_machine;
    const CodeTables& m_tables;
    const ColumnNumbers& m_columns;
    std::vector<RowFacts> m_rows;
    std::vector<Finding> m_findings;
    int m_lastNumber = -1;  // as if a row -1 numbered -1 came first
    int m_lastNumberedRow = -1;
};

}  // namespace

QString findingRowName(const Program& program, MachineType machine, int row)
{
    const QString n = program.rows[std::size_t(row)].column(machineProfile(machine).columns.n).trimmed();
    return n.isEmpty() ? QStringLiteral("Zeile %1").arg(row + 1) : QStringLiteral("N") + n;
}

std::vector<Finding> checkProgram(const Program& program, MachineType machine, const CodeTables& tables,
                                  const std::optional<MaterialSetup>& material)
{
    std::vector<Finding> findings = Checker(program, machine, tables).run();
    const std::vector<Finding> warnings =
        programWarnings(program, machine, material.value_or(defaultMaterialSetup(program.units == Units::Imperial)));
    findings.insert(findings.end(), warnings.begin(), warnings.end());
    return findings;
}

std::vector<Finding> checkProgram(const Program& program, MachineType machine, bool woodworker,
                                  const std::optional<MaterialSetup>& material)
{
    CodeTables tables;
    tables.GetCommands(machine, woodworker);
    return checkProgram(program, machine, tables, material);
}

}  // namespace quillon
