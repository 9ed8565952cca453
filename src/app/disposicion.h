#pragma once

#include <QString>

class QBoxLayout;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

// Small builders for the main window's layout: every control is created
// with its component name, which is how the language file finds it. The
// texts given are placeholders until the window is translated.
namespace disposicion {

// A page or panel with a vertical layout without margins.
QWidget *Panel(QWidget *padre, const char *nombre);
QLabel *Etiqueta(QWidget *padre, const char *nombre, const QString &texto);
// A page heading: bold, a little larger.
QLabel *Titulo(QWidget *padre, const char *nombre, const QString &texto);
QPushButton *Boton(QWidget *padre, const char *nombre, const QString &texto);
QToolButton *Herramienta(QWidget *padre, const char *nombre, const QString &texto);
// A button bar of a page, 41 pixels high; its buttons go into the returned
// layout from the left.
QFrame *Barra(QWidget *padre, const char *nombre, QBoxLayout **fila);
// Shows a non-modal window in front, or brings it there when already open.
void Al_Frente(QWidget *ventana);
// A login or password field: 30 characters at most, and no "*" (it separates
// a login from its level in the login list), neither typed nor pasted.
// oculto: a password, shown as dots.
QLineEdit *Campo_Login(QWidget *padre, const char *nombre, bool oculto);

} // namespace disposicion
