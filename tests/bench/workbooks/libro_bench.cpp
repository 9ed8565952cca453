// Workbooks on an embedded installation with four readers: the import of a
// 10,000-row workbook (10,000 cardholders, read and stored as one change,
// goal 2 s) and the export of its 10,000 cards (goal 1 s); then a full
// sheet of a million rows imported, measured without a goal.
#include "banco.h"
#include "fbtest.h"
#include "tempinstall.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "workbooks/libro.h"
#include "workflows/interlocutor.h"
#include "workflows/libro_tarjetas.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using kv::bench::Bench;

namespace {

constexpr int kRows = 10000;

class Sin_Ventana : public kv::wf::Progreso {
public:
    void Muestra() override {}
    void Rango(int) override {}
    void Paso(const QString &) override {}
    void Cierra() override {}
};

double Median(const std::function<void()> &work, int runs)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        work();
        t.push_back(e.nsecsElapsed() / 1e9);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    {
        kv::test::FbConnection c(inst.installationFile(1));
        for (int i = 1; i <= 4; ++i)
            if (!c.exec(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                                       "VALUES(%1,1,'Door %1','',%1)")
                            .arg(i)))
                return 1;
    }
    Globales::Servidor = std::make_unique<ZARVServer>();
    Globales::Servidor->Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    Globales::Sistema = std::make_unique<ZARVSistema>(nullptr, inst.installationFile(1), Globales::Servidor.get());
    Globales::Sistema->Crea_Colecciones();

    QTemporaryDir dir;
    const QString entrada = dir.filePath(QStringLiteral("in.xlsx"));
    std::vector<QStringList> filas = {{"Card", "Name", "Surname"}};
    for (int i = 0; i < kRows; ++i)
        filas.push_back({QString::number(100000 + i), QStringLiteral("Nombre %1").arg(i), QStringLiteral("Apellidos %1").arg(i)});
    kv::libros::Escribe_Xlsx(entrada, filas);

    Sin_Ventana progreso;
    int importadas = 0;
    const double importa = Median(
        [&] {
            const auto r = kv::wf::Importa_Libro(kv::wf::Lee_Libro_Importacion(entrada), kv::wf::Modo_Importacion::Reemplazar,
                                                 {1, 2, 3, 4}, progreso);
            importadas = r.importadas;
        },
        3);
    if (importadas != kRows || Globales::Sistema->Tarjetas()->Cuenta() != kRows) {
        std::fprintf(stderr, "imported %d of %d\n", importadas, kRows);
        return 1;
    }
    const QString salida = dir.filePath(QStringLiteral("out.xlsx"));
    const double exporta = Median([&] { kv::wf::Exporta_Libro(salida); }, 5);
    if (kv::libros::Lee_Hoja(salida, 3).filas.size() != std::size_t(kRows) + 1)
        return 1;
    // A full sheet: a million rows read and imported with their progress,
    // one holder, no readers; measured once, no goal.
    {
        std::vector<QStringList> grande = {{"Card", "Name", "Surname"}};
        grande.reserve(1000001);
        for (int i = 0; i < 1000000; ++i)
            grande.push_back({QString::number(i + 1), QStringLiteral("Ana"), QStringLiteral("Ruiz")});
        const QString ruta = dir.filePath(QStringLiteral("big.xlsx"));
        kv::libros::Escribe_Xlsx(ruta, grande);
        int pasos = 0;
        class Cuenta : public Sin_Ventana {
        public:
            explicit Cuenta(int &n) : m_n(n) {}
            void Paso(const QString &) override { ++m_n; }

        private:
            int &m_n;
        } cuenta(pasos);
        QElapsedTimer e;
        e.start();
        const auto r = kv::wf::Importa_Libro(kv::wf::Lee_Libro_Importacion(ruta), kv::wf::Modo_Importacion::Reemplazar, {},
                                             cuenta);
        const double segundos = e.nsecsElapsed() / 1e9;
        if (r.importadas != 1000000 || pasos != 1000000) {
            std::fprintf(stderr, "imported %d of a million rows in %d steps\n", r.importadas, pasos);
            return 1;
        }
        Bench("workbooks_import_1m_rows", segundos, "s", "none");
    }
    Bench("workbooks_import_10k_rows_10k_holders_4_readers", importa, "s", "2");
    Bench("workbooks_export_10k_cards", exporta, "s", "1");
    Globales::Sistema.reset();
    Globales::Servidor.reset();
    return importa <= 2 && exporta <= 1 ? 0 : 1;
}
