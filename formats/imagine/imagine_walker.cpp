// Imagine objects (FORM TDDD): the chunk tree. Each "OBJ " chunk holds object descriptions
// ("DESC"), each closed by a "TOBJ"; a hierarchy of objects is a run of "DESC" chunks before
// their "TOBJ" chunks, and is written flat, one group per "DESC", in file order.
#include <cstdint>

#include "app/progress.h"
#include "core/finestra.h"
#include "framework/exceptions.h"
#include "framework/host.h"

namespace {
std::int64_t position(const Finestra& w) {
  return static_cast<std::int64_t>(w.stream->Position());
}

// Reads the header of a chunk that must lie, header and body, within [position, end):
// parent names the enclosing chunk for the message.
void readInnerHeader(Finestra& w, std::int64_t end, const std::string& parent) {
  if (end - position(w) < 8) {
    throw fw::IOException("Il file è danneggiato: il blocco \"" + lineSafe(parent) +
                              "\" finisce a metà dell'intestazione di un blocco interno.",
                          fw::IOException::kReadFailed);
  }
  w.readChunkHeader(end);
}

// Steps over what a reader left of a body ending at body_end, then over the pad byte that
// follows an odd length, when the parent still has room for it. A reader may read less than
// the stated length, never more, so the walk stays in step whatever a chunk holds.
void stepPastBody(Finestra& w, std::int64_t body_end, std::int32_t own_length, std::int64_t end) {
  w.stream->Skip(body_end - position(w));
  if (own_length % 2 == 1 && position(w) < end) w.skipTo(position(w) + 1);
}
}  // namespace

void Finestra::legge_Imagine() {
  openProgress(fw::ToInt32(dim_file));
  // The FORM's exact end; fewer than 8 bytes left before it hold no chunk header.
  const std::int64_t end = formEnd();
  while (end - position(*this) >= 8) {
    readInnerHeader(*this, end, "FORM");
    const std::int32_t own_length = dim_chunk;
    const std::int64_t body_end = position(*this) + own_length;
    if (chunk == "INFO") {
      legge_INFO_Imagine();
    } else if (chunk == "OBJ ") {
      legge_OBJ_Imagine();
    } else {
      salta();
    }
    stepPastBody(*this, body_end, own_length, end);
    fw::Yield();
  }
  closeInput();
}

void Finestra::legge_INFO_Imagine() {
  salta();
}

void Finestra::legge_OBJ_Imagine() {
  const std::int64_t end = position(*this) + dim_chunk;
  while (position(*this) < end) {
    readInnerHeader(*this, end, "OBJ ");
    // A reader of nested chunks leaves dim_chunk describing its last one.
    const std::int32_t own_length = dim_chunk;
    const std::int64_t body_end = position(*this) + own_length;
    if (chunk == "DESC") {
      legge_DESC_Imagine();
    } else if (chunk == "TOBJ") {
      legge_TOBJ_Imagine();
    } else {
      salta();
    }
    stepPastBody(*this, body_end, own_length, end);
    fw::Yield();
  }
}

// "TOBJ" only closes an object's list of children; a body it may state is stepped over by
// the walk.
void Finestra::legge_TOBJ_Imagine() {}

void Finestra::legge_DESC_Imagine() {
  contiene_vert = 0;
  contiene_pol = 0;
  Flag_SPC1_Imagine = 0;
  // Nothing of an earlier object reaches this one's faces: not its edges, not its face keys,
  // not its phong flag.
  imagineEdges = 0;
  imagineKeyedFaces = 0;
  flag_phong_Imagine = 0;

  const std::int64_t end = position(*this) + dim_chunk;
  while (position(*this) < end) {
    // The bar shows where the object being read ends.
    setProgress(end);
    readInnerHeader(*this, end, "DESC");
    const std::int32_t own_length = dim_chunk;
    const std::int64_t body_end = position(*this) + own_length;
    if (chunk == "NAME") {
      legge_NAME_Imagine();
    } else if (chunk == "PNTS") {
      legge_PNTS_Imagine();
      contiene_vert = 1;
    } else if (chunk == "EDGE") {
      legge_EDGE_Imagine();
    } else if (chunk == "FACE") {
      legge_FACE_Imagine();
      contiene_pol = 1;
    } else if (chunk == "COLR") {
      legge_COLR_Imagine();
    } else if (chunk == "REFL") {
      legge_REFL_Imagine();
    } else if (chunk == "TRAN") {
      legge_TRAN_Imagine();
    } else if (chunk == "SPC1") {
      legge_SPC1_Imagine();
      Flag_SPC1_Imagine = 1;
    } else if (chunk == "CLST") {
      legge_CLST_Imagine();
    } else if (chunk == "RLST") {
      legge_RLST_Imagine();
    } else if (chunk == "TLST") {
      legge_TLST_Imagine();
    } else if (chunk == "PRP0") {
      legge_PRP0_TSilver();
    } else if (chunk == "PRP1") {
      legge_PRP1_Imagine();
    } else {
      salta();
    }
    stepPastBody(*this, body_end, own_length, end);
    fw::Yield();
  }

  if (contiene_vert == 1 && contiene_pol == 1) {
    scrive_dati_DaImagine();
    Noggetti_Tot = Noggetti_Tot + 1;
  } else if (contiene_vert == 1) {
    // Not written, but its vertex lines are in the body: later faces must count them.
    Nvertici_Tot = Nvertici_Tot + Npnts_Imagine;
  }
}
