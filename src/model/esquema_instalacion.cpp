#include "model/esquema_instalacion.h"

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
    if (!q.exec(QStringLiteral("select gen_id(GEN_ZARV_CAMBIOS, 0) from rdb$database")) || !q.next())
        return 0;
    return q.value(0).toLongLong();
}
