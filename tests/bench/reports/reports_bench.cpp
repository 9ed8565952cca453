// The cards report of an installation with 10,000 cards, as the Reports page
// makes it: from the selection to the preview's first page on screen (query,
// labels, template, layout and that page painted; goal 1 s), and from the
// selection to a PDF of every page (goal 3 s).
#include "banco.h"
#include "fbtest.h"
#include "tempinstall.h"

#include "model/globales.h"
#include "reports/informe.h"
#include "reports/ui/vista_informe.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <vector>

using kv::bench::Bench;
using kv::bench::Median;

namespace {

constexpr int kCards = 10000;

double Segundos(const std::function<void()> &trabajo)
{
    QElapsedTimer t;
    t.start();
    trabajo();
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    const QDir fuentes(QStringLiteral(KEYVANE_SOURCE_DIR "/data/reports"));
    for (const QString &f : fuentes.entryList({"*.frf"}, QDir::Files))
        if (!kv::test::copyFile(fuentes.filePath(f), inst.programDir() + "/Data/" + f))
            return 1;
    {
        kv::test::FbConnection c(inst.installationFile(1));
        if (!c.exec(QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
                                   "INSERT INTO zarvtarjeta(codigo_tarjeta,bloqueado,fecha_alta,fecha_caducidad,usuario,"
                                   "usar_fecha_cad) VALUES (LPAD(:i + 1, 10, '0'), 'N', '2026-01-01 10:00:00', "
                                   "'2027-06-30 00:00:00', NULL, IIF(MOD(:i, 2) = 0, 'S', 'N')); i = i + 1; END END")
                        .arg(kCards))) {
            std::fprintf(stderr, "%s\n", qPrintable(c.lastError()));
            return 1;
        }
    }
    Globales::Servidor = std::make_unique<ZARVServer>();
    Globales::Servidor->Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    Globales::Sistema = std::make_unique<ZARVSistema>(nullptr, inst.installationFile(1), Globales::Servidor.get());
    Globales::Sistema->Crea_Colecciones();

    kv::rep::ui::Vista_Informe vista;
    vista.resize(900, 1000);
    vista.show();
    int paginas = 0;
    qsizetype filas = 0;
    std::vector<double> vistas;
    for (int i = 0; i < 5; ++i)
        vistas.push_back(Segundos([&] {
            vista.Muestra(kv::rep::Informe::Ejecuta(2));
            // The widget painted as the screen shows it, first page included.
            const QPixmap imagen = vista.grab();
            paginas = vista.Informe()->Numero_Paginas();
            filas = vista.Informe()->Filas();
        }));
    if (filas != kCards || vista.Imagen().isNull()) {
        std::fprintf(stderr, "the preview shows %lld rows\n", static_cast<long long>(filas));
        return 1;
    }

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cards.pdf"));
    std::vector<double> pdfs;
    for (int i = 0; i < 3; ++i)
        pdfs.push_back(Segundos([&] { kv::rep::Informe::Ejecuta(2)->Exporta_Pdf(pdf); }));
    std::printf("cards report: %lld rows, %d pages, PDF %lld bytes\n", static_cast<long long>(filas), paginas,
                static_cast<long long>(QFileInfo(pdf).size()));

    const double primera = Median(vistas);
    const double documento = Median(pdfs);
    Bench("reports_cards_10k_preview_first_page", primera, "s", "1");
    Bench("reports_cards_10k_pdf", documento, "s", "3");
    Globales::Sistema.reset();
    Globales::Servidor.reset();
    return primera <= 1 && documento <= 3 ? 0 : 1;
}
