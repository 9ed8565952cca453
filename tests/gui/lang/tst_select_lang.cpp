#include "tst_select_lang.h"

#include "idioma_temporal.h"

#include "lang/ui/tf_select_lang.h"
#include "lang/ui/traducir.h"
#include "model/variables.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QByteArray kTres = "[ZULU]\r\na=1\r\n[ENGLISH]\r\na=2\r\n[ESPA\xD1OL]\r\na=3\r\n";

} // namespace

void TestSelectLang::listsTheLanguagesInFileOrder()
{
    IdiomaTemporal idioma(kTres);
    TF_Select_Lang v;
    v.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v));
    QCOMPARE(v.C_Idioma->count(), 3);
    QCOMPARE(v.C_Idioma->itemText(0), QStringLiteral("ZULU"));
    QCOMPARE(v.C_Idioma->itemText(2), QStringLiteral("ESPAÑOL"));
    QCOMPARE(v.C_Idioma->currentIndex(), 0);
    QCOMPARE(v.C_Idioma->currentText(), QStringLiteral("ZULU"));
}

void TestSelectLang::typedLettersChangeNothingAndEnterCloses()
{
    IdiomaTemporal idioma(kTres);
    TF_Select_Lang v;
    v.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v));
    v.C_Idioma->setFocus();
    QTest::keyClicks(v.C_Idioma, QStringLiteral("ESPENG e"));
    QCOMPARE(v.C_Idioma->currentText(), QStringLiteral("ZULU"));
    QVERIFY(v.isVisible());

    QTest::keyClick(v.C_Idioma, Qt::Key_Down); // a pick from the list still works
    QTest::keyClick(v.C_Idioma, Qt::Key_Return);
    QVERIFY(!v.isVisible());
    QCOMPARE(v.result(), int(QDialog::Accepted));
    QCOMPARE(Variables::Idioma, QStringLiteral("ENGLISH"));
}

void TestSelectLang::closingTakesTheChosenEntry_data()
{
    QTest::addColumn<QByteArray>("fichero");
    QTest::addColumn<int>("elegido");
    QTest::addColumn<QString>("cierre");
    QTest::addColumn<QString>("idioma");

    QTest::newRow("OK button") << kTres << 2 << "ok" << QStringLiteral("ESPAÑOL");
    QTest::newRow("Escape") << kTres << 1 << "escape" << QStringLiteral("ENGLISH");
    QTest::newRow("closed by the window manager") << kTres << 0 << "close" << QStringLiteral("ZULU");
    QTest::newRow("no language file") << QByteArray() << -1 << "ok" << QStringLiteral("ENGLISH");
    QTest::newRow("file without sections") << QByteArray("; nothing\r\n") << -1 << "close" << QStringLiteral("ENGLISH");
}

void TestSelectLang::closingTakesTheChosenEntry()
{
    QFETCH(QByteArray, fichero);
    QFETCH(int, elegido);
    QFETCH(QString, cierre);
    QFETCH(QString, idioma);

    IdiomaTemporal temporal(fichero);
    Variables::Idioma = QStringLiteral("before");
    TF_Select_Lang v;
    v.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v));
    if (elegido >= 0)
        v.C_Idioma->setCurrentIndex(elegido);
    QCOMPARE(v.C_Idioma->count() == 0, elegido < 0);

    if (cierre == QLatin1String("ok"))
        QTest::mouseClick(v.B_OK, Qt::LeftButton);
    else if (cierre == QLatin1String("escape"))
        QTest::keyClick(&v, Qt::Key_Escape);
    else
        v.close();
    QVERIFY(!v.isVisible());
    QCOMPARE(Variables::Idioma, idioma);
}

void TestSelectLang::fixedUntranslatedTexts()
{
    IdiomaTemporal idioma("[ENGLISH]\r\nF_Select_Lang_Caption=translated\r\nF_Select_Lang_Label1_Caption=translated\r\n");
    Variables::Idioma = QStringLiteral("ENGLISH");
    TF_Select_Lang v;
    QVERIFY(Lang::Traducir_Ventana(&v).isEmpty());
    QCOMPARE(v.objectName(), QStringLiteral("F_Select_Lang"));
    QCOMPARE(v.windowTitle(), QStringLiteral("Keyvane"));
    QCOMPARE(v.Label1->text(), QStringLiteral("Please select a language."));
    QCOMPARE(v.B_OK->text(), QStringLiteral("OK"));
    const Qt::WindowFlags f = v.windowFlags();
    QVERIFY(f.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!f.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!f.testFlag(Qt::WindowCloseButtonHint));
}
