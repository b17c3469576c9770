#pragma once

#include "IntervalosDuracion.h"
#include "TWConfigurarEventos.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// Properties of the events-by-duration window: the events dialog's thresholds, phases,
// compaction and three-phase view, and the duration intervals of the axis, kept in
// INTERVALS.PVI. OK validates the intervals first and rescales their shares to 100; when
// neither the record nor the intervals changed it closes as cancelled.
class TWConfigurarED : public TWConfigurarEventos {
public:
    TWConfigurarED(const PropiedadesEventos& propiedades, const NivelesInstrumento& niveles,
                   QWidget* padre = nullptr);

    // The intervals as the grid holds them (as written, after OK).
    const ::ListaIntervalos& Intervalos() const { return m_intervalos; }

    // controls:
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

    // Handlers.
    void ListaIntervalosSelectCell(int fila);
    void BNuevoClick();
    void BModificarClick();
    void BEliminarClick();

protected:
    // reimplemented virtual methods:
    bool ValidarExtra() override;
    bool CambiadoExtra() const override { return m_intervalos != m_leidos; }
    bool GuardarExtra() override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    Intervalo IntervaloDeEdits() const;
    void MostrarIntervalos();

    // The rows of the grid; none means the grid shows a single empty row.
    ::ListaIntervalos m_intervalos;
    // The file's content when the dialog opened (empty when it could not be read).
    ::ListaIntervalos m_leidos;
};
