#include "model/zarvcolecciontarjeta.h"

#include "model/transaccionbd.h"

#include "link/zarvcomunicador.h"
#include "model/sqltexto.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvsistema.h"
#include "model/zarvusuario.h"

#include <QVariant>
#include <exception>

namespace {

// An unset date goes to the database as null, not as a default date.
QVariant Fecha(const QDateTime &fecha)
{
    return fecha.isValid() ? QVariant(fecha) : QVariant(QMetaType::fromType<QDateTime>());
}

Auditoria::Objeto Con_Controlador(Auditoria::Objeto objeto, int cod)
{
    objeto.controlador = cod;
    return objeto;
}

QString SN(bool valor)
{
    return valor ? QStringLiteral("S") : QStringLiteral("N");
}

int Id_Usuario(const ZARVTarjeta &tarjeta)
{
    return tarjeta.Usuario() ? tarjeta.Usuario()->Id() : -1;
}

// The database compares texts with trailing blanks ignored: the assignments a
// card's own statement would find are those whose code matches this key.
QString Clave(const QString &codigo)
{
    qsizetype n = codigo.size();
    while (n > 0 && codigo.at(n - 1) == QLatin1Char(' '))
        --n;
    return codigo.left(n);
}

} // namespace

ZARVColeccionTarjeta::ZARVColeccionTarjeta(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner)
    : ZARVColeccion(sistema, ruta_bd, owner,
                    {QStringLiteral("codigo_tarjeta"), QStringLiteral("bloqueado"), QStringLiteral("fecha_alta"),
                     QStringLiteral("fecha_caducidad"), QStringLiteral("usuario"), QStringLiteral("usar_fecha_cad")})
{
    Set_Orden(QStringLiteral("USUARIO"));
    Refrescar();
}

void ZARVColeccionTarjeta::Refrescar()
{
    std::vector<std::shared_ptr<ZARVTarjeta>> tarjetas = Lee_Tarjetas();
    Lee_Asignaciones_De(tarjetas);
    Publica(std::move(tarjetas));
}

std::vector<std::shared_ptr<ZARVTarjeta>> ZARVColeccionTarjeta::Lee_Tarjetas()
{
    ZARVColeccionUsuario *usuarios = Sistema() ? Sistema()->Usuarios() : nullptr;
    QSqlQuery &q = Ejecuta(QStringLiteral("select  zarvtarjeta.codigo_tarjeta,  zarvtarjeta.usuario,zarvtarjeta.usar_fecha_cad,  "
                                          "zarvtarjeta.fecha_alta,zarvtarjeta.fecha_caducidad  from  zarvtarjeta    order by ")
                           + Orden());
    std::vector<std::shared_ptr<ZARVTarjeta>> tarjetas;
    while (q.next()) {
        auto t = std::make_shared<ZARVTarjeta>();
        t->Set_Codigo_Tarjeta(q.value(0).toString());
        t->Set_Fecha_Alta(q.value(3).toDateTime());
        t->Set_Fecha_Caducidad(q.value(4).toDateTime());
        t->Set_Usar_Fecha_Cad(q.value(2).toString() == QLatin1String("S"));
        const int usuario = q.value(1).toInt();
        // A number no loaded cardholder has leaves the card without one.
        if (usuario > -1 && usuarios)
            t->Set_Usuario(usuarios->Busca(usuario));
        tarjetas.push_back(std::move(t));
    }
    q.finish();
    return tarjetas;
}

void ZARVColeccionTarjeta::Lee_Asignaciones_De(const std::vector<std::shared_ptr<ZARVTarjeta>> &tarjetas)
{
    // One read of the whole table instead of one statement per card. A card's
    // own statement reads its rows in storage order (the index only selects
    // them), and so does a plain scan: grouping the scan by card gives every
    // card the same entries in the same order.
    struct Fila {
        int controlador;
        bool almacenada;
    };
    QHash<QString, std::vector<Fila>> por_tarjeta;
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT tarjeta,controlador,\"_STOREDINHW\" FROM zarvcontroladortarjeta"));
    while (q.next())
        por_tarjeta[Clave(q.value(0).toString())].push_back(
            Fila{q.value(1).toInt(), q.value(2).toString() == QLatin1String("S")});
    q.finish();

    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    QHash<int, std::shared_ptr<ZARVControlador>> por_numero;
    const auto controlador = [&](int cod) {
        auto it = por_numero.find(cod);
        if (it == por_numero.end())
            it = por_numero.insert(cod, controladores ? controladores->Busca(cod) : nullptr);
        return it.value();
    };
    for (const auto &t : tarjetas) {
        const auto filas = por_tarjeta.constFind(Clave(t->Codigo_Tarjeta()));
        if (filas == por_tarjeta.cend())
            continue;
        for (const Fila &f : filas.value()) {
            // An assignment to a controller the installation no longer has is skipped.
            if (auto c = controlador(f.controlador))
                t->Anade_Controlador(c, f.almacenada);
        }
    }
}

