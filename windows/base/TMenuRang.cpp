#include "TMenuRang.h"

#include "Textos.h"
#include "UserInteraction.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLineEdit* Campo(QWidget* padre, const char* nombre, int caracteres) {
    auto* e = new QLineEdit(padre);
    e->setObjectName(QString::fromLatin1(nombre));
    e->setMaxLength(caracteres);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (caracteres + 2) + 8);
    e->setAlignment(Qt::AlignRight);
    return e;
}

// A group box of three fields separated by `separador` labels.
QGroupBox* Grupo(QWidget* padre, const char* nombre, int texto, const char* separador, QLineEdit* a,
                 QLineEdit* b, QLineEdit* c) {
    auto* g = new QGroupBox(Texto(texto), padre);
    g->setObjectName(QString::fromLatin1(nombre));
    auto* l = new QHBoxLayout(g);
    l->addWidget(a);
    l->addWidget(new QLabel(QString::fromLatin1(separador), g));
    l->addWidget(b);
    l->addWidget(new QLabel(QString::fromLatin1(separador), g));
    l->addWidget(c);
    l->addStretch();
    return g;
}

bool LeerNumero(const QLineEdit* e, int& valor) {
    bool ok = false;
    valor = e->text().trimmed().toInt(&ok);
    return ok;
}

// The edits show seconds, so records are compared to the second.
TTiempo AlSegundo(TTiempo t) {
    t.Milesima = -1;
    return t;
}

} // namespace

