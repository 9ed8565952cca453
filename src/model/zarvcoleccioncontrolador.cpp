#include "model/zarvcoleccioncontrolador.h"

#include "model/transaccionbd.h"

namespace {

QString No_Nulo(const QString &texto)
{
    return texto.isNull() ? QStringLiteral("") : texto;
}

} // namespace

ZARVColeccionControlador::ZARVColeccionControlador(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner)
    : ZARVColeccion(sistema, ruta_bd, owner,
                    {QStringLiteral("cod"), QStringLiteral("puerto_serie"), QStringLiteral("tiempo_pta_abierta"),
                     QStringLiteral("tipo"), QStringLiteral("descripcion"), QStringLiteral("direccion")})
{
    Set_Orden(QStringLiteral("cod"));
    Refrescar();
}

ZARVColeccionControlador::~ZARVColeccionControlador()
{
    Cierra_Comunicaciones();
}

void ZARVColeccionControlador::Cierra_Comunicaciones()
{
    for (const auto &e : Elementos)
        static_cast<ZARVControlador *>(e.get())->Cerrar_Comunicacion();
}

void ZARVColeccionControlador::Refrescar()
{
    // The controllers about to be dropped may hold their lines open; the new
    // ones must be able to take them.
    Cierra_Comunicaciones();
    QSqlQuery &q = Ejecuta(QStringLiteral(
        "select cod,\tpuerto_serie,tiempo_pta_abierta,tipo,descripcion,direccion from zarvcontrolador order by ") + Orden());
    std::vector<std::shared_ptr<ZARVEntidad>> nuevos;
    while (q.next()) {
        auto c = std::make_shared<ZARVControlador>(Owner());
        c->Set_Cod(q.value(0).toInt());
        c->Set_Puerto_Serie(q.value(1).toInt());
        c->Set_Tiempo_Pta_Abierta(q.value(2).toInt());
        c->Set_Tipo(q.value(3).toString());
        c->Set_Descripcion(q.value(4).toString());
        c->Set_Direccion(static_cast<std::uint8_t>(q.value(5).toInt()));
        c->Set_Coleccion(this);
        nuevos.push_back(std::move(c));
    }
    q.finish();
    Elementos = std::move(nuevos);
}

std::shared_ptr<ZARVControlador> ZARVColeccionControlador::Elemento(int indice) const
{
    return std::static_pointer_cast<ZARVControlador>(Entidad(indice));
}

std::shared_ptr<ZARVControlador> ZARVColeccionControlador::Busca(int cod) const
{
    for (const auto &e : Elementos) {
        if (static_cast<ZARVControlador *>(e.get())->Cod() == cod)
            return std::static_pointer_cast<ZARVControlador>(e);
    }
    return nullptr;
}

std::shared_ptr<ZARVControlador> ZARVColeccionControlador::Busca_Por_Puerto(int puerto) const
{
    // The lowest number, whatever order the list was loaded in.
    std::shared_ptr<ZARVEntidad> mejor;
    for (const auto &e : Elementos) {
        const auto *c = static_cast<ZARVControlador *>(e.get());
        if (c->Puerto_Serie() == puerto && (!mejor || c->Cod() < static_cast<ZARVControlador *>(mejor.get())->Cod()))
            mejor = e;
    }
    return std::static_pointer_cast<ZARVControlador>(mejor);
}

std::shared_ptr<ZARVControlador> ZARVColeccionControlador::Busca_Remitente(int puerto, int direccion) const
{
    std::shared_ptr<ZARVEntidad> mejor;
    for (const auto &e : Elementos) {
        const auto *c = static_cast<ZARVControlador *>(e.get());
        if (c->Puerto_Serie() == puerto && direccion >= 0 && c->Direccion_Bus() == direccion
            && (!mejor || c->Cod() < static_cast<ZARVControlador *>(mejor.get())->Cod()))
            mejor = e;
    }
    return mejor ? std::static_pointer_cast<ZARVControlador>(mejor) : Busca_Por_Puerto(puerto);
}

bool ZARVColeccionControlador::Existe_Numero(const QString &cod)
{
    QSqlQuery &q = Prepara(QStringLiteral("select count(*) from zarvcontrolador where zarvcontrolador.cod=:cod_controlador"));
    q.bindValue(QStringLiteral(":cod_controlador"), cod);
    Ejecuta();
    const bool existe = q.next() && q.value(0).toLongLong() > 0;
    q.finish();
    return existe;
}

bool ZARVColeccionControlador::Existe_Direccion(int direccion, int puerto)
{
    QSqlQuery &q = Prepara(QStringLiteral("select count(*) from zarvcontrolador where "
                                          "zarvcontrolador.direccion=:direccionControlador and puerto_serie=:puertoCom"));
    q.bindValue(QStringLiteral(":direccionControlador"), direccion);
    q.bindValue(QStringLiteral(":puertoCom"), puerto);
    Ejecuta();
    const bool existe = q.next() && q.value(0).toLongLong() > 0;
    q.finish();
    return existe;
}

