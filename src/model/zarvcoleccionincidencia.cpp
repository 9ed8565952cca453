#include "model/zarvcoleccionincidencia.h"

#include "link/zarvcomunicador.h"
#include "model/errorbd.h"
#include "model/sqltexto.h"
#include "model/uzarv.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvsistema.h"
#include "model/zarvusuario.h"

#include <QPointer>
#include <QSet>
#include <QSqlError>
#include <QTimer>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <cstdlib>
#include <iterator>
#include <exception>

namespace {

// The date-time zero: what a bound takes when only its text was given.
QDateTime Fecha_Cero()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

bool Es_De_Tarjeta(int evento)
{
    return evento == 1 || evento == 2;
}

const QString Desconocida = QStringLiteral("unknow");

// Every card code has ten characters, and the log's column holds ten.
constexpr int LARGO_CODIGO = 10;

} // namespace

ZARVColeccionIncidencia::ZARVColeccionIncidencia(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner)
    : ZARVColeccion(sistema, ruta_bd, owner,
                    {QStringLiteral("cod"), QStringLiteral("controlador"), QStringLiteral("hist_controlador"),
                     QStringLiteral("tarjeta"), QStringLiteral("hist_tarjeta"), QStringLiteral("timestamp"),
                     QStringLiteral("\"TIMESTAMP\""), QStringLiteral("descripcion"), QStringLiteral("evento"), QStringLiteral("usr")})
    , m_fecha_inicio(Fecha_Cero())
    , m_fecha_fin(Fecha_Cero())
{
    // The delimited name a load would put in its place.
    Set_Orden(QStringLiteral("\"TIMESTAMP\""));
    m_cursor_ocioso = new QTimer(this);
    m_cursor_ocioso->setSingleShot(true);
    m_cursor_ocioso->setInterval(CURSOR_OCIOSO_MS);
    connect(m_cursor_ocioso, &QTimer::timeout, this, &ZARVColeccionIncidencia::Cierra_Cursor);
}

ZARVColeccionIncidencia::~ZARVColeccionIncidencia()
{
    // The receivers may be going too: what is still held is only counted.
    OnNuevaIncidencia = nullptr;
    OnEventoPerdido = nullptr;
    OnServidorRecuperado = nullptr;
    Cierra_Retenidas();
    if (Retenidas() > 0)
        qWarning("%d events held while the database server could not be reached were lost", Retenidas());
    // Before the connection the base closes.
    Cierra_Cursor();
}

void ZARVColeccionIncidencia::Cerrar()
{
    Cierra_Retenidas();
    Cierra_Cursor();
    ZARVColeccion::Cerrar();
}

void ZARVColeccionIncidencia::Filtro_Textos(const QString &inicio, const QString &fin, int usr)
{
    m_texto_inicio = inicio;
    m_texto_fin = fin;
    m_usr = usr;
}

void ZARVColeccionIncidencia::Filtro_Fechas(int usr, const QDateTime &inicio, const QDateTime &fin)
{
    m_usr = usr;
    m_fecha_inicio = inicio;
    m_fecha_fin = fin;
}

QStringList ZARVColeccionIncidencia::Clausulas() const
{
    QStringList clausulas{QStringLiteral(" where (1=1) ")};
    if (!m_texto_inicio.isEmpty())
        clausulas << QStringLiteral(" ( \"TIMESTAMP\" >= :filter_f_ini)");
    if (!m_texto_fin.isEmpty())
        clausulas << (m_fin_exclusivo ? QStringLiteral(" ( \"TIMESTAMP\" < :filter_f_fin)")
                                      : QStringLiteral(" ( \"TIMESTAMP\" <= :filter_f_fin)"));
    if (m_usr != -1)
        clausulas << QStringLiteral(" ( usr = %1) ").arg(m_usr);
    return clausulas;
}

namespace {

const QString Columnas = QStringLiteral(
    "select cod,controlador,tarjeta,\"TIMESTAMP\",descripcion,evento,usr,hist_controlador from  zarvincidencia ");

// The statement's order turned round, with the incidence number breaking
// ties the same way, so that the list reads newest first and every page of
// a load holds the same rows each time it is read. Set_Orden only lets one
// column through, with or without its direction.
QString Orden_Inverso(const QString &orden)
{
    const QStringList partes = orden.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString columna = partes.value(0);
    const bool descendente = partes.value(1).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
    const QString direccion = descendente ? QStringLiteral(" asc") : QStringLiteral(" desc");
    QString inverso = columna + direccion;
    if (columna.compare(QLatin1String("cod"), Qt::CaseInsensitive) != 0)
        inverso += QStringLiteral(", cod") + direccion;
    return inverso;
}

void Enlaza_Fechas(QSqlQuery &q, bool con_inicio, const QDateTime &inicio, bool con_fin, const QDateTime &fin)
{
    if (con_inicio)
        q.bindValue(QStringLiteral(":filter_f_ini"), inicio);
    if (con_fin)
        q.bindValue(QStringLiteral(":filter_f_fin"), fin);
}

} // namespace

