#include "tst_usuario_incidencia.h"

#include "entorno.h"

#include "app/tf_main.h"
#include "app/tf_user_muestra.h"
#include "app/ventanas.h"
#include "app/ventanas_incidencias.h"
#include "lang/ui/traducir.h"
#include "ui/operador.h"

#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Readers numbered out of step with their places, so that a tick put by
// position rather than by number lands on the wrong reader. Ana's first card
// opens two of them; Luis's card and a free card open another, which must not
// be ticked for Ana.
const QStringList Filas = {
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (2, 1, '', 'Entrada', 1)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (5, 1, '', 'Salida', 2)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (7, 2, '', 'Garaje', 1)",
    "INSERT INTO zarvusuario VALUES (41, 'Ana', 'Garcia Lopez', 'S', 'retrato.png')",
    "INSERT INTO zarvusuario VALUES (42, 'Luis', 'Perez', 'S', 'perdida.png')",
    "INSERT INTO zarvusuario VALUES (43, 'Marta', 'Sanz', 'S', 'rota.png')",
    "INSERT INTO zarvtarjeta VALUES ('0000000411', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 41, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000412', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 41, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000421', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 42, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000999', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', -1, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000411', 5, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000411', 7, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000421', 2, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000999', 2, 'S')",
};

const QStringList Lectores = {"2 Entrada", "5 Salida", "7 Garaje"};

// What the window holds, compared as one value so a failure shows all of it.
struct Vista {
    bool visible = false;
    QString nombre, apellidos;
    QStringList tarjetas; // sorted: a cardholder's cards have no order of their own
    QStringList lectores;
    QStringList marcados;
    QSize foto; // none: no picture

    bool operator==(const Vista &) const = default;
};

// Found by QCOMPARE through the argument's namespace.
char *toString(const Vista &v)
{
    return qstrdup(qPrintable(QStringLiteral("visible=%1 nombre=%2 apellidos=%3 tarjetas=[%4] lectores=[%5] "
                                             "marcados=[%6] foto=%7x%8")
                                  .arg(v.visible)
                                  .arg(v.nombre, v.apellidos, v.tarjetas.join(','), v.lectores.join(','),
                                       v.marcados.join(','))
                                  .arg(v.foto.width())
                                  .arg(v.foto.height())));
}

Vista Lee(const TF_User_Muestra *w)
{
    Vista v;
    v.visible = w->isVisible();
    v.nombre = w->L_Nombre->text();
    v.apellidos = w->L_Apellidos->text();
    for (int i = 0; i < w->Lista_Tarjetas->count(); ++i)
        v.tarjetas << w->Lista_Tarjetas->item(i)->text();
    v.tarjetas.sort();
    for (int i = 0; i < w->CHLista1->count(); ++i) {
        const QListWidgetItem *e = w->CHLista1->item(i);
        v.lectores << e->text();
        if (e->checkState() == Qt::Checked)
            v.marcados << e->text();
    }
    const QPixmap foto = w->I_Foto->pixmap();
    v.foto = foto.isNull() ? QSize() : foto.size();
    return v;
}

QTreeWidgetItem *Fila_Por_Descripcion(QTreeWidget *l, const QString &descripcion)
{
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        if (l->topLevelItem(i)->text(3) == descripcion)
            return l->topLevelItem(i);
    return nullptr;
}

} // namespace

void TestUsuarioIncidencia::clicEnFilas()
{
    Entorno e;
    QVERIFY(e.sql(1, Filas));
    // A 2:1 picture: fitted into the 110x130 box it keeps its shape.
    QImage retrato(20, 10, QImage::Format_RGB32);
    retrato.fill(Qt::darkCyan);
    QVERIFY(retrato.save(e.inst.programDir() + "/Pictures/retrato.png"));
    QFile rota(e.inst.programDir() + "/Pictures/rota.png");
    QVERIFY(rota.open(QIODevice::WriteOnly));
    rota.write("\x89PNG\r\n\x1a\n not a picture after all");
    rota.close();
    e.arranca();
    // No reader answers on these lines: what start-up said about them is
    // not what this test looks at.
    kv::ui::Operador::clear();

    TF_User_Muestra *w = Ventanas::F_User_Muestra;
    QVERIFY(w);
    // The language file finds every control of the window by its name.
    QCOMPARE(w->objectName(), QStringLiteral("F_User_Muestra"));
    QCOMPARE(Lang::Traducir_Ventana(w), QStringList());
    QCOMPARE(w->xpGroupBox4->title(), QStringLiteral("Cards"));
    QCOMPARE(w->xpGroupBox1->title(), QStringLiteral("Access readers"));

    TF_Main *m = Ventanas::F_Main;
    m->show();
    m->SpeedButton11->click();
    QVERIFY(QTest::qWaitForWindowExposed(m));
    QTreeWidget *l = m->Lista_Incidencias;
    const auto fila = [m](const char *descripcion, const char *u) {
        m->Anade_Fila_Incidencia("Access", "01/05/2031 10:00:00", "Entrada", descripcion, u, 0);
    };
    fila("ana", "41");
    fila("sin usuario", "-1");
    fila("luis", "42");
    fila("marta", "43");
    fila("borrado", "99");
    fila("alarma", "");
    // As a row read back from a file may hold it: a number with more after it.
    fila("texto", "41*2");

    const Vista ana{true, "Ana", "Garcia Lopez", {"0000000411", "0000000412"}, Lectores, {"5 Salida", "7 Garaje"},
                    QSize(110, 55)};
    const Vista vacia{};
    struct Caso {
        const char *fila;
        Vista vista;
    };
    // In this order: each row is clicked with the window as the row before left it.
    const Caso casos[] = {
        {"ana", ana},
        // No cardholder: emptied and taken away.
        {"sin usuario", vacia},
        {"ana", ana},
        // No U at all: the click asks nothing and the window stays as it was.
        {"alarma", ana},
        // The photograph's file is gone: shown without one.
        {"luis", {true, "Luis", "Perez", {"0000000421"}, Lectores, {"2 Entrada"}, QSize()}},
        {"borrado", vacia},
        {"ana", ana},
        {"texto", vacia},
        // The photograph's file is no picture: shown without one, with no cards.
        {"marta", {true, "Marta", "Sanz", {}, Lectores, {}, QSize()}},
    };
    for (const Caso &c : casos) {
        QTreeWidgetItem *f = Fila_Por_Descripcion(l, c.fila);
        QVERIFY(f);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(f).center());
        QVERIFY2(f->isSelected(), c.fila);
        QCOMPARE(Lee(w), c.vista);
        QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    }
}
