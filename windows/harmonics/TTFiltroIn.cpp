#include "TTFiltroIn.h"

#include "Textos.h"
#include "UserInteraction.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A name goes into a single-byte text file as one line: it must be Latin-1 and hold no
// control character (a Ctrl-Z would end the file, a line end would split the record).
bool NombreEscribible(const QString& nombre) {
    for (const QChar c : nombre) {
        if (c.unicode() > 0xFF || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

// The number a value of the file shows as: the user's decimal separator, no group separator
// (a "1.000" would read back as one) and never an exponent (which the file cannot hold).
QString TextoNumero(double valor) {
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local.toString(valor, 'f', QLocale::FloatingPointShortest);
}

} // namespace

TTFiltroIn::TTFiltroIn(QWidget* owner, const QString& ficheroNormas, QChar bandera,
                       const QString& nombreFiltro, int modo)
    : QDialog(owner), m_fichero(ficheroNormas), m_bandera(bandera), m_nombre(nombreFiltro), m_modo(modo) {
    setObjectName(QStringLiteral("TFiltroIn"));
    // Nobody answers in a batch run: the editor saves nothing.
    setProperty("batchResult", static_cast<int>(QDialog::Rejected));

    const auto etiqueta = [this](const char* nombre, int texto) {
        auto* l = new QLabel(Texto(texto), this);
        l->setObjectName(QString::fromLatin1(nombre));
        return l;
    };
    const auto edicion = [this](const char* nombre) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(nombre));
        return e;
    };
    LNombre = etiqueta("LNombre", TXT_FILTER_NAME);
    ENombre = edicion("ENombre");
    LTHDVn = etiqueta("LTHDVn", TXT_THD_VN);
    ETHDVn = edicion("ETHDVn");
    LTHDIn = etiqueta("LTHDIn", TXT_THD_IN);
    ETHDIn = edicion("ETHDIn");
    LArmonicosVn = etiqueta("LArmonicosVn", TXT_HARMONICS_VN);
    LArmonicosIn = etiqueta("LArmonicosIn", TXT_HARMONICS_IN);
    LNombre->setBuddy(ENombre);
    LTHDVn->setBuddy(ETHDVn);
    LTHDIn->setBuddy(ETHDIn);
    StringGrid1 = CrearGrid("StringGrid1");
    StringGrid2 = CrearGrid("StringGrid2");
    LArmonicosVn->setBuddy(StringGrid1);
    LArmonicosIn->setBuddy(StringGrid2);

    BAceptar = new QPushButton(Texto(TXT_OK), this);
    BAceptar->setObjectName(QStringLiteral("BAceptar"));
    BAceptar->setDefault(true);
    BCancelar = new QPushButton(Texto(TXT_CANCEL), this);
    BCancelar->setObjectName(QStringLiteral("BCancelar"));
    connect(BAceptar, &QPushButton::clicked, this, &TTFiltroIn::BAceptarClick);
    connect(BCancelar, &QPushButton::clicked, this, &TTFiltroIn::BCancelarClick);

    // The name on top; below it one column per kind, its THD above its grid; the grids take
    // whatever height the dialog is given.
    auto* nombre = new QHBoxLayout;
    nombre->addWidget(LNombre);
    nombre->addWidget(ENombre, 1);
    auto* columnas = new QGridLayout;
    columnas->addWidget(LTHDVn, 0, 0);
    columnas->addWidget(ETHDVn, 0, 1);
    columnas->addWidget(LTHDIn, 0, 3);
    columnas->addWidget(ETHDIn, 0, 4);
    columnas->addWidget(LArmonicosVn, 1, 0, 1, 2);
    columnas->addWidget(LArmonicosIn, 1, 3, 1, 2);
    columnas->addWidget(StringGrid1, 2, 0, 1, 2);
    columnas->addWidget(StringGrid2, 2, 3, 1, 2);
    columnas->setColumnMinimumWidth(2, 12);
    columnas->setColumnStretch(1, 1);
    columnas->setColumnStretch(4, 1);
    columnas->setRowStretch(2, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BAceptar);
    botones->addWidget(BCancelar);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(nombre);
    todo->addLayout(columnas, 1);
    todo->addLayout(botones);
    resize(460, 520);

    if (m_modo == MODIFICAR) {
        setWindowTitle(Texto(TXT_MODIFY_FILTER));
        ENombre->setEnabled(false);
        Cargar();
    } else {
        setWindowTitle(Texto(TXT_NEW_FILTER));
        PonerEditable(StringGrid1, true);
        PonerEditable(StringGrid2, true);
        ENombre->setFocus();
    }
}

QTableWidget* TTFiltroIn::CrearGrid(const char* nombre) {
    auto* g = new QTableWidget(kFilas - 1, 2, this);
    g->setObjectName(QString::fromLatin1(nombre));
    g->setHorizontalHeaderLabels({Texto(TXT_NUMBER), Texto(TXT_VALUE_PERCENT)});
    g->verticalHeader()->hide();
    g->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    g->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setTabKeyNavigation(false);
    const int alto = g->fontMetrics().height() + 8;
    g->verticalHeader()->setDefaultSectionSize(alto);
    // Small as it may get, a grid shows both columns and a few orders.
    g->setMinimumSize(g->fontMetrics().horizontalAdvance(Texto(TXT_NUMBER) + Texto(TXT_VALUE_PERCENT)) + 80,
                      alto * 7);
    for (int fila = 1; fila < kFilas; ++fila) {
        auto* orden = new QTableWidgetItem(QString::number(fila - 1 + normas::kPrimerOrden));
        orden->setFlags(Qt::ItemIsEnabled);
        orden->setTextAlignment(Qt::AlignCenter);
        orden->setBackground(palette().button());
        g->setItem(fila - 1, 0, orden);
        auto* valor = new QTableWidgetItem;
        valor->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        g->setItem(fila - 1, 1, valor);
    }
    g->setCurrentCell(0, 1, QItemSelectionModel::NoUpdate);
    PonerEditable(g, false);
    return g;
}

