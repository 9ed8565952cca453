#pragma once

#include <QObject>

class QComboBox;

namespace Lang {

// Makes a combo box a choice from its list only: typed characters are
// discarded (they would otherwise jump to a matching entry), while arrows,
// Tab and Escape work as usual. Enter emits intro(), so a window can take it
// as its OK button. Owned by the combo box.
class DescartaTeclas : public QObject {
    Q_OBJECT
public:
    explicit DescartaTeclas(QComboBox *combo);

signals:
    void intro();

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    QComboBox *m_combo;
};

} // namespace Lang
