#pragma once

#include "model/zarvcoleccion.h"
#include "model/zarvtarjeta.h"

#include <QHash>
#include <QStringList>
#include <vector>

// The cards of the open installation, in cardholder-number order ("USUARIO")
// by default, with the card-side statements on zarvcontroladortarjeta. Codes
// are compared as texts, exactly: "012345678" is not "0012345678".
//
// Inserta, Modifica and Inserta_Con_Usuario reload, so a caller that built a
// card object looks the loaded copy up with Busca afterwards; Elimina and the
// assignment operations do not reload.
class ZARVColeccionTarjeta : public ZARVColeccion {
public:
    ZARVColeccionTarjeta(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner);

    // Reloads the cards, each with its cardholder and its assignments. The
    // cardholder and controller collections must be loaded.
    void Refrescar() override;

    std::shared_ptr<ZARVTarjeta> Elemento(int indice = -1) const;
    // The first loaded card with exactly that code, or none.
    std::shared_ptr<ZARVTarjeta> Busca(const QString &codigo) const;
    // Asks the database, not the loaded list.
    bool Existe(const QString &codigo);

    // Errors are swallowed: a code already in use leaves the database as it
    // was and reports nothing, so callers check Existe first.
    void Inserta(const ZARVTarjeta &tarjeta);
    // The card stored with cardholder id instead of its own; errors reach the caller.
    void Inserta_Con_Usuario(const ZARVTarjeta &tarjeta, int id);
    // The card and one pending assignment per entry of its Controladores, as
    // one change: on an error (the code in use, say) nothing is stored and
    // the error reaches the caller.
    bool Inserta_Con_Asignaciones(const ZARVTarjeta &tarjeta);
    bool Modifica(const ZARVTarjeta &tarjeta);
    void Elimina(const ZARVTarjeta &tarjeta);
    void Quita_Asignaciones(const ZARVTarjeta &tarjeta);
    void Elimina_Todas();
    void Quita_Todas_Asignaciones();
    // Errors are swallowed: a pair already assigned stays as it was.
    void Asigna(const ZARVTarjeta &tarjeta, int cod, bool almacenada);
    void Marca_Pendiente(const QString &codigo, int cod);
    void Marca_Todas_Almacenadas();
    // Every assignment pending: what a send has not loaded yet.
    void Marca_Todas_Pendientes();
    // One assignment stored, once its controller confirmed the card.
    void Marca_Almacenada(const QString &codigo, int cod);
    int Cuenta_Asignaciones();
    // Every assignment in controller order, as many as the two lists hold:
    // size both with Cuenta_Asignaciones() just before.
    void Lee_Asignaciones(std::vector<int> &numeros, QStringList &codigos);
    int Cuenta_Tarjetas_Controlador(int cod);
    bool Esta_Asignada(const QString &codigo);

    // Writes the card into every loaded controller where it is pending, each
    // at its own bus address, and marks each assignment the controller confirms as
    // stored. False when any controller did not confirm; those stay pending.
    // A port that cannot be opened raises the port's error.
    bool Envia_Pendientes(const ZARVTarjeta &tarjeta);

protected:
    // The two halves of Refrescar: the cards of the card statement, then
    // their assignments. A reload through a different assignment read must
    // give every card the same entries in the same order.
    std::vector<std::shared_ptr<ZARVTarjeta>> Lee_Tarjetas();
    virtual void Lee_Asignaciones_De(const std::vector<std::shared_ptr<ZARVTarjeta>> &tarjetas);

private:
    void Inserta_Fila(const ZARVTarjeta &tarjeta, int id);
    void Publica(std::vector<std::shared_ptr<ZARVTarjeta>> tarjetas);

    // Code to position in Elementos, first occurrence: every incoming event
    // looks its card up, and a scan of ten thousand cards each time is waste.
    QHash<QString, int> m_por_codigo;
};
