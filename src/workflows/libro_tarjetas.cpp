#include "workflows/libro_tarjetas.h"

#include "workflows/coordinacion.h"
#include "workflows/flujo_usuarios.h"
#include "workflows/interlocutor.h"

#include "model/errorbd.h"
#include "model/auditoria.h"
#include "model/globales.h"
#include "model/transaccionbd.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <functional>
#include <optional>

namespace kv::wf {
namespace {

constexpr int Columnas = 3;

ZARVSistema &Sistema()
{
    if (!Globales::Sistema || !Globales::Sistema->Tarjetas())
        throw std::runtime_error("No installation is open");
    return *Globales::Sistema;
}

// The report label, or the English word when the language file lacks it.
QString Etiqueta(int indice, const char *defecto)
{
    const QString texto = indice < Variables::Campos_Informe.size() ? Variables::Campos_Informe[indice] : QString();
    return texto.isEmpty() || texto == Variables::Texto_Ausente ? QString::fromLatin1(defecto) : texto;
}

bool Nombre_Valido(const QString &nombre, int largo)
{
    return nombre.size() <= largo && !nombre.contains(QLatin1Char('\n')) && !nombre.contains(QLatin1Char('\r'));
}

// The database compares texts with trailing blanks ignored; so do the
// look-ups kept here for it.
QString Clave(const QString &texto)
{
    qsizetype n = texto.size();
    while (n > 0 && texto.at(n - 1) == QLatin1Char(' '))
        --n;
    return texto.left(n);
}

QString Clave_Usuario(const QString &nombre, const QString &apellidos)
{
    return Clave(nombre) + QChar(0) + Clave(apellidos);
}

// A row without names is a free card, as the export writes one: a nameless
// cardholder would be made of nothing.
bool Sin_Titular(const Fila_Libro &f)
{
    return f.nombre.trimmed().isEmpty() && f.apellidos.trimmed().isEmpty();
}

void Ejecuta(QSqlQuery &q, const QString &que)
{
    if (!q.exec())
        throw ErrorBD(que, q.lastError());
}

void Prepara(QSqlQuery &q, const QString &sentencia)
{
    if (!q.prepare(sentencia))
        throw ErrorBD(sentencia, q.lastError());
}

// "SELECT <columnas> FROM rdb$database" n times, joined by UNION ALL: the
// rows of one multi-row insert.
QString Resumen(Modo_Importacion modo, const Resultado_Importacion &r)
{
    return QStringLiteral("%1: %2 imported, %3 skipped, %4 refused")
        .arg(modo == Modo_Importacion::Reemplazar ? QStringLiteral("replace") : QStringLiteral("add"))
        .arg(r.importadas)
        .arg(r.saltadas)
        .arg(r.rechazadas);
}

QString Filas_Select(int n, const char *columnas)
{
    const QString una = QStringLiteral("SELECT ") + QLatin1String(columnas) + QStringLiteral(" FROM rdb$database");
    QStringList filas;
    for (int i = 0; i < n; ++i)
        filas << una;
    return filas.join(QStringLiteral(" UNION ALL "));
}

// The rows of one insert sent a batch at a time: a statement a row would
// make a large workbook wait on the round trips. The statement of a full
// batch is prepared once; the last, shorter batch gets its own.
class Lote {
public:
    static constexpr int Filas = 64;

    Lote(QSqlDatabase &db, int por_fila, std::function<QString(int)> sentencia)
        : m_db(db)
        , m_por_fila(por_fila)
        , m_sentencia(std::move(sentencia))
        , m_llena(db)
    {
    }

    void Anade(const QVariantList &fila)
    {
        m_valores += fila;
        if (m_valores.size() == Filas * m_por_fila)
            Envia();
    }
    void Vacia()
    {
        if (!m_valores.isEmpty())
            Envia();
    }

private:
    void Envia()
    {
        const int filas = int(m_valores.size()) / m_por_fila;
        QSqlQuery corta(m_db);
        QSqlQuery &q = filas == Filas ? m_llena : corta;
        if (&q == &corta || !m_preparada) {
            Prepara(q, m_sentencia(filas));
            m_preparada = m_preparada || filas == Filas;
        }
        for (qsizetype i = 0; i < m_valores.size(); ++i)
            q.bindValue(int(i), m_valores[i]);
        Ejecuta(q, m_sentencia(1));
        m_valores.clear();
    }

