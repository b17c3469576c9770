#include "IntervalosDuracion.h"

#include "FicheroAtomico.h"
#include "HostDirectory.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QFile>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr double kFactores[NUM_UNIDADES] = {1.0, 1000.0, 60000.0, 3600000.0, 86400000.0};
constexpr int kMaxCaracteresNumero = 20;
// A real intervals file is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaxTamanoFichero = 1 << 20;

bool EsCifra(char c) {
    return c >= '0' && c <= '9';
}

// One number of the file at `pos`: digits with at most one ".", the fraction dropped. Leaves
// `pos` on the character that ends it.
std::optional<int> LeerNumero(const QByteArray& texto, qsizetype& pos) {
    const qsizetype inicio = pos;
    std::int64_t entero = 0;
    bool punto = false;
    bool cifras = false;
    while (pos < texto.size() && (EsCifra(texto[pos]) || texto[pos] == '.')) {
        if (pos - inicio >= kMaxCaracteresNumero)
            return std::nullopt;
        const char c = texto[pos];
        if (c == '.') {
            if (punto)
                return std::nullopt;
            punto = true;
        } else {
            cifras = true;
            if (!punto) {
                entero = entero * 10 + (c - '0');
                if (entero > std::numeric_limits<std::int32_t>::max())
                    return std::nullopt;
            }
        }
        ++pos;
    }
    if (!cifras)
        return std::nullopt;
    return static_cast<int>(entero);
}

bool EsFinDeLinea(const QByteArray& texto, qsizetype pos) {
    return pos == texto.size() || texto[pos] == '\n' ||
           (texto[pos] == '\r' && pos + 1 < texto.size() && texto[pos + 1] == '\n');
}

} // namespace

double FactorUnidad(int unidad) {
    return unidad >= 0 && unidad < NUM_UNIDADES ? kFactores[unidad] : 0.0;
}

QString NombreUnidad(int unidad) {
    return unidad >= 0 && unidad < NUM_UNIDADES ? Texto(TXT_UNIT_MILISECONDS + unidad) : QString();
}

std::optional<ListaIntervalos> LeerIntervalos(const QByteArray& texto) {
    std::vector<int> numeros;
    qsizetype pos = 0;
    // Numbers until the line ends; the count says how many must follow.
    while (true) {
        const std::optional<int> n = LeerNumero(texto, pos);
        if (!n)
            return std::nullopt;
        numeros.push_back(*n);
        if (EsFinDeLinea(texto, pos))
            break;
        if (texto[pos] != ',')
            return std::nullopt;
        ++pos;
        if (EsFinDeLinea(texto, pos))
            break; // a comma after the last number
        if (numeros.size() > 1 && numeros.size() > 1 + 5 * static_cast<size_t>(numeros.front()))
            return std::nullopt;
    }
    // After the line only empty lines may follow.
    for (; pos < texto.size(); ++pos) {
        if (texto[pos] != '\n' && texto[pos] != '\r')
            return std::nullopt;
    }
    const int cuenta = numeros.front();
    if (cuenta < 1 || numeros.size() != 1 + 5 * static_cast<size_t>(cuenta))
        return std::nullopt;
    ListaIntervalos lista;
    lista.reserve(static_cast<size_t>(cuenta));
    for (int k = 0; k < cuenta; ++k) {
        const int* v = &numeros[1 + 5 * static_cast<size_t>(k)];
        if (v[1] >= NUM_UNIDADES || v[3] >= NUM_UNIDADES)
            return std::nullopt;
        lista.push_back(Intervalo{v[0], v[1], v[2], v[3], v[4]});
    }
    return lista;
}

QByteArray FormatearIntervalos(const ListaIntervalos& intervalos) {
    QByteArray texto = QByteArray::number(static_cast<int>(intervalos.size()));
    for (const Intervalo& i : intervalos) {
        for (const int v : {i.desde, i.unidadDesde, i.hasta, i.unidadHasta, i.porcentaje}) {
            texto += ',';
            texto += QByteArray::number(v);
        }
    }
    texto += '\n';
    return texto;
}

