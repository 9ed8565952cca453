#pragma once

namespace kv::app {

// The program's run: its windows are created in a fixed order when this is
// constructed (the login window first, then the main window, whose start-up
// connects the databases and opens the installation) and destroyed, in
// reverse order, with it; then the open installation and the main-database
// connection are closed. Tests build the same object on a temporary tree.
class Programa {
public:
    Programa();
    ~Programa();
    Programa(const Programa &) = delete;
    Programa &operator=(const Programa &) = delete;

    // Shows the login window: the program is ready for the operator.
    void Inicia();
    // Inicia, then runs the event loop until the login window is closed
    // (which is also what closing the main window ends with).
    int Ejecuta();
};

} // namespace kv::app
