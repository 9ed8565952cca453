#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace kv {

class IniFileData;

// One INI file as the Windows profile functions see it: sections and keys
// matched without regard to case, entries kept in file order, Windows-1252 on
// disk (a file that starts with a UTF-8 signature is read, and written back, as
// UTF-8). Everything this class hands out or takes is Unicode.
//
// Writing rewrites the whole file through a temporary file and a rename, so a
// crash or a full disk never leaves a truncated settings file behind.
class IniFile {
public:
    explicit IniFile(const QString &path = QString());
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;
    IniFile(IniFile &&) noexcept;
    IniFile &operator=(IniFile &&) noexcept;

    QString path() const { return m_path; }

    // Reads the file. A missing file reads as an empty one; a file that exists
    // but cannot be read throws FileError (treating it as empty would let the
    // next write replace what the operator could not see).
    void load();
    // Parses bytes as the file's content, without touching the disk.
    void loadData(const QByteArray &bytes);

    // Section names in file order; the nameless section of entries that stand
    // before the first header is not a section.
    QStringList sections() const;
    // Key names of a section, in file order.
    QStringList keys(const QString &section) const;
    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    // The entry's text (empty when present but empty), or def when absent.
    QString value(const QString &section, const QString &key, const QString &def = QString()) const;

    // Sets an entry, creating the section and the key when needed; an existing
    // key keeps its spelling and its place. Line breaks and NULs in the value
    // become spaces: one entry is one line, whatever the caller hands in.
    void setValue(const QString &section, const QString &key, const QString &value);
    // Removes a whole section; false when there was none.
    bool removeSection(const QString &section);

    // The file's content as it would be written.
    QByteArray toBytes() const;
    // Writes the file (and its directory when missing); throws FileError.
    void save() const;

private:
    QString m_path;
    std::unique_ptr<IniFileData> d;
};

// dir/name, or the entry of dir whose name matches name without regard to case
// when no file has exactly that name: the INI files are found by a bare name,
// which the original platform matched case-insensitively.
QString resolveFileName(const QString &dir, const QString &name);

} // namespace kv
