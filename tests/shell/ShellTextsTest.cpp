#include "shell/AppIdentity.h"
#include "shell/MessageSink.h"
#include "shell/MillText.h"
#include "shell/Settings.h"
#include "shell/WindowPlacement.h"

#include "QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;

TEST(MillText, LatheWordBecomesMillWord)
{
    struct Case { const char* caption; const char* mill; };
    const Case cases[] = {
        {"Programm an die Drehmaschine senden", "Programm an die Fräsmaschine senden"},
        {"drehmaschine bereit", "fräsmaschine bereit"},
        {"DREHMASCHINE und drehMaschine", "Fräsmaschine und fräsmaschine"},
        {"Drehmaschinedrehmaschine", "Fräsmaschinefräsmaschine"},
        {"Dreh maschine", "Dreh maschine"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strMillText(QString::fromUtf8(c.caption)), QString::fromUtf8(c.mill)) << c.caption;
}

TEST(WindowPlacement, WinSettingReadsFourNumbersOrNothing)
{
    EXPECT_EQ(parseWinSetting(QStringLiteral("1200,900,9600,7200")), (WindowPlacement{1200, 900, 9600, 7200}));
    EXPECT_EQ(parseWinSetting(QStringLiteral(" -60 , 0 ,12000.4, 9000.6")), (WindowPlacement{-60, 0, 12000, 9001}));
    for (const char* bad : {"none", "", "1,2,3", "1,2,3,4,5", "a,b,c,d", "1,2,,4", "1e30,0,9600,7200"})
        EXPECT_EQ(parseWinSetting(QString::fromLatin1(bad)), std::nullopt) << bad;

    QTemporaryDir dir;
    const Settings settings(dir.filePath(QStringLiteral("Quillon.ini")), dir.path());
    EXPECT_EQ(settings.windowPlacement(), std::nullopt);
    ASSERT_TRUE(settings.setWindowPlacement({-15, 300, 9600, 7215}));
    EXPECT_EQ(settings.win(), "-15,300,9600,7215");
    EXPECT_EQ(settings.windowPlacement(), (WindowPlacement{-15, 300, 9600, 7215}));
}

namespace {

class ScriptedSink : public MessageSink {
public:
    explicit ScriptedSink(int answer) : answer_(answer) {}
    int intStdMsgBox(const QString& message, int style, const QString& title) override
    {
        shown = message + QLatin1Char('|') + QString::number(style) + QLatin1Char('|') + title;
        return answer_;
    }
    QString shown;

private:
    int answer_;
};

}  // namespace

TEST(MessageTexts, UnsavedWorkQuestionAndIdentity)
{
    ScriptedSink yes(MsgResult::Yes);
    EXPECT_TRUE(blnAskUnsavedWork(yes, QStringLiteral("Wollen Sie wirklich beenden?")));
    EXPECT_EQ(yes.shown, QStringLiteral("Die aktuelle Datei ist nicht gespeichert\r\nWollen Sie wirklich beenden?"
                                        "|292|Änderungen nicht gespeichert"));
    ScriptedSink no(MsgResult::No);
    EXPECT_FALSE(blnAskUnsavedWork(no, QStringLiteral("?")));
    ScriptedSink closed(MsgResult::Ok);
    EXPECT_FALSE(blnAskUnsavedWork(closed, QStringLiteral("?")));

    EXPECT_EQ(versionLabel(), "Version 1.0.21");
    EXPECT_EQ(previousInstanceMessage(), "Quillon CNC Editor cannot start as a previous instance is still running");
}
