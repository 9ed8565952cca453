#include "tst_nuevo_usuario.h"

#include "banco.h"

#include "app/pagina_usuarios.h"
#include "app/tf_main.h"
#include "app/tf_nuevo_usr.h"
#include "app/ventanas_usuarios.h"
#include "model/variables.h"
#include "platform/paths.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

TF_Nuevo_Usr *Abre(Banco &b)
{
    QTest::mouseClick(b.m()->B_New_USR_Main, Qt::LeftButton);
    TF_Nuevo_Usr *w = Ventanas::F_Nuevo_Usr;
    return w->isVisible() ? w : nullptr;
}

QStringList Filas(QTreeWidget *lista)
{
    QStringList r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        r << lista->topLevelItem(i)->text(0);
    return r;
}

} // namespace

void TestNuevoUsuario::codigos_data()
{
    QTest::addColumn<QStringList>("tecleados");
    QTest::addColumn<QStringList>("filas");
    QTest::newRow("padded, added once") << QStringList{"12345", "12345"} << QStringList{"0000012345"};
    QTest::newRow("ten digits") << QStringList{"9912345678"} << QStringList{"9912345678"};
    QTest::newRow("letters cannot be typed") << QStringList{"12a45"} << QStringList{"0000001245"};
    QTest::newRow("eleven digits cannot be typed") << QStringList{"12345678901"} << QStringList{"1234567890"};
    QTest::newRow("nothing") << QStringList{""} << QStringList{};
}

void TestNuevoUsuario::codigos()
{
    QFETCH(QStringList, tecleados);
    QFETCH(QStringList, filas);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Nuevo_Usr *w = Abre(b);
    QVERIFY(w);
    for (const QString &t : tecleados) {
        w->C_Tarjetas->setEditText(QString());
        QTest::keyClicks(w->C_Tarjetas, t);
        QTest::mouseClick(w->B_Mas, Qt::LeftButton);
    }
    QCOMPARE(Filas(w->Lista1), filas);
    w->close();
}

void TestNuevoUsuario::guardaConUnLectorMudo()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    QVERIFY(b.com2->ok("fault 170 silence"));
    TF_Nuevo_Usr *w = Abre(b);
    QVERIFY(w);
    // Readers 1 and 3 ticked; 3 does not answer.
    QCOMPARE(w->CHLista1->count(), 3);
    w->CHLista1->item(1)->setCheckState(Qt::Unchecked);
    QTest::keyClicks(w->Edit1, "Rosa");
    QTest::keyClicks(w->Edit2, "D'Arcy");
    QTest::keyClicks(w->C_Tarjetas, "777");
    QTest::keyClick(w->C_Tarjetas, Qt::Key_Return);
    QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);

    QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('\n')));
    QCOMPARE(b.filas("select nombre, apellidos from zarvusuario where nombre='Rosa'"), QStringList{"Rosa|D'Arcy"});
    QCOMPARE(b.asignaciones(1).filter(tarjeta(777)), QStringList{tarjeta(777) + "|S"});
    QCOMPARE(b.asignaciones(3), QStringList{tarjeta(777) + "|N"});
    QVERIFY(b.asignaciones(2).filter(tarjeta(777)).isEmpty());
    QVERIFY(b.memoria(*b.com1, 1).contains(tarjeta(777)));
    QVERIFY(!b.memoria(*b.com1, 2).contains(tarjeta(777)));
    // Emptied for the next user, and the users page shows the new one.
    QVERIFY(w->Edit1->text().isEmpty());
    QCOMPARE(w->Lista1->topLevelItemCount(), 0);
    QVERIFY(fila(b.m()->Usuarios()->Lista1, "Rosa"));
    w->close();
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);
}

void TestNuevoUsuario::lectorDeLectura()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    Variables::USA_LECTOR = "3";
    Variables::Lector_Activo = true;
    Variables::Lector_Codigo = 3;
    TF_Nuevo_Usr *w = Abre(b);
    QVERIFY(w);
    // A code whose first digit is not zero arrives whole.
    QVERIFY(b.com2->ok("card 170 9912345678"));
    QTRY_COMPARE_WITH_TIMEOUT(w->C_Tarjetas->currentText(), QStringLiteral("9912345678"), 5000);
    QVERIFY(b.filas("select count(*) from zarvincidencia") == QStringList{"0"});
    // While the window is open the maintenance timer is held.
    QVERIFY(kv::wf::Coordinacion::Retenciones() > 0);
    w->close();
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!b.com2->lineHeld(), 3000);
    Variables::USA_LECTOR.clear();
    Variables::Lector_Activo = false;
}

void TestNuevoUsuario::fotografia()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Nuevo_Usr *w = Abre(b);
    QVERIFY(w);
    // A picture from anywhere is copied into Pictures/.
    const QString fuera = b.e.inst.root() + "/retrato.png";
    QImage img(20, 30, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(fuera));
    kv::ui::Operador::setNextFileName(fuera);
    QTest::mouseClick(w->B_Foto, Qt::LeftButton);
    QCOMPARE(w->Fotografia(), QStringLiteral("retrato.png"));
    QVERIFY(QFile::exists(kv::Paths::programDir() + "/Pictures/retrato.png"));
    // Something that is not a picture is refused and changes nothing.
    const QString texto = b.e.inst.root() + "/nota.png";
    QFile f(texto);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    kv::ui::Operador::clear();
    kv::ui::Operador::setNextFileName(texto);
    QTest::mouseClick(w->B_Foto, Qt::LeftButton);
    QCOMPARE(mensajes().size(), 1);
    QCOMPARE(w->Fotografia(), QStringLiteral("retrato.png"));

    QTest::keyClicks(w->Edit1, "Foto");
    QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    QCOMPARE(b.filas("select fotografia from zarvusuario where nombre='Foto'"), QStringList{"retrato.png"});
    w->close();
}