void ZARVColeccionTarjeta::Publica(std::vector<std::shared_ptr<ZARVTarjeta>> tarjetas)
{
    std::vector<std::shared_ptr<ZARVEntidad>> nuevos;
    nuevos.reserve(tarjetas.size());
    QHash<QString, int> por_codigo;
    por_codigo.reserve(static_cast<qsizetype>(tarjetas.size()));
    for (auto &t : tarjetas) {
        if (!por_codigo.contains(t->Codigo_Tarjeta()))
            por_codigo.insert(t->Codigo_Tarjeta(), static_cast<int>(nuevos.size()));
        nuevos.push_back(std::move(t));
    }
    Elementos = std::move(nuevos);
    m_por_codigo = std::move(por_codigo);
}

std::shared_ptr<ZARVTarjeta> ZARVColeccionTarjeta::Elemento(int indice) const
{
    return std::static_pointer_cast<ZARVTarjeta>(Entidad(indice));
}

std::shared_ptr<ZARVTarjeta> ZARVColeccionTarjeta::Busca(const QString &codigo) const
{
    const auto it = m_por_codigo.constFind(codigo);
    return it == m_por_codigo.cend() ? nullptr : Elemento(it.value());
}

bool ZARVColeccionTarjeta::Existe(const QString &codigo)
{
    QSqlQuery &q = Prepara(QStringLiteral("select count(*) from zarvtarjeta where zarvtarjeta.codigo_tarjeta=:cod_tarjeta"));
    q.bindValue(QStringLiteral(":cod_tarjeta"), codigo);
    Ejecuta();
    const bool existe = q.next() && q.value(0).toLongLong() > 0;
    q.finish();
    return existe;
}

void ZARVColeccionTarjeta::Inserta_Fila(const ZARVTarjeta &tarjeta, int id)
{
    QSqlQuery &q = Prepara(QStringLiteral("INSERT INTO zarvtarjeta(codigo_tarjeta,bloqueado,fecha_alta,fecha_caducidad,"
                                          "usuario,usar_fecha_cad) VALUES(:codigo_tarjeta,:No,:fecha_Alta,"
                                          ":fecha_caducidad,%1,:cad)")
                               .arg(id));
    q.bindValue(QStringLiteral(":codigo_tarjeta"), tarjeta.Codigo_Tarjeta());
    q.bindValue(QStringLiteral(":No"), QStringLiteral("N"));
    q.bindValue(QStringLiteral(":fecha_Alta"), Fecha(tarjeta.Fecha_Alta()));
    q.bindValue(QStringLiteral(":fecha_caducidad"), Fecha(tarjeta.Fecha_Caducidad()));
    q.bindValue(QStringLiteral(":cad"), SN(tarjeta.Usar_Fecha_Cad()));
    Ejecuta();
}

void ZARVColeccionTarjeta::Inserta(const ZARVTarjeta &tarjeta)
{
    try {
        TransaccionBD cambio(Conexion_BD());
        Inserta_Fila(tarjeta, Id_Usuario(tarjeta));
        Audita(Auditoria::Accion::Tarjeta_Alta, Auditoria::De_Tarjeta(tarjeta));
        cambio.Confirma();
        Refrescar();
    } catch (const std::exception &) {
        // Callers ask Existe first; a refused insert is theirs to have foreseen.
    }
}

