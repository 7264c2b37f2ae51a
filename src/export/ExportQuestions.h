#pragma once

#include "model/Trace.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillon {

struct ToolAnswer {
    int tool = 1;                        // 1 to 11, written after "T"
    QString speed = QStringLiteral("1000");  // spindle speed as entered
};

// The questions an export asks; the dialogs answer them in the editor, the
// command line from its options. nullopt means the user cancelled.
class ExportQuestions {
public:
    virtual ~ExportQuestions() = default;
    // Asked when the description does not name the billet. The answer is
    // written as it was entered.
    virtual std::optional<QString> billetDiameter(const QString& prompt) = 0;
    // Asked at each tool change, in program order.
    virtual std::optional<ToolAnswer> toolChoice(const QString& question) = 0;
    // Where the export writes its trace entries; none by default.
    virtual TraceSink* tracer() { return nullptr; }
};

// The eleven lathe tools in list order; position + 1 is the tool number.
QStringList latheToolNames();

// A diameter is digits and points with a value above 0.
bool billetDiameterAccepted(const QString& text);
// A speed is digits with a value above 0.
bool spindleSpeedAccepted(const QString& text);

}  // namespace quillon
