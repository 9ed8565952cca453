// The signature of what the operator can see, and which of its keys are a
// control's own state.
#include "piezas.h"

#include "ui/operador.h"

#include <QAbstractButton>
#include <QCryptographicHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextEdit>

using piezas::Compuesto;

namespace {

QString Filas(const QTreeWidget *t)
{
    QStringList r;
    QList<QPair<QTreeWidgetItem *, int>> pendientes;
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        pendientes.append({t->topLevelItem(i), 0});
    while (!pendientes.isEmpty()) {
        const auto [item, nivel] = pendientes.takeFirst();
        QStringList celdas;
        for (int c = 0; c < t->columnCount(); ++c)
            celdas << item->text(c);
        r << QString(nivel, QLatin1Char(' ')) + celdas.join(QLatin1Char('\t'))
                 + (item->isSelected() ? QStringLiteral(" [sel]") : QString())
                 + (t->currentItem() == item ? QStringLiteral(" [cur]") : QString())
                 + (item->isExpanded() ? QStringLiteral(" [+]") : QString());
        for (int i = item->childCount() - 1; i >= 0; --i)
            pendientes.prepend({item->child(i), nivel + 1});
    }
    return r.join(QLatin1Char('\n'));
}

// The signature's key of a widget: its path from the window, by names, an
// unnamed widget by its class and position among its siblings.
QString Clave_De(const QWidget *w, const QWidget *ventana)
{
    QStringList partes;
    for (const QWidget *p = w; p && p != ventana; p = p->parentWidget()) {
        QString parte = p->objectName();
        if (parte.isEmpty() && p->parentWidget())
            parte = QString::fromLatin1(p->metaObject()->className()) + QLatin1Char('#')
                    + QString::number(p->parentWidget()->children().indexOf(const_cast<QWidget *>(p)));
        partes.prepend(parte);
    }
    return partes.join(QLatin1Char('/'));
}

} // namespace

Recorrido::Firma Recorrido::Toma_Firma() const
{
    Firma f;
    for (QWidget *w : piezas::Ventanas_Visibles())
        f.insert(QStringLiteral("window ") + w->objectName() + QLatin1Char(' ') + w->metaObject()->className(),
                 w->windowTitle());
    if (m_ventana && m_ventana->isVisible())
        Firma_De(m_ventana, QString(), f);
    const auto &historia = kv::ui::Operador::history();
    f.insert(QStringLiteral("operator answers"), QString::number(historia.size()));
    if (externo) {
        const QMap<QString, QString> e = externo();
        for (auto it = e.cbegin(); it != e.cend(); ++it)
            f.insert(it.key(), it.value());
    }
    return f;
}

void Recorrido::Firma_De(QWidget *w, const QString &clave, Firma &f) const
{
    if (!w->isVisible()) {
        f.insert(clave + QStringLiteral(":visible"), QStringLiteral("0"));
        return;
    }
    f.insert(clave + QStringLiteral(":visible"), QStringLiteral("1"));
    f.insert(clave + QStringLiteral(":enabled"), w->isEnabled() ? QStringLiteral("1") : QStringLiteral("0"));
    if (auto *l = qobject_cast<QLabel *>(w))
        f.insert(clave + QStringLiteral(":text"), l->text());
    else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        f.insert(clave + QStringLiteral(":text"), b->text());
        if (b->isCheckable())
            f.insert(clave + QStringLiteral(":checked"), b->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    } else if (auto *e = qobject_cast<QLineEdit *>(w))
        f.insert(clave + QStringLiteral(":text"), e->text());
    else if (auto *c = qobject_cast<QComboBox *>(w))
        f.insert(clave + QStringLiteral(":text"), QString::number(c->count()) + QLatin1Char(' ') + c->currentText());
    else if (auto *s = qobject_cast<QAbstractSpinBox *>(w))
        f.insert(clave + QStringLiteral(":text"), s->text());
    else if (auto *k = qobject_cast<QCalendarWidget *>(w))
        f.insert(clave + QStringLiteral(":text"), k->selectedDate().toString(Qt::ISODate)
                                                      + QStringLiteral(" %1-%2").arg(k->yearShown()).arg(k->monthShown()));
    else if (auto *p = qobject_cast<QTabWidget *>(w))
        f.insert(clave + QStringLiteral(":tab"), QString::number(p->currentIndex()));
    else if (auto *t = qobject_cast<QTreeWidget *>(w))
        f.insert(clave + QStringLiteral(":rows"), Filas(t));
    else if (auto *x = qobject_cast<QTextEdit *>(w))
        f.insert(clave + QStringLiteral(":text"), x->toPlainText());
    else if (auto *v = qobject_cast<QPrintPreviewWidget *>(w))
        f.insert(clave + QStringLiteral(":preview"), QStringLiteral("%1/%2 %3")
                                                         .arg(v->currentPage())
                                                         .arg(v->pageCount())
                                                         .arg(v->zoomFactor()));
    if (auto *a = qobject_cast<QScrollArea *>(w); a && a->widget())
        f.insert(clave + QStringLiteral(":content"), QStringLiteral("%1x%2").arg(a->widget()->width()).arg(a->widget()->height()));
    // A widget that paints itself (a report sheet): what it shows is its
    // picture. Such a class need not declare itself to the meta-object
    // system, so any plain or unknown widget without children counts; Qt's
    // own parts (a list's viewport) show what their list holds already.
    const QByteArray clase = w->metaObject()->className();
    if ((clase == "QWidget" || !clase.startsWith('Q')) && !w->objectName().startsWith(QLatin1String("qt_"))
        && w->findChildren<QWidget *>().isEmpty()) {
        const QImage imagen = w->grab().toImage();
        f.insert(clave + QStringLiteral(":picture"),
                 QString::fromLatin1(QCryptographicHash::hash(QByteArrayView(imagen.constBits(), imagen.sizeInBytes()),
                                                              QCryptographicHash::Sha1)
                                         .toHex()));
    }
    if (Compuesto(w))
        return;
    for (QObject *o : w->children())
        if (auto *h = qobject_cast<QWidget *>(o); h && !h->isWindow())
            Firma_De(h, Clave_De(h, m_ventana), f);
}

bool Recorrido::Propia(const Control &c, const QString &clave) const
{
    auto *w = qobject_cast<QWidget *>(c.objeto.data());
    if (!w || formulario)
        return false;
    const QString base = Clave_De(w, m_ventana);
    switch (c.tipo) {
    case Control::Pestana:
        // The tab bar and the tab's page come and go with the tab itself;
        // the effect that counts is what shows outside it.
        return clave.startsWith(base + QLatin1Char(':')) || clave.startsWith(base + QLatin1Char('/'));
    case Control::Nodo:
        return clave == base + QStringLiteral(":rows");
    case Control::Lista_Desplegable:
        return clave == base + QStringLiteral(":text");
    case Control::Boton:
        if (clave == base + QStringLiteral(":checked"))
            return true;
        // Checking a radio button unchecks its siblings by itself.
        if (qobject_cast<QRadioButton *>(w) && clave.endsWith(QStringLiteral(":checked")))
            for (QObject *o : w->parentWidget()->children())
                if (auto *r = qobject_cast<QRadioButton *>(o); r && r->autoExclusive()
                    && clave == Clave_De(r, m_ventana) + QStringLiteral(":checked"))
                    return true;
        return false;
    default:
        return false;
    }
}
