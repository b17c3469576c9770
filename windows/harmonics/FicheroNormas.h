#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// The harmonic norms file: a single-byte text of records of three lines each, a name line,
// a voltage line and a current line:
//
//   EN 50160 LV/MV
//   0,8,2,5,1,6
//   0,101,
//
// A data line is the flag character, ",", the THD limit, ",", then the limits for harmonic
// orders 2, 3, ... separated by ","; all in percent. Lines end in LF (CR LF when we write;
// CR is dropped when we read) and a Ctrl-Z byte ends the file.
//
// The readers work on the file's bytes, so they are tested and fuzzed without touching a
// disk; the functions at the bottom resolve the file in the host directory and replace it
// atomically.
namespace normas {

constexpr int kLargoNombre = 40;
// A number field holds at most this many characters; the 20th makes the field bad.
constexpr int kLargoCampo = 19;
constexpr int kMaxValoresEditor = 49;
constexpr int kMaxValoresUso = 60;
// Written for an empty THD field; read back everywhere else as an ordinary 101 %.
constexpr double kCampoVacio = 101.0;
constexpr char kTextoCampoVacio[] = "101";
constexpr double kSinLimite = -1.0;
// The first harmonic order of every list: value j is the limit for order j + 2.
constexpr int kPrimerOrden = 2;

constexpr char kBanderaFija = '0';        // neither modified nor removed
constexpr char kBanderaSoloLectura = '2'; // shown locked, not removed
constexpr char kBanderaUsuario = '1';     // what the editor writes

constexpr char kNombreFicheroDefecto[] = "FILTROS.NRM";

struct EntradaNorma {
    QByteArray nombre;
    char bandera = kBanderaUsuario;
};

struct ListaNormas {
    std::vector<EntradaNorma> entradas;
    // False when a format error stopped the reading; `entradas` holds the records before it.
    bool completa = true;
};

// The limits of one kind (voltage or current): THD and per-order limits, index 0 = order 2.
struct LimitesArmonicos {
    double thd = kSinLimite;
    std::vector<double> valores;
};

struct Filtro {
    LimitesArmonicos tension;
    LimitesArmonicos corriente;
};

struct ResultadoUso {
    bool ok = false;
    // Also on failure: what was read until then, with the THD of the failing line at -1.
    Filtro filtro;
};

// One data line as the editor shows it.
struct LineaEditor {
    bool hayThd = false; // false: the THD field stays empty (absent or 101)
    double thd = 0.0;
    std::vector<double> valores; // at most kMaxValoresEditor
};

enum class EstadoEditor {
    Cargado,      // the record was found and read
    NoEncontrado, // no record of that name: the editor stays empty
    Fallo,        // a format error: the lines hold what was read before it
};

struct ResultadoEditor {
    EstadoEditor estado = EstadoEditor::NoEncontrado;
    LineaEditor tension;
    LineaEditor corriente;
};

// A record as the editor writes it: texts already validated. Empty texts become "101" and
// the first "," of each text becomes ".".
struct RegistroTexto {
    QByteArray nombre;
    QByteArray thdTension;
    std::vector<QByteArray> tension;
    QByteArray thdCorriente;
    std::vector<QByteArray> corriente;
};

// --- on the file's bytes

// Cuts at the first Ctrl-Z and drops every CR.
QByteArray Normalizar(const QByteArray& bruto);
// Names and flags of all records in file order.
ListaNormas LeerNombres(const QByteArray& contenido);
// The record named `nombre` as a graph uses it (at most 60 values per line; a data line must
// hold a "," after its THD).
ResultadoUso CargarParaUso(const QByteArray& contenido, const QByteArray& nombre);
// The record named `nombre` as the editor shows it (at most 49 values per line).
ResultadoEditor CargarParaEditor(const QByteArray& contenido, const QByteArray& nombre);
// Whether some record carries this name, wherever it is in the file.
bool ExisteNombre(const QByteArray& contenido, const QByteArray& nombre);
// The three lines of a record, each ended by LF.
QByteArray EscribirRegistro(const RegistroTexto& registro);
// The file's records with each record named `nombre` replaced by `registro` (appended when
// none was), or dropped when `registro` is null. Lines end in LF.
QByteArray Reemplazar(const QByteArray& contenido, const QByteArray& nombre, const QByteArray* registro);
// LF line ends turned into CR LF.
QByteArray ConFinesCRLF(const QByteArray& contenido);
// The number a text of the editor holds: digits with at most one "," or "."; empty is a
// number (it stands for an empty field). The length is checked apart.
bool EsNumeroEditor(const QString& texto);
// The first "," of a text turned into ".".
QString ConPuntoDecimal(QString texto);

// --- on the file in the host directory

// Where the file named `fichero` lives (the host directory, never the current directory).
QString Ruta(const QString& fichero);
// The temporary copy: the file name with its last character replaced by "1".
QString NombreTemporal(const QString& fichero);

enum class EstadoLectura { Leido, NoExiste, Ilegible };
struct Lectura {
    EstadoLectura estado = EstadoLectura::NoExiste;
    QByteArray contenido; // normalised
};
Lectura LeerFichero(const QString& fichero);

// Steps of an atomic replacement, for tests that stop a save half-way.
enum class PasoGuardado {
    TemporalCreado,
    BloqueEscrito, // after each record (or the new record) reached the temporary file
    Vaciado,       // flushed to the disk
    Cerrado,       // closed: the last moment before the rename
    Renombrado,    // the temporary file now holds the norms file's name
};
// Returns false to make the save stop at once, as if the process died there.
using InterrupcionGuardado = std::function<bool(PasoGuardado)>;
void PonerInterrupcion(InterrupcionGuardado interrupcion);

// Writes the record (replacing every record of the same name, else appending) and replaces
// the file atomically. On failure the old file is untouched and `error` tells why.
bool GuardarRegistro(const QString& fichero, const RegistroTexto& registro, QString* error = nullptr);
// Drops every record named `nombre`; a missing file is left missing.
bool EliminarRegistro(const QString& fichero, const QByteArray& nombre, QString* error = nullptr);

} // namespace normas
