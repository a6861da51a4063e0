// The main window: it carries the whole conversion.
//
// How the names are built: every conversion method is an operation of this window, takes no
// arguments and works on the properties below. Legge_/legge_ read, Scrive_/scrive_ write;
// a chunk reader is legge_ + chunk id + format; suffixes _Sculpt, _Imagine, _TSilver (chunk
// variants read within Imagine files) and _LWave name the format; totals end in _Tot; a
// control's handler is the control's name, "_" and the event. Helpers of our own are
// lowerCamelCase. Controls are never held: each use looks its control up by name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "framework/files.h"
#include "framework/table.h"
#include "framework/text.h"
#include "framework/ui.h"

class Progress;

class Finestra : public fw::Window {
 public:
  static constexpr const char* kClassName = "Finestra.Finestra";
  const char* ClassName() const override { return kClassName; }

  Finestra();

  // ---- Properties, in their declared order.
  std::int32_t MaxCol = 1;  // next free material number
  std::int32_t MinCol = 1;  // first material without its MTL entry
  std::string NomeFile;     // dropped path, then proposed base name, then chosen OBJ name
  std::shared_ptr<fw::BinaryStream> stream;
  std::string chunk;       // id of the chunk header read last
  float dim_file = 0;      // FORM length as read (see formLength for the exact value)
  bool Drag_Flag = false;  // true: take NomeFile; false: ask with the open dialog
  std::int32_t dim_chunk = 0;
  fw::Table2<std::int32_t> vertex{"vertex", 50000, 2};  // 16.16 fixed point, from row 1
  fw::Table2<std::int32_t> edge{"edge", 25000, 1};      // point indices, from row 0
  std::int32_t Nvertici_Tot = 0;
  std::string Formato;
  // One triangle per row from row 1: vertex indices in 0 to 2, material number in 3.
  // 80 MB when full; pages are taken from the system only as rows are written.
  fw::Table2<std::int32_t> poly{"poly", 100000, 200};
  fw::Table<std::string> NomeMat{"NomeMat", 25000};  // material key of face i
  std::int32_t colore = 0;                           // number FNmat found last
  fw::Table<std::string> Nmat{"Nmat", 1000};         // material keys
  std::string Materiale;                             // key FNmat looks up
  std::shared_ptr<fw::TextOutputStream> streamOut_O;
  std::shared_ptr<fw::TextOutputStream> streamOut_M;
  std::string NomeFileOriginale;
  std::string NomeFileMtl;
  fw::Table<std::string> Nmat2{"Nmat2", 1000};  // material names, "Material" + k
  std::int32_t premi_assi = 1;                  // axis switch presses, 1 or 2
  std::int32_t Noggetti_Tot = 0;
  std::int32_t Npoligoni_Tot = 0;
  float Scale = 0;  // 65536, divisor of 16.16 fixed point
  std::string NomeObyImagine;
  std::int32_t Npnts_Imagine = 0;
  fw::TextList Stringa_poligoni{"Stringa_poligoni"};  // OBJ body lines, from element 1
  fw::Color SpecularOggetto_Imagine;
  fw::Color ColorePoligoni_Imagine;
  fw::Color ReflectPoligoni_Imagine;
  fw::Color TrasparenzaPoligoni_Imagine;
  std::int32_t flag_phong_Imagine = 0;
  std::int32_t Nface_Imagine = 0;
  std::shared_ptr<fw::FolderItem> File_oby;
  std::int32_t Flag_SPC1_Imagine = 0;
  std::shared_ptr<Progress> Fin_Prog;
  fw::TextList stringa_mat{"stringa_mat"};  // MTL lines, from element 1
  std::int32_t contiene_vert = 0;
  std::int32_t contiene_pol = 0;
  std::int32_t Nsurf_LWave = 0;
  fw::Table<std::string> flag_LWave{"flag_LWave", 255};
  fw::Table<std::string> surf_LWave{"surf_LWave", 255};

  // ---- Our own state.
  // The FORM length as the exact integer; the FORM ends at byte 8 + formLength.
  std::int64_t formLength = 0;
  bool converting = false;  // a conversion is under way; a second one does not start

