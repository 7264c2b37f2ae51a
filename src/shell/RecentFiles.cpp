#include "RecentFiles.h"

#include "Settings.h"

namespace quillon {

QString RecentFiles::caption(int index) const
{
    QString path = tag(index);
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QLatin1Char('&') + QString::number(index + 1) + QLatin1Char(' ') + path;
}

QStringList RecentFiles::captions() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result.append(caption(i));
    return result;
}

void RecentFiles::MRUGetFileList(const Settings& settings)
{
    const TraceScope trace(trace_, "modQuillon", "MRUGetFileList");
    const QString none = QStringLiteral("none");
    QStringList stored;
    for (int number = 0;; ++number) {
        const QString value = settings.mruFile(number);
        if (value == none)
            break;
        if (!value.isEmpty())
            stored.append(value);
    }
    clear();
    for (qsizetype i = stored.size() - 1; i >= 0; --i)
        MRUAddItem(stored.at(i));
}

void RecentFiles::MRUAddItem(const QString& file)
{
    const TraceScope trace(trace_, "modQuillon", "MRUAddItem");
    for (int i = 0; i < count(); ++i) {
        if (tags_.at(i).compare(file, Qt::CaseInsensitive) == 0) {
            MRUReorderList(file, i);
            return;
        }
    }
    MRUAddMenuElement(file);
}

void RecentFiles::MRUAddMenuElement(const QString& file)
{
    const TraceScope trace(trace_, "modQuillon", "MRUAddMenuElement");
    if (count() < kMaxEntries)
        tags_.append(QString());
    MRUReorderList(file, count() - 1);
}

void RecentFiles::MRUReorderList(const QString& file, int position)
{
    const TraceScope trace(trace_, "modQuillon", "MRUReorderList");
    if (position < 0 || position >= count())
        return;
    for (int i = position; i >= 1; --i)
        tags_[i] = tags_.at(i - 1);
    tags_[0] = file;
}

bool RecentFiles::MRUSaveFileList(const Settings& settings) const
{
    const TraceScope trace(trace_, "modQuillon", "MRUSaveFileList");
    // An entry the settings file cannot hold (a name with characters outside
    // Windows-1252, possible on this system) is left out and the rest move
    // up. A "none" after them then ends the stored list, so that an older
    // value in the last key does not come back as an entry.
    int stored = 0;
    for (int i = 0; i < count(); ++i)
        if (settings.setValue(Settings::mruKey(stored), tags_.at(i)))
            ++stored;
    if (stored == count())
        return true;
    settings.setValue(Settings::mruKey(stored), QStringLiteral("none"));
    return false;
}

}  // namespace quillon
