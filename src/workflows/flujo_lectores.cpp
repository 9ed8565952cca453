#include "workflows/flujo_lectores.h"

#include "workflows/coordinacion.h"
#include "workflows/interlocutor.h"

#include "link/zarvcomunicador.h"
#include "model/auditoria.h"
#include "model/globales.h"
#include "model/nivel.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/transaccionbd.h"
#include "model/zarvcolecciontarjeta.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kv::wf {
namespace {

const QString Titulo_Lector = QStringLiteral("Lector");

ZARVColeccionControlador *Controladores()
{
    return Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
}

ZARVColeccionTarjeta *Tarjetas()
{
    return Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
}

// The log entry of an operation on a controller that changed nothing in the
// database (or changes it in the transaction open around this call).
void Anota(Auditoria::Accion accion, const ZARVControlador &c, Auditoria::Resultado resultado,
           const QString &detalle = QString())
{
    Auditoria::Objeto objeto = Auditoria::De_Controlador(c);
    if (!detalle.isEmpty())
        objeto.detalle = detalle;
    Auditoria::Registra(Controladores()->Conexion_BD(), accion, objeto, resultado);
}

Auditoria::Resultado Segun(bool hecho)
{
    return hecho ? Auditoria::Resultado::Hecho : Auditoria::Resultado::Rechazado;
}

// A time typed into the edit window, or -1 for an empty field.
int Tiempo(const QString &texto)
{
    return texto.isEmpty() ? -1 : texto.toInt();
}

// A field that holds a time, or had one read into it, must hold one in range.
bool Fuera_De_Rango(const QString &texto, bool leido, int minimo)
{
    const int valor = Tiempo(texto);
    return (valor < minimo || valor > 99) && (!texto.isEmpty() || leido);
}

// The confirmation window's question: the message, a blank, the controller's
// description and a question mark.
bool Confirma(Interlocutor &operador, const QString &clave, const ZARVControlador &c)
{
    return operador.Confirma(Variables::Mensaje(clave) + QLatin1Char(' ') + c.Descripcion() + QLatin1Char('?'));
}

// Loads the source's cards into the target, already erased, card by card.
// The target's assignments become what it confirmed, also when a port error
// ends the loading: the cards not reached stay assigned as still to be
// written, so a later send completes the copy.
void Carga_Copia(const ZARVControlador &origen, ZARVControlador &objetivo, ZARVComunicador &com, Progreso &progreso)
{
    const TTarjetaLista lista = origen.Tarjetas_Controlador();
    progreso.Rango(static_cast<int>(lista.size()));
    std::vector<std::pair<QString, bool>> resultado;
    resultado.reserve(lista.size());
    const auto registra = [&] {
        for (std::size_t i = resultado.size(); i < lista.size(); ++i)
            resultado.emplace_back(lista[i].Tarjeta->Codigo_Tarjeta(), false);
        const auto cargadas = std::count_if(resultado.begin(), resultado.end(), [](const auto &r) { return r.second; });
        Controladores()->Reemplaza_Tarjetas(objetivo, resultado, Auditoria::Accion::Controlador_Clonado,
                                            QStringLiteral("from %1: %2 of %3 cards stored")
                                                .arg(origen.Cod())
                                                .arg(cargadas)
                                                .arg(lista.size()));
        Tarjetas()->Refrescar();
    };
    try {
        for (const TTarjetaElemento &e : lista) {
            const QString codigo = e.Tarjeta->Codigo_Tarjeta();
            progreso.Paso(QString::number(objetivo.Cod()) + QLatin1Char(' ') + objetivo.Descripcion()
                          + QLatin1Char(' ') + codigo);
            resultado.emplace_back(codigo, com.Cargar_Tarjeta(codigo, false, objetivo.Direccion_Bus()));
        }
    } catch (...) {
        try {
            registra();
        } catch (...) {
            // The port error is the one to report.
        }
        throw;
    }
    registra();
}

void Clona_En(const ZARVControlador &origen, ZARVControlador &objetivo, Progreso &progreso)
{
    const std::uint8_t direccion = objetivo.Direccion_Bus();
    ZARVComunicador &com = Comunicador(objetivo);
    TTest_Informacion info;
    com.Test_Lector(direccion, info);
    const QString desde = QStringLiteral("from %1").arg(origen.Cod());
    if (info.Correcto != 1) {
        Anota(Auditoria::Accion::Controlador_Clonado, objetivo, Auditoria::Resultado::Rechazado, desde);
        return;
    }
    // Nothing changes in the database until the controller confirmed the
    // erase: a refused erase leaves its memory, and so its assignments, as
    // they were.
    if (!com.Vaciar_Tarjetas(direccion)) {
        Anota(Auditoria::Accion::Controlador_Clonado, objetivo, Auditoria::Resultado::Rechazado, desde);
        return;
    }
    Carga_Copia(origen, objetivo, com, progreso);
}

} // namespace

