#pragma once

#include "shell/MessageSink.h"

#include <QString>
#include <functional>
#include <vector>

namespace quillon::testing {

// The one message box recorder: remembers every box, answers questions with
// `answer` and every other box with OK, and tells `onShow` (to record the
// order of steps, or to act while the box would be up).
struct RecordingSink : MessageSink {
    struct Box {
        QString message;
        int style = 0;
        QString title;
    };
    std::vector<Box> boxes;
    int answer = MsgResult::Yes;
    std::function<void()> onShow;

    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        boxes.push_back({message, style, title});
        if (onShow)
            onShow();
        return style == MsgStyle::Question ? answer : MsgResult::Ok;
    }
};

}  // namespace quillon::testing
