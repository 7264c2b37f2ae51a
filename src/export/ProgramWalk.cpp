#include "ProgramWalk.h"

#include "CycleMoves.h"
#include "ExportMessages.h"
#include "model/NumberFormat.h"

#include <cmath>

namespace quillon {

namespace {

bool readsCoordinates(int code)
{
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
{
    m_x = program.units.inch ? kStartXInch : kStartXMetric;
    m_z = program.units.inch ? kStartZInch : kStartZMetric;
    m_previousX = m_x;
    m_previousZ = m_z;
}

void ProgramWalk::fail(Fault fault, const QString& message)
{
    m_fault = fault;
    m_faultMessage = message;
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
        fail(Fault::EndlessLoop, lineLimitMessage());
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
            const int target = fieldNumber(r.fDigits);
            int found = 0;
            for (int i = 1; i <= recordCount() && found == 0; ++i)
                if (record(i).lineNumber == target)
                    found = i;
            if (found == 0) {
                fail(Fault::MissingJumpTarget, missingJumpTargetMessage(r));
                return std::nullopt;
            }
            m_index = found;
        } else if (r.code == 17) {
            if (m_returns.empty()) {
                fail(Fault::ReturnWithoutCall, returnWithoutCallMessage(r));
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
            fail(Fault::EndlessLoop, lineLimitMessage());
            return std::nullopt;
        }
    }

    WalkStep step = interpret(record(m_index));
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
        const float i = coordinate(m99.xDigits, QLatin1Char(' '));
        const float k = coordinate(m99.zDigits, QLatin1Char(' '));
        arc.radius = std::sqrt(i * i + k * k);
        step.radiusFromCircleParameters = true;
        return;
    }
    const float radius = std::fabs(m_z - m_previousZ);
    if (radius == 0.0f) {
        const QString previous = m_index > 1 ? record(m_index - 1).text : QString();
        fail(Fault::ZeroRadiusArc, zeroRadiusArcMessage(previous, record(m_index)));
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

WalkStep ProgramWalk::interpretG(const LineRecord& r)
{
    WalkStep step;
    step.record = &r;
    const ExportUnits& u = m_program.units;
    const int code = r.code;

    float x = m_x;
    float z = m_z;
    if (readsCoordinates(code)) {
        if (!r.xDigits.isEmpty()) {
            x = coordinate(r.xDigits, r.xSign);
            if (!m_absolute)
                x = m_x + 2.0f * x;  // increments are radii, the output is a diameter
            m_previousX = m_x;
            if (code < 70)
                m_x = x;
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
    move.z = z;
    const CycleStart start{m_x, m_z, feed};

    switch (code) {
    case 0:
        step.moves.push_back(move);
        break;
    case 1: case 2: case 3: case 33:
        move.feed = feed;
        step.moves.push_back(move);
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
        if (!m_absolute)
            nx = 2.0f * nx;
        m_x = nx;
        m_z = coordinate(r.zDigits, r.zSign);
        m_previousX = m_x;
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
