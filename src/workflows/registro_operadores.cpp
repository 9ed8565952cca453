#include "workflows/registro_operadores.h"

#include "model/globales.h"
#include "workbooks/libro.h"

#include <stdexcept>

namespace kv::wf {
namespace {

QSqlDatabase &Conexion()
{
    if (!Globales::Sistema)
        throw std::runtime_error("No installation is open");
    return Globales::Sistema->Conexion();
}

} // namespace

QStringList Columnas_Auditoria()
{
    return {QStringLiteral("Time"),       QStringLiteral("Login"), QStringLiteral("Action"),
            QStringLiteral("Card"),       QStringLiteral("Cardholder"), QStringLiteral("Name"),
            QStringLiteral("Controller"), QStringLiteral("Outcome"),    QStringLiteral("Detail")};
}

QStringList Celdas_Auditoria(const Auditoria::Entrada &entrada)
{
    return Auditoria::Linea(entrada).split(QLatin1Char('\t'));
}

std::vector<Auditoria::Entrada> Pagina_Auditoria(const Auditoria::Filtro &filtro, const Auditoria::Entrada *tras)
{
    Auditoria::Filtro f = filtro;
    f.limite = Entradas_Por_Pagina;
    if (tras) {
        f.tras_momento = tras->momento;
        f.tras_id = tras->id;
    }
    return Auditoria::Lee(Conexion(), f);
}

int Exporta_Auditoria(const Auditoria::Filtro &filtro, const QString &fichero)
{
    Auditoria::Filtro todas = filtro;
    todas.limite = 0;
    const std::vector<Auditoria::Entrada> entradas = Auditoria::Lee(Conexion(), todas);
    std::vector<QStringList> filas;
    filas.reserve(entradas.size() + 1);
    filas.push_back(Columnas_Auditoria());
    for (const Auditoria::Entrada &e : entradas)
        filas.push_back(Celdas_Auditoria(e));
    kv::libros::Escribe_Xlsx(fichero, filas, QStringLiteral("Log"));
    Auditoria::Registra(Conexion(), Auditoria::Accion::Libro_Exportado,
                        Auditoria::Objeto{.nombre = fichero, .detalle = QStringLiteral("%1 log entries").arg(entradas.size())});
    return int(entradas.size());
}

} // namespace kv::wf
