#include "TWConfigurarED.h"

#include "Textos.h"
#include "UserInteraction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMaxCifrasValor = 4;
constexpr int kMaxPorcentaje = 999;

QComboBox* ListaUnidades(QWidget* padre, const char* nombre) {
    auto* c = new QComboBox(padre);
    c->setObjectName(QString::fromLatin1(nombre));
    for (int u = 0; u < NUM_UNIDADES; ++u)
        c->addItem(NombreUnidad(u));
    return c;
}

QPushButton* Boton(QWidget* padre, int texto, const char* nombre) {
    auto* b = new QPushButton(Texto(texto), padre);
    b->setObjectName(QString::fromLatin1(nombre));
    return b;
}

} // namespace

TWConfigurarED::TWConfigurarED(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                               QWidget* padre)
    : TWConfigurarEventos(propiedades, niveles, padre) {
    setObjectName(QStringLiteral("TWConfigurarED"));
    setWindowTitle(Texto(TXT_ED_PROPERTIES));
    Compactar->setText(Texto(TXT_ED_COMPACT_HYSTERESIS));

    GrupoIntervalos = new QGroupBox(Texto(TXT_ED_INTERVALS), this);
    GrupoIntervalos->setObjectName(QStringLiteral("Intervalos"));
    auto* r = new QGridLayout(GrupoIntervalos);
    ListaIntervalos = new QTableWidget(1, 3, GrupoIntervalos);
    ListaIntervalos->setObjectName(QStringLiteral("ListaIntervalos"));
    ListaIntervalos->setHorizontalHeaderLabels(
        {Texto(TXT_FROM) + Texto(TXT_FROM_SUFFIX), Texto(TXT_TO) + Texto(TXT_TO_SUFFIX), Texto(TXT_PERCENT)});
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
    BNuevo = Boton(GrupoIntervalos, TXT_NEW, "BNuevo");
    BModificar = Boton(GrupoIntervalos, TXT_MODIFY, "BModificar");
    BEliminar = Boton(GrupoIntervalos, TXT_DELETE, "BEliminar");
    r->addWidget(ListaIntervalos, 0, 0, 1, 6);
    r->addWidget(new QLabel(Texto(TXT_FROM), GrupoIntervalos), 1, 0);
    r->addWidget(EDesde, 1, 1);
    r->addWidget(CBUnidadesDesde, 1, 2);
    r->addWidget(new QLabel(Texto(TXT_TO), GrupoIntervalos), 1, 3);
    r->addWidget(EHasta, 1, 4);
    r->addWidget(CBUnidadesHasta, 1, 5);
    r->addWidget(new QLabel(Texto(TXT_PERCENT), GrupoIntervalos), 2, 0);
    r->addWidget(EPorcentajeIntervalo, 2, 1);
    r->addWidget(BNuevo, 2, 3);
    r->addWidget(BModificar, 2, 4);
    r->addWidget(BEliminar, 2, 5);
    Extra()->addWidget(GrupoIntervalos);

    // The grid shows the file; an unreadable file is said and leaves it empty.
    m_leidos = CargarIntervalosAvisando(this);
    m_intervalos = m_leidos;
    MostrarIntervalos();
    connect(ListaIntervalos, &QTableWidget::currentCellChanged, this,
            [this](int fila, int, int, int) { ListaIntervalosSelectCell(fila); });
    connect(BNuevo, &QPushButton::clicked, this, [this] { BNuevoClick(); });
    connect(BModificar, &QPushButton::clicked, this, [this] { BModificarClick(); });
    connect(BEliminar, &QPushButton::clicked, this, [this] { BEliminarClick(); });
}

void TWConfigurarED::MostrarIntervalos() {
    ListaIntervalos->clearContents();
    ListaIntervalos->setRowCount(std::max(1, static_cast<int>(m_intervalos.size())));
    for (int f = 0; f < static_cast<int>(m_intervalos.size()); ++f) {
        const Intervalo& i = m_intervalos[static_cast<size_t>(f)];
        ListaIntervalos->setItem(f, 0, new QTableWidgetItem(TextoCelda(i.desde, i.unidadDesde)));
        ListaIntervalos->setItem(f, 1, new QTableWidgetItem(TextoCelda(i.hasta, i.unidadHasta)));
        ListaIntervalos->setItem(f, 2, new QTableWidgetItem(QString::number(i.porcentaje)));
    }
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
    const int f = ListaIntervalos->currentRow();
    if (f < 0 || f >= ListaIntervalos->rowCount())
        return;
    // The single empty row of an empty list becomes the first interval.
    if (m_intervalos.empty())
        m_intervalos.push_back(IntervaloDeEdits());
    else
        m_intervalos[static_cast<size_t>(f)] = IntervaloDeEdits();
    MostrarIntervalos();
    ListaIntervalos->setCurrentCell(f, 0);
}

void TWConfigurarED::BEliminarClick() {
    const int f = ListaIntervalos->currentRow();
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
    return TWConfigurarEventos::eventFilter(objeto, evento);
}

bool TWConfigurarED::ValidarExtra() {
    const ResultadoValidacion r = ValidarIntervalos(m_intervalos);
    if (r != ResultadoValidacion::Valido) {
        host::MessageService::show(this, Texto(TXT_WARNING), MensajeValidacion(r),
                                   host::MessageIcon::Warning);
        return false;
    }
    if (ReescalarPorcentajes(m_intervalos))
        MostrarIntervalos();
    return true;
}

bool TWConfigurarED::GuardarExtra() {
    QString error;
    if (GuardarIntervalos(m_intervalos, &error))
        return true;
    // The old file stays whole; the window keeps drawing with it.
    host::MessageService::show(
        this, Texto(TXT_ERROR),
        Texto(TXT_FILE_WRITE_FAILED).arg(QString::fromLatin1(kFicheroIntervalos), error),
        host::MessageIcon::Error);
    return false;
}
