#include "TWFiltrosNormas.h"

#include "TTFiltroIn.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

QColor ColorDeColorRef(int color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int ColorRefDeColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

TWFiltrosNormas::TWFiltrosNormas(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("WFiltrosNormas"));
    setWindowTitle(Texto(TXT_HARMONICS_FILTER));
    // Nobody answers in a batch run: the graph keeps the filter it has.
    setProperty("batchResult", static_cast<int>(QDialog::Rejected));

    LTituloNormas = new QLabel(Texto(TXT_FILTERS_LIST), this);
    LTituloNormas->setObjectName(QStringLiteral("LTituloNormas"));
    ListaNormas = new QTableWidget(0, 1, this);
    ListaNormas->setObjectName(QStringLiteral("ListaNormas"));
    ListaNormas->horizontalHeader()->hide();
    ListaNormas->verticalHeader()->hide();
    ListaNormas->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListaNormas->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListaNormas->setSelectionMode(QAbstractItemView::SingleSelection);
    ListaNormas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListaNormas->setShowGrid(false);
    ListaNormas->verticalHeader()->setDefaultSectionSize(ListaNormas->fontMetrics().height() + 8);
    ListaNormas->setTabKeyNavigation(false);
    ListaNormas->installEventFilter(this);
    LTituloNormas->setBuddy(ListaNormas);

    CHKRegistrosBuenos = new QCheckBox(Texto(TXT_VIEW_ONLY_BAD), this);
    CHKRegistrosBuenos->setObjectName(QStringLiteral("CHKRegistrosBuenos"));
    CHKResaltarMalos = new QCheckBox(Texto(TXT_REMARK_BAD), this);
    CHKResaltarMalos->setObjectName(QStringLiteral("CHKResaltarMalos"));
    PanelColor = new QPushButton(this);
    PanelColor->setObjectName(QStringLiteral("PanelColor"));
    PanelColor->setAutoDefault(false);
    PanelColor->setFixedSize(40, 20);
    PanelColor->setAccessibleName(Texto(TXT_REMARK_BAD));

    const auto boton = [this](const char* nombre, int texto) {
        auto* b = new QPushButton(Texto(texto), this);
        b->setObjectName(QString::fromLatin1(nombre));
        return b;
    };
    BAplicar = boton("BAplicar", TXT_APPLY);
    BAplicar->setDefault(true);
    BNuevaNorma = boton("BNuevaNorma", TXT_NEW);
    BModificarNorma = boton("BModificarNorma", TXT_MODIFY);
    BEliminar = boton("BEliminar", TXT_DELETE);
    BCancelar = boton("BCancelar", TXT_CANCEL);
    // Enter anywhere but on another button applies.
    for (QPushButton* b : {BNuevaNorma, BModificarNorma, BEliminar, BCancelar})
        b->setAutoDefault(false);

    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    ColorDialog1->setProperty("batchResult", static_cast<int>(QDialog::Rejected));

    connect(BAplicar, &QPushButton::clicked, this, &TWFiltrosNormas::BAplicarClick);
    connect(BNuevaNorma, &QPushButton::clicked, this, &TWFiltrosNormas::BNuevaNormaClick);
    connect(BModificarNorma, &QPushButton::clicked, this, &TWFiltrosNormas::BModificarNormaClick);
    connect(BEliminar, &QPushButton::clicked, this, &TWFiltrosNormas::BEliminarClick);
    connect(BCancelar, &QPushButton::clicked, this, &TWFiltrosNormas::BCancelarClick);
    connect(PanelColor, &QPushButton::clicked, this, &TWFiltrosNormas::PanelColorClick);
    connect(ListaNormas, &QTableWidget::currentCellChanged, this, &TWFiltrosNormas::ListaNormasSelectCell);
    connect(ListaNormas, &QTableWidget::cellDoubleClicked, this, &TWFiltrosNormas::BAplicarClick);

    FormResize();
    LeerRegistro();
}

