#include "registro_millon.h"

#include "fbtest.h"
#include "tempinstall.h"

#include "model/esquema_instalacion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

namespace kv::bench {
namespace {

// One block on the server.
const char *const kFill = R"(EXECUTE BLOCK AS
DECLARE i INTEGER = 0;
DECLARE m INTEGER;
DECLARE u INTEGER;
DECLARE e INTEGER;
DECLARE t VARCHAR(10);
BEGIN
  WHILE (:i < %1) DO
  BEGIN
    m = mod(:i, 10);
    u = 1 + mod(:i * 7919, %2);
    t = '00' || cast(10000 + :u as varchar(5));
    e = CASE WHEN :m < 6 THEN 1 WHEN :m = 6 THEN 2 WHEN :m = 7 THEN 3 WHEN :m = 8 THEN 5 ELSE 6 END;
    INSERT INTO zarvincidencia(cod,controlador,hist_controlador,tarjeta,hist_tarjeta,"TIMESTAMP",descripcion,evento,usr)
    VALUES(gen_id(GEN_ZARVINCIDENCIA_ID, 1), 1 + mod(:i, 8), 'Door ' || (1 + mod(:i, 8)),
           CASE WHEN :e <= 2 THEN :t ELSE '' END,
           CASE WHEN :e <= 2 THEN 'unknow' ELSE '' END,
           dateadd(cast(:i as bigint) * 316224 / 10000 second to timestamp '2024-01-01 00:00:00'),
           CASE WHEN :e <= 2 THEN :t ELSE '' END, :e,
           CASE WHEN :e = 1 AND :m = 5 THEN -1 WHEN :e = 1 THEN :u ELSE 0 END);
    i = :i + 1;
  END
END)";

bool Llena(const QString &file)
{
    kv::test::FbConnection c(file);
    if (!c.isOpen())
        return false;
    // The text goes to the server as it is: the block's variables are not
    // placeholders of the SQL driver. One transaction, committed explicitly:
    // the driver does not commit a block on its own.
    c.db().transaction();
    {
        QSqlQuery q(c.db());
        if (!q.exec(QString::fromLatin1(kFill).arg(kIncidencias).arg(kTitulares))) {
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            return false;
        }
    }
    if (!c.db().commit())
        return false;
    Actualiza_Esquema_Instalacion(c.db());
    const int n = c.scalar("select count(*) from zarvincidencia").toInt();
    if (n != kIncidencias)
        std::fprintf(stderr, "the fill left %d incidences: %s\n", n, qPrintable(c.lastError()));
    return n == kIncidencias;
}

} // namespace

QString Registro_Millon(const QString &plantilla, const QString &cache_dir)
{
    const QString cache = cache_dir + QStringLiteral("/incidencias-1M-v2.fdb");
    const QFileInfo guardado(cache);
    if (guardado.exists() && guardado.lastModified() >= QFileInfo(plantilla).lastModified())
        return cache;
    QDir().mkpath(cache_dir);
    const QString tmp = cache + QStringLiteral(".part");
    QFile::remove(tmp);
    QElapsedTimer e;
    e.start();
    if (!kv::test::copyFile(plantilla, tmp) || !Llena(tmp))
        return QString();
    std::printf("filled %d incidences in %.1f s\n", kIncidencias, e.nsecsElapsed() / 1e9);
    QFile::remove(cache);
    return QFile::rename(tmp, cache) ? cache : QString();
}

} // namespace kv::bench
