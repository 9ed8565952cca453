#include "reports/ui/vista_informe.h"

#include "ui/accion.h"
#include "ui/dialogo_fichero.h"
#include "ui/operador.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kv::rep::ui {

// The page on show, at the preview's zoom, with a grey border around it.
class Hoja_Informe : public QWidget {
public:
    explicit Hoja_Informe(Vista_Informe *vista)
        : m_vista(vista)
    {
        setObjectName(QStringLiteral("Hoja_Informe"));
    }
    static constexpr int Borde = 8;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        const QImage &imagen = m_vista->Imagen();
        if (!imagen.isNull())
            p.drawImage(QPoint(Borde, Borde), imagen);
    }

private:
    Vista_Informe *m_vista;
};

namespace {

constexpr double Zoom_Minimo = 0.2;
constexpr double Zoom_Maximo = 6.0;
constexpr double Paso_Zoom = 1.25;

QToolButton *Boton(QWidget *padre, const char *nombre, const QString &texto, const QString &ayuda)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QLatin1String(nombre));
    b->setText(texto);
    b->setToolTip(ayuda);
    b->setAutoRaise(true);
    return b;
}

} // namespace

Vista_Informe::Vista_Informe(QWidget *padre)
    : QWidget(padre)
{
    auto *barra = new QWidget(this);
    barra->setObjectName(QStringLiteral("Barra_Informe"));
    auto *fila = new QHBoxLayout(barra);
    fila->setContentsMargins(2, 2, 2, 2);
    B_Primera = Boton(barra, "B_Primera", QStringLiteral("|<"), QStringLiteral("First page"));
    B_Anterior = Boton(barra, "B_Anterior", QStringLiteral("<"), QStringLiteral("Previous page"));
    L_Pagina = new QLabel(barra);
    L_Pagina->setObjectName(QStringLiteral("L_Pagina"));
    L_Pagina->setMinimumWidth(90);
    L_Pagina->setAlignment(Qt::AlignCenter);
    B_Siguiente = Boton(barra, "B_Siguiente", QStringLiteral(">"), QStringLiteral("Next page"));
    B_Ultima = Boton(barra, "B_Ultima", QStringLiteral(">|"), QStringLiteral("Last page"));
    B_Alejar = Boton(barra, "B_Alejar", QStringLiteral("-"), QStringLiteral("Zoom out"));
    B_Acercar = Boton(barra, "B_Acercar", QStringLiteral("+"), QStringLiteral("Zoom in"));
    B_Ancho = Boton(barra, "B_Ancho", QStringLiteral("<->"), QStringLiteral("Fit width"));
    B_Imprimir = Boton(barra, "B_Imprimir", QStringLiteral("Print"), QStringLiteral("Print"));
    B_Exportar = Boton(barra, "B_Exportar", QStringLiteral("PDF"), QStringLiteral("Export to PDF"));
    for (QWidget *w : {static_cast<QWidget *>(B_Primera), static_cast<QWidget *>(B_Anterior), static_cast<QWidget *>(L_Pagina),
                       static_cast<QWidget *>(B_Siguiente), static_cast<QWidget *>(B_Ultima)})
        fila->addWidget(w);
    fila->addSpacing(12);
    for (QWidget *w : {B_Alejar, B_Acercar, B_Ancho})
        fila->addWidget(w);
    fila->addSpacing(12);
    fila->addWidget(B_Imprimir);
    fila->addWidget(B_Exportar);
    fila->addStretch();

    L_Aviso = new QLabel(this);
    L_Aviso->setObjectName(QStringLiteral("L_Aviso"));
    L_Aviso->setWordWrap(true);
    L_Aviso->setTextInteractionFlags(Qt::TextSelectableByMouse);
    L_Aviso->setStyleSheet(QStringLiteral("QLabel { background: #fff4d6; border: 1px solid #c08000; padding: 8px; }"));
    L_Aviso->hide();

    m_hoja = new Hoja_Informe(this);
    m_desplazamiento = new QScrollArea(this);
    m_desplazamiento->setObjectName(QStringLiteral("Desplazamiento_Informe"));
    m_desplazamiento->setWidget(m_hoja);
    m_desplazamiento->setAlignment(Qt::AlignHCenter);
    m_desplazamiento->setBackgroundRole(QPalette::Dark);

    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->addWidget(barra);
    caja->addWidget(L_Aviso);
    caja->addWidget(m_desplazamiento, 1);

    Save_PDF = new kv::ui::Dialogo_Fichero(QStringLiteral("Save_PDF"), kv::ui::Dialogo_Fichero::Guardar, this);
    Save_PDF->setWindowTitle(QStringLiteral("Export to PDF"));
    Save_PDF->setFiltro(QStringLiteral("PDF|*.pdf|All|*"));

    using kv::ui::Al_Pulsar;
    Al_Pulsar(B_Primera, this, [this] { Ir_A(0); });
    Al_Pulsar(B_Anterior, this, [this] { Ir_A(m_pagina - 1); });
    Al_Pulsar(B_Siguiente, this, [this] { Ir_A(m_pagina + 1); });
    Al_Pulsar(B_Ultima, this, [this] { Ir_A(m_informe ? m_informe->Numero_Paginas() - 1 : 0); });
    Al_Pulsar(B_Alejar, this, [this] { Pon_Zoom(m_zoom / Paso_Zoom); });
    Al_Pulsar(B_Acercar, this, [this] { Pon_Zoom(m_zoom * Paso_Zoom); });
    Al_Pulsar(B_Ancho, this, [this] { Ajusta_Ancho(); });
    Al_Pulsar(B_Imprimir, this, [this] { Imprime(); });
    Al_Pulsar(B_Exportar, this, [this] { Exporta(); });
    Actualiza();
}