TMenuRang::TMenuRang(QWidget* owner, const TTiempo* tiempos, int numRegistros, int* primero, int* ultimo)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_primero(primero), m_ultimo(ultimo) {
    setObjectName(QStringLiteral("MenuRang"));
    setWindowTitle(Texto(TXT_MODULO));
    if (tiempos != nullptr && numRegistros > 0)
        m_tiempos.assign(tiempos, tiempos + numRegistros);
    m_modoRegistros = m_tiempos.empty() || m_tiempos.front().Anio == 0;
    const int ultimoRegistro = std::max(0, static_cast<int>(m_tiempos.size()) - 1);
    m_primeroMostrado = std::clamp(primero != nullptr ? *primero : 0, 0, ultimoRegistro);
    m_ultimoMostrado = std::clamp(ultimo != nullptr ? *ultimo : ultimoRegistro, 0, ultimoRegistro);

    FID = Campo(this, "FID", 2);
    FIM = Campo(this, "FIM", 2);
    FIA = Campo(this, "FIA", 4);
    FFD = Campo(this, "FFD", 2);
    FFM = Campo(this, "FFM", 2);
    FFA = Campo(this, "FFA", 4);
    HIH = Campo(this, "HIH", 2);
    HIM = Campo(this, "HIM", 2);
    HIS = Campo(this, "HIS", 2);
    HFH = Campo(this, "HFH", 2);
    HFM = Campo(this, "HFM", 2);
    HFS = Campo(this, "HFS", 2);
    FechaIni = Grupo(this, "FechaIni", TXT_BEGINING_DATE, "/", FID, FIM, FIA);
    FechaFin = Grupo(this, "FechaFin", TXT_ENDING_DATE, "/", FFD, FFM, FFA);
    HoraIni = Grupo(this, "HoraIni", TXT_BEGINING_TIME, ":", HIH, HIM, HIS);
    HoraFin = Grupo(this, "HoraFin", TXT_ENDING_TIME, ":", HFH, HFM, HFS);

    LInicial = new QLabel(Texto(TXT_FROM) + QLatin1Char(' ') + Texto(TXT_REG), this);
    LInicial->setObjectName(QStringLiteral("LInicial"));
    EInicial = Campo(this, "EInicial", 6);
    LFinal = new QLabel(Texto(TXT_TO) + QLatin1Char(' ') + Texto(TXT_REG), this);
    LFinal->setObjectName(QStringLiteral("LFinal"));
    EFinal = Campo(this, "EFinal", 6);

    Accept = new QPushButton(Texto(TXT_OK), this);
    Accept->setObjectName(QStringLiteral("Accept"));
    Accept->setDefault(true);
    Cancel = new QPushButton(Texto(TXT_CANCEL), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    connect(Accept, &QPushButton::clicked, this, &TMenuRang::AcceptClick);
    connect(Cancel, &QPushButton::clicked, this, &TMenuRang::CancelClick);

    auto* fechas = new QHBoxLayout;
    fechas->addWidget(FechaIni);
    fechas->addWidget(FechaFin);
    auto* horas = new QHBoxLayout;
    horas->addWidget(HoraIni);
    horas->addWidget(HoraFin);
    auto* registros = new QHBoxLayout;
    registros->addWidget(LInicial);
    registros->addWidget(EInicial);
    registros->addSpacing(16);
    registros->addWidget(LFinal);
    registros->addWidget(EFinal);
    registros->addStretch();
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(Accept);
    botones->addWidget(Cancel);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(fechas);
    todo->addLayout(horas);
    todo->addLayout(registros);
    todo->addLayout(botones);
    todo->setSizeConstraint(QLayout::SetFixedSize);

    for (QWidget* w : {static_cast<QWidget*>(FechaIni), static_cast<QWidget*>(FechaFin),
                       static_cast<QWidget*>(HoraIni), static_cast<QWidget*>(HoraFin)})
        w->setEnabled(!m_modoRegistros);
    for (QWidget* w : {static_cast<QWidget*>(LInicial), static_cast<QWidget*>(EInicial),
                       static_cast<QWidget*>(LFinal), static_cast<QWidget*>(EFinal)})
        w->setEnabled(m_modoRegistros);
    Rellenar();
}

void TMenuRang::Rellenar() {
    const auto poner = [](QLineEdit* e, int valor, int cifras) {
        e->setText(QStringLiteral("%1").arg(valor, cifras, 10, QLatin1Char('0')));
    };
    const TTiempo ini = m_tiempos.empty() ? TTiempo() : m_tiempos[static_cast<size_t>(m_primeroMostrado)];
    const TTiempo fin = m_tiempos.empty() ? TTiempo() : m_tiempos[static_cast<size_t>(m_ultimoMostrado)];
    poner(FID, ini.Dia, 2);
    poner(FIM, ini.Mes, 2);
    poner(FIA, ini.Anio, 4);
    poner(HIH, ini.Hora, 2);
    poner(HIM, ini.Minuto, 2);
    poner(HIS, ini.Segundo, 2);
    poner(FFD, fin.Dia, 2);
    poner(FFM, fin.Mes, 2);
    poner(FFA, fin.Anio, 4);
    poner(HFH, fin.Hora, 2);
    poner(HFM, fin.Minuto, 2);
    poner(HFS, fin.Segundo, 2);
    EInicial->setText(QString::number(m_primeroMostrado + 1));
    EFinal->setText(QString::number(m_ultimoMostrado + 1));
}

void TMenuRang::Error(int texto) {
    host::MessageService::show(this, Texto(TXT_ERROR), Texto(texto), host::MessageIcon::Error);
}

void TMenuRang::AcceptClick() {
    if (m_modoRegistros)
        AceptarRegistros();
    else
        AceptarFechas();
}

void TMenuRang::AceptarRegistros() {
    int primero = 0;
    int ultimo = 0;
    if (!LeerNumero(EInicial, primero) || !LeerNumero(EFinal, ultimo) || primero < 1 || ultimo < 1) {
        Error(TXT_INVALID_ENTRANCE);
        return;
    }
    const int n = static_cast<int>(m_tiempos.size());
    if (primero > n || ultimo > n || ultimo < primero) {
        Error(TXT_BAD_MARGINS);
        return;
    }
    if (m_primero != nullptr)
        *m_primero = primero - 1;
    if (m_ultimo != nullptr)
        *m_ultimo = ultimo - 1;
    accept();
}

void TMenuRang::AceptarFechas() {
    int v[12];
    const QLineEdit* campos[12] = {FIA, FIM, FID, HIH, HIM, HIS, FFA, FFM, FFD, HFH, HFM, HFS};
    for (int i = 0; i < 12; ++i) {
        if (!LeerNumero(campos[i], v[i])) {
            Error(TXT_INVALID_ENTRANCE);
            return;
        }
    }
    const TTiempo inicio(v[0], v[1], v[2], v[3], v[4], v[5], -1);
    const TTiempo fin(v[6], v[7], v[8], v[9], v[10], v[11], -1);
    const int n = static_cast<int>(m_tiempos.size());
    const TTiempo primerRegistro = AlSegundo(m_tiempos.front());
    const TTiempo ultimoRegistro = AlSegundo(m_tiempos.back());

    int primero = -1;
    if (inicio >= primerRegistro && inicio <= ultimoRegistro) {
        for (int i = 0; i < n && primero < 0; ++i)
            if (AlSegundo(m_tiempos[static_cast<size_t>(i)]) >= inicio)
                primero = i;
    }
    int ultimo = -1;
    if (fin >= primerRegistro && fin <= ultimoRegistro) {
        for (int i = n - 1; i >= 0 && ultimo < 0; --i)
            if (AlSegundo(m_tiempos[static_cast<size_t>(i)]) <= fin)
                ultimo = i;
    }
    if (primero < 0 || ultimo < 0) {
        Error(TXT_OUT_OF_RANGE);
        Rellenar();
        return;
    }
    if (ultimo < primero) {
        Error(TXT_BAD_MARGINS);
        Rellenar();
        return;
    }
    if (m_primero != nullptr)
        *m_primero = primero;
    if (m_ultimo != nullptr)
        *m_ultimo = ultimo;
    accept();
}

void TMenuRang::CancelClick() {
    reject();
}

void TMenuRang::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        host::HelpService::show(kContextoAyuda);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMenuRang::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* pantalla = screen())
        move(pantalla->availableGeometry().center() - rect().center());
}
