#include "TWConfigurarED.h"

#include "Textos.h"
#include "UserInteraction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace {

constexpr int kMaxHisteresis = 10000;
constexpr int kMaxCifrasValor = 4;
constexpr int kMaxPorcentaje = 999;

QDoubleSpinBox* EditUmbral(QWidget* padre, const char* nombre, int minimo, int maximo) {
    auto* e = new QDoubleSpinBox(padre);
    e->setObjectName(QString::fromLatin1(nombre));
    e->setDecimals(1);
    e->setSingleStep(0.1);
    e->setRange(minimo * 0.1, maximo * 0.1);
    return e;
}

// The typed number in tenths, truncated (the up-down's position when the text is not a number).
int Decimas(const QDoubleSpinBox* e, int minimo, int maximo) {
    return NivelTecleado(e->cleanText(), minimo, maximo).value_or(static_cast<int>(e->value() * 10.0 + 1e-7));
}

QComboBox* Lista(QWidget* padre, const QString& nombre, int cuenta, QString (*texto)(int)) {
    auto* c = new QComboBox(padre);
    c->setObjectName(nombre);
    for (int i = 0; i < cuenta; ++i)
        c->addItem(texto(i));
    return c;
}

QComboBox* ListaUnidades(QWidget* padre, const char* nombre) {
    return Lista(padre, QString::fromLatin1(nombre), NUM_UNIDADES, NombreUnidad);
}

struct FilaUmbral {
    int ver;
    int umbral;
    int tipo;
    int color;
};
constexpr FilaUmbral kFilasUmbral[3] = {{EV_VERS, EV_UMBRALS, EV_TIPOLS, EV_COLORLS},
                                        {EV_VERH, EV_UMBRALH, EV_TIPOLH, EV_COLORLH},
                                        {EV_VERI, EV_UMBRALI, EV_TIPOLI, EV_COLORLI}};

} // namespace

void CorregirUmbrales(PropiedadesEventos& p, const NivelesInstrumento& n) {
    if (p.Valor(EV_UMBRALS) < n.sobretension)
        p.PonerValor(EV_UMBRALS, n.sobretension);
    if (p.Valor(EV_UMBRALH) > n.hueco)
        p.PonerValor(EV_UMBRALH, n.hueco);
    if (p.Valor(EV_UMBRALI) > n.interrupcion)
        p.PonerValor(EV_UMBRALI, n.interrupcion);
    if (p.Valor(EV_UMBRALI) >= p.Valor(EV_UMBRALH))
        p.PonerValor(EV_UMBRALI, p.Valor(EV_UMBRALH) - 1);
}

