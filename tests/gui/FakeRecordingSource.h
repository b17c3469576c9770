#pragma once

// Recording files for the main window's tests: paths ending in ".STD" open as two fake meters.

#include "FakeDrivers.h"
#include "RecordingSource.h"

#include <QFileInfo>

#include <string>
#include <vector>

// Opens paths ending in ".STD"; anything else fails.
class FakeRecordingSource : public RecordingSource {
public:
    fakes::SourceDriver* source = new fakes::SourceDriver;
    fakes::DataDriver meter, flicker;
    std::vector<std::string> names;
    int closes = 0;

    FakeRecordingSource() {
        meter.variables = {fakes::var(1, 10, 5, 100, "Voltage L1", "V"),
                           fakes::var(1, 11, 0, 101, "Current", "A")};
        flicker.variables = {fakes::var(2, 20, 14, 300, "Plt L1", "")};
    }
    ~FakeRecordingSource() override { delete source; }

    DrivFlex* driver() override { return source; }
    int fileCount() const override { return static_cast<int>(names.size()); }
    bool open(const QString& path, QString* error) override {
        if (!path.endsWith(QLatin1String(".STD"))) {
            *error = QStringLiteral("not a recording");
            return false;
        }
        names.push_back(QFileInfo(path).fileName().toStdString());
        source->setFiles(names, {&meter, &flicker});
        return true;
    }
    void closeAll() override {
        ++closes;
        names.clear();
        source->setFiles({}, {});
    }
};
