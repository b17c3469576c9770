#include "PropiedadesEventos.h"

#include "SettingsStore.h"
#include "Textos.h"

namespace {

// The range a stored value must lie in to be used.
struct Rango {
    int minimo;
    int maximo;
};
constexpr Rango kBandera{0, 1};
constexpr Rango kTipoLinea{0, kNumTiposLinea - 1};
constexpr Rango kColor{0, kNumPaleta - 1};
constexpr Rango kSimbolo{0, kNumSimbolos - 1};
constexpr Rango kHisteresis{0, 10000};
constexpr Rango kCurva{0, 2};

struct Campo {
    const char* nombre; // nullptr: not stored
    int defecto;
    Rango rango;
};

// Defaults of the common fields; the thresholds and point types are filled in per window.
constexpr Campo kComunes[EV_NUM_COMUNES] = {
    {"VERS", 0, kBandera},      {nullptr, 0, kBandera},    {"TIPOLS", 0, kTipoLinea},
    {"COLORLS", 1, kColor},     {"VERH", 0, kBandera},     {nullptr, 0, kBandera},
    {"TIPOLH", 3, kTipoLinea},  {"COLORLH", 2, kColor},    {"VERI", 0, kBandera},
    {nullptr, 0, kBandera},     {"TIPOLI", 4, kTipoLinea}, {"COLORLI", 3, kColor},
    {"RESALTAR1", 1, kBandera}, {"TIPOP1", 0, kSimbolo},   {"COLORP1", 0, kColor},
    {"RESALTAR2", 1, kBandera}, {"TIPOP2", 0, kSimbolo},   {"COLORP2", 1, kColor},
    {"RESALTAR3", 1, kBandera}, {"TIPOP3", 0, kSimbolo},   {"COLORP3", 2, kColor},
};
constexpr Campo kVerDuraciones{"VERDURACIONES", 0, kBandera};
constexpr Campo kCompactar{"COMPACTAR", 1, kBandera};
constexpr Campo kHisteresisCampo{"HISTERESIS", 20, kHisteresis};
constexpr Campo kVerTrifasicos{"VERTRIFASICOS", 0, kBandera};
constexpr Campo kCurvaCampo{"CURVA", 1, kCurva};
constexpr Campo kVerOk{"VEROK", 1, kBandera};
constexpr Campo kVerNoOk{"VERNOOK", 1, kBandera};

std::vector<Campo> Campos(TipoPropiedades tipo) {
    std::vector<Campo> c(std::begin(kComunes), std::end(kComunes));
    switch (tipo) {
    case TipoPropiedades::EH:
    case TipoPropiedades::TES:
        c.insert(c.end(), {kVerDuraciones, kCompactar, kHisteresisCampo, kVerTrifasicos});
        break;
    case TipoPropiedades::ED:
        c.insert(c.end(), {kCompactar, kHisteresisCampo, kVerTrifasicos});
        break;
    case TipoPropiedades::CBEMA:
        c.insert(c.end(), {kCompactar, kHisteresisCampo, kVerTrifasicos, kCurvaCampo, kVerOk, kVerNoOk});
        break;
    }
    return c;
}

constexpr unsigned int kPaleta[kNumPaleta] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x505050, 0x808080,
                                              0xC0C0C0, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x800080, 0x008000,
                                              0x808000, 0x008080, 0x000080, 0x800000, 0xFFFFFF};

} // namespace

unsigned int ColorPaleta(int indice) {
    return indice >= 0 && indice < kNumPaleta ? kPaleta[indice] : 0;
}

QString NombrePaleta(int indice) {
    return indice >= 0 && indice < kNumPaleta ? Texto(TXT_PALETA_0 + indice) : QString();
}

QString NombreTipoLinea(int codigo) {
    return codigo >= 0 && codigo < kNumTiposLinea ? Texto(TXT_EV_LINE_TYPE_0 + codigo) : QString();
}

QString NombreSimbolo(int codigo) {
    return codigo >= 0 && codigo < kNumSimbolos ? Texto(TXT_EV_SYMBOL_0 + codigo) : QString();
}

PropiedadesEventos::PropiedadesEventos(TipoPropiedades tipo)
    : m_tipo(tipo), m_valores(static_cast<size_t>(NumeroValores(tipo)), 0) {}

QString PropiedadesEventos::Subclave(TipoPropiedades tipo) {
    switch (tipo) {
    case TipoPropiedades::ED:
        return QStringLiteral("PROPIEDADESED");
    case TipoPropiedades::CBEMA:
        return QStringLiteral("PROPIEDADESCBEMA");
    case TipoPropiedades::TES:
        return QStringLiteral("PROPIEDADESTES");
    case TipoPropiedades::EH:
        break;
    }
    return QStringLiteral("PROPIEDADESEH");
}

int PropiedadesEventos::NumeroValores(TipoPropiedades tipo) {
    return static_cast<int>(Campos(tipo).size());
}

QString PropiedadesEventos::NombreValor(TipoPropiedades tipo, int campo) {
    const std::vector<Campo> c = Campos(tipo);
    if (campo < 0 || campo >= static_cast<int>(c.size()) || c[static_cast<size_t>(campo)].nombre == nullptr)
        return QString();
    return QString::fromLatin1(c[static_cast<size_t>(campo)].nombre);
}

