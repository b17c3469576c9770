#include "DataDrivers.h"

#include "Comando.h"
#include "TValorMultiple.h"
#include "UserInteraction.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace recording {

int kindWordForFile(const std::string& fileName) {
    // Extensions of the instrument's data files; anything else is a file of its own kind.
    static const char* const kExtensions[] = {".STD", ".EVQ", ".STP", ".H24", ".WAT"};
    std::string ext;
    if (const auto dot = fileName.rfind('.'); dot != std::string::npos)
        ext = fileName.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    for (int i = 0; i < 5; ++i) {
        if (ext == kExtensions[i])
            return kKindWordSource + 1 + i;
    }
    return kKindWordSource + 9;
}

RecordingDriver::RecordingDriver(std::shared_ptr<RecordingFile> file) : m_file(std::move(file)) {
    PonerTipoObjeto(kindWordForFile(m_file->fileName()));
}

int RecordingDriver::enumerate(TValorMultiple& out) const {
    for (int i = 0; i < m_file->variableCount(); ++i) {
        const VariableInfo& v = m_file->variable(i);
        out.EntrarEnteros({v.key1, v.key2, v.kind, v.code});
        out.EntrarTexto(v.name);
        out.EntrarTexto(v.unit);
    }
    return 3 * m_file->variableCount();
}

int RecordingDriver::AtenderComando(Comando* comando, TValorMultiple* respuesta, int, ObjGen*) {
    if (comando == nullptr || respuesta == nullptr)
        return -1;
    const int numero = comando->Numero();
    const std::int32_t key1 = comando->ParamEntero(0);
    const std::int32_t key2 = comando->ParamEntero(1);

    if (numero == kCmdEnumerate)
        return enumerate(*respuesta);
    if (numero == kCmdTranslateKeys) {
        // Keys of this file stay as they are; keys it does not know become "none" so the
        // engine drops the variable.
        const bool known = m_file->find(key1, key2) >= 0;
        respuesta->EntrarDoubles({known ? double(key1) : -1.0, known ? double(key2) : -1.0});
        return 1;
    }

    List list;
    switch (numero) {
    case CMD_VALORES:
        list = List::Values;
        break;
    case CMD_TIEMPOS:
        list = key1 == -1 ? List::GeneralTimes : List::Times;
        break;
    case CMD_UNIDADES:
        list = List::Units;
        break;
    case CMD_NOMBRES:
        list = List::Names;
        break;
    case CMD_OPCIONES:
        list = List::Options;
        break;
    case CMD_INTERVALOS:
        list = List::Intervals;
        break;
    case CMD_ADICIONALES:
        list = List::Additional;
        break;
    case CMD_DECIMALES:
        list = List::Decimals;
        break;
    default:
        return -1;
    }
    const int variable =
        list == List::GeneralTimes ? m_file->findBySecondKey(key2) : m_file->find(key1, key2);
    if (variable < 0)
        return 0;
    try {
        return m_file->appendRows(variable, list, *respuesta);
    } catch (const RecordingError& e) {
        // A file damaged after its index was checked: say so once and answer nothing.
        if (m_lastError.empty())
            host::MessageService::show(nullptr, QStringLiteral("Error"), QString::fromStdString(e.what()),
                                       host::MessageIcon::Error);
        m_lastError = e.what();
        return 0;
    }
}

SourceDriver::SourceDriver() {
    PonerTipoObjeto(kKindWordSource);
    rebuildPage();
}

SourceDriver::~SourceDriver() {
    for (RecordingDriver* d : m_drivers) {
        if (d->DecRef() != 0)
            delete d;
    }
}

RecordingDriver* SourceDriver::openFile(const std::string& path) {
    auto* driver = new RecordingDriver(RecordingFile::open(path));
    addDriver(driver);
    return driver;
}

void SourceDriver::addDriver(RecordingDriver* driver) {
    if (driver == nullptr)
        return;
    m_drivers.push_back(driver);
    rebuildPage();
}

RecordingDriver* SourceDriver::driver(int index) const {
    if (index < 0 || index >= fileCount())
        return nullptr;
    return m_drivers[static_cast<size_t>(index)];
}

void SourceDriver::GetPropertyText(int pagina, int propiedad, char* buffer) {
    if (buffer == nullptr)
        return;
    const RecordingDriver* d = pagina == 0 ? driver(propiedad) : nullptr;
    std::string path = d != nullptr ? d->file().path() : std::string();
    constexpr size_t kLargo = DrivFlex::kTextoPropiedad - 1;
    if (path.size() > kLargo) {
        // Keep the tail, starting on a whole UTF-8 character.
        size_t desde = path.size() - (kLargo - 3);
        while (desde < path.size() && (static_cast<unsigned char>(path[desde]) & 0xC0) == 0x80)
            ++desde;
        path = "..." + path.substr(desde);
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
}

void SourceDriver::rebuildPage() {
    while (GetPagesNumber() > 0)
        DeleteTabla(0);
    auto* page = new Tabla;
    page->EntrarPagina("Files", fileCount(), 4, true);
    for (int i = 0; i < fileCount(); ++i)
        page->EntrarPropiedad(i, 1, 1, 0, m_drivers[static_cast<size_t>(i)]->file().fileName().c_str(), 0, 0,
                              0, 0, nullptr);
    AddTabla(page);
}

int SourceDriver::AtenderComando(Comando* comando, TValorMultiple* respuesta, int, ObjGen*) {
    if (comando == nullptr || respuesta == nullptr || comando->Numero() != kCmdDataDriver)
        return -1;
    RecordingDriver* d = driver(comando->ParamEntero(0));
    if (d == nullptr)
        return 0;
    // The receiver releases this reference with DecRef.
    d->IncRef();
    respuesta->EntrarEnteros({d->Manejador()});
    return 1;
}

} // namespace recording
