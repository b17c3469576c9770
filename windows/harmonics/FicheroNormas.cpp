#include "FicheroNormas.h"

#include "HostDirectory.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace normas {
namespace {

constexpr char kCtrlZ = 26;

// Reads a normalised file character by character; the end of the data reads as a line end.
class Lector {
public:
    explicit Lector(const QByteArray& datos) : m_datos(datos) {}

    bool Fin() const { return m_pos >= m_datos.size(); }

    // A whole line, keeping at most `limite` characters; false when it was longer.
    bool LeerLinea(QByteArray& linea, qsizetype limite) {
        linea.clear();
        bool completa = true;
        while (!Fin()) {
            const char c = m_datos[m_pos++];
            if (c == '\n')
                return completa;
            if (linea.size() < limite)
                linea.append(c);
            else
                completa = false;
        }
        return completa;
    }

    void SaltarLinea() {
        while (!Fin() && m_datos[m_pos++] != '\n') {
        }
    }

    bool LeerCaracter(char& c) {
        if (Fin())
            return false;
        c = m_datos[m_pos++];
        return true;
    }

    // Nothing but line ends from here to the end of the data.
    bool SoloLineasVacias() const {
        for (qsizetype i = m_pos; i < m_datos.size(); ++i) {
            if (m_datos[i] != '\n')
                return false;
        }
        return true;
    }

    enum class Campo { Malo, FinLista, Valor };
    struct LecturaCampo {
        Campo tipo = Campo::Malo;
        double valor = 0.0;
        bool finLinea = false;
    };

    LecturaCampo LeerCampo() {
        LecturaCampo r;
        QByteArray texto;
        while (true) {
            const bool fin = Fin();
            const char c = fin ? '\n' : m_datos[m_pos++];
            if (c == '\n' || c == ',') {
                r.finLinea = c == '\n';
                if (r.finLinea && texto.isEmpty()) {
                    r.tipo = Campo::FinLista;
                    return r;
                }
                r.tipo = Convertir(texto, r.valor) ? Campo::Valor : Campo::Malo;
                return r;
            }
            if (!(c >= '0' && c <= '9') && c != '.')
                return r;
            texto.append(c);
            if (texto.size() > kLargoCampo)
                return r;
        }
    }

private:
    // Digits with at most one "."; an empty field (before a ",") is 0.
    static bool Convertir(const QByteArray& texto, double& valor) {
        if (texto.isEmpty()) {
            valor = 0.0;
            return true;
        }
        if (texto.count('.') > 1 || texto == ".")
            return false;
        bool ok = false;
        valor = texto.toDouble(&ok);
        return ok;
    }