QString ZARVColeccionIncidencia::Sentencia() const
{
    // The column is a delimited name: the lower-case spelling would name
    // nothing once it went into the statement.
    const QString orden = Orden() == QLatin1String("timestamp") ? QStringLiteral("\"TIMESTAMP\"") : Orden();
    return Columnas + uzarv::Une(QStringLiteral(" AND "), Clausulas()) + QStringLiteral("order by ") + orden;
}

ZARVColeccionIncidencia::Carga ZARVColeccionIncidencia::Carga_Actual() const
{
    Carga c;
    c.clausulas = Clausulas();
    c.con_inicio = !m_texto_inicio.isEmpty();
    c.con_fin = !m_texto_fin.isEmpty();
    c.inicio = m_fecha_inicio;
    c.fin = m_fecha_fin;
    c.orden_inverso = Orden_Inverso(Orden());
    return c;
}

void ZARVColeccionIncidencia::Refrescar()
{
    if (Orden() == QLatin1String("timestamp"))
        Set_Orden(QStringLiteral("\"TIMESTAMP\""));
    Carga nueva = Carga_Actual();

    // How many rows, and the newest of them: rows stored after this belong
    // to the next load.
    QSqlQuery &q = Prepara(QStringLiteral("select count(*), max(cod) from zarvincidencia ")
                           + uzarv::Une(QStringLiteral(" AND "), nueva.clausulas));
    Enlaza_Fechas(q, nueva.con_inicio, nueva.inicio, nueva.con_fin, nueva.fin);
    Ejecuta();
    if (q.next()) {
        nueva.total = q.value(0).toInt();
        nueva.tope = q.value(1).toLongLong();
    }
    q.finish();

    // The first page before anything changes: a failure keeps the last load.
    Cierra_Cursor();
    std::vector<std::shared_ptr<ZARVIncidencia>> primera;
    if (nueva.total > 0) {
        auto cursor = std::make_unique<QSqlQuery>(Conexion_BD());
        Abre_Cursor(*cursor, nueva, 0);
        m_cursor_paginas = std::move(cursor);
        primera = Lee_Pagina(*m_cursor_paginas, std::min(nueva.total, PAGINA));
        m_pagina_cursor = m_cursor_paginas ? 1 : -1;
    }
    m_carga = std::move(nueva);
    m_sin_cargar = false;
    m_paginas.clear();
    if (!primera.empty())
        m_paginas.emplace(0, std::move(primera));
}

int ZARVColeccionIncidencia::Cuenta() const
{
    if (m_sin_cargar)
        Cache().Refrescar();
    return m_carga.total;
}

std::shared_ptr<ZARVIncidencia> ZARVColeccionIncidencia::Elemento(int indice) const
{
    const int i = indice == -1 ? Cursor() : indice;
    if (i < 0 || i >= Cuenta())
        return nullptr;
    const auto &pagina = Cache().Pagina(i / PAGINA);
    const size_t en_pagina = static_cast<size_t>(i % PAGINA);
    return en_pagina < pagina.size() ? pagina[en_pagina] : nullptr;
}

void ZARVColeccionIncidencia::Abre_Cursor(QSqlQuery &q, const Carga &carga, int desde) const
{
    q.setForwardOnly(true);
    QStringList clausulas = carga.clausulas;
    // "+ 0" keeps the bound off the key's index: the rows are found and
    // ordered by the time stamp's index, not by the key's.
    clausulas << QStringLiteral(" (cod + 0 <= %1) ").arg(carga.tope);
    const QString sentencia = Columnas + uzarv::Une(QStringLiteral(" AND "), clausulas) + QStringLiteral("order by ")
                              + carga.orden_inverso
                              + QStringLiteral(" rows %1 to %2").arg(desde + 1).arg(std::max(carga.total, desde + 1));
    if (!q.prepare(sentencia))
        Lanza(q.lastError(), Ruta_BD());
    Enlaza_Fechas(q, carga.con_inicio, carga.inicio, carga.con_fin, carga.fin);
    if (!q.exec())
        Lanza(q.lastError(), Ruta_BD());
}

