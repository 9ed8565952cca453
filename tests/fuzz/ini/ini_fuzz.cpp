// Any bytes as the settings file and as the language file: reading never
// crashes, a stored conversion failure is the only error, what is written
// reads back the same, and a file that read cleanly still does after the
// program wrote its settings into it.
#include "lang/lang.h"
#include "model/inifile.h"
#include "model/settings_errors.h"
#include "model/variables.h"
#include "platform/paths.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void comprobar(bool condicion)
{
    if (!condicion)
        std::abort();
}

void escribir(const QString &ruta, const QByteArray &bytes)
{
    QFile f(ruta);
    comprobar(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Parsing what was written gives the same sections, keys and texts.
void ida_y_vuelta(const QByteArray &bytes)
{
    kv::IniFile a;
    a.loadData(bytes);
    kv::IniFile b;
    b.loadData(a.toBytes());
    const QStringList secciones = a.sections();
    comprobar(b.sections() == secciones);
    for (const QString &s : secciones) {
        comprobar(a.hasSection(s));
        const QStringList claves = a.keys(s);
        comprobar(b.keys(s) == claves);
        for (const QString &k : claves)
            comprobar(b.value(s, k, QStringLiteral("\x01")) == a.value(s, k, QStringLiteral("\x02")));
    }
}

struct Estado {
    QString idioma, ultima, lector, servidor;
    bool testear, liberar, activo;
    int inc, codigo;
    bool operator==(const Estado &) const = default;
};

Estado estado()
{
    return {Variables::Idioma,     Variables::LAST_INSTALLATION, Variables::USA_LECTOR,   Variables::Servidor_BD,
            Variables::Testear_cx, Variables::Liberar_tarj,      Variables::Lector_Activo, Variables::El_inc,
            Variables::Lector_Codigo};
}

bool leer_configuracion()
{
    try {
        Variables::Lee_Configuracion();
        return true;
    } catch (const kv::ConversionError &) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const bool preparado = (kv::Paths::setSystemDir(dir.path()), true);
    (void)preparado;

    const QByteArray bytes = size ? QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)) : QByteArray();
    ida_y_vuelta(bytes);

    escribir(dir.filePath(QStringLiteral("KEYVANE20.INI")), bytes);
    escribir(dir.filePath(QStringLiteral("Keyvane20_Lang.ini")), bytes);

    Variables::Restablecer();
    const bool limpio = leer_configuracion();

    Lang::Abrir_Fichero_Idioma();
    const QStringList idiomas = Lang::Idiomas_Disponibles();
    if (!idiomas.isEmpty() && limpio)
        Variables::Idioma = idiomas.front();
    Lang::Cargar_Mensajes();
    comprobar(Variables::Campos_Informe.size() == 13 && Variables::Campos_Informe[5] == Variables::Campos_Informe[3]);
    comprobar(Variables::Nombres_Mes.size() == 12 && Variables::Tipos_Incidencia.size() == 10);
    Lang::Cerrar_Fichero_Idioma();

    if (limpio) {
        const Estado antes = estado();
        Variables::Guarda_Configuracion();
        Variables::Restablecer();
        comprobar(leer_configuracion());
        comprobar(estado() == antes);
    }
    return 0;
}