    const QByteArray& m_datos;
    qsizetype m_pos = 0;
};

// Moves the reader past the name line of the record called `nombre`; false at the end of the
// file. Records are walked three lines at a time.
bool BuscarRegistro(Lector& lector, const QByteArray& nombre) {
    QByteArray linea;
    while (!lector.Fin()) {
        // A name line that is too long is compared by what was read of it.
        lector.LeerLinea(linea, kLargoNombre);
        if (linea == nombre)
            return true;
        lector.SaltarLinea();
        lector.SaltarLinea();
    }
    return false;
}

// The flag and "," that open a data line.
bool LeerCabeceraLinea(Lector& lector) {
    char bandera = 0;
    char coma = 0;
    return lector.LeerCaracter(bandera) && bandera != '\n' && lector.LeerCaracter(coma) && coma == ',';
}

bool LeerLineaUso(Lector& lector, LimitesArmonicos& limites) {
    limites = LimitesArmonicos();
    if (!LeerCabeceraLinea(lector))
        return false;
    const Lector::LecturaCampo thd = lector.LeerCampo();
    // A graph needs the "," behind the THD: a line holding only the THD is bad.
    if (thd.tipo != Lector::Campo::Valor || thd.finLinea)
        return false;
    limites.thd = thd.valor;
    while (static_cast<int>(limites.valores.size()) < kMaxValoresUso) {
        const Lector::LecturaCampo campo = lector.LeerCampo();
        if (campo.tipo == Lector::Campo::Malo) {
            limites.thd = kSinLimite;
            return false;
        }
        if (campo.tipo == Lector::Campo::FinLista)
            return true;
        limites.valores.push_back(campo.valor);
        if (campo.finLinea)
            return true;
    }
    // Values beyond the 60th are not used.
    lector.SaltarLinea();
    return true;
}

bool LeerLineaEditor(Lector& lector, LineaEditor& linea) {
    linea = LineaEditor();
    if (!LeerCabeceraLinea(lector))
        return false;
    const Lector::LecturaCampo thd = lector.LeerCampo();
    if (thd.tipo != Lector::Campo::Valor)
        return false;
    linea.hayThd = thd.valor != kCampoVacio;
    linea.thd = linea.hayThd ? thd.valor : 0.0;
    // The editor takes a line that ends right after its THD as an empty list.
    if (thd.finLinea)
        return true;
    while (static_cast<int>(linea.valores.size()) < kMaxValoresEditor) {
        const Lector::LecturaCampo campo = lector.LeerCampo();
        if (campo.tipo == Lector::Campo::Malo)
            return false;
        if (campo.tipo == Lector::Campo::FinLista)
            return true;
        linea.valores.push_back(campo.valor);
        if (campo.finLinea)
            return true;
    }
    // The grid has rows for orders 2 to 50 only; the rest of a longer line is not shown.
    lector.SaltarLinea();
    return true;
}

QByteArray TextoCampo(const QByteArray& texto) {
    if (texto.isEmpty())
        return QByteArray(kTextoCampoVacio);
    QByteArray t = texto;
    const qsizetype coma = t.indexOf(',');
    if (coma >= 0)
        t[coma] = '.';
    return t;
}

QByteArray LineaDatos(const QByteArray& thd, const std::vector<QByteArray>& valores) {
    QByteArray linea;
    linea.append(kBanderaUsuario).append(',').append(TextoCampo(thd)).append(',');
    for (size_t i = 0; i < valores.size(); ++i) {
        if (i > 0)
            linea.append(',');
        linea.append(TextoCampo(valores[i]));
    }
    linea.append('\n');
    return linea;
}

InterrupcionGuardado& Interrupcion() {
    static InterrupcionGuardado i;
    return i;
}

// True when the save may go on past `paso`.
bool Seguir(PasoGuardado paso) {
    return !Interrupcion() || Interrupcion()(paso);
}

bool VolcarAlDisco(QFile& f) {
    if (!f.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(f.handle()) == 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}

// Cuts the new content into blocks of one record (three lines), so that a stop after any
// write leaves a partial temporary file, never a partial norms file.
std::vector<QByteArray> Bloques(const QByteArray& contenido) {
    std::vector<QByteArray> bloques;
    qsizetype inicio = 0;
    int lineas = 0;
    for (qsizetype i = 0; i < contenido.size(); ++i) {
        if (contenido[i] == '\n' && ++lineas == 3) {
            bloques.push_back(contenido.mid(inicio, i + 1 - inicio));
            inicio = i + 1;
            lineas = 0;
        }
    }
    if (inicio < contenido.size())
        bloques.push_back(contenido.mid(inicio));
    return bloques;
}

// Writes `contenido` (LF line ends) as the new norms file: a temporary file beside it is
// written, flushed to the disk and renamed over it, so that at every instant the norms file
// is either the old one or the new one, whole.
bool Sustituir(const QString& fichero, const QByteArray& contenido, QString* error) {
    const QString ruta = Ruta(fichero);
    const QString temporal = Ruta(NombreTemporal(fichero));
    const auto fallo = [&](const QString& motivo) {
        QFile::remove(temporal);
        if (error != nullptr)
            *error = motivo;
        return false;
    };
    QFile f(temporal);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fallo(f.errorString());
    if (!Seguir(PasoGuardado::TemporalCreado))
        return false;
    for (const QByteArray& bloque : Bloques(contenido)) {
        const QByteArray crlf = ConFinesCRLF(bloque);
        if (f.write(crlf) != crlf.size())
            return fallo(f.errorString());
        if (!Seguir(PasoGuardado::BloqueEscrito))
            return false;
    }
    if (!VolcarAlDisco(f))
        return fallo(f.errorString());
    if (!Seguir(PasoGuardado::Vaciado))
        return false;
    f.close();
    if (f.error() != QFileDevice::NoError)
        return fallo(f.errorString());
    if (!Seguir(PasoGuardado::Cerrado))
        return false;
    std::error_code ec;
    // Replaces the target in one step where the platform allows it (rename(2), MoveFileEx).
    std::filesystem::rename(std::filesystem::path(temporal.toStdU16String()),
                            std::filesystem::path(ruta.toStdU16String()), ec);
    if (ec)
        return fallo(QString::fromStdString(ec.message()));
    Seguir(PasoGuardado::Renombrado);
    return true;
}

bool ReescribirFichero(const QString& fichero, const QByteArray& nombre, const QByteArray* registro,
                       QString* error) {
    const Lectura lectura = LeerFichero(fichero);
    if (lectura.estado == EstadoLectura::Ilegible) {
        // Rewriting from nothing would lose every filter the file holds.
        if (error != nullptr)
            *error = QFile(Ruta(fichero)).errorString();
        return false;
    }
    if (lectura.estado == EstadoLectura::NoExiste && registro == nullptr)
        return true;
    return Sustituir(fichero, Reemplazar(lectura.contenido, nombre, registro), error);
}

} // namespace

QByteArray Normalizar(const QByteArray& bruto) {
    QByteArray datos = bruto;
    const qsizetype fin = datos.indexOf(kCtrlZ);
    if (fin >= 0)
        datos.truncate(fin);
    datos.replace('\r', QByteArray());
    return datos;
}

ListaNormas LeerNombres(const QByteArray& contenido) {
    ListaNormas lista;
    Lector lector(contenido);
    QByteArray nombre;
    while (!lector.Fin()) {
        if (!lector.LeerLinea(nombre, kLargoNombre)) {
            lista.completa = false;
            return lista;
        }
        if (nombre.isEmpty()) {
            // Blank lines after the last record are harmless; anywhere else a name is missing.
            lista.completa = lector.SoloLineasVacias();
            return lista;
        }
        char bandera = 0;
        if (!lector.LeerCaracter(bandera) || bandera == '\n') {
            lista.completa = false;
            return lista;
        }
        lector.SaltarLinea();
        if (lector.Fin()) {
            // The current line is missing.
            lista.completa = false;
            return lista;
        }
        lector.SaltarLinea();
        lista.entradas.push_back({nombre, bandera});
    }
    return lista;
}

ResultadoUso CargarParaUso(const QByteArray& contenido, const QByteArray& nombre) {
    ResultadoUso r;
    Lector lector(contenido);
    if (!BuscarRegistro(lector, nombre))
        return r;
    r.ok = LeerLineaUso(lector, r.filtro.tension) && LeerLineaUso(lector, r.filtro.corriente);
    return r;
}

ResultadoEditor CargarParaEditor(const QByteArray& contenido, const QByteArray& nombre) {
    ResultadoEditor r;
    Lector lector(contenido);
    if (!BuscarRegistro(lector, nombre))
        return r;
    const bool ok = LeerLineaEditor(lector, r.tension) && LeerLineaEditor(lector, r.corriente);
    r.estado = ok ? EstadoEditor::Cargado : EstadoEditor::Fallo;
    return r;
}

bool ExisteNombre(const QByteArray& contenido, const QByteArray& nombre) {
    Lector lector(contenido);
    return BuscarRegistro(lector, nombre);
}

QByteArray EscribirRegistro(const RegistroTexto& registro) {
    QByteArray texto = registro.nombre;
    texto.append('\n');
    texto.append(LineaDatos(registro.thdTension, registro.tension));
    texto.append(LineaDatos(registro.thdCorriente, registro.corriente));
    return texto;
}

QByteArray Reemplazar(const QByteArray& contenido, const QByteArray& nombre, const QByteArray* registro) {
    QByteArray salida;
    Lector lector(contenido);
    QByteArray linea;
    bool reemplazado = false;
    while (!lector.Fin()) {
        // Blank lines at the end would shift an appended record: they are dropped.
        if (lector.SoloLineasVacias())
            break;
        lector.LeerLinea(linea, contenido.size());
        if (linea == nombre) {
            if (registro != nullptr)
                salida.append(*registro);
            reemplazado = true;
            lector.SaltarLinea();
            lector.SaltarLinea();
            continue;
        }
        salida.append(linea).append('\n');
        for (int i = 0; i < 2 && !lector.Fin(); ++i) {
            lector.LeerLinea(linea, contenido.size());
            salida.append(linea).append('\n');
        }
    }
    if (!reemplazado && registro != nullptr)
        salida.append(*registro);
    return salida;
}

QByteArray ConFinesCRLF(const QByteArray& contenido) {
    QByteArray salida = contenido;
    salida.replace("\n", "\r\n");
    return salida;
}

bool EsNumeroEditor(const QString& texto) {
    int separadores = 0;
    int digitos = 0;
    for (const QChar c : texto) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            ++separadores;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digitos;
        else
            return false;
    }
    // A lone separator would be written as a field no reader accepts.
    return separadores <= 1 && (texto.isEmpty() || digitos > 0);
}

