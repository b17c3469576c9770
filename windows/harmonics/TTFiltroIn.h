#pragma once

#include "FicheroNormas.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The filter editor: creates a filter (mode 1) or changes one (mode 0) and saves it into the
// norms file. A read-only filter (flag "2") is shown with every input locked. Run it with
// host::DialogRunner::exec; Aceptado() tells whether a filter was saved.
class TTFiltroIn : public QDialog {
    Q_OBJECT
public:
    enum Modo { MODIFICAR = 0, NUEVO = 1 };
    // Rows of the value grids: row 0 holds the titles, rows 1 to 49 orders 2 to 50.
    static constexpr int kFilas = normas::kMaxValoresEditor + 1;

    TTFiltroIn(QWidget* owner, const QString& ficheroNormas, QChar bandera, const QString& nombreFiltro,
               int modo);

    // getters:
    bool Aceptado() const { return m_aceptado; }
    int Modo() const { return m_modo; }
    // The value cell of grid row `fila` (1 to 49) of StringGrid1 or StringGrid2.
    static QString Celda(const QTableWidget* grid, int fila);
    // setters:
    static void PonerCelda(QTableWidget* grid, int fila, const QString& texto);

    // controls:
    QLabel* LNombre;
    QLineEdit* ENombre;
    QLabel* LTHDVn;
    QLineEdit* ETHDVn;
    QLabel* LTHDIn;
    QLineEdit* ETHDIn;
    QLabel* LArmonicosVn;
    QTableWidget* StringGrid1;
    QLabel* LArmonicosIn;
    QTableWidget* StringGrid2;
    QPushButton* BAceptar;
    QPushButton* BCancelar;

public slots:
    void BAceptarClick();
    void BCancelarClick();

private:
    QTableWidget* CrearGrid(const char* nombre);
    void PonerEditable(QTableWidget* grid, bool editable);
    void Cargar();
    void MostrarLinea(const normas::LineaEditor& linea, QLineEdit* thd, QTableWidget* grid);
    // The list length of a grid, or -1 after reporting a missing or malformed value.
    int ValidarGrid(const QTableWidget* grid, std::vector<QByteArray>& valores);
    void Error(int texto);

    QString m_fichero;
    QChar m_bandera;
    QString m_nombre;
    int m_modo;
    bool m_aceptado = false;
};
