#include "link/textoestado.h"

namespace {
QStringList &tabla()
{
    static QStringList t;
    return t;
}
} // namespace

void Establecer_Textos_Estado(const QStringList &textos)
{
    tabla() = textos;
}

QString Texto_Estado(int codigo)
{
    if (codigo < 0 || codigo > 7 || codigo == 1 || codigo >= tabla().size())
        return QString();
    return tabla().at(codigo);
}
