#pragma once

#include "model/Trace.h"

#include <QString>
#include <QStringList>

namespace quillon {

class Settings;

// The recently used program files of the File menu, most recent first, at
// most four. The menu renders `captions()`; this class keeps order and limit.
class RecentFiles {
public:
    static constexpr int kMaxEntries = 4;

    void setTrace(TraceSink* trace) { trace_ = trace; }

    int count() const { return static_cast<int>(tags_.size()); }
    // The full path of entry `index` (0 the most recent).
    QString tag(int index) const { return tags_.value(index); }
    const QStringList& tags() const { return tags_; }

    // "&1 path": the ampersand makes the digit the item's access key. An
    // ampersand in the path is doubled so that it shows as itself.
    QString caption(int index) const;
    QStringList captions() const;

    // Empties the list (the machine change does this before reloading).
    void clear() { tags_.clear(); }

    // Replaces the entries with the stored list: MRUFile00, MRUFile01, ...
    // up to the first missing key, MRUFile00 on top, the four lowest kept.
    // An empty stored value is passed over rather than shown as an entry.
    void MRUGetFileList(const Settings& settings);

    // Makes `file` the most recent entry. A path already listed in another
    // letter case counts as the same entry and takes the new spelling.
    void MRUAddItem(const QString& file);

    // Adds a new entry on top; with four entries the oldest is dropped.
    void MRUAddMenuElement(const QString& file);

    // Moves entry `position` to the top as `file`, shifting those above it down.
    void MRUReorderList(const QString& file, int position);

    // Writes MRUFile00 to MRUFile<count - 1>; higher keys are left alone.
    // Returns whether every entry was stored (failures are not shown to the
    // user); an entry that cannot be stored is left out, the others move up
    // and "none" follows them.
    bool MRUSaveFileList(const Settings& settings) const;

private:
    QStringList tags_;
    TraceSink* trace_ = nullptr;
};

}  // namespace quillon
