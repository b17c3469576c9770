#include "TWConfigurarEventos.h"

#include "PuntosEventos.h"
#include "Textos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

QComboBox* Lista(QWidget* padre, int numero, QString (*nombre)(int)) {
    auto* c = new QComboBox(padre);
    for (int i = 0; i < numero; ++i)
        c->addItem(nombre(i));
    return c;
}

// A threshold edit: tenths of a percent shown with one decimal, stepping by one tenth.
QDoubleSpinBox* Umbral(QWidget* padre, int minimo, int maximo) {
    auto* u = new QDoubleSpinBox(padre);
    u->setDecimals(1);
    u->setSingleStep(0.1);
    u->setRange(minimo * 0.1, maximo * 0.1);
    return u;
}

int Decimas(const QDoubleSpinBox* u, int minimo, int maximo) {
    return NivelTecleado(u->cleanText(), minimo, maximo)
        .value_or(static_cast<int>(std::trunc(u->value() * 10.0 + 1e-7)));
}

void Poner(QComboBox* c, int indice) {
    c->setCurrentIndex(std::clamp(indice, 0, std::max(0, c->count() - 1)));
}

} // namespace

TWConfigurarEventos::TWConfigurarEventos(const PropiedadesEventos& propiedades,
                                         const NivelesInstrumento& niveles, QWidget* padre)
    : QDialog(padre), m_inicial(propiedades), m_resultado(propiedades), m_niveles(niveles) {
    setObjectName(QStringLiteral("TWConfigurarEventos"));
    auto* raiz = new QVBoxLayout(this);

    GBUmbrales = new QGroupBox(Texto(TXT_EV_THRESHOLDS_FILTER), this);
    auto* u = new QGridLayout(GBUmbrales);
    VerSobretension = new QCheckBox(Texto(TXT_EV_SEE_OVERVOLTAGE), GBUmbrales);
    VerHueco = new QCheckBox(Texto(TXT_EV_SEE_SAG), GBUmbrales);
    VerInterrupcion = new QCheckBox(Texto(TXT_EV_SEE_INTERRUPTION), GBUmbrales);
    USobretension = Umbral(GBUmbrales, kMinSobretension, kMaxSobretension);
    UHueco = Umbral(GBUmbrales, kMinHueco, kMaxHueco);
    UInterrupcion = Umbral(GBUmbrales, kMinInterrupcion, kMaxInterrupcion);
    TipoLineaS = Lista(GBUmbrales, kNumTiposLinea, NombreTipoLinea);
    TipoLineaH = Lista(GBUmbrales, kNumTiposLinea, NombreTipoLinea);
    TipoLineaI = Lista(GBUmbrales, kNumTiposLinea, NombreTipoLinea);
    ColorLineaS = Lista(GBUmbrales, kNumPaleta, NombrePaleta);
    ColorLineaH = Lista(GBUmbrales, kNumPaleta, NombrePaleta);
    ColorLineaI = Lista(GBUmbrales, kNumPaleta, NombrePaleta);
    u->addWidget(new QLabel(Texto(TXT_EV_LINE_TYPE), GBUmbrales), 0, 2);
    u->addWidget(new QLabel(Texto(TXT_EV_LINE_COLOR), GBUmbrales), 0, 3);
    const std::array<std::array<QWidget*, 4>, 3> filasU{
        {{VerSobretension, USobretension, TipoLineaS, ColorLineaS},
         {VerHueco, UHueco, TipoLineaH, ColorLineaH},
         {VerInterrupcion, UInterrupcion, TipoLineaI, ColorLineaI}}};
    for (int f = 0; f < 3; ++f) {
        for (int c = 0; c < 4; ++c)
            u->addWidget(filasU[static_cast<size_t>(f)][static_cast<size_t>(c)], f + 1, c);
    }
    raiz->addWidget(GBUmbrales);

    GBFases = new QGroupBox(Texto(TXT_EV_PHASES), this);
    auto* g = new QGridLayout(GBFases);
    CBTrifasicos = new QCheckBox(Texto(TXT_EV_SEE_III), GBFases);
    g->addWidget(CBTrifasicos, 0, 0);
    g->addWidget(new QLabel(Texto(TXT_EV_DOT_TYPE), GBFases), 0, 1);
    g->addWidget(new QLabel(Texto(TXT_EV_DOT_COLOR), GBFases), 0, 2);
    for (size_t f = 0; f < 3; ++f) {
        ResaltarFase[f] = new QCheckBox(Texto(TXT_EV_PAINT_PHASE_1 + static_cast<int>(f)), GBFases);
        TipoFase[f] = Lista(GBFases, kNumSimbolos, NombreSimbolo);
        ColorFase[f] = Lista(GBFases, kNumPaleta, NombrePaleta);
        const int fila = static_cast<int>(f) + 1;
        g->addWidget(ResaltarFase[f], fila, 0);
        g->addWidget(TipoFase[f], fila, 1);
        g->addWidget(ColorFase[f], fila, 2);
    }
    Compactar = new QCheckBox(Texto(TXT_EV_COMPACT), GBFases);
    LHisteresis = new QLabel(Texto(TXT_EV_HYSTERESIS), GBFases);
    Histeresis = new QSpinBox(GBFases);
    Histeresis->setRange(0, 10000);
    Histeresis->setGroupSeparatorShown(false);
    g->addWidget(Compactar, 4, 0);
    g->addWidget(LHisteresis, 4, 1);
    g->addWidget(Histeresis, 4, 2);
    raiz->addWidget(GBFases);

    m_extra = new QVBoxLayout();
    raiz->addLayout(m_extra);

    auto* botones = new QHBoxLayout();
    Aceptar = new QPushButton(Texto(TXT_OK), this);
    Cancelar = new QPushButton(Texto(TXT_CANCEL), this);
    Aceptar->setDefault(true);
    botones->addStretch();
    botones->addWidget(Aceptar);
    botones->addWidget(Cancelar);
    raiz->addLayout(botones);

    // Controls are known by their names (automation and tests find them so).
    const std::pair<QWidget*, const char*> nombres[] = {{VerSobretension, "VerSobretension"},
                                                        {VerHueco, "VerHueco"},
                                                        {VerInterrupcion, "VerInterrupcion"},
                                                        {USobretension, "USobretension"},
                                                        {UHueco, "UHueco"},
                                                        {UInterrupcion, "UInterrupcion"},
                                                        {TipoLineaS, "TipoLineaS"},
                                                        {TipoLineaH, "TipoLineaH"},
                                                        {TipoLineaI, "TipoLineaI"},
                                                        {ColorLineaS, "ColorLineaS"},
                                                        {ColorLineaH, "ColorLineaH"},
                                                        {ColorLineaI, "ColorLineaI"},
                                                        {CBTrifasicos, "CBTrifasicos"},
                                                        {ResaltarFase[0], "ResaltarFase1"},
                                                        {ResaltarFase[1], "ResaltarFase2"},
                                                        {ResaltarFase[2], "ResaltarFase3"},
                                                        {TipoFase[0], "TipoFase1"},
                                                        {TipoFase[1], "TipoFase2"},
                                                        {TipoFase[2], "TipoFase3"},
                                                        {ColorFase[0], "ColorFase1"},
                                                        {ColorFase[1], "ColorFase2"},
                                                        {ColorFase[2], "ColorFase3"},
                                                        {Compactar, "Compactar"},
                                                        {Histeresis, "Histeresis"},
                                                        {Aceptar, "Aceptar"},
                                                        {Cancelar, "Cancelar"}};
    for (const auto& [control, nombre] : nombres)
        control->setObjectName(QString::fromLatin1(nombre));

    // The controls show the record.
    const PropiedadesEventos& p = m_inicial;
    VerSobretension->setChecked(p.Valor(EV_VERS) != 0);
    VerHueco->setChecked(p.Valor(EV_VERH) != 0);
    VerInterrupcion->setChecked(p.Valor(EV_VERI) != 0);
    USobretension->setValue(p.Valor(EV_UMBRALS) * 0.1);
    UHueco->setValue(p.Valor(EV_UMBRALH) * 0.1);
    UInterrupcion->setValue(p.Valor(EV_UMBRALI) * 0.1);
    Poner(TipoLineaS, p.Valor(EV_TIPOLS));
    Poner(TipoLineaH, p.Valor(EV_TIPOLH));
    Poner(TipoLineaI, p.Valor(EV_TIPOLI));
    Poner(ColorLineaS, p.Valor(EV_COLORLS));
    Poner(ColorLineaH, p.Valor(EV_COLORLH));
    Poner(ColorLineaI, p.Valor(EV_COLORLI));
    for (size_t f = 0; f < 3; ++f) {
        const int fi = static_cast<int>(f);
        ResaltarFase[f]->setChecked(p.Valor(CampoResaltar(fi)) != 0);
        Poner(TipoFase[f], p.Valor(CampoTipoPunto(fi)));
        Poner(ColorFase[f], p.Valor(CampoColorPunto(fi)));
    }
    CBTrifasicos->setChecked(p.VerTrifasicos());
    Compactar->setChecked(p.Compactar());
    Histeresis->setValue(p.Histeresis());
    ActualizarHabilitados();

    for (QCheckBox* c : {VerSobretension, VerHueco, VerInterrupcion, CBTrifasicos, Compactar, ResaltarFase[0],
                         ResaltarFase[1], ResaltarFase[2]})
        connect(c, &QCheckBox::toggled, this, [this] { ActualizarHabilitados(); });
    connect(Aceptar, &QPushButton::clicked, this, [this] { AceptarClick(); });
    connect(Cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

TWConfigurarEventos::~TWConfigurarEventos() = default;

void TWConfigurarEventos::ActualizarHabilitados() {
    const auto fila = [](bool activa, std::initializer_list<QWidget*> controles) {
        for (QWidget* w : controles)
            w->setEnabled(activa);
    };
    fila(VerSobretension->isChecked(), {USobretension, TipoLineaS, ColorLineaS});
    fila(VerHueco->isChecked(), {UHueco, TipoLineaH, ColorLineaH});
    fila(VerInterrupcion->isChecked(), {UInterrupcion, TipoLineaI, ColorLineaI});
    // Three-phase events are drawn as one series: only the first row applies.
    const bool trifasico = CBTrifasicos->isChecked();
    ResaltarFase[0]->setText(Texto(trifasico ? TXT_EV_PAINT_PHASE_III : TXT_EV_PAINT_PHASE_1));
    for (size_t f = 0; f < 3; ++f) {
        const bool filaActiva = f == 0 || !trifasico;
        ResaltarFase[f]->setEnabled(filaActiva);
        fila(filaActiva && ResaltarFase[f]->isChecked(), {TipoFase[f], ColorFase[f]});
    }
    Histeresis->setEnabled(Compactar->isChecked());
}

PropiedadesEventos TWConfigurarEventos::LeerControles() const {
    PropiedadesEventos p = m_inicial;
    p.PonerValor(EV_VERS, VerSobretension->isChecked() ? 1 : 0);
    p.PonerValor(EV_VERH, VerHueco->isChecked() ? 1 : 0);
    p.PonerValor(EV_VERI, VerInterrupcion->isChecked() ? 1 : 0);
    p.PonerValor(EV_UMBRALS, Decimas(USobretension, kMinSobretension, kMaxSobretension));
    p.PonerValor(EV_UMBRALH, Decimas(UHueco, kMinHueco, kMaxHueco));
    p.PonerValor(EV_UMBRALI, Decimas(UInterrupcion, kMinInterrupcion, kMaxInterrupcion));
    p.PonerValor(EV_TIPOLS, TipoLineaS->currentIndex());
    p.PonerValor(EV_TIPOLH, TipoLineaH->currentIndex());
    p.PonerValor(EV_TIPOLI, TipoLineaI->currentIndex());
    p.PonerValor(EV_COLORLS, ColorLineaS->currentIndex());
    p.PonerValor(EV_COLORLH, ColorLineaH->currentIndex());
    p.PonerValor(EV_COLORLI, ColorLineaI->currentIndex());
    for (size_t f = 0; f < 3; ++f) {
        const int fi = static_cast<int>(f);
        p.PonerValor(CampoResaltar(fi), ResaltarFase[f]->isChecked() ? 1 : 0);
        p.PonerValor(CampoTipoPunto(fi), TipoFase[f]->currentIndex());
        p.PonerValor(CampoColorPunto(fi), ColorFase[f]->currentIndex());
    }
    p.PonerValor(p.CampoVerTrifasicos(), CBTrifasicos->isChecked() ? 1 : 0);
    p.PonerValor(p.CampoCompactar(), Compactar->isChecked() ? 1 : 0);
    p.PonerValor(p.CampoHisteresis(), Histeresis->value());
    LeerExtra(p);
    return p;
}

void TWConfigurarEventos::AceptarClick() {
    if (!ValidarExtra())
        return;
    PropiedadesEventos p = LeerControles();
    if (p == m_inicial && !CambiadoExtra()) {
        reject();
        return;
    }
    CorregirUmbrales(p, m_niveles);
    m_resultado = p;
    m_resultado.Guardar();
    GuardarExtra();
    accept();
}
