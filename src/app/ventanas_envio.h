#pragma once

class QDialog;

// The windows that keep the controllers and the database in step, created
// once at start-up with the others.
class TF_Send_Card;
class TF_Error_insert;
class Tf_recv_users;

namespace Ventanas {

inline TF_Send_Card *F_Send_Card = nullptr;
inline TF_Error_insert *F_Error_insert = nullptr;
inline Tf_recv_users *f_recv_users = nullptr;

// Shows the send or the receive window modally, then rebuilds the users and
// cards lists and tests every reader: whatever the window did, the lists
// and the readers page show the controllers as they were left.
void Sincroniza_Y_Refresca(QDialog *ventana);

} // namespace Ventanas
