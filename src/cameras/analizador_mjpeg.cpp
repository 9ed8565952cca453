#include "cameras/analizador_mjpeg.h"

namespace {

// Start of the line after the first line end at or after desde; -1 when the
// line has not ended yet.
qsizetype Tras_Linea(const QByteArray &b, qsizetype desde)
{
    const qsizetype n = b.indexOf('\n', desde);
    return n < 0 ? -1 : n + 1;
}

} // namespace

Analizador_Mjpeg::Analizador_Mjpeg(const QByteArray &limite, qsizetype limite_cuadro)
    : m_delimitador(limite.startsWith("--") ? limite : QByteArray("--") + limite)
    , m_limite_cuadro(limite_cuadro)
{
}

QByteArray Analizador_Mjpeg::Limite_De(const QByteArray &content_type)
{
    const QList<QByteArray> partes = content_type.split(';');
    if (partes.isEmpty() || partes.front().trimmed().toLower() != "multipart/x-mixed-replace")
        return {};
    for (qsizetype i = 1; i < partes.size(); ++i) {
        const QByteArray p = partes[i].trimmed();
        const qsizetype igual = p.indexOf('=');
        if (igual < 0 || p.left(igual).trimmed().toLower() != "boundary")
            continue;
        QByteArray valor = p.mid(igual + 1).trimmed();
        if (valor.size() >= 2 && valor.startsWith('"') && valor.endsWith('"'))
            valor = valor.mid(1, valor.size() - 2);
        // "--" alone would match the body's own bytes everywhere.
        if (valor.isEmpty() || valor == "--" || valor.size() > 70 + 2)
            return {};
        return valor;
    }
    return {};
}

Analizador_Mjpeg::Fallo Analizador_Mjpeg::Toma_Fallo()
{
    const Fallo f = m_fallo;
    m_fallo = Fallo::Ninguno;
    return f;
}

void Analizador_Mjpeg::Falla(Fallo f)
{
    m_fallo = f;
}

void Analizador_Mjpeg::Alimenta(QByteArrayView datos, QList<QByteArray> &cuadros)
{
    if (m_terminado)
        return;
    m_buffer.append(datos.data(), datos.size());
    while (!m_terminado && Paso(cuadros)) {
    }
}

// One step of the state machine; false when it needs more bytes.
bool Analizador_Mjpeg::Paso(QList<QByteArray> &cuadros)
{
    switch (m_fase) {
    case Fase::Limite:
    case Fase::Descartando: {
        const qsizetype i = m_buffer.indexOf(m_delimitador);
        if (i < 0) {
            // Keep only what could still be the start of a boundary.
            const qsizetype guarda = m_delimitador.size() - 1;
            if (m_buffer.size() > guarda)
                m_buffer.remove(0, m_buffer.size() - guarda);
            return false;
        }
        const qsizetype fin = i + m_delimitador.size();
        if (m_buffer.size() < fin + 2)
            return false;
        if (m_buffer.mid(fin, 2) == "--") {
            m_terminado = true;
            m_buffer.clear();
            return false;
        }
        m_buffer.remove(0, fin);
        m_fase = Fase::Cabeceras;
        return true;
    }
    case Fase::Cabeceras: {
        // The rest of the boundary line, then header lines up to an empty one.
        qsizetype linea = Tras_Linea(m_buffer, 0);
        while (linea >= 0) {
            const qsizetype siguiente = Tras_Linea(m_buffer, linea);
            if (siguiente < 0)
                break;
            const QByteArray texto = m_buffer.mid(linea, siguiente - linea).trimmed();
            linea = siguiente;
            if (texto.isEmpty()) {
                const QByteArray cabeceras = m_buffer.left(linea);
                m_buffer.remove(0, linea);
                m_longitud = -1;
                m_imagen = true;
                for (const QByteArray &l : cabeceras.split('\n')) {
                    const qsizetype dos = l.indexOf(':');
                    if (dos < 0)
                        continue;
                    const QByteArray nombre = l.left(dos).trimmed().toLower();
                    const QByteArray valor = l.mid(dos + 1).trimmed();
                    if (nombre == "content-length") {
                        bool ok = false;
                        const qlonglong n = valor.toLongLong(&ok);
                        m_longitud = ok && n >= 0 ? qsizetype(qMin<qlonglong>(n, m_limite_cuadro + 1)) : -1;
                    } else if (nombre == "content-type") {
                        m_imagen = valor.toLower().startsWith("image/");
                    }
                }
                m_fase = Fase::Cuerpo;
                return true;
            }
        }
        if (m_buffer.size() > Limite_Cabecera) {
            Falla(Fallo::Cabecera_Demasiado_Grande);
            m_buffer.clear();
            m_fase = Fase::Descartando;
        }
        return false;
    }
    case Fase::Cuerpo: {
        QByteArray cuerpo;
        if (m_longitud > m_limite_cuadro) {
            Falla(Fallo::Cuadro_Demasiado_Grande);
            m_fase = Fase::Descartando;
            return true;
        }
        if (m_longitud >= 0) {
            if (m_buffer.size() < m_longitud)
                return false;
            cuerpo = m_buffer.left(m_longitud);
            m_buffer.remove(0, m_longitud);
        } else {
            // Without a length the part ends at the line end before the next boundary.
            const qsizetype i = m_buffer.indexOf(m_delimitador);
            if (i < 0) {
                if (m_buffer.size() > m_limite_cuadro) {
                    Falla(Fallo::Cuadro_Demasiado_Grande);
                    m_fase = Fase::Descartando;
                    return true;
                }
                return false;
            }
            qsizetype fin = i;
            if (fin > 0 && m_buffer[fin - 1] == '\n')
                --fin;
            if (fin > 0 && m_buffer[fin - 1] == '\r')
                --fin;
            cuerpo = m_buffer.left(fin);
            m_buffer.remove(0, i);
        }
        m_fase = Fase::Limite;
        if (!m_imagen)
            Falla(Fallo::Parte_No_Imagen);
        else
            cuadros.append(cuerpo);
        return true;
    }
    }
    return false;
}
