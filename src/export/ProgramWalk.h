#pragma once

#include "ExtractCode.h"
#include "WalkStep.h"

#include <optional>
#include <vector>

namespace quillon {

// Runs a lathe program the way the machine would: absolute or incremental
// positions, calls, jumps and returns unrolled, arcs given a radius and
// drilling cycles broken into plain moves. It knows nothing of the output
// text, so a toolpath view can walk the same program.
//
// Each walk starts from the same state: incremental mode, no feed, the tool
// at X 25 Z 10 (metric) or X 1 Z 0.4 (inch).
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

    float currentX() const { return m_x; }
    float currentZ() const { return m_z; }
    bool absolute() const { return m_absolute; }
    const ExportUnits& units() const { return m_program.units; }

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
    void fail(Fault fault, const QString& message);
    WalkStep interpret(const LineRecord& r);
    WalkStep interpretG(const LineRecord& r);
    void giveArcItsRadius(WalkStep& step);
    float coordinate(const QString& digits, QChar sign) const;

    const ExtractedProgram& m_program;
    int m_index = 0;  // 1-based index of the record interpreted last
    std::vector<int> m_returns;
    float m_x = 0.0f;
    float m_z = 0.0f;
    float m_previousX = 0.0f;
    float m_previousZ = 0.0f;
    float m_lastF = 0.0f;  // as written in the row
    float m_lastH = 0.0f;  // in output units
    bool m_absolute = false;
    bool m_ended = false;
    long m_steps = 0;
    Fault m_fault = Fault::None;
    QString m_faultMessage;
};

}  // namespace quillon
