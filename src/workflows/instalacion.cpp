#include "workflows/instalacion.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/variables.h"
#include "platform/paths.h"

namespace kv::wf {

const QString Fichero_Principal = QStringLiteral("KEYVANE.FDB");

void Conecta_Servidor(QObject *owner)
{
    Globales::Servidor = std::make_unique<ZARVServer>(owner);
    Globales::Servidor->Configurar(Variables::Servidor_BD,
                                   kv::Paths::databaseDir() + QLatin1Char('/') + Fichero_Principal,
                                   Variables::Password_BD, Variables::Usuario_BD);
    Globales::Servidor->Actualiza_Esquema();
}

QString Instalacion_Recordada()
{
    const QString leido = Variables::Lee_Valor(QStringLiteral("GENERAL"), QStringLiteral("LAST_INSTALLATION"),
                                               QStringLiteral("0"));
    bool numero = false;
    const int codigo = leido.trimmed().toInt(&numero);
    // A code that is no number names no installation (and must not reach a
    // statement); the lowest code opens instead.
    if (!numero)
        return QString();
    const QString texto = QString::number(codigo);
    return Globales::Servidor->Existe_Instalacion(texto) ? texto : QString();
}

QString Primera_Instalacion()
{
    const QStringList lista = Globales::Servidor->Lista_Instalaciones();
    return lista.isEmpty() ? QString() : lista.first().section(QStringLiteral(".-"), 0, 0).trimmed();
}

void Abre_Instalacion(const QString &codigo, QObject *owner)
{
    const QString fichero = ZARVServer::Fichero_Instalacion(kv::Paths::databaseDir(), codigo);
    // The open installation goes first: its lines would keep the ports the
    // new one needs.
    Globales::Sistema.reset();
    Variables::Instalacion_Actual = codigo;
    Globales::Sistema = std::make_unique<ZARVSistema>(owner, fichero, Globales::Servidor.get());
    Globales::Sistema->Crea_Colecciones();
    Globales::Sistema->Conecta_Controladores();
    // Connecting sets every controller's command layer up and opens one line
    // per port; nothing listens yet, so the lines close again: a line left
    // open would hold the port the commands of the other controllers on it
    // need, and would take events nobody stores. Registering opens them.
    Globales::Sistema->Controladores()->Cierra_Comunicaciones();
}

} // namespace kv::wf
