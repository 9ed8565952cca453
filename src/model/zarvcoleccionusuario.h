#pragma once

#include "model/zarvcoleccion.h"
#include "model/zarvusuario.h"

#include <QHash>

// The cardholders of the open installation, in the order of Orden ("id" by
// default). Every write reloads the list; a failed statement leaves the list
// as it was.
class ZARVColeccionUsuario : public ZARVColeccion {
public:
    ZARVColeccionUsuario(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner);

    // Cardholders reload through Carga; Refrescar does the same.
    void Refrescar() override;
    void Carga();

    std::shared_ptr<ZARVUsuario> Elemento(int indice = -1) const;
    // The first loaded cardholder with that number, or none.
    std::shared_ptr<ZARVUsuario> Busca(int id) const;
    // The number of the first cardholder with exactly these names, or -1.
    int Busca_Id(const QString &nombre, const QString &apellidos);

    // Stores a new cardholder and gives its number in id. The object passed
    // keeps its fields but not the number; the loaded copy is Busca(id).
    void Inserta(const ZARVUsuario &usuario, int &id);
    bool Modifica(const ZARVUsuario &usuario);
    // The cardholder's cards are left as they are.
    void Elimina(const ZARVUsuario &usuario);
    void Elimina_Todos();
    // usuario.Tarjetas_Usuario().
    TTarjetaLista Tarjetas_Usuario(const ZARVUsuario &usuario) const;

private:
    // Number to position in Elementos, first occurrence: the card load looks
    // every card's cardholder up, which a scan would make quadratic.
    QHash<int, int> m_por_id;
};
