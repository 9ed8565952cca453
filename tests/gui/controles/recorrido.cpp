#include "recorrido.h"

#include "piezas.h"

#include "ui/imagen_pulsable.h"
#include "ui/operador.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using piezas::Alcanzable;
using piezas::Compuesto;
using piezas::Nodo_En;

namespace {

// A tree is a navigation tree when it has no column captions; the lists of
// rows show theirs.
bool Es_Arbol(const QTreeWidget *t) { return t->isHeaderHidden(); }

// Every node the operator can see, with its path from the top.
void Nodos(QTreeWidgetItem *nodo, QList<int> ruta, QList<QPair<QList<int>, QTreeWidgetItem *>> &r)
{
    if (nodo->isHidden())
        return;
    r.append({ruta, nodo});
    if (!nodo->isExpanded())
        return;
    for (int i = 0; i < nodo->childCount(); ++i)
        Nodos(nodo->child(i), ruta + QList<int>{i}, r);
}

} // namespace

QString Id_De(const QObject *objeto, const QWidget *ventana)
{
    QStringList partes;
    for (const QObject *p = objeto->parent(); p && p != ventana; p = p->parent())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            partes.prepend(p->objectName());
    QString propio = objeto->objectName();
    if (propio.isEmpty()) {
        QString texto;
        if (const auto *b = qobject_cast<const QAbstractButton *>(objeto))
            texto = b->text();
        else if (const auto *a = qobject_cast<const QAction *>(objeto))
            texto = a->text();
        propio = QStringLiteral("<%1 \"%2\">").arg(QString::fromLatin1(objeto->metaObject()->className()), texto);
    }
    partes << propio;
    return partes.join(QLatin1Char('/'));
}

Recorrido::Recorrido(QWidget *ventana)
    : m_ventana(ventana)
{
}

QSet<QString> Recorrido::Usados() const
{
    QSet<QString> r;
    for (const auto &[lugar, ids] : usados)
        for (const QString &id : ids)
            r.insert(id);
    return r;
}

QList<Control> Recorrido::Descubre() const
{
    QList<Control> r;
    QList<QWidget *> pendientes{m_ventana};
    while (!pendientes.isEmpty()) {
        QWidget *w = pendientes.takeFirst();
        const bool activo = w->isEnabled();
        if (w != m_ventana && activo) {
            if (auto *b = qobject_cast<QAbstractButton *>(w)) {
                r.append({Control::Boton, b, {}, Id_De(b, m_ventana), b->text()});
                if (auto *t = qobject_cast<QToolButton *>(b); t && t->menu())
                    for (QAction *a : t->menu()->actions())
                        if (a->isVisible() && a->isEnabled() && !a->isSeparator())
                            r.append({Control::Accion, a, {}, Id_De(a, m_ventana), a->text()});
            } else if (auto *i = qobject_cast<kv::ui::Imagen_Pulsable *>(w)) {
                r.append({Control::Imagen, i, {}, Id_De(i, m_ventana), i->toolTip()});
            } else if (auto *c = qobject_cast<QComboBox *>(w)) {
                // With a single entry there is nothing else to choose.
                if (c->count() > 1)
                    r.append({Control::Lista_Desplegable, c, {}, Id_De(c, m_ventana), c->currentText()});
            } else if (auto *p = qobject_cast<QTabWidget *>(w)) {
                for (int i = 0; i < p->count(); ++i)
                    if (p->isTabEnabled(i) && p->isTabVisible(i))
                        r.append({Control::Pestana, p, {i}, Id_De(p, m_ventana) + QLatin1Char('#') + QString::number(i),
                                  p->tabText(i)});
            } else if (auto *t = qobject_cast<QTreeWidget *>(w); t && Es_Arbol(t)) {
                QList<QPair<QList<int>, QTreeWidgetItem *>> nodos;
                for (int i = 0; i < t->topLevelItemCount(); ++i)
                    Nodos(t->topLevelItem(i), {i}, nodos);
                for (const auto &[ruta, nodo] : nodos) {
                    QStringList indices;
                    for (int i : ruta)
                        indices << QString::number(i);
                    r.append({Control::Nodo, t, ruta, Id_De(t, m_ventana) + QLatin1Char('/') + indices.join('/'),
                              nodo->text(0)});
                }
            }
            // The actions of a context menu made of the widget's own actions.
            if (w->contextMenuPolicy() == Qt::ActionsContextMenu)
                for (QAction *a : w->actions())
                    if (a->isVisible() && a->isEnabled() && !a->isSeparator())
                        r.append({Control::Accion, a, {}, Id_De(a, m_ventana), a->text()});
        }
        if (!activo || (w != m_ventana && Compuesto(w)))
            continue;
        for (QObject *o : w->children())
            if (auto *h = qobject_cast<QWidget *>(o); h && !h->isWindow() && h->isVisible())
                pendientes << h;
    }
    return r;
}

