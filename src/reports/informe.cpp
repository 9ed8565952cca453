#include "reports/informe.h"

#include "model/errorbd.h"
#include "model/globales.h"
#include "model/variables.h"
#include "platform/paths.h"

#include <QFile>
#include <QPdfWriter>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace kv::rep {

const std::vector<Entrada_Catalogo> &Catalogo()
{
    static const std::vector<Entrada_Catalogo> c = {
        {1, QStringLiteral("users"),
         QStringLiteral("SELECT nombre,apellidos FROM zarvusuario\nORDER BY nombre"), QStringLiteral("users.frf")},
        {2, QStringLiteral("cards"),
         QStringLiteral("SELECT codigo_tarjeta,fecha_alta,fecha_caducidad,usar_fecha_cad from zarvtarjeta\n"
                        "ORDER BY codigo_tarjeta"),
         QStringLiteral("cards.frf")},
        {3, QStringLiteral("controllers"),
         QStringLiteral("SELECT cod, puerto_serie, descripcion FROM zarvcontrolador\nORDER BY cod"),
         QStringLiteral("controllers.frf")},
        {4, QStringLiteral("cards-per-user"),
         QStringLiteral("SELECT zarvusuario.id,zarvusuario.nombre, zarvusuario.apellidos, zarvtarjeta.codigo_tarjeta "
                        "FROM zarvusuario, zarvtarjeta WHERE zarvusuario.id = zarvtarjeta.usuario\n"
                        "ORDER BY zarvusuario.nombre"),
         QStringLiteral("cards per user.frf")},
    };
    return c;
}

const Entrada_Catalogo *Busca(int indice)
{
    for (const Entrada_Catalogo &e : Catalogo())
        if (e.indice == indice)
            return &e;
    return nullptr;
}

const Entrada_Catalogo *Busca(const QString &clave)
{
    for (const Entrada_Catalogo &e : Catalogo())
        if (e.clave == clave)
            return &e;
    return nullptr;
}

Error_Informe::Error_Informe(Origen origen, const QString &texto)
    : std::runtime_error(texto.toStdString())
    , m_origen(origen)
    , m_texto(texto)
{
}

QString Ruta_Plantilla(const Entrada_Catalogo &entrada)
{
    return kv::Paths::programDir() + QStringLiteral("/Data/") + entrada.fichero;
}

Plantilla Carga_Plantilla(const QString &ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw Error_Informe(Error_Informe::Origen::Plantilla,
                            QStringLiteral("Report template %1: %2").arg(ruta, f.exists() ? f.errorString() : QStringLiteral("the file does not exist")));
    // Read one byte past the limit, so that a larger file is told apart.
    const QByteArray bytes = f.read(Maximo_Bytes + 1);
    try {
        return Lee_Plantilla(bytes);
    } catch (const Error_Plantilla &e) {
        throw Error_Informe(Error_Informe::Origen::Plantilla, QStringLiteral("Report template %1: %2").arg(ruta, e.Texto()));
    }
}

QHash<QString, QString> Lee_Etiquetas(QSqlDatabase &principal)
{
    QSqlQuery q(principal);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM LANGREP")))
        throw Error_Informe(Error_Informe::Origen::Base_Datos, QStringLiteral("LANGREP: %1").arg(q.lastError().text()));
    QHash<QString, QString> r;
    if (q.next()) {
        const QSqlRecord registro = q.record();
        for (int i = 0; i < registro.count(); ++i)
            r.insert(registro.fieldName(i).toLower(), q.value(i).toString());
        return r;
    }
    r.insert(QStringLiteral("idioma"), Variables::Idioma);
    for (int i = 0; i < 13; ++i)
        r.insert(QStringLiteral("campo_%1").arg(i + 1),
                 i < Variables::Campos_Informe.size() ? Variables::Campos_Informe.at(i) : Variables::Texto_Ausente);
    return r;
}

Tabla Lee_Tabla(QSqlDatabase &db, const QString &consulta)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(consulta))
        throw Error_Informe(Error_Informe::Origen::Base_Datos, q.lastError().text());
    Tabla t;
    const QSqlRecord registro = q.record();
    const int n = registro.count();
    for (int i = 0; i < n; ++i)
        t.campos << registro.fieldName(i);
    while (q.next()) {
        QVariantList fila;
        fila.reserve(n);
        for (int i = 0; i < n; ++i)
            fila << q.value(i);
        t.filas.push_back(std::move(fila));
    }
    if (q.lastError().isValid())
        throw Error_Informe(Error_Informe::Origen::Base_Datos, q.lastError().text());
    return t;
}

Informe::Informe(const Entrada_Catalogo &entrada, Maqueta maqueta)
    : m_entrada(entrada)
    , m_maqueta(std::move(maqueta))
{
}

std::unique_ptr<Informe> Informe::Ejecuta(int indice)
{
    const Entrada_Catalogo *e = Busca(indice);
    if (!e)
        throw Error_Informe(Error_Informe::Origen::Plantilla, QStringLiteral("There is no report %1").arg(indice));
    if (!Globales::Servidor || !Globales::Sistema)
        throw Error_Informe(Error_Informe::Origen::Base_Datos, QStringLiteral("No installation is open"));
    const QString ruta = Ruta_Plantilla(*e);
    // The template first: a broken one costs no query.
    Plantilla plantilla = Carga_Plantilla(ruta);
    QHash<QString, QString> etiquetas;
    Tabla tabla;
    try {
        etiquetas = Lee_Etiquetas(Globales::Servidor->Conexion());
        // The open installation's own connection: after a switch, the new one.
        tabla = Lee_Tabla(Globales::Sistema->Conexion(), e->consulta);
    } catch (const ErrorBD &error) {
        throw Error_Informe(Error_Informe::Origen::Base_Datos, error.Texto());
    }
    try {
        return std::make_unique<Informe>(*e, Maqueta(std::move(plantilla), etiquetas, tabla));
    } catch (const Error_Plantilla &error) {
        throw Error_Informe(Error_Informe::Origen::Plantilla, QStringLiteral("Report template %1: %2").arg(ruta, error.Texto()));
    }
}

void Informe::Exporta_Pdf(const QString &fichero) const
{
    {
        QPdfWriter pdf(fichero);
        pdf.setResolution(300);
        pdf.setTitle(m_maqueta.Titulo());
        pdf.setCreator(QStringLiteral("Keyvane"));
        pdf.setPageLayout(m_maqueta.Disposicion());
        if (m_maqueta.Imprime(pdf))
            return;
    }
    QFile::remove(fichero);
    throw Error_Informe(Error_Informe::Origen::Fichero, QStringLiteral("%1 cannot be written").arg(fichero));
}

} // namespace kv::rep