std::vector<std::shared_ptr<ZARVIncidencia>> ZARVColeccionIncidencia::Lee_Pagina(QSqlQuery &q, int esperadas)
{
    std::vector<std::shared_ptr<ZARVIncidencia>> pagina;
    pagina.reserve(static_cast<size_t>(esperadas));
    while (static_cast<int>(pagina.size()) < esperadas && q.next()) {
        auto i = std::make_shared<ZARVIncidencia>();
        i->Set_Cod(q.value(0).toInt());
        i->Set_Controlador(q.value(1).toInt());
        i->Set_Tarjeta(q.value(2).toString());
        i->Set_Timestamp(q.value(3).toDateTime());
        i->Set_Descripcion(q.value(4).toString());
        i->Set_Evento(q.value(5).toInt());
        i->Set_Usr(q.value(6).toInt());
        i->Set_Hist_Controlador(q.value(7).toString());
        pagina.push_back(std::move(i));
    }
    if (q.lastError().isValid()) {
        // A cursor that failed reads nothing more: the next look opens another.
        const QSqlError error = q.lastError();
        Cierra_Cursor();
        Lanza(error, Ruta_BD());
    }
    // A short page is the end of the load: its transaction need not wait.
    if (static_cast<int>(pagina.size()) < PAGINA)
        Cierra_Cursor();
    else
        m_cursor_ocioso->start();
    return pagina;
}

const std::vector<std::shared_ptr<ZARVIncidencia>> &ZARVColeccionIncidencia::Pagina(int pagina)
{
    if (const auto it = m_paginas.find(pagina); it != m_paginas.end())
        return it->second;
    // A walk goes on where the open cursor stands; any other page starts a
    // cursor of its own there.
    if (!m_cursor_paginas || m_pagina_cursor != pagina) {
        Cierra_Cursor();
        auto cursor = std::make_unique<QSqlQuery>(Conexion_BD());
        Abre_Cursor(*cursor, m_carga, pagina * PAGINA);
        m_cursor_paginas = std::move(cursor);
    }
    const int esperadas = std::min(PAGINA, m_carga.total - pagina * PAGINA);
    std::vector<std::shared_ptr<ZARVIncidencia>> filas = Lee_Pagina(*m_cursor_paginas, esperadas);
    m_pagina_cursor = m_cursor_paginas ? pagina + 1 : -1;
    // The pages farthest from this one go first.
    while (static_cast<int>(m_paginas.size()) >= PAGINAS_GUARDADAS) {
        const auto lejos = std::abs(m_paginas.begin()->first - pagina) > std::abs(m_paginas.rbegin()->first - pagina)
                               ? m_paginas.begin()
                               : std::prev(m_paginas.end());
        m_paginas.erase(lejos);
    }
    return m_paginas.emplace(pagina, std::move(filas)).first->second;
}

void ZARVColeccionIncidencia::Cierra_Cursor()
{
    if (m_cursor_ocioso)
        m_cursor_ocioso->stop();
    if (m_cursor_paginas)
        m_cursor_paginas->finish();
    m_cursor_paginas.reset();
    m_pagina_cursor = -1;
}

void ZARVColeccionIncidencia::Activa_Linea(ZARVControlador &c)
{
    // A controller loaded since the installation opened has no command layer yet.
    if (!c.Comunicador())
        c.Abrir_Comunicacion();
    ZARVComunicador *com = c.Comunicador();
    // Routed first: a line that cannot be opened now is opened later by the
    // retry, and its events must arrive here then.
    const QPointer<ZARVColeccionIncidencia> receptor(this);
    com->OnIncidencia = [receptor](ZARVComunicador *sender, const TEventoInformacion &info) {
        if (receptor)
            receptor->Recibe_Evento(sender, info);
    };
    com->Activar_Incidencias();
}

void ZARVColeccionIncidencia::Escucha_Puerto(int puerto)
{
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    for (int i = 0; controladores && i < controladores->Cuenta(); ++i) {
        const std::shared_ptr<ZARVControlador> c = controladores->Elemento(i);
        if (c->Puerto_Serie() == puerto) {
            Activa_Linea(*c);
            return;
        }
    }
}