void Recorrido::Usa(const Control &c)
{
    // Anything that comes up modally outside the operator-answer seam would
    // wait for a click nobody makes: it is noted and closed.
    QTimer guardia;
    guardia.setInterval(50);
    QObject::connect(&guardia, &QTimer::timeout, [this, &c] {
        if (m_sin_guardia)
            return;
        if (QWidget *p = QApplication::activePopupWidget())
            p->close();
        if (QWidget *m = QApplication::activeModalWidget(); m && m != m_ventana) {
            modales << c.id + QStringLiteral(" -> ") + m->objectName() + QLatin1Char(' ') + m->metaObject()->className();
            if (auto *d = qobject_cast<QDialog *>(m))
                d->reject();
            else
                m->close();
        }
    });
    guardia.start();
    QObject *o = c.objeto.data();
    switch (c.tipo) {
    case Control::Boton: {
        auto *b = static_cast<QAbstractButton *>(o);
        // A check box or radio button answers on its mark and caption only,
        // and a layout may have stretched it well past them.
        if (qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b))
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(qMin(8, b->width() / 2), b->height() / 2));
        else
            QTest::mouseClick(b, Qt::LeftButton);
        break;
    }
    case Control::Imagen:
        QTest::mouseClick(static_cast<QWidget *>(o), Qt::LeftButton);
        break;
    case Control::Accion:
        static_cast<QAction *>(o)->trigger();
        break;
    case Control::Lista_Desplegable: {
        auto *combo = static_cast<QComboBox *>(o);
        combo->setFocus();
        QTest::keyClick(combo, combo->currentIndex() < combo->count() - 1 ? Qt::Key_Down : Qt::Key_Up);
        break;
    }
    case Control::Pestana: {
        QTabBar *barra = static_cast<QTabWidget *>(o)->tabBar();
        QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(c.ruta.value(0)).center());
        break;
    }
    case Control::Nodo: {
        auto *arbol = static_cast<QTreeWidget *>(o);
        if (QTreeWidgetItem *nodo = Nodo_En(arbol, c.ruta)) {
            arbol->scrollToItem(nodo);
            QTest::mouseClick(arbol->viewport(), Qt::LeftButton, {}, arbol->visualItemRect(nodo).center());
        }
        break;
    }
    }
    // What the control started with a zero timer ends here.
    QTest::qWait(20);
    QApplication::processEvents();
}

namespace {

// Already in the state using it would set: a current tab or node.
bool Ya_Puesto(const Control &c)
{
    if (c.tipo == Control::Pestana)
        return static_cast<QTabWidget *>(c.objeto.data())->currentIndex() == c.ruta.value(0);
    if (c.tipo == Control::Nodo) {
        auto *arbol = static_cast<QTreeWidget *>(c.objeto.data());
        return arbol->currentItem() && arbol->currentItem() == Nodo_En(arbol, c.ruta);
    }
    return false;
}

} // namespace

