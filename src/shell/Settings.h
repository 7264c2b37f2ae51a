#pragma once

#include "IniFile.h"
#include "PreviewPaneSetting.h"
#include "WindowPlacement.h"
#include "model/MachineType.h"

#include <QString>
#include <functional>
#include <optional>

namespace quillon {

// The keys of section "Settings" and their defaults, with typed access.
// Reads go to the file every time, so a value written by one part of the
// program is seen by the next reader at once.
class Settings {
public:
    static constexpr const char* kSection = "Settings";

    static constexpr const char* kType = "Type";
    static constexpr const char* kWoodworker = "Woodworker";
    static constexpr const char* kWin = "Win";
    static constexpr const char* kComPort = "ComPort";
    static constexpr const char* kUnits = "Units";
    static constexpr const char* kFilePath = "FilePath";
    static constexpr const char* kWarning = "Warning";
    static constexpr const char* kNetwork = "Network";
    static constexpr const char* kDrive = "Drive";
    static constexpr const char* kExport = "Export";
    // The tool path pane: shown, detached, docking side, place, mill view.
    static constexpr const char* kPreview = "Preview";
    static constexpr const char* kPreviewFloat = "PreviewFloat";
    static constexpr const char* kPreviewSide = "PreviewSide";
    static constexpr const char* kPreviewWin = "PreviewWin";
    static constexpr const char* kPreviewView = "PreviewView";
    // The test run's billet diameter and block size (X,Y,Z), in mm.
    static constexpr const char* kPreviewBillet = "PreviewBillet";
    static constexpr const char* kPreviewBlock = "PreviewBlock";

    // `programDir` gives the default of FilePath.
    Settings(const QString& filePath, QString programDir);

    const QString& filePath() const { return ini_.path(); }
    const IniFile& ini() const { return ini_; }

    // Any key of the section, and the flag rule applied to it.
    QString value(const QString& key, const QString& defaultValue) const;
    bool flag(const QString& key, const QString& defaultValue) const;
    // The result says whether it was stored; a failure also goes to the
    // write-failure handler.
    bool setValue(const QString& key, const QString& value) const;
    // Hears of every write that failed, with the file's path (none by default).
    void setWriteFailureHandler(std::function<void(const QString& path)> handler)
    {
        onWriteFailure_ = std::move(handler);
    }

    QString type() const;                   // "0"
    bool woodworker() const;                // flag, "No"
    QString win() const;                    // "none"
    std::optional<WindowPlacement> windowPlacement() const;  // nullopt: default size, centred
    bool setWindowPlacement(const WindowPlacement& placement) const;
    QString comPort() const;                // "1"
    QString units() const;                  // "metric"
    QString fileFolder() const;             // program folder + "/CNCfiles/"
    bool warning() const;                   // flag, "Yes"
    bool network() const;                   // flag, "No"
    QString drive() const;                  // "N:"
    QString exportFolder() const;           // "c:\spindra\turndata\"
    QString mruFile(int number) const;      // "none"
    // Preview "No", PreviewFloat "No", PreviewSide "right" (left, right, top,
    // bottom), PreviewWin "none" (as Win), PreviewView "top" (top, side).
    // Values that cannot be read give their defaults.
    PreviewPaneSetting previewPane() const;
    bool setPreviewPane(const PreviewPaneSetting& pane) const;
    // PreviewBillet "20", PreviewBlock "80,60,20" (X,Y,Z); a value that is not
    // a positive length leaves its key's default.
    RunMaterialSetting runMaterial() const;
    bool setRunMaterial(const RunMaterialSetting& material) const;

    // "MRUFile" + the number with at least two digits: "MRUFile00".
    static QString mruKey(int number);

    // The machine-type dialog's record: Woodworker first, then Type.
    bool setMachine(MachineType type, bool woodworker) const;

private:
    IniFile ini_;
    QString programDir_;
    std::function<void(const QString& path)> onWriteFailure_;
};

}  // namespace quillon
