#pragma once

#include <QString>
#include <QStringList>

// State texts of a controller's test reply, by state code. The language loader
// fills them at start-up; until then (and in tools without a language file) the
// table is empty and every code reads as the empty text.
//
// textos holds the texts for the codes 0..7 in code order; code 1 always reads
// empty and codes outside 0..7 read empty whatever the table holds.
void Establecer_Textos_Estado(const QStringList &textos);
QString Texto_Estado(int codigo);
