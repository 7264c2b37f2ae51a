#pragma once

#include "LineRecord.h"

#include <QString>

namespace quillon {

// The texts the export shows. Each failure ends only the export: the editor
// goes on and no file is written.
inline constexpr const char* kExportMessageTitle = "Quillon";
inline constexpr const char* kExportCompleteTitle = "Export komplett";

QString missingJumpTargetMessage(const LineRecord& record);
QString zeroRadiusArcMessage(const QString& previousText, const LineRecord& record);
QString returnWithoutCallMessage(const LineRecord& record);
QString lineLimitMessage();
QString toolCancelledMessage(const LineRecord& record);
QString notLatheMessage();
QString unencodableMessage(const QString& characters);
QString exportWriteFailedMessage(const QString& path, const QString& reason);
QString percentInDescriptionMessage();
QString exportCompleteMessage(const QString& path);
// A walk's message for those who write no file at all (the tool path): the
// export's closing "no file was written" would tell them something untrue.
QString withoutNoFileNote(const QString& message);

}  // namespace quillon
