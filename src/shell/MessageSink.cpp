#include "MessageSink.h"

#include "AppIdentity.h"

namespace quillon {

QString messageBoxTitle(const QString& title)
{
    return title.isEmpty() ? applicationTitle() : title;
}

bool blnAskUnsavedWork(MessageSink& sink, const QString& question)
{
    const QString message = QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\n") + question;
    return sink.intStdMsgBox(message, MsgStyle::Question, QStringLiteral("Änderungen nicht gespeichert"))
           == MsgResult::Yes;
}

}  // namespace quillon
