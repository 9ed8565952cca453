// Every translated window's key list, in the order the keys are applied. A
// control's role is noted where its name does not tell it: the language file
// words its text for that role, and each window gives the control this name.
#include "lang/tablas.h"

#include <array>

namespace Lang {
namespace {

constexpr Clave_Ventana titulo(const char *clave = nullptr) { return {Destino::Titulo, nullptr, -1, clave}; }
constexpr Clave_Ventana texto(const char *objeto, const char *clave = nullptr)
{
    return {Destino::Texto, objeto, -1, clave};
}
constexpr Clave_Ventana pista(const char *objeto) { return {Destino::Pista, objeto, -1, nullptr}; }
constexpr Clave_Ventana dialogo(const char *objeto) { return {Destino::Titulo_Dialogo, objeto, -1, nullptr}; }
constexpr Clave_Ventana combo(const char *objeto) { return {Destino::Texto_Combo, objeto, -1, nullptr}; }
constexpr Clave_Ventana entrada(const char *objeto, int i) { return {Destino::Elemento_Combo, objeto, i, nullptr}; }
constexpr Clave_Ventana columna(const char *lista, int i, const char *clave = nullptr)
{
    return {Destino::Columna, lista, i, clave};
}
constexpr Clave_Ventana nodo(const char *arbol, int i) { return {Destino::Nodo, arbol, i, nullptr}; }

constexpr auto F_Login = std::to_array<Clave_Ventana>({
    titulo(),
    texto("xpTabSheet1"), // the login tab
    texto("Label2"),      // over Edit1, the login
    texto("Label3"),      // over Edit2, the password
    texto("B_Aceptar"),
});

constexpr auto F_Gestion_BD = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"),      // heading
    texto("xpGroupBox2"), // installation group
    texto("Label2"),      // beside C2, the current installation
    texto("Label3"),      // beside E_Nueva, a new installation's name
    texto("B_Eliminar"),
    texto("B_Nueva"),
    texto("xpGroupBox1"), // export/import group
    texto("B_Salir"),
    dialogo("SaveDialog1"),
    dialogo("OpenDialog1"),
    texto("B_export", "F_Gestion_BD_BitBtn1_Caption"),
    texto("B_import", "F_Gestion_BD_BitBtn2_Caption"),
});