void ZARVColeccionIncidencia::Deja_Puerto(int puerto)
{
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    for (int i = 0; controladores && i < controladores->Cuenta(); ++i) {
        const std::shared_ptr<ZARVControlador> c = controladores->Elemento(i);
        ZARVComunicador *com = c->Comunicador();
        if (c->Puerto_Serie() != puerto || !com || !com->Enlace())
            continue;
        com->Desactivar_Incidencias();
        com->OnIncidencia = nullptr;
        c->Cerrar_Comunicacion();
    }
}

void ZARVColeccionIncidencia::Desvia(int cod, std::function<void(const TEventoInformacion &info)> desvio)
{
    m_desvio_cod = cod;
    m_desvio = std::move(desvio);
}

void ZARVColeccionIncidencia::Quita_Desvio()
{
    m_desvio_cod = -1;
    m_desvio = nullptr;
}

void ZARVColeccionIncidencia::Inicia_Registro()
{
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    if (!controladores)
        return;
    // Listening from here on, even when a line below cannot be opened: the
    // others listen, and whoever suspends the lines must put them back.
    m_escuchando = true;
    std::exception_ptr primer_error;
    // One line per port, whatever the order of the controllers on it: a
    // second open of a port already listening would fail.
    QSet<int> puertos;
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const std::shared_ptr<ZARVControlador> c = controladores->Elemento(i);
        if (puertos.contains(c->Puerto_Serie()))
            continue;
        puertos.insert(c->Puerto_Serie());
        try {
            Activa_Linea(*c);
        } catch (const std::exception &e) {
            // One missing line must not keep the others deaf, and it is
            // tried again until its port is back.
            if (!primer_error)
                primer_error = std::current_exception();
            Linea_Perdida(c->Puerto_Serie(), c->Cod(), QString::fromUtf8(e.what()));
        }
    }
    Vigila_Lineas();
    if (primer_error)
        std::rethrow_exception(primer_error);
}

void ZARVColeccionIncidencia::Detiene_Registro()
{
    m_escuchando = false;
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    if (!controladores)
        return;
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const std::shared_ptr<ZARVControlador> c = controladores->Elemento(i);
        ZARVComunicador *com = c->Comunicador();
        // Never opened: nothing listens, nothing to close.
        if (!com || !com->Enlace())
            continue;
        com->Desactivar_Incidencias();
        com->OnIncidencia = nullptr;
        c->Cerrar_Comunicacion();
    }
}

void ZARVColeccionIncidencia::Recibe_Evento(const void *, const TEventoInformacion &info)
{
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    const std::shared_ptr<ZARVControlador> c =
        controladores ? controladores->Busca_Remitente(info.Puerto.toInt(), info.Direccion) : nullptr;
    // Possible only after the controllers were reloaded while a line was
    // open: there is no controller to attribute the event to.
    if (!c) {
        Evento_Perdido(info, QStringLiteral("COM%1: no controller of the installation uses this port").arg(info.Puerto));
        return;
    }

    if (m_desvio && c->Cod() == m_desvio_cod) {
        // A copy: the receiver may end the diversion while it handles this.
        const auto desvio = m_desvio;
        desvio(info);
        return;
    }

    auto incidencia = std::make_shared<ZARVIncidencia>();
    incidencia->Set_Controlador(c->Cod());
    incidencia->Set_Evento(info.Tipo);
    if (Es_De_Tarjeta(info.Tipo))
        incidencia->Set_Tarjeta(info.Tarjeta);
    if (info.Tipo == 1) {
        ZARVColeccionTarjeta *tarjetas = Sistema()->Tarjetas();
        // The same code Guarda describes the row by, so that the row's name
        // and its cardholder number agree.
        const std::shared_ptr<ZARVTarjeta> t = tarjetas ? tarjetas->Busca(info.Tarjeta.left(LARGO_CODIGO)) : nullptr;
        incidencia->Set_Usr(t && t->Usuario() ? t->Usuario()->Id() : -1);
    }

    // The controller will not send it again: while the server cannot be
    // reached it waits here, behind any held before it, so the log keeps
    // the order of arrival.
    Retenida r{std::move(incidencia), info, QDateTime::currentDateTime()};
    QString motivo;
    if (!m_retenidas.empty() || !Guarda_Y_Avisa(r, &motivo))
        Retiene(std::move(r), motivo);
}

