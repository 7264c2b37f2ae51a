#pragma once

#include "export/ExportQuestions.h"

#include <QPointer>

class QWidget;

namespace quillon {

class ToolDialog;

// Answers the export's questions with frmBillet and frmTool. Keep one for
// the whole session: its tool dialog is created on first use and then only
// hidden, so it offers the speed entered last.
class ExportDialogs : public ExportQuestions {
public:
    explicit ExportDialogs(QWidget* parent);
    void setTrace(TraceSink* trace) { m_trace = trace; }
    TraceSink* tracer() override { return m_trace; }
    ~ExportDialogs() override;
    ExportDialogs(const ExportDialogs&) = delete;
    ExportDialogs& operator=(const ExportDialogs&) = delete;

    std::optional<QString> billetDiameter(const QString& prompt) override;
    std::optional<ToolAnswer> toolChoice(const QString& question) override;

    // The tool dialog, created when first needed.
    ToolDialog* toolDialog();

private:
    QWidget* m_parent;
    QPointer<ToolDialog> m_tool;
    TraceSink* m_trace = nullptr;
};

}  // namespace quillon
