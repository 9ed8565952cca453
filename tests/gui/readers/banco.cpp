#include "banco.h"

#include "fbtest.h"

#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvserver.h"
#include "ui/imagen_pulsable.h"
#include "ui/operador.h"

#include <QTest>
#include <QTreeWidget>

using kv::test::SimProcess;

namespace {

const QStringList Filas = {
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (1, 1, 'ENTRADA', 'Entrada', 1)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (2, 1, 'SALIDA', 'Salida', 2)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (3, 2, '', 'Garaje', 0)",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ana', 'Garcia Lopez', 'S', '')",
    "INSERT INTO zarvtarjeta VALUES ('0000000111', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000222', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000333', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000444', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000111', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000222', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000333', 2, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000444', 2, 'N')",
};

} // namespace

Banco::Banco(const QStringList &mas_filas)
{
    if (!e.valido() || !e.sql(1, Filas + mas_filas))
        return;
    com1 = std::make_unique<SimProcess>(1, QStringList{"--controllers", "1,2"}, e.inst.portsDir());
    com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "170"}, e.inst.portsDir());
    m_listo = com1->ok(QStringLiteral("load 1 111 222")) && com1->ok(QStringLiteral("load 2 333"));
}

Banco::~Banco()
{
    // The program lets go of the lines before the simulators close them.
    e.para();
}

void Banco::arranca()
{
    e.arranca();
    // The readers' page as the factory administrator works it; the login
    // window itself is tested with the application.
    QVERIFY(Globales::Servidor && Globales::Servidor->Comprueba_Login("admin", "admin"));
}

TF_Main *Banco::m() const
{
    return Ventanas::F_Main;
}

QStringList Banco::memoria(SimProcess &sim, int direccion)
{
    return sim.command(QStringLiteral("dump %1").arg(direccion));
}

QString Banco::ajuste(SimProcess &sim, int direccion, const QString &clave)
{
    for (const QString &linea : sim.command(QStringLiteral("list"))) {
        const QStringList campos = linea.split(QLatin1Char(' '));
        if (campos.value(0).toInt() != direccion)
            continue;
        for (const QString &c : campos)
            if (c.startsWith(clave + QLatin1Char('=')))
                return c.mid(clave.size() + 1);
    }
    return QString();
}

QStringList Banco::filas(const QString &sentencia)
{
    kv::test::FbConnection c(e.inst.installationFile(1));
    return c.rows(sentencia);
}

QStringList Banco::asignaciones(int controlador)
{
    return filas(QStringLiteral("SELECT tarjeta, \"_STOREDINHW\" FROM zarvcontroladortarjeta WHERE controlador = %1 "
                                "ORDER BY tarjeta")
                     .arg(controlador));
}

void Banco::selecciona(const QList<int> &codigos)
{
    QTreeWidget *l = m()->Lectores()->L1_Contr;
    l->clearSelection();
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        if (codigos.contains(l->topLevelItem(i)->text(0).toInt()))
            l->topLevelItem(i)->setSelected(true);
}

void Banco::registra()
{
    QTest::mouseClick(m()->I_PLAY_OFF, Qt::LeftButton);
}

bool Banco::en_reposo()
{
    return !Variables::Registrando && !com1->lineHeld() && !com2->lineHeld();
}

bool Banco::escuchando()
{
    QTreeWidget *l = m()->Lista_Incidencias;
    const int antes = l->topLevelItemCount();
    if (!com1->ok(QStringLiteral("door 1 button")) || !com2->ok(QStringLiteral("door 170 button")))
        return false;
    return QTest::qWaitFor([&] { return l->topLevelItemCount() >= antes + 2; }, 10000);
}

QStringList textos(const QTreeWidgetItem *fila)
{
    QStringList r;
    for (int i = 0; fila && i < fila->columnCount(); ++i)
        r << fila->text(i);
    return r;
}

QStringList mensajes()
{
    QStringList r;
    for (const auto &h : kv::ui::Operador::history())
        if (h.tipo == QLatin1String("message"))
            r << h.texto;
    return r;
}

QString tarjeta(int numero)
{
    return QStringLiteral("%1").arg(numero, 10, 10, QLatin1Char('0'));
}