void ZARVColeccionControlador::Inserta(const ZARVControlador &controlador)
{
    QSqlQuery &q = Prepara(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion)"
                                          "VALUES(%1,%2,:descripcion,:tipo,:direccion)")
                               .arg(controlador.Cod())
                               .arg(controlador.Puerto_Serie()));
    q.bindValue(QStringLiteral(":descripcion"), No_Nulo(controlador.Descripcion()));
    q.bindValue(QStringLiteral(":tipo"), QStringLiteral("Null"));
    q.bindValue(QStringLiteral(":direccion"), int(controlador.Direccion()));
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta();
        Audita(Auditoria::Accion::Controlador_Alta, Auditoria::De_Controlador(controlador));
        cambio.Confirma();
    }
    Refrescar();
}

void ZARVColeccionControlador::Modifica(const ZARVControlador &controlador)
{
    QSqlQuery &q = Prepara(QStringLiteral("UPDATE zarvcontrolador SET tipo=:tipo,descripcion =:descripcion WHERE cod=:cod"));
    q.bindValue(QStringLiteral(":tipo"), No_Nulo(controlador.Tipo()));
    q.bindValue(QStringLiteral(":descripcion"), No_Nulo(controlador.Descripcion()));
    q.bindValue(QStringLiteral(":cod"), controlador.Cod());
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta();
        Audita(Auditoria::Accion::Controlador_Cambio, Auditoria::De_Controlador(controlador));
        cambio.Confirma();
    }
    Refrescar();
}

void ZARVColeccionControlador::Elimina(const ZARVControlador &controlador)
{
    QSqlQuery &q = Prepara(QStringLiteral("DELETE FROM zarvcontrolador WHERE cod=:cod"));
    q.bindValue(QStringLiteral(":cod"), QString::number(controlador.Cod()));
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta();
        Audita(Auditoria::Accion::Controlador_Baja, Auditoria::De_Controlador(controlador));
        cambio.Confirma();
    }
    Refrescar();
}

void ZARVColeccionControlador::Quita_Tarjeta(const ZARVControlador &controlador, const QString &codigo_tarjeta)
{
    QSqlQuery &q = Prepara(QStringLiteral("DELETE FROM zarvcontroladortarjeta WHERE tarjeta=:tarjeta AND controlador=%1")
                               .arg(controlador.Cod()));
    q.bindValue(QStringLiteral(":tarjeta"), codigo_tarjeta);
    TransaccionBD cambio(Conexion_BD());
    Ejecuta();
    Auditoria::Objeto objeto;
    objeto.tarjeta = codigo_tarjeta;
    objeto.controlador = controlador.Cod();
    Audita(Auditoria::Accion::Tarjeta_Retirada, objeto);
    cambio.Confirma();
}

void ZARVColeccionControlador::Borra_Asignaciones(const ZARVControlador &controlador)
{
    Ejecuta(QStringLiteral("DELETE FROM zarvcontroladortarjeta WHERE controlador= %1").arg(controlador.Cod()));
}

void ZARVColeccionControlador::Quita_Tarjetas(const ZARVControlador &controlador)
{
    TransaccionBD cambio(Conexion_BD());
    Borra_Asignaciones(controlador);
    Auditoria::Objeto objeto = Auditoria::De_Controlador(controlador);
    objeto.detalle = QStringLiteral("all cards");
    Audita(Auditoria::Accion::Tarjeta_Retirada, objeto);
    cambio.Confirma();
}

void ZARVColeccionControlador::Marca_Tarjetas(const ZARVControlador &controlador, bool almacenadas)
{
    QSqlQuery &q = Prepara(QStringLiteral("UPDATE zarvcontroladortarjeta SET \"_STOREDINHW\"=:valor WHERE controlador=%1")
                               .arg(controlador.Cod()));
    q.bindValue(QStringLiteral(":valor"), almacenadas ? QStringLiteral("S") : QStringLiteral("N"));
    Ejecuta();
}

void ZARVColeccionControlador::Elimina_Con_Tarjetas(const ZARVControlador &controlador)
{
    {
        TransaccionBD cambio(Conexion_BD());
        Borra_Asignaciones(controlador);
        QSqlQuery &q = Prepara(QStringLiteral("DELETE FROM zarvcontrolador WHERE cod=:cod"));
        q.bindValue(QStringLiteral(":cod"), controlador.Cod());
        Ejecuta();
        Audita(Auditoria::Accion::Controlador_Baja, Auditoria::De_Controlador(controlador));
        cambio.Confirma();
    }
    Refrescar();
}

void ZARVColeccionControlador::Reemplaza_Tarjetas(const ZARVControlador &controlador,
                                                  const std::vector<std::pair<QString, bool>> &tarjetas,
                                                  Auditoria::Accion accion, const QString &detalle)
{
    TransaccionBD cambio(Conexion_BD());
    Borra_Asignaciones(controlador);
    QSqlQuery &q = Prepara(QStringLiteral("INSERT INTO zarvcontroladortarjeta values(:tarjeta,%1,:almacenada)")
                               .arg(controlador.Cod()));
    for (const auto &[codigo, almacenada] : tarjetas) {
        q.bindValue(QStringLiteral(":tarjeta"), codigo);
        q.bindValue(QStringLiteral(":almacenada"), almacenada ? QStringLiteral("S") : QStringLiteral("N"));
        Ejecuta();
    }
    Auditoria::Objeto objeto = Auditoria::De_Controlador(controlador);
    objeto.detalle = detalle.isEmpty() ? QStringLiteral("%1 cards").arg(tarjetas.size()) : detalle;
    Audita(accion, objeto);
    cambio.Confirma();
}
