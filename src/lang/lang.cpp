#include "lang/lang.h"

#include "lang/tablas.h"
#include "link/textoestado.h"
#include "model/inifile.h"
#include "model/variables.h"
#include "platform/paths.h"

#include <QtGlobal>

#include <memory>
#include <stdexcept>

namespace Lang {
namespace {

std::unique_ptr<kv::IniFile> &fichero()
{
    static std::unique_ptr<kv::IniFile> f;
    return f;
}

const kv::IniFile &abierto()
{
    if (!fichero())
        Abrir_Fichero_Idioma();
    return *fichero();
}

QString texto(const char *clave)
{
    return clave ? Texto_Idioma(QLatin1String(clave)) : QString();
}

} // namespace

QString Fichero_Idioma()
{
    return kv::resolveFileName(kv::Paths::systemDir(), Fichero_Idioma_Nombre);
}

void Abrir_Fichero_Idioma()
{
    auto f = std::make_unique<kv::IniFile>(Fichero_Idioma());
    try {
        f->load();
    } catch (const std::exception &e) {
        // Nothing depends on the texts but the texts themselves: the program
        // runs on, showing the marker everywhere, as with a missing file.
        qWarning("%s", e.what());
        f->loadData(QByteArray());
    }
    fichero() = std::move(f);
}

void Cerrar_Fichero_Idioma()
{
    fichero().reset();
}

QString Texto_Idioma(const QString &clave)
{
    return abierto().value(Variables::Idioma, clave, Variables::Texto_Ausente);
}

bool Sin_Idioma()
{
    return Variables::Idioma.isEmpty() || Variables::Idioma == Variables::Texto_Ausente;
}

QStringList Idiomas_Disponibles()
{
    return abierto().sections();
}

void Cargar_Mensajes()
{
    Variables::Mensajes.clear();
    for (const char *clave : Claves_Mensajes())
        Variables::Mensajes.insert(QString::fromLatin1(clave).toLower(), texto(clave));

    QStringList estados;
    for (const char *clave : Claves_Estado())
        estados.append(texto(clave));
    Establecer_Textos_Estado(estados);

    Variables::Campos_Informe.clear();
    for (const char *clave : Claves_Informe())
        Variables::Campos_Informe.append(texto(clave));
    // No key of its own: the reports show the card code under both labels.
    Variables::Campos_Informe[5] = Variables::Campos_Informe[3];

    Variables::Nombres_Mes.clear();
    for (const char *clave : Claves_Meses())
        Variables::Nombres_Mes.append(Variables::Mensaje(QLatin1String(clave)));

    Variables::Tipos_Incidencia.clear();
    for (const char *clave : Claves_Tipos_Incidencia())
        Variables::Tipos_Incidencia.append(Variables::Mensaje(QLatin1String(clave)));
    while (Variables::Tipos_Incidencia.size() < 10)
        Variables::Tipos_Incidencia.append(QString());
}

} // namespace Lang
