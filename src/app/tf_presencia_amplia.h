#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

// The attendance table at a larger size (F_Presencia_Amplia), beside the main
// window without holding it: a copy of the rows, to read, nothing more.
class TF_Presencia_Amplia : public QWidget {
    Q_OBJECT
public:
    explicit TF_Presencia_Amplia(QWidget *parent = nullptr);

    QTreeWidget *Lista_Presencia; // day, entries, exits, stay
    QPushButton *B_Aceptar;       // closes the window
};
