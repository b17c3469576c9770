#include "SourceCatalog.h"

#include "Comando.h"
#include "DrivFlex.h"
#include "TTiempo.h"
#include "TValorMultiple.h"
#include "Textos.h"

int SourceCatalog::filesPage(DrivFlex* source) {
    if (source == nullptr)
        return -1;
    const int pages = source->GetPagesNumber();
    for (int p = 0; p < pages; ++p) {
        if (source->GetPageCat(p) == kFilesCategory && source->GetPropertyNumber(p) > 0)
            return p;
    }
    return -1;
}

std::vector<RecordingInfo> SourceCatalog::read(DrivFlex* source) {
    std::vector<RecordingInfo> files;
    const int page = filesPage(source);
    if (page < 0)
        return files;
    const int count = source->GetPropertyNumber(page);
    for (int i = 0; i < count; ++i) {
        RecordingInfo file;
        file.index = i;
        file.name = QString::fromUtf8(source->GetPropertyName(page, i));
        char text[DrivFlex::kTextoPropiedad + 1] = {};
        source->GetPropertyText(page, i, text);
        file.path = QString::fromUtf8(text);
        if (DrivFlex* data = acquireDataDriver(source, i)) {
            file.variables = variables(data);
            file.timeRange = timeRange(data, file.variables);
            release(data);
        }
        files.push_back(std::move(file));
    }
    return files;
}

DrivFlex* SourceCatalog::acquireDataDriver(DrivFlex* source, int fileIndex) {
    if (source == nullptr)
        return nullptr;
    Comando cmd(kCmdDataDriver);
    cmd.EntrarParam(TValor::Entero(fileIndex));
    TValorMultiple answer;
    source->ProgCom(&cmd, &answer, 0, nullptr);
    if (answer.Cuenta() < 1 || answer.Tipo(0) != TV_ENTERO || answer.Elementos(0) < 1)
        return nullptr;
    ObjGen* object = ObjGen::DesdeManejador(answer.Entero(0, 0));
    auto* data = dynamic_cast<DrivFlex*>(object);
    if (data == nullptr && object != nullptr)
        release(object); // a live object that is not a driver: give back the reference we got
    return data;
}

std::vector<VariableInfo> SourceCatalog::variables(DrivFlex* data) {
    std::vector<VariableInfo> result;
    if (data == nullptr)
        return result;
    Comando cmd(kCmdVariables);
    TValorMultiple answer;
    data->ProgCom(&cmd, &answer, 0, nullptr);
    // Per variable: an integer row (key1, key2, kind, code), then its name and unit as text
    // rows. A row out of place starts the search for the next integer row again.
    const int rows = answer.Cuenta();
    int r = 0;
    while (r < rows) {
        if (answer.Tipo(r) != TV_ENTERO || answer.Elementos(r) < 4) {
            ++r;
            continue;
        }
        VariableInfo v;
        v.key1 = answer.Entero(r, 0);
        v.key2 = answer.Entero(r, 1);
        v.kind = answer.Entero(r, 2);
        v.code = answer.Entero(r, 3);
        ++r;
        if (r < rows && answer.Tipo(r) == TV_TEXTO)
            v.name = QString::fromStdString(answer.Texto(r++));
        if (r < rows && answer.Tipo(r) == TV_TEXTO)
            v.unit = QString::fromStdString(answer.Texto(r++));
        result.push_back(std::move(v));
    }
    return result;
}

QString SourceCatalog::timeRange(DrivFlex* data, const std::vector<VariableInfo>& variables) {
    if (data == nullptr || variables.empty())
        return {};
    Comando cmd(CMD_TIEMPOS);
    cmd.EntrarParam(TValor::Entero(-1)); // -1 as first key: the variable's general times
    cmd.EntrarParam(TValor::Entero(variables.front().key2));
    TValorMultiple answer;
    data->ProgCom(&cmd, &answer, 0, nullptr);
    const TTiempo* times = answer.Cuenta() > 0 ? answer.Tiempos(0) : nullptr;
    if (times == nullptr || answer.Elementos(0) < 2)
        return {};
    return QStringLiteral("%1 - %2").arg(QString::fromStdString(times[0].Texto()),
                                         QString::fromStdString(times[answer.Elementos(0) - 1].Texto()));
}

void SourceCatalog::release(ObjGen* object) {
    if (object != nullptr && object->DecRef() != 0)
        delete object;
}

QString SourceCatalog::kindName(int kind) {
    switch (kind) {
    case 0:
        return Texto(TXT_HG_KIND_MULTI);
    case 1:
        return Texto(TXT_HG_KIND_FP);
    case 2:
    case 15:
        return Texto(TXT_HG_KIND_FO);
    case 3:
        return Texto(TXT_HG_KIND_ARM);
    case 4:
        return Texto(TXT_HG_KIND_THD);
    case 5:
        return Texto(TXT_HG_KIND_RMS);
    case 6:
        return Texto(TXT_HG_KIND_PER);
    case 10:
        return Texto(TXT_HG_KIND_EH);
    case 11:
        return Texto(TXT_HG_KIND_ED);
    case 13:
    case 17:
        return Texto(TXT_HG_KIND_H24);
    case 14:
        return Texto(TXT_HG_KIND_PLT);
    case 16:
        return Texto(TXT_HG_KIND_ARMAN);
    case 18:
        return Texto(TXT_HG_KIND_TES);
    case 19:
        return Texto(TXT_HG_KIND_CBEMA);
    case 20:
        return Texto(TXT_HG_KIND_VEF);
    case 21:
        return Texto(TXT_HG_KIND_IARM);
    default:
        return Texto(TXT_HG_KIND_NONE);
    }
}
