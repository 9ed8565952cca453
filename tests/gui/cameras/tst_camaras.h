#pragma once

#include <QObject>
#include <QTemporaryDir>

class Servidor_Mjpeg;

// The camera window and its add dialog on a settings file of their own.
class TestCameraControl : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void lista_y_vista_conjunta();
    void muestra_la_camara_elegida();
    void camara_inalcanzable_oculta();
    void host_de_url_data();
    void host_de_url();
    void direccion_tecleada_data();
    void direccion_tecleada();
    void sonda_habilita_aceptar_y_edicion_deshabilita();
    void anade_camara();
    void anade_numero_existente_lo_dice();
    void borra_solo_su_seccion();
    void usuario_no_cambia_nada();

private:
    void Ajustes(const QByteArray &contenido);
    QByteArray Leer_Ajustes() const;

    QTemporaryDir m_dir;
};