void Recorrido::Aparta(const Control &c)
{
    auto *w = qobject_cast<QWidget *>(c.objeto.data());
    if (!w)
        return;
    Control otro = c;
    if (c.tipo == Control::Pestana && Ya_Puesto(c)) {
        auto *p = static_cast<QTabWidget *>(w);
        for (int i = 0; i < p->count(); ++i)
            if (i != c.ruta.value(0) && p->isTabEnabled(i) && p->isTabVisible(i)) {
                otro.ruta = {i};
                Usa(otro);
                return;
            }
    } else if (c.tipo == Control::Nodo && Ya_Puesto(c)) {
        auto *arbol = static_cast<QTreeWidget *>(w);
        QList<QPair<QList<int>, QTreeWidgetItem *>> nodos;
        for (int i = 0; i < arbol->topLevelItemCount(); ++i)
            Nodos(arbol->topLevelItem(i), {i}, nodos);
        for (const auto &[ruta, nodo] : nodos)
            if (ruta != c.ruta) {
                otro.ruta = ruta;
                Usa(otro);
                return;
            }
    } else if (auto *r = qobject_cast<QRadioButton *>(w); r && r->isChecked() && r->autoExclusive()) {
        for (QObject *o : r->parentWidget()->children())
            if (auto *h = qobject_cast<QRadioButton *>(o); h && h != r && h->autoExclusive() && h->isVisible()
                && h->isEnabled()) {
                otro.objeto = h;
                Usa(otro);
                return;
            }
    }
}

void Recorrido::Ir(const QList<Control> &camino)
{
    for (const Control &c : m_inicio)
        if (Alcanzable(c) && !Ya_Puesto(c))
            Usa(c);
    for (const Control &c : camino)
        if (Alcanzable(c) && !Ya_Puesto(c))
            Usa(c);
    Cierra_Ventanas();
}

void Recorrido::Selecciona_Filas()
{
    // The operator picks a row before Edit or Delete: the last one (in the
    // logins list, one that may be deleted, never the first administrator).
    for (QTreeWidget *t : m_ventana->findChildren<QTreeWidget *>())
        if (!Es_Arbol(t) && t->isVisible() && t->topLevelItemCount() > 0)
            t->setCurrentItem(t->topLevelItem(t->topLevelItemCount() - 1));
}

void Recorrido::Cierra_Ventanas()
{
    for (QWidget *w : piezas::Ventanas_Visibles())
        if (w != m_ventana && !qobject_cast<QMenu *>(w))
            w->close();
    QApplication::processEvents();
}

QString Recorrido::Texto(const QList<Control> &camino) const
{
    if (camino.isEmpty())
        return QStringLiteral("(start)");
    QStringList r;
    for (const Control &c : camino)
        r << (c.rotulo.isEmpty() ? c.id : c.rotulo);
    return r.join(QStringLiteral(" > "));
}

QStringList Recorrido::Juzga(const QList<Control> &camino, const Control &c, const Control *antes_otro)
{
    Ir(camino);
    Selecciona_Filas();
    if (prepara)
        prepara();
    if (antes_otro && Alcanzable(*antes_otro))
        Usa(*antes_otro);
    Aparta(c);
    const int modales_antes = modales.size();
    const qsizetype respuestas = kv::ui::Operador::history().size();
    const Firma antes = Toma_Firma();
    Usa(c);
    const Firma despues = Toma_Firma();
    const auto &historia = kv::ui::Operador::history();
    for (qsizetype i = respuestas; i < historia.size(); ++i)
        if (historia[i].tipo == QLatin1String("modal") && !historia[i].titulo.isEmpty()
            && !m_ventanas_modales.contains(historia[i].titulo))
            m_ventanas_modales.insert(historia[i].titulo, {camino, c});
    QStringList cambios;
    QSet<QString> claves(antes.keyBegin(), antes.keyEnd());
    for (auto it = despues.keyBegin(); it != despues.keyEnd(); ++it)
        claves.insert(*it);
    for (const QString &k : claves)
        if (antes.value(k) != despues.value(k) && !Propia(c, k))
            cambios << k;
    if (modales.size() > modales_antes)
        cambios << QStringLiteral("a modal window");
    cambios.sort();
    return cambios;
}

namespace {

// The controls beside this one (same bar or same group of entries): one may
// have to be used first for this one to have anything to do (fit to width
// once zoomed, the tools entry already chosen). The comparison is still
// between before and after this control alone.
QList<const Control *> Vecinos(const Control &c, const QList<Control> &aqui, const QSet<QString> &finales)
{
    QList<const Control *> r;
    auto *w = qobject_cast<QWidget *>(c.objeto.data());
    if (!w || (c.tipo != Control::Boton && c.tipo != Control::Imagen))
        return r;
    for (const Control &o : aqui) {
        auto *x = qobject_cast<QWidget *>(o.objeto.data());
        if (o.tipo == c.tipo && x && x != w && !finales.contains(o.id)
            && (x->parentWidget() == w->parentWidget()
                || x->parentWidget()->parentWidget() == w->parentWidget()->parentWidget()))
            r << &o;
    }
    return r;
}

bool Selector(const Control &c)
{
    return c.tipo == Control::Imagen || c.tipo == Control::Pestana || c.tipo == Control::Nodo;
}

} // namespace

