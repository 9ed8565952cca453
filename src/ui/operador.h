#pragma once

#include <QList>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace kv::ui {

class Dialogo_Fichero;
class Ventana_Respuesta;

// Every answer the program asks of the operator goes through here: messages,
// yes/no questions, the program's own modal windows and file choices. The
// program shows the real windows; a test queues the answers beforehand and
// reads back what would have been shown, so no workflow blocks a test on a
// window nobody can click.
class Operador {
public:
    // A message with one OK button; an empty title shows the program's name.
    static void Mensaje(QWidget *padre, const QString &texto, const QString &titulo = QString());
    // The text of an action that failed (a database or port error).
    static void Error(QWidget *padre, const QString &texto);
    // A question with Yes and No; true for Yes.
    static bool Pregunta(QWidget *padre, const QString &texto, const QString &titulo = QString());
    // Shows a question window modally and returns the answer it reports. The
    // answer is set to 0 first, so closing the window any other way is "no".
    static int Modal(Ventana_Respuesta *ventana);
    // Shows any other window of the program modally; QDialog's result.
    static int Modal(QDialog *ventana);
    // The file picked with dialogo's title, filter and folder; empty when the
    // operator cancels.
    static QString Fichero(QWidget *padre, const Dialogo_Fichero &dialogo);

    // ---- tests -------------------------------------------------------------
    // The next Pregunta (QMessageBox::Yes or No) or Modal (the window's
    // answer, or QDialog's result) returns this without showing anything.
    static void setNextAnswer(int respuesta);
    // The next Fichero returns this (empty: cancelled) without a dialog.
    static void setNextFileName(const QString &fichero);
    // The next Modal shows its window for real and runs accion on it once it
    // is up (Qt Test can type and click there); the window is closed
    // afterwards if accion left it open.
    static void setNextDialogAction(std::function<void(QDialog *)> accion);
    // With nothing queued, show nothing: messages are only recorded, questions
    // answer No, modal windows 0 (rejected), file dialogs cancel.
    static void setUnattended(bool activo);

    // What was asked or shown, in order: kind ("message", "error", "question",
    // "modal", "file"), title (the window's object name for "modal") and text.
    struct Registro {
        QString tipo;
        QString titulo;
        QString texto;
    };
    static const QList<Registro> &history();
    // Empties the queues and the history; unattended mode stays as set.
    static void clear();
};

} // namespace kv::ui