TWConfigurarED::TWConfigurarED(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                               QWidget* padre)
    : QDialog(padre), m_propiedades(propiedades), m_niveles(niveles) {
    setObjectName(QStringLiteral("TWConfigurarED"));
    setWindowTitle(Texto(TXT_ED_PROPERTIES));

    // Thresholds: see box, threshold, line type and colour of each kind.
    GrupoUmbrales = new QGroupBox(Texto(TXT_ED_THRESHOLDS_FILTER), this);
    auto* ru = new QGridLayout(GrupoUmbrales);
    VerSobretension = new QCheckBox(Texto(TXT_ED_SEE_OVERVOLTAGE), GrupoUmbrales);
    VerSobretension->setObjectName(QStringLiteral("VerSobretension"));
    VerHueco = new QCheckBox(Texto(TXT_ED_SEE_SAG), GrupoUmbrales);
    VerHueco->setObjectName(QStringLiteral("VerHueco"));
    VerInterrupcion = new QCheckBox(Texto(TXT_ED_SEE_INTERRUPTION), GrupoUmbrales);
    VerInterrupcion->setObjectName(QStringLiteral("VerInterrupcion"));
    USobretension = EditUmbral(GrupoUmbrales, "USobretension", kMinSobretension, kMaxSobretension);
    UHueco = EditUmbral(GrupoUmbrales, "UHueco", kMinHueco, kMaxHueco);
    UInterrupcion = EditUmbral(GrupoUmbrales, "UInterrupcion", kMinInterrupcion, kMaxInterrupcion);
    TipoLineaS = Lista(GrupoUmbrales, QStringLiteral("TipoLineaS"), kNumTiposLinea, NombreTipoLinea);
    TipoLineaH = Lista(GrupoUmbrales, QStringLiteral("TipoLineaH"), kNumTiposLinea, NombreTipoLinea);
    TipoLineaI = Lista(GrupoUmbrales, QStringLiteral("TipoLineaI"), kNumTiposLinea, NombreTipoLinea);
    ColorLineaS = Lista(GrupoUmbrales, QStringLiteral("ColorLineaS"), kNumPaleta, NombrePaleta);
    ColorLineaH = Lista(GrupoUmbrales, QStringLiteral("ColorLineaH"), kNumPaleta, NombrePaleta);
    ColorLineaI = Lista(GrupoUmbrales, QStringLiteral("ColorLineaI"), kNumPaleta, NombrePaleta);
    ru->addWidget(new QLabel(Texto(TXT_ED_LINE_TYPE), GrupoUmbrales), 0, 2);
    ru->addWidget(new QLabel(Texto(TXT_ED_LINE_COLOR), GrupoUmbrales), 0, 3);
    const std::array<std::array<QWidget*, 4>, 3> filasU = {{{VerSobretension, USobretension, TipoLineaS, ColorLineaS},
                                                            {VerHueco, UHueco, TipoLineaH, ColorLineaH},
                                                            {VerInterrupcion, UInterrupcion, TipoLineaI, ColorLineaI}}};
    for (int f = 0; f < 3; ++f) {
        for (int c = 0; c < 4; ++c)
            ru->addWidget(filasU[static_cast<size_t>(f)][static_cast<size_t>(c)], f + 1, c);
    }

    // Phases: three-phase view, then paint box, dot type and colour of each phase.
    GrupoFases = new QGroupBox(Texto(TXT_ED_PHASES), this);
    auto* rf = new QGridLayout(GrupoFases);
    CBTrifasicos = new QCheckBox(Texto(TXT_ED_SEE_III), GrupoFases);
    CBTrifasicos->setObjectName(QStringLiteral("CBTrifasicos"));
    rf->addWidget(CBTrifasicos, 0, 0);
    rf->addWidget(new QLabel(Texto(TXT_ED_DOT_TYPE), GrupoFases), 0, 1);
    rf->addWidget(new QLabel(Texto(TXT_ED_DOT_COLOR), GrupoFases), 0, 2);
    for (int f = 0; f < 3; ++f) {
        const size_t i = static_cast<size_t>(f);
        ResaltarFase[i] = new QCheckBox(QString::asprintf(CargarTexto(TXT_ED_PAINT_PHASE), f + 1), GrupoFases);
        ResaltarFase[i]->setObjectName(QStringLiteral("ResaltarFase%1").arg(f + 1));
        TipoFase[i] = Lista(GrupoFases, QStringLiteral("TipoFase%1").arg(f + 1), kNumSimbolos, NombreSimbolo);
        ColorFase[i] = Lista(GrupoFases, QStringLiteral("ColorFase%1").arg(f + 1), kNumPaleta, NombrePaleta);
        rf->addWidget(ResaltarFase[i], f + 1, 0);
        rf->addWidget(TipoFase[i], f + 1, 1);
        rf->addWidget(ColorFase[i], f + 1, 2);
    }
    Compactar = new QCheckBox(Texto(TXT_ED_COMPACT_HYSTERESIS), this);
    Compactar->setObjectName(QStringLiteral("Compactar"));
    Histeresis = new QSpinBox(this);
    Histeresis->setObjectName(QStringLiteral("Histeresis"));
    Histeresis->setRange(0, kMaxHisteresis);
    Histeresis->setGroupSeparatorShown(false);

    // Intervals: the grid and the edits of one row.
    GrupoIntervalos = new QGroupBox(Texto(TXT_ED_INTERVALS), this);
    auto* ri = new QGridLayout(GrupoIntervalos);
    ListaIntervalos = new QTableWidget(1, 3, GrupoIntervalos);
    ListaIntervalos->setObjectName(QStringLiteral("ListaIntervalos"));
    ListaIntervalos->setHorizontalHeaderLabels({Texto(TXT_FROM) + Texto(TXT_FROM_SUFFIX),
                                                Texto(TXT_TO) + Texto(TXT_TO_SUFFIX), Texto(TXT_PERCENT)});
    ListaIntervalos->verticalHeader()->hide();
    ListaIntervalos->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListaIntervalos->setSelectionMode(QAbstractItemView::SingleSelection);
    ListaIntervalos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListaIntervalos->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ListaIntervalos->installEventFilter(this);
    EDesde = new QLineEdit(GrupoIntervalos);
    EDesde->setObjectName(QStringLiteral("EDesde"));
    EDesde->setMaxLength(kMaxCifrasValor);
    CBUnidadesDesde = ListaUnidades(GrupoIntervalos, "CBUnidadesDesde");
    EHasta = new QLineEdit(GrupoIntervalos);
    EHasta->setObjectName(QStringLiteral("EHasta"));
    EHasta->setMaxLength(kMaxCifrasValor);
    CBUnidadesHasta = ListaUnidades(GrupoIntervalos, "CBUnidadesHasta");
    EPorcentajeIntervalo = new QSpinBox(GrupoIntervalos);
    EPorcentajeIntervalo->setObjectName(QStringLiteral("EPorcentajeIntervalo"));
    EPorcentajeIntervalo->setRange(1, kMaxPorcentaje);
    EPorcentajeIntervalo->setValue(1);
    BNuevo = new QPushButton(Texto(TXT_NEW), GrupoIntervalos);
    BNuevo->setObjectName(QStringLiteral("BNuevo"));
    BModificar = new QPushButton(Texto(TXT_MODIFY), GrupoIntervalos);
    BModificar->setObjectName(QStringLiteral("BModificar"));
    BEliminar = new QPushButton(Texto(TXT_DELETE), GrupoIntervalos);
    BEliminar->setObjectName(QStringLiteral("BEliminar"));
    ri->addWidget(ListaIntervalos, 0, 0, 1, 6);
    ri->addWidget(new QLabel(Texto(TXT_FROM), GrupoIntervalos), 1, 0);
    ri->addWidget(EDesde, 1, 1);
    ri->addWidget(CBUnidadesDesde, 1, 2);
    ri->addWidget(new QLabel(Texto(TXT_TO), GrupoIntervalos), 1, 3);
    ri->addWidget(EHasta, 1, 4);
    ri->addWidget(CBUnidadesHasta, 1, 5);
    ri->addWidget(new QLabel(Texto(TXT_PERCENT), GrupoIntervalos), 2, 0);
    ri->addWidget(EPorcentajeIntervalo, 2, 1);
    ri->addWidget(BNuevo, 2, 3);
    ri->addWidget(BModificar, 2, 4);
    ri->addWidget(BEliminar, 2, 5);

    Aceptar = new QPushButton(Texto(TXT_OK), this);
    Aceptar->setObjectName(QStringLiteral("Aceptar"));
    Aceptar->setDefault(true);
    Cancelar = new QPushButton(Texto(TXT_CANCEL), this);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(GrupoUmbrales, 0, 0, 1, 2);
    rejilla->addWidget(GrupoFases, 1, 0, 1, 2);
    rejilla->addWidget(Compactar, 2, 0);
    rejilla->addWidget(Histeresis, 2, 1);
    rejilla->addWidget(GrupoIntervalos, 0, 2, 3, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(Aceptar);
    botones->addWidget(Cancelar);
    rejilla->addLayout(botones, 3, 0, 1, 3);

    // The controls show the record.
    const std::array<QCheckBox*, 3> ver = {VerSobretension, VerHueco, VerInterrupcion};
    const std::array<QDoubleSpinBox*, 3> umbral = {USobretension, UHueco, UInterrupcion};
    const std::array<QComboBox*, 3> tipo = {TipoLineaS, TipoLineaH, TipoLineaI};
    const std::array<QComboBox*, 3> color = {ColorLineaS, ColorLineaH, ColorLineaI};
    for (size_t k = 0; k < 3; ++k) {
        ver[k]->setChecked(m_propiedades.Valor(kFilasUmbral[k].ver) != 0);
        umbral[k]->setValue(m_propiedades.Valor(kFilasUmbral[k].umbral) * 0.1);
        tipo[k]->setCurrentIndex(m_propiedades.Valor(kFilasUmbral[k].tipo));
        color[k]->setCurrentIndex(m_propiedades.Valor(kFilasUmbral[k].color));
        connect(ver[k], &QCheckBox::toggled, this, [this] { VerClick(); });
    }
    for (int f = 0; f < 3; ++f) {
        const size_t i = static_cast<size_t>(f);
        ResaltarFase[i]->setChecked(m_propiedades.Valor(CampoResaltar(f)) != 0);
        TipoFase[i]->setCurrentIndex(m_propiedades.Valor(CampoTipoPunto(f)));
        ColorFase[i]->setCurrentIndex(m_propiedades.Valor(CampoColorPunto(f)));
        connect(ResaltarFase[i], &QCheckBox::toggled, this, [this] { ResaltarClick(); });
    }
    CBTrifasicos->setChecked(m_propiedades.VerTrifasicos());
    Compactar->setChecked(m_propiedades.Compactar());
    Histeresis->setValue(m_propiedades.Histeresis());
    VerClick();
    CBTrifasicosClick();
    CompactarClick();
    connect(CBTrifasicos, &QCheckBox::toggled, this, [this] { CBTrifasicosClick(); });
    connect(Compactar, &QCheckBox::toggled, this, [this] { CompactarClick(); });

    // The grid shows the file; an unreadable file is said and leaves it empty.
    m_leidos = CargarIntervalosAvisando(this);
    m_intervalos = m_leidos;
    MostrarIntervalos();
    connect(ListaIntervalos, &QTableWidget::currentCellChanged, this,
            [this](int fila, int, int, int) { ListaIntervalosSelectCell(fila); });
    connect(BNuevo, &QPushButton::clicked, this, [this] { BNuevoClick(); });
    connect(BModificar, &QPushButton::clicked, this, [this] { BModificarClick(); });
    connect(BEliminar, &QPushButton::clicked, this, [this] { BEliminarClick(); });
    connect(Aceptar, &QPushButton::clicked, this, [this] { AceptarClick(); });
    connect(Cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TWConfigurarED::VerClick() {
    const std::array<QCheckBox*, 3> ver = {VerSobretension, VerHueco, VerInterrupcion};
    const std::array<std::array<QWidget*, 3>, 3> controles = {{{USobretension, TipoLineaS, ColorLineaS},
                                                               {UHueco, TipoLineaH, ColorLineaH},
                                                               {UInterrupcion, TipoLineaI, ColorLineaI}}};
    for (size_t k = 0; k < 3; ++k) {
        for (QWidget* w : controles[k])
            w->setEnabled(ver[k]->isChecked());
    }
}

void TWConfigurarED::ResaltarClick() {
    const bool trifasico = CBTrifasicos->isChecked();
    for (size_t i = 0; i < 3; ++i) {
        // Phases 2 and 3 have no rows of their own in the three-phase view.
        const bool fila = i == 0 || !trifasico;
        ResaltarFase[i]->setEnabled(fila);
        TipoFase[i]->setEnabled(fila && ResaltarFase[i]->isChecked());
        ColorFase[i]->setEnabled(fila && ResaltarFase[i]->isChecked());
    }
}

void TWConfigurarED::CBTrifasicosClick() {
    ResaltarFase[0]->setText(CBTrifasicos->isChecked() ? Texto(TXT_ED_PAINT_PHASE_III)
                                                       : QString::asprintf(CargarTexto(TXT_ED_PAINT_PHASE), 1));
    ResaltarClick();
}

void TWConfigurarED::CompactarClick() {
    Histeresis->setEnabled(Compactar->isChecked());
}

void TWConfigurarED::MostrarIntervalos() {
    const int filas = std::max(1, static_cast<int>(m_intervalos.size()));
    ListaIntervalos->clearContents();
    ListaIntervalos->setRowCount(filas);
    for (int f = 0; f < static_cast<int>(m_intervalos.size()); ++f) {
        const Intervalo& i = m_intervalos[static_cast<size_t>(f)];
        ListaIntervalos->setItem(f, 0, new QTableWidgetItem(TextoCelda(i.desde, i.unidadDesde)));
        ListaIntervalos->setItem(f, 1, new QTableWidgetItem(TextoCelda(i.hasta, i.unidadHasta)));
        ListaIntervalos->setItem(f, 2, new QTableWidgetItem(QString::number(i.porcentaje)));
    }
}

int TWConfigurarED::FilaSeleccionada() const {
    const int f = ListaIntervalos->currentRow();
    return f >= 0 && f < ListaIntervalos->rowCount() ? f : -1;
}

void TWConfigurarED::ListaIntervalosSelectCell(int fila) {
    if (fila < 0 || fila >= static_cast<int>(m_intervalos.size()))
        return;
    const Intervalo& i = m_intervalos[static_cast<size_t>(fila)];
    EDesde->setText(QString::number(i.desde));
    CBUnidadesDesde->setCurrentIndex(i.unidadDesde);
    EHasta->setText(QString::number(i.hasta));
    CBUnidadesHasta->setCurrentIndex(i.unidadHasta);
    EPorcentajeIntervalo->setValue(i.porcentaje);
}

Intervalo TWConfigurarED::IntervaloDeEdits() const {
    Intervalo i;
    i.unidadDesde = std::max(0, CBUnidadesDesde->currentIndex());
    i.unidadHasta = std::max(0, CBUnidadesHasta->currentIndex());
    i.desde = ValorTecleado(EDesde->text(), i.unidadDesde);
    i.hasta = ValorTecleado(EHasta->text(), i.unidadHasta);
    i.porcentaje = EPorcentajeIntervalo->value();
    return i;
}

void TWConfigurarED::BNuevoClick() {
    m_intervalos.push_back(IntervaloDeEdits());
    MostrarIntervalos();
    ListaIntervalos->setCurrentCell(static_cast<int>(m_intervalos.size()) - 1, 0);
}

void TWConfigurarED::BModificarClick() {
    const int f = FilaSeleccionada();
    if (f < 0)
        return;
    // The single empty row of an empty list becomes the first interval.
    if (m_intervalos.empty())
        m_intervalos.push_back(IntervaloDeEdits());
    else if (f < static_cast<int>(m_intervalos.size()))
        m_intervalos[static_cast<size_t>(f)] = IntervaloDeEdits();
    MostrarIntervalos();
    ListaIntervalos->setCurrentCell(f, 0);
}

void TWConfigurarED::BEliminarClick() {
    const int f = FilaSeleccionada();
    if (f < 0 || f >= static_cast<int>(m_intervalos.size()))
        return;
    m_intervalos.erase(m_intervalos.begin() + f);
    MostrarIntervalos();
    ListaIntervalos->setCurrentCell(std::min(f, ListaIntervalos->rowCount() - 1), 0);
}

bool TWConfigurarED::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == ListaIntervalos && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Delete) {
        BEliminarClick();
        return true;
    }
    return QDialog::eventFilter(objeto, evento);
}

PropiedadesEventos TWConfigurarED::LeerControles() const {
    PropiedadesEventos p = m_propiedades;
    const std::array<QCheckBox*, 3> ver = {VerSobretension, VerHueco, VerInterrupcion};
    const std::array<QDoubleSpinBox*, 3> umbral = {USobretension, UHueco, UInterrupcion};
    const std::array<QComboBox*, 3> tipo = {TipoLineaS, TipoLineaH, TipoLineaI};
    const std::array<QComboBox*, 3> color = {ColorLineaS, ColorLineaH, ColorLineaI};
    const int minimos[3] = {kMinSobretension, kMinHueco, kMinInterrupcion};
    const int maximos[3] = {kMaxSobretension, kMaxHueco, kMaxInterrupcion};
    for (size_t k = 0; k < 3; ++k) {
        p.PonerValor(kFilasUmbral[k].ver, ver[k]->isChecked() ? 1 : 0);
        p.PonerValor(kFilasUmbral[k].umbral, Decimas(umbral[k], minimos[k], maximos[k]));
        p.PonerValor(kFilasUmbral[k].tipo, tipo[k]->currentIndex());
        p.PonerValor(kFilasUmbral[k].color, color[k]->currentIndex());
    }
    for (int f = 0; f < 3; ++f) {
        const size_t i = static_cast<size_t>(f);
        p.PonerValor(CampoResaltar(f), ResaltarFase[i]->isChecked() ? 1 : 0);
        p.PonerValor(CampoTipoPunto(f), TipoFase[i]->currentIndex());
        p.PonerValor(CampoColorPunto(f), ColorFase[i]->currentIndex());
    }
    p.PonerValor(p.CampoCompactar(), Compactar->isChecked() ? 1 : 0);
    p.PonerValor(p.CampoHisteresis(), Histeresis->value());
    p.PonerValor(p.CampoVerTrifasicos(), CBTrifasicos->isChecked() ? 1 : 0);
    return p;
}

void TWConfigurarED::AceptarClick() {
    const ResultadoValidacion r = ValidarIntervalos(m_intervalos);
    if (r != ResultadoValidacion::Valido) {
        host::MessageService::show(this, Texto(TXT_WARNING), MensajeValidacion(r), host::MessageIcon::Warning);
        return;
    }
    if (ReescalarPorcentajes(m_intervalos))
        MostrarIntervalos();
    PropiedadesEventos nuevas = LeerControles();
    if (nuevas == m_propiedades && m_intervalos == m_leidos) {
        reject();
        return;
    }
    QString error;
    if (!GuardarIntervalos(m_intervalos, &error)) {
        host::MessageService::show(this, Texto(TXT_ERROR),
                                   Texto(TXT_FILE_WRITE_FAILED).arg(QString::fromLatin1(kFicheroIntervalos), error),
                                   host::MessageIcon::Error);
        return;
    }
    CorregirUmbrales(nuevas, m_niveles);
    m_propiedades = nuevas;
    m_propiedades.Guardar();
    accept();
}
