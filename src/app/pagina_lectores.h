#pragma once

#include <QObject>

class QTreeWidgetItem;
class TF_Main;

// The readers page of the main window: the controller list L1_Contr, the test
// results L2_Contr and the workflows of its buttons (new, edit, delete, test,
// master card, erase, clone) and of the tool bar's test of every controller.
// It fills the main window's readers hooks, so everyone who asks the main
// window to refresh the controllers or test them all runs these.
class Pagina_Lectores : public QObject {
    Q_OBJECT
public:
    explicit Pagina_Lectores(TF_Main *principal);

    // Rebuilds L1_Contr from the controller collection and empties L2_Contr.
    void Refrescar_Controladores();
    // The buttons that change controllers, locked while registering is on;
    // the test buttons stay as they are.
    void Control_Botones_Cx(bool activo);
    // Tests the controller with that number, adds its result row to L2_Contr
    // and marks L1_Contr row fila; true when it answered.
    bool Test_Controlador(int codigo, int fila);

    void B_Test_CxClick();
    void B_Test_TODOSClick();
    void B_Nueva_CxClick();
    void B_Editar_cxClick();
    void B_Delete_CxClick();
    void B_Master_CardClick();
    void B_vacia_CardsClick();
    void B_Clone_cxClick();

protected:
    // A double click on L1_Contr where it has no row still tests every
    // controller; one on a row reaches the main window's own handler.
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    // The first selected row of L1_Contr, or none.
    QTreeWidgetItem *Seleccionada() const;
    // Shows the readers page as the navigation tree's node 3 does.
    void Muestra_Pagina();

    TF_Main *F;
};