TWFiltrosNormas::~TWFiltrosNormas() {
    EscribirRegistro();
}

void TWFiltrosNormas::FormResize() {
    // The list takes the room the dialog is given; the buttons keep a column on the right,
    // Cancel apart at the bottom.
    auto* botones = new QVBoxLayout;
    botones->addWidget(BAplicar);
    botones->addSpacing(8);
    botones->addWidget(BNuevaNorma);
    botones->addWidget(BModificarNorma);
    botones->addWidget(BEliminar);
    botones->addStretch(1);
    botones->addWidget(BCancelar);
    auto* resaltar = new QHBoxLayout;
    resaltar->addWidget(CHKResaltarMalos);
    resaltar->addWidget(PanelColor);
    resaltar->addStretch(1);
    auto* todo = new QGridLayout(this);
    todo->addWidget(LTituloNormas, 0, 0);
    todo->addWidget(ListaNormas, 1, 0);
    todo->addWidget(CHKRegistrosBuenos, 2, 0);
    todo->addLayout(resaltar, 3, 0);
    todo->addLayout(botones, 1, 1, 3, 1);
    todo->setRowStretch(1, 1);
    todo->setColumnStretch(0, 1);
    resize(420, 300);
    PonerOpciones(m_hayVerSoloMalos, m_hayResaltarMalos);
}

void TWFiltrosNormas::PonerOpciones(bool hayVerSoloMalos, bool hayResaltarMalos) {
    m_hayVerSoloMalos = hayVerSoloMalos;
    m_hayResaltarMalos = hayResaltarMalos;
    CHKRegistrosBuenos->setVisible(hayVerSoloMalos);
    CHKResaltarMalos->setVisible(hayResaltarMalos);
    PanelColor->setVisible(hayResaltarMalos);
}

void TWFiltrosNormas::PonerEstado(bool verSoloMalos, bool resaltarMalos, int colorMalos, int seleccionado) {
    m_verSoloMalos = verSoloMalos;
    m_resaltarMalos = resaltarMalos;
    CHKRegistrosBuenos->setChecked(verSoloMalos);
    CHKResaltarMalos->setChecked(resaltarMalos);
    m_colorMalos = colorMalos;
    m_colorDialogo = colorMalos;
    m_colorPanel = colorMalos;
    m_seleccionado = seleccionado;
    MostrarColor();
}

void TWFiltrosNormas::LeerRegistro() {
    bool nueva = false;
    m_clave = host::SettingsKey::openOrCreate(QString::fromLatin1(kClave), &nueva);
    if (!m_clave)
        return;
    int seleccionado = 0;
    int malos = 0;
    int resaltar = 0;
    int color = kColorDefecto;
    if (nueva) {
        m_clave->writeInt(QString::fromLatin1(kSeleccionado), seleccionado);
        m_clave->writeInt(QString::fromLatin1(kMalos), malos);
        m_clave->writeInt(QString::fromLatin1(kResaltar), resaltar);
        m_clave->writeInt(QString::fromLatin1(kIndexColor), color);
    } else {
        // A value of the wrong type reads as missing and is written back with its default.
        seleccionado = m_clave->readIntWithDefault(QString::fromLatin1(kSeleccionado), seleccionado);
        malos = m_clave->readIntWithDefault(QString::fromLatin1(kMalos), malos);
        resaltar = m_clave->readIntWithDefault(QString::fromLatin1(kResaltar), resaltar);
        color = m_clave->readIntWithDefault(QString::fromLatin1(kIndexColor), color);
    }
    m_clave->sync();
    // A colour keeps its three colour bytes; the top byte has no meaning here.
    PonerEstado(malos == 1, resaltar == 1, color & 0xFFFFFF, seleccionado);
}

