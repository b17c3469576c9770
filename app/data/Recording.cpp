#include "Recording.h"

#include "TTiempo.h"
#include "TiposGrafica.h"

#include <cmath>

namespace recording {

const char* listName(List list) {
    switch (list) {
    case List::Values:
        return "values";
    case List::Times:
        return "times";
    case List::Units:
        return "units";
    case List::Names:
        return "names";
    case List::Options:
        return "options";
    case List::Intervals:
        return "intervals";
    case List::GeneralTimes:
        return "general times";
    case List::Additional:
        return "additional values";
    case List::Decimals:
        return "decimals";
    }
    return "unknown";
}

KindShape kindShape(int kind) {
    KindShape s;
    if (const RasgosTipo* r = Rasgos(kind)) {
        s.rows = r->filas;
        s.extraRows = r->extras;
        s.intervalType = r->tipoIntervalos;
        s.extraType = r->tipoExtras;
    }
    return s;
}

namespace {

int elementSizeOf(int type) {
    switch (type) {
    case TV_ENTERO:
        return 4;
    case TV_TIEMPO:
        return static_cast<int>(sizeof(TTiempo));
    case TV_BYTE:
    case TV_TEXTO:
        return 1;
    case TV_DOUBLE:
        return 8;
    default:
        return 0;
    }
}

const char* typeName(int type) {
    switch (type) {
    case TV_ENTERO:
        return "integers";
    case TV_TIEMPO:
        return "times";
    case TV_BYTE:
        return "bytes";
    case TV_TEXTO:
        return "text";
    case TV_DOUBLE:
        return "doubles";
    default:
        return "an unknown type";
    }
}

} // namespace

std::optional<std::string> checkContract(const VariableInfo& info,
                                         const std::map<List, std::vector<RowShape>>& rows,
                                         const std::vector<double>& options) {
    const KindShape shape = kindShape(info.kind);
    const std::string who = "variable \"" + info.name + "\" (kind " + std::to_string(info.kind) + ")";
    static const std::vector<RowShape> none;
    auto rowsOf = [&](List l) -> const std::vector<RowShape>& {
        auto it = rows.find(l);
        return it == rows.end() ? none : it->second;
    };

    for (List l : kAllLists) {
        int wanted = shape.rows;
        int type = TV_DOUBLE;
        switch (l) {
        case List::Times:
            type = TV_TIEMPO;
            break;
        case List::Units:
        case List::Names:
            type = TV_TEXTO;
            break;
        case List::Intervals:
            type = shape.intervalType;
            break;
        case List::GeneralTimes:
            wanted = 1;
            type = TV_TIEMPO;
            break;
        case List::Additional:
            wanted = shape.extraRows;
            type = shape.extraType;
            break;
        default:
            break;
        }
        // Extra rows are read as numbers, so any number type serves, except the flicker flags.
        const bool anyNumber = l == List::Additional && info.kind != TG_PLT;
        const std::vector<RowShape>& r = rowsOf(l);
        if (static_cast<int>(r.size()) != wanted)
            return who + " has " + std::to_string(r.size()) + " " + listName(l) +
                   " rows where its kind needs " + std::to_string(wanted);
        for (size_t i = 0; i < r.size(); ++i) {
            const bool numeric = r[i].type == TV_DOUBLE || r[i].type == TV_ENTERO || r[i].type == TV_BYTE;
            if (anyNumber && numeric && r[i].elementSize == elementSizeOf(r[i].type))
                continue;
            if (r[i].type != type || r[i].elementSize != elementSizeOf(type))
                return who + ": " + listName(l) + " row " + std::to_string(i) + " holds " +
                       typeName(r[i].type) + " where " + typeName(type) + " are needed";
            if (r[i].count < 0)
                return who + ": " + listName(l) + " row " + std::to_string(i) + " has a negative length";
        }
    }
    const std::vector<RowShape>& values = rowsOf(List::Values);
    const std::vector<RowShape>& times = rowsOf(List::Times);
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i].count != times[i].count)
            return who + ": value row " + std::to_string(i) + " has " + std::to_string(values[i].count) +
                   " values but " + std::to_string(times[i].count) + " times";
    }
    for (const RowShape& o : rowsOf(List::Options)) {
        if (o.count < kOptionCount)
            return who + ": an options row holds " + std::to_string(o.count) + " numbers, fewer than " +
                   std::to_string(kOptionCount);
    }
    if (static_cast<int>(options.size()) >= kOptionCount) {
        if (options[OptKind] != info.kind)
            return who + ": its options give graph kind " +
                   std::to_string(static_cast<int>(options[OptKind]));
        if (options[OptCode] != info.code)
            return who + ": its options give variable code " +
                   std::to_string(static_cast<int>(options[OptCode])) + " instead of " +
                   std::to_string(info.code);
    }
    return std::nullopt;
}

const TValorMultiple* Variable::find(List l) const {
    auto it = lists.find(l);
    return it == lists.end() ? nullptr : &it->second;
}

std::map<List, std::vector<RowShape>> Variable::shapes() const {
    std::map<List, std::vector<RowShape>> out;
    for (const auto& [l, rows] : lists) {
        std::vector<RowShape>& s = out[l];
        for (int r = 0; r < rows.Cuenta(); ++r)
            s.push_back(RowShape{rows.Tipo(r), rows.TamanoElemento(r), rows.Elementos(r)});
    }
    return out;
}

Variable& Recording::add(VariableInfo info) {
    variables.push_back(Variable{std::move(info), {}});
    return variables.back();
}

std::vector<double> optionsRow(int kind, int code, double periodSeconds, double method) {
    std::vector<double> o(kOptionCount, 0.0);
    o[OptMethod] = method;
    o[OptKind] = kind;
    o[OptPeriod] = periodSeconds;
    o[OptCode] = code;
    return o;
}

} // namespace recording
