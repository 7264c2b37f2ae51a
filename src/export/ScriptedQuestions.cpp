#include "ScriptedQuestions.h"

namespace quillon {

ScriptedQuestions::ScriptedQuestions(std::optional<QString> billet, std::vector<Tool> tools)
    : m_billet(std::move(billet))
    , m_tools(std::move(tools))
{
}

std::optional<QString> ScriptedQuestions::billetDiameter(const QString&)
{
    if (!m_billet)
        m_billetMissing = true;
    return m_billet;
}

std::optional<ToolAnswer> ScriptedQuestions::toolChoice(const QString&)
{
    ToolAnswer answer;
    if (std::size_t(m_asked) < m_tools.size()) {
        const Tool& given = m_tools[std::size_t(m_asked)];
        answer.tool = given.tool;
        if (given.speed)
            m_speed = *given.speed;
    }
    answer.speed = m_speed;
    ++m_asked;
    return answer;
}

std::optional<ScriptedQuestions::Tool> ScriptedQuestions::parseTool(const QString& text, QString* error)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString toolText = colon < 0 ? text : text.left(colon);
    bool ok = false;
    const int tool = toolText.toInt(&ok);
    if (!ok || tool < 1 || tool > 11 || !spindleSpeedAccepted(toolText)) {
        if (error)
            *error = QStringLiteral("tool must be a number from 1 to 11: %1").arg(text);
        return std::nullopt;
    }
    Tool result;
    result.tool = tool;
    if (colon >= 0) {
        const QString speed = text.mid(colon + 1);
        if (!spindleSpeedAccepted(speed)) {
            if (error)
                *error = QStringLiteral("speed must be a whole number above 0: %1").arg(text);
            return std::nullopt;
        }
        result.speed = speed;
    }
    return result;
}

}  // namespace quillon
