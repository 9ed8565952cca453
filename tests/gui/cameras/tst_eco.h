#pragma once

#include <QObject>

// The ICMP echo on loopback and towards TEST-NET, by each way this system allows.
class TestEcoIcmp : public QObject {
    Q_OBJECT
private slots:
    void responde_data();
    void responde();
    void no_ipv4_es_error();
    void cancelada_no_responde();
};
