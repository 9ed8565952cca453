#include "tst_espera_pinta.h"
#include "tst_select_lang.h"
#include "tst_traducir_ventana.h"

#include "clases.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return Ejecuta_Clases(argc, argv,
                          {Clase<TestTraducirVentana>(), Clase<TestSelectLang>(), Clase<TestEsperaPinta>()});
}
