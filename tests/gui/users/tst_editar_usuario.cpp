#include "tst_editar_usuario.h"

#include "banco.h"

#include "app/pagina_usuarios.h"
#include "app/tf_edit_user.h"
#include "app/tf_main.h"
#include "app/ventanas_usuarios.h"
#include "ui/operador.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

TF_Edit_User *Edita(Banco &b, const QString &nombre)
{
    TF_Main *m = b.m();
    m->Muestra(*m->Usuarios());
    QTreeWidgetItem *f = fila(m->Usuarios()->Lista1, nombre);
    if (!f)
        return nullptr;
    m->Usuarios()->Lista1->setCurrentItem(f);
    QTest::mouseClick(m->Usuarios()->B_edit_usr, Qt::LeftButton);
    TF_Edit_User *w = Ventanas::F_Edit_User;
    return w->isVisible() ? w : nullptr;
}

QStringList Marcados(QListWidget *l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->checkState() == Qt::Checked)
            r << l->item(i)->text();
    return r;
}

} // namespace

void TestEditarUsuario::rellena()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Edit_User *w = Edita(b, "Ana");
    QVERIFY(w);
    QCOMPARE(w->Edit2->text(), QStringLiteral("Garcia Lopez"));
    QCOMPARE(w->Lista1->topLevelItemCount(), 4);
    QCOMPARE(Marcados(w->CHLista1), (QStringList{"1 Entrada", "2 Salida"}));
    w->close();
}

void TestEditarUsuario::quitaUnaTarjeta()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Edit_User *w = Edita(b, "Ana");
    QVERIFY(w);
    // Card 222 goes from the list.
    for (int i = 0; i < w->Lista1->topLevelItemCount(); ++i)
        if (w->Lista1->topLevelItem(i)->text(0) == tarjeta(222))
            w->Lista1->setCurrentItem(w->Lista1->topLevelItem(i));
    QTest::mouseClick(w->B_Eliminar, Qt::LeftButton);
    QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('\n')));
    QVERIFY(!b.memoria(*b.com1, 1).contains(tarjeta(222)));
    QVERIFY(b.memoria(*b.com1, 1).contains(tarjeta(111)));
    QVERIFY(b.asignaciones(1).filter(tarjeta(222)).isEmpty());
    QCOMPARE(b.filas("select usuario from zarvtarjeta where codigo_tarjeta='0000000222'"), QStringList{"-1"});
    // The window stays with its contents.
    QVERIFY(w->isVisible());
    QCOMPARE(w->Lista1->topLevelItemCount(), 3);
    w->close();
}

void TestEditarUsuario::fotografiaPerdida()
{
    Banco b({"UPDATE zarvusuario SET fotografia='gone.jpg' WHERE nombre='Ana'"});
    QVERIFY(b.listo());
    b.arranca();
    kv::ui::Operador::clear();
    TF_Edit_User *w = Edita(b, "Ana");
    QVERIFY(w);
    QVERIFY(mensajes().isEmpty());
    QVERIFY(w->Fotografia().isEmpty());
    QVERIFY(w->I_Foto->pixmap().isNull());
    w->close();
}
