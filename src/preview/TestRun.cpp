#include "TestRun.h"

#include "export/WalkStep.h"

#include <cmath>
#include <algorithm>

namespace quillon {

void TestRun::load(const Program& program, MachineType machine)
{
    const bool lathe = isLathe(machine);
    // A walk point (lathe X a diameter) as the drawing has it.
    const auto point = [lathe](float x, float y, float z) {
        return lathe ? ToolPoint{double(x) / 2.0, 0.0, double(z)} : ToolPoint{double(x), double(y), double(z)};
    };
    std::vector<ToolPoint> starts;
    m_lines.clear();
    double cutter = 0.0;
    m_path = buildToolpath(program, machine, [&](const WalkStep& step, const Toolpath& path, std::size_t first) {
        if (!lathe && step.kind == WalkStep::Kind::ToolChange)
            cutter = millCutterRadius(*step.record, path.inch);
        m_lines.push_back(RunLine{step.record->row, int(first), int(path.moves.size()), {}, cutter});
        starts.push_back(point(step.startX, step.startY, step.startZ));
    });
    // A line leaves the tool where the next one starts (a G92 moves it
    // without a move); the last where its last move ended.
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        RunLine& line = m_lines[i];
        if (i + 1 < m_lines.size())
            line.toolAfter = starts[i + 1];
        else if (line.endMove > line.firstMove)
            line.toolAfter = m_path.moves[std::size_t(line.endMove - 1)].to;
        else
            line.toolAfter = starts[i];
    }
    m_start = starts.empty() ? ToolPoint{} : starts.front();
    m_linesRun = std::min(m_linesRun, lineCount());
    m_material.emplace(m_path, m_setup);
    followMaterial();
}

void TestRun::setMaterialSetup(const MaterialSetup& setup)
{
    if (setup == m_setup)
        return;
    m_setup = setup;
    m_material.emplace(m_path, m_setup);
    followMaterial();
}

void TestRun::followMaterial()
{
    if (m_begun && m_material)
        m_material->runTo(std::size_t(movesDone()));
}

void TestRun::begin()
{
    m_begun = true;
    m_linesRun = 0;
    followMaterial();
}

void TestRun::stop()
{
    m_begun = false;
    m_linesRun = 0;
}

bool TestRun::stepForward()
{
    if (!m_begun)
        begin();
    if (atEnd())
        return false;
    ++m_linesRun;
    followMaterial();
    return true;
}

bool TestRun::stepBack()
{
    if (!m_begun || atStart())
        return false;
    --m_linesRun;
    followMaterial();
    return true;
}

void TestRun::runToEnd()
{
    m_begun = true;
    m_linesRun = lineCount();
    followMaterial();
}

int TestRun::currentRow() const
{
    if (!m_begun || atStart())
        return -1;
    return m_lines[std::size_t(m_linesRun - 1)].row;
}

int TestRun::movesDone() const
{
    if (!m_begun)
        return int(m_path.moves.size());
    return atStart() ? 0 : m_lines[std::size_t(m_linesRun - 1)].endMove;
}

ToolPoint TestRun::toolPosition() const
{
    const int run = m_begun ? m_linesRun : lineCount();
    return run == 0 ? m_start : m_lines[std::size_t(run - 1)].toolAfter;
}

double TestRun::cutterRadius() const
{
    const int run = m_begun ? m_linesRun : lineCount();
    return run == 0 ? 0.0 : m_lines[std::size_t(run - 1)].cutterRadius;
}

}  // namespace quillon
