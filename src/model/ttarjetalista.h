#pragma once

#include <memory>
#include <vector>

class ZARVTarjeta;

// A card and whether it is stored in a controller's memory, as the card lists
// of a controller and of a cardholder give them. The card is shared: a list a
// window keeps stays valid after the card collection reloads.
struct TTarjetaElemento {
    std::shared_ptr<ZARVTarjeta> Tarjeta;
    bool Almacenada = false;
};

using TTarjetaLista = std::vector<TTarjetaElemento>;
