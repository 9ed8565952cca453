#include "link/pausa.h"

#include <QEventLoop>
#include <QTimer>

void Pausa_Activa(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop espera;
    QTimer fin;
    fin.setSingleShot(true);
    fin.setTimerType(Qt::PreciseTimer);
    QObject::connect(&fin, &QTimer::timeout, &espera, &QEventLoop::quit);
    fin.start(ms);
    espera.exec(QEventLoop::ExcludeUserInputEvents);
}
