#include "tst_recepcion.h"

#include "banco.h"

#include "app/pagina_usuarios.h"
#include "app/tf_main.h"
#include "app/tf_recv_users.h"
#include "app/ventanas_envio.h"
#include "ui/imagenes.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using kv::ui::Operador;

void TestRecepcion::recibe()
{
    Banco b;
    QVERIFY(b.listo());
    QVERIFY(b.com1->ok("set 2 version 19"));
    QVERIFY(b.com1->ok("load 1 555"));
    b.arranca();
    TF_Main *m = b.m();
    Tf_recv_users *w = Ventanas::f_recv_users;
    QVERIFY(w);
    QList<QStringList> filas;
    QList<int> iconos;
    bool ok_habilitado = false;
    Operador::clear();
    Operador::setNextDialogAction([&](QDialog *) {
        // The controllers are tested once the window is up.
        QVERIFY(QTest::qWaitFor([&] { return w->L1_Contr->topLevelItemCount() == 3 && w->SpeedButton8->isEnabled(); },
                                10000));
        for (int i = 0; i < w->L1_Contr->topLevelItemCount(); ++i) {
            filas << textos(w->L1_Contr->topLevelItem(i));
            iconos << kv::ui::Icono_De(w->L1_Contr->topLevelItem(i), 3);
        }
        ok_habilitado = w->SpeedButton8->isEnabled();
        // No row selected: the receive reads whatever can be read.
        w->L1_Contr->clearSelection();
        QTest::mouseClick(w->SpeedButton8, Qt::LeftButton);
    });
    m->Muestra(*m->Usuarios());
    QTest::mouseClick(m->Usuarios()->B_receive_u, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(ok_habilitado);

    const int puede = kv::ui::Icono_Tarjeta_Aceptada;
    const int no_puede = kv::ui::Icono_Tarjeta_Rechazada;
    const struct {
        QStringList fila;
        int icono;
    } lista[] = {
        {{"1", "Entrada", "1", ""}, puede},
        {{"2", "Salida", "1", ""}, no_puede}, // version 1.9
        {{"3", "Garaje", "2", ""}, puede},
    };
    QCOMPARE(filas.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(filas[i], lista[i].fila);
        QCOMPARE(iconos[i], lista[i].icono);
    }

    const struct {
        int controlador;
        QStringList asignaciones;
    } casos[] = {
        {1, {tarjeta(111) + "|S", tarjeta(222) + "|S", tarjeta(555) + "|S"}},
        // Not read: left as it was, the pending card included.
        {2, {tarjeta(333) + "|S", tarjeta(444) + "|N"}},
        {3, {}},
    };
    for (const auto &c : casos)
        QCOMPARE(b.asignaciones(c.controlador), c.asignaciones);
    QCOMPARE(b.memoria(*b.com1, 1), QStringList({tarjeta(111), tarjeta(222), tarjeta(555)}));
    // The card the database did not know has a user of its own, still nameless.
    QCOMPARE(b.filas("SELECT coalesce(u.nombre, '') || '/' || coalesce(u.apellidos, '') FROM zarvtarjeta t "
                     "JOIN zarvusuario u ON u.id = t.usuario WHERE t.codigo_tarjeta = '0000000555'"),
             QStringList{"/"});
    QVERIFY(mensajes().isEmpty());
    // The users list was rebuilt after the window closed: the new user is in it.
    QCOMPARE(m->Usuarios()->Lista1->topLevelItemCount(), 2);
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);
}
