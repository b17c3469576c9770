#include "RecordData.h"

#include "Agrupacion.h"
#include "Comando.h"
#include "Contrato.h"
#include "DrivFlex.h"
#include "TValorMultiple.h"
#include "Textos.h"

#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {

TValorMultiple ask(DrivFlex* driver, int command, int key1, int key2) {
    Comando cmd(command);
    cmd.EntrarParam(TValor::Entero(key1));
    cmd.EntrarParam(TValor::Entero(key2));
    TValorMultiple answer;
    driver->ProgCom(&cmd, &answer, 0, nullptr);
    return answer;
}

std::vector<TTiempo> timesOf(const TValorMultiple& list, int row) {
    const TTiempo* t = list.Tiempos(row);
    return t ? std::vector<TTiempo>(t, t + list.Elementos(row)) : std::vector<TTiempo>();
}

QString textOf(const TValorMultiple& list, int row) {
    if (list.Cuenta() == 0)
        return {};
    row = std::min(row, list.Cuenta() - 1);
    return list.Tipo(row) == TV_TEXTO ? QString::fromStdString(list.Texto(row)) : QString();
}

// Keeps the points whose time lies in [from, to], sorted by time.
void cut(SeriesData& s, const TTiempo& from, const TTiempo& to) {
    const size_t n = std::min(s.times.size(), s.values.size());
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return s.times[a] < s.times[b]; });
    std::vector<TTiempo> times;
    std::vector<double> values;
    for (size_t i : order) {
        if (s.times[i] < from || s.times[i] > to)
            continue;
        times.push_back(s.times[i]);
        values.push_back(s.values[i]);
    }
    s.times = std::move(times);
    s.values = std::move(values);
}

QByteArray csvField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r'))
        bytes = '"' + bytes.replace("\"", "\"\"") + '"';
    return bytes;
}

} // namespace

std::vector<DataRecord> RecordData::parseRecords(const TValorMultiple* records) {
    std::vector<DataRecord> result;
    if (records == nullptr)
        return result;
    for (int r = 0; r < records->Cuenta(); ++r) {
        const int n = records->Elementos(r);
        if (records->Tipo(r) != TV_ENTERO || n < 3)
            continue;
        DataRecord rec;
        rec.key1 = records->Entero(r, 0);
        rec.key2 = records->Entero(r, 1);
        rec.driver = records->Entero(r, 2);
        if (n >= 5) {
            rec.level = records->Entero(r, 3);
            rec.interval = records->Entero(r, 4);
        }
        result.push_back(rec);
    }
    return result;
}

std::vector<SeriesData> RecordData::gather(const std::vector<DataRecord>& records) {
    std::vector<SeriesData> result;
    for (const DataRecord& rec : records) {
        auto* driver = dynamic_cast<DrivFlex*>(ObjGen::DesdeManejador(rec.driver));
        if (driver == nullptr)
            continue;
        const TValorMultiple values = ask(driver, kCmdValues, rec.key1, rec.key2);
        const TValorMultiple times = ask(driver, kCmdTimes, rec.key1, rec.key2);
        const TValorMultiple units = ask(driver, kCmdUnit, rec.key1, rec.key2);
        const TValorMultiple names = ask(driver, kCmdName, rec.key1, rec.key2);
        const TValorMultiple options = ask(driver, kCmdOptions, rec.key1, rec.key2);
        const TValorMultiple intervals = ask(driver, kCmdIntervals, rec.key1, rec.key2);
        const TValorMultiple decimals = ask(driver, kCmdDecimals, rec.key1, rec.key2);
        if (values.Cuenta() == 0 || times.Cuenta() == 0 || times.Tiempos(0) == nullptr)
            continue;

        // The interval is cut on the first series' times, as the window that sent it does.
        const std::vector<TTiempo> first = timesOf(times, 0);
        if (first.empty())
            continue;
        const int numPairs = intervals.Cuenta() > 0 && intervals.Tiempos(0) ? intervals.Elementos(0) : 0;
        const double period = options.Cuenta() > 0 ? options.Numero(0, OPC_PERIODO) : 0.0;
        const Agrupacion::Agrupamiento groups = Agrupacion::CalcularAgrupacion(
            rec.level, first.data(), static_cast<int>(first.size()),
            numPairs ? intervals.Tiempos(0) : nullptr, numPairs, period, nullptr);
        TTiempo from = first.front();
        TTiempo to = first.back();
        if (!groups.rangos.empty()) {
            const int last = static_cast<int>(groups.rangos.size()) - 1;
            const Agrupacion::Intervalo& range =
                groups.rangos[static_cast<size_t>(std::clamp(rec.interval, 0, last))];
            from = first[static_cast<size_t>(range.primero)];
            to = first[static_cast<size_t>(range.ultimo)];
        }
        if (from > to)
            std::swap(from, to); // unordered times: keep every point between the two ends

        // A variable may answer several value rows (one per channel); a single time row then
        // serves them all.
        for (int row = 0; row < values.Cuenta(); ++row) {
            SeriesData s;
            s.name = textOf(names, row);
            s.unit = textOf(units, row);
            // One row per channel, or one row for all of them.
            const int decimalsRow = row < decimals.Cuenta() ? row : 0;
            if (decimalsRow < decimals.Cuenta() && decimals.Elementos(decimalsRow) > 0 &&
                (decimals.Tipo(decimalsRow) == TV_DOUBLE || decimals.Tipo(decimalsRow) == TV_ENTERO)) {
                const double d = decimals.Tipo(decimalsRow) == TV_DOUBLE ? decimals.Numero(decimalsRow, 0)
                                                                         : decimals.Entero(decimalsRow, 0);
                if (std::isfinite(d) && d >= 0 && d <= 15)
                    s.decimals = static_cast<int>(d);
            }
            s.times = timesOf(times, times.Cuenta() == values.Cuenta() ? row : 0);
            for (int i = 0; i < values.Elementos(row); ++i)
                s.values.push_back(values.Numero(row, i));
            cut(s, from, to);
            result.push_back(std::move(s));
        }
    }
    return result;
}

