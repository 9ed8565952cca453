#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QObject;
class QWidget;

// One control of a window, found by walking its widgets: a button, a
// clickable picture, an action, a drop-down list, a tab or a node of a tree.
struct Control {
    enum Tipo { Boton, Imagen, Accion, Lista_Desplegable, Pestana, Nodo };
    Tipo tipo = Boton;
    QPointer<QObject> objeto; // the widget or action; the tab or tree widget for Pestana and Nodo
    QList<int> ruta;          // tab index, or the node's position from the top of its tree
    QString id;               // named ancestors and the control's own name, e.g. PANEL_LISTA_USR/Panel_Botones_USR/B_Delete
    QString rotulo;           // its text, for the log
};

// Uses every visible, enabled control of a window as an operator would and
// notes the ones that change nothing at all.
//
// Where the controls are is found as the walk goes: a place is the list of
// controls used, from the window as the walk found it, to get there (a tab,
// a tree node, a tool entry...). In each place, every control not walked yet
// is used in turn, each time from that place freshly reached, with the last
// row of every list selected. Before and after, a signature of everything
// the operator could see is taken: the windows on show, every named widget's
// visibility, enabled state and text, list rows and selection, check states,
// the operator-answer history, plus what the caller adds (files, database).
// A control that reveals controls not seen yet opens a new place.
//
// The program's own windows that a control shows modally (through the
// operator-answer seam, which shows nothing unattended) are walked last:
// each is opened for real once per control in it, that control used, and
// the window judged the same way, its closing included.
class Recorrido {
public:
    explicit Recorrido(QWidget *ventana);

    // Controls used by the caller after the walk (they end the session), by id.
    QSet<QString> finales;
    // Controls allowed to change nothing, by id, with the reason.
    QHash<QString, QString> exentos;
    // Run before each control, once its place is reached: state the control
    // needs to show an effect (a row to clear, say).
    std::function<void()> prepara;
    // What lies outside the widgets: files, database marker, controller lines.
    std::function<QMap<QString, QString>()> externo;
    // Called when the window went away after a control (locked, say); true
    // when it is back and the walk can go on.
    std::function<bool()> reanuda;

    void Recorre();

    // A form's controls: a choice shows only in the control itself until the
    // form is accepted, so the control's own state counts as its effect.
    bool formulario = false;

    // Per place (its path as text), the controls used there in order.
    QList<QPair<QString, QStringList>> usados;
    // "place: control" for every control that changed nothing.
    QStringList muertos;
    // Every control id walked, final ones left out.
    QSet<QString> Usados() const;
    // Windows that came up modally outside the operator-answer seam.
    QStringList modales;

private:
    using Firma = QMap<QString, QString>;

    QList<Control> Descubre() const;
    Firma Toma_Firma() const;
    // Adds w and what it holds, under keys from clave.
    void Firma_De(QWidget *w, const QString &clave, Firma &f) const;
    // Back to where the walk started, then along the path.
    void Ir(const QList<Control> &camino);
    void Selecciona_Filas();
    // Moves a control out of the state it sets (a current node or tab, a
    // checked radio button), so that using it can show an effect.
    void Aparta(const Control &c);
    // Reaches the place, sets the state up (with antes_otro used first, when
    // given), uses the control: the signature's keys that changed.
    QStringList Juzga(const QList<Control> &camino, const Control &c, const Control *antes_otro);
    void Usa(const Control &c);
    // The keys of the control's own state: a tab's or node's selection, a
    // check box's mark.
    bool Propia(const Control &c, const QString &clave) const;
    // Closes every window the walk brought up.
    void Cierra_Ventanas();
    QString Texto(const QList<Control> &camino) const;

    // The program's own windows shown modally by a control (through the
    // operator-answer seam): each is opened for real once per control inside
    // it, and that control used there.
    void Recorre_Modales();

    QPointer<QWidget> m_ventana;
    // While a window is opened to be walked, the watchdog leaves it be.
    bool m_sin_guardia = false;
    // By object name, the place and control that first opened it.
    QMap<QString, QPair<QList<Control>, Control>> m_ventanas_modales;
    QList<Control> m_inicio; // the tabs and nodes current when the walk began
};

// The id of a widget or action inside ventana: its named ancestors' names and
// its own, joined by "/".
QString Id_De(const QObject *objeto, const QWidget *ventana);