void TWFiltrosNormas::EscribirRegistro() {
    if (!m_clave || result() != QDialog::Accepted)
        return;
    m_clave->writeInt(QString::fromLatin1(kSeleccionado), m_seleccionado);
    m_clave->writeInt(QString::fromLatin1(kMalos), CHKRegistrosBuenos->isChecked() ? 1 : 0);
    m_clave->writeInt(QString::fromLatin1(kResaltar), CHKResaltarMalos->isChecked() ? 1 : 0);
    m_clave->writeInt(QString::fromLatin1(kIndexColor), m_colorMalos);
    m_clave->sync();
}

void TWFiltrosNormas::MostrarColor() {
    const QColor c = ColorDeColorRef(m_colorPanel);
    PanelColor->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid palette(dark); }")
            .arg(c.name()));
}

QString TWFiltrosNormas::NombreSeleccionado() const {
    if (m_seleccionado <= 0 || m_seleccionado >= NumFilas())
        return QString();
    return ListaNormas->item(m_seleccionado, 0)->text();
}

char TWFiltrosNormas::Bandera(int fila) const {
    if (fila < 0 || fila >= static_cast<int>(m_banderas.size()))
        return normas::kBanderaFija;
    return m_banderas[static_cast<size_t>(fila)];
}

int TWFiltrosNormas::NumFilas() const {
    return ListaNormas->rowCount();
}

int TWFiltrosNormas::FilaActual() const {
    const int fila = ListaNormas->currentRow();
    return fila < 0 ? 0 : fila;
}

void TWFiltrosNormas::showEvent(QShowEvent* evento) {
    RellenarSiVacia();
    QDialog::showEvent(evento);
}

void TWFiltrosNormas::RellenarSiVacia() {
    if (NumFilas() == 0)
        RellenarLista();
}

void TWFiltrosNormas::RellenarLista() {
    const auto fila = [this](const QString& texto) {
        const int n = ListaNormas->rowCount();
        ListaNormas->insertRow(n);
        ListaNormas->setItem(n, 0, new QTableWidgetItem(texto));
    };
    ListaNormas->setRowCount(0);
    m_banderas.clear();
    fila(Texto(TXT_NONE_FILTER));
    m_banderas.push_back(normas::kBanderaFija);

    const normas::Lectura lectura = normas::LeerFichero(m_fichero);
    normas::ListaNormas lista;
    if (lectura.estado == normas::EstadoLectura::Leido)
        lista = normas::LeerNombres(lectura.contenido);
    else if (lectura.estado == normas::EstadoLectura::Ilegible)
        lista.completa = false;
    for (const normas::EntradaNorma& e : lista.entradas) {
        fila(QString::fromLatin1(e.nombre));
        m_banderas.push_back(e.bandera);
    }
    if (!lista.completa)
        host::MessageService::show(this, Texto(TXT_ERROR), Texto(TXT_BAD_FILTERS_FILE),
                                   host::MessageIcon::Error);
    if (m_seleccionado < 0 || m_seleccionado >= NumFilas())
        m_seleccionado = 0;
    SeleccionarFila(m_seleccionado);
}

void TWFiltrosNormas::SeleccionarFila(int fila) {
    if (fila < 0 || fila >= NumFilas())
        fila = 0;
    ListaNormas->setCurrentCell(fila, 0);
    ListaNormasSelectCell();
}

void TWFiltrosNormas::ListaNormasSelectCell() {
    BModificarNorma->setEnabled(Bandera(FilaActual()) != normas::kBanderaFija);
}