Vista_Informe::~Vista_Informe() = default;

void Vista_Informe::Muestra(std::unique_ptr<kv::rep::Informe> informe)
{
    m_informe = std::move(informe);
    L_Aviso->clear();
    L_Aviso->hide();
    m_pagina = 0;
    m_pagina_imagen = -1;
    m_ajustar = true;
    Ajusta_Ancho();
}

void Vista_Informe::Vacia()
{
    m_informe.reset();
    L_Aviso->clear();
    L_Aviso->hide();
    m_pagina = 0;
    m_pagina_imagen = -1;
    m_imagen = QImage();
    Actualiza();
}

void Vista_Informe::Aviso(const QString &texto)
{
    Vacia();
    L_Aviso->setText(texto);
    L_Aviso->show();
    Actualiza();
}

QString Vista_Informe::Texto_Aviso() const
{
    return L_Aviso->isHidden() ? QString() : L_Aviso->text();
}

const QImage &Vista_Informe::Imagen()
{
    if (!m_informe) {
        m_imagen = QImage();
        return m_imagen;
    }
    if (m_pagina_imagen == m_pagina && m_zoom_imagen == m_zoom)
        return m_imagen;
    const kv::rep::Maqueta &maqueta = m_informe->Paginas();
    const qreal ratio = devicePixelRatioF();
    const QSizeF tamano = maqueta.Tamano_Pt() * m_zoom * ratio;
    m_imagen = QImage(tamano.toSize(), QImage::Format_RGB32);
    m_imagen.fill(Qt::white);
    // The image's resolution makes a point m_zoom pixels: the page is
    // painted at the size it is seen, not scaled from another.
    const int puntos_por_metro = qRound(72.0 * m_zoom * ratio / 0.0254);
    m_imagen.setDotsPerMeterX(puntos_por_metro);
    m_imagen.setDotsPerMeterY(puntos_por_metro);
    {
        QPainter p(&m_imagen);
        p.setRenderHint(QPainter::Antialiasing);
        maqueta.Dibuja(p, m_pagina);
    }
    m_imagen.setDevicePixelRatio(ratio);
    m_pagina_imagen = m_pagina;
    m_zoom_imagen = m_zoom;
    return m_imagen;
}

void Vista_Informe::Ir_A(int pagina)
{
    if (!m_informe)
        return;
    m_pagina = std::clamp(pagina, 0, m_informe->Numero_Paginas() - 1);
    Actualiza();
    m_desplazamiento->verticalScrollBar()->setValue(0);
}

