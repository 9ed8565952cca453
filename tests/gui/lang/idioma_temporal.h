#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// A throwaway system directory holding a language file of the test's own;
// the program-wide state starts fresh and is put back afterwards.
class IdiomaTemporal {
public:
    explicit IdiomaTemporal(const QByteArray &fichero);
    ~IdiomaTemporal();
    bool valido() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
};
