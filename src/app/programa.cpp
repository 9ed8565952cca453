#include "app/programa.h"

#include "app/tf_clone_controller.h"
#include "app/tf_contr_n.h"
#include "app/tf_delete_conf.h"
#include "app/tf_edit_user.h"
#include "app/tf_editar_card.h"
#include "app/tf_edit_controller.h"
#include "app/tf_error_insert.h"
#include "app/tf_exp_imp.h"
#include "app/tf_gestion_bd.h"
#include "app/tf_imp_xls.h"
#include "app/tf_lector_es.h"
#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/tf_muestra_del.h"
#include "app/tf_muestra_recep.h"
#include "app/tf_new_card.h"
#include "app/tf_nuevo_login.h"
#include "app/tf_nuevo_usr.h"
#include "app/tf_parametros_app.h"
#include "app/tf_presencia_amplia.h"
#include "app/tf_presencia_estancia.h"
#include "app/tf_pregunta_elimina.h"
#include "app/tf_pregunta_elimina_tarj.h"
#include "app/tf_recv_users.h"
#include "app/tf_send_card.h"
#include "app/tf_user_muestra.h"
#include "app/ventanas.h"
#include "app/ventanas_envio.h"
#include "app/ventanas_instalaciones.h"
#include "app/ventanas_incidencias.h"
#include "app/ventanas_lectores.h"
#include "app/ventanas_libros.h"
#include "app/ventanas_presencia.h"
#include "app/ventanas_tarjetas.h"
#include "app/ventanas_usuarios.h"

#include "cameras/tf_camera_control.h"
#include "cameras/tf_new_camera.h"
#include "cameras/ventanas_camaras.h"

#include "lang/lang.h"
#include "model/globales.h"

#include <QApplication>

#include <functional>
#include <vector>

namespace kv::app {
namespace {

struct Entrada {
    std::function<QWidget *()> crea;
    std::function<void()> olvida;
};

template <class T>
Entrada ventana(T *&global)
{
    return {[&global]() -> QWidget * { return global = new T; }, [&global] { global = nullptr; }};
}

Entrada ventana_principal()
{
    return {[]() -> QWidget * {
                auto *m = Ventanas::F_Main = new TF_Main;
                m->FormCreate();
                return m;
            },
            [] { Ventanas::F_Main = nullptr; }};
}

// The order in which the windows are created. Each window translates itself
// and does its start-up work in its constructor, so the order matters: the
// login window opens the language file and reads the settings that every
// later window uses, and the main window's start-up runs before the login
// window is first shown. A new window goes in its place in this sequence:
//   F_Login, F_Gestion_BD, F_Main, F_Nuevo_Usr, F_Contr_N, F_edit_controller,
//   F_Clone_Controller, F_Muestra_recep, F_Delete_Conf, F_Muestra_Del,
//   F_Pregunta_Elimina, F_Send_Card, F_New_Card, F_Pregunta_elimina_tarj,
//   F_Error_insert, F_Editar_Card, F_Nuevo_login, f_recv_users, F_Exp_imp,
//   F_imp_XLS, F_Edit_User, F_Parametros_app, F_Camera_Control, F_New_Camera,
//   F_Lector_ES, F_Presencia_Amplia, F_User_Muestra, F_Presencia_Estancia.
const std::vector<Entrada> &orden()
{
    static const std::vector<Entrada> tabla = {
        ventana(Ventanas::F_Login),
        ventana(Ventanas::F_Gestion_BD),
        ventana_principal(),
        ventana(Ventanas::F_Nuevo_Usr),
        ventana(Ventanas::F_Contr_N),
        ventana(Ventanas::F_edit_controller),
        ventana(Ventanas::F_Clone_Controller),
        ventana(Ventanas::F_Muestra_recep),
        ventana(Ventanas::F_Delete_Conf),
        ventana(Ventanas::F_Muestra_Del),
        ventana(Ventanas::F_Pregunta_Elimina),
        ventana(Ventanas::F_Send_Card),
        ventana(Ventanas::F_New_Card),
        ventana(Ventanas::F_Pregunta_elimina_tarj),
        ventana(Ventanas::F_Error_insert),
        ventana(Ventanas::F_Editar_Card),
        ventana(Ventanas::F_Nuevo_login),
        ventana(Ventanas::f_recv_users),
        ventana(Ventanas::F_Exp_imp),
        ventana(Ventanas::F_imp_XLS),
        ventana(Ventanas::F_Edit_User),
        ventana(Ventanas::F_Parametros_app),
        ventana(Ventanas_Camaras::F_Camera_Control),
        ventana(Ventanas_Camaras::F_New_Camera),
        ventana(Ventanas::F_Lector_ES),
        ventana(Ventanas::F_Presencia_Amplia),
        ventana(Ventanas::F_User_Muestra),
        ventana(Ventanas::F_Presencia_Estancia),
    };
    return tabla;
}

std::vector<QWidget *> &creadas()
{
    static std::vector<QWidget *> v;
    return v;
}

} // namespace

Programa::Programa()
{
    QApplication::setApplicationName(QStringLiteral("Keyvane"));
    // Only the login window ends the program; the main window hides it and
    // shows it again (lock) without the program ending in between.
    QApplication::setQuitOnLastWindowClosed(false);
    for (const Entrada &e : orden())
        creadas().push_back(e.crea());
}

Programa::~Programa()
{
    for (auto w = creadas().rbegin(); w != creadas().rend(); ++w)
        delete *w;
    creadas().clear();
    for (const Entrada &e : orden())
        e.olvida();
    // The controllers' lines and the database connections go before the
    // application object that their drivers need.
    Globales::Sistema.reset();
    Globales::Servidor.reset();
    Lang::Cerrar_Fichero_Idioma();
}

void Programa::Inicia()
{
    Ventanas::F_Login->show();
}

int Programa::Ejecuta()
{
    Inicia();
    return QApplication::exec();
}

} // namespace kv::app
