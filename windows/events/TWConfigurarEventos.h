#pragma once

#include "NivelesEventos.h"
#include "PropiedadesEventos.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

// Base of the events windows' properties dialogs: the thresholds with their see boxes, line
// types and colours; the three phases with their paint boxes, point types and colours; the
// three-phase box; compaction with its hysteresis. A dialog of the family adds its own controls
// under these (Extra) and reads them into the record's other fields.
//
// OK with nothing changed closes as cancelled. Otherwise the thresholds are taken from the edits
// (tenths, truncated), corrected against the instrument's levels, every stored value is written
// to the settings store, and the dialog closes with OK; Resultado then holds the record.
class TWConfigurarEventos : public QDialog {
    Q_OBJECT

public:
    TWConfigurarEventos(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                        QWidget* padre = nullptr);
    ~TWConfigurarEventos() override;

    // The record after OK (the one given before).
    const PropiedadesEventos& Resultado() const { return m_resultado; }
    // The record the controls show now, before any correction.
    PropiedadesEventos LeerControles() const;

    // controls:
    QGroupBox* GBUmbrales;
    QCheckBox* VerSobretension;
    QCheckBox* VerHueco;
    QCheckBox* VerInterrupcion;
    QDoubleSpinBox* USobretension;
    QDoubleSpinBox* UHueco;
    QDoubleSpinBox* UInterrupcion;
    QComboBox* TipoLineaS;
    QComboBox* TipoLineaH;
    QComboBox* TipoLineaI;
    QComboBox* ColorLineaS;
    QComboBox* ColorLineaH;
    QComboBox* ColorLineaI;
    QGroupBox* GBFases;
    QCheckBox* CBTrifasicos;
    std::array<QCheckBox*, 3> ResaltarFase{};
    std::array<QComboBox*, 3> TipoFase{};
    std::array<QComboBox*, 3> ColorFase{};
    QCheckBox* Compactar;
    QLabel* LHisteresis;
    QSpinBox* Histeresis;
    QPushButton* Aceptar;
    QPushButton* Cancelar;

    // Handlers.
    void AceptarClick();
    void ActualizarHabilitados();

protected:
    // Where a dialog of the family puts its own controls (between the phases and the buttons).
    QVBoxLayout* Extra() const { return m_extra; }
    // Steps a dialog of the family may add: its controls into the record's other fields; whether
    // what it keeps outside the record changed; its own checks (false keeps the dialog open);
    // storing what it keeps outside the record (after the record was stored).
    virtual void LeerExtra(PropiedadesEventos&) const {}
    virtual bool CambiadoExtra() const { return false; }
    virtual bool ValidarExtra() { return true; }
    virtual bool GuardarExtra() { return true; }

    const PropiedadesEventos& Inicial() const { return m_inicial; }

private:
    PropiedadesEventos m_inicial;
    PropiedadesEventos m_resultado;
    NivelesInstrumento m_niveles;
    QVBoxLayout* m_extra = nullptr;
};
