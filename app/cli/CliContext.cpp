#include "CliContext.h"

#include "files/Cp1252.h"
#include "files/ProgramFile.h"
#include "shell/MachineSelection.h"
#include "shell/Settings.h"
#include "shell/SettingsPath.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace quillon::cli {

QString cliProgramDir()
{
    // The drawing helper lives elsewhere (libexec) and is told quillon-cli's folder.
    const QString handedOver = qEnvironmentVariable(kProgramDirVariable);
    return handedOver.isEmpty() ? QCoreApplication::applicationDirPath() : handedOver;
}


CliContext::CliContext(QString settingsOverride, QStringList args)
    : m_settingsOverride(std::move(settingsOverride))
    , m_args(std::move(args))
{
}

std::optional<QString> CliContext::takeOption(const QString& name, QString* error)
{
    const std::optional<QString> value = takeNextOption(name, error);
    if (!value)
        return value;
    // A second value would otherwise be left over and reported as unknown.
    const QString prefix = name + QLatin1Char('=');
    for (const QString& a : std::as_const(m_args)) {
        if (a == QLatin1String("--"))
            break;
        if (a == name || a.startsWith(prefix)) {
            *error = name + QStringLiteral(" may be given only once");
            return std::nullopt;
        }
    }
    return value;
}

std::optional<QString> CliContext::takeNextOption(const QString& name, QString* error)
{
    const QString prefix = name + QLatin1Char('=');
    for (qsizetype i = 0; i < m_args.size(); ++i) {
        if (m_args[i] == name) {
            if (i + 1 >= m_args.size()) {
                *error = name + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            const QString value = m_args[i + 1];
            m_args.remove(i, 2);
            return value;
        }
        if (m_args[i].startsWith(prefix)) {
            const QString value = m_args[i].mid(prefix.size());
            m_args.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

QStringList CliContext::takeOptionAll(const QString& name, QString* error)
{
    QStringList values;
    while (const std::optional<QString> v = takeNextOption(name, error))
        values << *v;
    return values;
}

bool CliContext::takeFlag(const QString& name)
{
    return m_args.removeAll(name) > 0;
}

std::optional<QStringList> CliContext::positionals(QString* error) const
{
    QStringList result;
    bool onlyFiles = false;
    for (const QString& a : m_args) {
        if (!onlyFiles && a == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            *error = QStringLiteral("unknown option ") + a;
            return std::nullopt;
        }
        result << a;
    }
    return result;
}

std::optional<MachineType> CliContext::machine(QString* error)
{
    QString optionError;
    const std::optional<QString> name = takeOption(QStringLiteral("--machine"), &optionError);
    if (!optionError.isEmpty()) {
        *error = optionError;
        return std::nullopt;
    }
    if (name) {
        if (const std::optional<MachineType> m = parseMachineName(*name))
            return m;
        *error = QStringLiteral("unknown machine \"%1\" (use 1/f1, 2/mk2 or 4/mk4)").arg(*name);
        return std::nullopt;
    }
    // Read only: the command line never writes the settings file.
    const QString programDir = cliProgramDir();
    const Settings settings(settingsFilePath(programDir, m_settingsOverride), programDir);
    const MachineType fromSettings = machineFromTypeSetting(settings.type());
    if (fromSettings != MachineType::None)
        return fromSettings;
    *error = QStringLiteral("no machine chosen: give --machine 1|2|4 or set Type in the settings file");
    return std::nullopt;
}

bool CliContext::woodworkerSetting() const
{
    const QString programDir = cliProgramDir();
    return Settings(settingsFilePath(programDir, m_settingsOverride), programDir).woodworker();
}

Units CliContext::unitsSetting() const
{
    const QString programDir = cliProgramDir();
    return unitsFromSetting(Settings(settingsFilePath(programDir, m_settingsOverride), programDir).units());
}

std::optional<DecodeResult> CliContext::loadProgram(const QString& path, MachineType machine, QString* error) const
{
    const std::optional<QByteArray> bytes = readWholeFile(path, error);
    if (!bytes)
        return std::nullopt;
    return blnDecodeBuffer(decodeCp1252(*bytes), machine, unitsSetting());
}

std::optional<CliContext::OneProgram> CliContext::takeOneProgram(const QString& command, int* exitCode)
{
    *exitCode = kExitUsage;
    QString error;
    const std::optional<MachineType> chosen = machine(&error);
    if (!chosen) {
        usageError(error);
        return std::nullopt;
    }
    const std::optional<QStringList> files = positionals(&error);
    if (!files) {
        usageError(error);
        return std::nullopt;
    }
    if (files->size() != 1) {
        usageError(command + QStringLiteral(" takes exactly one FILE"));
        return std::nullopt;
    }
    const QString& path = files->front();
    const std::optional<DecodeResult> result = loadProgram(path, *chosen, &error);
    if (!result) {
        usageError(QStringLiteral("cannot read %1: %2").arg(path, error));
        return std::nullopt;
    }
    if (!result->accepted) {
        err(QStringLiteral("%1: rejected: %2\n").arg(path, result->message));
        *exitCode = kExitFailed;
        return std::nullopt;
    }
    *exitCode = kExitOk;
    return OneProgram{*chosen, path, result->program};
}

int CliContext::forEachProgram(const QString& command, const AcceptedProgram& accepted)
{
    QString error;
    const std::optional<MachineType> chosen = machine(&error);
    if (!chosen)
        return usageError(error);
    const std::optional<QStringList> files = positionals(&error);
    if (!files)
        return usageError(error);
    if (files->isEmpty())
        return usageError(command + QStringLiteral(" needs at least one FILE"));

    int exitCode = kExitOk;
    for (const QString& path : *files) {
        int fileCode = kExitOk;
        const std::optional<DecodeResult> result = loadProgram(path, *chosen, &error);
        if (!result) {
            fileCode = usageError(QStringLiteral("cannot read %1: %2").arg(path, error));
        } else if (!result->accepted) {
            out(QStringLiteral("%1: rejected: %2\n").arg(path, result->message));
            fileCode = kExitFailed;
        } else {
            fileCode = accepted(*chosen, path, *result);
        }
        exitCode = std::max(exitCode, fileCode);
    }
    return exitCode;
}

void CliContext::out(const QString& text)
{
    outBytes(text.toUtf8());
}

void CliContext::outBytes(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void CliContext::err(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

int CliContext::usageError(const QString& message)
{
    err(QStringLiteral("quillon-cli: ") + message + QLatin1Char('\n'));
    return kExitUsage;
}

}  // namespace quillon::cli
