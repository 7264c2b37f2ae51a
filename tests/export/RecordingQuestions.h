#pragma once

#include "export/ExportQuestions.h"

#include <QStringList>
#include <deque>

namespace quillon::testing {

// Answers from a list and remembers what was asked; an empty list (or an
// unset billet) answers as Cancel does.
class RecordingQuestions : public ExportQuestions {
public:
    std::optional<QString> billet;
    std::deque<ToolAnswer> tools;
    QStringList asked;

    std::optional<QString> billetDiameter(const QString& prompt) override
    {
        asked << prompt;
        return billet;
    }
    std::optional<ToolAnswer> toolChoice(const QString& question) override
    {
        asked << question;
        if (tools.empty())
            return std::nullopt;
        ToolAnswer a = tools.front();
        tools.pop_front();
        return a;
    }
};

}  // namespace quillon::testing
