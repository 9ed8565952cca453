#include "runner.h"

#include "link/ecomport.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <stdexcept>

namespace kv::cli {

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

void print(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    // Scripts read the output through a pipe while the command runs.
    std::fflush(stdout);
}

void complain(const QString &line)
{
    std::fprintf(stderr, "keyvane-cli: %s\n", qPrintable(line));
}

QString orDash(const QString &s)
{
    return s.isEmpty() ? QStringLiteral("-") : s;
}

} // namespace

Runner::Runner(const Options &options)
    : m_options(options)
{
    m_com.Puerto_Serie = QString::number(options.port);
    m_com.SetDireccion(options.address);
}

std::uint8_t Runner::bus() const
{
    return m_com.Direccion();
}

int Runner::run()
{
    try {
        m_com.Conectar();
        return dispatch();
    } catch (const std::exception &e) {
        complain(QString::fromUtf8(e.what()));
        return 2;
    }
}

int Runner::dispatch()
{
    const QString &c = m_options.command;
    if (c == QLatin1String("test"))
        return test();
    if (c == QLatin1String("scan"))
        return scan();
    if (c == QLatin1String("times"))
        return confirmed(m_com.Enviar_Tiempos(m_options.lockTime, m_options.openTime, bus()));
    if (c == QLatin1String("master"))
        return confirmed(m_com.Cambiar_Master(bus()));
    if (c == QLatin1String("add"))
        return confirmed(m_com.Anyadir_Tarjeta(m_options.code, bus()));
    if (c == QLatin1String("load"))
        return confirmed(m_com.Cargar_Tarjeta(m_options.code, m_options.endBlock, bus()));
    if (c == QLatin1String("delete"))
        return confirmed(m_com.Borrar_Tarjeta(m_options.code, bus()));
    if (c == QLatin1String("erase"))
        return confirmed(m_com.Vaciar_Tarjetas(bus()));
    if (c == QLatin1String("read"))
        return read();
    return listen();
}

void Runner::noAnswer(const QString &what)
{
    complain(QStringLiteral("COM%1 address %2: %3").arg(m_options.port).arg(m_options.address).arg(what));
}

int Runner::confirmed(bool ok)
{
    if (ok)
        return 0;
    noAnswer(QStringLiteral("refused or no answer"));
    return 1;
}

int Runner::test()
{
    TTest_Informacion info;
    m_com.Test_Lector(bus(), info);
    print(QStringLiteral("Estado: ") + info.Estado);
    print(QStringLiteral("Tiempo_Cerradura: ") + info.Tiempo_Cerradura);
    print(QStringLiteral("Tiempo_Puerta_Abierta: ") + info.Tiempo_Puerta_Abierta);
    print(QStringLiteral("Version: %1").arg(info.Version));
    print(QStringLiteral("Num_Tarjetas: ") + info.Num_Tarjetas);
    print(QStringLiteral("Correcto: %1").arg(info.Correcto));
    if (info.Correcto == 1)
        return 0;
    noAnswer(QStringLiteral("no answer"));
    return 1;
}

int Runner::scan()
{
    int found = 0;
    for (int address = 0; address <= 31; ++address) {
        TTest_Informacion info;
        m_com.Test_Lector(ZARVComunicador::Direccion_Bus(address), info);
        if (info.Correcto == 1) {
            print(QString::number(address));
            ++found;
        }
    }
    if (found > 0)
        return 0;
    complain(QStringLiteral("COM%1: no controller answered").arg(m_options.port));
    return 1;
}

int Runner::read()
{
    TTest_Informacion info;
    m_com.Test_Lector(bus(), info);
    if (info.Correcto != 1) {
        noAnswer(QStringLiteral("no answer to the test, card count unknown"));
        return 1;
    }
    const int count = info.Num_Tarjetas.toInt();
    int missing = 0;
    for (int i = 1; i <= count && i <= 0xFFFF; ++i) {
        const QString code = m_com.Leer_Tarjeta(static_cast<std::uint16_t>(i), bus());
        if (code.isEmpty()) {
            noAnswer(QStringLiteral("no card read at position %1").arg(i));
            ++missing;
            continue;
        }
        print(code);
    }
    return missing == 0 ? 0 : 1;
}

int Runner::listen()
{
    int status = 0;
    m_com.OnIncidencia = [](ZARVComunicador *, const TEventoInformacion &e) {
        print(QStringLiteral("%1 %2 %3 %4 %5 %6")
                  .arg(e.Tipo)
                  .arg(orDash(e.Parametro_1), orDash(e.Parametro_7), orDash(e.Tarjeta), orDash(e.Puerto),
                       e.Direccion >= 0 ? QString::number(e.Direccion) : QStringLiteral("-")));
    };
    m_com.Enlace()->OnLineaPerdida = [&status](QObject *, const QString &error) {
        complain(error);
        status = 2;
        QCoreApplication::quit();
    };
    m_com.Activar_Incidencias();

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        if (g_stop)
            QCoreApplication::quit();
    });
    watch.start(100);
    QCoreApplication::exec();
    m_com.Desactivar_Incidencias();
    m_com.Desconectar();
    return status;
}

} // namespace kv::cli