std::shared_ptr<ZARVControlador> Controlador(int codigo)
{
    ZARVColeccionControlador *c = Controladores();
    return c ? c->Busca(codigo) : nullptr;
}

ZARVComunicador &Comunicador(ZARVControlador &controlador)
{
    // A controller loaded since the last refresh of the readers list has no
    // command layer yet; opening it creates one (a port that cannot be opened
    // is then reported by the command itself).
    if (!controlador.Comunicador())
        controlador.Abrir_Comunicacion();
    ZARVComunicador *com = controlador.Comunicador();
    if (!com)
        throw std::logic_error("the controller has no command layer");
    com->SetConectado(false);
    return *com;
}

QString Segundos(const QString &hex)
{
    bool decimal = false;
    const int valor = hex.toInt(&decimal, 10);
    return decimal ? QString::number(valor) : Variables::Hex_a_Decimal(hex);
}

QString Version(int version)
{
    const QString cifras = QString::number(version);
    return cifras.left(1) + QLatin1Char('.') + cifras.mid(1, 1);
}

Resultado_Test Test_Controlador(int codigo)
{
    Resultado_Test r;
    r.codigo = codigo;
    const auto c = Controlador(codigo);
    if (!c)
        return r;
    TTest_Informacion info;
    Comunicador(*c).Test_Lector(c->Direccion_Bus(), info);
    r.responde = info.Correcto == 1;
    if (!r.responde)
        return r;
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    r.estado = info.Estado;
    r.cerradura = Segundos(info.Tiempo_Cerradura);
    r.abierta = Segundos(info.Tiempo_Puerta_Abierta);
    r.version = Version(info.Version);
    r.tarjetas = info.Num_Tarjetas;
    r.tarjetas_bd = QString::number(tarjetas ? tarjetas->Cuenta_Tarjetas_Controlador(codigo) : 0);
    return r;
}

void Test_Controladores(const std::vector<int> &codigos,
                        const std::function<void(int posicion, const Resultado_Test &)> &resultado)
{
    Trabajo_Controladores trabajo;
    for (std::size_t i = 0; i < codigos.size(); ++i) {
        const Resultado_Test r = Test_Controlador(codigos[i]);
        if (resultado)
            resultado(static_cast<int>(i), r);
    }
    trabajo.Termina();
}

Alta Alta_Controlador(const Datos_Controlador &datos, Interlocutor &operador)
{
    Nivel::Exige_Administrador();
    if (datos.numero.trimmed().isEmpty() || datos.descripcion.trimmed().isEmpty() || datos.puerto.trimmed().isEmpty()
        || datos.direccion.trimmed().isEmpty()) {
        operador.Mensaje(QStringLiteral("Todos los campos son obligados"), Titulo_Lector);
        return Alta::Campos_Vacios;
    }
    bool numero = false;
    const int direccion = datos.direccion.trimmed().toInt(&numero);
    if (!numero) {
        operador.Mensaje(QStringLiteral("La Direccion debe ser de 0 a 31"), Titulo_Lector);
        return Alta::Direccion_No_Numero;
    }
    if (direccion < 0 || direccion > 31) {
        operador.Mensaje(QStringLiteral("La Direccion debe de ser entre 0 a 31"), Titulo_Lector);
        return Alta::Direccion_Fuera;
    }
    ZARVColeccionControlador *controladores = Controladores();
    if (!controladores)
        return Alta::Sin_Instalacion;
    const int codigo = datos.numero.trimmed().toInt();
    const int puerto = datos.puerto.trimmed().toInt();
    if (controladores->Existe_Numero(QString::number(codigo))) {
        operador.Mensaje(QString::fromUtf8("Código debe de ser único"), Titulo_Lector);
        return Alta::Numero_Repetido;
    }
    if (controladores->Existe_Direccion(direccion, puerto)) {
        operador.Mensaje(QStringLiteral("Direccion controlador ya existente parar este puerto COM"), Titulo_Lector);
        return Alta::Direccion_Repetida;
    }
    ZARVControlador nuevo;
    nuevo.Set_Cod(codigo);
    nuevo.Set_Descripcion(datos.descripcion);
    nuevo.Set_Puerto_Serie(puerto);
    nuevo.Set_Direccion(static_cast<std::uint8_t>(direccion));
    controladores->Inserta(nuevo);
    return Alta::Hecha;
}

