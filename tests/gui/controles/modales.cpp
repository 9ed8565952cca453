// The program's own windows that a control of the main window shows
// modally, walked one control at a time, each in a freshly opened window.
#include "piezas.h"

#include "ui/operador.h"

#include <QDialog>
#include <QTest>

using piezas::Alcanzable;

void Recorrido::Recorre_Modales()
{
    for (auto it = m_ventanas_modales.cbegin(); it != m_ventanas_modales.cend(); ++it) {
        const QString nombre = it.key();
        const QList<Control> camino = it.value().first;
        const Control abre = it.value().second;
        // Opens the window for real through the operator-answer seam, runs
        // paso on it, and closes it if paso left it open.
        const auto con_ventana = [&](const std::function<void(QDialog *)> &paso) {
            bool abierta = false;
            kv::ui::Operador::setNextDialogAction([&paso, &abierta](QDialog *d) {
                abierta = true;
                paso(d);
            });
            Ir(camino);
            Selecciona_Filas();
            if (prepara)
                prepara();
            // The window is wanted open this time: the watchdog stays off
            // until it is gone (inside it, its own walker keeps watch).
            m_sin_guardia = true;
            if (Alcanzable(abre))
                Usa(abre);
            m_sin_guardia = false;
            // Not shown after all (a condition of the opener): nothing queued stays behind.
            if (!abierta)
                kv::ui::Operador::clear();
            Cierra_Ventanas();
            return abierta;
        };
        QList<QString> ids;
        bool nuestra = true;
        const QString lugar = Texto(camino + QList<Control>{abre}) + QStringLiteral(" > ") + nombre;
        con_ventana([&](QDialog *d) {
            // Qt's own dialogs (print, preview) are Qt's to test.
            nuestra = !QByteArray(d->metaObject()->className()).startsWith('Q');
            Recorrido dentro(d);
            for (const Control &c : dentro.Descubre())
                ids << c.id;
        });
        if (!nuestra || ids.isEmpty())
            continue;
        qInfo("place %s: %lld controls", qPrintable(lugar), static_cast<long long>(ids.size()));
        QStringList nombres;
        for (const QString &id : ids) {
            const QString clave = nombre + QLatin1Char('/') + id;
            if (finales.contains(clave))
                continue;
            nombres << clave;
            QStringList cambios;
            QString rotulo;
            bool hallado = false;
            con_ventana([&](QDialog *d) {
                // Laid out, as the operator sees it once it is up.
                QTest::qWait(20);
                Recorrido dentro(d);
                dentro.formulario = true;
                dentro.externo = externo;
                for (const Control &c : dentro.Descubre())
                    if (c.id == id) {
                        hallado = true;
                        rotulo = c.rotulo;
                        dentro.Aparta(c);
                        const Firma antes = dentro.Toma_Firma();
                        dentro.Usa(c);
                        const Firma despues = dentro.Toma_Firma();
                        QSet<QString> claves(antes.keyBegin(), antes.keyEnd());
                        for (auto k = despues.keyBegin(); k != despues.keyEnd(); ++k)
                            claves.insert(*k);
                        for (const QString &k : claves)
                            if (antes.value(k) != despues.value(k))
                                cambios << k;
                        if (!d->isVisible())
                            cambios << QStringLiteral("window closed");
                        cambios.sort();
                    }
                modales << dentro.modales;
            });
            if (!hallado) {
                muertos << lugar + QStringLiteral(": ") + clave + QStringLiteral(" (cannot be reached again)");
                continue;
            }
            const bool exento = exentos.contains(clave);
            qInfo("  %s %s \"%s\": %s", cambios.isEmpty() ? (exento ? "EXEMPT" : "DEAD") : "ok", qPrintable(clave),
                  qPrintable(rotulo), qPrintable(cambios.mid(0, 3).join(QStringLiteral(", "))));
            if (cambios.isEmpty() && !exento)
                muertos << lugar + QStringLiteral(": ") + clave;
        }
        usados.append({lugar, nombres});
    }
}