  // ---- Window (app/): layout, axis switch, drop area, menus, open command.
  void Layout() override;
  void CreateControls() override;
  void _CreateControls0();
  void Flag_Assi_Action();
  void DragMe_Open();
  void DragMe_DropObject(fw::DragItem& item, std::int32_t action);
  bool DragMe_DragOver(std::int32_t x, std::int32_t y, fw::DragItem& item, std::int32_t action);
  void DragMe_DragExit(fw::DragItem& item, std::int32_t action);
  std::shared_ptr<fw::MenuItem> FileMenu();
  std::shared_ptr<fw::MenuItem> Aprifile();
  std::shared_ptr<fw::AppleMenuItem> ArchivioAbout();
  std::shared_ptr<fw::QuitMenuItem> FileQuit();
  void AddMenuHandlers() override;
  void EnableMenuItems() override { Event_EnableMenuItems(); }
  void Event_EnableMenuItems();
  bool _Aprifile_Action();

  // ---- Driver, field readers, output (core/).
  // One whole conversion: the file from NomeFile (Drag_Flag) or the open dialog, its header,
  // its reader, the output pair, the result labels. A failure ends it with the input stream
  // and the progress window closed and no output file left behind; the exception goes on
  // to the handler's caller.
  void Legge_File();
  std::string CharWord();  // four bytes as a four-character id
  std::int32_t Word();     // signed 32-bit
  std::int32_t Byte2();    // signed 16-bit
  std::int32_t Byte();     // 0 to 255
  // Skips dim_chunk bytes (nothing when it is 0 or negative); throws when the data ends first.
  void salta();
  void scrive_files();
  // The number of the key in Materiale, appended at MaxCol when new (also left in colore).
  // Throws OutOfBoundsException, with a message, past 1000 materials.
  std::int32_t FNmat();
  void scriveHeader();
  void RGBpercentuale(std::string& red, std::string& green, std::string& blue);
  void percentuale(std::string& value);
  void Scrive_risultato();

  // ---- Sculpt 3D and Envisage (formats/sculpt3d/).
  void Legge_Sculpt3D();
  void legge_VERT_Sculpt();
  void legge_FACE_Sculpt();
  void Scrive_Vertici_daSculpt();
  void Scrive_Triangoli_DaSculpt();
  void scrive_daSculpt();

  // ---- Imagine (formats/imagine/).
  void legge_Imagine();
  void legge_INFO_Imagine();
  void legge_OBJ_Imagine();
  void legge_TOBJ_Imagine();
  void legge_DESC_Imagine();
  void legge_NAME_Imagine();
  void legge_PNTS_Imagine();
  void legge_EDGE_Imagine();
  void legge_FACE_Imagine();
  void legge_COLR_Imagine();
  void legge_REFL_Imagine();
  void legge_TRAN_Imagine();
  void legge_SPC1_Imagine();
  void legge_CLST_Imagine();
  void legge_RLST_Imagine();
  void legge_TLST_Imagine();
  void legge_PRP0_TSilver();
  void legge_PRP1_Imagine();
  void scrive_dati_DaImagine();
  void Scrive_FIle_daImagine();
  // Values the Imagine reader keeps across objects start each conversion as in a new window.
  void resetImagineState();
  // Rows of edge (from 0) read for the current object: a face may name only these.
  std::int32_t imagineEdges = 0;
  // Rows of NomeMat (from 1) whose key was begun in the current object; rows above may hold
  // an earlier object's.
  std::int32_t imagineKeyedFaces = 0;
  // Begins the keys of faces imagineKeyedFaces + 1 to faces as the key of a face no colour
  // list covers: "&hFFFFFF" (white), "&h000000" (no reflection), "&h000000" (opaque).
  void beginImagineKeys(std::int32_t faces);