constexpr auto F_Main = std::to_array<Clave_Ventana>({
    titulo(),
    // tool bar
    texto("B_Login"),
    texto("B_New_USR_Main"),
    texto("SpeedButton11"), // incidences
    texto("B_Test_TODOS"),
    texto("B_Send"),
    texto("B_Receive"),
    texto("B_Export_import"),
    texto("SpeedButton13"), // close
    texto("L_Cuerpo"),      // header: the selected node's text
    // tools entries
    texto("Label5"), // incidences
    texto("Label6"), // attendance
    texto("Label7"), // cameras
    // users page
    texto("B_New_USR_Usr"),
    texto("B_Delete"),
    texto("SpeedButton25"), // find
    texto("B_Send_u"),
    texto("B_receive_u"),
    texto("SpeedButton4"), // lock (never shown)
    texto("SpeedButton6"), // unlock (never shown)
    // page headings
    texto("Label4"), // installation page
    texto("Label1"), // users page
    texto("Label2"), // readers page, over L1_Contr
    texto("Label3"), // readers page, over L2_Contr
    texto("Label9"), // cards page
    // readers page
    texto("B_Nueva_Cx"),
    texto("B_Editar_cx"),
    texto("B_Delete_Cx"),
    texto("B_Test_Cx"),
    texto("B_Master_Card"),
    texto("B_Clone_cx"),
    texto("B_vacia_Cards"),
    // logins page
    texto("B_Nuevo_Login"),
    texto("B_Delete_login"),
    texto("B_Password_login"),
    // the notice while admin keeps its factory password
    texto("B_Cambia_Clave"),
    // cards page
    texto("B_New_Card"),
    texto("B_Edit_Card"),
    texto("B_Delete_Cards"),
    texto("SpeedButton21"), // find
    // tools area
    texto("L_WHICH_TOOL"), // heading of the tools area
    texto("Label17"),      // incidence filter: start
    texto("Label18"),      // incidence filter: end
    // parameters page
    texto("Label10"), // heading
    texto("Label8"),  // database section heading
    texto("Label11"), // database section, three lines of explanation
    texto("Label12"),
    texto("Label13"),
    texto("SpeedButton28"), // database management
    texto("Label14"),       // application section heading
    texto("Label15"),       // application section, two lines of explanation
    texto("Label16"),
    texto("SpeedButton29"), // application parameters
    // attendance area
    texto("Label19"),      // month selection
    texto("SpeedButton2"), // designate entrance and exit readers
    texto("R1"),           // month view
    texto("R2"),           // day view
    // lists
    columna("Lista1", 0), columna("Lista1", 1), columna("Lista1", 2), columna("Lista1", 3), columna("Lista1", 4),
    columna("Lista_INI", 0), columna("Lista_INI", 1),
    columna("L1_Contr", 0), columna("L1_Contr", 1), columna("L1_Contr", 2), columna("L1_Contr", 3),
    columna("L2_Contr", 0), columna("L2_Contr", 1), columna("L2_Contr", 2), columna("L2_Contr", 3),
    columna("L2_Contr", 4), columna("L2_Contr", 5), columna("L2_Contr", 6), columna("L2_Contr", 7),
    columna("Lista4", 0), columna("Lista4", 1),
    columna("Lista3", 0), columna("Lista3", 1), columna("Lista3", 2), columna("Lista3", 3),
    columna("Lista3", 4), columna("Lista3", 5), columna("Lista3", 6),
    columna("Lista_Incidencias", 0), columna("Lista_Incidencias", 1), columna("Lista_Incidencias", 2),
    columna("Lista_Incidencias", 3), columna("Lista_Incidencias", 4),
    columna("Lista_Presencia", 0, "F_Main_Lista_Presencia_Columns0_caption"),
    columna("Lista_Presencia", 1, "F_Main_Lista_Presencia_Columns1_caption"),
    columna("Lista_Presencia", 2, "F_Main_Lista_Presencia_Columns2_caption"),
    columna("Lista_Presencia", 3, "F_Main_Lista_Presencia_Columns3_caption"),
    // trees: navigation (root, users, cards, readers, management, logins,
    // parameters) and reports (root, users, cards, controllers, cards per user)
    nodo("Arbol1", 0), nodo("Arbol1", 1), nodo("Arbol1", 2), nodo("Arbol1", 3),
    nodo("Arbol1", 4), nodo("Arbol1", 5), nodo("Arbol1", 6),
    nodo("Arbol_REPORTS", 0), nodo("Arbol_REPORTS", 1), nodo("Arbol_REPORTS", 2),
    nodo("Arbol_REPORTS", 3), nodo("Arbol_REPORTS", 4),
    // incidence file dialogs and the registering switch
    dialogo("Save_INC"),
    dialogo("Open_INC"),
    pista("I_PLAY_ON"),
    pista("I_PLAY_OFF"),
    // the three tabs of PageControl1
    texto("TabSheet1", "F_Main_PageControl1_TabSheet1_Caption"),
    texto("TabSheet2", "F_Main_PageControl1_TabSheet2_Caption"),
    texto("TabSheet3", "F_Main_PageControl1_TabSheet3_Caption"),
    // The users page's edit button has always read its caption from the
    // attendance button's key, so both show one text.
    texto("B_edit_usr", "F_Main_SpeedButton2_Caption"),
});

// The new-user and edit-user windows share one layout; the new-user window
// adds the context menu of its card list.
constexpr auto usuario_cabecera = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"),      // beside Edit1, the first name
    texto("Label2"),      // beside Edit2, the surnames
    texto("Label3"),      // beside C_Tarjetas, the card code
    texto("xpGroupBox1"), // cards group
    texto("CH1"),         // free cards only
    texto("xpGroupBox2"), // readers group (CHLista1)
    texto("B_Cancelar"),
    texto("B_Aceptar"),
});

constexpr auto usuario_menu = std::to_array<Clave_Ventana>({
    texto("Edit3"),     // context menu of Lista1: edit
    texto("Delete1"),   // context menu of Lista1: do not assign
    texto("Cancelar1"), // context menu of Lista1: cancel
});