RecordTable RecordData::merge(std::vector<SeriesData> series) {
    RecordTable table;
    for (const SeriesData& s : series)
        table.times.insert(table.times.end(), s.times.begin(), s.times.end());
    std::sort(table.times.begin(), table.times.end());
    table.times.erase(std::unique(table.times.begin(), table.times.end()), table.times.end());
    for (const SeriesData& s : series) {
        std::vector<double> column(table.times.size(), kValorNulo);
        // Both time lists are ordered: walk them together.
        size_t row = 0;
        for (size_t i = 0; i < s.times.size(); ++i) {
            while (row < table.times.size() && table.times[row] < s.times[i])
                ++row;
            if (row < table.times.size() && column[row] == kValorNulo)
                column[row] = s.values[i];
        }
        table.columns.push_back(std::move(column));
    }
    for (SeriesData& s : series) {
        s.times.clear();
        s.values.clear();
    }
    table.series = std::move(series);
    return table;
}

QString RecordData::timeText(const TTiempo& t) {
    QString text = QStringLiteral("%1-%2-%3T%4:%5:%6")
                       .arg(t.Anio, 4, 10, QLatin1Char('0'))
                       .arg(t.Mes, 2, 10, QLatin1Char('0'))
                       .arg(t.Dia, 2, 10, QLatin1Char('0'))
                       .arg(t.Hora, 2, 10, QLatin1Char('0'))
                       .arg(t.Minuto, 2, 10, QLatin1Char('0'))
                       .arg(t.Segundo, 2, 10, QLatin1Char('0'));
    if (t.Milesima >= 0)
        text += QStringLiteral(".%1").arg(t.Milesima, 3, 10, QLatin1Char('0'));
    return text;
}

bool RecordData::isNull(double value) {
    return !std::isfinite(value) || value == kValorNulo;
}

QString RecordData::valueText(double value) {
    if (isNull(value))
        return {};
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return QString::fromLatin1(buffer, static_cast<int>(end - buffer));
}

QString RecordData::displayValue(double value, int decimals) {
    if (isNull(value))
        return {};
    if (decimals < 0 || decimals > 15)
        return valueText(value);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::min(decimals, 9), value);
    return QString::fromLatin1(buffer);
}

QString RecordData::displayTime(const TTiempo& time) {
    return QString::fromStdString(time.Texto(' ', '.'));
}

QString RecordData::columnTitle(const SeriesData& series) {
    return series.unit.isEmpty() ? series.name : QStringLiteral("%1 (%2)").arg(series.name, series.unit);
}

namespace {

void appendHeader(QByteArray& out, const RecordTable& table) {
    out += csvField(Texto(TXT_TV_TIME));
    for (const SeriesData& s : table.series)
        out += ',' + csvField(RecordData::columnTitle(s));
    out += "\r\n";
}

void appendRow(QByteArray& out, const RecordTable& table, int r) {
    out += RecordData::timeText(table.times[static_cast<size_t>(r)]).toLatin1();
    for (const std::vector<double>& column : table.columns)
        out += ',' + RecordData::valueText(column[static_cast<size_t>(r)]).toLatin1();
    out += "\r\n";
}

// Rows written between two progress reports: often enough for a smooth bar and a quick
// Cancel, seldom enough to cost nothing.
constexpr int kRowsPerChunk = 2048;

} // namespace

QByteArray RecordData::toCsv(const RecordTable& table) {
    QByteArray out;
    appendHeader(out, table);
    for (int r = 0; r < table.rowCount(); ++r)
        appendRow(out, table, r);
    return out;
}

bool RecordData::writeCsv(const QString& path, const RecordTable& table, QString* error) {
    return writeCsv(path, table, error, {}) == WriteResult::Written;
}

RecordData::WriteResult RecordData::writeCsv(const QString& path, const RecordTable& table, QString* error,
                                             const std::function<bool(int rows)>& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return WriteResult::Failed;
    }
    const auto failed = [&] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return WriteResult::Failed;
    };
    QByteArray chunk;
    appendHeader(chunk, table);
    for (int r = 0; r < table.rowCount(); ++r) {
        appendRow(chunk, table, r);
        if ((r + 1) % kRowsPerChunk != 0)
            continue;
        if (file.write(chunk) != chunk.size())
            return failed();
        chunk.clear();
        if (progress && !progress(r + 1)) {
            file.cancelWriting(); // the old file stays as it was
            return WriteResult::Cancelled;
        }
    }
    if (file.write(chunk) != chunk.size() || !file.commit())
        return failed();
    if (progress)
        progress(table.rowCount());
    return WriteResult::Written;
}