QString ConPuntoDecimal(QString texto) {
    const qsizetype coma = texto.indexOf(QLatin1Char(','));
    if (coma >= 0)
        texto[coma] = QLatin1Char('.');
    return texto;
}

QString Ruta(const QString& fichero) {
    return host::HostDirectory::resolveData(fichero);
}

QString NombreTemporal(const QString& fichero) {
    if (fichero.isEmpty())
        return QStringLiteral("1");
    QString temporal = fichero;
    temporal[temporal.size() - 1] = QLatin1Char('1');
    // A name that already ends in "1" would make the copy its own target.
    if (temporal == fichero)
        temporal.append(QLatin1Char('1'));
    return temporal;
}

Lectura LeerFichero(const QString& fichero) {
    Lectura r;
    QFile f(Ruta(fichero));
    if (!f.exists())
        return r;
    if (!f.open(QIODevice::ReadOnly)) {
        r.estado = EstadoLectura::Ilegible;
        return r;
    }
    const QByteArray bruto = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.estado = EstadoLectura::Ilegible;
        return r;
    }
    r.estado = EstadoLectura::Leido;
    r.contenido = Normalizar(bruto);
    return r;
}

void PonerInterrupcion(InterrupcionGuardado interrupcion) {
    Interrupcion() = std::move(interrupcion);
}

bool GuardarRegistro(const QString& fichero, const RegistroTexto& registro, QString* error) {
    const QByteArray texto = EscribirRegistro(registro);
    return ReescribirFichero(fichero, registro.nombre, &texto, error);
}

bool EliminarRegistro(const QString& fichero, const QByteArray& nombre, QString* error) {
    return ReescribirFichero(fichero, nombre, nullptr, error);
}

} // namespace normas
