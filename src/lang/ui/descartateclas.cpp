#include "lang/ui/descartateclas.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

namespace Lang {

DescartaTeclas::DescartaTeclas(QComboBox *combo) : QObject(combo), m_combo(combo)
{
    combo->installEventFilter(this);
    // The open drop-down list searches by typed letters too.
    combo->view()->installEventFilter(this);
}

bool DescartaTeclas::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress)
        return false;
    const auto *tecla = static_cast<QKeyEvent *>(evento);
    if (objeto == m_combo && (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter)) {
        emit intro();
        return true;
    }
    const QString t = tecla->text();
    return !t.isEmpty() && t.front().isPrint();
}

} // namespace Lang
