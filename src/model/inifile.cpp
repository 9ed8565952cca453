#include "model/inifile.h"

#include "model/inicodec.h"
#include "model/settings_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <SimpleIni.h>

#include <optional>
#include <string>

namespace kv {

class IniFileData {
public:
    IniFileData() { reset(); }

    void reset()
    {
        ini.Reset();
        // Single-byte text: bytes pass through untouched and the code page is
        // applied at this class's edge, not by the library.
        ini.SetUnicode(false);
        ini.SetMultiKey(false);
        ini.SetMultiLine(false);
        // key=value, as the Windows profile functions write it.
        ini.SetSpaces(false);
    }

    QString dec(const char *s) const
    {
        return ini.IsUnicode() ? QString::fromUtf8(s) : Cp1252::decode(s);
    }

    QByteArray enc(const QString &s) const
    {
        return ini.IsUnicode() ? s.toUtf8() : Cp1252::encode(s);
    }

    // The stored spelling of a section. The library folds only ASCII letters;
    // names with accented letters ("ESPAÑOL" against "Español") are matched
    // here the way Windows matches them.
    std::optional<QByteArray> section(const QString &name) const
    {
        const QByteArray raw = enc(name);
        if (ini.GetSection(raw.constData()))
            return raw;
        CSimpleIniA::TNamesDepend all;
        ini.GetAllSections(all);
        for (const auto &e : all)
            if (dec(e.pItem).compare(name, Qt::CaseInsensitive) == 0)
                return QByteArray(e.pItem);
        return std::nullopt;
    }

    std::optional<QByteArray> key(const QByteArray &sec, const QString &name) const
    {
        const QByteArray raw = enc(name);
        if (ini.GetValue(sec.constData(), raw.constData(), nullptr))
            return raw;
        CSimpleIniA::TNamesDepend all;
        ini.GetAllKeys(sec.constData(), all);
        for (const auto &e : all)
            if (dec(e.pItem).compare(name, Qt::CaseInsensitive) == 0)
                return QByteArray(e.pItem);
        return std::nullopt;
    }

    CSimpleIniA ini;
};

namespace {

// A line that opens a section header without closing it: the parser would
// take the next entry into a section named by the rest of the file. Such a
// line names no section; it is read as a comment, so the entries after it
// stay in the section they follow, as the profile functions read them.
QByteArray headersOnOneLine(QByteArray bytes)
{
    // The parser stops at a NUL; so does everything that decides about lines.
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes.truncate(nul);
    const auto finDeLinea = [](char c) { return c == '\n' || c == '\r'; };
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0; // the parser skips a UTF-8 signature
    while (i < bytes.size()) {
        qsizetype c = i;
        while (c < bytes.size() && (bytes[c] == ' ' || bytes[c] == '\t'))
            ++c;
        qsizetype fin = c;
        bool cerrada = false;
        for (; fin < bytes.size() && !finDeLinea(bytes.at(fin)); ++fin)
            if (bytes.at(fin) == ']')
                cerrada = true;
        if (c < fin && bytes[c] == '[' && !cerrada)
            bytes[c] = ';';
        i = fin + 1;
    }
    return bytes;
}

QByteArray oneLine(QByteArray bytes)
{
    for (char &c : bytes)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return bytes;
}

} // namespace

IniFile::IniFile(const QString &path) : m_path(path), d(std::make_unique<IniFileData>()) {}

IniFile::~IniFile() = default;
IniFile::IniFile(IniFile &&) noexcept = default;
IniFile &IniFile::operator=(IniFile &&) noexcept = default;

void IniFile::load()
{
    d->reset();
    QFile f(m_path);
    if (!f.exists())
        return;
    if (!f.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot read %1: %2").arg(m_path, f.errorString()));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Cannot read %1: %2").arg(m_path, f.errorString()));
    loadData(bytes);
}

void IniFile::loadData(const QByteArray &bytes)
{
    d->reset();
    // The parser fails only when out of memory; anything it cannot make sense
    // of is skipped, which is also how the profile functions treat it.
    const QByteArray datos = headersOnOneLine(bytes);
    if (d->ini.LoadData(datos.constData(), std::size_t(datos.size())) < 0)
        d->reset();
}

QStringList IniFile::sections() const
{
    CSimpleIniA::TNamesDepend all;
    d->ini.GetAllSections(all);
    all.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList out;
    for (const auto &e : all)
        if (e.pItem && *e.pItem)
            out.append(d->dec(e.pItem));
    return out;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    const auto sec = d->section(section);
    if (!sec)
        return out;
    CSimpleIniA::TNamesDepend all;
    d->ini.GetAllKeys(sec->constData(), all);
    all.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto &e : all)
        out.append(d->dec(e.pItem));
    return out;
}

bool IniFile::hasSection(const QString &section) const
{
    return d->section(section).has_value();
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    const auto sec = d->section(section);
    return sec && d->key(*sec, key);
}

QString IniFile::value(const QString &section, const QString &key, const QString &def) const
{
    const auto sec = d->section(section);
    if (!sec)
        return def;
    const auto k = d->key(*sec, key);
    if (!k)
        return def;
    return d->dec(d->ini.GetValue(sec->constData(), k->constData(), ""));
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    const QByteArray sec = d->section(section).value_or(oneLine(d->enc(section)));
    const QByteArray k = d->key(sec, key).value_or(oneLine(d->enc(key)));
    if (d->ini.SetValue(sec.constData(), k.constData(), oneLine(d->enc(value)).constData()) < 0)
        throw FileError(QStringLiteral("Cannot set %1 in [%2] of %3").arg(key, section, m_path));
}

bool IniFile::removeSection(const QString &section)
{
    const auto sec = d->section(section);
    return sec && d->ini.Delete(sec->constData(), nullptr);
}

QByteArray IniFile::toBytes() const
{
    std::string out;
    // A file read as UTF-8 keeps its signature, so it is read as UTF-8 again.
    d->ini.Save(out, d->ini.IsUnicode());
    QByteArray bytes(out.data(), qsizetype(out.size()));
    // Single-byte text that happens to begin with the three bytes of a UTF-8
    // signature would be read back as UTF-8; a leading blank line keeps it
    // what it is.
    if (!d->ini.IsUnicode() && bytes.startsWith("\xEF\xBB\xBF"))
        bytes.prepend('\n');
    return bytes;
}

void IniFile::save() const
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        throw FileError(QStringLiteral("Cannot create the directory %1").arg(info.absolutePath()));
    QSaveFile f(m_path);
    const QByteArray bytes = toBytes();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw FileError(QStringLiteral("Cannot write %1: %2").arg(m_path, f.errorString()));
    // A settings file may hold the database server's password: it is for the
    // operators' group, not for every account of the machine.
    const QFile::Permissions otros = QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions actuales = QFile::permissions(m_path);
    if (actuales & otros)
        QFile::setPermissions(m_path, actuales & ~otros);
}

QString resolveFileName(const QString &dir, const QString &name)
{
    const QDir d(dir);
    if (d.exists(name))
        return d.filePath(name);
    const QStringList entries = d.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return d.filePath(e);
    return d.filePath(name);
}

} // namespace kv
