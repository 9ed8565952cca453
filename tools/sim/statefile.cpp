#include "statefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace kv::sim {

bool StateFile::load(QJsonObject *out, QString *error) const
{
    *out = QJsonObject();
    QFile f(m_path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(m_path, f.errorString());
        return false;
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QStringLiteral("%1 is not a state file: %2").arg(m_path, parse.errorString());
        return false;
    }
    *out = doc.object();
    return true;
}

bool StateFile::save(const QJsonObject &state, QString *error) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(m_path, f.errorString());
        return false;
    }
    f.write(QJsonDocument(state).toJson(QJsonDocument::Indented));
    if (!f.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(m_path, f.errorString());
        return false;
    }
    return true;
}

} // namespace kv::sim
