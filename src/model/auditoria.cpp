#include "model/auditoria.h"

#include "model/conexionbd.h"
#include "model/errorbd.h"
#include "model/globales.h"
#include "model/transaccionbd.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <array>
#include <utility>

namespace Auditoria {
namespace {

// In the order of Accion.
constexpr std::array<const char *, 28> Claves = {
    "cardholder added",     "cardholder changed",    "cardholder deleted",    "card added",
    "card changed",         "card deleted",          "card assigned",         "card unassigned",
    "cards sent",           "cards received",        "controller added",      "controller changed",
    "controller deleted",   "controller erased",     "controller cloned",     "master card",
    "times set",            "login added",           "login deleted",         "password changed",
    "installation created", "installation deleted",  "installation exported", "installation imported",
    "installation switched", "parameters changed",   "workbook imported",     "workbook exported",
};
static_assert(Claves.size() == std::size_t(Accion::Libro_Exportado) + 1);

thread_local int g_agrupaciones = 0;
thread_local int g_automaticos = 0;

// None for 0 or an empty text: the column stays null.
QVariant Numero(int n)
{
    return n ? QVariant(n) : QVariant();
}

QVariant Texto(const QString &texto, int largo)
{
    return texto.isEmpty() ? QVariant() : QVariant(texto.left(largo));
}

QString Plano(QString texto)
{
    texto.replace(QLatin1Char('\t'), QLatin1Char(' '));
    texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
    texto.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return texto;
}

} // namespace

QString Clave(Accion accion)
{
    return QString::fromLatin1(Claves[std::size_t(accion)]);
}

QString Clave(Resultado resultado)
{
    switch (resultado) {
    case Resultado::Hecho:
        return QStringLiteral("done");
    case Resultado::Rechazado:
        return QStringLiteral("refused");
    case Resultado::Cancelado:
        return QStringLiteral("cancelled");
    }
    return {};
}

std::optional<Accion> Accion_De(const QString &clave)
{
    for (std::size_t i = 0; i < Claves.size(); ++i)
        if (clave.compare(QLatin1String(Claves[i]), Qt::CaseInsensitive) == 0)
            return Accion(i);
    return std::nullopt;
}

Objeto De_Usuario(const ZARVUsuario &usuario)
{
    Objeto o;
    o.usuario = usuario.Id();
    o.nombre = usuario.Nombre_Completo();
    return o;
}

Objeto De_Tarjeta(const ZARVTarjeta &tarjeta)
{
    Objeto o = tarjeta.Usuario() ? De_Usuario(*tarjeta.Usuario()) : Objeto{};
    o.tarjeta = tarjeta.Codigo_Tarjeta();
    return o;
}

Objeto De_Controlador(const ZARVControlador &controlador)
{
    Objeto o;
    o.controlador = controlador.Cod();
    o.detalle = controlador.Descripcion();
    return o;
}

Automatico::Automatico()
{
    ++g_automaticos;
}

Automatico::~Automatico()
{
    --g_automaticos;
}

QString Operador()
{
    if (g_automaticos > 0)
        return QStringLiteral("maintenance");
    const QString login = Globales::Servidor ? Globales::Servidor->Login_Actual() : QString();
    return login.isEmpty() ? QStringLiteral("console") : login;
}

void Registra(QSqlDatabase &db, Accion accion, const Objeto &objeto, Resultado resultado)
{
    QSqlQuery q(db);
    // The time and the number are the database's (a trigger sets both), so
    // every station's entries share one clock and one order.
    if (!q.prepare(QStringLiteral(
            "INSERT INTO ZARVAUDITORIA(LOGIN,ACCION,TARJETA,USUARIO,NOMBRE,CONTROLADOR,DETALLE,RESULTADO) "
            "VALUES(?,?,?,?,?,?,?,?)")))
        ConexionBD::Lanza(db, db.databaseName(), q.lastError());
    q.addBindValue(Operador().left(50));
    q.addBindValue(Clave(accion));
    q.addBindValue(Texto(objeto.tarjeta, 20));
    q.addBindValue(Numero(objeto.usuario));
    q.addBindValue(Texto(objeto.nombre, 260));
    q.addBindValue(Numero(objeto.controlador));
    q.addBindValue(Texto(objeto.detalle, 250));
    q.addBindValue(Clave(resultado));
    if (!q.exec())
        ConexionBD::Lanza(db, db.databaseName(), q.lastError());
}

void Con_Entrada(Accion accion, const Objeto &objeto, const std::function<void()> &cambio)
{
    if (!Globales::Sistema) {
        cambio();
        return;
    }
    QSqlDatabase &db = Globales::Sistema->Conexion();
    TransaccionBD entrada(db);
    Registra(db, accion, objeto);
    cambio();
    entrada.Confirma();
}

void Registra_En_Abierta(Accion accion, const Objeto &objeto, Resultado resultado)
{
    if (Globales::Sistema)
        Registra(Globales::Sistema->Conexion(), accion, objeto, resultado);
}

Agrupacion::Agrupacion()
{
    ++g_agrupaciones;
}

Agrupacion::~Agrupacion()
{
    --g_agrupaciones;
}

bool Agrupacion::Activa()
{
    return g_agrupaciones > 0;
}

std::vector<Entrada> Lee(QSqlDatabase &db, const Filtro &filtro)
{
    QStringList condiciones;
    QVariantList valores;
    if (filtro.desde.isValid()) {
        condiciones << QStringLiteral("MOMENTO >= ?");
        valores << QDateTime(filtro.desde, QTime(0, 0));
    }
    if (filtro.hasta.isValid()) {
        condiciones << QStringLiteral("MOMENTO < ?");
        valores << QDateTime(filtro.hasta.addDays(1), QTime(0, 0));
    }
    if (filtro.tras_momento.isValid()) {
        condiciones << QStringLiteral("MOMENTO <= ? AND (MOMENTO < ? OR ID < ?)");
        valores << filtro.tras_momento << filtro.tras_momento << filtro.tras_id;
    }
    if (!filtro.login.trimmed().isEmpty()) {
        condiciones << QStringLiteral("UPPER(LOGIN) = UPPER(?)");
        valores << filtro.login.trimmed();
    }
    const QString objeto = filtro.objeto.trimmed();
    if (!objeto.isEmpty()) {
        QString texto = QStringLiteral("(NOMBRE CONTAINING ? OR DETALLE CONTAINING ? OR TARJETA CONTAINING ?");
        valores << objeto << objeto << objeto;
        bool numero = false;
        const qlonglong n = objeto.toLongLong(&numero);
        if (numero && n > 0 && n <= 2147483647) {
            texto += QStringLiteral(" OR USUARIO = ? OR CONTROLADOR = ?");
            valores << int(n) << int(n);
        }
        condiciones << texto + QLatin1Char(')');
    }
    QString sentencia = QStringLiteral("SELECT ");
    if (filtro.limite > 0)
        sentencia += QStringLiteral("FIRST %1 ").arg(filtro.limite);
    sentencia += QStringLiteral("ID,MOMENTO,LOGIN,ACCION,TARJETA,USUARIO,NOMBRE,CONTROLADOR,DETALLE,RESULTADO "
                                "FROM ZARVAUDITORIA");
    if (!condiciones.isEmpty())
        sentencia += QStringLiteral(" WHERE ") + condiciones.join(QStringLiteral(" AND "));
    // Newest first: the descending index on (time, id) walks the log in that
    // order from the end of the date range, without sorting it.
    sentencia += QStringLiteral(" ORDER BY MOMENTO DESC, ID DESC");

    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sentencia))
        ConexionBD::Lanza(db, db.databaseName(), q.lastError());
    for (const QVariant &v : std::as_const(valores))
        q.addBindValue(v);
    if (!q.exec())
        ConexionBD::Lanza(db, db.databaseName(), q.lastError());
    std::vector<Entrada> entradas;
    while (q.next()) {
        Entrada e;
        e.id = q.value(0).toLongLong();
        e.momento = q.value(1).toDateTime();
        e.login = q.value(2).toString();
        e.accion = q.value(3).toString();
        e.objeto.tarjeta = q.value(4).toString();
        e.objeto.usuario = q.value(5).toInt();
        e.objeto.nombre = q.value(6).toString();
        e.objeto.controlador = q.value(7).toInt();
        e.objeto.detalle = q.value(8).toString();
        e.resultado = q.value(9).toString();
        entradas.push_back(std::move(e));
    }
    return entradas;
}

QString Linea(const Entrada &e)
{
    const auto numero = [](int n) { return n ? QString::number(n) : QString(); };
    return QStringList{e.momento.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                       Plano(e.login),
                       e.accion,
                       e.objeto.tarjeta,
                       numero(e.objeto.usuario),
                       Plano(e.objeto.nombre),
                       numero(e.objeto.controlador),
                       e.resultado,
                       Plano(e.objeto.detalle)}
        .join(QLatin1Char('\t'));
}

} // namespace Auditoria
