#pragma once

#include "app/pagina.h"

#include <functional>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv::wf {
struct Resultado_Test;
}

// The readers page: the controller list L1_Contr, the test results L2_Contr
// and the buttons of the readers' workflows (new, edit, delete, test, master
// card, erase, clone), plus the test of every controller that the tool bar,
// the start-up and other workflows ask for.
class Pagina_Lectores : public Pagina {
    Q_OBJECT
public:
    Pagina_Lectores(Vista_Principal &vista, QObject *padre);

    QPushButton *B_Nueva_Cx;
    QPushButton *B_Editar_cx;
    QPushButton *B_Delete_Cx;
    QPushButton *B_Test_Cx;
    QPushButton *B_Master_Card;
    QPushButton *B_Clone_cx;
    QPushButton *B_vacia_Cards;
    QLabel *Label2;
    QTreeWidget *L1_Contr;
    QLabel *Label3;
    QTreeWidget *L2_Contr;

    // Rebuilds L1_Contr from the controller collection and empties L2_Contr.
    void Refrescar() override { Refrescar_Controladores(); }
    // The readers list is rebuilt by its own workflows, not on every visit.
    void Activar() override {}
    // A USER keeps the tests only, with Test first in the bar.
    void Restringe_Usuario() override;

    void Refrescar_Controladores();
    // The "Activo" icon of every reader on that port (-1: none).
    void Marca_Puerto(int puerto, int icono);
    // The buttons that change controllers, locked while registering is on;
    // the test buttons stay as they are.
    void Control_Botones_Cx(bool activo);

    void B_Test_CxClick();
    void B_Test_TODOSClick();
    void B_Nueva_CxClick();
    void B_Editar_cxClick();
    void B_Delete_CxClick();
    void B_Master_CardClick();
    void B_vacia_CardsClick();
    void B_Clone_cxClick();

protected:
    // A double click on L1_Contr, on a row or where it has none, tests every
    // controller.
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    // The first selected row of L1_Contr, or none; its controller's number, or -1.
    QTreeWidgetItem *Seleccionada() const;
    int Codigo_Seleccionado() const;
    // Tests the controllers of these (number, L1_Contr row) pairs, one
    // L2_Contr row each as its result comes.
    void Prueba(const std::vector<std::pair<int, int>> &filas);
    // A test's row in L2_Contr and its icon in L1_Contr row fila.
    void Muestra_Test(int fila, const kv::wf::Resultado_Test &resultado);
    // Runs trabajo with both test buttons disabled, enabling them again
    // however it ends.
    void Con_Botones_Test(const std::function<void()> &trabajo);
    // Runs trabajo with boton disabled, refused before anything changes
    // while another workflow holds the readers.
    void Con_Boton_Bloqueado(QPushButton *boton, const std::function<void()> &trabajo);
};
