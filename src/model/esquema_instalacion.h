#pragma once

#include <QtGlobal>

class QSqlDatabase;

// The objects later versions added to the installation database, made when
// a file that lacks them is opened: the template and files of earlier
// versions alike. Each is made on its own; one that cannot be made now (the
// file in use elsewhere) is told with a warning and made at a later open:
// none of them is needed for the data to load, only for speed or to notice
// changes.
//
//  - IX_ZARVINCIDENCIA_RECIENTES: the incidence log newest first, read a
//    page at a time without sorting the whole log.
//  - GEN_ZARV_CAMBIOS and its triggers: a number that grows with every
//    change to controllers, cards, their assignments and cardholders, so
//    that a window can tell whether what it shows is still current without
//    reading it all again.
//  - ZARVAUDITORIA with its generator, exception, triggers and index: the
//    operators' log (model/auditoria.h). Unlike the others, changes need
//    it: until it can be made, a change is refused with the database's error.
void Actualiza_Esquema_Instalacion(QSqlDatabase &db);

// The change marker now: equal numbers mean no change in between. 0 when the
// file has no marker yet.
qint64 Marca_Cambios(QSqlDatabase &db);
