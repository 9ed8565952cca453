#pragma once

#include <QObject>
#include <QString>

namespace kv::ui {

// A file dialog as a window declares it: a named object carrying the title
// (translated like any other text), the filter and the starting folder. The
// dialog itself only appears when Operador::Fichero asks for a file.
class Dialogo_Fichero : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString windowTitle READ windowTitle WRITE setWindowTitle)
public:
    enum Modo { Abrir, Guardar };

    Dialogo_Fichero(const QString &nombre, Modo modo, QObject *padre);

    Modo modo() const { return m_modo; }
    QString windowTitle() const { return m_titulo; }
    void setWindowTitle(const QString &titulo) { m_titulo = titulo; }
    // In the window definitions' form, "Text Files|*.txt|All|*": pairs of a
    // description and its patterns.
    QString filtro() const { return m_filtro; }
    void setFiltro(const QString &filtro) { m_filtro = filtro; }
    QString carpeta() const { return m_carpeta; }
    void setCarpeta(const QString &carpeta) { m_carpeta = carpeta; }

    // The same filter in QFileDialog's form: "Text Files (*.txt);;All (*)".
    QString Filtro_Qt() const;

private:
    Modo m_modo;
    QString m_titulo;
    QString m_filtro;
    QString m_carpeta;
};

} // namespace kv::ui
