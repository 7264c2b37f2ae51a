#pragma once

#include "ExportQuestions.h"

#include <vector>

namespace quillon {

// Answers given in advance, as the command line takes them. Each tool change
// takes the next tool answer; an answer without a speed keeps the last one,
// and when the answers run out the dialog's defaults apply: tool 1 and the
// last speed (1000 at first).
class ScriptedQuestions : public ExportQuestions {
public:
    struct Tool {
        int tool = 1;
        std::optional<QString> speed;
    };

    ScriptedQuestions(std::optional<QString> billet, std::vector<Tool> tools);

    std::optional<QString> billetDiameter(const QString& prompt) override;
    std::optional<ToolAnswer> toolChoice(const QString& question) override;

    // True when the billet was asked for and no answer was given.
    bool billetMissing() const { return m_billetMissing; }
    int toolQuestions() const { return m_asked; }

    // "T" or "T:SPEED" with T from 1 to 11 and SPEED a whole number above 0.
    static std::optional<Tool> parseTool(const QString& text, QString* error);

private:
    std::optional<QString> m_billet;
    std::vector<Tool> m_tools;
    QString m_speed = QStringLiteral("1000");
    int m_asked = 0;
    bool m_billetMissing = false;
};

}  // namespace quillon
