// Imagine objects (FORM TDDD). Not converted yet.
#include "core/finestra.h"
#include "framework/exceptions.h"

void Finestra::legge_Imagine() {
  throw fw::RuntimeException("Il formato Imagine non è ancora convertito da questa versione di Tarvelo.");
}
void Finestra::legge_INFO_Imagine() {}
void Finestra::legge_OBJ_Imagine() {}
void Finestra::legge_TOBJ_Imagine() {}
void Finestra::legge_DESC_Imagine() {}
void Finestra::legge_NAME_Imagine() {}
void Finestra::legge_PNTS_Imagine() {}
void Finestra::legge_EDGE_Imagine() {}
void Finestra::legge_FACE_Imagine() {}
void Finestra::legge_COLR_Imagine() {}
void Finestra::legge_REFL_Imagine() {}
void Finestra::legge_TRAN_Imagine() {}
void Finestra::legge_SPC1_Imagine() {}
void Finestra::legge_CLST_Imagine() {}
void Finestra::legge_RLST_Imagine() {}
void Finestra::legge_TLST_Imagine() {}
void Finestra::legge_PRP0_TSilver() {}
void Finestra::legge_PRP1_Imagine() {}
void Finestra::scrive_dati_DaImagine() {}
void Finestra::Scrive_FIle_daImagine() {}
void Finestra::resetImagineState() {}
