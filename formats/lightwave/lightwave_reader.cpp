// LightWave objects (FORM LWOB). Not converted yet.
#include "core/finestra.h"
#include "framework/exceptions.h"

void Finestra::Legge_Lightwave() {
  throw fw::RuntimeException("Il formato Lightwave non è ancora convertito da questa versione di Tarvelo.");
}
void Finestra::legge_SRFS_LWave() {}
void Finestra::legge_SURF_LWave() {}
void Finestra::legge_PNTS_LWave() {}
void Finestra::legge_POLS_LWave() {}
void Finestra::legge_FLAG_LWave() {}
void Finestra::Scrive_File_daLightwave() {}
void Finestra::Legge_Mat_LWave() {}
void Finestra::resetLightwaveState() {}
