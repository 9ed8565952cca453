#include "app/tf_exp_imp.h"

#include "app/disposicion.h"
#include "app/tf_imp_xls.h"
#include "app/ventanas_libros.h"

#include "lang/ui/traducir.h"
#include "model/variables.h"
#include "ui/accion.h"
#include "ui/dialogo_fichero.h"
#include "ui/operador.h"
#include "workbooks/libro.h"
#include "workflows/libro_tarjetas.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Mensaje(const char *clave)
{
    return Variables::Mensaje(QLatin1String(clave));
}

// The export writes the .xlsx format whatever name was typed: a name
// without that extension gets it, so that the file opens as what it is.
QString Con_Extension_Xlsx(const QString &fichero)
{
    const QString sufijo = QFileInfo(fichero).suffix().toLower();
    if (sufijo == QLatin1String("xlsx"))
        return fichero;
    if (sufijo == QLatin1String("xls"))
        return fichero + QLatin1Char('x');
    return fichero + QStringLiteral(".xlsx");
}

} // namespace

TF_Exp_imp::TF_Exp_imp(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("F_Exp_imp"));
    setWindowTitle(QStringLiteral("Export / Import"));
    setModal(true);

    Label6 = disposicion::Etiqueta(this, "Label6", QStringLiteral("Export or import the cards and their holders."));
    Label6->setWordWrap(true);
    SpeedButton4 = disposicion::Boton(this, "SpeedButton4", QStringLiteral("Exportar"));
    SpeedButton15 = disposicion::Boton(this, "SpeedButton15", QStringLiteral("Importar"));
    B_cancel = disposicion::Boton(this, "B_cancel", QStringLiteral("Cancelar"));
    Save = new kv::ui::Dialogo_Fichero(QStringLiteral("Save"), kv::ui::Dialogo_Fichero::Guardar, this);
    Save->setFiltro(QStringLiteral("Excel Files|*.xlsx"));
    open = new kv::ui::Dialogo_Fichero(QStringLiteral("open"), kv::ui::Dialogo_Fichero::Abrir, this);
    open->setWindowTitle(QStringLiteral("Import installation"));
    open->setFiltro(QStringLiteral("Excel Files|*.xlsx;*.xls|All|*"));

    auto *botones = new QHBoxLayout;
    botones->addWidget(SpeedButton4);
    botones->addWidget(SpeedButton15);
    botones->addStretch();
    botones->addWidget(B_cancel);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label6);
    caja->addLayout(botones);

    kv::ui::Al_Pulsar(SpeedButton4, this, [this] { SpeedButton4Click(); });
    kv::ui::Al_Pulsar(SpeedButton15, this, [this] { SpeedButton15Click(); });
    connect(B_cancel, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void TF_Exp_imp::SpeedButton4Click()
{
    const QString elegido = kv::ui::Operador::Fichero(this, *Save);
    if (elegido.isEmpty()) {
        kv::ui::Operador::Mensaje(this, Mensaje("Variables_variables_F_Exp_imp_2"));
        return;
    }
    try {
        kv::wf::Exporta_Libro(Con_Extension_Xlsx(elegido));
    } catch (const kv::libros::Error_Libro &e) {
        // The window stays open: closing it would pass for a saved file.
        kv::ui::Operador::Mensaje(this, Mensaje("Variables_variables_F_Exp_imp_3") + QLatin1Char('\n')
                                            + QString::fromUtf8(e.what()));
        return;
    }
    accept();
}

void TF_Exp_imp::SpeedButton15Click()
{
    const QString elegido = kv::ui::Operador::Fichero(this, *open);
    if (elegido.isEmpty()) {
        kv::ui::Operador::Mensaje(this, Mensaje("Variables_variables_F_Exp_imp_2"));
        return;
    }
    m_fichero = elegido;
    if (Ventanas::F_imp_XLS)
        kv::ui::Operador::Modal(Ventanas::F_imp_XLS);
}
