#pragma once

#include "Material.h"
#include "Toolpath.h"

#include <optional>
#include <vector>

namespace quillon {

// One program line as the walk ran it, in running order: a line run twice
// (a subprogram called twice) is two lines of the run.
struct RunLine {
    int row = -1;       // 0-based index into Program::rows
    int firstMove = 0;  // the line made the path's moves firstMove up to, not including, endMove
    int endMove = 0;
    ToolPoint toolAfter;  // where the tool stands once the line has run
    double cutterRadius = 0.0;  // mill: the radius of the cutter in the spindle then (0: none named)

    bool operator==(const RunLine&) const = default;
};

// A test run (Testlauf): the program run on its drawing one program line at
// a time, forward and back, with the material the moves done so far have
// taken off. Plain state, no timer: whoever shows the run decides when to
// step.
//
// Until it is begun the run is idle: the drawing is the whole path as it
// stands and no material is worked out. Once begun, `linesRun()` lines have
// run (0 up to `lineCount()`): their moves are done, the tool stands where
// the last of them left it, and that line's row is the current one.
class TestRun {
public:
    TestRun() = default;
    TestRun(const TestRun&) = delete;
    TestRun& operator=(const TestRun&) = delete;

    // Walks `program` anew, after an edit as at the start: a begun run keeps
    // as many lines run as the new program has, so a paused run stays where
    // it was and never points past the end.
    void load(const Program& program, MachineType machine);
    // The billet or block the material starts from (the description's
    // billet, when it names one, still wins on the lathe).
    void setMaterialSetup(const MaterialSetup& setup);
    const MaterialSetup& materialSetup() const { return m_setup; }

    const Toolpath& path() const { return m_path; }
    const std::vector<RunLine>& lines() const { return m_lines; }

    // Begins (again) before the first line; nothing has run.
    void begin();
    // Back to idle.
    void stop();
    // One line forward (beginning an idle run first) or back. False when
    // there is no line to go to; the run is then unchanged.
    bool stepForward();
    bool stepBack();
    // Every line run at once.
    void runToEnd();

    bool begun() const { return m_begun; }
    bool atStart() const { return m_linesRun == 0; }
    bool atEnd() const { return m_linesRun == lineCount(); }
    int lineCount() const { return int(m_lines.size()); }
    int linesRun() const { return m_linesRun; }

    // The 0-based row of the line run last; -1 while idle or before the first.
    int currentRow() const;
    // Moves [0, movesDone()) are done; while idle, all of them.
    int movesDone() const;
    // Where the tool stands: the path's start before the first line.
    ToolPoint toolPosition() const;
    // Mill: the cutter radius of the last M06 run; 0 before one and on the lathe.
    double cutterRadius() const;
    // The material once the moves done so far have cut it; null while idle.
    const MaterialRun* material() const { return m_begun ? &*m_material : nullptr; }

private:
    void followMaterial();

    Toolpath m_path;
    std::vector<RunLine> m_lines;
    ToolPoint m_start;
    MaterialSetup m_setup;
    // Refers to m_path, which is why the run is not copied.
    std::optional<MaterialRun> m_material;
    bool m_begun = false;
    int m_linesRun = 0;
};

}  // namespace quillon
