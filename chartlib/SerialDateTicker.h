#pragma once

#include "AxisTickers.h"

#include <qcustomplot.h>

namespace chartlib {

// Ticks for a horizontal axis holding serial dates (days since 1899-12-30): steps from one
// millisecond to decades, aligned to whole units (weeks to Mondays, months to the 1st), with
// labels that show as much of the time as the step needs.
class SerialDateTicker : public QCPAxisTicker, public AxisLength {
public:
    // reimplemented virtual methods:
    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override;
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;

private:
    double m_step = 1.0; // days
    int m_monthStep = 0; // non-zero when ticks fall on month starts
};

} // namespace chartlib
