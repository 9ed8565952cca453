#pragma once

#include <QSqlDatabase>

// One change made of several statements, all or nothing: begun on a
// connection, kept by Confirma, rolled back when it goes out of scope without
// it (an error on the way). Every statement sent on that connection meanwhile
// belongs to it; statements on other connections do not.
//
// One opened on a connection where another already runs joins it: its
// Confirma keeps nothing yet, the outermost one commits all, and an error
// that leaves an inner one unconfirmed reaches the outer one's caller, which
// then rolls everything back. So a change that is one transaction of its own
// can be made part of a larger one (with its log entry, say).
class TransaccionBD {
public:
    // Raises ErrorBD when the connection cannot begin one.
    explicit TransaccionBD(QSqlDatabase &db);
    ~TransaccionBD();
    TransaccionBD(const TransaccionBD &) = delete;
    TransaccionBD &operator=(const TransaccionBD &) = delete;

    // Raises ErrorBD when the commit fails; the change is then rolled back.
    void Confirma();

    // Whether one runs on db in this thread.
    static bool En_Curso(const QSqlDatabase &db);

private:
    QSqlDatabase &m_db;
    bool m_abierta = false;
    bool m_externa = false; // joined one already running
};
