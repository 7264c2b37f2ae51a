#pragma once

#include <QString>

namespace quillon {

// A Windows-style private profile file read and written the way
// GetPrivateProfileString and WritePrivateProfileString treat it, so that
// settings files written by the Windows tools keep their meaning both ways.
// The file is Windows-1252 text with CR LF line ends; it is read afresh on
// every call, as the platform functions do. Values are kept whole (paths
// here are longer than the old platform's 255-character buffer), and a value
// Windows-1252 cannot hold is written as a UTF-8 line.
class IniFile {
public:
    // The key list is read into a buffer of 10000, with room for the terminating NUL.
    static constexpr int kKeyListLimit = 9998;

    explicit IniFile(QString path);

    const QString& path() const { return path_; }

    // Section and key are matched without regard to case. The value is
    // trimmed, and loses one pair of enclosing double or single quotes.
    // A missing file, section or key gives `defaultValue`.
    // An empty key returns the key names of the section, each followed by a
    // NUL character and the list by one more NUL ("" for a section without keys).
    QString strStdIniData(const QString& section, const QString& key, const QString& defaultValue) const;

    // strStdIniData read through the flag rule (blnIniFlagText).
    bool blnStdIniFlag(const QString& section, const QString& key, const QString& defaultValue) const;

    // Sets `key` in `section` to `value`: an existing key line is replaced in
    // place, a new key goes after the last key of its section, a new section
    // at the end of the file; the file and its folder are created when
    // missing. Every other line keeps its bytes. The file is replaced only
    // when the new one is complete, so a crash never truncates it.
    // Returns false (and leaves the file as it was) when it cannot be written,
    // cannot be read first, or when the text would not read back the same: a
    // line break in any part, "=" in the key, "]" in the section, an empty
    // key or section, characters Windows-1252 cannot hold in key or section,
    // blanks at either end of the value or quotes enclosing it.
    bool write(const QString& section, const QString& key, const QString& value) const;

private:
    QString path_;
};

// The flag rule of the settings: true when the trimmed, upper-cased value is
// "YES", "ON", "TRUE", "1" or "-1".
bool blnIniFlagText(const QString& value);

}  // namespace quillon
