#pragma once

#include <QLabel>

namespace kv::ui {

// A picture that acts on a click: the tools entries and the registering
// switch are pictures, not buttons.
class Imagen_Pulsable : public QLabel {
    Q_OBJECT
public:
    explicit Imagen_Pulsable(const QString &nombre, QWidget *padre = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *evento) override;
};

} // namespace kv::ui