constexpr auto usuario_caducidad = std::to_array<Clave_Ventana>({
    texto("xpGroupBox3"), // expiry group
    texto("CH_Usar_Caducidad"),
    texto("Label5"), // how expiry works
    texto("Label4"), // beside the expiry pickers
    columna("Lista1", 0), columna("Lista1", 1), columna("Lista1", 2),
});

template <std::size_t A, std::size_t B>
constexpr std::array<Clave_Ventana, A + B> unir(const std::array<Clave_Ventana, A> &a,
                                                const std::array<Clave_Ventana, B> &b)
{
    std::array<Clave_Ventana, A + B> r{};
    for (std::size_t i = 0; i < A; ++i)
        r[i] = a[i];
    for (std::size_t i = 0; i < B; ++i)
        r[A + i] = b[i];
    return r;
}

constexpr auto F_Nuevo_Usr = unir(unir(usuario_cabecera, usuario_menu), usuario_caducidad);
constexpr auto F_Edit_User = unir(usuario_cabecera, usuario_caducidad);

constexpr auto F_Contr_N = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label4"), // beside Edit1, the number
    texto("Label5"), // beside Edit2, the description
    texto("Label7"), // beside Edit3, the port
    texto("Label6"), // beside Edit4, the address (dipswitch)
    texto("B_cancel"),
    texto("B_add"),
});

constexpr auto F_edit_controller = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label4"), // beside Edit1, the number
    texto("Label5"), // beside Edit2, the description
    texto("Label6"), // beside Edit3, the port
    texto("Label1"), // beside Edit4, the door-lock time
    texto("Label2"), // beside Edit5, the door-open time
    texto("Label7", "F_edit_Controller_Label7_Caption"), // unit of both times
    texto("BitBtn1", "F_edit_Controller_BitBtn1_Caption"),
    texto("BitBtn2", "F_edit_Controller_BitBtn2_Caption"),
});

constexpr auto F_Clone_Controller = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label2"),      // beside CB1, the source
    texto("Label1"),      // what cloning does
    texto("xpGroupBox1"), // the targets (CH1)
    texto("B_cancel"),
    texto("B_Clonar"),
});

// The progress window has always taken its title from the edit window's cancel
// button.
constexpr auto F_Muestra_recep = std::to_array<Clave_Ventana>({
    titulo("F_edit_Controller_BitBtn2_Caption"),
});

constexpr auto F_Delete_Conf = std::to_array<Clave_Ventana>({
    titulo(),
    texto("B_Yes"),
    texto("B_Cancelar"),
});

constexpr auto F_Muestra_Del = std::to_array<Clave_Ventana>({
    titulo(),
    texto("xpBitBtn1"), // cancel
});

constexpr auto F_Pregunta_Elimina = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"), // "attention"
    texto("Label2"), // the card could not be removed from the reader
    texto("Button1"), // cancel
    texto("Button2"), // accept
});

constexpr auto F_Send_Card = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"), // the question
    texto("B_Cancelar"),
    texto("B_Aceptar"),
});

// The new-card and edit-card windows share one layout.
constexpr auto ventana_tarjeta = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label2"),      // heading
    texto("Label1"),      // beside the card code
    texto("xpGroupBox1"), // expiry group
    texto("CH_Usar_Caducidad"),
    texto("Label4"), // beside the expiry pickers
    texto("Label3"), // how expiry works
    texto("B_Cancel"),
    texto("B_Aceptar"),
});

constexpr auto F_New_Card = ventana_tarjeta;
constexpr auto F_Editar_Card = ventana_tarjeta;

constexpr auto F_Pregunta_elimina_tarj = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"), // "attention"
    texto("Label2"), // a card could not be removed from some controller
    texto("Label3"), // the question
    texto("Label4"), // the consequence
    texto("Label5"), // what to do afterwards
    texto("Button1"), // cancel
    texto("Button2"), // accept
});

constexpr auto F_Error_insert = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"), // the card is not inserted
    texto("Label2"), // retry ...
    texto("Label7"), // ... or cancel
    texto("Label4"), // beside Label3
    texto("Label3"), // the card code (overwritten when the window is used)
    texto("Label5"), // over CH1, the current situation
    texto("Label6"), // over CH2, the right situation
    texto("B_yes", "F_Error_insert_B_Yes_Caption"),
    texto("B_No"),
});

