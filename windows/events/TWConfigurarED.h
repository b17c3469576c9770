#pragma once

#include "IntervalosDuracion.h"
#include "NivelesEventos.h"
#include "PropiedadesEventos.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The thresholds a user typed, corrected against the instrument's levels: the overvoltage
// threshold never below the instrument's, the sag and interruption thresholds never above
// theirs, and the interruption threshold always below the sag threshold.
void CorregirUmbrales(PropiedadesEventos& propiedades, const NivelesInstrumento& niveles);

// Properties of the events-by-duration window: the threshold lines, the painted phases, the
// compaction and the three-phase view, and the duration intervals of the axis, which are kept
// in INTERVALS.PVI. OK validates the intervals first; when nothing changed it closes as cancel.
class TWConfigurarED : public QDialog {
public:
    TWConfigurarED(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                   QWidget* padre = nullptr);

    // After OK: the record as stored and the intervals as written.
    const PropiedadesEventos& Propiedades() const { return m_propiedades; }
    const ListaIntervalos& Intervalos() const { return m_intervalos; }

    // controls:
    QGroupBox* GrupoUmbrales;
    QCheckBox* VerSobretension;
    QCheckBox* VerHueco;
    QCheckBox* VerInterrupcion;
    QDoubleSpinBox* USobretension; // edit and up-down in one, tenths shown in percent
    QDoubleSpinBox* UHueco;
    QDoubleSpinBox* UInterrupcion;
    QComboBox* TipoLineaS;
    QComboBox* TipoLineaH;
    QComboBox* TipoLineaI;
    QComboBox* ColorLineaS;
    QComboBox* ColorLineaH;
    QComboBox* ColorLineaI;
    QGroupBox* GrupoFases;
    QCheckBox* CBTrifasicos;
    std::array<QCheckBox*, 3> ResaltarFase{};
    std::array<QComboBox*, 3> TipoFase{};
    std::array<QComboBox*, 3> ColorFase{};
    QCheckBox* Compactar;
    QSpinBox* Histeresis;
    QGroupBox* GrupoIntervalos;
    QTableWidget* ListaIntervalos;
    QLineEdit* EDesde;
    QComboBox* CBUnidadesDesde;
    QLineEdit* EHasta;
    QComboBox* CBUnidadesHasta;
    QSpinBox* EPorcentajeIntervalo; // edit and up-down in one
    QPushButton* BNuevo;
    QPushButton* BModificar;
    QPushButton* BEliminar;
    QPushButton* Aceptar;
    QPushButton* Cancelar;

    // Handlers.
    void VerClick();
    void ResaltarClick();
    void CBTrifasicosClick();
    void CompactarClick();
    void ListaIntervalosSelectCell(int fila);
    void BNuevoClick();
    void BModificarClick();
    void BEliminarClick();
    void AceptarClick();

protected:
    // reimplemented virtual methods:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // The record as the controls show it, thresholds as typed (not yet corrected).
    PropiedadesEventos LeerControles() const;
    Intervalo IntervaloDeEdits() const;
    void MostrarIntervalos();
    int FilaSeleccionada() const;

    PropiedadesEventos m_propiedades;
    NivelesInstrumento m_niveles;
    // The rows of the grid; none means the grid shows a single empty row.
    ListaIntervalos m_intervalos;
    // The file's content when the dialog opened (empty when it could not be read).
    ListaIntervalos m_leidos;
};