void ZARVColeccionTarjeta::Inserta_Con_Usuario(const ZARVTarjeta &tarjeta, int id)
{
    {
        TransaccionBD cambio(Conexion_BD());
        Inserta_Fila(tarjeta, id);
        const std::shared_ptr<ZARVUsuario> titular =
            Sistema() && Sistema()->Usuarios() ? Sistema()->Usuarios()->Busca(id) : nullptr;
        Auditoria::Objeto objeto = titular ? Auditoria::De_Usuario(*titular) : Auditoria::De_Tarjeta(tarjeta);
        objeto.tarjeta = tarjeta.Codigo_Tarjeta();
        objeto.usuario = id > 0 ? id : 0;
        Audita(Auditoria::Accion::Tarjeta_Alta, objeto);
        cambio.Confirma();
    }
    Refrescar();
}

bool ZARVColeccionTarjeta::Inserta_Con_Asignaciones(const ZARVTarjeta &tarjeta)
{
    // The entries may belong to this very card object, which the reload
    // below does not touch; copied all the same, as the caller's card is the
    // caller's.
    const std::vector<TControladorTarjeta> entradas = tarjeta.Controladores();
    {
        // The card and its assignments go in together or not at all: a card
        // without the readers it was given would open nothing, and an error
        // halfway must not leave one.
        TransaccionBD cambio(Conexion_BD());
        Inserta_Fila(tarjeta, Id_Usuario(tarjeta));
        for (const TControladorTarjeta &e : entradas) {
            if (!e.Controlador)
                continue;
            QSqlQuery &q = Prepara(QStringLiteral("INSERT INTO zarvcontroladortarjeta values(:codigo_tarjeta,%1,:No)")
                                       .arg(e.Controlador->Cod()));
            q.bindValue(QStringLiteral(":codigo_tarjeta"), tarjeta.Codigo_Tarjeta());
            q.bindValue(QStringLiteral(":No"), QStringLiteral("N"));
            Ejecuta();
        }
        Audita(Auditoria::Accion::Tarjeta_Alta, Auditoria::De_Tarjeta(tarjeta));
        for (const TControladorTarjeta &e : entradas)
            if (e.Controlador)
                Audita(Auditoria::Accion::Tarjeta_Asignada,
                       Con_Controlador(Auditoria::De_Tarjeta(tarjeta), e.Controlador->Cod()));
        cambio.Confirma();
    }
    Refrescar();
    return true;
}

bool ZARVColeccionTarjeta::Modifica(const ZARVTarjeta &tarjeta)
{
    QSqlQuery &q = Prepara(QStringLiteral("UPDATE zarvtarjeta SET fecha_alta=:fech_now,usuario=%1,fecha_caducidad=:fech,"
                                          "usar_fecha_cad='%2' WHERE codigo_tarjeta='%3'")
                               .arg(Id_Usuario(tarjeta))
                               .arg(SN(tarjeta.Usar_Fecha_Cad()), Texto_SQL(tarjeta.Codigo_Tarjeta())));
    q.bindValue(QStringLiteral(":fech_now"), Fecha(tarjeta.Fecha_Alta()));
    q.bindValue(QStringLiteral(":fech"), Fecha(tarjeta.Fecha_Caducidad()));
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta();
        Auditoria::Objeto objeto = Auditoria::De_Tarjeta(tarjeta);
        objeto.detalle = tarjeta.Usar_Fecha_Cad() && tarjeta.Fecha_Caducidad().isValid()
            ? QStringLiteral("expires %1").arg(tarjeta.Fecha_Caducidad().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
            : QStringLiteral("no expiry");
        Audita(Auditoria::Accion::Tarjeta_Cambio, objeto);
        cambio.Confirma();
    }
    Refrescar();
    return true;
}

void ZARVColeccionTarjeta::Elimina(const ZARVTarjeta &tarjeta)
{
    TransaccionBD cambio(Conexion_BD());
    Ejecuta(QStringLiteral("DELETE FROM zarvtarjeta WHERE codigo_tarjeta='%1'").arg(Texto_SQL(tarjeta.Codigo_Tarjeta())));
    Audita(Auditoria::Accion::Tarjeta_Baja, Auditoria::De_Tarjeta(tarjeta));
    cambio.Confirma();
}