constexpr auto F_Nuevo_login = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"), // beside Edit1, the login
    texto("Label2"), // beside Edit2, the password
    texto("Label3"), // beside Edit3, the confirmation
    texto("Label5"), // beside C_Nivel, the level
    texto("Label4"), // heading
    texto("B_Cancelar"),
    texto("B_Aceptar"),
    entrada("C_Nivel", 0), // level ADMIN
    entrada("C_Nivel", 1), // level USER
});

constexpr auto f_recv_users = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"),        // the question
    texto("SpeedButton10"), // cancel
    texto("SpeedButton8"),  // accept
    columna("L1_Contr", 0), columna("L1_Contr", 1), columna("L1_Contr", 2), columna("L1_Contr", 3),
});

constexpr auto F_Exp_imp = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label6"),        // heading
    texto("SpeedButton4"),  // export
    texto("SpeedButton15"), // import
    texto("B_cancel"),
    dialogo("Save"),
    dialogo("open"),
});

constexpr auto F_imp_XLS = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label6"),      // heading
    texto("xpGroupBox1"), // readers (CH2)
    texto("xpGroupBox2"), // import mode
    texto("R4"),          // add the cards that do not exist
    texto("R3"),          // insert after deleting the old cards
    texto("B_cancel"),
    texto("B_add"),
    columna("Lista1", 0), columna("Lista1", 1), columna("Lista1", 2),
});

constexpr auto F_Parametros_app = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"),      // heading
    texto("xpGroupBox1"), // language group
    texto("L_Idioma"),    // beside C_Idioma
    texto("xpGroupBox2"), // automatic deletion of incidences (hidden)
    texto("R1"), texto("R2"), texto("R3"), texto("R4"),
    texto("xpGroupBox3"), // release of expired cards
    texto("R5"), texto("R6"),
    texto("xpGroupBox4"), // periodic reader test
    texto("R7"), texto("R8"),
    texto("B_Cancelar"),
    texto("B_Aceptar"),
    texto("xpGroupBox5"),       // card reading by a reader
    texto("CH_Lectura_Lector"), // activate
    combo("C_Idioma"),
});

constexpr auto F_Camera_Control = std::to_array<Clave_Ventana>({
    texto("SpeedButton1"), // new
    texto("SpeedButton2"), // delete
    texto("SpeedButton3"), // close
});

constexpr auto F_New_Camera = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label4"), // the probe link beside Image2
    texto("Label1"), // beside Edit1, the camera number
    texto("Label3"), // beside Edit3, the address
    texto("Label2"), // beside Edit2, the description
    texto("Button2"), // accept
    texto("Button1"), // cancel
});

constexpr auto F_Lector_ES = std::to_array<Clave_Ventana>({
    texto("Entrada1"),             // context menu: entrance
    texto("Sa1"),                  // context menu: exit
    texto("Nousarparapresencia1"), // context menu: not for attendance
    texto("Cancelar1"),            // context menu: cancel
    texto("Label1"),               // how to set a reader's type
    columna("Lista", 0, "F_Lector_ES_Lista_Colums0_caption"),
    columna("Lista", 1, "F_Lector_ES_Lista_Colums1_caption"),
    columna("Lista", 2, "F_Lector_ES_Lista_Colums2_caption"),
    texto("BitBtn2", "F_Main_Close1_Caption"),
});

constexpr auto F_Presencia_Amplia = std::to_array<Clave_Ventana>({
    columna("Lista_Presencia", 0, "F_Presencia_Amplia_Lista_presencia_Columns0_Caption"),
    columna("Lista_Presencia", 1, "F_Presencia_Amplia_Lista_presencia_Columns1_Caption"),
    columna("Lista_Presencia", 2, "F_Presencia_Amplia_Lista_presencia_Columns2_Caption"),
    columna("Lista_Presencia", 3, "F_Main_Lista_Presencia_Columns3_caption"),
    texto("B_Aceptar", "F_Main_Close1_Caption"),
});

