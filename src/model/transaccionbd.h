#pragma once

#include <QSqlDatabase>

// One change made of several statements, all or nothing: begun on a
// connection, kept by Confirma, rolled back when it goes out of scope without
// it (an error on the way). Every statement sent on that connection meanwhile
// belongs to it; statements on other connections do not.
class TransaccionBD {
public:
    // Raises ErrorBD when the connection cannot begin one (one already runs).
    explicit TransaccionBD(QSqlDatabase &db);
    ~TransaccionBD();
    TransaccionBD(const TransaccionBD &) = delete;
    TransaccionBD &operator=(const TransaccionBD &) = delete;

    // Raises ErrorBD when the commit fails; the change is then rolled back.
    void Confirma();

private:
    QSqlDatabase &m_db;
    bool m_abierta = false;
};