void ZARVColeccionTarjeta::Quita_Asignaciones(const ZARVTarjeta &tarjeta)
{
    TransaccionBD cambio(Conexion_BD());
    QSqlQuery &q = Prepara(QStringLiteral("DELETE FROM zarvcontroladortarjeta WHERE tarjeta=:codigo_tarjeta"));
    q.bindValue(QStringLiteral(":codigo_tarjeta"), tarjeta.Codigo_Tarjeta());
    Ejecuta();
    Auditoria::Objeto objeto = Auditoria::De_Tarjeta(tarjeta);
    objeto.detalle = QStringLiteral("every reader");
    Audita(Auditoria::Accion::Tarjeta_Retirada, objeto);
    cambio.Confirma();
}

void ZARVColeccionTarjeta::Elimina_Todas()
{
    TransaccionBD cambio(Conexion_BD());
    Ejecuta(QStringLiteral("DELETE FROM zarvtarjeta"));
    Audita(Auditoria::Accion::Tarjeta_Baja, Auditoria::Objeto{.detalle = QStringLiteral("all cards")});
    cambio.Confirma();
}

void ZARVColeccionTarjeta::Quita_Todas_Asignaciones()
{
    TransaccionBD cambio(Conexion_BD());
    Ejecuta(QStringLiteral("DELETE FROM zarvcontroladortarjeta"));
    Audita(Auditoria::Accion::Tarjeta_Retirada, Auditoria::Objeto{.detalle = QStringLiteral("all cards, every reader")});
    cambio.Confirma();
}

void ZARVColeccionTarjeta::Asigna(const ZARVTarjeta &tarjeta, int cod, bool almacenada)
{
    TransaccionBD cambio(Conexion_BD());
    try {
        QSqlQuery &q = Prepara(almacenada ? QStringLiteral("INSERT INTO zarvcontroladortarjeta values(:codigo_tarjeta,%1,:Si)").arg(cod)
                                          : QStringLiteral("INSERT INTO zarvcontroladortarjeta values(:codigo_tarjeta,%1,:No)").arg(cod));
        q.bindValue(QStringLiteral(":codigo_tarjeta"), tarjeta.Codigo_Tarjeta());
        q.bindValue(almacenada ? QStringLiteral(":Si") : QStringLiteral(":No"), SN(almacenada));
        Ejecuta();
    } catch (const std::exception &) {
        // A pair already assigned keeps its row and its flag: no change, no entry.
        cambio.Confirma();
        return;
    }
    Audita(Auditoria::Accion::Tarjeta_Asignada, Con_Controlador(Auditoria::De_Tarjeta(tarjeta), cod));
    cambio.Confirma();
}

void ZARVColeccionTarjeta::Marca_Pendiente(const QString &codigo, int cod)
{
    QSqlQuery &q = Prepara(
        QStringLiteral("Update zarvcontroladortarjeta SET \"_STOREDINHW\" = :No WHERE tarjeta=:tarjeta AND controlador= %1").arg(cod));
    q.bindValue(QStringLiteral(":No"), QStringLiteral("N"));
    q.bindValue(QStringLiteral(":tarjeta"), codigo);
    Ejecuta();
}

void ZARVColeccionTarjeta::Marca_Todas_Almacenadas()
{
    QSqlQuery &q = Prepara(QStringLiteral("Update zarvcontroladortarjeta SET \"_STOREDINHW\" = :Si WHERE \"_STOREDINHW\" = :No"));
    q.bindValue(QStringLiteral(":Si"), QStringLiteral("S"));
    q.bindValue(QStringLiteral(":No"), QStringLiteral("N"));
    Ejecuta();
}

void ZARVColeccionTarjeta::Marca_Todas_Pendientes()
{
    QSqlQuery &q = Prepara(QStringLiteral("Update zarvcontroladortarjeta SET \"_STOREDINHW\" = :No"));
    q.bindValue(QStringLiteral(":No"), QStringLiteral("N"));
    Ejecuta();
}

void ZARVColeccionTarjeta::Marca_Almacenada(const QString &codigo, int cod)
{
    QSqlQuery &q = Prepara(
        QStringLiteral("Update zarvcontroladortarjeta SET \"_STOREDINHW\" = :Si WHERE tarjeta=:tarjeta AND controlador= %1")
            .arg(cod));
    q.bindValue(QStringLiteral(":Si"), QStringLiteral("S"));
    q.bindValue(QStringLiteral(":tarjeta"), codigo);
    Ejecuta();
}

