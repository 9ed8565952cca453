#include "ui/operador.h"

#include "ui/dialogo_fichero.h"
#include "ui/ventana_respuesta.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>
#include <QTimer>

namespace kv::ui {
namespace {

struct Estado {
    QQueue<int> respuestas;
    QQueue<QString> ficheros;
    QQueue<std::function<void(QDialog *)>> acciones;
    bool desatendido = false;
    QList<Operador::Registro> historia;
};

Estado &estado()
{
    static Estado e;
    return e;
}

void anota(const QString &tipo, const QString &titulo, const QString &texto)
{
    estado().historia.append({tipo, titulo, texto});
}

QString titulo_o_programa(const QString &titulo)
{
    return titulo.isEmpty() ? QCoreApplication::applicationName() : titulo;
}

// Runs the window for real with accion applied once it is up. The window may
// be destroyed by accion; nothing touches it afterwards but through a guard.
int ejecuta_con_accion(QDialog *ventana, std::function<void(QDialog *)> accion)
{
    QPointer<QDialog> guarda(ventana);
    QTimer::singleShot(0, ventana, [guarda, accion = std::move(accion)] {
        if (!guarda)
            return;
        accion(guarda);
        if (guarda && guarda->isVisible())
            guarda->reject();
    });
    return ventana->exec();
}

} // namespace

void Operador::Mensaje(QWidget *padre, const QString &texto, const QString &titulo)
{
    anota(QStringLiteral("message"), titulo, texto);
    if (estado().desatendido)
        return;
    QMessageBox caja(QMessageBox::NoIcon, titulo_o_programa(titulo), texto, QMessageBox::Ok, padre);
    caja.exec();
}

void Operador::Error(QWidget *padre, const QString &texto)
{
    anota(QStringLiteral("error"), QString(), texto);
    if (estado().desatendido)
        return;
    QMessageBox caja(QMessageBox::Critical, QCoreApplication::applicationName(), texto, QMessageBox::Ok, padre);
    caja.exec();
}

bool Operador::Pregunta(QWidget *padre, const QString &texto, const QString &titulo)
{
    anota(QStringLiteral("question"), titulo, texto);
    Estado &e = estado();
    if (!e.respuestas.isEmpty())
        return e.respuestas.dequeue() == QMessageBox::Yes;
    if (e.desatendido)
        return false;
    QMessageBox caja(QMessageBox::Question, titulo_o_programa(titulo), texto, QMessageBox::Yes | QMessageBox::No,
                     padre);
    return caja.exec() == QMessageBox::Yes;
}

int Operador::Modal(Ventana_Respuesta *ventana)
{
    anota(QStringLiteral("modal"), ventana->objectName(), ventana->windowTitle());
    ventana->Respuesta = 0;
    Estado &e = estado();
    if (!e.acciones.isEmpty()) {
        ejecuta_con_accion(ventana, e.acciones.dequeue());
        return ventana->Respuesta;
    }
    if (!e.respuestas.isEmpty()) {
        ventana->Respuesta = e.respuestas.dequeue();
        return ventana->Respuesta;
    }
    if (e.desatendido)
        return 0;
    ventana->exec();
    return ventana->Respuesta;
}

int Operador::Modal(QDialog *ventana)
{
    if (auto *pregunta = qobject_cast<Ventana_Respuesta *>(ventana))
        return Modal(pregunta);
    anota(QStringLiteral("modal"), ventana->objectName(), ventana->windowTitle());
    Estado &e = estado();
    if (!e.acciones.isEmpty())
        return ejecuta_con_accion(ventana, e.acciones.dequeue());
    if (!e.respuestas.isEmpty())
        return e.respuestas.dequeue();
    if (e.desatendido)
        return QDialog::Rejected;
    return ventana->exec();
}

QString Operador::Fichero(QWidget *padre, const Dialogo_Fichero &dialogo)
{
    anota(QStringLiteral("file"), dialogo.windowTitle(), dialogo.objectName());
    Estado &e = estado();
    if (!e.ficheros.isEmpty())
        return e.ficheros.dequeue();
    if (e.desatendido)
        return QString();
    if (dialogo.modo() == Dialogo_Fichero::Guardar)
        return QFileDialog::getSaveFileName(padre, dialogo.windowTitle(), dialogo.carpeta(), dialogo.Filtro_Qt());
    return QFileDialog::getOpenFileName(padre, dialogo.windowTitle(), dialogo.carpeta(), dialogo.Filtro_Qt());
}

void Operador::setNextAnswer(int respuesta) { estado().respuestas.enqueue(respuesta); }
void Operador::setNextFileName(const QString &fichero) { estado().ficheros.enqueue(fichero); }
void Operador::setNextDialogAction(std::function<void(QDialog *)> accion) { estado().acciones.enqueue(std::move(accion)); }
void Operador::setUnattended(bool activo) { estado().desatendido = activo; }
const QList<Operador::Registro> &Operador::history() { return estado().historia; }

void Operador::clear()
{
    Estado &e = estado();
    e.respuestas.clear();
    e.ficheros.clear();
    e.acciones.clear();
    e.historia.clear();
}

} // namespace kv::ui
