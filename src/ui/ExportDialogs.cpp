#include "ExportDialogs.h"

#include "BilletDialog.h"
#include "ToolDialog.h"

namespace quillon {

ExportDialogs::ExportDialogs(QWidget* parent)
    : m_parent(parent)
{
}

ExportDialogs::~ExportDialogs()
{
    // A parent deletes its dialog itself; a parentless one is ours.
    if (m_tool && !m_tool->parent())
        delete m_tool;
}

std::optional<QString> ExportDialogs::billetDiameter(const QString& prompt)
{
    return BilletDialog::ask(m_parent, prompt);
}

ToolDialog* ExportDialogs::toolDialog()
{
    if (!m_tool)
        m_tool = new ToolDialog(m_parent);
    return m_tool;
}

std::optional<ToolAnswer> ExportDialogs::toolChoice(const QString& question)
{
    return toolDialog()->ask(question);
}

}  // namespace quillon
