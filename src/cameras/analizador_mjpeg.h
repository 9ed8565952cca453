#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Splits a camera's multipart/x-mixed-replace body into its parts, each one
// picture. Whatever the camera sends, the bytes held stay below the frame
// limit plus one read, so a stream that never ends a frame cannot grow the
// program without bound: the oversized part is dropped and the parser looks
// for the next boundary.
class Analizador_Mjpeg {
public:
    enum class Fallo { Ninguno, Cuadro_Demasiado_Grande, Cabecera_Demasiado_Grande, Parte_No_Imagen };

    static constexpr qsizetype Limite_Cuadro_Defecto = 8 * 1024 * 1024;
    static constexpr qsizetype Limite_Cabecera = 8 * 1024;

    // limite: the boundary as the Content-Type names it (with or without the
    // leading "--" that some cameras include there).
    explicit Analizador_Mjpeg(const QByteArray &limite, qsizetype limite_cuadro = Limite_Cuadro_Defecto);

    // The boundary of a multipart/x-mixed-replace Content-Type; empty for any
    // other type, or when the boundary is missing.
    static QByteArray Limite_De(const QByteArray &content_type);

    // Consumes datos; every part completed by them is appended to cuadros.
    void Alimenta(QByteArrayView datos, QList<QByteArray> &cuadros);

    // The last fault since the previous call (then Ninguno again).
    Fallo Toma_Fallo();
    // The closing boundary arrived: the camera ended the stream.
    bool Terminado() const { return m_terminado; }
    // Bytes held while a part is incomplete.
    qsizetype Retenidos() const { return m_buffer.size(); }

private:
    enum class Fase { Limite, Cabeceras, Cuerpo, Descartando };

    bool Paso(QList<QByteArray> &cuadros);
    void Falla(Fallo f);

    QByteArray m_delimitador; // "--" + boundary
    qsizetype m_limite_cuadro;
    QByteArray m_buffer;
    Fase m_fase = Fase::Limite;
    qsizetype m_longitud = -1; // Content-Length of the current part, -1 when absent
    bool m_imagen = true;
    bool m_terminado = false;
    Fallo m_fallo = Fallo::Ninguno;
};
