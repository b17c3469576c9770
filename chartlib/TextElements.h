#pragma once

#include <qcustomplot.h>

namespace chartlib {

// A table of text drawn in the chart: cells separated by "|", every row ended by a tab. Used for
// the read-out under the graph and the one-row table above it.
class TableElement : public QCPLayoutElement {
public:
    TableElement(QCustomPlot* plot, const QString& table, const QFont& font, const QColor& colour);

    // getters:
    qsizetype rowCount() const { return m_rows.size(); }

    // setters:
    void setTable(const QString& table);

    // reimplemented virtual methods:
    QSize minimumOuterSizeHint() const override;
    QSize maximumOuterSizeHint() const override;

protected:
    void draw(QCPPainter* painter) override;

private:
    QList<QStringList> m_rows;
    QFont m_font;
    QColor m_colour;
};

// The legend line: subset names side by side, each in its subset's colour, optionally preceded
// by a sample of the subset's line and marker; names that do not fit go on further rows.
class LegendLine : public QCPLayoutElement {
public:
    struct Entry {
        QString name;
        QColor colour;
        QPen pen;
        QCPScatterStyle scatter;
    };
    LegendLine(QCustomPlot* plot, QList<Entry> entries, const QFont& font, bool samples);

    // reimplemented virtual methods:
    QSize minimumOuterSizeHint() const override;
    QSize maximumOuterSizeHint() const override;

protected:
    void draw(QCPPainter* painter) override;

private:
    int entryWidth(const QFontMetrics& metrics, const Entry& e) const;
    // The entries of each row for a width.
    QList<QList<int>> rows(int width) const;
    int availableWidth() const;

    static constexpr int kSpacing = 16;

    QList<Entry> m_entries;
    QFont m_font;
    bool m_samples;
};

// Splits a table text into rows of cells; a trailing tab closes the last row.
QList<QStringList> parseTable(const QString& table);

} // namespace chartlib
