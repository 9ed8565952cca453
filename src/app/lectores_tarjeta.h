#pragma once

#include <QList>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;
class ZARVTarjeta;

// What the users and cards pages show of a card's assignments: the readers
// that hold it, and whether any reader is still waiting for it.
struct Lectores_Tarjeta {
    QStringList almacenada_en;
    bool pendiente = false;
};

Lectores_Tarjeta Lectores_De(const ZARVTarjeta &tarjeta);

// Replaces the list's rows in one go: thousands of single insertions would
// each update the view.
void Llena_Lista(QTreeWidget *lista, const QList<QTreeWidgetItem *> &filas);