bool TWFiltrosNormas::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == ListaNormas && evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() == Qt::Key_Delete) {
            BEliminarClick();
            return true;
        }
        if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
            BAplicarClick();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void TWFiltrosNormas::BAplicarClick() {
    if (CHKRegistrosBuenos->isChecked())
        m_verSoloMalos = true;
    if (CHKResaltarMalos->isChecked())
        m_resaltarMalos = true;
    const int fila = FilaActual();
    bool ok = true;
    m_filtro = normas::Filtro();
    if (fila > 0) {
        const normas::Lectura lectura = normas::LeerFichero(m_fichero);
        const normas::ResultadoUso r =
            normas::CargarParaUso(lectura.contenido, ListaNormas->item(fila, 0)->text().toLatin1());
        m_filtro = r.filtro;
        ok = lectura.estado == normas::EstadoLectura::Leido && r.ok;
    }
    if (!ok) {
        host::MessageService::show(this, Texto(TXT_ERROR), Texto(TXT_BAD_FILTER), host::MessageIcon::Error);
        return;
    }
    m_seleccionado = fila;
    m_verSoloMalos = CHKRegistrosBuenos->isChecked();
    m_resaltarMalos = CHKResaltarMalos->isChecked();
    m_colorMalos = m_colorDialogo;
    done(QDialog::Accepted);
}

bool TWFiltrosNormas::AbrirEditor(int modo) {
    const int fila = FilaActual();
    const QString nombre = fila > 0 ? ListaNormas->item(fila, 0)->text() : QString();
    TTFiltroIn editor(this, m_fichero, QLatin1Char(Bandera(fila)), nombre, modo);
    host::DialogRunner::exec(editor);
    if (!editor.Aceptado())
        return false;
    const QString guardado = editor.ENombre->text();
    m_seleccionado = fila;
    RellenarLista();
    // A new filter is selected, so that it can be applied at once.
    for (int i = 1; i < NumFilas(); ++i) {
        if (ListaNormas->item(i, 0)->text() == guardado) {
            SeleccionarFila(i);
            break;
        }
    }
    return true;
}

void TWFiltrosNormas::BNuevaNormaClick() {
    AbrirEditor(TTFiltroIn::NUEVO);
}

void TWFiltrosNormas::BModificarNormaClick() {
    if (Bandera(FilaActual()) == normas::kBanderaFija) {
        host::MessageService::show(this, Texto(TXT_WARNING), Texto(TXT_CANT_MODIFY),
                                   host::MessageIcon::Warning);
        return;
    }
    AbrirEditor(TTFiltroIn::MODIFICAR);
}

void TWFiltrosNormas::BEliminarClick() {
    const int fila = FilaActual();
    const char bandera = Bandera(fila);
    if (bandera == normas::kBanderaFija || bandera == normas::kBanderaSoloLectura) {
        host::MessageService::show(this, Texto(TXT_WARNING), Texto(TXT_CANT_REMOVE),
                                   host::MessageIcon::Warning);
        return;
    }
    const host::MessageAnswer respuesta = host::MessageService::show(
        this, Texto(TXT_WARNING), Texto(TXT_CONFIRM_DELETE), host::MessageIcon::Warning,
        host::MessageButtons::YesNo, host::MessageAnswer::No);
    if (respuesta != host::MessageAnswer::Yes)
        return;
    QString motivo;
    if (!normas::EliminarRegistro(m_fichero, ListaNormas->item(fila, 0)->text().toLatin1(), &motivo)) {
        host::MessageService::show(this, Texto(TXT_ERROR),
                                   Texto(TXT_FILTERS_WRITE_FAILED).arg(normas::Ruta(m_fichero), motivo),
                                   host::MessageIcon::Error);
        return;
    }
    ListaNormas->removeRow(fila);
    m_banderas.erase(m_banderas.begin() + fila);
    // The remembered row follows its filter; a deleted one falls back to "None".
    if (m_seleccionado == fila)
        m_seleccionado = 0;
    else if (m_seleccionado > fila)
        --m_seleccionado;
    SeleccionarFila(std::min(fila, NumFilas() - 1));
}

void TWFiltrosNormas::BCancelarClick() {
    reject();
}

void TWFiltrosNormas::PanelColorClick() {
    ColorDialog1->setCurrentColor(ColorDeColorRef(m_colorDialogo));
    if (host::DialogRunner::exec(*ColorDialog1) != QDialog::Accepted)
        return;
    m_colorDialogo = ColorRefDeColor(ColorDialog1->currentColor());
    m_colorPanel = m_colorDialogo;
    MostrarColor();
}
