// The attendance area of the main window on an installation whose log holds
// 1,000,000 incidences over 2024 (tests/bench/comun), with 10,000 cardholders
// and its eight readers designated entrance (odd) and exit (even):
// - a cardholder's month, from selecting their node to the filled table
//   (goal 0.3 s);
// - the day view: the tree of the 10,000 cardholders rebuilt for a day and
//   one cardholder's day shown (goal 1 s).
// Each is the median of several runs over different cardholders and dates.
// For comparison, in the same run: the month computed by reading the
// cardholder's whole log, as a load by cardholder alone would.
#include "banco.h"
#include "registro_millon.h"
#include "fbtest.h"
#include "tempinstall.h"

#include "app/programa.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "ui/operador.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSqlQuery>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using kv::bench::Bench;
using kv::bench::Median;

namespace {

constexpr int kRuns = 7;
constexpr int kCardholders = 10000;

// The log names cardholders 1..1,000 and readers 1..8 that the file lacks.
bool Fill(const QString &fichero)
{
    kv::test::FbConnection c(fichero);
    if (!c.isOpen())
        return false;
    QSqlDatabase &db = c.db();
    db.transaction();
    QSqlQuery q(db);
    for (int i = 1; i <= 8; ++i)
        if (!q.exec(QStringLiteral("INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) "
                                   "VALUES (%1, %2, '%3', 'Door %1', %4)")
                        .arg(i)
                        .arg(i <= 4 ? 1 : 2)
                        .arg(i % 2 ? QStringLiteral("ENTRADA") : QStringLiteral("SALIDA"))
                        .arg((i - 1) % 4 + 1)))
            return false;
    q.prepare("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(:id,:n,:a,'S','')");
    for (int i = 1; i <= kCardholders; ++i) {
        q.bindValue(":id", i);
        q.bindValue(":n", QStringLiteral("Name %1").arg(i));
        // Surnames out of number order, as they come.
        q.bindValue(":a", QStringLiteral("Surname %1").arg((i * 7919) % 100003, 6, 10, QLatin1Char('0')));
        if (!q.exec())
            return false;
    }
    return db.commit();
}

// Only half the log's cardholders have accepted cards in it: those whose
// number ends in 7, 8, 9, 0 or 1. This gives the n-th of those ending in 1.
int Con_Registro(int n)
{
    return 1 + (n * 10) % kv::bench::kTitulares;
}

QTreeWidgetItem *Nodo(TF_Main *m, int usuario)
{
    QTreeWidgetItem *raiz = m->Arbol_Presencia->topLevelItem(0);
    for (int i = 0; raiz && i < raiz->childCount(); ++i)
        if (raiz->child(i)->data(0, Qt::UserRole).toInt() == usuario)
            return raiz->child(i);
    return nullptr;
}

// The month as a load by cardholder alone gives it: their whole log read,
// the month's rows picked out of it.
int Mes_De_Todo_El_Registro(ZARVColeccionIncidencia &todo, int usuario, const QDate &mes)
{
    todo.Filtro_Textos(QString(), QString(), usuario);
    todo.Refrescar();
    int del_mes = 0;
    for (todo.Primero(); !todo.Fin(); todo.Siguiente()) {
        const QDate d = todo.Elemento(-1)->Timestamp().date();
        del_mes += d.year() == mes.year() && d.month() == mes.month();
    }
    return del_mes;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kv::ui::Operador::setUnattended(true);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    const QString cache = kv::bench::Registro_Millon(QStringLiteral(KEYVANE_FACTORY_DIR) + "/INSTALACION_B.FDB",
                                                     QStringLiteral(KV_BENCH_CACHE_DIR));
    if (cache.isEmpty() || !QFile::remove(inst.installationFile(1))
        || !kv::test::copyFile(cache, inst.installationFile(1)) || !Fill(inst.installationFile(1))) {
        std::fprintf(stderr, "cannot prepare the installation\n");
        return 1;
    }
    QFile ajustes(inst.systemDir() + QStringLiteral("/KEYVANE20.INI"));
    if (!ajustes.open(QIODevice::WriteOnly))
        return 1;
    ajustes.write("[General]\r\nIdioma=ENGLISH\r\n");
    ajustes.close();

    Variables::Restablecer();
    auto programa = std::make_unique<kv::app::Programa>();
    programa->Inicia();
    QApplication::processEvents();
    TF_Main *m = Ventanas::F_Main;
    m->show();
    m->PageControl1->setCurrentWidget(m->TabSheet2);

    // A different cardholder and month each run.
    std::vector<double> meses;
    std::vector<double> completos;
    int filas_mes = 0;
    int dias_con_entrada = 0;
    int del_mes = 0;
    ZARVColeccionIncidencia todo(Globales::Sistema.get(), Globales::Sistema->Ruta_BD(), nullptr);
    m->R1->setChecked(true);
    for (int r = 0; r < kRuns; ++r) {
        const QDate mes(2024, 1 + r, 15);
        const int usuario = Con_Registro(r * 97);
        m->Calendar1->setSelectedDate(mes);
        m->Recalcula_Arbol();
        QTreeWidgetItem *nodo = Nodo(m, usuario);
        if (!nodo)
            return 1;
        QElapsedTimer reloj;
        reloj.start();
        m->Arbol_Presencia->setCurrentItem(nodo);
        QApplication::processEvents();
        meses.push_back(reloj.nsecsElapsed() / 1e9);
        filas_mes = m->Lista_Presencia->topLevelItemCount();
        dias_con_entrada = 0;
        for (int i = 0; i < filas_mes; ++i)
            dias_con_entrada += !m->Lista_Presencia->topLevelItem(i)->text(1).isEmpty();

        reloj.restart();
        del_mes = Mes_De_Todo_El_Registro(todo, usuario, mes);
        completos.push_back(reloj.nsecsElapsed() / 1e9);
    }

    // The day view: the tree rebuilt for another day, one cardholder's day.
    std::vector<double> dias;
    int cardholders = 0;
    int filas_dia = 0;
    m->R2->setChecked(true);
    for (int r = 0; r < kRuns; ++r) {
        const QDate dia = QDate(2024, 2, 1).addDays(r * 23);
        const int usuario = Con_Registro(r * 389);
        {
            const QSignalBlocker bloqueo(m->Calendar1);
            m->Calendar1->setSelectedDate(dia);
        }
        QElapsedTimer reloj;
        reloj.start();
        m->Recalcula_Arbol();
        QTreeWidgetItem *nodo = Nodo(m, usuario);
        if (!nodo)
            return 1;
        m->Arbol_Presencia->setCurrentItem(nodo);
        QApplication::processEvents();
        dias.push_back(reloj.nsecsElapsed() / 1e9);
        cardholders = m->Arbol_Presencia->topLevelItem(0)->childCount();
        filas_dia += m->Lista_Presencia->topLevelItemCount();
    }

    const double mes = Median(meses);
    const double completo = Median(completos);
    const double dia = Median(dias);
    std::printf("month: %d rows, %d days with entries; the same month out of the whole log: %d incidences; "
                "day view: %d cardholders in the tree, %d of %d days with a row\n",
                filas_mes, dias_con_entrada, del_mes, cardholders, filas_dia, kRuns);
    Bench("attendance_month_one_user_1M", mes, "s", "0.3");
    Bench("attendance_month_from_whole_user_log_1M", completo, "s", "none");
    std::printf("month / whole log: %.4f\n", mes / completo);
    Bench("attendance_day_view_10000_users_1M", dia, "s", "1");
    programa.reset();
    return mes <= 0.3 && dia <= 1.0 && filas_mes > 0 && cardholders == kCardholders ? 0 : 1;
}
