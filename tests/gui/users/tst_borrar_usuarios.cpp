#include "tst_borrar_usuarios.h"

#include "banco.h"

#include "app/dialogo_buscar.h"
#include "app/pagina_usuarios.h"
#include "app/tf_main.h"
#include "ui/operador.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const QStringList Otros = {
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Bea', 'Sanz', 'S', '')",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ciro', 'Ruiz', 'S', '')",
    "INSERT INTO zarvtarjeta VALUES ('0000000555', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 2, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000555', 1, 'S')",
};

} // namespace

void TestBorrarUsuarios::preguntaUnaVez()
{
    Banco b(Otros);
    QVERIFY(b.listo());
    QVERIFY(b.com1->ok("load 1 555"));
    b.arranca();
    QVERIFY(b.com1->ok("fault 1 refuse"));
    TF_Main *m = b.m();
    m->Muestra(*m->Usuarios());
    QTreeWidget *l = m->Usuarios()->Lista1;
    for (const char *n : {"Ana", "Bea", "Ciro"})
        fila(l, n)->setSelected(true);
    kv::ui::Operador::clear();
    kv::ui::Operador::setNextAnswer(1);  // delete 3 users?
    kv::ui::Operador::setNextAnswer(25); // a reader kept a card: delete anyway
    QTest::mouseClick(m->Usuarios()->B_Delete, Qt::LeftButton);

    int preguntas = 0;
    for (const auto &h : kv::ui::Operador::history())
        preguntas += h.titulo == "F_Pregunta_elimina_tarj";
    QCOMPARE(preguntas, 1);
    QCOMPARE(b.filas("select count(*) from zarvusuario"), QStringList{"0"});
    QCOMPARE(b.filas("select count(*) from zarvtarjeta where usuario <> -1"), QStringList{"0"});
    QCOMPARE(l->topLevelItemCount(), 0);
}

void TestBorrarUsuarios::buscar()
{
    Banco b(Otros);
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    m->Muestra(*m->Usuarios());
    Pagina_Usuarios *p = m->Usuarios();
    QTest::mouseClick(p->SpeedButton25, Qt::LeftButton);
    QVERIFY(p->Find_user()->isVisible());
    // "an" is in Ana and in Sanz; the case does not matter.
    QTest::keyClicks(p->Find_user()->Texto, "aN");
    QTest::mouseClick(p->Find_user()->B_Buscar, Qt::LeftButton);
    QStringList elegidos;
    for (QTreeWidgetItem *f : p->Lista1->selectedItems())
        elegidos << f->text(0);
    elegidos.sort();
    QCOMPARE(elegidos, (QStringList{"Ana", "Bea"}));
    const QString primero = p->Lista1->currentItem()->text(0);
    QTest::mouseClick(p->Find_user()->B_Buscar, Qt::LeftButton);
    QVERIFY(p->Lista1->currentItem()->text(0) != primero);
    // Card text and card count are searched too.
    QVERIFY(p->Find_userFind("555"));
    QCOMPARE(p->Lista1->selectedItems().size(), 1);
    QVERIFY(!p->Find_userFind("nadie"));
    QCOMPARE(p->Lista1->selectedItems().size(), 0);
}