void TTFiltroIn::PonerEditable(QTableWidget* grid, bool editable) {
    grid->setEditTriggers(editable ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    // Locked values stay readable and scrollable, on the colour of a disabled edit.
    const QBrush fondo = editable ? palette().base() : palette().window();
    for (int fila = 0; fila < grid->rowCount(); ++fila) {
        if (QTableWidgetItem* item = grid->item(fila, 1))
            item->setBackground(fondo);
    }
}

QString TTFiltroIn::Celda(const QTableWidget* grid, int fila) {
    const QTableWidgetItem* item = grid->item(fila - 1, 1);
    return item != nullptr ? item->text() : QString();
}

void TTFiltroIn::PonerCelda(QTableWidget* grid, int fila, const QString& texto) {
    QTableWidgetItem* item = grid->item(fila - 1, 1);
    if (item != nullptr)
        item->setText(texto);
}

void TTFiltroIn::Cargar() {
    if (m_bandera == QLatin1Char(normas::kBanderaSoloLectura)) {
        BAceptar->setEnabled(false);
        ETHDVn->setEnabled(false);
        ETHDIn->setEnabled(false);
        PonerEditable(StringGrid1, false);
        PonerEditable(StringGrid2, false);
        // Enter would press a disabled OK button: let Cancel take it.
        BAceptar->setDefault(false);
        BCancelar->setDefault(true);
    } else {
        PonerEditable(StringGrid1, true);
        PonerEditable(StringGrid2, true);
    }
    ENombre->setText(m_nombre);
    const normas::Lectura lectura = normas::LeerFichero(m_fichero);
    if (lectura.estado != normas::EstadoLectura::Leido) {
        Error(TXT_BAD_FILTER);
        return;
    }
    const normas::ResultadoEditor r = normas::CargarParaEditor(lectura.contenido, m_nombre.toLatin1());
    MostrarLinea(r.tension, ETHDVn, StringGrid1);
    MostrarLinea(r.corriente, ETHDIn, StringGrid2);
    if (r.estado == normas::EstadoEditor::Fallo)
        Error(TXT_BAD_FILTER);
}

void TTFiltroIn::MostrarLinea(const normas::LineaEditor& linea, QLineEdit* thd, QTableWidget* grid) {
    thd->setText(linea.hayThd ? TextoNumero(linea.thd) : QString());
    for (size_t i = 0; i < linea.valores.size(); ++i)
        PonerCelda(grid, static_cast<int>(i) + 1, TextoNumero(linea.valores[i]));
}

int TTFiltroIn::ValidarGrid(const QTableWidget* grid, std::vector<QByteArray>& valores) {
    int n = 0;
    for (int fila = 1; fila < kFilas; ++fila) {
        if (!Celda(grid, fila).isEmpty())
            n = fila;
    }
    valores.clear();
    for (int fila = 1; fila <= n; ++fila) {
        const QString texto = Celda(grid, fila);
        if (texto.isEmpty()) {
            Error(TXT_MISSING_VALUES);
            return -1;
        }
        if (!normas::EsNumeroEditor(texto) || texto.size() > normas::kLargoCampo) {
            Error(TXT_BAD_LIST_TEXTS);
            return -1;
        }
        valores.push_back(normas::ConPuntoDecimal(texto).toLatin1());
    }
    return n;
}

void TTFiltroIn::BAceptarClick() {
    const QString nombre = ENombre->text();
    if (nombre.isEmpty() || !NombreEscribible(nombre)) {
        Error(TXT_MISSING_TEXTS);
        return;
    }
    if (!normas::EsNumeroEditor(ETHDVn->text()) || !normas::EsNumeroEditor(ETHDIn->text())) {
        Error(TXT_MISSING_TEXTS);
        return;
    }
    // A number field of the file holds 19 characters: a longer THD could be written but
    // never read back.
    if (ETHDVn->text().size() > normas::kLargoCampo || ETHDIn->text().size() > normas::kLargoCampo ||
        nombre.size() > normas::kLargoNombre) {
        Error(TXT_TEXT_TOO_LONG);
        return;
    }
    if (m_modo == NUEVO) {
        const normas::Lectura lectura = normas::LeerFichero(m_fichero);
        if (normas::ExisteNombre(lectura.contenido, nombre.toLatin1())) {
            Error(TXT_NAME_EXISTS);
            return;
        }
    }
    ETHDVn->setText(normas::ConPuntoDecimal(ETHDVn->text()));
    ETHDIn->setText(normas::ConPuntoDecimal(ETHDIn->text()));

    normas::RegistroTexto registro;
    registro.nombre = nombre.toLatin1();
    registro.thdTension = ETHDVn->text().toLatin1();
    registro.thdCorriente = ETHDIn->text().toLatin1();
    if (ValidarGrid(StringGrid1, registro.tension) < 0 || ValidarGrid(StringGrid2, registro.corriente) < 0)
        return;

    QString motivo;
    if (!normas::GuardarRegistro(m_fichero, registro, &motivo)) {
        host::MessageService::show(this, Texto(TXT_ERROR),
                                   Texto(TXT_FILTERS_WRITE_FAILED).arg(normas::Ruta(m_fichero), motivo),
                                   host::MessageIcon::Error);
        return;
    }
    m_aceptado = true;
    accept();
}

void TTFiltroIn::BCancelarClick() {
    reject();
}

void TTFiltroIn::Error(int texto) {
    host::MessageService::show(this, Texto(TXT_ERROR), Texto(texto), host::MessageIcon::Error);
}
