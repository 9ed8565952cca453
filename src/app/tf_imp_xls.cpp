#include "app/tf_imp_xls.h"

#include "app/disposicion.h"
#include "app/interlocutor_ventanas.h"
#include "app/tf_exp_imp.h"
#include "app/ventanas_lectores.h"
#include "app/ventanas_libros.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcontrolador.h"
#include "ui/accion.h"
#include "ui/cursor_espera.h"
#include "ui/listas.h"
#include "ui/operador.h"
#include "workbooks/libro.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Mensaje(const char *clave)
{
    return Variables::Mensaje(QLatin1String(clave));
}

// The refused rows as "row: code" lines; a long list is cut, with the count
// of the rest, so that the message still fits the screen.
QString Lista_Rechazadas(const std::vector<kv::wf::Fila_Rechazada> &rechazadas)
{
    constexpr std::size_t Mostradas = 20;
    QStringList lineas;
    for (std::size_t i = 0; i < rechazadas.size() && i < Mostradas; ++i)
        lineas << QStringLiteral("%1: %2").arg(rechazadas[i].fila).arg(rechazadas[i].texto.left(40));
    if (rechazadas.size() > Mostradas)
        lineas << QStringLiteral("... +%1").arg(rechazadas.size() - Mostradas);
    return lineas.join(QLatin1Char('\n'));
}

} // namespace

TF_imp_XLS::TF_imp_XLS(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_imp_XLS"));
    setWindowTitle(QStringLiteral("Import"));
    setModal(true);

    Label6 = disposicion::Etiqueta(this, "Label6", QStringLiteral("Cards to import"));
    Lista1 = kv::ui::Nueva_Lista(this, QStringLiteral("Lista1"),
                                 {QStringLiteral("Card"), QStringLiteral("Name"), QStringLiteral("Second name")}, false);
    Lista1->setColumnWidth(0, 110);
    Lista1->setColumnWidth(1, 140);
    xpGroupBox1 = new QGroupBox(QStringLiteral("Readers"), this);
    xpGroupBox1->setObjectName(QStringLiteral("xpGroupBox1"));
    CH2 = new QListWidget(xpGroupBox1);
    CH2->setObjectName(QStringLiteral("CH2"));
    (new QVBoxLayout(xpGroupBox1))->addWidget(CH2);
    xpGroupBox2 = new QGroupBox(QStringLiteral("Import mode"), this);
    xpGroupBox2->setObjectName(QStringLiteral("xpGroupBox2"));
    R4 = new QRadioButton(QString::fromUtf8("Añadir las tarjetas no existentes"), xpGroupBox2);
    R4->setObjectName(QStringLiteral("R4"));
    R4->setChecked(true);
    R3 = new QRadioButton(QStringLiteral("Insertar borrando tarjetas antiguas"), xpGroupBox2);
    R3->setObjectName(QStringLiteral("R3"));
    auto *modos = new QVBoxLayout(xpGroupBox2);
    modos->addWidget(R4);
    modos->addWidget(R3);
    B_add = disposicion::Boton(this, "B_add", QStringLiteral("Add"));
    B_cancel = disposicion::Boton(this, "B_cancel", QStringLiteral("Cancel"));

    auto *derecha = new QVBoxLayout;
    derecha->addWidget(xpGroupBox1, 1);
    derecha->addWidget(xpGroupBox2);
    auto *centro = new QHBoxLayout;
    centro->addWidget(Lista1, 2);
    centro->addLayout(derecha, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_add);
    botones->addWidget(B_cancel);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label6);
    caja->addLayout(centro, 1);
    caja->addLayout(botones);
    resize(640, 380);

    kv::ui::Al_Pulsar(B_add, this, [this] { B_addClick(); });
    connect(B_cancel, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void TF_imp_XLS::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    kv::ui::Ejecuta_Accion(this, [this] { FormShow(); });
}

void TF_imp_XLS::FormShow()
{
    CH2->clear();
    Lista1->clear();
    m_libro = {};
    m_leido = false;
    if (ZARVColeccionControlador *c = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr) {
        for (int i = 0; i < c->Cuenta(); ++i) {
            const auto ctl = c->Elemento(i);
            auto *entrada = new QListWidgetItem(QStringLiteral("%1 %2").arg(ctl->Cod()).arg(ctl->Descripcion()), CH2);
            entrada->setFlags(entrada->flags() | Qt::ItemIsUserCheckable);
            entrada->setCheckState(Qt::Checked);
            entrada->setData(Qt::UserRole, ctl->Cod());
        }
    }
    const QString fichero = Ventanas::F_Exp_imp ? Ventanas::F_Exp_imp->Fichero_Importacion() : QString();
    try {
        const kv::ui::Cursor_Espera espera;
        m_libro = kv::wf::Lee_Libro_Importacion(fichero);
    } catch (const kv::libros::Error_Libro &e) {
        kv::ui::Operador::Mensaje(this, Mensaje("Variables_variables_F_Exp_imp_1") + QLatin1Char('\n')
                                            + QString::fromUtf8(e.what()));
        return;
    }
    m_leido = true;
    QList<QTreeWidgetItem *> filas;
    for (std::size_t i = 0; i < m_libro.filas.size() && i < std::size_t(Filas_Vista); ++i) {
        const kv::wf::Fila_Libro &f = m_libro.filas[i];
        filas << new QTreeWidgetItem(QStringList{f.codigo, f.nombre, f.apellidos});
    }
    if (m_libro.filas.size() > std::size_t(Filas_Vista))
        filas << new QTreeWidgetItem(QStringList{QStringLiteral("+%1").arg(m_libro.filas.size() - Filas_Vista)});
    Lista1->addTopLevelItems(filas);
    if (!m_libro.rechazadas.empty())
        kv::ui::Operador::Mensaje(this, Mensaje("Variables_variables_F_Exp_imp_4") + QLatin1Char('\n')
                                            + Lista_Rechazadas(m_libro.rechazadas));
}

void TF_imp_XLS::B_addClick()
{
    // However the import ends, the buttons come back and the window closes.
    struct Final {
        TF_imp_XLS *v;
        ~Final()
        {
            v->B_add->setEnabled(true);
            v->B_cancel->setEnabled(true);
            v->accept();
        }
    } final{this};
    if (!m_leido)
        return;
    std::vector<int> lectores;
    for (int i = 0; i < CH2->count(); ++i)
        if (CH2->item(i)->checkState() == Qt::Checked)
            lectores.push_back(CH2->item(i)->data(Qt::UserRole).toInt());
    B_add->setEnabled(false);
    B_cancel->setEnabled(false);
    Progreso_Ventana progreso(Ventanas::F_Muestra_recep);
    const kv::wf::Modo_Importacion modo = R3->isChecked() ? kv::wf::Modo_Importacion::Reemplazar
                                                          : kv::wf::Modo_Importacion::Anadir;
    try {
        const kv::wf::Resultado_Importacion r = kv::wf::Importa_Libro(m_libro, modo, lectores, progreso);
        QString texto = Mensaje("Variables_variables_F_Exp_imp_5").arg(r.importadas).arg(r.saltadas).arg(r.rechazadas);
        if (r.importadas > 0 && !lectores.empty())
            texto += QLatin1Char('\n') + Mensaje("Variables_variables_F_Exp_imp_6");
        kv::ui::Operador::Mensaje(this, texto);
    } catch (const kv::wf::Importacion_Fallida &e) {
        kv::ui::Operador::Mensaje(this, Mensaje("Variables_variables_F_Exp_imp_7").arg(e.Fila()) + QLatin1Char('\n')
                                            + e.Motivo());
    }
}
