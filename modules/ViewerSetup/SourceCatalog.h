#pragma once

#include "Contrato.h"

#include <QString>

#include <cstdint>
#include <vector>

class DrivFlex;
class ObjGen;

// What a source driver offers: the open recording files (the properties of its first page of
// category 4) and, per file, the variables its data driver enumerates with command 10100.
// Plain code with no widgets, shared by the graph selector and the host's "Open all".

struct VariableInfo {
    int key1 = 0;
    int key2 = 0;
    int kind = -1; // TipoGrafica
    int code = 0;
    QString name;
    QString unit;
};

struct RecordingInfo {
    int index = 0; // property index on the source driver's file page
    QString name;
    QString path;      // the full path, where the source driver gives it as the property's text
    QString timeRange; // first and last instant of the file, empty when its data driver has none
    std::vector<VariableInfo> variables;
};

class SourceCatalog {
public:
    // Source driver commands and pages.
    static constexpr int kFilesCategory = kCategoriaFicheros;
    static constexpr int kCmdDataDriver = CMD_DRIVER_DATOS;
    static constexpr int kCmdVariables = CMD_ENUMERAR;

    // The page listing the open files, or -1 when the driver has none with a file on it.
    static int filesPage(DrivFlex* source);
    // Every open file with its variables. A file whose data driver is missing or answers
    // nothing is still listed, with no variables.
    static std::vector<RecordingInfo> read(DrivFlex* source);
    // The data driver of file `fileIndex`, holding one reference the caller releases with
    // release(); nullptr when the source does not answer with a live driver.
    static DrivFlex* acquireDataDriver(DrivFlex* source, int fileIndex);
    // "first - last" instant of a file, from the general times of its first variable.
    static QString timeRange(DrivFlex* data, const std::vector<VariableInfo>& variables);
    // The variables a data driver enumerates; malformed rows are skipped.
    static std::vector<VariableInfo> variables(DrivFlex* data);
    // Drops one reference and destroys the object when it was the last.
    static void release(ObjGen* object);
    // Display name of a graph kind.
    static QString kindName(int kind);
};
