#pragma once

#include "editing/EditorView.h"

#include <QString>
#include <deque>
#include <vector>

namespace quillon {

// Records message boxes and answers them from a script (OK, or No to a
// question, when the script is empty).
struct BoxRecorder {
    struct Box {
        QString message;
        int style = 0;
        QString title;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    QString box(std::size_t i) const { return boxes.at(i).message + QLatin1Char('|') + boxes.at(i).title; }

    int answer(const QString& message, int style, const QString& title)
    {
        boxes.push_back({message, style, title});
        if (answers.empty())
            return style == 292 ? 7 : 1;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
};

// The editor's window. The form's texts, visibility and commands are read
// back from the editor, which writes each of them to the view in one place;
// this keeps what only the window sees.
class FakeEditorView : public EditorView, public BoxRecorder {
public:
    int focused = -1;  // FormField as int; 100 = the program list
    int selField = -1, selLength = -1;
    QString caption;
    int focusTimerStarts = 0;
    int programChanges = 0;
    std::vector<int> shownRows;  // every currentRowChanged, in order

    void setLabelText(FormLabel, const QString&) override {}
    void setLabelVisible(FormLabel, bool) override {}
    void setFieldText(FormField, const QString&) override {}
    void setFieldVisible(FormField, bool) override {}
    void setFieldEnabled(FormField, bool) override {}
    void selectFieldText(FormField f, int start, int length) override
    {
        selField = start == 0 ? static_cast<int>(f) : -2;
        selLength = length;
    }
    void focusField(FormField f) override { focused = static_cast<int>(f); }
    void focusProgramList() override { focused = 100; }
    void setCommandEnabled(Command, bool) override {}
    void setCommandToolTip(Command, const QString&) override {}
    void setCodeLabelYellow(bool) override {}
    void setCodeFramePrompt(bool) override {}
    void setUnits(Units) override {}
    void setCaption(const QString& c) override { caption = c; }
    void startFocusTimer() override { ++focusTimerStarts; }
    void programChanged() override { ++programChanges; }
    void currentRowChanged(int row) override { shownRows.push_back(row); }
    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        return answer(message, style, title);
    }
};

}  // namespace quillon
