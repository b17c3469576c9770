#pragma once

#include "Contrato.h"
#include "TTiempo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class TValorMultiple;

// The data behind the records a graph window sends to TableViewer and DataExport: each
// record names a variable of a data driver and the interval the window shows. The series are
// read from their data drivers, cut to that interval and put on one time column. Plain code
// with no widgets, shared by both modules.

struct DataRecord {
    int key1 = 0;
    int key2 = 0;
    std::int32_t driver = 0; // data driver handle
    int level = 4;           // grouping level; without one every point is shown
    int interval = 0;
};

struct SeriesData {
    QString name;
    QString unit;
    std::vector<TTiempo> times;
    std::vector<double> values;
    int decimals = -1; // as the data driver gives them; -1 when it gives none
};

// One row per distinct time, one column per series; kNullValue where a series has no value.
struct RecordTable {
    std::vector<SeriesData> series; // names and units; times and values already cut
    std::vector<TTiempo> times;
    std::vector<std::vector<double>> columns;

    int rowCount() const { return static_cast<int>(times.size()); }
    int seriesCount() const { return static_cast<int>(columns.size()); }
};

class RecordData {
public:
    // Data driver commands.
    static constexpr int kCmdValues = CMD_VALORES;
    static constexpr int kCmdTimes = CMD_TIEMPOS;
    static constexpr int kCmdUnit = CMD_UNIDADES;
    static constexpr int kCmdName = CMD_NOMBRES;
    static constexpr int kCmdOptions = CMD_OPCIONES;
    static constexpr int kCmdIntervals = CMD_INTERVALOS;
    static constexpr int kCmdDecimals = CMD_DECIMALES;

    // Rows of at least three integers; extra integers after the fifth are ignored, rows of
    // another type or too short are skipped.
    static std::vector<DataRecord> parseRecords(const TValorMultiple* records);
    // Asks each record's data driver for its series and cuts them to the record's interval.
    // Records whose driver is gone or answers no values give no series.
    static std::vector<SeriesData> gather(const std::vector<DataRecord>& records);
    // Puts the series on one ordered time column.
    static RecordTable merge(std::vector<SeriesData> series);
    static RecordTable load(const TValorMultiple* records) { return merge(gather(parseRecords(records))); }

    // Cell texts shared by the table and the file: ISO times, C-locale numbers with the
    // fewest digits that read back exactly, and an empty text for a missing value.
    static QString timeText(const TTiempo& time);
    static QString valueText(double value);
    static bool isNull(double value);
    // Texts for a person: the variable's decimals as the graph's read-out shows them (the
    // exact text when the driver gives none) and times in the read-out's format.
    static QString displayValue(double value, int decimals);
    static QString displayTime(const TTiempo& time);
    // "name (unit)", or the name alone without a unit.
    static QString columnTitle(const SeriesData& series);

    // The table as comma-separated text: a header row (time, then one title per series) and
    // one line per row; fields with commas, quotes or line breaks are quoted.
    static QByteArray toCsv(const RecordTable& table);
    // Writes the CSV through a temporary file that replaces `path` only when complete.
    static bool writeCsv(const QString& path, const RecordTable& table, QString* error);
    enum class WriteResult { Written, Failed, Cancelled };
    // The same, telling `progress` how many rows are written so far; when it answers false the
    // write stops and `path` keeps what it had.
    static WriteResult writeCsv(const QString& path, const RecordTable& table, QString* error,
                                const std::function<bool(int rows)>& progress);
};