std::optional<Tiempos_Puerta> Lee_Tiempos(int codigo)
{
    Nivel::Exige_Administrador();
    const auto c = Controlador(codigo);
    if (!c)
        return std::nullopt;
    // At the controller's own address: a controller at any address but 0
    // does not answer the default address 170.
    TTest_Informacion info;
    Comunicador(*c).Test_Lector(c->Direccion_Bus(), info);
    if (info.Correcto != 1)
        return std::nullopt;
    return Tiempos_Puerta{Segundos(info.Tiempo_Cerradura), Segundos(info.Tiempo_Puerta_Abierta)};
}

bool Guarda_Edicion(const Edicion_Controlador &edicion, Interlocutor &operador)
{
    Nivel::Exige_Administrador();
    if (Fuera_De_Rango(edicion.cerradura, edicion.tiempos_leidos, 1)) {
        operador.Mensaje(Variables::Mensaje(QStringLiteral("Variables_variables_F_edit_controller_2")));
        return false;
    }
    if (Fuera_De_Rango(edicion.abierta, edicion.tiempos_leidos, 0)) {
        operador.Mensaje(Variables::Mensaje(QStringLiteral("Variables_variables_F_edit_controller_1")));
        return false;
    }
    const auto c = Controlador(edicion.codigo);
    if (!c)
        return true;
    ZARVControlador cambiado(*c);
    cambiado.Set_Descripcion(edicion.descripcion);
    // The times go only to a controller that answered when the window
    // opened; its refusal is not reported, the description is stored all
    // the same.
    if (edicion.tiempos_leidos) {
        const bool puestos =
            Comunicador(*c).Enviar_Tiempos(Tiempo(edicion.cerradura), Tiempo(edicion.abierta), c->Direccion_Bus());
        Anota(Auditoria::Accion::Hora_Puesta, *c, Segun(puestos),
              QStringLiteral("lock %1 s, door open %2 s").arg(edicion.cerradura, edicion.abierta));
    }
    Controladores()->Modifica(cambiado);
    return true;
}

bool Elimina_Controlador(int codigo, Interlocutor &operador)
{
    Nivel::Exige_Administrador();
    Trabajo_Controladores trabajo;
    const auto c = Controlador(codigo);
    if (!c)
        return false;
    if (!Confirma(operador, QStringLiteral("Variables_variables_F_Main_11"), *c)) {
        Anota(Auditoria::Accion::Controlador_Baja, *c, Auditoria::Resultado::Cancelado);
        return false;
    }
    Controladores()->Elimina_Con_Tarjetas(*c);
    trabajo.Termina();
    return true;
}

bool Cambia_Master(int codigo, Interlocutor &operador)
{
    Nivel::Exige_Administrador();
    Trabajo_Controladores trabajo;
    const auto c = Controlador(codigo);
    if (!c)
        return false;
    const bool cambiada = Comunicador(*c).Cambiar_Master(c->Direccion_Bus());
    Anota(Auditoria::Accion::Tarjeta_Maestra, *c, Segun(cambiada));
    trabajo.Termina();
    operador.Mensaje(Variables::Mensaje(cambiada ? QStringLiteral("Variables_variables_F_Main_2")
                                                 : QStringLiteral("Variables_variables_F_Main_3")));
    return cambiada;
}

bool Vacia_Tarjetas(int codigo, Interlocutor &operador)
{
    Nivel::Exige_Administrador();
    Trabajo_Controladores trabajo;
    const auto c = Controlador(codigo);
    if (!c)
        return false;
    if (!Confirma(operador, QStringLiteral("Variables_variables_F_Main_12"), *c)) {
        Anota(Auditoria::Accion::Controlador_Vaciado, *c, Auditoria::Resultado::Cancelado);
        return false;
    }
    if (!Comunicador(*c).Vaciar_Tarjetas(c->Direccion_Bus())) {
        Anota(Auditoria::Accion::Controlador_Vaciado, *c, Auditoria::Resultado::Rechazado);
        return false;
    }
    // The assignments stay: a later send loads the cards again.
    {
        TransaccionBD cambio(Controladores()->Conexion_BD());
        Controladores()->Marca_Tarjetas(*c, false);
        Anota(Auditoria::Accion::Controlador_Vaciado, *c, Auditoria::Resultado::Hecho);
        cambio.Confirma();
    }
    trabajo.Termina();
    return true;
}

void Clona(int fuente, const std::vector<int> &destinos, Progreso &progreso)
{
    Nivel::Exige_Administrador();
    Trabajo_Controladores trabajo;
    Cierre_Progreso cierre(progreso);
    const auto origen = Controlador(fuente);
    if (!origen)
        return;
    for (const int destino : destinos) {
        const auto objetivo = Controlador(destino);
        if (!objetivo || objetivo == origen)
            continue;
        progreso.Muestra();
        Clona_En(*origen, *objetivo, progreso);
    }
    trabajo.Termina();
}

} // namespace kv::wf
