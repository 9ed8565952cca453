#include "tst_espera_pinta.h"
#include "tst_select_lang.h"
#include "tst_traducir_ventana.h"

#include <QApplication>
#include <QTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int fallos = 0;
    {
        TestTraducirVentana t;
        fallos += QTest::qExec(&t, argc, argv);
    }
    {
        TestSelectLang t;
        fallos += QTest::qExec(&t, argc, argv);
    }
    {
        TestEsperaPinta t;
        fallos += QTest::qExec(&t, argc, argv);
    }
    return fallos;
}