bool ZARVColeccionIncidencia::Guarda_Y_Avisa(const Retenida &r, QString *motivo)
{
    // One held keeps the time it arrived; the server's clock stamps the others.
    const QDateTime momento = m_retenidas.empty() ? QDateTime() : r.llegada;
    try {
        Guarda(r.incidencia, momento);
    } catch (const ErrorBD &e) {
        if (e.Conexion_Perdida()) {
            if (motivo)
                *motivo = e.Texto();
            return false;
        }
        // Raised into the link's timer the error would end the program; the
        // event is lost either way, so it is counted, told, and the live list
        // is not given a row the log does not hold.
        Evento_Perdido(r.info, e.Texto());
        return true;
    } catch (const std::exception &e) {
        Evento_Perdido(r.info, QString::fromStdString(e.what()));
        return true;
    }
    if (OnNuevaIncidencia) {
        const TEventoInformacion copia = r.info;
        m_llegada_retenida = momento;
        OnNuevaIncidencia(this, copia);
        m_llegada_retenida = QDateTime();
    }
    return true;
}

void ZARVColeccionIncidencia::Retiene(Retenida retenida, const QString &motivo)
{
    if (Retenidas() >= RETENIDAS_MAX) {
        Evento_Perdido(retenida.info,
                       QStringLiteral("%1 events are already held while the database server cannot be reached")
                           .arg(RETENIDAS_MAX));
        return;
    }
    const bool primera = m_retenidas.empty();
    m_retenidas.push_back(std::move(retenida));
    if (!m_reintento_bd) {
        m_reintento_bd = new QTimer(this);
        m_reintento_bd->setInterval(REINTENTO_MS);
        connect(m_reintento_bd, &QTimer::timeout, this, &ZARVColeccionIncidencia::Guarda_Retenidas);
    }
    if (!primera)
        return;
    m_reintento_bd->start();
    m_guardadas_tras_perdida = 0;
    m_ultimo_error = motivo;
    if (OnServidorPerdido)
        OnServidorPerdido(motivo);
}

int ZARVColeccionIncidencia::Guarda_Retenidas()
{
    while (!m_retenidas.empty()) {
        // Events arriving meanwhile go behind: a deque keeps this one in place.
        if (!Guarda_Y_Avisa(m_retenidas.front(), nullptr))
            return Retenidas();
        m_retenidas.pop_front();
        ++m_guardadas_tras_perdida;
    }
    if (m_reintento_bd)
        m_reintento_bd->stop();
    if (m_guardadas_tras_perdida > 0) {
        const int guardadas = std::exchange(m_guardadas_tras_perdida, 0);
        if (OnServidorRecuperado)
            OnServidorRecuperado(guardadas);
    }
    return 0;
}

void ZARVColeccionIncidencia::Cierra_Retenidas()
{
    if (m_retenidas.empty())
        return;
    try {
        Guarda_Retenidas();
    } catch (const std::exception &) {
        // The installation closes: nothing more can be done for them.
    }
    if (m_reintento_bd)
        m_reintento_bd->stop();
    if (!OnEventoPerdido) // counted by the destructor
        return;
    while (!m_retenidas.empty()) {
        const Retenida r = std::move(m_retenidas.front());
        m_retenidas.pop_front();
        Evento_Perdido(r.info, QStringLiteral("the database server could not be reached before the installation closed"));
    }
}

