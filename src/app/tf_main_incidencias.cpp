// The live rows of the incidence list: every event the installation stores
// appears at the top of Lista_Incidencias as it arrives.
#include "app/textos.h"
#include "app/tf_main.h"

#include "link/tipoincidencia.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/variables.h"
#include "model/zarvusuario.h"
#include "ui/accion.h"
#include "ui/imagenes.h"

#include <QTreeWidget>

void TF_Main::Anade_Fila_Incidencia(const QString &evento, const QString &fecha, const QString &origen,
                                    const QString &descripcion, const QString &usuario, int icono)
{
    auto *fila = new QTreeWidgetItem({evento, fecha, origen, descripcion, usuario});
    kv::ui::Pon_Icono(fila, 0, icono);
    Lista_Incidencias->insertTopLevelItem(0, fila);
}

void TF_Main::Escucha_Incidencias()
{
    ZARVColeccionIncidencia *incidencias = Globales::Sistema ? Globales::Sistema->Incidencias() : nullptr;
    if (!incidencias)
        return;
    incidencias->OnNuevaIncidencia = [this](ZARVColeccionIncidencia *log, const TEventoInformacion &evento) {
        const QDateTime llegada = log->Llegada_Retenida();
        kv::ui::Ejecuta_Accion(this, [this, &evento, &llegada] { Recibida_Incidencia(evento, llegada); });
    };
    // What the log could not do is shown, never silent: a line that went
    // away (and its readers marked), the line back, an event not stored.
    incidencias->OnLineaPerdida = [this](int puerto, const QString &error) {
        Aviso_Linea(puerto, QStringLiteral("Variables_variables_F_Main_35"), error, kv::ui::Icono_Sin_Respuesta);
    };
    incidencias->OnLineaRecuperada = [this](int puerto) {
        Aviso_Linea(puerto, QStringLiteral("Variables_variables_F_Main_36"), QString(), -1);
    };
    incidencias->OnEventoPerdido = [this](const TEventoInformacion &evento, const QString &motivo) {
        Anade_Fila_Incidencia(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_37")),
                              textos::Ahora_Texto(), QStringLiteral("COM") + evento.Puerto,
                              (evento.Tarjeta.isEmpty() ? QString() : evento.Tarjeta + QLatin1Char(' ')) + motivo,
                              QStringLiteral("-1"), kv::ui::Icono_Alarma);
    };
    // The language file has no keys for these two: they are English.
    incidencias->OnServidorPerdido = [this](const QString &motivo) {
        Anade_Fila_Incidencia(QStringLiteral("Database server unreachable"), textos::Ahora_Texto(),
                              QStringLiteral("Database"),
                              motivo + QStringLiteral(" Events are held and stored when it is back."),
                              QStringLiteral("-1"), kv::ui::Icono_Alarma);
    };
    incidencias->OnServidorRecuperado = [this](int guardadas) {
        Anade_Fila_Incidencia(QStringLiteral("Database server back"), textos::Ahora_Texto(),
                              QStringLiteral("Database"), QStringLiteral("%1 held events stored").arg(guardadas),
                              QStringLiteral("-1"), -1);
    };
}

void TF_Main::Aviso_Linea(int puerto, const QString &clave, const QString &detalle, int icono_lectores)
{
    Anade_Fila_Incidencia(Variables::Mensaje(clave), textos::Ahora_Texto(), QStringLiteral("COM%1").arg(puerto), detalle,
                          QStringLiteral("-1"), kv::ui::Icono_Alarma);
    if (Pagina_Lectores *p = Lectores())
        p->Marca_Puerto(puerto, icono_lectores);
}

void TF_Main::Recibida_Incidencia(const TEventoInformacion &evento, const QDateTime &llegada)
{
    ZARVSistema *sistema = Globales::Sistema.get();
    QString nombre;
    QString clave = QStringLiteral("-1");
    if (!evento.Tarjeta.isEmpty() && sistema && sistema->Tarjetas()) {
        if (const auto tarjeta = sistema->Tarjetas()->Busca(evento.Tarjeta); tarjeta && tarjeta->Usuario()) {
            nombre = tarjeta->Usuario()->Nombre_Completo();
            clave = QString::number(tarjeta->Usuario()->Id());
        }
    }
    QString origen;
    if (sistema && sistema->Controladores()) {
        if (const auto c = sistema->Controladores()->Busca_Remitente(evento.Puerto.toInt(), evento.Direccion))
            origen = c->Descripcion();
    }
    QString texto;
    int icono = 0;
    if (evento.Tipo >= 1 && evento.Tipo <= 6) {
        texto = Tipos_Incidencia.value(evento.Tipo - 1);
        icono = Icono_Incidencia(evento.Tipo);
        if (evento.Tipo == tipo_incidencia::TARJETA_ACEPTADA || evento.Tipo == tipo_incidencia::TARJETA_RECHAZADA)
            nombre = evento.Tarjeta + QLatin1Char(' ') + nombre;
    }
    Anade_Fila_Incidencia(texto, llegada.isValid() ? textos::Momento_Texto(llegada) : textos::Ahora_Texto(), origen,
                          nombre, clave, icono);
}
