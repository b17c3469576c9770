#include "Apariencia.h"

#include "TablasColores.h"

#include <QFontDatabase>
#include <QStringList>

namespace Apariencia {
namespace {

// Reads a value and writes it back; anything outside [minimo, maximo] counts as unreadable.
int LeerValor(host::SettingsKey& clave, const QString& nombre, int defecto, int minimo, int maximo) {
    const std::optional<qint32> leido = clave.readInt(nombre);
    const int valor = leido && *leido >= minimo && *leido <= maximo ? *leido : defecto;
    clave.writeInt(nombre, valor);
    return valor;
}

// A font index is written back as read even when this machine has fewer fonts, so a profile
// shared with a machine that has them keeps its choice; here it counts as unset.
int LeerFuente(host::SettingsKey& clave, const QString& nombre, int numFuentes) {
    const std::optional<qint32> leido = clave.readInt(nombre);
    clave.writeInt(nombre, leido ? *leido : -1);
    return leido && *leido >= -1 && *leido < numFuentes ? *leido : -1;
}

void EscribirTodo(host::SettingsKey& clave, const Preferencias& p) {
    for (int i = 0; i < kMaxSeries; ++i) {
        clave.writeInt(NombreColorSerie(i), p.colores[static_cast<size_t>(i)]);
        clave.writeInt(NombreTipoLinea(i), p.tipos[static_cast<size_t>(i)]);
    }
    clave.writeInt(kDeskColor, p.escritorio);
    clave.writeInt(kBackColor, p.fondo);
    clave.writeInt(kTextColor, p.texto);
    clave.writeInt(kMainFont, p.fuentes[FUENTE_PRINCIPAL]);
    clave.writeInt(kSubtitleFont, p.fuentes[FUENTE_SUBTITULO]);
    clave.writeInt(kLabelFont, p.fuentes[FUENTE_ETIQUETAS]);
}

int BuscarFuente(const std::vector<std::string>& lista, const QString& nombre) {
    for (size_t i = 0; i < lista.size(); ++i) {
        if (QString::fromUtf8(lista[i]).toUpper() == nombre)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

QString NombreColorSerie(int serie) {
    return QString::asprintf("Color%d", serie + 1);
}

QString NombreTipoLinea(int serie) {
    return QString::asprintf("Tipo%d", serie + 1);
}

Preferencias Defecto() {
    Preferencias p;
    for (int i = 0; i < kMaxSeries; ++i) {
        p.colores[static_cast<size_t>(i)] = kColoresSerieDefecto[i];
        p.tipos[static_cast<size_t>(i)] = kTiposLineaDefecto[i];
    }
    return p;
}

Preferencias Leer(std::optional<host::SettingsKey>& clave, int numFuentes) {
    Preferencias p = Defecto();
    bool nueva = false;
    clave = host::SettingsKey::openOrCreate(QString(), &nueva);
    if (!clave)
        return p;
    if (nueva) {
        EscribirTodo(*clave, p);
        clave->sync();
        return p;
    }
    // Series colour then line type, series by series, as the values were first written.
    for (int i = 0; i < kMaxSeries; ++i) {
        int& color = p.colores[static_cast<size_t>(i)];
        int& tipo = p.tipos[static_cast<size_t>(i)];
        color = LeerValor(*clave, NombreColorSerie(i), color, 0, kNumColoresSerie - 1);
        tipo = LeerValor(*clave, NombreTipoLinea(i), tipo, 0, 6);
    }
    p.escritorio = LeerValor(*clave, kDeskColor, p.escritorio, 0, kNumColoresFondo - 1);
    p.fondo = LeerValor(*clave, kBackColor, p.fondo, 0, kNumColoresFondo - 1);
    p.texto = LeerValor(*clave, kTextColor, p.texto, 0, kNumColoresFondo - 1);
    p.fuentes[FUENTE_PRINCIPAL] = LeerFuente(*clave, kMainFont, numFuentes);
    p.fuentes[FUENTE_SUBTITULO] = LeerFuente(*clave, kSubtitleFont, numFuentes);
    p.fuentes[FUENTE_ETIQUETAS] = LeerFuente(*clave, kLabelFont, numFuentes);
    clave->sync();
    return p;
}

void ResolverFuentes(std::array<int, 3>& fuentes, const std::vector<std::string>& lista) {
    const auto falta = [&fuentes] { return fuentes[0] == -1 || fuentes[1] == -1 || fuentes[2] == -1; };
    if (!falta())
        return;
    int indice = BuscarFuente(lista, QStringLiteral("ARIAL"));
    if (indice < 0)
        indice = BuscarFuente(lista, QStringLiteral("TIMES NEW ROMAN"));
    if (indice >= 0)
        fuentes = {indice, indice, indice};
    if (falta())
        fuentes = {0, 0, 0};
}

std::vector<std::string> FuentesInstaladas() {
    std::vector<std::string> lista;
    const QStringList familias = QFontDatabase::families();
    for (const QString& familia : familias) {
        if (static_cast<int>(lista.size()) >= kMaxFuentes)
            break;
        if (!QFontDatabase::isScalable(familia))
            continue;
        // Qt names a family found from several foundries "Family [Foundry]"; the user and the
        // chart know it by its family name alone.
        QString sinFundicion = familia;
        const qsizetype corchete = sinFundicion.indexOf(QStringLiteral(" ["));
        if (corchete > 0 && sinFundicion.endsWith(QLatin1Char(']')))
            sinFundicion.truncate(corchete);
        QByteArray nombre = sinFundicion.toUtf8();
        if (nombre.size() > kLargoNombreFuente) {
            // Cut on a character boundary so the name stays valid UTF-8.
            qsizetype corte = kLargoNombreFuente;
            while (corte > 0 && (static_cast<unsigned char>(nombre[corte]) & 0xC0) == 0x80)
                --corte;
            nombre.truncate(corte);
        }
        lista.emplace_back(nombre.constData());
    }
    return lista;
}

int LeerPasos() {
    std::optional<host::SettingsKey> clave = host::SettingsKey::openOrCreate();
    if (!clave)
        return kPasosDefecto;
    const int pasos = LeerValor(*clave, kPasos, kPasosDefecto, 0, 999);
    clave->sync();
    return pasos;
}

void GuardarPasos(int pasos) {
    std::optional<host::SettingsKey> clave = host::SettingsKey::openOrCreate();
    if (!clave)
        return;
    clave->writeInt(kPasos, pasos);
    clave->sync();
}

} // namespace Apariencia
