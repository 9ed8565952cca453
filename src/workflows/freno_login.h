#pragma once

// How long the login window waits after wrong passwords: nothing for the
// first four in a row, then 1 s, doubling at each further one up to 30 s.
// A right password starts the count again.
namespace kv::wf {

class Freno_Login {
public:
    static constexpr int Fallos_Libres = 4;
    static constexpr int Espera_Maxima = 30;

    // Counts a wrong password; the seconds to wait before the next try.
    int Fallo();
    void Acierto() { m_fallos = 0; }
    int Fallos() const { return m_fallos; }

private:
    int m_fallos = 0;
};

} // namespace kv::wf
