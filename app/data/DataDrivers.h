#pragma once

#include "Contrato.h"
#include "DrivFlex.h"
#include "RecordingFile.h"

#include <memory>
#include <string>
#include <vector>

class Comando;
class TValorMultiple;

namespace recording {

// Commands a data driver answers besides the attribute commands, and the source driver's
// command handing out a file's data driver.
constexpr int kCmdTranslateKeys = CMD_TRADUCIR_CLAVES;
constexpr int kCmdEnumerate = CMD_ENUMERAR;
constexpr int kCmdDataDriver = CMD_DRIVER_DATOS;

// Object-kind words. Data drivers of files with the same extension share one, so the
// catalogue only joins files of the same kind.
constexpr int kKindWordSource = 1000;
int kindWordForFile(const std::string& fileName);

// The data driver of one open recording file: answers the attribute commands for its
// variables from the file. Unknown keys and commands answer nothing.
class RecordingDriver : public DrivFlex {
public:
    explicit RecordingDriver(std::shared_ptr<RecordingFile> file);

    // getters:
    RecordingFile& file() const { return *m_file; }
    // The last read failure, empty when every answer could be read.
    const std::string& lastError() const { return m_lastError; }

protected:
    // reimplemented virtual methods:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) override;

private:
    int enumerate(TValorMultiple& out) const;

    std::shared_ptr<RecordingFile> m_file;
    std::string m_lastError;
};

// The source driver: page 0 (category 4) names the open files, one property per file, and
// command 306 hands out the data driver of a file with a new reference for the caller.
class SourceDriver : public DrivFlex {
public:
    SourceDriver();
    ~SourceDriver() override;

    // Opens a recording and adds its driver. Throws RecordingError; nothing is added then.
    RecordingDriver* openFile(const std::string& path);
    // Adds a driver, taking over one reference the caller holds.
    void addDriver(RecordingDriver* driver);

    // getters:
    int fileCount() const { return static_cast<int>(m_drivers.size()); }
    RecordingDriver* driver(int index) const;

    // The text of a file's property is its full path (its tail, when longer than a text holds).
    void GetPropertyText(int pagina, int propiedad, char* buffer) override;

protected:
    // reimplemented virtual methods:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) override;

private:
    void rebuildPage();

    std::vector<RecordingDriver*> m_drivers;
};

} // namespace recording
