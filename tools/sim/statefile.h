#pragma once

#include <QJsonObject>
#include <QString>

namespace kv::sim {

// The small JSON file that keeps one line's controllers across restarts:
// <state dir>/COM<N>.json, written whole through a temporary file so that a
// crash leaves the previous version rather than half a file.
class StateFile {
public:
    explicit StateFile(const QString &path = QString())
        : m_path(path)
    {
    }

    bool enabled() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }

    // A missing file reads as an empty object; a damaged one is an error.
    bool load(QJsonObject *out, QString *error) const;
    bool save(const QJsonObject &state, QString *error) const;

private:
    QString m_path;
};

} // namespace kv::sim
