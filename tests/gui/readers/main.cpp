#include "tst_editar.h"
#include "tst_lista.h"
#include "tst_nuevo.h"
#include "tst_tarjetas.h"
#include "tst_ventanas.h"

#include "ui/operador.h"

#include <QApplication>
#include <QTest>

#include <vector>

// readers_gui_test [TestClass] [Qt Test options]: one class, or every one.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Nothing may wait for a click nobody makes: every answer is queued by
    // the test that needs it, and what would have been shown is recorded.
    kv::ui::Operador::setUnattended(true);

    QString solo;
    std::vector<char *> args(argv, argv + argc);
    if (args.size() > 1 && args[1][0] != '-') {
        solo = QString::fromLocal8Bit(args[1]);
        args.erase(args.begin() + 1);
    }
    const int n = static_cast<int>(args.size());
    int fallos = 0;
    const auto corre = [&](QObject &&t) {
        if (solo.isEmpty() || solo == QLatin1String(t.metaObject()->className()))
            fallos += QTest::qExec(&t, n, args.data());
    };
    corre(TestListaLectores());
    corre(TestTarjetasLector());
    corre(TestNuevoLector());
    corre(TestEditarLector());
    corre(TestVentanasLectores());
    return fallos;
}
