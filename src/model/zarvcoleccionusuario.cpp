#include "model/zarvcoleccionusuario.h"

#include "model/transaccionbd.h"

namespace {

// A text the operator left empty is stored as the empty text, not as SQL null,
// so reports and comparisons see '' rather than a missing value.
QString No_Nulo(const QString &texto)
{
    return texto.isNull() ? QStringLiteral("") : texto;
}

} // namespace

ZARVColeccionUsuario::ZARVColeccionUsuario(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner)
    : ZARVColeccion(sistema, ruta_bd, owner,
                    {QStringLiteral("id"), QStringLiteral("nombre"), QStringLiteral("apellidos"), QStringLiteral("permanente"),
                     QStringLiteral("fotografia")})
{
    Set_Orden(QStringLiteral("id"));
    Carga();
}

void ZARVColeccionUsuario::Refrescar()
{
    Carga();
}

void ZARVColeccionUsuario::Carga()
{
    QSqlQuery &q = Ejecuta(QStringLiteral("select id,nombre,apellidos,fotografia from zarvusuario order by ") + Orden());
    std::vector<std::shared_ptr<ZARVEntidad>> nuevos;
    QHash<int, int> por_id;
    while (q.next()) {
        auto u = std::make_shared<ZARVUsuario>();
        // A null text reads as the empty text.
        u->Set_Fotografia(q.value(3).toString());
        u->Set_Apellidos(q.value(2).toString());
        u->Set_Nombre(q.value(1).toString());
        u->Set_Id(q.value(0).toInt());
        u->Set_Coleccion(this);
        // The first cardholder with a number is the one Busca finds.
        if (!por_id.contains(u->Id()))
            por_id.insert(u->Id(), static_cast<int>(nuevos.size()));
        nuevos.push_back(std::move(u));
    }
    q.finish();
    Elementos = std::move(nuevos);
    m_por_id = std::move(por_id);
}

std::shared_ptr<ZARVUsuario> ZARVColeccionUsuario::Elemento(int indice) const
{
    return std::static_pointer_cast<ZARVUsuario>(Entidad(indice));
}

std::shared_ptr<ZARVUsuario> ZARVColeccionUsuario::Busca(int id) const
{
    const auto it = m_por_id.constFind(id);
    return it == m_por_id.cend() ? nullptr : Elemento(it.value());
}

int ZARVColeccionUsuario::Busca_Id(const QString &nombre, const QString &apellidos)
{
    QSqlQuery &q = Prepara(QStringLiteral("select * from zarvusuario where nombre=:Nombre and apellidos =:Apellidos"));
    q.bindValue(QStringLiteral(":Nombre"), nombre);
    q.bindValue(QStringLiteral(":Apellidos"), apellidos);
    Ejecuta();
    const int id = q.next() ? q.value(0).toInt() : -1;
    q.finish();
    Carga();
    return id;
}

void ZARVColeccionUsuario::Inserta(const ZARVUsuario &usuario, int &id)
{
    QSqlQuery &q = Prepara(QStringLiteral(
        "INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) "
        "VALUES(gen_id(GEN_ZARVUSUARIO_ID, 1),:nombre,:apellidos,:permanente,:fotografia) RETURNING id"));
    q.bindValue(QStringLiteral(":nombre"), No_Nulo(usuario.Nombre()));
    q.bindValue(QStringLiteral(":apellidos"), No_Nulo(usuario.Apellidos()));
    q.bindValue(QStringLiteral(":permanente"), QStringLiteral("S"));
    q.bindValue(QStringLiteral(":fotografia"), No_Nulo(usuario.Fotografia()));
    // The number this insert took, not the generator's current value, which
    // on a shared server may already be another station's cardholder.
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta();
        if (q.next())
            id = q.value(0).toInt();
        q.finish();
        Auditoria::Objeto objeto = Auditoria::De_Usuario(usuario);
        objeto.usuario = id;
        Audita(Auditoria::Accion::Usuario_Alta, objeto);
        cambio.Confirma();
    }
    Carga();
}

bool ZARVColeccionUsuario::Modifica(const ZARVUsuario &usuario)
{
    QSqlQuery &q = Prepara(
        QStringLiteral("UPDATE zarvusuario SET nombre= :nombre, apellidos=:apellidos,fotografia=:fotografia WHERE id=%1")
            .arg(usuario.Id()));
    q.bindValue(QStringLiteral(":nombre"), No_Nulo(usuario.Nombre()));
    q.bindValue(QStringLiteral(":apellidos"), No_Nulo(usuario.Apellidos()));
    q.bindValue(QStringLiteral(":fotografia"), No_Nulo(usuario.Fotografia()));
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta();
        Audita(Auditoria::Accion::Usuario_Cambio, Auditoria::De_Usuario(usuario));
        cambio.Confirma();
    }
    Carga();
    return true;
}

void ZARVColeccionUsuario::Elimina(const ZARVUsuario &usuario)
{
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta(QStringLiteral("DELETE FROM zarvusuario WHERE id=%1").arg(usuario.Id()));
        Audita(Auditoria::Accion::Usuario_Baja, Auditoria::De_Usuario(usuario));
        cambio.Confirma();
    }
    Carga();
}

void ZARVColeccionUsuario::Elimina_Todos()
{
    {
        TransaccionBD cambio(Conexion_BD());
        Ejecuta(QStringLiteral("DELETE FROM zarvusuario "));
        Audita(Auditoria::Accion::Usuario_Baja, Auditoria::Objeto{.detalle = QStringLiteral("all cardholders")});
        cambio.Confirma();
    }
    Carga();
}

TTarjetaLista ZARVColeccionUsuario::Tarjetas_Usuario(const ZARVUsuario &usuario) const
{
    return usuario.Tarjetas_Usuario();
}
