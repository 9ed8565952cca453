#pragma once

#include "reports/informe.h"

#include <QImage>
#include <QWidget>

#include <memory>

class QLabel;
class QScrollArea;
class QToolButton;

namespace kv::ui {
class Dialogo_Fichero;
}

namespace kv::rep::ui {

class Hoja_Informe;

// The report preview of the Reports page: one page at a time, painted only
// when it is shown, under a tool bar to move through the pages, zoom, print
// and export to PDF. In place of a report it may show a notice saying why
// there is none.
class Vista_Informe : public QWidget {
    Q_OBJECT
public:
    explicit Vista_Informe(QWidget *padre = nullptr);
    ~Vista_Informe() override;

    // Shows the report from its first page, fitted to the width.
    void Muestra(std::unique_ptr<kv::rep::Informe> informe);
    // No report and no notice.
    void Vacia();
    // The notice instead of any report.
    void Aviso(const QString &texto);

    const kv::rep::Informe *Informe() const { return m_informe.get(); }
    int Pagina() const { return m_pagina; } // 0-based
    double Zoom() const { return m_zoom; }  // pixels per point
    QString Texto_Aviso() const;
    // The page on show as painted, for the page area and tests.
    const QImage &Imagen();

    void Ir_A(int pagina);
    void Pon_Zoom(double zoom);
    void Ajusta_Ancho();
    void Imprime();
    void Exporta();

    QToolButton *B_Primera;
    QToolButton *B_Anterior;
    QToolButton *B_Siguiente;
    QToolButton *B_Ultima;
    QLabel *L_Pagina;
    QToolButton *B_Alejar;
    QToolButton *B_Acercar;
    QToolButton *B_Ancho;
    QToolButton *B_Imprimir;
    QToolButton *B_Exportar;
    QLabel *L_Aviso;
    kv::ui::Dialogo_Fichero *Save_PDF;

protected:
    void resizeEvent(QResizeEvent *evento) override;

private:
    void Actualiza();

    std::unique_ptr<kv::rep::Informe> m_informe;
    int m_pagina = 0;
    double m_zoom = 1.0;
    bool m_ajustar = true; // the zoom follows the width until the operator picks one
    QImage m_imagen;
    int m_pagina_imagen = -1;
    double m_zoom_imagen = 0;
    QScrollArea *m_desplazamiento;
    Hoja_Informe *m_hoja;
};

} // namespace kv::rep::ui
