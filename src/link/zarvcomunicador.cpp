#include "link/zarvcomunicador.h"

#include "link/eocupado.h"
#include "link/pausa.h"
#include "link/textoestado.h"
#include "link/tipoincidencia.h"

#include <stdexcept>

using namespace dorno;

namespace {

// Closes the port however a command ends, so an error cannot leave a shared
// line held open.
struct CerrarAlSalir {
    TDORNO &enlace;
    ~CerrarAlSalir() { enlace.Close(); }
};

QString Hex2(std::uint8_t b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

int Valor_Caracter(QChar c, bool hex)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (hex && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return 0;
}

QByteArray Codigo_a_Bytes(const QString &codigo, bool hex)
{
    QString texto = codigo.toUpper();
    if (texto.size() < 10)
        texto = QString(10 - texto.size(), QLatin1Char('0')) + texto;
    QByteArray bytes(5, '\0');
    for (int i = 0; i < 5; ++i)
        bytes[i] = static_cast<char>(Valor_Caracter(texto.at(2 * i), hex) * 16 + Valor_Caracter(texto.at(2 * i + 1), hex));
    return bytes;
}

} // namespace

ZARVComunicador::ZARVComunicador(QObject *owner, TDORNO::TPausa pausa)
    : m_pausa(std::move(pausa))
{
    Pausa(100);
    m_enlace = new TDORNO(owner);
    m_propio = owner == nullptr;
    m_enlace->SetActivar_NdemandRC(false);
    m_enlace->Activar_Aviso(false);
    m_enlace->SetParity(QSerialPort::EvenParity);
    m_enlace->SetStopBits(QSerialPort::TwoStop);
    m_enlace->SetVelocidad(VELOCIDAD_MS);
}

ZARVComunicador::~ZARVComunicador()
{
    if (!m_enlace)
        return;
    // The link may outlive this object when its owner frees it later: it must
    // not call back into a destroyed command layer.
    m_enlace->OnDORNORecibedNotDemandRxInc = nullptr;
    m_enlace->OnLineaPerdida = nullptr;
    m_enlace->Activar_Aviso(false);
    if (m_propio)
        delete m_enlace.data();
}

TDORNO &ZARVComunicador::Link() const
{
    if (!m_enlace)
        throw std::logic_error("the controller's link was freed by its owner");
    return *m_enlace;
}

void ZARVComunicador::Pausa(int ms)
{
    if (m_pausa)
        m_pausa(ms);
    else
        Pausa_Activa(ms);
}

std::uint8_t ZARVComunicador::Direccion_Bus(int direccion)
{
    return direccion == 0 ? 170 : static_cast<std::uint8_t>(direccion);
}

void ZARVComunicador::SetDireccion(int direccion)
{
    m_direccion = Direccion_Bus(direccion);
}

void ZARVComunicador::SetConectado(bool valor)
{
    Link().SetConnected(valor);
    m_conectado = valor;
}

bool ZARVComunicador::Conectar()
{
    Pausa(100);
    TDORNO &enlace = Link();
    enlace.SetPort(QStringLiteral("COM") + Puerto_Serie);
    enlace.OnDORNORecibedNotDemandRxInc = [this](QObject *sender, const Trama_GenDorno &trama) {
        Decodificar_Incidencia(sender, trama);
    };
    enlace.Close();
    enlace.Open();
    return true;
}

void ZARVComunicador::Desconectar()
{
    Link().Close();
}

void ZARVComunicador::Activar_Incidencias()
{
    TDORNO &enlace = Link();
    enlace.Close();
    enlace.Open();
    enlace.SetActivar_NdemandRC(true);
    enlace.Activar_Aviso(true);
}

void ZARVComunicador::Desactivar_Incidencias()
{
    TDORNO &enlace = Link();
    enlace.SetActivar_NdemandRC(false);
    enlace.Activar_Aviso(false);
}

Trama_GenDorno ZARVComunicador::Comando(int pausa, std::uint8_t codigo, const QByteArray &datos, std::uint8_t direccion)
{
    // Refused before the port is closed and reopened under the exchange that
    // waits, and again after the pause, which lets timers run.
    if (Link().Ocupado())
        throw EOcupado(Link().Port());
    Pausa(pausa);
    TDORNO &enlace = Link();
    if (enlace.Ocupado())
        throw EOcupado(enlace.Port());
    enlace.Borrar_Datos();
    enlace.Close();
    enlace.Open();
    CerrarAlSalir cerrar{enlace};
    enlace.Anyadir_Datos(datos);
    const Trama_GenDorno trama = enlace.Enviar_Comando(codigo, 1, direccion);
    // An answer from another station on the shared line says nothing about
    // this controller: judged as no answer.
    return enlace.Respuesta_Aceptada() ? trama : Trama_Vacia();
}

bool ZARVComunicador::Enviar_Tiempos(int tiempo_cerradura, int tiempo_puerta_abierta, std::uint8_t direccion)
{
    if (tiempo_cerradura > 99 || tiempo_puerta_abierta > 99 || tiempo_cerradura < 0 || tiempo_puerta_abierta < 0) {
        Pausa(200);
        return false;
    }
    QByteArray datos;
    datos.append(static_cast<char>(tiempo_cerradura));
    datos.append(static_cast<char>(tiempo_puerta_abierta));
    return Comando(200, 26, datos, direccion)[1] == ACK;
}

void ZARVComunicador::Test_Lector(std::uint8_t direccion, TTest_Informacion &info)
{
    info = TTest_Informacion{};
    const Trama_GenDorno r = Comando(50, 27, QByteArray(), direccion);
    // Only the test reply (',') carries the fields; a refusal with some other
    // code would otherwise fill them with whatever it holds.
    if (r[1] != ',' || r[2] == RELLENO)
        return;
    info.Estado = Texto_Estado(r[2]);
    info.Tiempo_Cerradura = Hex2(r[3]);
    info.Tiempo_Puerta_Abierta = Hex2(r[4]);
    info.Version = r[5];
    info.Num_Tarjetas = QString::number(r[6] * 256 + r[7]);
    info.Correcto = 1;
}

bool ZARVComunicador::Cambiar_Master(std::uint8_t direccion)
{
    const Trama_GenDorno r = Comando(200, 29, QByteArray(), direccion);
    return r[1] == '-' && r[2] == 0x01;
}

bool ZARVComunicador::Cargar_Tarjeta(const QString &codigo, bool fin_bloque, std::uint8_t direccion)
{
    QByteArray datos(1, fin_bloque ? '\x01' : '\x00');
    datos.append(Codigo_a_BCD(codigo));
    return Comando(100, 34, datos, direccion)[1] == ACK;
}

bool ZARVComunicador::Borrar_Tarjeta(const QString &codigo, std::uint8_t direccion)
{
    return Comando(100, 65, Codigo_a_Hex(codigo), direccion)[1] == ACK;
}

bool ZARVComunicador::Vaciar_Tarjetas(std::uint8_t direccion)
{
    return Comando(100, 81, QByteArray(), direccion)[1] == ACK;
}

bool ZARVComunicador::Anyadir_Tarjeta(const QString &codigo, std::uint8_t direccion)
{
    return Comando(100, 97, Codigo_a_BCD(codigo), direccion)[1] == ACK;
}

QString ZARVComunicador::Leer_Tarjeta(std::uint16_t indice, std::uint8_t direccion)
{
    QByteArray datos;
    datos.append(static_cast<char>(indice >> 8));
    datos.append(static_cast<char>(indice & 0xFF));
    const Trama_GenDorno r = Comando(200, 113, datos, direccion);
    if (r[1] != '/')
        return QString();
    return Hex_Desde(r, 2).left(10);
}

QByteArray ZARVComunicador::Codigo_a_BCD(const QString &codigo)
{
    return Codigo_a_Bytes(codigo, false);
}

QByteArray ZARVComunicador::Codigo_a_Hex(const QString &codigo)
{
    return Codigo_a_Bytes(codigo, true);
}

QString ZARVComunicador::Hex_Desde(const Trama_GenDorno &trama, int desde)
{
    QString texto;
    for (std::size_t i = static_cast<std::size_t>(desde); i < trama.size() && trama[i] != RELLENO; ++i)
        texto += Hex2(trama[i]);
    return texto;
}

TEventoInformacion ZARVComunicador::Decodificar(const Trama_GenDorno &trama, const QString &puerto)
{
    TEventoInformacion info;
    info.Puerto = puerto;
    if (trama[0] == RELLENO)
        return info;
    info.Direccion = trama[0];
    switch (trama[1]) {
    case '1':
        info.Parametro_1 = Hex2(trama[2]);
        info.Tipo = info.Parametro_1 == QLatin1String("01") ? tipo_incidencia::TARJETA_ACEPTADA
                                                             : tipo_incidencia::TARJETA_RECHAZADA;
        break;
    case '5':
        info.Tipo = tipo_incidencia::EVENTO_5;
        break;
    case '7':
        // Parameter 01 picks out kind 4, every other value kind 5. It follows
        // the rule of the card event '1', whose parameter 01 likewise marks
        // the first of its two kinds and any other value the second, so one
        // reading serves both events.
        info.Parametro_7 = Hex2(trama[2]);
        info.Tipo = info.Parametro_7 == QLatin1String("01") ? tipo_incidencia::EVENTO_7_SELECCIONADO
                                                             : tipo_incidencia::EVENTO_7;
        break;
    case 'E':
        info.Tipo = tipo_incidencia::EVENTO_E;
        break;
    default:
        break;
    }
    info.Tarjeta = Hex_Desde(trama, 3);
    return info;
}

void ZARVComunicador::Decodificar_Incidencia(QObject *, const Trama_GenDorno &trama)
{
    const TEventoInformacion info = Decodificar(trama, Puerto_Serie);
    if (OnIncidencia && info.Tipo >= 1 && info.Tipo <= 6)
        OnIncidencia(this, info);
}