std::optional<ListaIntervalos> CargarIntervalos() {
    QFile fichero(host::HostDirectory::resolveData(QString::fromLatin1(kFicheroIntervalos)));
    if (!fichero.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray texto = fichero.read(kMaxTamanoFichero + 1);
    if (texto.size() > kMaxTamanoFichero)
        return std::nullopt;
    return LeerIntervalos(texto);
}

ListaIntervalos CargarIntervalosAvisando(QWidget* padre) {
    std::optional<ListaIntervalos> lista = CargarIntervalos();
    if (lista)
        return std::move(*lista);
    host::MessageService::show(padre, Texto(TXT_WARNING), Texto(TXT_ERROR_READING_INTERVALS),
                               host::MessageIcon::Warning);
    return {};
}

bool GuardarIntervalos(const ListaIntervalos& intervalos, QString* error) {
    return FicheroAtomico::Escribir(host::HostDirectory::resolveData(QString::fromLatin1(kFicheroIntervalos)),
                                    FormatearIntervalos(intervalos), error);
}

double PosicionDuracion(double d, double maxima, const ListaIntervalos& intervalos) {
    double inicio = 0.0;
    for (size_t k = 0; k < intervalos.size(); ++k) {
        const Intervalo& i = intervalos[k];
        const double fin = inicio + 10.0 * i.porcentaje;
        const double desde = i.DesdeMs();
        double hasta = i.HastaMs();
        // The last interval stops just past the longest event, so the axis is not mostly empty.
        if (k + 1 == intervalos.size() && maxima < hasta)
            hasta = maxima + 1.0;
        if (desde <= d && d < hasta)
            return inicio + (fin - inicio) * (d - desde) / (hasta - desde);
        inicio = fin;
    }
    return kSinPosicion;
}

std::vector<LimiteEje> LimitesEje(const ListaIntervalos& intervalos, double maxima) {
    std::vector<LimiteEje> limites;
    if (intervalos.empty())
        return limites;
    limites.reserve(intervalos.size() + 1);
    limites.push_back(
        {0.0, QString::asprintf(CargarTexto(TXT_FMT_FIRST_BOUNDARY), intervalos.front().DesdeMs() * 0.001)});
    double posicion = 0.0;
    for (size_t k = 0; k + 1 < intervalos.size(); ++k) {
        posicion += 10.0 * intervalos[k].porcentaje;
        limites.push_back(
            {posicion, QString::asprintf(CargarTexto(TXT_FMT_INNER_BOUNDARY), intervalos[k].HastaMs() * 0.001,
                                         intervalos[k + 1].DesdeMs() * 0.001)});
    }
    posicion += 10.0 * intervalos.back().porcentaje;
    const Intervalo& ultimo = intervalos.back();
    const bool dentro = ultimo.DesdeMs() <= maxima && maxima < ultimo.HastaMs();
    const double fin = dentro ? maxima + 1.0 : ultimo.HastaMs();
    limites.push_back({posicion, QString::asprintf(CargarTexto(TXT_FMT_LAST_BOUNDARY), fin * 0.001)});
    return limites;
}

int ValorTecleado(const QString& texto, int unidad) {
    constexpr int kMaxDias = 9999;
    bool ok = false;
    const int v = texto.trimmed().toInt(&ok);
    if (!ok || v < 0)
        return 0;
    return unidad == UNIDAD_DIAS && v > kMaxDias ? kMaxDias : v;
}

QString TextoCelda(int valor, int unidad) {
    return QString::asprintf("%d %s", valor, qUtf8Printable(NombreUnidad(unidad)));
}

ResultadoValidacion ValidarIntervalos(const ListaIntervalos& intervalos) {
    if (intervalos.empty())
        return ResultadoValidacion::SinIntervalos;
    for (size_t k = 0; k < intervalos.size(); ++k) {
        const Intervalo& i = intervalos[k];
        if (!(i.DesdeMs() < i.HastaMs()))
            return ResultadoValidacion::Incorrecto;
        if (k > 0 && i.DesdeMs() < intervalos[k - 1].HastaMs())
            return ResultadoValidacion::Incompatibles;
    }
    return ResultadoValidacion::Valido;
}

QString MensajeValidacion(ResultadoValidacion resultado) {
    switch (resultado) {
    case ResultadoValidacion::SinIntervalos:
        return Texto(TXT_NO_INTERVALS);
    case ResultadoValidacion::Incorrecto:
        return Texto(TXT_INCORRECT_INTERVALS);
    case ResultadoValidacion::Incompatibles:
        return Texto(TXT_INCOMPATIBLE_INTERVALS);
    case ResultadoValidacion::Valido:
        break;
    }
    return QString();
}

bool ReescalarPorcentajes(ListaIntervalos& intervalos) {
    if (intervalos.empty())
        return false;
    std::int64_t suma = 0;
    for (const Intervalo& i : intervalos)
        suma += i.porcentaje;
    if (suma == 100)
        return false;
    const std::int64_t n = static_cast<std::int64_t>(intervalos.size());
    std::int64_t resto = 100;
    for (size_t k = 0; k + 1 < intervalos.size(); ++k) {
        // Shares that add up to nothing cannot be scaled: they become equal.
        const std::int64_t nuevo = suma > 0 ? std::int64_t{intervalos[k].porcentaje} * 100 / suma : 100 / n;
        intervalos[k].porcentaje = static_cast<int>(nuevo);
        resto -= nuevo;
    }
    intervalos.back().porcentaje = static_cast<int>(resto);
    return true;
}

std::vector<int> ValoresUmbrales(const UmbralesMostrados& u) {
    std::vector<int> limites{0};
    const auto anadir = [&limites](bool ver, int umbral) {
        if (ver) {
            const std::int64_t centesimas = std::int64_t{umbral} * 10;
            const int v = static_cast<int>(std::clamp<std::int64_t>(centesimas, 0, 99990));
            limites.push_back(v);
            limites.push_back(v);
        }
    };
    anadir(u.verInterrupcion, u.interrupcion);
    anadir(u.verHueco, u.hueco);
    anadir(u.verSobretension, u.sobretension);
    limites.push_back(99990);

    std::vector<int> valores{1 + (u.verSobretension ? 1 : 0) + (u.verHueco ? 1 : 0) +
                             (u.verInterrupcion ? 1 : 0)};
    // Bands from the top down: the last pair of limits first.
    for (size_t k = limites.size(); k >= 2; k -= 2) {
        valores.push_back(limites[k - 2]);
        valores.push_back(limites[k - 1]);
    }
    return valores;
}

QByteArray FormatearUmbrales(const UmbralesMostrados& umbrales) {
    QByteArray texto;
    for (const int v : ValoresUmbrales(umbrales)) {
        texto += QByteArray::number(v);
        texto += ',';
    }
    texto += '\n';
    return texto;
}

bool GuardarUmbrales(const UmbralesMostrados& umbrales, QString* error) {
    return FicheroAtomico::Escribir(host::HostDirectory::resolveData(QString::fromLatin1(kFicheroUmbrales)),
                                    FormatearUmbrales(umbrales), error);
}
