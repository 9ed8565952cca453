#pragma once

#include <QObject>

// The installation management window on a running program: the delete
// button's state, create, delete, switch (titles, the remembered
// installation, the lines and listening), export and import, and imports
// that are refused with the installation left as it was.
class TestGestionBD : public QObject {
    Q_OBJECT
private slots:
    void abiertaDesdeParametros();
    void unaSolaInstalacion();
    void crear();
    void eliminar();
    void sufijosTrasDosCambios();
    void recordada_data();
    void recordada();
    void exportarEImportar();
    void importacionRechazada_data();
    void importacionRechazada();
    void registroSigueALaInstalacion();
};
