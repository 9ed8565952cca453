#pragma once

#include <QString>

class QTimer;
class QWidget;

namespace kv::ui {

class Selector_Instalaciones;

// What the windows of other parts of the program ask of the main window:
// switching installations, rebuilding its lists after a change, testing the
// readers, holding the maintenance timer off. The main window registers
// itself here when it is created, so those windows need not know its class.
class Principal {
public:
    virtual ~Principal();

    // The main window; none before it is created and after it is gone.
    static Principal *Actual();
    static void Registra(Principal *principal);

    virtual QWidget *Ventana() = 0;
    virtual Selector_Instalaciones &Selector() = 0;
    // Loads the installation list and opens the installation with that code
    // (the first one when the code is empty or unknown).
    virtual void Carga_Instalaciones(const QString &codigo) = 0;
    // Opens the installation with that code; the previous one is closed by the caller.
    virtual void Abre_Instalacion(const QString &codigo) = 0;

    virtual void Refresca_Lista_INI() = 0;
    virtual void Refrescar_usuariosII() = 0;
    virtual void Refrescar_tarjetas() = 0;
    virtual void Refresca_Logins() = 0;
    virtual void Refrescar_Controladores() = 0;
    // Tests every reader and shows the readers page.
    virtual void B_Test_TODOSClick() = 0;

    // The periodic maintenance (reader test, release of expired cards).
    virtual QTimer *Temporizador_Mantenimiento() = 0;
};

} // namespace kv::ui
