#pragma once

#include <QString>

#include <functional>

// The reading reader (setting USA_LECTOR) lent to an open window: while the
// window holds one of these, every event of that reader goes to the window
// instead of the incidence log, whether registering is on or off.
namespace kv::wf {

class Lectura_Tarjetas {
public:
    // Takes the reading reader when one is in use (Lector_Activo) and the
    // installation has it; leida gets each of its events' card code as the
    // controller sent it. A port that cannot be opened raises its error.
    explicit Lectura_Tarjetas(std::function<void(const QString &codigo)> leida);
    // Gives the reader back: its events go to the log again, and its line
    // closes unless registering keeps it.
    ~Lectura_Tarjetas();
    Lectura_Tarjetas(const Lectura_Tarjetas &) = delete;
    Lectura_Tarjetas &operator=(const Lectura_Tarjetas &) = delete;

    bool Activa() const { return m_cod >= 0; }

    // Used by the listening discipline: a workflow that suspends listening
    // closes this line as well, and puts it back afterwards.
    bool Linea_Propia() const { return m_linea_propia; }
    void Suspende();
    void Reanuda();

private:
    int m_cod = -1;
    int m_puerto = 0;
    // The line is open for this reader alone (registering is off).
    bool m_linea_propia = false;
};

} // namespace kv::wf
