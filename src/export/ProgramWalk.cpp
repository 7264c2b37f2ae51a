#include "ProgramWalk.h"

#include "CycleMoves.h"
#include "ExportMessages.h"
#include "model/NumberFormat.h"

#include <QHash>

#include <cmath>

namespace quillon {

namespace {

bool readsCoordinates(int code, bool mill)
{
    if (mill) {
        switch (code) {
        case 0: case 1: case 2: case 3: case 72: case 73:
        case 81: case 82: case 83: case 85: case 89:
            return true;
        default:
            return false;
        }
    }
    switch (code) {
    case 0: case 1: case 2: case 3: case 33: case 73: case 78:
    case 81: case 82: case 83: case 84: case 85: case 86: case 88: case 89:
        return true;
    default:
        return false;
    }
}

}  // namespace

ProgramWalk::ProgramWalk(const ExtractedProgram& program)
    : m_program(program)
    , m_mill(program.machine == MachineType::F1)
{
    if (!m_mill) {
        m_x = program.units.inch ? kStartXInch : kStartXMetric;
        m_z = program.units.inch ? kStartZInch : kStartZMetric;
    }
    m_previousX = m_x;
    m_previousY = m_y;
    m_previousZ = m_z;
    // A jump goes to the first record with its target number. Looked up once
    // here, since a loop may follow the same jump a million times.
    QHash<int, int> firstRecordOfLine;
    for (int i = recordCount(); i >= 1; --i)
        firstRecordOfLine.insert(record(i).lineNumber, i);
    m_jumpTarget.assign(std::size_t(recordCount()), 0);
    for (int i = 1; i <= recordCount(); ++i)
        if (record(i).code == 25 || record(i).code == 27)
            m_jumpTarget[std::size_t(i - 1)] = firstRecordOfLine.value(fieldNumber(record(i).fDigits), 0);
}

void ProgramWalk::fail(Fault fault, const QString& message, int row)
{
    m_fault = fault;
    m_faultMessage = message;
    m_faultRow = row;
}

float ProgramWalk::coordinate(const QString& digits, QChar sign) const
{
    float value = float(leadingNumber(digits) / double(m_program.units.coordinateDivisor));
    if (sign == QLatin1Char('-'))
        value = -value;
    return value;
}

std::optional<WalkStep> ProgramWalk::next()
{
    if (m_ended || m_fault != Fault::None || m_index >= recordCount())
        return std::nullopt;
    if (++m_steps > kMostSteps) {
        fail(Fault::EndlessLoop, lineLimitMessage(), m_lastJumpRow);
        return std::nullopt;
    }

    ++m_index;
    // A call, jump or return leads to the record it names. When that record
    // is itself a call, jump or return it is followed too, so that two calls
    // in a row both run.
    for (;;) {
        const LineRecord& r = record(m_index);
        if (r.code == 25 || r.code == 27) {
            if (r.code == 25)
                m_returns.push_back(m_index + 1);
            const int found = m_jumpTarget[std::size_t(m_index - 1)];
            if (found == 0) {
                fail(Fault::MissingJumpTarget, missingJumpTargetMessage(r), r.row);
                return std::nullopt;
            }
            m_lastJumpRow = r.row;
            m_index = found;
        } else if (r.code == 17) {
            if (m_returns.empty()) {
                fail(Fault::ReturnWithoutCall, returnWithoutCallMessage(r), r.row);
                return std::nullopt;
            }
            m_index = m_returns.back();
            m_returns.pop_back();
            if (m_index > recordCount()) {  // the call was the program's last row
                m_ended = true;
                return std::nullopt;
            }
        } else {
            break;
        }
        if (++m_steps > kMostSteps) {
            fail(Fault::EndlessLoop, lineLimitMessage(), m_lastJumpRow);
            return std::nullopt;
        }
    }

    const float startX = m_x;
    const float startY = m_y;
    const float startZ = m_z;
    WalkStep step = interpret(record(m_index));
    step.startX = startX;
    step.startY = startY;
    step.startZ = startZ;
    if (step.kind == WalkStep::Kind::End)
        m_ended = true;
    const LineRecord& current = record(m_index);
    if (step.kind == WalkStep::Kind::Moves && !current.isM() && (current.code == 2 || current.code == 3))
        giveArcItsRadius(step);
    if (m_fault != Fault::None)
        return std::nullopt;
    return step;
}

void ProgramWalk::giveArcItsRadius(WalkStep& step)
{
    ToolMove& arc = step.moves.back();
    if (m_index < recordCount() && record(m_index + 1).isM() && record(m_index + 1).code == 99) {
        ++m_index;
        const LineRecord& m99 = record(m_index);
        // The circle parameters are the arc centre's distances; their signs do
        // not change the radius.
        CircleParameters circle;
        circle.i = coordinate(m99.xDigits, QLatin1Char(' '));
        circle.k = coordinate(m99.zDigits, QLatin1Char(' '));
        if (m_mill) {
            // The mill's arcs lie in the XY plane.
            circle.j = coordinate(m99.yDigits, QLatin1Char(' '));
            arc.radius = std::sqrt(circle.i * circle.i + circle.j * circle.j);
        } else {
            arc.radius = std::sqrt(circle.i * circle.i + circle.k * circle.k);
        }
        step.circle = circle;
        step.radiusFromCircleParameters = true;
        return;
    }
    // Without circle parameters the arc is a quarter circle: its radius is
    // the travel along the plane's first axis (the lathe's Z, the mill's X).
    const float radius = m_mill ? std::fabs(m_x - m_previousX) : std::fabs(m_z - m_previousZ);
    if (radius == 0.0f) {
        const QString previous = m_index > 1 ? record(m_index - 1).text : QString();
        fail(Fault::ZeroRadiusArc, zeroRadiusArcMessage(previous, record(m_index)), record(m_index).row);
        return;
    }
    arc.radius = radius;
}

WalkStep ProgramWalk::interpret(const LineRecord& r)
{
    if (!r.isM() && r.code != 26)
        return interpretG(r);

    WalkStep step;
    step.record = &r;
    switch (r.code) {
    case 6:
    case 26:
        step.kind = WalkStep::Kind::ToolChange;
        break;
    case 30:
        step.kind = WalkStep::Kind::End;
        break;
    default:
        // M99 away from an arc, spindle and stop codes: nothing to simulate.
        break;
    }
    return step;
}

// The mill knows no thread, turning, grooving or facing cycle and no G22;
// such a code in a mill row does nothing.
bool ProgramWalk::interpretsG(int code) const
{
    if (!m_mill)
        return true;
    switch (code) {
    case 22: case 33: case 78: case 84: case 86: case 88:
        return false;
    default:
        return true;
    }
}

WalkStep ProgramWalk::interpretG(const LineRecord& r)
{
    WalkStep step;
    step.record = &r;
    const ExportUnits& u = m_program.units;
    const int code = r.code;
    if (!interpretsG(code))
        return step;

    float x = m_x;
    float y = m_y;
    float z = m_z;
    if (readsCoordinates(code, m_mill)) {
        if (!r.xDigits.isEmpty()) {
            x = coordinate(r.xDigits, r.xSign);
            if (!m_absolute)
                x = m_mill ? m_x + x : m_x + 2.0f * x;  // lathe increments are radii, the output is a diameter
            m_previousX = m_x;
            if (code < 70)
                m_x = x;
        }
        if (m_mill && !r.yDigits.isEmpty()) {
            y = coordinate(r.yDigits, r.ySign);
            if (!m_absolute)
                y = m_y + y;
            m_previousY = m_y;
            if (code < 70)
                m_y = y;
        }
        if (!r.zDigits.isEmpty()) {
            z = coordinate(r.zDigits, r.zSign);
            if (!m_absolute)
                z = m_z + z;
            m_previousZ = m_z;
            if (code < 70)
                m_z = z;
        }
        if (!r.fDigits.isEmpty())
            m_lastF = float(leadingNumber(r.fDigits));
        if (!r.hDigits.isEmpty())
            m_lastH = float(leadingNumber(r.hDigits) / double(u.coordinateDivisor));
    }

    const float feed = m_lastF / u.feedDivisor;
    ToolMove move;
    move.code = code;
    move.x = x;
    move.y = y;
    move.z = z;
    const CycleStart start{m_x, m_z, feed, m_y};

    switch (code) {
    case 0:
        step.moves.push_back(move);
        break;
    case 1: case 2: case 3: case 33:
        move.feed = feed;
        step.moves.push_back(move);
        break;
    case 72:
        // The mill's pocket: the rectangle between the tool and X Y, milled
        // down to Z. Only the mill reads its coordinates.
        if (m_mill) {
            move.feed = feed;
            step.moves.push_back(move);
        }
        break;
    case 78:
        move.pitch = m_lastF / u.coordinateDivisor;
        move.h = m_lastH;
        step.moves.push_back(move);
        break;
    case 84: case 86: case 88:
        move.feed = feed;
        move.h = m_lastH;
        step.moves.push_back(move);
        break;
    case 73:
        step.moves = chipBreakageG73Moves(start, z, u.inch);
        break;
    case 81: case 82: case 85: case 89:
        step.moves = drillingMoves(start, z, code);
        break;
    case 83:
        step.moves = drillDeepG83Moves(start, z, u.inch);
        break;
    case 4:
        // The dwell line carries the tool's X, rounded, as its value; the
        // row's own time is not read.
        move.dwell = float(std::round(double(m_x)));
        step.moves.push_back(move);
        break;
    case 22:
        step.kind = WalkStep::Kind::End;
        return step;
    case 90:
        m_absolute = true;
        break;
    case 91:
        m_absolute = false;
        break;
    case 92: {
        float nx = coordinate(r.xDigits, r.xSign);
        if (!m_absolute && !m_mill)
            nx = 2.0f * nx;
        m_x = nx;
        if (m_mill)
            m_y = coordinate(r.yDigits, r.ySign);
        m_z = coordinate(r.zDigits, r.zSign);
        m_previousX = m_x;
        m_previousY = m_y;
        m_previousZ = m_z;
        break;
    }
    default:
        break;
    }
    if (!step.moves.empty())
        step.kind = WalkStep::Kind::Moves;
    return step;
}

}  // namespace quillon
