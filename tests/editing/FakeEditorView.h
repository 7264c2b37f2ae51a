#pragma once

#include "editing/EditorView.h"

#include <QString>
#include <array>
#include <deque>
#include <vector>

namespace quillon {

// Records what the editor tells its window and answers message boxes from a
// script (OK, or No for questions, when the script is empty).
class FakeEditorView : public EditorView {
public:
    struct Box {
        QString message;
        int style = 0;
        QString title;
    };
    struct Field {
        QString text;
        bool visible = false;
        bool enabled = false;
    };
    struct Label {
        QString text;
        bool visible = false;
    };

    std::array<Field, kFormFieldCount> fields;
    std::array<Label, kFormLabelCount> labels;
    std::array<bool, kCommandCount> commands{};
    std::array<QString, kCommandCount> tips;
    std::vector<Box> boxes;
    std::deque<int> answers;
    int focused = -1;  // FormField as int; 100 = the program list
    int selStart = -1, selLength = -1, selField = -1;
    bool codeYellow = false;
    bool framePrompt = false;
    Units units = Units::Metric;
    QString caption;
    int focusTimerStarts = 0;
    int programChanges = 0;
    std::vector<int> shownRows;  // every currentRowChanged, in order

    Field& field(FormField f) { return fields[static_cast<std::size_t>(f)]; }
    Label& label(FormLabel l) { return labels[static_cast<std::size_t>(l)]; }
    bool command(Command c) const { return commands[static_cast<std::size_t>(c)]; }

    void setLabelText(FormLabel l, const QString& text) override { label(l).text = text; }
    void setLabelVisible(FormLabel l, bool visible) override { label(l).visible = visible; }
    void setFieldText(FormField f, const QString& text) override { field(f).text = text; }
    void setFieldVisible(FormField f, bool visible) override { field(f).visible = visible; }
    void setFieldEnabled(FormField f, bool enabled) override { field(f).enabled = enabled; }
    void selectFieldText(FormField f, int start, int length) override
    {
        selField = static_cast<int>(f);
        selStart = start;
        selLength = length;
    }
    void focusField(FormField f) override { focused = static_cast<int>(f); }
    void focusProgramList() override { focused = 100; }
    void setCommandEnabled(Command c, bool enabled) override { commands[static_cast<std::size_t>(c)] = enabled; }
    void setCommandToolTip(Command c, const QString& tip) override { tips[static_cast<std::size_t>(c)] = tip; }
    void setCodeLabelYellow(bool yellow) override { codeYellow = yellow; }
    void setCodeFramePrompt(bool prompt) override { framePrompt = prompt; }
    void setUnits(Units u) override { units = u; }
    void setCaption(const QString& c) override { caption = c; }
    void startFocusTimer() override { ++focusTimerStarts; }
    void programChanged() override { ++programChanges; }
    void currentRowChanged(int row) override { shownRows.push_back(row); }
    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        boxes.push_back({message, style, title});
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        return style == 292 ? 7 : 1;
    }
};

}  // namespace quillon
