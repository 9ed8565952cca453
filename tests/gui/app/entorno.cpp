#include "entorno.h"

#include "fbtest.h"

#include "app/tf_login.h"
#include "app/ventanas.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

bool ejecuta(const QString &fichero, const QStringList &sentencias)
{
    kv::test::FbConnection c(fichero);
    if (!c.isOpen()) {
        qWarning("cannot open %s: %s", qPrintable(fichero), qPrintable(c.lastError()));
        return false;
    }
    for (const QString &s : sentencias) {
        if (!c.exec(s)) {
            qWarning("%s: %s", qPrintable(s), qPrintable(c.lastError()));
            return false;
        }
    }
    return true;
}

} // namespace

Entorno::Entorno(const QString &ajustes)
{
    Variables::Restablecer();
    kv::ui::Operador::clear();
    QFile f(inst.systemDir() + QStringLiteral("/KEYVANE20.INI"));
    if (f.open(QIODevice::WriteOnly)) {
        f.write("[General]\r\nIdioma=ENGLISH\r\n");
        f.write(ajustes.toLatin1());
    }
}

Entorno::~Entorno()
{
    para();
    kv::ui::Operador::clear();
    Variables::Restablecer();
}

bool Entorno::sql(int instalacion, const QStringList &sentencias)
{
    return ejecuta(inst.installationFile(instalacion), sentencias);
}

bool Entorno::sqlPrincipal(const QStringList &sentencias)
{
    return ejecuta(inst.mainDatabase(), sentencias);
}

bool Entorno::nuevaInstalacion(int codigo, const QString &nombre)
{
    return kv::test::copyFile(inst.databaseDir() + QStringLiteral("/INSTALACION_B.FDB"), inst.installationFile(codigo))
        && sqlPrincipal({QStringLiteral("INSERT INTO instalacion VALUES (%1, '%2')").arg(codigo).arg(nombre)});
}

void Entorno::arranca()
{
    programa = std::make_unique<kv::app::Programa>();
    programa->Inicia();
}

void Entorno::para()
{
    programa.reset();
}

void Entorno::entra(const QString &login, const QString &password)
{
    TF_Login *l = Ventanas::F_Login;
    l->Edit1->setText(login);
    l->Edit2->setText(password);
    QTest::mouseClick(l->B_Aceptar, Qt::LeftButton);
}

QTreeWidgetItem *fila(QTreeWidget *lista, const QString &texto)
{
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        if (lista->topLevelItem(i)->text(0) == texto)
            return lista->topLevelItem(i);
    return nullptr;
}

QStringList columna(QTreeWidget *lista, int col)
{
    QStringList r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        r << lista->topLevelItem(i)->text(col);
    return r;
}

QStringList erroresMostrados()
{
    QStringList r;
    for (const auto &h : kv::ui::Operador::history())
        if (h.tipo == QLatin1String("error"))
            r << h.texto;
    return r;
}
