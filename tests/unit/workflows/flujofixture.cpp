#include "flujofixture.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcolecciontarjeta.h"
#include "workflows/coordinacion.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

using kv::test::FbConnection;
using kv::test::SimProcess;

void Guion::Mensaje(const QString &texto, const QString &)
{
    mensajes << texto;
}

bool Guion::Confirma(const QString &texto)
{
    preguntas << texto;
    return !respuestas.isEmpty() && respuestas.takeFirst();
}

void Progreso_Registrado::Paso(const QString &texto)
{
    pasos << texto;
    if (en_paso)
        en_paso();
}

bool Espera(const std::function<bool()> &hecho, int ms)
{
    QDeadlineTimer limite(ms);
    while (!hecho() && !limite.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return hecho();
}

void FlujoTest::SetUp()
{
    ModelTest::SetUp();
    Variables::Testear_cx = true;
    Variables::Liberar_tarj = true;
    com1 = std::make_unique<SimProcess>(1, QStringList{"--controllers", "1,3"}, inst.portsDir());
    com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "2"}, inst.portsDir());
    db = std::make_unique<FbConnection>(inst.installationFile(1));
    ASSERT_TRUE(db->isOpen());
    Globales::Sistema = Abre();
    // The main database as the program holds it, with the console's
    // administrator session (the level tests log in as a USER).
    Globales::Servidor = std::make_unique<ZARVServer>();
    Globales::Servidor->Configurar(kv::test::cuentaServidor().host, inst.mainDatabase(), kv::test::cuentaServidor().password,
                      kv::test::cuentaServidor().usuario);
    Globales::Servidor->Abre_Sesion_Consola();
    Controlador(1, 1, 1);
    Controlador(3, 1, 3);
    Controlador(2, 2, 2);
    Globales::Sistema->Conecta_Controladores();
    // As the program does once the installation is open and tested: the
    // lines stay closed until registering starts.
    Globales::Sistema->Incidencias()->Detiene_Registro();
    temporizador.setInterval(30000);
    kv::wf::Coordinacion::Set_Temporizador(&temporizador);
}

void FlujoTest::TearDown()
{
    kv::wf::Coordinacion::Set_Temporizador(nullptr);
    Globales::Sistema.reset();
    Globales::Servidor.reset();
    db.reset();
    com1.reset();
    com2.reset();
    Variables::Testear_cx = true;
    Variables::Liberar_tarj = true;
    Variables::Lector_Activo = false;
    Variables::Lector_Codigo = 0;
}

void FlujoTest::Controlador(int cod, int puerto, int direccion)
{
    ZARVControlador c;
    c.Set_Cod(cod);
    c.Set_Puerto_Serie(puerto);
    c.Set_Direccion(static_cast<std::uint8_t>(direccion));
    c.Set_Descripcion(QStringLiteral("Door %1").arg(cod));
    Globales::Sistema->Controladores()->Inserta(c);
}

void FlujoTest::Tarjeta(const QString &codigo, const QList<int> &controladores)
{
    ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvtarjeta VALUES('%1','N',NULL,NULL,-1,'N')").arg(codigo)));
    for (const int cod : controladores) {
        ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvcontroladortarjeta VALUES('%1',%2,'S')").arg(codigo).arg(cod)));
    }
    Globales::Sistema->Tarjetas()->Refrescar();
}

int FlujoTest::Incidencias_Guardadas()
{
    return db->scalar(QStringLiteral("select count(*) from zarvincidencia")).toInt();
}

bool FlujoTest::Escucha_De_Verdad()
{
    if (!com1->lineHeld() || !com2->lineHeld())
        return false;
    const int antes = Incidencias_Guardadas();
    if (!com1->ok(QStringLiteral("card 1 12345")))
        return false;
    return Espera([&] { return Incidencias_Guardadas() > antes; }, 3000);
}

bool FlujoTest::Lineas_Libres()
{
    return !com1->lineHeld() && !com2->lineHeld();
}
