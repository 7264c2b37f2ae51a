#pragma once

#include "ExtractCode.h"
#include "WalkStep.h"

#include <optional>
#include <vector>

namespace quillon {

// Runs a program the way the machine would: absolute or incremental
// positions, calls, jumps and returns unrolled, arcs given a radius and
// drilling cycles broken into plain moves. It knows nothing of the output
// text, so the export and the toolpath view walk the same program.
//
// Each walk starts from the same state: incremental mode, no feed, the tool
// at X 25 Z 10 (metric) or X 1 Z 0.4 (inch) on the lathe, at the origin on
// the mill. On the lathe X is a diameter and incremental X a radius; the
// mill's X, Y and Z are plain lengths.
class ProgramWalk {
public:
    enum class Fault { None, MissingJumpTarget, ZeroRadiusArc, ReturnWithoutCall, EndlessLoop };

    // `program` must outlive the walk; steps point into its records.
    explicit ProgramWalk(const ExtractedProgram& program);

    // The next record in running order, interpreted; nullopt when the program
    // has ended or a fault stopped the walk.
    std::optional<WalkStep> next();

    Fault fault() const { return m_fault; }
    QString faultMessage() const { return m_faultMessage; }
    // The program row to blame for the fault (0-based): the call or jump
    // whose target is missing, the return without a call, the arc without a
    // radius, the call or jump followed last in an endless loop. -1 when none.
    int faultRow() const { return m_faultRow; }

    float currentX() const { return m_x; }
    float currentY() const { return m_y; }
    float currentZ() const { return m_z; }
    bool absolute() const { return m_absolute; }
    bool mill() const { return m_mill; }
    const ExportUnits& units() const { return m_program.units; }
    // The row of the call or jump followed last, -1 before the first.
    int lastJumpRow() const { return m_lastJumpRow; }

    // A jump back to an earlier line that produces no output would loop for
    // ever; past this many records the walk stops with Fault::EndlessLoop.
    static constexpr long kMostSteps = 1000000;

    static constexpr float kStartXMetric = 25.0f;
    static constexpr float kStartZMetric = 10.0f;
    static constexpr float kStartXInch = 1.0f;
    static constexpr float kStartZInch = 0.4f;

private:
    const LineRecord& record(int index) const { return m_program.records[std::size_t(index - 1)]; }
    int recordCount() const { return int(m_program.records.size()); }
    void fail(Fault fault, const QString& message, int row);
    WalkStep interpret(const LineRecord& r);
    WalkStep interpretG(const LineRecord& r);
    bool interpretsG(int code) const;
    void giveArcItsRadius(WalkStep& step);
    float coordinate(const QString& digits, QChar sign) const;

    const ExtractedProgram& m_program;
    bool m_mill = false;
    // For each record, 1-based: the record its call or jump leads to (the
    // first with the target line number), 0 when there is none.
    std::vector<int> m_jumpTarget;
    int m_index = 0;  // 1-based index of the record interpreted last
    std::vector<int> m_returns;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_previousX = 0.0f;
    float m_previousY = 0.0f;
    float m_previousZ = 0.0f;
    float m_lastF = 0.0f;  // as written in the row
    float m_lastH = 0.0f;  // in output units
    bool m_absolute = false;
    bool m_ended = false;
    long m_steps = 0;
    int m_lastJumpRow = -1;
    Fault m_fault = Fault::None;
    QString m_faultMessage;
    int m_faultRow = -1;
};

}  // namespace quillon