void Vista_Informe::Pon_Zoom(double zoom)
{
    m_ajustar = false;
    m_zoom = std::clamp(zoom, Zoom_Minimo, Zoom_Maximo);
    Actualiza();
}

void Vista_Informe::Ajusta_Ancho()
{
    m_ajustar = true;
    if (m_informe) {
        // The width left once a vertical scroll bar shows, as it does for
        // any page taller than the area: fitted, the page never scrolls sideways.
        const double ancho = m_desplazamiento->width() - 2 * m_desplazamiento->frameWidth()
                             - m_desplazamiento->verticalScrollBar()->sizeHint().width() - 2 * Hoja_Informe::Borde;
        m_zoom = std::clamp(ancho / m_informe->Paginas().Tamano_Pt().width(), Zoom_Minimo, Zoom_Maximo);
    }
    Actualiza();
}

void Vista_Informe::Imprime()
{
    if (!m_informe)
        return;
    const kv::rep::Maqueta &maqueta = m_informe->Paginas();
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setFullPage(true);
    impresora.setPageLayout(maqueta.Disposicion());
    impresora.setDocName(maqueta.Titulo());
    QPrintDialog dialogo(&impresora, this);
    dialogo.setObjectName(QStringLiteral("PrintDialog1"));
    dialogo.setMinMax(1, m_informe->Numero_Paginas());
    if (kv::ui::Operador::Modal(&dialogo) != QDialog::Accepted)
        return;
    const bool parte = impresora.printRange() == QPrinter::PageRange;
    if (!maqueta.Imprime(impresora, parte ? impresora.fromPage() : 1, parte ? impresora.toPage() : 0))
        kv::ui::Operador::Error(this, QStringLiteral("The report could not be printed on %1").arg(impresora.printerName()));
}

void Vista_Informe::Exporta()
{
    if (!m_informe)
        return;
    QString fichero = kv::ui::Operador::Fichero(this, *Save_PDF);
    if (fichero.isEmpty())
        return;
    if (QFileInfo(fichero).suffix().isEmpty())
        fichero += QStringLiteral(".pdf");
    try {
        m_informe->Exporta_Pdf(fichero);
    } catch (const kv::rep::Error_Informe &e) {
        kv::ui::Operador::Error(this, e.Texto());
    }
}

void Vista_Informe::resizeEvent(QResizeEvent *evento)
{
    QWidget::resizeEvent(evento);
    if (m_ajustar && m_informe)
        Ajusta_Ancho();
}

void Vista_Informe::Actualiza()
{
    const int paginas = m_informe ? m_informe->Numero_Paginas() : 0;
    L_Pagina->setText(m_informe ? QStringLiteral("%1 of %2").arg(m_pagina + 1).arg(paginas) : QString());
    B_Primera->setEnabled(m_informe && m_pagina > 0);
    B_Anterior->setEnabled(m_informe && m_pagina > 0);
    B_Siguiente->setEnabled(m_informe && m_pagina + 1 < paginas);
    B_Ultima->setEnabled(m_informe && m_pagina + 1 < paginas);
    B_Alejar->setEnabled(m_informe && m_zoom > Zoom_Minimo);
    B_Acercar->setEnabled(m_informe && m_zoom < Zoom_Maximo);
    // Fitting again a page that is fitted already would do nothing.
    B_Ancho->setEnabled(m_informe && !m_ajustar);
    for (QToolButton *b : {B_Imprimir, B_Exportar})
        b->setEnabled(bool(m_informe));
    m_desplazamiento->setVisible(bool(m_informe) || L_Aviso->isHidden());
    const QSize tamano = m_informe ? (m_informe->Paginas().Tamano_Pt() * m_zoom).toSize()
                                         + QSize(2 * Hoja_Informe::Borde, 2 * Hoja_Informe::Borde)
                                   : QSize(0, 0);
    m_hoja->resize(tamano);
    m_hoja->update();
}

} // namespace kv::rep::ui