void Recorrido::Recorre()
{
    // Where the walk starts from every time: the tabs and tree nodes current now.
    m_inicio.clear();
    for (const Control &c : Descubre())
        if ((c.tipo == Control::Pestana || c.tipo == Control::Nodo) && Ya_Puesto(c))
            m_inicio << c;

    QList<QList<Control>> lugares{{}};
    // Walked, or found in a place already queued.
    QSet<QString> conocidos;
    QSet<QString> prometidos;
    while (!lugares.isEmpty()) {
        const QList<Control> camino = lugares.takeFirst();
        const QString lugar = Texto(camino);
        // A step may be gone because the state is past it already (the
        // registering switch turned on); what was promised and never walked
        // is reported at the end.
        Ir(camino);
        QList<Control> aqui;
        for (const Control &c : Descubre())
            if (!conocidos.contains(c.id)) {
                conocidos.insert(c.id);
                aqui << c;
            }
        QStringList nombres;
        qInfo("place %s: %lld controls", qPrintable(lugar), static_cast<long long>(aqui.size()));
        for (const Control &c : aqui) {
            if (finales.contains(c.id))
                continue;
            Ir(camino);
            if (!Alcanzable(c)) {
                // Another control of this place hid it (a tools entry chose
                // another area): the place as that one leaves it is walked later.
                bool desvio = false;
                for (const Control &d : aqui) {
                    if (!Selector(d) || d.id == c.id)
                        continue;
                    Ir(camino);
                    if (Alcanzable(d))
                        Usa(d);
                    if (Alcanzable(c)) {
                        lugares << (camino + QList<Control>{d});
                        desvio = true;
                        break;
                    }
                }
                Cierra_Ventanas();
                if (desvio)
                    conocidos.remove(c.id);
                else
                    muertos << lugar + QStringLiteral(": ") + c.id + QStringLiteral(" (cannot be reached again)");
                continue;
            }
            nombres << c.id;
            QStringList cambios = Juzga(camino, c, nullptr);
            if (cambios.isEmpty())
                for (const Control *vecino : Vecinos(c, aqui, finales)) {
                    cambios = Juzga(camino, c, vecino);
                    if (!cambios.isEmpty())
                        break;
                }
            const bool exento = exentos.contains(c.id);
            qInfo("  %s %s \"%s\": %s", cambios.isEmpty() ? (exento ? "EXEMPT" : "DEAD") : "ok", qPrintable(c.id),
                  qPrintable(c.rotulo), qPrintable(cambios.mid(0, 3).join(QStringLiteral(", "))));
            if (cambios.isEmpty() && !exento)
                muertos << lugar + QStringLiteral(": ") + c.id;

            const bool seguido = m_ventana && m_ventana->isVisible();
            if (seguido) {
                // Controls this one brought up: a place of their own.
                bool nuevos = false;
                for (const Control &n : Descubre())
                    if (!conocidos.contains(n.id) && !prometidos.contains(n.id)) {
                        prometidos.insert(n.id);
                        nuevos = true;
                    }
                if (nuevos)
                    lugares << (camino + QList<Control>{c});
            }
            // Locked, say: the window must be back before anything else is closed.
            if (!seguido && !(reanuda && reanuda())) {
                muertos << lugar + QStringLiteral(": the walk cannot go on after ") + c.id;
                usados.append({lugar, nombres});
                return;
            }
            Cierra_Ventanas();
        }
        usados.append({lugar, nombres});
    }
    Recorre_Modales();
    const QSet<QString> usados_todos = Usados();
    for (const QString &id : prometidos)
        if (!usados_todos.contains(id) && !finales.contains(id))
            muertos << id + QStringLiteral(" (seen, never reached again)");
}