void ZARVColeccionIncidencia::Guarda(const std::shared_ptr<ZARVIncidencia> &incidencia, const QDateTime &momento)
{
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    const std::shared_ptr<ZARVControlador> c = controladores ? controladores->Busca(incidencia->Controlador()) : nullptr;
    incidencia->Set_Hist_Controlador(c ? c->Descripcion() : QString());

    // The whole code, so that the row names the card it was; ten characters
    // is every code and what the column holds.
    const QString codigo = incidencia->Tarjeta().left(LARGO_CODIGO);
    QString hist_tarjeta;
    QString descripcion;
    if (Es_De_Tarjeta(incidencia->Evento())) {
        ZARVColeccionTarjeta *tarjetas = Sistema() ? Sistema()->Tarjetas() : nullptr;
        const std::shared_ptr<ZARVTarjeta> t = tarjetas ? tarjetas->Busca(codigo) : nullptr;
        if (t && t->Usuario()) {
            hist_tarjeta = t->Usuario()->Nombre_Completo();
            descripcion = t->Codigo_Tarjeta() + QLatin1Char(' ') + hist_tarjeta;
        } else if (t) {
            hist_tarjeta = Desconocida;
            descripcion = t->Codigo_Tarjeta();
        } else {
            hist_tarjeta = Desconocida;
            descripcion = codigo;
        }
    }
    incidencia->Set_Descripcion(descripcion);

    // The texts go into the statement itself: quotes doubled, so a name such
    // as O'Brien is stored as it is instead of breaking the statement.
    Ejecuta(QStringLiteral("INSERT INTO zarvincidencia(cod,controlador,hist_controlador,tarjeta,hist_tarjeta,\"TIMESTAMP\","
                           "descripcion,evento,usr) VALUES(gen_id(GEN_ZARVINCIDENCIA_ID, 1),%1,'%2','%3','%4',"
                           "%8,'%5',%6,%7)")
                .arg(QString::number(incidencia->Controlador()), Texto_SQL(incidencia->Hist_Controlador()),
                     Texto_SQL(codigo), Texto_SQL(hist_tarjeta), Texto_SQL(descripcion),
                     QString::number(incidencia->Evento()), QString::number(incidencia->Usr()),
                     momento.isValid() ? QStringLiteral("cast('%1' as timestamp)")
                                             .arg(momento.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")))
                                       : QStringLiteral("current_timestamp")));
}

void ZARVColeccionIncidencia::Evento_Perdido(const TEventoInformacion &info, const QString &motivo)
{
    ++m_perdidas;
    m_ultimo_error = motivo;
    if (OnEventoPerdido)
        OnEventoPerdido(info, motivo);
}

void ZARVColeccionIncidencia::Vigila_Lineas()
{
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    if (!controladores)
        return;
    const QPointer<ZARVColeccionIncidencia> receptor(this);
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const std::shared_ptr<ZARVControlador> c = controladores->Elemento(i);
        ZARVComunicador *com = c->Comunicador();
        TDORNO *enlace = com ? com->Enlace() : nullptr;
        if (!enlace || !enlace->Activar_NdemandRC() || !enlace->Connected())
            continue;
        const int puerto = c->Puerto_Serie();
        const int cod = c->Cod();
        enlace->OnLineaPerdida = [receptor, puerto, cod](QObject *, const QString &error) {
            if (receptor)
                receptor->Linea_Perdida(puerto, cod, error);
        };
    }
}

QList<int> ZARVColeccionIncidencia::Lineas_Perdidas() const
{
    QList<int> puertos;
    for (const auto &[puerto, cod] : m_lineas_perdidas)
        puertos.append(puerto);
    return puertos;
}

void ZARVColeccionIncidencia::Linea_Perdida(int puerto, int controlador, const QString &error)
{
    // A line also fails this way in the middle of a command, whose caller
    // hears of it; only a listening line is this collection's to bring back.
    if (!m_escuchando)
        return;
    const bool nueva = m_lineas_perdidas.emplace(puerto, controlador).second;
    if (!m_reintento) {
        m_reintento = new QTimer(this);
        m_reintento->setInterval(REINTENTO_MS);
        connect(m_reintento, &QTimer::timeout, this, &ZARVColeccionIncidencia::Reintenta_Lineas);
    }
    m_reintento->start();
    if (nueva && OnLineaPerdida)
        OnLineaPerdida(puerto, error);
}

void ZARVColeccionIncidencia::Reintenta_Lineas()
{
    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    if (!m_escuchando || !controladores) {
        // Registering was switched off (or the controllers went): whoever
        // switches it on again opens every line and hears of any missing one.
        m_lineas_perdidas.clear();
        m_reintento->stop();
        return;
    }
    std::vector<int> recuperadas;
    for (auto it = m_lineas_perdidas.begin(); it != m_lineas_perdidas.end();) {
        const auto [puerto, cod] = *it;
        const std::shared_ptr<ZARVControlador> c = controladores->Busca(cod);
        ZARVComunicador *com = c ? c->Comunicador() : nullptr;
        TDORNO *enlace = com ? com->Enlace() : nullptr;
        // The controllers were reloaded: whoever starts listening again opens
        // their lines and hears of any missing one.
        if (!enlace) {
            it = m_lineas_perdidas.erase(it);
            continue;
        }
        // The close of the lost line is queued; it may not have run yet.
        if (enlace->Connected()) {
            ++it;
            continue;
        }
        try {
            com->Activar_Incidencias();
        } catch (const std::exception &) {
            ++it; // still away
            continue;
        }
        it = m_lineas_perdidas.erase(it);
        recuperadas.push_back(puerto);
    }
    if (m_lineas_perdidas.empty())
        m_reintento->stop();
    for (int puerto : recuperadas) {
        if (OnLineaRecuperada)
            OnLineaRecuperada(puerto);
    }
}
