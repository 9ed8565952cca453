// Reading texts from the language file and loading the message tables.
#include "lang/lang.h"
#include "lang/tablas.h"
#include "link/textoestado.h"
#include "model/inicodec.h"
#include "model/variables.h"
#include "platform/paths.h"

#include "fbtest.h" // PrintTo for QString

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Idioma : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kv::Paths::setSystemDir(m_dir.path());
        Variables::Restablecer();
        Lang::Cerrar_Fichero_Idioma();
    }
    void TearDown() override
    {
        Lang::Cerrar_Fichero_Idioma();
        Variables::Restablecer();
        Establecer_Textos_Estado({});
        kv::Paths::reset();
    }

    void escribir(const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(QStringLiteral("Keyvane20_Lang.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        Lang::Abrir_Fichero_Idioma();
    }

    QTemporaryDir m_dir;
};

struct Lectura {
    const char *clave;
    const char *esperado;
};

class IdiomaClaves : public Idioma, public testing::WithParamInterface<Lectura> {};

TEST_P(IdiomaClaves, ReadsKeysWithoutRegardToCase)
{
    escribir("[ENGLISH]\r\n"
             "F_RECV_USERS_CAPTION=Receive\r\n"
             "f_main_lista_presencia_columns0_caption=Day\r\n"
             "F_edit_Controller_Label7_Caption=Seconds\r\n"
             "Vacia=\r\n"
             "[ESPA\xD1OL]\r\n"
             "Vacia=no\r\n");
    Variables::Idioma = QStringLiteral("english");
    EXPECT_EQ(Lang::Texto_Idioma(QLatin1String(GetParam().clave)), QString::fromUtf8(GetParam().esperado));
}

INSTANTIATE_TEST_SUITE_P(Keys, IdiomaClaves,
                         testing::Values(Lectura{"f_recv_users_Caption", "Receive"},
                                         Lectura{"F_Main_Lista_Presencia_Columns0_caption", "Day"},
                                         Lectura{"F_EDIT_CONTROLLER_LABEL7_CAPTION", "Seconds"},
                                         Lectura{"Vacia", ""}, // present but empty: empty, not the marker
                                         Lectura{"Falta", "¿?"}));

TEST_F(Idioma, MarkerIsTheTwoBytesOfTheFile)
{
    escribir("[ENGLISH]\r\n");
    Variables::Idioma = QStringLiteral("ENGLISH");
    EXPECT_EQ(kv::Cp1252::encode(Lang::Texto_Idioma(QStringLiteral("x"))), QByteArray("\xBF\x3F"));
}

TEST_F(Idioma, LanguageWithoutSectionOrFileReadsTheMarker)
{
    escribir("[ENGLISH]\r\nk=v\r\n");
    Variables::Idioma = QStringLiteral("FRAN\u00C7AIS");
    EXPECT_EQ(Lang::Texto_Idioma(QStringLiteral("k")), QStringLiteral("¿?"));

    QFile::remove(m_dir.filePath(QStringLiteral("Keyvane20_Lang.ini")));
    Lang::Abrir_Fichero_Idioma();
    Variables::Idioma = QStringLiteral("ENGLISH");
    EXPECT_EQ(Lang::Texto_Idioma(QStringLiteral("k")), QStringLiteral("¿?"));
    EXPECT_TRUE(Lang::Idiomas_Disponibles().isEmpty());
}

TEST_F(Idioma, NonAsciiSectionNamesMatchWithoutRegardToCase)
{
    escribir("[ESPA\xD1OL]\r\nk=s\xED\r\n");
    Variables::Idioma = QStringLiteral("Español");
    EXPECT_EQ(Lang::Texto_Idioma(QStringLiteral("K")), QStringLiteral("sí"));
}

TEST_F(Idioma, LanguagesInFileOrder)
{
    escribir("; languages\r\n[ZULU]\r\n[ENGLISH]\r\na=1\r\n[ESPA\xD1OL]\r\n[Deutsch]\r\n");
    EXPECT_EQ(Lang::Idiomas_Disponibles(), (QStringList{QStringLiteral("ZULU"), QStringLiteral("ENGLISH"),
                                                         QStringLiteral("ESPAÑOL"), QStringLiteral("Deutsch")}));
}

TEST_F(Idioma, NoLanguageChosenYet)
{
    for (const QString &v : {QStringLiteral("¿?"), QString()}) {
        Variables::Idioma = v;
        EXPECT_TRUE(Lang::Sin_Idioma());
    }
    Variables::Idioma = QStringLiteral("ENGLISH");
    EXPECT_FALSE(Lang::Sin_Idioma());
}

// Every message, state and report key holds its own name as text, except one
// message left out to show the marker.
TEST_F(Idioma, LoadsTheTablesFromTheCurrentLanguage)
{
    const QByteArray falta = "Variables_variables_F_Main_31";
    QByteArray fichero = "[OTHER]\r\ncambio_master=wrong\r\n[ENGLISH]\r\n";
    for (const auto tabla : {Lang::Claves_Mensajes(), Lang::Claves_Estado(), Lang::Claves_Informe()})
        for (const char *k : tabla)
            if (k && falta != k)
                fichero += QByteArray(k) + '=' + k + "\r\n";
    escribir(fichero);
    Variables::Idioma = QStringLiteral("ENGLISH");
    Lang::Cargar_Mensajes();

    EXPECT_EQ(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_2")), QStringLiteral("Variables_variables_F_Main_2"));
    EXPECT_EQ(Variables::Mensaje(QStringLiteral("variables_variables_f_exp_imp_2")),
              QStringLiteral("Variables_variables_F_Exp_imp_2"));
    EXPECT_EQ(Variables::Mensaje(QString::fromLatin1(falta)), QStringLiteral("¿?"));

    EXPECT_EQ(Texto_Estado(0), QStringLiteral("cambio_master"));
    EXPECT_EQ(Texto_Estado(1), QString());
    EXPECT_EQ(Texto_Estado(2), QStringLiteral("puerta_cerrada"));
    EXPECT_EQ(Texto_Estado(7), QStringLiteral("puerta_abierta"));
    EXPECT_EQ(Texto_Estado(8), QString());

    ASSERT_EQ(Variables::Campos_Informe.size(), 13);
    EXPECT_EQ(Variables::Campos_Informe[0], QStringLiteral("F_Main_CAMPO_1"));
    EXPECT_EQ(Variables::Campos_Informe[5], Variables::Campos_Informe[3]) << "campo_6 repeats campo_4";
    EXPECT_EQ(Variables::Campos_Informe[3], QStringLiteral("F_Main_CAMPO_4"));
    EXPECT_EQ(Variables::Campos_Informe[12], QStringLiteral("F_Main_CAMPO_13"));

    ASSERT_EQ(Variables::Nombres_Mes.size(), 12);
    EXPECT_EQ(Variables::Nombres_Mes.front(), QStringLiteral("Variables_variables_F_Main_14"));
    EXPECT_EQ(Variables::Nombres_Mes.back(), QStringLiteral("Variables_variables_F_Main_25"));

    ASSERT_EQ(Variables::Tipos_Incidencia.size(), 10);
    EXPECT_EQ(Variables::Tipos_Incidencia[0], QStringLiteral("Variables_variables_F_Main_28"));
    EXPECT_EQ(Variables::Tipos_Incidencia[3], QStringLiteral("¿?"));
    EXPECT_EQ(Variables::Tipos_Incidencia[5], QStringLiteral("Variables_variables_F_Main_33"));
    for (int i = 6; i < 10; ++i)
        EXPECT_EQ(Variables::Tipos_Incidencia[i], QString());
}

TEST_F(Idioma, KeyRule)
{
    const auto *main = Lang::Tabla_De(QStringLiteral("f_main"));
    ASSERT_NE(main, nullptr);
    const struct {
        Lang::Clave_Ventana c;
        const char *esperado;
    } casos[] = {
        {{Lang::Destino::Titulo, nullptr, -1, nullptr}, "F_Main_Caption"},
        {{Lang::Destino::Texto, "B_Login", -1, nullptr}, "F_Main_B_Login_Caption"},
        {{Lang::Destino::Pista, "I_PLAY_ON", -1, nullptr}, "F_Main_I_PLAY_ON_Hint"},
        {{Lang::Destino::Titulo_Dialogo, "Save_INC", -1, nullptr}, "F_Main_Save_INC_Title"},
        {{Lang::Destino::Texto_Combo, "C_Idioma", -1, nullptr}, "F_Main_C_Idioma_Text"},
        {{Lang::Destino::Elemento_Combo, "C_Nivel", 1, nullptr}, "F_Main_C_Nivel_Items1_Text"},
        {{Lang::Destino::Columna, "L2_Contr", 7, nullptr}, "F_Main_L2_Contr_Columns7_Caption"},
        {{Lang::Destino::Nodo, "Arbol1", 6, nullptr}, "F_Main_Arbol1_Items6_Text"},
        {{Lang::Destino::Texto, "B_edit_usr", -1, "F_Main_SpeedButton2_Caption"}, "F_Main_SpeedButton2_Caption"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(Lang::Clave(main->ventana, c.c), QLatin1String(c.esperado));
    EXPECT_EQ(Lang::Tabla_De(QStringLiteral("F_Select_Lang")), nullptr) << "the selection window is not translated";
}

} // namespace
