#include "app/vista_auditoria.h"

#include "app/disposicion.h"

#include "model/errorbd.h"
#include "model/globales.h"
#include "ui/accion.h"
#include "ui/dialogo_fichero.h"
#include "ui/listas.h"
#include "ui/operador.h"
#include "workflows/registro_operadores.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <iterator>

using namespace disposicion;

namespace {

QDateEdit *Fecha(QWidget *padre, const char *nombre, const QDate &dia)
{
    auto *campo = new QDateEdit(dia, padre);
    campo->setObjectName(QLatin1String(nombre));
    campo->setCalendarPopup(true);
    campo->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return campo;
}

} // namespace

Vista_Auditoria::Vista_Auditoria(QWidget *padre)
    : QGroupBox(QStringLiteral("Operators' log"), padre)
{
    setObjectName(QStringLiteral("GB_Auditoria"));
    const QDate hoy = QDate::currentDate();
    Desde = Fecha(this, "DT_Auditoria_Desde", hoy.addMonths(-1));
    Hasta = Fecha(this, "DT_Auditoria_Hasta", hoy);
    Login = new QComboBox(this);
    Login->setObjectName(QStringLiteral("CB_Auditoria_Login"));
    Login->setEditable(true);
    Login->setMinimumWidth(140);
    Objeto = new QLineEdit(this);
    Objeto->setObjectName(QStringLiteral("E_Auditoria_Objeto"));
    Objeto->setPlaceholderText(QStringLiteral("card, cardholder, controller or name"));
    Objeto->setMaxLength(100);
    B_Buscar = Boton(this, "B_Auditoria_Buscar", QStringLiteral("Search"));
    B_Mas = Boton(this, "B_Auditoria_Mas", QStringLiteral("More"));
    B_Exportar = Boton(this, "B_Auditoria_Exportar", QStringLiteral("Export"));

    auto *filtros = new QHBoxLayout;
    filtros->addWidget(Etiqueta(this, "L_Auditoria_Desde", QStringLiteral("From")));
    filtros->addWidget(Desde);
    filtros->addWidget(Etiqueta(this, "L_Auditoria_Hasta", QStringLiteral("To")));
    filtros->addWidget(Hasta);
    filtros->addWidget(Etiqueta(this, "L_Auditoria_Login", QStringLiteral("Login")));
    filtros->addWidget(Login);
    filtros->addWidget(Etiqueta(this, "L_Auditoria_Objeto", QStringLiteral("Object")));
    filtros->addWidget(Objeto, 1);
    filtros->addWidget(B_Buscar);
    filtros->addWidget(B_Exportar);

    Lista = kv::ui::Nueva_Lista(this, QStringLiteral("Lista_Auditoria"), kv::wf::Columnas_Auditoria(), false);
    // Time, login, action, card, cardholder, name, controller, outcome; the
    // detail takes the rest.
    const int anchos[] = {130, 80, 130, 90, 75, 150, 70, 70};
    for (int i = 0; i < int(std::size(anchos)); ++i)
        Lista->setColumnWidth(i, anchos[i]);

    auto *pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(B_Mas);

    auto *caja = new QVBoxLayout(this);
    caja->addLayout(filtros);
    caja->addWidget(Lista, 1);
    caja->addLayout(pie);

    kv::ui::Al_Pulsar(B_Buscar, this, [this] { Busca(); });
    kv::ui::Al_Pulsar(B_Mas, this, [this] { B_MasClick(); });
    kv::ui::Al_Pulsar(B_Exportar, this, [this] { B_ExportarClick(); });
    // A login picked from the list, a day picked, or Return in the object
    // field search at once; the Search button does after typing.
    const auto busca = [this] { kv::ui::Ejecuta_Accion(this, [this] { Busca(); }); };
    connect(Objeto, &QLineEdit::returnPressed, this, busca);
    connect(Login, &QComboBox::activated, this, busca);
    connect(Desde, &QDateEdit::dateChanged, this, busca);
    connect(Hasta, &QDateEdit::dateChanged, this, busca);
}

Auditoria::Filtro Vista_Auditoria::Filtro() const
{
    Auditoria::Filtro f;
    f.desde = Desde->date();
    f.hasta = Hasta->date();
    f.login = Login->currentText().trimmed();
    f.objeto = Objeto->text().trimmed();
    return f;
}

void Vista_Auditoria::Refrescar()
{
    const QString elegido = Login->currentText();
    const QSignalBlocker quieto(Login);
    Login->clear();
    Login->addItem(QString());
    if (Globales::Servidor) {
        for (const QString &t : Globales::Servidor->Lista_Logins())
            Login->addItem(t.section(QLatin1Char('*'), 0, 0));
    }
    Login->addItem(QStringLiteral("console"));
    Login->setCurrentText(elegido);
    Busca();
}

void Vista_Auditoria::Busca()
{
    Lista->clear();
    m_ultima.reset();
    B_Mas->setEnabled(false);
    setTitle(QStringLiteral("Operators' log"));
    if (!Globales::Sistema)
        return;
    try {
        Anade(kv::wf::Pagina_Auditoria(Filtro()));
    } catch (const ErrorBD &e) {
        // The installation's file is missing or damaged: the logins above
        // stay usable, and the log says why it is empty.
        setTitle(QStringLiteral("Operators' log: %1").arg(e.Texto().section(QLatin1Char('\n'), 0, 0)));
    }
}

void Vista_Auditoria::B_MasClick()
{
    if (Globales::Sistema && m_ultima)
        Anade(kv::wf::Pagina_Auditoria(Filtro(), &*m_ultima));
}

void Vista_Auditoria::Anade(const std::vector<Auditoria::Entrada> &entradas)
{
    QList<QTreeWidgetItem *> filas;
    filas.reserve(qsizetype(entradas.size()));
    for (const Auditoria::Entrada &e : entradas)
        filas << new QTreeWidgetItem(kv::wf::Celdas_Auditoria(e));
    Lista->addTopLevelItems(filas);
    if (!entradas.empty())
        m_ultima = entradas.back();
    // A full screen may have more behind it.
    B_Mas->setEnabled(int(entradas.size()) == kv::wf::Entradas_Por_Pagina);
}

void Vista_Auditoria::B_ExportarClick()
{
    if (!Globales::Sistema)
        return;
    kv::ui::Dialogo_Fichero dialogo(QStringLiteral("SaveDialog_Auditoria"), kv::ui::Dialogo_Fichero::Guardar, this);
    dialogo.setWindowTitle(QStringLiteral("Export the operators' log"));
    dialogo.setFiltro(QStringLiteral("Excel workbook|*.xlsx"));
    QString fichero = kv::ui::Operador::Fichero(window(), dialogo);
    if (fichero.isEmpty())
        return;
    if (!fichero.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        fichero += QLatin1String(".xlsx");
    const int n = kv::wf::Exporta_Auditoria(Filtro(), fichero);
    kv::ui::Operador::Mensaje(window(), QStringLiteral("%1 entries written to %2").arg(n).arg(fichero));
    Busca();
}
