#pragma once
#include <QString>

// An INI file read and written the way the classic profile functions do:
// section and key names match without regard to case, values lose surrounding
// blanks and one pair of surrounding quotes, and a write replaces one key while
// keeping the rest of the file, adding the file and the section when missing.
class CIniFile {
public:
    explicit CIniFile(const QString& path) : m_path(path) {}

    // The value of the key, or `fallback` when the file, section or key is missing.
    // At most `capacity - 1` characters are returned.
    QString ReadString(const QString& section, const QString& key, const QString& fallback,
                       int capacity) const;
    // Leading blanks, an optional sign and the digits that follow; no digits give
    // 0. A missing key gives `fallback`.
    int ReadInt(const QString& section, const QString& key, int fallback) const;
    // 0 written, -1 not. A new file is made readable and writable by its owner only.
    int WriteString(const QString& section, const QString& key, const QString& value) const;

    // Bigger files are not settings files; they read as empty and are never
    // written over.
    static constexpr qint64 kMaxFileSize = 1 << 20;

private:
    bool Find(const QString& section, const QString& key, QString* value) const;

    QString m_path;
};
