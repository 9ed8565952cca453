#pragma once

#include "model/conexionbd.h"
#include "model/serviciocopia.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QObject;

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
    // directorio: program directory without trailing separator. Raises ErrorBD,
    // and leaves no installation row behind, when the template cannot be copied.
    int Nueva_Instalacion(const QString &nombre, const QString &directorio);
    // clave: "instalacion_" followed by the code.
    void Elimina_Instalacion(const QString &clave);
    bool Existe_Instalacion(const QString &codigo);

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

    // Brings a main database from an earlier version up to this one's: a
    // password column wide enough for a hash and the level's CHECK constraint
    // (in one transaction, after a backup of the file beside it; a level
    // other than ADMIN and USER, which counts as USER, is stored as USER), then every
    // password still in plain text hashed. Returns the backup's path when the
    // schema changed, else empty; raises ErrorBD, changing nothing, when the
    // backup fails.
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

    // The one spelling of an installation's file name: "INSTALACION_<code>.FDB"
    // in directorio_bd (with or without trailing separator).
    static QString Fichero_Instalacion(const QString &directorio_bd, const QString &codigo);
    // The code in "instalacion_<code>" (the second piece at "_"), checked to be a number.
    static QString Codigo_De_Clave(const QString &clave);

private:
    QSqlQuery &Ejecuta(const QString &sentencia);
    QVariant Escalar(const QString &sentencia);
    // The stored password of login; none when there is no such login.
    std::optional<QString> Password_Guardado(const QString &login);
    void Guarda_Password(const QString &login, const QString &password);

    QObject *m_owner;
    ParametrosBD m_parametros;
    std::unique_ptr<ConexionBD> m_conexion;
    std::unique_ptr<QSqlQuery> m_consulta;

    int m_cod_login = 0;
    QString m_login_actual;
    QString m_rol;
};
