#pragma once

#include "model/conexionbd.h"
#include "model/serviciocopia.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QObject;
class ZARVRestauracion;

// The main database: the installation list, the operators' logins and the
// report labels, and the installation files beside it. Owns the one
// connection to the main database and the connection parameters that every
// installation connection copies. Database errors reach the caller as ErrorBD.
class ZARVServer {
public:
    explicit ZARVServer(QObject *owner = nullptr);
    ~ZARVServer();
    ZARVServer(const ZARVServer &) = delete;
    ZARVServer &operator=(const ZARVServer &) = delete;

    // An empty host opens the database files embedded; a host name reaches
    // that Firebird server ("host:path"). The connection opens with the first statement.
    void Configurar(const QString &host, const QString &base_datos, const QString &password,
                    const QString &usuario);

    QStringList Lista_Instalaciones();
    // directorio: program directory without trailing separator. The name is
    // stored exactly as given. Never overwrites a file: when the new code's
    // file exists already (in any letter case) the code is refused. Raises
    // ErrorBD, and leaves no installation row behind, when the code is
    // refused or the template cannot be copied.
    int Nueva_Instalacion(const QString &nombre, const QString &directorio);
    // clave: "instalacion_" followed by the code. The row only.
    void Elimina_Instalacion(const QString &clave);
    bool Existe_Instalacion(const QString &codigo);
    // The installation's row and its file, or neither. False, changing
    // nothing, while another connection holds the file (the installation must
    // be closed in this process); database errors raise ErrorBD.
    bool Borra_Instalacion(const QString &codigo, const QString &directorio_bd);
    // The installation files in directorio_bd that the main database does not
    // list (a main database brought back from the factory set lists only
    // installation 1): each gets its row, named nombre and its code, and the
    // code generator is moved past every code listed or found, so that a new
    // installation never takes the code of a file that exists. Returns the
    // codes registered.
    QStringList Registra_Instalaciones_Sueltas(const QString &directorio_bd, const QString &nombre);

    // nombre_base: "instalacion_" + code; directorio_bd: the database directory
    // with trailing separator. The backup runs while the installation is open.
    ZARVResultadoCopia Exporta_Instalacion(const QString &nombre_base, const QString &fichero,
                                           const QString &directorio_bd, ProgresoCopia progreso = {});
    // The installation must be closed. The backup is restored into a new file
    // beside the installation, checked to open as an installation, and only
    // then put in place of the installation file; on any failure the
    // installation file is left as it was.
    ZARVResultadoCopia Importa_Instalacion(const QString &nombre_base, const QString &fichero,
                                           const QString &directorio_bd, ProgresoCopia progreso = {});
    // The first half of the import, which needs the installation neither
    // open nor closed: the backup restored beside the installation file and
    // checked. The caller closes the installation, then puts the restored
    // file in place (ZARVRestauracion::Coloca). Never null.
    std::unique_ptr<ZARVRestauracion> Restaura_Aparte(const QString &nombre_base, const QString &fichero,
                                                      const QString &directorio_bd, ProgresoCopia progreso = {});

    // Brings a main database from an earlier version up to this one's: a
    // password column wide enough for a hash and the level's CHECK constraint
    // (in one transaction, after a backup of the file beside it; a level
    // other than ADMIN and USER, which counts as USER, is stored as USER), then every
    // password still in plain text hashed. Returns the backup's path when the
    // schema changed, else empty; raises ErrorBD, changing nothing, when the
    // backup fails.
    // Through a server, a conflict with another station doing the same is
    // retried: the second look finds it done.
    QString Actualiza_Esquema();

    // Passwords are case-insensitive. A wrong password and an unknown login
    // are refused alike (and take as long). A password an older version
    // kept in plain text is accepted and stored as a hash from then on.
    bool Comprueba_Login(const QString &login, const QString &password);
    QStringList Lista_Logins();
    bool Es_Admin(const QString &login);
    bool Ultimo_Admin();
    bool Existe_Login(const QString &login);
    // Administrators only (Nivel::Sin_Permiso otherwise).
    void Nuevo_Login(const QString &login, const QString &password, const QString &rol);
    void Elimina_Login(const QString &login);
    // Sets login's password without the old one (an administrator's reset);
    // false when there is no such login.
    bool Pon_Password(const QString &login, const QString &nueva);
    // Anyone who knows login's password may change it; false when the old
    // password is wrong or the login does not exist.
    bool Cambia_Password(const QString &login, const QString &antigua, const QString &nueva);
    // True while the factory login still has its factory password (admin/admin).
    bool Clave_De_Fabrica();
    static const QString Login_De_Fabrica;

    int Cod_Login() const { return m_cod_login; }
    const QString &Login_Actual() const { return m_login_actual; }
    const QString &Rol() const { return m_rol; }
    // Whoever runs keyvane-cli on the database files is their administrator:
    // the same files and credentials reach the database without any login.
    void Abre_Sesion_Consola();
    bool Es_Administrador() const;
    // Raises Nivel::Sin_Permiso unless the account of this server is an administrator.
    void Exige_Administrador() const;

    const ParametrosBD &Parametros() const { return m_parametros; }
    // The main-database connection, for the report labels; opened on first use.
    QSqlDatabase &Conexion();

    // An installation's file in directorio_bd (with or without trailing
    // separator). Names are matched without regard to letter case, as the
    // installations' first home did, so that the file opened is the one
    // deleted, backed up and restored: "INSTALACION_<code>.FDB" when that
    // exists or no spelling does, else the one spelling found.
    static QString Fichero_Instalacion(const QString &directorio_bd, const QString &codigo);
    // The code in "instalacion_<code>" (the second piece at "_"), checked to be a number.
    static QString Codigo_De_Clave(const QString &clave);

private:
    QString Actualiza_Esquema_Una_Vez();
    QSqlQuery &Ejecuta(const QString &sentencia);
    QVariant Escalar(const QString &sentencia);
    // The stored password of login; none when there is no such login.
    std::optional<QString> Password_Guardado(const QString &login);
    void Guarda_Password(const QString &login, const QString &password);

    QObject *m_owner;
    ParametrosBD m_parametros;
    std::unique_ptr<ConexionBD> m_conexion;
    std::unique_ptr<QSqlQuery> m_consulta;
    int m_apertura = 0; // the connection's opening m_consulta was made on

    int m_cod_login = 0;
    QString m_login_actual;
    QString m_rol;
};

// A backup restored into a new file beside an installation's file and found
// to be an installation this version can use. Coloca puts it in the
// installation file's place and keeps the old file aside; Confirma drops the
// old file. Whatever is not confirmed is undone when this goes: the old file
// back in its place, the restored one removed. All on the UI thread.
class ZARVRestauracion {
public:
    ~ZARVRestauracion();
    ZARVRestauracion(const ZARVRestauracion &) = delete;
    ZARVRestauracion &operator=(const ZARVRestauracion &) = delete;

    const ZARVResultadoCopia &Resultado() const { return m_resultado; }
    bool Correcta() const { return m_resultado.Correcto; }

    // False, with Resultado saying why (Fallo_Copia::En_Uso while another
    // connection holds the installation file), when it cannot be put in place.
    bool Coloca();
    // The old file back in the installation file's place.
    void Deshaz();
    void Confirma();

private:
    friend class ZARVServer;
    ZARVRestauracion(const ParametrosBD &parametros, const QString &destino);

    ParametrosBD m_parametros;
    QString m_destino;
    QString m_provisional;
    QString m_anterior; // the old file while it waits aside
    ZARVResultadoCopia m_resultado;
    bool m_colocada = false;
    bool m_confirmada = false;
};