PropiedadesEventos PropiedadesEventos::Defecto(TipoPropiedades tipo, const NivelesInstrumento& niveles,
                                               const std::array<int, 3>& tiposPuntoGrafica) {
    PropiedadesEventos p(tipo);
    const std::vector<Campo> c = Campos(tipo);
    for (size_t i = 0; i < c.size(); ++i)
        p.m_valores[i] = c[i].defecto;
    p.m_valores[EV_UMBRALS] = niveles.sobretension;
    p.m_valores[EV_UMBRALH] = niveles.hueco;
    p.m_valores[EV_UMBRALI] = niveles.interrupcion;
    for (int f = 0; f < 3; ++f)
        p.m_valores[static_cast<size_t>(CampoTipoPunto(f))] = tiposPuntoGrafica[static_cast<size_t>(f)];
    return p;
}

PropiedadesEventos PropiedadesEventos::Leer(TipoPropiedades tipo, const NivelesInstrumento& niveles,
                                            const std::array<int, 3>& tiposPuntoGrafica) {
    PropiedadesEventos p = Defecto(tipo, niveles, tiposPuntoGrafica);
    std::optional<host::SettingsKey> clave = host::SettingsKey::openOrCreate(Subclave(tipo));
    if (!clave)
        return p;
    const std::vector<Campo> c = Campos(tipo);
    for (size_t i = 0; i < c.size(); ++i) {
        if (c[i].nombre == nullptr)
            continue;
        const QString nombre = QString::fromLatin1(c[i].nombre);
        const std::optional<qint32> leido = clave->readInt(nombre);
        if (leido && *leido >= c[i].rango.minimo && *leido <= c[i].rango.maximo)
            p.m_valores[i] = *leido;
        else
            clave->writeInt(nombre, p.m_valores[i]);
    }
    clave->sync();
    return p;
}

int PropiedadesEventos::Valor(int campo) const {
    return campo >= 0 && campo < static_cast<int>(m_valores.size()) ? m_valores[static_cast<size_t>(campo)]
                                                                    : 0;
}

void PropiedadesEventos::PonerValor(int campo, int valor) {
    if (campo >= 0 && campo < static_cast<int>(m_valores.size()))
        m_valores[static_cast<size_t>(campo)] = valor;
}

int PropiedadesEventos::CampoCompactar() const {
    return m_tipo == TipoPropiedades::EH || m_tipo == TipoPropiedades::TES ? EV_NUM_COMUNES + 1
                                                                           : EV_NUM_COMUNES;
}
int PropiedadesEventos::CampoHisteresis() const {
    return CampoCompactar() + 1;
}
int PropiedadesEventos::CampoVerTrifasicos() const {
    return CampoCompactar() + 2;
}

bool PropiedadesEventos::VerDuraciones() const {
    return (m_tipo == TipoPropiedades::EH || m_tipo == TipoPropiedades::TES) && Valor(EV_NUM_COMUNES) != 0;
}
bool PropiedadesEventos::Compactar() const {
    return Valor(CampoCompactar()) != 0;
}
int PropiedadesEventos::Histeresis() const {
    return Valor(CampoHisteresis());
}
bool PropiedadesEventos::VerTrifasicos() const {
    return Valor(CampoVerTrifasicos()) != 0;
}
int PropiedadesEventos::Curva() const {
    return m_tipo == TipoPropiedades::CBEMA ? Valor(EV_NUM_COMUNES + 3) : -1;
}
bool PropiedadesEventos::VerOk() const {
    return m_tipo != TipoPropiedades::CBEMA || Valor(EV_NUM_COMUNES + 4) != 0;
}
bool PropiedadesEventos::VerNoOk() const {
    return m_tipo != TipoPropiedades::CBEMA || Valor(EV_NUM_COMUNES + 5) != 0;
}

UmbralesMostrados PropiedadesEventos::Umbrales() const {
    UmbralesMostrados u;
    u.verSobretension = Valor(EV_VERS) != 0;
    u.verHueco = Valor(EV_VERH) != 0;
    u.verInterrupcion = Valor(EV_VERI) != 0;
    u.sobretension = Valor(EV_UMBRALS);
    u.hueco = Valor(EV_UMBRALH);
    u.interrupcion = Valor(EV_UMBRALI);
    return u;
}

std::vector<int> PropiedadesEventos::FilaLista(const std::array<int, 3>& objeto, int nivelAgrupacion,
                                               int intervalo) const {
    std::vector<int> fila{objeto[0],
                          objeto[1],
                          objeto[2],
                          nivelAgrupacion,
                          intervalo,
                          Valor(EV_UMBRALS),
                          Valor(EV_UMBRALH),
                          Valor(EV_UMBRALI),
                          Compactar() ? 1 : 0,
                          Histeresis(),
                          VerTrifasicos() ? 1 : 0};
    if (m_tipo == TipoPropiedades::CBEMA)
        fila.push_back(Curva());
    return fila;
}

bool PropiedadesEventos::Guardar() const {
    std::optional<host::SettingsKey> clave = host::SettingsKey::openOrCreate(Subclave(m_tipo));
    if (!clave)
        return false;
    const std::vector<Campo> c = Campos(m_tipo);
    for (size_t i = 0; i < c.size(); ++i) {
        if (c[i].nombre != nullptr)
            clave->writeInt(QString::fromLatin1(c[i].nombre), m_valores[i]);
    }
    return clave->sync();
}
