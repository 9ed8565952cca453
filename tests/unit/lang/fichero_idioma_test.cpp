// The language file the program ships: every key the program reads, in every
// language, and nothing the program does not read.
#include "lang/tablas.h"
#include "model/inifile.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace {

const QString kFichero = QStringLiteral(KEYVANE_SOURCE_DIR "/data/Keyvane20_Lang.ini");

TEST(FicheroIdioma, HasEnglishThenSpanishInWindows1252)
{
    kv::IniFile f(kFichero);
    f.load();
    EXPECT_EQ(f.sections(), (QStringList{QStringLiteral("ENGLISH"), QStringLiteral("ESPAÑOL")}));
    QFile bytes(kFichero);
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
    const QByteArray todo = bytes.readAll();
    EXPECT_TRUE(todo.contains("[ESPA\xD1OL]"));
    EXPECT_FALSE(todo.startsWith("\xEF\xBB\xBF"));
}

TEST(FicheroIdioma, EverySectionHoldsEveryKeyTheProgramReads)
{
    kv::IniFile f(kFichero);
    f.load();
    const QStringList claves = Lang::Todas_Las_Claves();
    ASSERT_FALSE(f.sections().isEmpty());
    for (const QString &seccion : f.sections()) {
        QStringList faltan;
        for (const QString &k : claves)
            if (!f.hasKey(seccion, k))
                faltan.append(k);
        EXPECT_TRUE(faltan.isEmpty()) << seccion.toStdString() << " lacks " << faltan.join(QLatin1String(", ")).toStdString();
    }
}

TEST(FicheroIdioma, HoldsNoKeyTheProgramDoesNotRead)
{
    QSet<QString> leidas;
    for (const QString &k : Lang::Todas_Las_Claves())
        leidas.insert(k.toLower());
    QFile bytes(kFichero);
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList sobran;
    while (!bytes.atEnd()) {
        const QByteArray linea = bytes.readLine().trimmed();
        const qsizetype igual = linea.indexOf('=');
        if (igual > 0 && !linea.startsWith(';') && !leidas.contains(QString::fromLatin1(linea.left(igual)).toLower()))
            sobran.append(QString::fromLatin1(linea.left(igual)));
    }
    EXPECT_TRUE(sobran.isEmpty()) << "unread keys (a misspelling?): " << sobran.join(QLatin1String(", ")).toStdString();
}

// Two keys for one target would leave the first one's text unseen (one key may
// serve two targets: B_edit_usr shows SpeedButton2's caption).
TEST(FicheroIdioma, EachTargetGetsOneKey)
{
    for (const Lang::Tabla_Ventana &t : Lang::Tablas_Ventanas()) {
        QSet<QString> vistos;
        for (const Lang::Clave_Ventana &c : t.claves) {
            const QString destino = QStringLiteral("%1/%2/%3")
                                        .arg(int(c.destino))
                                        .arg(QLatin1String(c.objeto ? c.objeto : ""))
                                        .arg(c.indice);
            EXPECT_FALSE(vistos.contains(destino)) << t.ventana << ": " << destino.toStdString();
            vistos.insert(destino);
        }
    }
}

} // namespace
