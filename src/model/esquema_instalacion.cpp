#include "model/esquema_instalacion.h"

#include "model/conexionbd.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace {

struct Objeto {
    const char *existe; // a count of the system table's rows for it
    const char *crea;
};

// Tables whose changes the marker counts. Names hold 31 characters at most.
#define KV_TRIGGER_CAMBIO(tabla)                                                                                      \
    Objeto{"select count(*) from rdb$triggers where rdb$trigger_name = 'TRC_" tabla "'",                             \
           "CREATE TRIGGER TRC_" tabla " FOR " tabla " AFTER INSERT OR UPDATE OR DELETE AS "                         \
           "DECLARE m BIGINT; BEGIN m = GEN_ID(GEN_ZARV_CAMBIOS, 1); END"}

const Objeto Objetos[] = {
    {"select count(*) from rdb$indices where rdb$index_name = 'IX_ZARVINCIDENCIA_RECIENTES'",
     "CREATE DESCENDING INDEX IX_ZARVINCIDENCIA_RECIENTES ON zarvincidencia (\"TIMESTAMP\", cod)"},
    {"select count(*) from rdb$generators where rdb$generator_name = 'GEN_ZARV_CAMBIOS'",
     "CREATE GENERATOR GEN_ZARV_CAMBIOS"},
    KV_TRIGGER_CAMBIO("ZARVCONTROLADOR"),
    KV_TRIGGER_CAMBIO("ZARVTARJETA"),
    KV_TRIGGER_CAMBIO("ZARVCONTROLADORTARJETA"),
    KV_TRIGGER_CAMBIO("ZARVUSUARIO"),
    // The operators' log (model/auditoria.h). Number and time are the
    // database's; once written a row can be neither changed nor deleted.
    {"select count(*) from rdb$generators where rdb$generator_name = 'GEN_ZARVAUDITORIA'",
     "CREATE GENERATOR GEN_ZARVAUDITORIA"},
    {"select count(*) from rdb$exceptions where rdb$exception_name = 'EX_ZARVAUDITORIA_FIJA'",
     "CREATE EXCEPTION EX_ZARVAUDITORIA_FIJA 'The operators'' log cannot be changed'"},
    {"select count(*) from rdb$relations where rdb$relation_name = 'ZARVAUDITORIA'",
     "CREATE TABLE ZARVAUDITORIA (ID BIGINT NOT NULL PRIMARY KEY, MOMENTO TIMESTAMP NOT NULL, "
     "LOGIN VARCHAR(50) NOT NULL, ACCION VARCHAR(40) NOT NULL, TARJETA VARCHAR(20), USUARIO INTEGER, "
     "NOMBRE VARCHAR(260), CONTROLADOR INTEGER, DETALLE VARCHAR(250), RESULTADO VARCHAR(20) NOT NULL)"},
    {"select count(*) from rdb$triggers where rdb$trigger_name = 'TRA_ZARVAUDITORIA_ALTA'",
     "CREATE TRIGGER TRA_ZARVAUDITORIA_ALTA FOR ZARVAUDITORIA BEFORE INSERT AS BEGIN "
     "NEW.ID = GEN_ID(GEN_ZARVAUDITORIA, 1); NEW.MOMENTO = CURRENT_TIMESTAMP; END"},
    {"select count(*) from rdb$triggers where rdb$trigger_name = 'TRA_ZARVAUDITORIA_FIJA'",
     "CREATE TRIGGER TRA_ZARVAUDITORIA_FIJA FOR ZARVAUDITORIA BEFORE UPDATE OR DELETE AS BEGIN "
     "EXCEPTION EX_ZARVAUDITORIA_FIJA; END"},
    {"select count(*) from rdb$indices where rdb$index_name = 'IX_ZARVAUDITORIA_RECIENTES'",
     "CREATE DESCENDING INDEX IX_ZARVAUDITORIA_RECIENTES ON ZARVAUDITORIA (MOMENTO, ID)"},
};

#undef KV_TRIGGER_CAMBIO

} // namespace

void Actualiza_Esquema_Instalacion(QSqlDatabase &db)
{
    for (const Objeto &o : Objetos) {
        QSqlQuery q(db);
        const bool falta = q.exec(QString::fromLatin1(o.existe)) && q.next() && q.value(0).toInt() == 0;
        q.finish();
        if (falta && !q.exec(QString::fromLatin1(o.crea)))
            qWarning("%s: %s: %s", qPrintable(db.databaseName()), o.crea, qPrintable(q.lastError().text()));
    }
}

qint64 Marca_Cambios(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select gen_id(GEN_ZARV_CAMBIOS, 0) from rdb$database")) || !q.next()) {
        // Asked every few seconds, this is how a station hears first that
        // the server went: its connections open again at their next use.
        ConexionBD::Revisa(db, q.lastError());
        return 0;
    }
    return q.value(0).toLongLong();
}
