#include "entorno.h"
#include "simprocess.h"

#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "ui/operador.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QHash>
#include <QPixmap>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdio>

namespace {

const QStringList Filas = {
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (1, 1, 'ENTRADA', 'Main entrance', 1)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (2, 1, 'SALIDA', 'Garage exit', 2)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (3, 2, '', 'Warehouse', 1)",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ana', 'Garcia Lopez', 'S', '')",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Tom', 'Baker', 'S', '')",
    "INSERT INTO zarvtarjeta VALUES ('0000012345', 'N', '2024-03-01 08:00:00', '2024-03-01 08:00:00', 1, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000067890', 'N', '2024-03-02 09:30:00', '2026-12-31 23:59:00', 2, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 2, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000067890', 3, 'S')",
};

bool Guarda(QWidget *w, const QString &dir, const QString &nombre)
{
    QApplication::processEvents();
    return w->grab().save(dir + "/" + nombre + ".png");
}

// Takes every picture into dir; false, with the reason on standard error,
// when one could not be taken.
bool Capturas(const QString &dir)
{
    const auto falla = [](const char *que) {
        std::fprintf(stderr, "app_capturas: %s\n", que);
        return false;
    };
    if (!QDir().mkpath(dir))
        return falla("cannot create the directory");
    Entorno e;
    if (!e.sql(1, Filas))
        return falla("cannot fill the installation");
    // The readers answer, holding the cards the database says they hold.
    kv::test::SimProcess com1(1, {"--controllers", "1,2"}, e.inst.portsDir());
    kv::test::SimProcess com2(2, {"--controllers", "1"}, e.inst.portsDir());
    com1.ok("load 1 0000012345");
    com2.ok("load 1 0000067890");
    kv::ui::Operador::setUnattended(true);
    e.arranca();
    bool bien = Guarda(Ventanas::F_Login, dir, "login");

    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    m->resize(1280, 800);
    const QHash<QString, QString> nombres = {
        {"PANEL_INSTALACION", "installation"}, {"PANEL_LISTA_USR", "users"},     {"PANEL_LISTA_CARDS", "cards"},
        {"PANEL_LISTA_READERS", "readers"},    {"PANEL_LISTA_LOGINS", "logins"}, {"PANEL_PARAMETERS", "parameters"},
    };
    for (Pagina *p : m->Paginas()) {
        if (!p)
            continue;
        m->Muestra(*p);
        bien = Guarda(m, dir, QStringLiteral("main_%1").arg(nombres.value(p->Panel()->objectName()))) && bien;
    }
    m->SpeedButton11Click();
    m->I_PLAY_OFFClick();
    com1.ok("card 1 12345");
    com2.ok("refused 1 55555");
    com1.ok("door 2 opened");
    QDeadlineTimer limite(10000);
    while (m->Lista_Incidencias->topLevelItemCount() < 3 && !limite.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    bien = Guarda(m, dir, "main_incidences") && bien;
    m->PageControl1->setCurrentWidget(m->TabSheet3);
    bien = Guarda(m, dir, "main_reports") && bien;
    m->Muestra(*m->Usuarios());
    m->PageControl1->setCurrentWidget(m->TabSheet1);
    bien = Guarda(m, dir, "main") && bien;
    return bien ? true : falla("a picture could not be saved");
}

} // namespace

// app_capturas <directory>: pictures of the login window and of every page,
// on a throwaway installation with simulated readers.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_capturas <directory>\n");
        return 2;
    }
    return Capturas(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
