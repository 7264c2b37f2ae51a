#include "Settings.h"

#include "SettingsPath.h"

#include <QStringList>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace quillon {

namespace {

QString key(const char* name) { return QString::fromLatin1(name); }

const char* const kSideNames[] = {"left", "right", "top", "bottom"};

// Lengths as "80,60,20": each must be a positive number, else all keep their
// defaults (a half-read block would be a block nobody set).
void readLengths(const QString& text, std::initializer_list<double*> lengths)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != qsizetype(lengths.size()))
        return;
    std::vector<double> read;
    for (const QString& part : parts) {
        bool ok = false;
        const double v = part.trimmed().toDouble(&ok);
        if (!ok || !(v > 0.0) || !std::isfinite(v))
            return;
        read.push_back(v);
    }
    std::size_t i = 0;
    for (double* length : lengths)
        *length = read[i++];
}

QString lengthsText(std::initializer_list<double> lengths)
{
    QStringList parts;
    for (double v : lengths)
        parts << QString::number(v, 'g', 10);
    return parts.join(QLatin1Char(','));
}

}  // namespace

Settings::Settings(const QString& filePath, QString programDir)
    : ini_(filePath)
    , programDir_(std::move(programDir))
{
}

QString Settings::value(const QString& k, const QString& defaultValue) const
{
    return ini_.strStdIniData(key(kSection), k, defaultValue);
}

bool Settings::flag(const QString& k, const QString& defaultValue) const
{
    return ini_.blnStdIniFlag(key(kSection), k, defaultValue);
}

bool Settings::setValue(const QString& k, const QString& value) const
{
    const bool stored = ini_.write(key(kSection), k, value);
    if (!stored && onWriteFailure_)
        onWriteFailure_(ini_.path());
    return stored;
}

QString Settings::type() const { return value(key(kType), QStringLiteral("0")); }
bool Settings::woodworker() const { return flag(key(kWoodworker), QStringLiteral("No")); }
QString Settings::win() const { return value(key(kWin), QStringLiteral("none")); }
std::optional<WindowPlacement> Settings::windowPlacement() const { return parseWinSetting(win()); }

bool Settings::setWindowPlacement(const WindowPlacement& placement) const
{
    return setValue(key(kWin), winSettingText(placement));
}

QString Settings::comPort() const { return value(key(kComPort), QStringLiteral("1")); }
QString Settings::units() const { return value(key(kUnits), QStringLiteral("metric")); }

QString Settings::fileFolder() const
{
    return value(key(kFilePath), joinPath(programDir_, QStringLiteral("CNCfiles/")));
}

bool Settings::warning() const { return flag(key(kWarning), QStringLiteral("Yes")); }
bool Settings::network() const { return flag(key(kNetwork), QStringLiteral("No")); }
QString Settings::drive() const { return value(key(kDrive), QStringLiteral("N:")); }
QString Settings::exportFolder() const { return value(key(kExport), QStringLiteral("c:\\spindra\\turndata\\")); }
QString Settings::mruFile(int number) const { return value(mruKey(number), QStringLiteral("none")); }

PreviewPaneSetting Settings::previewPane() const
{
    PreviewPaneSetting pane;
    pane.visible = flag(key(kPreview), QStringLiteral("No"));
    pane.floating = flag(key(kPreviewFloat), QStringLiteral("No"));
    const QString side = value(key(kPreviewSide), QStringLiteral("right")).trimmed().toLower();
    for (int i = 0; i < 4; ++i)
        if (side == QLatin1String(kSideNames[i]))
            pane.side = static_cast<PaneSide>(i);
    pane.placement = parseWinSetting(value(key(kPreviewWin), QStringLiteral("none")));
    pane.sideView = value(key(kPreviewView), QStringLiteral("top")).trimmed().toLower() == QLatin1String("side");
    return pane;
}

bool Settings::setPreviewPane(const PreviewPaneSetting& pane) const
{
    const auto yesNo = [](bool b) { return b ? QStringLiteral("Yes") : QStringLiteral("No"); };
    bool ok = setValue(key(kPreview), yesNo(pane.visible));
    ok = setValue(key(kPreviewFloat), yesNo(pane.floating)) && ok;
    ok = setValue(key(kPreviewSide), QString::fromLatin1(kSideNames[static_cast<int>(pane.side)])) && ok;
    ok = setValue(key(kPreviewWin), pane.placement ? winSettingText(*pane.placement) : QStringLiteral("none")) && ok;
    ok = setValue(key(kPreviewView), pane.sideView ? QStringLiteral("side") : QStringLiteral("top")) && ok;
    return ok;
}

RunMaterialSetting Settings::runMaterial() const
{
    RunMaterialSetting m;
    readLengths(value(key(kPreviewBillet), QStringLiteral("20")), {&m.billetDiameter});
    readLengths(value(key(kPreviewBlock), QStringLiteral("80,60,20")), {&m.blockX, &m.blockY, &m.blockZ});
    return m;
}

bool Settings::setRunMaterial(const RunMaterialSetting& m) const
{
    const bool billet = setValue(key(kPreviewBillet), lengthsText({m.billetDiameter}));
    const bool block = setValue(key(kPreviewBlock), lengthsText({m.blockX, m.blockY, m.blockZ}));
    return billet && block;
}

QString Settings::mruKey(int number)
{
    return QStringLiteral("MRUFile%1").arg(number, 2, 10, QLatin1Char('0'));
}

bool Settings::setMachine(MachineType type, bool woodworker) const
{
    const bool wood = setValue(key(kWoodworker), woodworker ? QStringLiteral("Yes") : QStringLiteral("No"));
    const bool typed = setValue(key(kType), QString::number(machineNumber(type)));
    return wood && typed;
}

}  // namespace quillon
