#pragma once

#include "Contrato.h"
#include "DrivFlex.h"
#include "SourceCatalog.h"

#include <QPointer>
#include <QString>
#include <QWidget>

// The objects ViewerSetup's factory hands out. Both are drivers so the caller talks to them
// with ProgCom: command 402 carries the caption (one text parameter), command 400 runs the
// dialog modally.

class ViewerSetupObject : public DrivFlex {
public:
    static constexpr int kCmdRun = CMD_EJECUTAR;
    static constexpr int kCmdCaption = CMD_TITULO;

    ViewerSetupObject(QWidget* owner, DrivFlex* target);

    const QString& caption() const { return m_caption; }

protected:
    int AtenderComando(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) override;
    // Runs the dialog; returns the number of rows appended to `respuesta`.
    virtual int run(TValorMultiple* respuesta) = 0;
    // Called after the caption arrives.
    virtual int captionSet() { return 0; }

    QPointer<QWidget> m_owner;
    DrivFlex* m_target = nullptr; // not owned
    QString m_caption;
};

// Mode -3: the graph selector over a source driver. On OK the result list receives one row
// of integers, three per chosen variable; on cancel nothing.
class GraphSelectorObject : public ViewerSetupObject {
public:
    using ViewerSetupObject::ViewerSetupObject;
    // Reads the source's files and variables ahead of the run.
    int Iniciar() override;

protected:
    int run(TValorMultiple* respuesta) override;

private:
    bool m_loaded = false;
    std::vector<RecordingInfo> m_files;
};

// Mode 5: the graph configurator of a window driver. It has no result list, so the caption
// command also opens it; command 400 opens it again.
class GraphConfiguratorObject : public ViewerSetupObject {
public:
    using ViewerSetupObject::ViewerSetupObject;

protected:
    int run(TValorMultiple* respuesta) override;
    int captionSet() override;
};