constexpr auto F_User_Muestra = std::to_array<Clave_Ventana>({
    texto("L_Nombre"),    // the first name (overwritten when shown)
    texto("L_Apellidos"), // the surnames (overwritten when shown)
    texto("xpGroupBox4"), // cards
    texto("xpGroupBox1"), // access readers
});

constexpr auto F_Presencia_Estancia = std::to_array<Clave_Ventana>({
    texto("L_Estancia", "F_Presencia_estancia_L_Estancia_Caption"),
    texto("B_Cancel", "F_Lector_ES_Cancelar1_Caption"),
    texto("B_Aceptar", "F_Parametros_app_B_Aceptar_Caption"),
});

constexpr auto F_Cambia_Password = std::to_array<Clave_Ventana>({
    titulo(),
    texto("Label1"), // beside Edit1, the login
    texto("Label2"), // beside Edit2, the old password
    texto("Label3"), // beside Edit3, the new password
    texto("Label4"), // beside Edit4, its confirmation
    texto("B_Aceptar"),
    texto("B_Cancelar"),
});

constexpr auto tablas = std::to_array<Tabla_Ventana>({
    {"F_Login", F_Login},
    {"F_Gestion_BD", F_Gestion_BD},
    {"F_Main", F_Main},
    {"F_Nuevo_Usr", F_Nuevo_Usr},
    {"F_Contr_N", F_Contr_N},
    {"F_edit_controller", F_edit_controller},
    {"F_Clone_Controller", F_Clone_Controller},
    {"F_Muestra_recep", F_Muestra_recep},
    {"F_Delete_Conf", F_Delete_Conf},
    {"F_Muestra_Del", F_Muestra_Del},
    {"F_Pregunta_Elimina", F_Pregunta_Elimina},
    {"F_Send_Card", F_Send_Card},
    {"F_New_Card", F_New_Card},
    {"F_Pregunta_elimina_tarj", F_Pregunta_elimina_tarj},
    {"F_Error_insert", F_Error_insert},
    {"F_Editar_Card", F_Editar_Card},
    {"F_Nuevo_login", F_Nuevo_login},
    {"F_Cambia_Password", F_Cambia_Password},
    {"f_recv_users", f_recv_users},
    {"F_Exp_imp", F_Exp_imp},
    {"F_imp_XLS", F_imp_XLS},
    {"F_Edit_User", F_Edit_User},
    {"F_Parametros_app", F_Parametros_app},
    {"F_Camera_Control", F_Camera_Control},
    {"F_New_Camera", F_New_Camera},
    {"F_Lector_ES", F_Lector_ES},
    {"F_Presencia_Amplia", F_Presencia_Amplia},
    {"F_User_Muestra", F_User_Muestra},
    {"F_Presencia_Estancia", F_Presencia_Estancia},
});

} // namespace

std::span<const Tabla_Ventana> Tablas_Ventanas()
{
    return tablas;
}

const Tabla_Ventana *Tabla_De(const QString &ventana)
{
    for (const Tabla_Ventana &t : tablas)
        if (ventana.compare(QLatin1String(t.ventana), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString Clave(const char *ventana, const Clave_Ventana &c)
{
    if (c.clave)
        return QLatin1String(c.clave);
    const QString w = QLatin1String(ventana);
    const QString o = QLatin1String(c.objeto ? c.objeto : "");
    const QString i = QString::number(c.indice);
    switch (c.destino) {
    case Destino::Titulo:
        return w + QLatin1String("_Caption");
    case Destino::Texto:
        return w + u'_' + o + QLatin1String("_Caption");
    case Destino::Pista:
        return w + u'_' + o + QLatin1String("_Hint");
    case Destino::Titulo_Dialogo:
        return w + u'_' + o + QLatin1String("_Title");
    case Destino::Texto_Combo:
        return w + u'_' + o + QLatin1String("_Text");
    case Destino::Elemento_Combo:
    case Destino::Nodo:
        return w + u'_' + o + QLatin1String("_Items") + i + QLatin1String("_Text");
    case Destino::Columna:
        return w + u'_' + o + QLatin1String("_Columns") + i + QLatin1String("_Caption");
    }
    return QString();
}

} // namespace Lang