int ZARVColeccionTarjeta::Cuenta_Asignaciones()
{
    QSqlQuery &q = Ejecuta(QStringLiteral("select count(*) as tamanyo from zarvcontroladortarjeta"));
    const int n = q.next() ? q.value(QStringLiteral("tamanyo")).toInt() : 0;
    q.finish();
    return n;
}

void ZARVColeccionTarjeta::Lee_Asignaciones(std::vector<int> &numeros, QStringList &codigos)
{
    const std::size_t cabe = std::min(numeros.size(), static_cast<std::size_t>(codigos.size()));
    QSqlQuery &q = Ejecuta(QStringLiteral("select * from zarvcontroladortarjeta order by controlador"));
    for (std::size_t i = 0; i < cabe && q.next(); ++i) {
        numeros[i] = q.value(1).toInt();
        codigos[static_cast<qsizetype>(i)] = q.value(0).toString();
    }
    q.finish();
}

int ZARVColeccionTarjeta::Cuenta_Tarjetas_Controlador(int cod)
{
    QSqlQuery &q = Ejecuta(
        QStringLiteral("SELECT Count(*) As Total_tj FROM zarvcontroladortarjeta WHERE controlador= %1").arg(cod));
    const int n = q.next() ? q.value(QStringLiteral("Total_tj")).toInt() : 0;
    q.finish();
    return n;
}

bool ZARVColeccionTarjeta::Esta_Asignada(const QString &codigo)
{
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT Count(*) As Total_tj FROM zarvcontroladortarjeta WHERE tarjeta= '%1'")
                               .arg(Texto_SQL(codigo)));
    const bool asignada = q.next() && q.value(QStringLiteral("Total_tj")).toLongLong() != 0;
    q.finish();
    return asignada;
}

bool ZARVColeccionTarjeta::Envia_Pendientes(const ZARVTarjeta &tarjeta)
{
    // The numbers are read out first: the writes below keep the event loop
    // running while they wait, and must not find this query half-read.
    std::vector<int> pendientes;
    {
        QSqlQuery &q = Prepara(QStringLiteral(
            "select controlador from zarvcontroladortarjeta where tarjeta=:codigo_tarjeta and \"_STOREDINHW\"= :No"));
        q.bindValue(QStringLiteral(":codigo_tarjeta"), tarjeta.Codigo_Tarjeta());
        q.bindValue(QStringLiteral(":No"), QStringLiteral("N"));
        Ejecuta();
        while (q.next())
            pendientes.push_back(q.value(0).toInt());
        q.finish();
    }

    ZARVColeccionControlador *controladores = Sistema() ? Sistema()->Controladores() : nullptr;
    bool resultado = true;
    for (const int cod : pendientes) {
        const std::shared_ptr<ZARVControlador> c = controladores ? controladores->Busca(cod) : nullptr;
        if (!c)
            continue;
        // Only the first controller of each port gets its line when the
        // installation opens; the others get their command layer here.
        if (!c->Comunicador())
            c->Abrir_Comunicacion();
        // At the controller's own address: on a line shared by several
        // controllers any other address reaches another one, which would
        // take the card while this assignment is marked stored.
        const Auditoria::Objeto objeto = Con_Controlador(Auditoria::De_Tarjeta(tarjeta), cod);
        if (c->Comunicador()->Anyadir_Tarjeta(tarjeta.Codigo_Tarjeta(), c->Direccion_Bus())) {
            TransaccionBD cambio(Conexion_BD());
            QSqlQuery &q = Prepara(QStringLiteral("Update zarvcontroladortarjeta SET \"_STOREDINHW\" =:Si WHERE "
                                                  "tarjeta=:codigo_tarjeta AND controlador= %1")
                                       .arg(cod));
            q.bindValue(QStringLiteral(":Si"), QStringLiteral("S"));
            q.bindValue(QStringLiteral(":codigo_tarjeta"), tarjeta.Codigo_Tarjeta());
            Ejecuta();
            Audita(Auditoria::Accion::Tarjetas_Enviadas, objeto);
            cambio.Confirma();
        } else {
            Audita(Auditoria::Accion::Tarjetas_Enviadas, objeto, Auditoria::Resultado::Rechazado);
            resultado = false;
        }
    }
    return resultado;
}
