#pragma once

#include <QObject>
#include <QString>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

// The main of a GUI test executable: `<test> [TestClass] [Qt Test options]`
// runs that class, or every one when none is named. CTest runs each class as
// an entry of its own.
using Clase_Test = std::function<std::unique_ptr<QObject>()>;

template <class T>
Clase_Test Clase()
{
    return [] { return std::make_unique<T>(); };
}

inline int Ejecuta_Clases(int argc, char **argv, const std::vector<Clase_Test> &clases)
{
    QString solo;
    std::vector<char *> args(argv, argv + argc);
    if (args.size() > 1 && args[1][0] != '-') {
        solo = QString::fromLocal8Bit(args[1]);
        args.erase(args.begin() + 1);
    }
    const int n = static_cast<int>(args.size());
    int fallos = 0;
    bool alguna = false;
    for (const Clase_Test &crea : clases) {
        const std::unique_ptr<QObject> t = crea();
        if (!solo.isEmpty() && solo != QLatin1String(t->metaObject()->className()))
            continue;
        alguna = true;
        fallos += QTest::qExec(t.get(), n, args.data());
    }
    // A class name that matches nothing is a mistake in the test's registration.
    return alguna ? fallos : 1;
}
