#include "model/uzarv.h"

#include "model/settings_errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSaveFile>

namespace uzarv {

int Ejecuta_y_Espera(const QString &programa, const QStringList &argumentos, QByteArray *salida)
{
    QProcess p;
    p.setProgram(programa);
    p.setArguments(argumentos);
    p.setStandardInputFile(QProcess::nullDevice());
    if (salida) {
        p.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&p, &QProcess::readyReadStandardOutput, [&] { salida->append(p.readAllStandardOutput()); });
    } else {
        // Nobody reads it, so it must not pile up in this process.
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
    }

    bool terminado = false;
    QEventLoop espera;
    QObject::connect(&p, &QProcess::finished, &espera, [&] {
        terminado = true;
        espera.quit();
    });

    p.start();
    if (!p.waitForStarted(-1))
        return -1;

    if (QCoreApplication::instance()) {
        if (!terminado)
            espera.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
        p.waitForFinished(-1);
    }
    if (salida)
        salida->append(p.readAllStandardOutput());

    if (p.exitStatus() == QProcess::CrashExit)
        return 128 + p.exitCode(); // the signal number, as the shell reports it
    return p.exitCode();
}

QString Cita_Shell(const QString &argumento)
{
    // Inside single quotes the shell takes every character literally; a
    // single quote itself closes the quoting, is given escaped, and reopens it.
    QString q = argumento;
    q.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

QString Linea_Comando(const QStringList &comando)
{
    QStringList citados;
    citados.reserve(comando.size());
    for (const QString &a : comando)
        citados.append(Cita_Shell(a));
    return citados.join(QLatin1Char(' '));
}

int Ejecuta_Comandos(const QString &directorio, const QList<QStringList> &comandos, QByteArray *salida)
{
    const QString fichero = QDir(directorio).filePath(Fichero_Comandos);
    QByteArray texto = "#!/bin/sh\n";
    for (const QStringList &c : comandos) {
        if (c.isEmpty())
            continue;
        for (const QString &a : c)
            if (a.contains(QChar(0)))
                throw kv::FileError(QStringLiteral("An argument of the command %1 holds a NUL character").arg(c.first()));
        texto += QFile::encodeName(Linea_Comando(c)) + '\n';
    }

    QSaveFile f(fichero);
    if (!f.open(QIODevice::WriteOnly) || f.write(texto) != texto.size()
        || !f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !f.commit())
        throw kv::FileError(QStringLiteral("Cannot write %1: %2").arg(fichero, f.errorString()));

    return Ejecuta_y_Espera(QStringLiteral("/bin/sh"), {fichero}, salida);
}

QStringList Separa(const QString &separador, const QString &texto)
{
    QStringList partes;
    if (separador.isEmpty())
        return {texto};
    QString resto = texto;
    qsizetype i;
    while ((i = resto.indexOf(separador)) >= 0) {
        partes.append(resto.left(i));
        resto.remove(0, i + 1);
    }
    partes.append(resto);
    return partes;
}

QString Une(const QString &separador, const QStringList &lista)
{
    return lista.join(separador);
}

namespace {

QDateTime a_medianoche(const QDateTime &fecha, const QDate &dia)
{
    QDateTime r = fecha;
    r.setDate(dia);
    r.setTime(QTime(0, 0));
    return r;
}

} // namespace

QDateTime Primer_Dia_Mes(const QDateTime &fecha)
{
    if (!fecha.isValid())
        return QDateTime();
    const QDate d = fecha.date();
    return a_medianoche(fecha, QDate(d.year(), d.month(), 1));
}

QDateTime Ultimo_Dia_Mes(const QDateTime &fecha)
{
    if (!fecha.isValid())
        return QDateTime();
    const QDate d = fecha.date();
    return a_medianoche(fecha, QDate(d.year(), d.month(), d.daysInMonth()));
}

} // namespace uzarv
