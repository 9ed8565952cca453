#pragma once

#include <QObject>

// The incidence list printed from its preview: what reaches the printer,
// rows with markup characters included, an empty list's title page, and the
// fonts and layout of the document behind it.
class TestImpresionIncidencias : public QObject {
    Q_OBJECT
private slots:
    void imprimeDesdeLaVistaPrevia();
    void documento();
};
