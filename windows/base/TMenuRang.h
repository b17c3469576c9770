#pragma once

#include "TTiempo.h"

#include <QDialog>

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Picks the range of records to print. Records whose first time has year 0 carry no times and
// are chosen by number; otherwise by start and end date and time. On OK the two
// out-parameters hold the zero-based first and last record; Cancel leaves them alone.
// Run it with host::DialogRunner::exec.
class TMenuRang : public QDialog {
    Q_OBJECT
public:
    static constexpr int kContextoAyuda = 74;

    // `primero` and `ultimo` also give the records shown when the dialog opens.
    TMenuRang(QWidget* owner, const TTiempo* tiempos, int numRegistros, int* primero, int* ultimo);

    // getters:
    bool ModoRegistros() const { return m_modoRegistros; }

    // controls:
    QGroupBox* FechaIni;
    QLineEdit* FID;
    QLineEdit* FIM;
    QLineEdit* FIA;
    QGroupBox* FechaFin;
    QLineEdit* FFD;
    QLineEdit* FFM;
    QLineEdit* FFA;
    QGroupBox* HoraIni;
    QLineEdit* HIH;
    QLineEdit* HIM;
    QLineEdit* HIS;
    QGroupBox* HoraFin;
    QLineEdit* HFH;
    QLineEdit* HFM;
    QLineEdit* HFS;
    QLabel* LInicial;
    QLineEdit* EInicial;
    QLabel* LFinal;
    QLineEdit* EFinal;
    QPushButton* Accept;
    QPushButton* Cancel;

public slots:
    void AcceptClick();
    void CancelClick();

protected:
    // reimplemented virtual methods:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Rellenar();
    void AceptarRegistros();
    void AceptarFechas();
    void Error(int texto);

    std::vector<TTiempo> m_tiempos;
    int* m_primero;
    int* m_ultimo;
    int m_primeroMostrado = 0;
    int m_ultimoMostrado = 0;
    bool m_modoRegistros = true;
};
