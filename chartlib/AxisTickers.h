#pragma once

#include <qcustomplot.h>

namespace chartlib {

// Tick density that follows the length of the axis at the moment its ticks are made, so a
// resize, a maximise or a tile shows as many ticks as the new length holds.
class AxisLength {
public:
    virtual ~AxisLength() = default;

    // setters:
    void attach(const QCPAxis* axis, int pixelsPerTick, int minTicks, int maxTicks);

    // getters:
    // True when the axis is now of another length than when its ticks were last made.
    bool stale() const;
    bool attached() const { return m_axis != nullptr; }

protected:
    // The number of ticks the axis holds now; remembers the length it was taken from.
    int wantedTicks();

private:
    int length() const;

    const QCPAxis* m_axis = nullptr;
    int m_pixelsPerTick = 80;
    int m_minTicks = 2;
    int m_maxTicks = 12;
    int m_used = -1;
};

// Ticks of a linear axis: as many as its length holds, every label with the same number of
// decimals, and on an axis too short for two round ticks its bottom and top values. A window may
// give the ticks and their labels itself.
class ValueTicker : public QCPAxisTicker, public AxisLength {
public:
    // setters:
    void setFixedTicks(QVector<double> values, QVector<QString> labels);

    // reimplemented virtual methods:
    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override;

    // Decimals that write every multiple of `step` exactly (at most 9).
    static int decimalsFor(double step);

private:
    QVector<double> m_fixed;
    QVector<QString> m_fixedLabels;
};

// Ticks of a logarithmic axis: one on every decade it spans, with the steps between as sub-ticks;
// less than two decades fall back to linear ticks for the axis length.
class DecadeTicker : public QCPAxisTickerLog, public AxisLength {
public:
    DecadeTicker();

    // reimplemented virtual methods:
    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override;
};

} // namespace chartlib
