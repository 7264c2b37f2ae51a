#pragma once

#include "files/ProgramText.h"
#include "model/MachineType.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace quillon::cli {

// Exit codes shared by every command.
// kExitIncomplete: receive saved what arrived, but no unit line came.
enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitIncomplete = 3 };

// quillon-cli's own folder, which decides where the settings are; the
// drawing helper gets it from quillon-cli through this variable.
inline constexpr const char* kProgramDirVariable = "QUILLON_CLI_DIR";
QString cliProgramDir();

// What every command gets: the arguments after the command name (global
// options already taken out) and the few services commands share.
class CliContext {
public:
    CliContext(QString settingsOverride, QStringList args);

    const QStringList& args() const { return m_args; }
    const QString& settingsOverride() const { return m_settingsOverride; }

    // Takes "--name VALUE" or "--name=VALUE" out of the arguments; an option
    // given without its value, or given twice, is a usage error reported
    // through `error`.
    std::optional<QString> takeOption(const QString& name, QString* error);
    // Every occurrence, in order.
    QStringList takeOptionAll(const QString& name, QString* error);
    bool takeFlag(const QString& name);
    // The arguments left once a command has taken its options; anything that
    // still looks like an option is reported as unknown.
    std::optional<QStringList> positionals(QString* error) const;

    // The machine from --machine, else from the settings file's `Type`.
    // Never writes the settings file.
    std::optional<MachineType> machine(QString* error);
    // The settings file's `Woodworker` flag (false without a settings file).
    bool woodworkerSetting() const;
    // The units a program starts in, as in the editor: the settings file's
    // `Units` (metric without a settings file).
    Units unitsSetting() const;

    // Reads and decodes a program file as the editor's Open would. Returns
    // nullopt with `error` set when the file cannot be read at all.
    std::optional<DecodeResult> loadProgram(const QString& path, MachineType machine, QString* error) const;

    // The shared start of the commands that take exactly one program file:
    // the machine, the one FILE, read and accepted by the decoder. Call it
    // after taking the command's own options. On failure the reason is on
    // standard error and `exitCode` holds the code to return.
    struct OneProgram {
        MachineType machine = MachineType::None;
        QString path;
        Program program;
    };
    std::optional<OneProgram> takeOneProgram(const QString& command, int* exitCode);

    // The shared loop of the commands that take one or more program files:
    // the machine, at least one FILE, each read and decoded. A file that
    // cannot be read is a usage error, a rejected one is reported as
    // "FILE: rejected: MESSAGE" on standard output; `accepted` handles the
    // others and returns their exit code. The worst code of all files wins.
    using AcceptedProgram = std::function<int(MachineType machine, const QString& path, const DecodeResult& decoded)>;
    int forEachProgram(const QString& command, const AcceptedProgram& accepted);

    // Output helpers: text goes out in UTF-8, bytes unchanged.
    static void out(const QString& text);
    static void outBytes(const QByteArray& bytes);
    static void err(const QString& text);
    // "quillon-cli: <message>" on standard error, returning kExitUsage.
    static int usageError(const QString& message);

private:
    // The first occurrence, whatever follows.
    std::optional<QString> takeNextOption(const QString& name, QString* error);

    QString m_settingsOverride;
    QStringList m_args;
};

}  // namespace quillon::cli
