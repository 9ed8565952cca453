#pragma once

#include <QObject>

// The "E/I" button's windows: an export that reads back as the database, an
// import with readers and mode ticked, and the failures the operator is told.
class TestLibros : public QObject {
    Q_OBJECT
private slots:
    void exportaEImportaReemplazando();
    void exportacionFallidaLoDice();
    void libroIlegibleNoCambiaNada();
};