    QSqlDatabase &m_db;
    int m_por_fila;
    std::function<QString(int)> m_sentencia;
    QSqlQuery m_llena;
    bool m_preparada = false;
    QVariantList m_valores;
};

} // namespace

std::vector<QStringList> Filas_Exportacion()
{
    ZARVColeccionTarjeta *tarjetas = Sistema().Tarjetas();
    // What other stations and windows stored since the list was loaded.
    tarjetas->Refrescar();
    std::vector<QStringList> filas;
    filas.reserve(std::size_t(tarjetas->Cuenta()) + 1);
    filas.push_back({Etiqueta(3, "Card"), Etiqueta(1, "Name"), Etiqueta(2, "Surname")});
    for (int i = 0; i < tarjetas->Cuenta(); ++i) {
        const auto t = tarjetas->Elemento(i);
        const auto &u = t->Usuario();
        filas.push_back({t->Codigo_Tarjeta(), u ? u->Nombre() : QString(), u ? u->Apellidos() : QString()});
    }
    return filas;
}

int Exporta_Libro(const QString &fichero)
{
    const std::vector<QStringList> filas = Filas_Exportacion();
    kv::libros::Escribe_Xlsx(fichero, filas);
    Auditoria::Registra_En_Abierta(
        Auditoria::Accion::Libro_Exportado,
        Auditoria::Objeto{.nombre = fichero, .detalle = QStringLiteral("%1 cards").arg(filas.size() - 1)});
    return int(filas.size()) - 1;
}

Libro_Importacion Lee_Libro_Importacion(const QString &fichero, const kv::libros::Limites &limites)
{
    const kv::libros::Hoja hoja = kv::libros::Lee_Hoja(fichero, Columnas, limites);
    Libro_Importacion libro;
    libro.fichero = fichero;
    qint64 esperada = 2;
    for (const kv::libros::Fila &f : hoja.filas) {
        if (f.numero < 2)
            continue;
        // A row the sheet does not hold has an empty column A: the list ends.
        const QString codigo = f.celdas[0].trimmed();
        if (f.numero != esperada || codigo.isEmpty())
            break;
        ++esperada;
        // Only codes the controllers can hold: a letter would be sent as a
        // zero digit and open the door to another card, more than ten digits
        // would not fit the card column, a quote would break a statement.
        const std::optional<QString> valido = Codigo_Tarjeta(codigo);
        if (!valido) {
            libro.rechazadas.push_back({f.numero, f.celdas[0], Fila_Rechazada::Motivo::Codigo});
            continue;
        }
        if (!Nombre_Valido(f.celdas[1], Largo_Nombre) || !Nombre_Valido(f.celdas[2], Largo_Apellidos)) {
            libro.rechazadas.push_back({f.numero, f.celdas[0], Fila_Rechazada::Motivo::Nombre});
            continue;
        }
        libro.filas.push_back({f.numero, *valido, f.celdas[1], f.celdas[2]});
    }
    return libro;
}

Importacion_Fallida::Importacion_Fallida(qint64 fila, int hechas, const QString &motivo)
    : std::runtime_error(QStringLiteral("the import stopped at row %1 and nothing was changed: %2")
                             .arg(fila)
                             .arg(motivo)
                             .toStdString())
    , m_fila(fila)
    , m_hechas(hechas)
    , m_motivo(motivo)
{
}

Resultado_Importacion Importa_Libro(const Libro_Importacion &libro, Modo_Importacion modo,
                                    const std::vector<int> &lectores, Progreso &progreso)
{
    ZARVSistema &sistema = Sistema();
    // Deleting every card under a send would leave it writing cards the
    // database no longer has.
    Coordinacion::Exige_Libres();
    Retencion_Mantenimiento retencion;
    Cierre_Progreso cierre(progreso);
    progreso.Muestra();
    progreso.Rango(int(libro.filas.size()));

    // The ticked controllers the installation still has, each once.
    std::vector<int> destinos;
    for (const int cod : lectores)
        if (sistema.Controladores()->Busca(cod) && std::find(destinos.begin(), destinos.end(), cod) == destinos.end())
            destinos.push_back(cod);

    Resultado_Importacion r;
    r.rechazadas = int(libro.rechazadas.size());
    qint64 fila = 0;
    try {
        // One change on the installation's own connection: the deletions of
        // the replace mode and every row stand or fall together, so a
        // failure halfway leaves the installation as it was.
        QSqlDatabase &db = sistema.Conexion();
        TransaccionBD cambio(db);
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (modo == Modo_Importacion::Reemplazar) {
            for (const char *sentencia : {"DELETE FROM zarvusuario", "DELETE FROM zarvcontroladortarjeta", "DELETE FROM zarvtarjeta"}) {
                Prepara(q, QString::fromLatin1(sentencia));
                Ejecuta(q, QString::fromLatin1(sentencia));
            }
        }
        // Looked up once, kept up to date as rows go in: a statement per row
        // to ask would double the work of a large workbook.
        QSet<QString> codigos;
        Prepara(q, QStringLiteral("select codigo_tarjeta from zarvtarjeta"));
        Ejecuta(q, QStringLiteral("zarvtarjeta"));
        while (q.next())
            codigos.insert(Clave(q.value(0).toString()));
        q.finish();
        QHash<QString, int> usuarios;
        Prepara(q, QStringLiteral("select id,nombre,apellidos from zarvusuario order by id"));
        Ejecuta(q, QStringLiteral("zarvusuario"));
        while (q.next()) {
            const QString clave = Clave_Usuario(q.value(1).toString(), q.value(2).toString());
            if (!usuarios.contains(clave))
                usuarios.insert(clave, q.value(0).toInt());
        }
        q.finish();

        // The holders to make, found before any row goes in: their numbers
        // are taken from the generator in one block, so that a row costs
        // plain inserts and no number read back.
        QSet<QString> nuevos;
        {
            QSet<QString> vistos = codigos;
            for (const Fila_Libro &f : libro.filas) {
                if (vistos.contains(f.codigo) || Sin_Titular(f))
                    continue;
                vistos.insert(f.codigo);
                const QString clave = Clave_Usuario(f.nombre, f.apellidos);
                if (!usuarios.contains(clave) && !nuevos.contains(clave))
                    nuevos.insert(clave);
            }
        }
        int siguiente = 0;
        if (!nuevos.isEmpty()) {
            Prepara(q, QStringLiteral("select gen_id(GEN_ZARVUSUARIO_ID, %1) from rdb$database").arg(nuevos.size()));
            Ejecuta(q, QStringLiteral("GEN_ZARVUSUARIO_ID"));
            if (!q.next())
                throw std::runtime_error("no cardholder numbers");
            siguiente = q.value(0).toInt() - int(nuevos.size()) + 1;
            q.finish();
        }

        Lote usuarios_nuevos(db, 3, [](int n) {
            return QStringLiteral("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) ")
                   + Filas_Select(n, "CAST(? AS INTEGER), CAST(? AS VARCHAR(100)), CAST(? AS VARCHAR(150)), 'S', ''");
        });
        Lote tarjetas(db, 3, [](int n) {
            return QStringLiteral("INSERT INTO zarvtarjeta(codigo_tarjeta,bloqueado,fecha_alta,fecha_caducidad,usuario,"
                                  "usar_fecha_cad) ")
                   + Filas_Select(n, "CAST(? AS VARCHAR(10)), 'N', CAST(? AS TIMESTAMP), CAST(NULL AS TIMESTAMP), "
                                     "CAST(? AS INTEGER), 'N'");
        });
        Lote asignaciones(db, 2, [](int n) {
            return QStringLiteral("INSERT INTO zarvcontroladortarjeta ")
                   + Filas_Select(n, "CAST(? AS VARCHAR(10)), CAST(? AS INTEGER), 'N'");
        });
        const QDateTime alta = QDateTime::currentDateTime();

        for (const Fila_Libro &f : libro.filas) {
            fila = f.fila;
            if (progreso.Cancelado())
                throw std::runtime_error("cancelled");
            progreso.Paso(f.codigo + QLatin1Char(' ') + f.nombre + QLatin1Char(' ') + f.apellidos);
            if (codigos.contains(f.codigo)) {
                ++r.saltadas;
                continue;
            }
            int titular = -1;
            if (!Sin_Titular(f)) {
                const QString clave = Clave_Usuario(f.nombre, f.apellidos);
                auto id = usuarios.constFind(clave);
                if (id == usuarios.cend()) {
                    id = usuarios.insert(clave, siguiente);
                    // An empty name is stored as the empty text, as the user window stores it.
                    usuarios_nuevos.Anade({siguiente++, f.nombre.isNull() ? QStringLiteral("") : f.nombre,
                                           f.apellidos.isNull() ? QStringLiteral("") : f.apellidos});
                }
                titular = id.value();
            }
            tarjetas.Anade({f.codigo, alta, titular});
            codigos.insert(f.codigo);
            // Pending: the readers get the card with the next send.
            for (const int cod : destinos)
                asignaciones.Anade({f.codigo, cod});
            ++r.importadas;
        }
        usuarios_nuevos.Vacia();
        tarjetas.Vacia();
        asignaciones.Vacia();
        fila = 0;
        Auditoria::Registra(db, Auditoria::Accion::Libro_Importado, Auditoria::Objeto{.nombre = libro.fichero, .detalle = Resumen(modo, r)});
        cambio.Confirma();
    } catch (const std::exception &e) {
        // The transaction is rolled back by now; the lists still show what
        // the database holds. A stop by the operator is logged as such.
        if (progreso.Cancelado())
            Auditoria::Registra(sistema.Conexion(), Auditoria::Accion::Libro_Importado,
                                Auditoria::Objeto{.nombre = libro.fichero, .detalle = Resumen(modo, r)},
                                Auditoria::Resultado::Cancelado);
        throw Importacion_Fallida(fila, r.importadas + r.saltadas, QString::fromUtf8(e.what()));
    }
    // Cardholders first: a card resolves its holder when it loads.
    sistema.Usuarios()->Refrescar();
    sistema.Tarjetas()->Refrescar();
    return r;
}

} // namespace kv::wf
