// Four views of 640x480 MJPEG at 25 frames/s from loopback, as the overview
// shows them (190x137) and at full size: pictures shown per second by the
// slowest view (goal 24, printed as its shortfall) and the process's CPU time
// per picture shown. The camera runs in the same process, so its (small)
// share of the CPU time is counted too.
#include "servidor_mjpeg.h"

#include "cameras/vista_mjpeg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QTest>

#include <sys/resource.h>

#include <cstdio>

namespace {

double Cpu_s()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

void Bench(const char *nombre, double valor, const char *unidad, const char *meta)
{
    std::printf("BENCH %s %.4f %s goal %s\n", nombre, valor, unidad, meta);
}

void Mide(const char *caso, QSize tamano, const QString &url, int segundos)
{
    QWidget ventana;
    auto *rejilla = new QGridLayout(&ventana);
    Vista_Mjpeg *vistas[4];
    for (int i = 0; i < 4; ++i) {
        vistas[i] = new Vista_Mjpeg(QStringLiteral("ORVIK%1").arg(5 + i), &ventana);
        vistas[i]->setFixedSize(tamano);
        vistas[i]->setMediaURL(url);
        rejilla->addWidget(vistas[i], i / 2, i % 2);
    }
    ventana.show();
    for (Vista_Mjpeg *v : vistas)
        v->Play();
    // Past the connection and the first pictures.
    QTest::qWait(1000);
    int antes[4];
    for (int i = 0; i < 4; ++i)
        antes[i] = vistas[i]->Cuadros_Mostrados();
    const double cpu0 = Cpu_s();
    QElapsedTimer t;
    t.start();
    QTest::qWait(segundos * 1000);
    const double s = t.elapsed() / 1000.0;
    const double cpu = Cpu_s() - cpu0;
    double minimo = 1e9;
    int total = 0;
    for (int i = 0; i < 4; ++i) {
        const int n = vistas[i]->Cuadros_Mostrados() - antes[i];
        total += n;
        minimo = qMin(minimo, n / s);
        std::printf("%s view %d: %.1f pictures/s\n", caso, i + 5, n / s);
    }
    const double ms_por_cuadro = total ? cpu * 1000.0 / total : 1e9;
    std::printf("%s: slowest view %.1f pictures/s, %.2f ms CPU per picture, %.0f%% of one core\n", caso, minimo,
                ms_por_cuadro, 100.0 * cpu / s);
    const QByteArray n1 = QByteArray("cameras_") + caso + "_fps_shortfall";
    const QByteArray n2 = QByteArray("cameras_") + caso + "_cpu_per_picture_ms";
    Bench(n1.constData(), qMax(0.0, (24.0 - minimo) / 24.0), "ratio", "0");
    Bench(n2.constData(), ms_por_cuadro, "ms", "10");
    for (Vista_Mjpeg *v : vistas)
        v->Stop();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int segundos = argc > 1 ? qBound(1, atoi(argv[1]), 60) : 10;
    Servidor_Mjpeg camara;
    if (!camara.Escucha())
        return 1;
    camara.setCuadros(Servidor_Mjpeg::Cuadros_De_Prueba(25, 640, 480));
    camara.setPeriodo(40);
    Mide("overview", QSize(190, 137), camara.Url(), segundos);
    Mide("full", QSize(640, 480), camara.Url(), segundos);
    return 0;
}