  // ---- LightWave (formats/lightwave/).
  // The whole object, from stream at byte 12 to the FORM's end: pass 1 reads the surfaces
  // ("SRFS", "SURF") and counts the lines to come, pass 2 appends to Stringa_poligoni the "v"
  // lines of every "PNTS" chunk, then the group, material and "f" lines of every "POLS" chunk;
  // then the materials. Sets Nsurf_LWave and the totals; closes the stream and the progress
  // window. Damaged input (a chunk past its enclosing end, data shorter than the FORM, more
  // than 255 surfaces, more lines than a line list may hold, a point that is not finite, a
  // polygon naming a point beyond the file's) throws IOException or OutOfBoundsException with
  // the user's message, and nothing further is read.
  void Legge_Lightwave();
  // "SRFS", dim_chunk bytes from the stream: the surface names, each appended to surfaceNames.
  // A last name without its zero byte ends with the chunk; nothing beyond it is read.
  void legge_SRFS_LWave();
  // "SURF", dim_chunk bytes: one more surface, its record in surf_LWave(Nsurf_LWave) and its
  // flag code ("FSSS" without "FLAG") in flag_LWave. Levels are capped at 255; known
  // sub-chunks too short for their value and unknown ones are skipped by their length. Throws
  // OutOfBoundsException past 255 surfaces and IOException for a sub-chunk past the surface.
  void legge_SURF_LWave();
  // "PNTS", dim_chunk bytes: one "v" line per whole 12-byte point (the rest is the walk's to
  // skip), x, z, -y when the axes are swapped; adds the points to Nvertici_Tot. Throws
  // IOException for a coordinate that is not finite and, like legge_POLS_LWave,
  // OutOfBoundsException when the lines pass the list's budget.
  void legge_PNTS_LWave();
  // "POLS", dim_chunk bytes, after every "PNTS": one "f" line per whole polygon record of 3
  // points or more, "l" of 2, "p" of 1, none of 0, behind "g" and "usemtl" lines where the
  // surface changes (none unless a SURF chunk bears the surface's name); a record cut by the
  // chunk's end is left to the walk. A point beyond Nvertici_Tot throws IOException. Adds to
  // Npoligoni_Tot and Noggetti_Tot.
  void legge_POLS_LWave();
  // "FLAG" within a SURF: two bytes, the surface's four-letter flag code.
  void legge_FLAG_LWave();
  // Writes Stringa_poligoni to the OBJ stream and stringa_mat to the MTL stream, from element
  // 1; throws IOException when a file can't be written.
  void Scrive_File_daLightwave();
  // Appends to stringa_mat the count line, an empty line and one block per surface 1 to
  // Nsurf_LWave; nothing for a file without surfaces.
  void Legge_Mat_LWave();
  // Values the LightWave reader keeps start each conversion as in a new window.
  void resetLightwaveState();
  // The names of the file's "SRFS" list, from element 1 as polygons number their surfaces,
  // each written as the surface record writes its name.
  fw::TextList surfaceNames{"surfaceNames"};
  // The names of the file's SURF chunks as their "newmtl" lines write them: a polygon's group
  // and material lines name only one of these.
  std::set<std::string, std::less<>> surfaceMaterials;
  // The input stream's position; a 16-bit field read as unsigned (0 to 65535), as LightWave's
  // counts, point indices and levels are (IOException past the end of the data).
  std::int64_t streamPosition() const;
  std::int32_t unsignedByte2();

  // ---- Helpers shared by the readers (core/).
  // True when the axis setting says x, z, -y.
  bool axesSwapped();
  // Reads a chunk header into chunk and dim_chunk (32-bit length) and checks that the body
  // lies within [current position, end): a negative length or one that runs past end throws
  // IOException naming the chunk. end is the enclosing chunk's end (or the data's).
  void readChunkHeader(std::int64_t end);
  // Throws IOException naming chunk when the body of dim_chunk bytes from the current
  // position would run past end.
  void checkChunkBody(std::int64_t end);
  // Steps to pos (a pad byte beyond the data is forgiven: the stream then stands at its end).
  void skipTo(std::int64_t pos);
  // The exact end of the FORM's chunks, 8 + formLength. A FORM too short to hold its type, or
  // one whose data ends early (only a missing last pad byte is forgiven), ends the conversion
  // with a message: a cut file is never converted as if it were whole.
  std::int64_t formEnd();
  // Reading protocol of the progress window: a new window, shown, its bar's maximum set
  // (when given) and its value 0.
  void openProgress(std::optional<std::int32_t> maximum);
  void setProgress(std::int64_t value);
  // Closes the input stream, then the progress window.
  void closeInput();
  // How the Sculpt 3D and Imagine writers number a batch of faces: faces 1 to `faces` get their
  // material numbers by their keys (poly(i, 3)); then each material new in the batch is named
  // "Material" + k (kept in Nmat2) and handed to `entry` with its key, to produce its MTL
  // entry; MinCol then catches up with MaxCol.
  void numberMaterials(
      std::int32_t faces,
      const std::function<void(const std::string& name, const std::string& key)>& entry);
  // Writes the OBJ and MTL line lists, from element 1, to the two output streams.
  void writeLineLists();
  // Throws IOException naming the face and the point when the 0-based point index0 is not
  // one of the file's `vertices` points: an OBJ whose face names a missing vertex is refused
  // by its readers. face counts from 1 over the file's faces.
  static void checkFaceVertex(std::int64_t face, std::int64_t index0, std::int64_t vertices);
  // Throws OutOfBoundsException with the limit in its message when count > limit.
  static void checkLimit(std::int64_t count, std::int64_t limit, const char* what);

 private:
  void resetConversion();
  // Legge_File's road from the source file to the output pair; failures are exceptions.
  void convertSource();
};

// Names written into OBJ and MTL lines never break a line: control characters other than tab
// become "_".
std::string lineSafe(std::string text);
